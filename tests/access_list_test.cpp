// The access-list rules on SDDL text, case by case.
#include <gtest/gtest.h>

#include <utility>

#include "permission/access_list.h"

using namespace 보안방화벽;

namespace {

const std::wstring 설치서비스 = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
const std::wstring 관리자와시스템 = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

TEST(접근목록, 사용자_항목은_아무것도_덜어내지_않을_때만_있다) {
    const std::pair<std::wstring, bool> 사례들[] = {
        {L"D:PAI(A;OICI;FA;;;BU)(A;OICI;FA;;;SY)", true},
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

TEST(접근목록, 부여한_목록은_플래그만_다를_수_있다) {
    const std::pair<std::wstring, bool> 사례들[] = {
        {L"D:(A;OICI;FA;;;BU)", true},  {L"D:PAI(A;OICI;FA;;;BU)", true},
        {L"D:AI(A;OICIID;FA;;;BU)", false}, {L"D:P(A;OICI;FA;;;BU)(A;;FA;;;BA)", false},
        {L"D:NO_ACCESS_CONTROL", false}};
    for (const auto& [목록, 기대] : 사례들) EXPECT_EQ(부여한목록그대로(목록), 기대) << 목록.size();
}

TEST(접근목록, cacls가_따옴표로_싸거나_다른_부분과_함께_보여도_접근_목록만_비교한다) {
    const std::wstring 폴더 = L"C:\\Program Files (x86)\\Quindle";
    for (const std::wstring& 줄 : {폴더 + L" \"D:P(A;;FA;;;BA)\" ", 폴더 + L" O:BAG:SYD:P(A;;FA;;;BA)S:AI"})
        EXPECT_EQ(접근목록부분(폴더의설명자(L"처리됨\r\n" + 줄 + L"\r\n", 폴더)), L"D:P(A;;FA;;;BA)");
}

TEST(접근목록, 믿는_소유자는_관리자_시스템_설치서비스뿐이다) {
    EXPECT_TRUE(믿는소유자(L"S-1-5-32-544") && 믿는소유자(L"SY") && 믿는소유자(설치서비스));
    EXPECT_FALSE(믿는소유자(L"S-1-5-21-1-2-3-1001"));
}

}  // namespace
