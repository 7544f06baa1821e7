// The access-list rules on SDDL text, case by case.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "permission/access_list.h"
#include "platform/names.h"

using namespace 보안방화벽;

namespace {

const std::wstring 설치서비스 = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
const std::wstring 관리자와시스템 = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

TEST(접근목록, 사용자_항목은_아무것도_덜어내지_않을_때만_있다) {
    const std::pair<std::wstring, bool> 사례들[] = {
        {L"D:PAI(A;OICI;FA;;;BU)(A;OICI;FA;;;SY)", true},
        {L"D:AI(A;OICI;FA;;;BU)(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)", true},  // fixed by hand
        {L"O:BAD:P(A;OICI;FA;;;BU)(D;;0x0;;;WD)S:(AU;FA;FA;;;WD)", true},  // a deny of nothing
        {L"D:AI(A;OICIID;FA;;;BU)", false},                                // inherited from the parent
        {L"D:PAI(A;OICI;0x1301bf;;;BU)", false},                           // modify, not full control
        {L"D:PAI(A;CI;FA;;;BU)", false},                                   // subfolders only
        {L"D:PAI(a;oici;fa;;;bu)", false},                                 // in other case
        {L"D:P(D;OICI;WP;;;S-1-5-21-1-2-3-1001)(A;OICI;FA;;;BU)", false},  // one user denied
        {L"D:P(XA;;FA;;;WD;(@User.x))(A;OICI;FA;;;BU)", false},           // conditional
        {L"D:P(OA;;FA;;bf967aba-0de6-11d0-a285-00aa003049e2;WD)(A;OICI;FA;;;BU)", false},
        {L"D:P(XA;;FA;;;WD;(@User.x == \"a)(A;OICI;FA;;;BU)\"))", false},  // inside its text
        {L"D:P(A;OICI;FA;;;BU)(A;;FA;;;BA", false}};                       // never closed
    for (const auto& [설명자, 기대] : 사례들) {
        SCOPED_TRACE(testing::PrintToString(설명자));
        EXPECT_EQ(사용자권한이있음(설명자), 기대);
    }
}

TEST(접근목록, 되돌릴_목록은_관리자와_시스템만_모두_다루는_평범한_목록이다) {
    const std::pair<std::wstring, 목록판정> 사례들[] = {
        // What Windows gives a folder under the program-files folder.
        {L"D:AI(A;ID;FA;;;" + 설치서비스 + L")(A;CIIOID;GA;;;" + 설치서비스 +
             L")(A;ID;0x1301bf;;;SY)(A;OICIIOID;GA;;;SY)(A;ID;0x1301bf;;;BA)(A;OICIIOID;GA;;;BA)"
             L"(A;ID;0x1200a9;;;BU)(A;OICIIOID;GXGR;;;BU)(A;OICIIOID;GA;;;CO)",
         목록판정::되돌릴만함},
        {L"D:NO_ACCESS_CONTROL", 목록판정::목록없음}, {L"O:BAG:SY", 목록판정::목록없음},
        {L"D:P", 목록판정::관리자권한부족},
        {관리자와시스템 + L"(D;;0x1;;;BG)", 목록판정::거부항목},
        {관리자와시스템 + L"(XA;;FR;;;WD;(@User.x))", 목록판정::특수항목},
        {관리자와시스템 + L"(OA;;FR;;bf967aba-0de6-11d0-a285-00aa003049e2;WD)", 목록판정::특수항목},
        {L"D:P(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;SY)", 목록판정::관리자권한부족},
        {L"D:P(A;OICIIO;FA;;;BA)(A;OICI;FA;;;SY)", 목록판정::관리자권한부족},  // not the folder
        {관리자와시스템 + L"(A;OICI;0x2;;;S-1-5-21-1-2-3-1001)", 목록판정::남이씀},
    };
    for (const auto& [목록, 기대] : 사례들) {
        SCOPED_TRACE(testing::PrintToString(목록));
        EXPECT_EQ(되돌릴목록인지(목록), 기대);
    }
}

// cacls may keep a set list inheriting, or protect it; Windows recomputes inherited entries.
TEST(접근목록, 되돌린_목록은_보호_플래그와_명시한_항목으로만_확인한다) {
    const std::wstring 물려받음 = L"D:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)";
    const std::tuple<std::wstring, std::wstring, 되돌린목록> 사례들[] = {
        {L"D:AI(A;OICIID;FA;;;BA)", 물려받음, 되돌린목록::같음},
        {L"O:BAG:SYD:P(A;OICI;FA;;;BA)(A;OICIID;FA;;;SY)S:AI", L"D:PAI(A;OICI;FA;;;BA)", 되돌린목록::같음},
        {L"D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)", 물려받음, 되돌린목록::다름},
        {L"D:PAI(A;OICI;FA;;;BA)", L"D:AI(A;OICI;FA;;;BA)(A;OICIID;FA;;;SY)", 되돌린목록::보호다름},
        {L"D:AI(A;OICI;FA;;;BU)(A;OICI;FA;;;BA)", L"D:AI(A;OICI;FA;;;BA)", 되돌린목록::다름},
        {L"O:BA", L"D:", 되돌린목록::다름}, {L"D:NO_ACCESS_CONTROL", L"D:", 되돌린목록::다름}};
    for (const auto& [읽은것, 보관, 기대] : 사례들) EXPECT_EQ(되돌린목록비교(읽은것, 보관), 기대) << 읽은것;
}

// The text form of a mask is not always F*: each name counts for what it lets do.
TEST(접근목록, 권한_이름마다_쓰기를_주는지로_판정한다) {
    for (const wchar_t* 이름 : {L"GA", L"GW", L"FA", L"FW", L"SD", L"WD", L"WO", L"DC", L"LC", L"RP",
                               L"DT", L"CR", L"KA", L"0x2"})
        EXPECT_EQ(되돌릴목록인지(관리자와시스템 + L"(A;;" + 이름 + L";;;BU)"), 목록판정::남이씀) << 이름;
    for (const wchar_t* 이름 : {L"GR", L"GX", L"FR", L"FX", L"RC", L"CC", L"SW", L"WP", L"LO", L"0x1200a9"})
        EXPECT_EQ(되돌릴목록인지(관리자와시스템 + L"(A;;" + 이름 + L";;;BU)"), 목록판정::되돌릴만함) << 이름;
}

TEST(접근목록, 대소문자는_ASCII_글자_A부터_Z까지만_접는다) {
    EXPECT_TRUE(대소문자없이같음(L"AZaz", L"azAZ"));
    for (const auto& [가, 나] : {std::pair{L"@", L"`"}, {L"[", L"{"}, {L"\u00C9", L"\u00E9"}})
        EXPECT_FALSE(대소문자없이같음(가, 나)) << 가;
}

TEST(접근목록, 사람의_계정은_윈도우가_만든_계정_말고_모두다) {
    for (const wchar_t* 계정 : {L"S-1-5-18", L"S-1-5-20", L"S-1-5-80-1-2-3-4-5", L"S-1-5-96-0-1"})
        EXPECT_TRUE(윈도우자신의계정(계정)) << 계정;
    for (const wchar_t* 계정 : {L"S-1-5-21-1-2-3-1001", L"S-1-12-1-1-2-3-4", L"S-1-5-180", L"S-1-5-800-1"})
        EXPECT_FALSE(윈도우자신의계정(계정)) << 계정;
}

TEST(접근목록, 믿는_소유자는_관리자_시스템_설치서비스뿐이다) {
    EXPECT_TRUE(믿는소유자(L"S-1-5-32-544") && 믿는소유자(L"SY") && 믿는소유자(설치서비스));
    EXPECT_FALSE(믿는소유자(L"S-1-5-21-1-2-3-1001"));
}

}  // namespace
