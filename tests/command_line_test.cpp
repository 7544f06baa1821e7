// The command line's rules against the fake platform: which arguments it
// takes, which products it runs on, the line it prints for each result and
// the exit code a script gets.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "app/command_line.h"
#include "app/commands.h"
#include "app/move_command.h"
#include "folders/install_folders.h"
#include "folders/move_log.h"
#include "permission/permission.h"
#include "tests/fake_platform.h"

namespace {

const std::wstring 임시 = L"C:\\Temp";
const std::wstring 기준 = L"C:\\Program Files (x86)";
// What an installer leaves: only administrators and SYSTEM may write.
const std::wstring 관리자만 = L"D:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)";

class 받은줄 : public 명령줄::출력대상 {
public:
    std::vector<std::wstring> 표준;
    std::vector<std::wstring> 오류;
    void 표준출력(const std::wstring& 줄) override { 표준.push_back(줄); }
    void 오류출력(const std::wstring& 줄) override { 오류.push_back(줄); }
};

class 명령줄모드 : public ::testing::Test {
protected:
    void SetUp() override {
        시스템.환경설정(L"TEMP", 임시);
        시스템.환경설정(L"ProgramFiles(x86)", 기준);
        시스템.파일들[L"C:\\Windows\\system32\\cacls.exe"] = L"";
        시스템.관리자 = true;
        // A stand-in for cacls that keeps a descriptor per folder: the
        // batch file's first quoted path is the folder it works on.
        시스템.실행동작 = [this](가짜플랫폼& 플랫폼, const std::wstring& 명령줄) {
            const std::wstring 배치 = 명령줄.substr(1, 명령줄.size() - 2);
            const std::wstring 줄 = 플랫폼.파일들[배치];
            const size_t 시작 = 줄.find(L'"') + 1;
            const std::wstring 대상 = 줄.substr(시작, 줄.find(L'"', 시작) - 시작);
            if (배치.find(L"fe2437.bat") != std::wstring::npos) {
                플랫폼.파일들[가짜플랫폼::배치폴더(명령줄) + L"\\fe2437.txt"] = 대상 + L" " + 설명자[대상] + L"\r\n";
            } else if (거부 || 거부폴더.count(대상)) {
                플랫폼.파일들[가짜플랫폼::배치폴더(명령줄) + L"\\fe1235.txt"] = L"액세스가 거부되었습니다.\r\n";
            } else {
                const size_t 목록 = 줄.find(L"/s:") + 3;
                if (!부여무시 && !무시폴더.count(대상)) 설명자[대상] = 설정한목록(줄.substr(목록, 줄.find(L' ', 목록) - 목록));
                플랫폼.파일들[가짜플랫폼::배치폴더(명령줄) + L"\\fe1235.txt"] = L"처리된 디렉터리: " + 대상 + L"\r\n";
            }
        };
    }

    // Installs a product's folder; `설정됨`: with the Users entry already.
    std::wstring 설치(const std::wstring& 폴더이름, bool 설정됨 = false) {
        const std::wstring 경로 = 기준 + L"\\" + 폴더이름;
        시스템.폴더들.insert(경로);
        시스템.폴더들.insert(경로 + L"\\data");
        설명자[경로] = 설정됨 ? L"D:PAI(A;OICI;FA;;;BU)" : 관리자만;
        return 경로;
    }

    int 실행(std::vector<std::wstring> 인자들) { return 명령줄::실행(시스템, 인자들, 출력); }

    bool 거부 = false;      // grants are refused, as without administrator rights
    bool 부여무시 = false;  // grants are reported done but change nothing
    std::set<std::wstring> 거부폴더, 무시폴더;  // as those two, for one folder each
    std::function<std::wstring(const std::wstring&)> 설정한목록 = [](const std::wstring& 목록) { return 목록; };
    가짜플랫폼 시스템;
    // The stand-in keeps each folder's list where a hold reads it.
    std::map<std::wstring, std::wstring>& 설명자 = 시스템.접근목록들;
    받은줄 출력;
};

TEST_F(명령줄모드, 잘못된_인자나_모르는_제품이면_2로_끝나고_아무것도_하지_않는다) {
    설치(L"Quindle");
    const std::vector<std::vector<std::wstring>> 잘못된것들 = {
        {},                                  // nothing to do
        {L"/check", L"Pelorant", L"Nope"},   // an unknown product among known ones
        {L"/check", L"pelorant"},            // names are exact, as in the list
        {L"/check", L"Pelorant", L"/fix"},   // two commands
        {L"/verify"},                        // an unknown switch
        {L"Pelorant"},                       // a product without a command
        {L"/?", L"Pelorant"},                // help takes no products
    };
    for (const auto& 인자들 : 잘못된것들) {
        SCOPED_TRACE(인자들.size());
        출력 = {};
        EXPECT_EQ(실행(인자들), 2);
        EXPECT_TRUE(출력.표준.empty());
        ASSERT_FALSE(출력.오류.empty());
        EXPECT_NE(출력.오류.back().find(L"/?"), std::wstring::npos);
    }
    EXPECT_EQ(출력.오류.front(), L"알 수 없는 인자입니다: Pelorant");
    EXPECT_TRUE(시스템.기록.empty());
}

TEST_F(명령줄모드, 도움말은_한국어_사용법을_표준출력에_내고_0으로_끝난다) {
    EXPECT_EQ(실행({L"/?"}), 0);
    std::wstring 전체;
    for (const auto& 줄 : 출력.표준) 전체 += 줄 + L"\n";
    for (const wchar_t* 있어야할것 : {L"boansetting /check [제품 ...]", L"boansetting /fix [제품 ...]",
                                      L"boansetting /move [제품 ...]", L"nothing-to-move", L"종료 코드",
                                      L"not-granted", L"Havrest"})
        EXPECT_NE(전체.find(있어야할것), std::wstring::npos) << 있어야할것;
    EXPECT_TRUE(시스템.기록.empty());
}

TEST_F(명령줄모드, 제품을_적지_않으면_설치된_제품만_목록_순서로_검사한다) {
    const std::wstring 하브레스트 = 설치(L"Havrest80", true);
    const std::wstring 펠로란트 = 설치(L"Quindle");
    시스템.파일들[기준 + L"\\Tessaly"] = L"";  // a file, not an install folder
    EXPECT_EQ(실행({L"/CHECK"}), 1);
    EXPECT_EQ(출력.표준, (std::vector<std::wstring>{L"Pelorant\t" + 펠로란트 + L"\tmissing",
                                                    L"Havrest\t" + 하브레스트 + L"\tok"}));
    EXPECT_TRUE(출력.오류.empty());
    // Each folder is held once, by the command itself, not again to see
    // whether it is there.
    for (const std::wstring& 폴더 : {펠로란트, 하브레스트})
        EXPECT_EQ(std::count(시스템.기록.begin(), 시스템.기록.end(), L"폴더고정 " + 폴더), 1) << 폴더;
}

TEST_F(명령줄모드, 아무_제품도_없으면_줄_없이_0이다) {
    EXPECT_EQ(실행({L"/fix"}), 0);
    EXPECT_TRUE(출력.표준.empty());
}

TEST_F(명령줄모드, 적은_제품은_적은_순서로_한번씩_처리하고_없는_폴더는_no_folder로_1이다) {
    const std::wstring 테살리 = 설치(L"Tessaly", true);
    EXPECT_EQ(실행({L"/check", L"Tessaly", L"Marrowin", L"Tessaly"}), 1);
    EXPECT_EQ(출력.표준, (std::vector<std::wstring>{L"Tessaly\t" + 테살리 + L"\tok",
                                                    L"Marrowin\t" + 기준 + L"\\Marrowin\tno-folder"}));
}

TEST_F(명령줄모드, 설정은_부여하고_확인되면_granted로_0이다) {
    const std::wstring 대상 = 설치(L"Glenmarch");
    EXPECT_EQ(실행({L"/fix", L"Orbisk"}), 0);
    EXPECT_EQ(출력.표준, std::vector<std::wstring>{L"Orbisk\t" + 대상 + L"\tgranted"});
    EXPECT_EQ(설명자[대상], L"D:(A;OICI;FA;;;BU)");
}

TEST_F(명령줄모드, 부여가_확인되지_않으면_unconfirmed로_5이다) {
    const std::wstring 대상 = 설치(L"Sorrelay");
    부여무시 = true;
    EXPECT_EQ(실행({L"/fix", L"Fennick"}), 5);
    EXPECT_EQ(출력.표준, std::vector<std::wstring>{L"Fennick\t" + 대상 + L"\tunconfirmed"});
}

TEST_F(명령줄모드, 거부된_부여는_관리자가_아니면_3_관리자면_1이다) {
    설치(L"Quindle");
    거부 = true;
    시스템.관리자 = false;
    EXPECT_EQ(실행({L"/fix"}), 3);
    시스템.관리자 = true;
    EXPECT_EQ(실행({L"/fix"}), 1);
    EXPECT_EQ(출력.표준[0], 출력.표준[1]);
    EXPECT_EQ(출력.표준[0].substr(출력.표준[0].rfind(L'\t')), L"\tnot-granted");
}

TEST_F(명령줄모드, 시스템_오류는_이유를_한_줄로_담아_4이고_다른_결과보다_앞선다) {
    설치(L"Quindle");
    설치(L"Tessaly");
    거부 = true;
    시스템.관리자 = false;
    // Another process rewrites Tessaly's batch file before it runs.
    시스템.쓴뒤동작 = [](가짜플랫폼& 플랫폼, const std::wstring& 경로) {
        if (플랫폼.파일들[경로].find(L"Tessaly") != std::wstring::npos) 플랫폼.파일들[경로] += L"x";
    };
    EXPECT_EQ(실행({L"/fix", L"Tessaly", L"Pelorant"}), 4);
    ASSERT_EQ(출력.표준.size(), 2u);
    const std::wstring& 줄 = 출력.표준[0];
    EXPECT_EQ(줄, L"Tessaly\t" + 기준 + L"\\Tessaly\terror: 실행할 파일을 바뀌지 않게 잡아 두지 "
                  L"못해 작업을 끝내지 못했습니다. " + 임시 +
                  L"\\fe2456.bat 실행하기 전에 다른 프로그램이 이 파일을 바꾸었습니다.");
    EXPECT_EQ(출력.표준[1], L"Pelorant\t" + 기준 + L"\\Quindle\tnot-granted");
}

TEST_F(명령줄모드, 예상하지_못한_예외는_제품의_error_줄과_4가_된다) {
    설치(L"Quindle");
    시스템.실행동작 = [](가짜플랫폼&, const std::wstring&) { throw std::bad_alloc(); };
    EXPECT_EQ(실행({L"/check"}), 4);
    EXPECT_EQ(출력.표준, std::vector<std::wstring>{L"Pelorant\t" + 기준 + L"\\Quindle\terror: " +
                                                   명령줄::예상못한오류});
}

TEST_F(명령줄모드, 네트워크나_준비되지_않은_프로그램_폴더는_그_폴더를_밝혀_모든_제품이_4다) {
    시스템.드라이브들[L"C:"] = 드라이브종류::네트워크;
    EXPECT_EQ(실행({L"/check"}), 4);
    ASSERT_EQ(출력.표준.size(), std::size(설치폴더::제품표));
    EXPECT_EQ(출력.표준[5], L"Havrest\t" + 기준 + L"\\Havrest80\terror: " + 기준 +
                              메시지::네트워크폴더꼬리);
    시스템.드라이브들[L"C:"] = 드라이브종류::준비안됨;
    EXPECT_EQ(실행({L"/fix", L"Pelorant"}), 4);
    EXPECT_EQ(출력.표준.back(), L"Pelorant\t" + 기준 + L"\\Quindle\terror: " + 기준 +
                                   메시지::준비안된폴더꼬리);
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(명령줄모드, 관리자_권한이_필요하면_없는_폴더의_1보다_3이_앞선다) {
    설치(L"Quindle");
    거부 = true;
    시스템.관리자 = false;
    EXPECT_EQ(실행({L"/fix", L"Fennick", L"Pelorant"}), 3);
    EXPECT_EQ(출력.표준.size(), 2u);
}

// 4 over 3 over 5 over 1 over 0, in whatever order the products come.
TEST_F(명령줄모드, 제품마다_다른_종료_코드는_더_무거운_것이_이긴다) {
    시스템.관리자 = false;
    무시폴더.insert(설치(L"Sorrelay"));  // Fennick: unconfirmed
    거부폴더.insert(설치(L"Quindle"));   // Pelorant: not-granted
    설치(L"Glenmarch");                  // Orbisk: granted; Marrowin is not installed
    EXPECT_EQ(실행({L"/fix", L"Orbisk", L"Marrowin"}), 1);
    EXPECT_EQ(실행({L"/fix", L"Marrowin", L"Fennick", L"Orbisk"}), 5);
    EXPECT_EQ(실행({L"/fix", L"Pelorant", L"Fennick", L"Marrowin"}), 3);
}

// The README's tables, the contract scripts read: each word, and its code elevated and not.
TEST(명령줄계약, 결과마다_README의_낱말과_종료_코드를_낸다) {
    struct 행 { 결과종류 종류; std::wstring 낱말; int 관리자, 일반; };
    const 행 표[] = {
        {결과종류::설정정상, L"ok", 0, 0},           {결과종류::설정문제, L"missing", 1, 1},
        {결과종류::설정완료, L"granted", 0, 0},      {결과종류::설정실패, L"unconfirmed", 5, 5},
        {결과종류::관리자권한필요, L"not-granted", 1, 3}, {결과종류::복원완료, L"restored: F", 0, 0},
        {결과종류::복원실패, L"not-restored", 1, 1}, {결과종류::복원권한필요, L"not-restored", 1, 3},
        {결과종류::보관없음, L"nothing-saved", 1, 1}, {결과종류::복원거부, L"not-restored: F", 1, 1},
        {결과종류::폴더없음, L"no-folder", 1, 1},    {결과종류::시스템오류, L"error: F", 4, 4},
        {결과종류::제품없음, L"error: ", 4, 4}};
    for (const 행& 하나 : 표) {
        for (const bool 관리자 : {true, false}) {
            const 명령줄::판정 판 = 명령줄::판정하기({하나.종류, L"F"}, 관리자);
            // A word with a reason is followed by it; every other stands alone.
            EXPECT_EQ(하나.낱말.find(L':') == std::wstring::npos ? 판.낱말 : 판.낱말.substr(0, 하나.낱말.size()), 하나.낱말);
            EXPECT_EQ(판.코드, 관리자 ? 하나.관리자 : 하나.일반) << 판.낱말 << L" " << 관리자;
        }
    }
}

// ---- /restore ----

TEST_F(명령줄모드, 복원은_처음_보관한_목록을_되돌리고_확인되면_그_파일을_밝혀_restored로_0이다) {
    const std::wstring 대상 = 설치(L"Quindle");
    const std::wstring 보관 = 시스템.보관폴더값 + L"\\Quindle 2026-12-08 09-05-07";
    시스템.파일들[보관 + L".sddl"] = L"D:AI(A;;FA;;;BA)\r\n";
    시스템.파일들[시스템.보관폴더값 + L"\\Tessaly 2026-01-01 00-00-00.sddl"] = L"D:(A;;FA;;;BG)\r\n";
    // Named later, written earlier: the local time went back in between.
    const std::wstring 처음 = 시스템.보관폴더값 + L"\\Quindle 2026-12-08 09-30-00.sddl";
    시스템.파일들[처음] = L"D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)\r\n";
    시스템.쓴때들[처음] = 1;
    시스템.쓴때들[보관 + L".sddl"] = 2;
    EXPECT_EQ(실행({L"/RESTORE", L"Pelorant"}), 0);
    EXPECT_EQ(출력.표준.at(0).rfind(L"Pelorant\t" + 대상 + L"\trestored: " + 처음 + L" ", 0), 0u) << 출력.표준[0];
    EXPECT_EQ(설명자[대상], L"D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)");
    EXPECT_TRUE(시스템.있음(보관 + L".sddl"));
}

// With full control a user may set a list of their choosing, which the next
// fix keeps: the restore still goes back to the list from before the first.
TEST_F(명령줄모드, 사용자가_목록을_바꾸고_다시_설정한_뒤에도_복원은_첫_설정_전의_목록을_되돌린다) {
    const std::wstring 대상 = 설치(L"Quindle");
    EXPECT_EQ(실행({L"/fix", L"Pelorant"}), 0);
    설명자[대상] = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
    시스템.시각값.분 = 30;
    EXPECT_EQ(실행({L"/fix", L"Pelorant"}), 0);
    EXPECT_EQ(실행({L"/restore", L"Pelorant"}), 0);
    EXPECT_EQ(설명자[대상], 관리자만);
    EXPECT_TRUE(시스템.있음(시스템.보관폴더값 + L"\\Quindle 2026-12-08 09-30-07.sddl"));
}

// A first fix that kept nothing leaves a marker, so a list a user set since,
// kept by the next fix, never passes for the one from before.
TEST_F(명령줄모드, 첫_설정이_보관한_것이_없으면_뒤에_보관한_목록은_되돌리지_않고_nothing_saved다) {
    const std::wstring 대상 = 설치(L"Quindle", true);
    EXPECT_EQ(실행({L"/fix", L"Pelorant"}), 0);
    설명자[대상] = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
    시스템.시각값.분 = 30;
    EXPECT_EQ(실행({L"/fix", L"Pelorant"}), 0);
    const std::wstring 부여한목록 = 설명자[대상];
    시스템.실행한명령들.clear();
    EXPECT_EQ(실행({L"/restore", L"Pelorant"}), 1);
    EXPECT_EQ(출력.표준.back(), L"Pelorant\t" + 대상 + L"\tnothing-saved");
    EXPECT_EQ(설명자[대상], 부여한목록);
    EXPECT_TRUE(시스템.실행한명령들.empty());
    // Users could write before the marker too: its time bounds no move's parting.
    for (const auto& [경로, 내용] : 시스템.파일들)
        시스템.쓴때들[경로] = 경로.size() > 5 && 경로.compare(경로.size() - 5, 5, L".none") == 0 ? 5 : 6;
    EXPECT_EQ(보안방화벽::첫보관때(시스템, 시스템.보관폴더값, L"Quindle"), 0);
}

TEST_F(명령줄모드, 보관한_목록이_없으면_nothing_saved로_1이고_아무것도_실행하지_않는다) {
    설치(L"Quindle");
    EXPECT_EQ(실행({L"/restore"}), 1);
    EXPECT_EQ(출력.표준, std::vector<std::wstring>{L"Pelorant\t" + 기준 + L"\\Quindle\tnothing-saved"});
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(명령줄모드, SDDL에_없는_글자가_든_보관_목록은_되돌리지_않고_4로_끝난다) {
    const std::wstring 대상 = 설치(L"Quindle");
    const std::wstring 보관 = 시스템.보관폴더값 + L"\\Quindle 2026-12-08 09-05-07.sddl";
    시스템.파일들[보관] = L"D:(A;OICI;FA;;;BU)&calc\r\n";
    EXPECT_EQ(실행({L"/restore", L"Pelorant"}), 4);
    EXPECT_EQ(출력.표준[0], L"Pelorant\t" + 대상 + L"\terror: " +
                              std::wstring(보안방화벽::거부문구::보관목록이상) + L" " + 보관);
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

// Fixed by hand, or by a cacls that kept it inheriting: the check finds the entry, so
// the fix has nothing to do, and walks nothing it would refuse (Users may write it all).
TEST_F(명령줄모드, 검사가_ok인_목록이면_설정은_cacls_없이_granted로_0이다) {
    const std::wstring 대상 = 설치(L"Quindle");
    설명자[대상] = L"D:AI(A;OICI;FA;;;BU)(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)";
    시스템.접근목록들[대상 + L"\\data"] = L"D:AI(A;OICIID;FA;;;BU)";
    EXPECT_EQ(실행({L"/check", L"Pelorant"}), 0);
    시스템.실행한명령들.clear();
    EXPECT_EQ(실행({L"/fix", L"Pelorant"}), 0);
    EXPECT_EQ(출력.표준, (std::vector<std::wstring>{L"Pelorant\t" + 대상 + L"\tok", L"Pelorant\t" + 대상 + L"\tgranted"}));
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(명령줄모드, 복원의_답은_cacls의_말이_아니라_다시_조회한_목록과_소유자가_정한다) {
    const std::wstring 대상 = 설치(L"Quindle");
    const std::wstring 보관 = 시스템.보관폴더값 + L"\\Quindle 2026-12-08 09-05-07.sddl";
    const std::wstring 좋은목록 = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
    const std::wstring 프로그램 = 대상 + L"\\Quindle.exe";
    시스템.파일들[프로그램] = L"x";
    const std::wstring 사용자 = L"S-1-5-21-1-2-3-1001";
    // `소유자` owns the folder, `안소유자` the program in it; `data` has `안목록`.
    struct 사례 {
        std::wstring 보관목록, 소유자;
        bool 거부;
        std::wstring 결과앞, 안소유자 = L"S-1-5-32-544", 안목록 = L"D:AI(A;OICIID;FA;;;BA)";
    };
    const 사례 사례들[] = {
        {좋은목록, L"S-1-5-18", true, L"restored"},  // refused, but the list is back
        {L"D:NO_ACCESS_CONTROL", L"S-1-5-18", false,
         L"not-restored: " + std::wstring(보안방화벽::복원사유::목록없음) + L" " + 보관},
        {좋은목록, 사용자, false, L"not-restored: " + std::wstring(보안방화벽::복원사유::남의소유자)},
        {좋은목록, L"S-1-5-18", false,
         L"not-restored: " + std::wstring(보안방화벽::복원사유::안의소유자) + L" " + 프로그램 + L" " + 사용자, 사용자},
        {좋은목록, L"S-1-5-18", false,
         L"not-restored: " + std::wstring(보안방화벽::복원사유::남이쓰는항목) + L" " + 대상 + L"\\data",
         L"S-1-5-32-544", L"D:P(A;OICI;FA;;;" + 사용자 + L")"},
    };
    for (const 사례& 하나 : 사례들) {
        SCOPED_TRACE(testing::PrintToString(하나.보관목록 + L" " + 하나.소유자));
        출력.표준.clear();
        시스템.파일들[보관] = 하나.보관목록 + L"\r\n";
        설명자[대상] = 좋은목록;
        시스템.소유자들[대상] = 하나.소유자;
        시스템.소유자들[프로그램] = 하나.안소유자;
        시스템.접근목록들[대상 + L"\\data"] = 하나.안목록;
        거부 = 하나.거부;
        EXPECT_EQ(실행({L"/restore", L"Pelorant"}), 하나.결과앞 == L"restored" ? 0 : 1);
        EXPECT_EQ(출력.표준.at(0).rfind(L"Pelorant\t" + 대상 + L"\t" + 하나.결과앞, 0), 0u) << 출력.표준[0];
    }
}

// Put back, every user may still change the tree while cacls walks it.
TEST_F(명령줄모드, 다른_사용자의_프로그램이_돌거나_그것을_알_수_없으면_복원하지_않고_4다) {
    const std::wstring 대상 = 설치(L"Quindle");
    시스템.파일들[시스템.보관폴더값 + L"\\Quindle 2026-12-08 09-05-07.sddl"] = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)\r\n";
    시스템.다른사용자 = 남의프로세스{L"notepad.exe", 4242, L"PC\\lee (S-1-5-21-1-2-3-1002)"};
    EXPECT_EQ(실행({L"/restore", L"Pelorant"}), 4);
    시스템.프로세스목록실패 = true;
    EXPECT_EQ(실행({L"/restore", L"Pelorant"}), 4);
    const std::wstring 앞 = L"Pelorant\t" + 대상 + L"\terror: ";
    EXPECT_EQ(출력.표준, (std::vector<std::wstring>{앞 + 보안방화벽::거부문구::사용자프로그램실행중 + L" notepad.exe (PID 4242, PC\\lee (S-1-5-21-1-2-3-1002))",
                                                 앞 + 보안방화벽::거부문구::프로그램확인못함 + L" wtsapi32.dll 액세스가 거부되었습니다."}));
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

// A cacls that keeps a set list inheriting (or protects it) is named, with the file.
TEST_F(명령줄모드, 보호_플래그가_바뀌어_되돌려지면_not_restored로_그렇다고_밝히고_1이다) {
    const std::wstring 대상 = 설치(L"Quindle");
    const std::wstring 보관 = 시스템.보관폴더값 + L"\\Quindle 2026-12-08 09-05-07.sddl";
    시스템.파일들[보관] = L"D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)\r\n";
    설정한목록 = [](const std::wstring& 목록) { return L"D:AI" + 목록.substr(목록.find(L'(')) + L"(A;OICIID;FA;;;BU)"; };
    EXPECT_EQ(실행({L"/restore", L"Pelorant"}), 1);
    EXPECT_EQ(출력.표준.at(0).rfind(L"Pelorant\t" + 대상 + L"\tnot-restored: " +
                                   보안방화벽::복원사유::보호바뀜 + L" " + 보관 + L" D:AI(", 0), 0u) << 출력.표준[0];
}

TEST_F(명령줄모드, 남이_만든_보관폴더는_소유자를_밝히고_관리자가_치우라고_한다) {
    const std::wstring 대상 = 설치(L"Quindle");
    시스템.남의보관폴더 = true;
    시스템.폴더들.insert(시스템.보관폴더값);
    시스템.소유자들[시스템.보관폴더값] = L"S-1-5-21-1-2-3-1001";
    for (const wchar_t* 명령 : {L"/fix", L"/restore"}) EXPECT_EQ(실행({명령, L"Pelorant"}), 4);
    const std::wstring 기대 = L"Pelorant\t" + 대상 + L"\terror: " + 보안방화벽::거부문구::남의보관폴더 + L" " +
                              시스템.보관폴더값 + L" 소유자: PC\\S-1-5-21-1-2-3-1001 (S-1-5-21-1-2-3-1001)";
    EXPECT_EQ(출력.표준, std::vector<std::wstring>(2, 기대));
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

// ---- /move, as a logon runs it: the user's own, unelevated ----

class 옮기기명령 : public 명령줄모드 {
protected:
    void SetUp() override {
        명령줄모드::SetUp();
        시스템.관리자 = false;
        시스템.환경설정(L"LOCALAPPDATA", 로컬);
        시스템.폴더들.insert({로컬, 로컬 + L"\\VirtualStore", 로컬 + L"\\VirtualStore\\Program Files (x86)"});
        설치(L"Quindle", true);
    }
    // The copy, with a nested file to move.
    void 가상채우기() {
        시스템.폴더들.insert({가상, 가상 + L"\\dat"});
        시스템.파일들[가상 + L"\\dat\\a.dat"] = L"새 a";
    }
    std::wstring 줄(const std::wstring& 결과) const { return L"Pelorant\t" + 가상 + L"\t" + 결과; }

    const std::wstring 로컬 = L"C:\\Users\\kim\\AppData\\Local";
    const std::wstring 가상 = 로컬 + L"\\VirtualStore\\Program Files (x86)\\Quindle";
    const std::wstring 기록 = 로컬 + L"\\BoanSetting\\move.log";
};

TEST_F(옮기기명령, 옮길_것이_없으면_cmd도_쓰기도_없고_적은_제품만_nothing_to_move로_0이다) {
    for (const bool 빈폴더 : {false, true}) {
        if (빈폴더) 시스템.폴더들.insert(가상);
        출력 = {};
        EXPECT_EQ(실행({L"/move"}), 0);
        EXPECT_EQ(실행({L"/move", L"Pelorant"}), 0);
        EXPECT_EQ(출력.표준, std::vector<std::wstring>{줄(L"nothing-to-move")});
    }
    for (const std::wstring& 한일 : 시스템.기록)
        for (const wchar_t* 쓰는일 : {L"실행 ", L"쓰기 ", L"글쓰기 ", L"폴더만들기 ", L"복사 ", L"이름바꾸기 "})
            EXPECT_NE(한일.rfind(쓰는일, 0), 0u) << testing::PrintToString(한일);
}

TEST_F(옮기기명령, 옮기면_moved로_0이고_요약을_기록에_덧붙이며_다시_하면_옮길_것이_없다) {
    가상채우기();
    EXPECT_EQ(실행({L"/MOVE"}), 0);
    EXPECT_EQ(실행({L"/move", L"Pelorant"}), 0);
    EXPECT_EQ(출력.표준, (std::vector<std::wstring>{줄(L"moved"), 줄(L"nothing-to-move")}));
    EXPECT_EQ(시스템.파일들[기준 + L"\\Quindle\\dat\\a.dat"], L"새 a");
    EXPECT_EQ(시스템.파일들[기록].rfind(L"==== 2026-12-08 09:05:07 /move Pelorant\r\n" + 가상 + L" -> " + 기준 +
                                      L"\\Quindle\r\n파일 1개를 설치 폴더로 옮겼습니다.", 0), 0u);
    EXPECT_TRUE(출력.오류.empty());
}

// What stops the move, or its log, said on the line or on standard error,
// and a repeat that finishes the job once the cause is gone.
TEST_F(옮기기명령, 무엇이_막든_까닭을_말하고_다시_하면_마저_옮긴다) {
    const std::wstring 파일 = 가상 + L"\\dat\\a.dat", 설치폴더 = 기준 + L"\\Quindle", 폴더 = 로컬 + L"\\BoanSetting";
    struct 사례 { std::function<void(가짜플랫폼&)> 바꾸기; int 코드; std::wstring 결과, 오류; };
    const 사례 사례들[] = {
        {[&](가짜플랫폼& 플랫폼) { 플랫폼.실패할경로.insert(파일); }, 1, L"not-moved: " + 파일 + L" 액세스가 거부되었습니다.", L""},
        {[&](가짜플랫폼& 플랫폼) { 플랫폼.연결지점들.insert(가상 + L"\\dat\\링크"); }, 1,
         L"not-moved: 연결 지점과 하드 링크는 따라가지 않으므로 옮기지 않았습니다: " + 가상 + L"\\dat\\링크", L""},
        {[&](가짜플랫폼& 플랫폼) { 플랫폼.사용자거부.insert({설치폴더, 사용자권한::파일추가}); }, 1,
         L"not-moved: " + 설치폴더 + L" 이 사용자가 파일을 만들 수 없는 폴더여서(보안설정이 되어 있지 않습니다) 아무것도 "
                                    L"옮기지 않았습니다. 먼저 보안설정을 하세요(2. 보안설정 또는 /fix).", L""},
        // SYSTEM, or elevated with UAC off: no token of a user's own.
        {[&](가짜플랫폼& 플랫폼) { 플랫폼.관리자 = true, 플랫폼.연결토큰있음 = false; }, 1,
         L"not-moved: " + std::wstring(옮기기문구::토큰없음), L""},
        {[&](가짜플랫폼& 플랫폼) { 플랫폼.연결지점들.insert(폴더); }, 0, L"moved",
         폴더 + L" 연결 지점이거나 다른 곳을 가리키는 폴더여서 그 안에는 아무것도 쓰지 않았습니다."},
        {[&](가짜플랫폼& 플랫폼) { 플랫폼.폴더들.insert(폴더), 플랫폼.사용자거부.insert({폴더, 사용자권한::파일추가}); }, 0,
         L"moved", 기록 + L" 이 사용자의 권한으로는 여기에 옮긴 기록을 남길 수 없습니다."},
        {[&](가짜플랫폼& 플랫폼) { 플랫폼.파일들[폴더] = L"x"; }, 0, L"moved", 폴더 + L" 파일이 이미 있으므로 만들 수 없습니다."},
    };
    가상채우기();
    const 가짜플랫폼 처음 = 시스템;
    for (const 사례& 하나 : 사례들) {
        시스템 = 처음;
        하나.바꾸기(시스템);
        출력 = {};
        EXPECT_EQ(실행({L"/move"}), 하나.코드);
        EXPECT_EQ(출력.표준, std::vector<std::wstring>{줄(하나.결과)});
        EXPECT_EQ(출력.오류, 하나.오류.empty() ? std::vector<std::wstring>{}
                                               : std::vector<std::wstring>{옮기기문구::기록실패 + 하나.오류});
        가짜플랫폼 다시 = 처음;  // the cause gone, what the run did kept
        다시.파일들 = 시스템.파일들, 다시.폴더들 = 시스템.폴더들;
        시스템 = 다시;
        EXPECT_EQ(실행({L"/move"}), 0);
        EXPECT_EQ(시스템.파일들[설치폴더 + L"\\dat\\a.dat"], L"새 a");
    }
}

TEST(옮긴기록, 한도를_넘으면_가장_오래된_항목부터_통째로_버리고_새_항목은_다_남긴다) {
    const std::wstring 옛 = L"==== 1\r\n" + std::wstring(옮김기록::최대글자 / 2, L'a') + L"\r\n";
    const std::wstring 중간 = L"==== 2\r\n" + std::wstring(옮김기록::최대글자 / 3, L'b') + L"\r\n";
    const std::wstring 새 = L"==== 3\r\n" + std::wstring(옮김기록::최대글자 / 2, L'c') + L"\r\n";
    EXPECT_EQ(옮김기록::덧붙인글(옛 + 중간, 새), 중간 + 새);
    EXPECT_EQ(옮김기록::덧붙인글(옛, 옛 + 새), 옛 + 새) << "the newest entry stays whole";
}

}  // namespace
