// The click handlers' rules: which messages the check and the fix show,
// which folder each folder button opens, and how the clock reads.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/commands.h"
#include "permission/permission.h"
#include "tests/fake_platform.h"

namespace {

const std::wstring 임시 = L"C:\\Temp";
const std::wstring 기준 = L"C:\\Program Files (x86)";
const std::wstring 가상기준 = L"C:\\Users\\kim\\AppData\\Local\\VirtualStore\\Program Files (x86)";

class 명령 : public ::testing::Test {
protected:
    void SetUp() override {
        시스템.환경설정(L"TEMP", 임시);
        시스템.환경설정(L"ProgramFiles(x86)", 기준);
        시스템.환경설정(L"LOCALAPPDATA", L"C:\\Users\\kim\\AppData\\Local");
        // Started as administrator, as the tests here assume: the fix runs
        // in this process. The ordinary user's road has tests of its own.
        시스템.관리자 = true;
        // A stand-in for cacls: the query prints the folder's present
        // descriptor, the grant replaces it unless rights are missing.
        시스템.실행동작 = [this](가짜플랫폼& 플랫폼, const std::wstring& 명령줄) {
            if (명령줄.find(L"fe2437") != std::wstring::npos) {
                플랫폼.파일들[가짜플랫폼::배치폴더(명령줄) + L"\\fe2437.txt"] = 대상 + L" " + 설명자 + L"\r\n";
            } else if (관리자) {
                설명자 = L"D:(A;OICI;FA;;;BU)";
                플랫폼.파일들[가짜플랫폼::배치폴더(명령줄) + L"\\fe1235.txt"] = L"처리된 디렉터리: " + 대상 + L"\r\n";
            } else {
                플랫폼.파일들[가짜플랫폼::배치폴더(명령줄) + L"\\fe1235.txt"] = L"액세스가 거부되었습니다.\r\n";
            }
        };
    }

    // The product's folder exists and Windows has its cacls.
    void 설치됨() {
        시스템.폴더들.insert(대상);
        시스템.폴더들.insert(대상 + L"\\data");
        시스템.파일들[L"C:\\Windows\\system32\\cacls.exe"] = L"";
    }

    std::vector<std::wstring> 실행한배치() const {
        std::vector<std::wstring> 배치;
        for (const auto& 줄 : 시스템.실행한명령들) 배치.push_back(줄.substr(줄.size() - 11, 10));
        return 배치;
    }

    const std::wstring 대상 = 기준 + L"\\Quindle";
    std::wstring 설명자 = L"D:AI(A;OICIID;FA;;;BA)";
    bool 관리자 = true;
    가짜플랫폼 시스템;
    std::wstring 목록 = L"Pelorant";  // the list's text
};

TEST_F(명령, 체크는_조회만_하고_결과를_알린다) {
    설치됨();
    보안체크_클릭(시스템, 목록, 0);
    EXPECT_EQ(시스템.메시지들, std::vector<std::wstring>{메시지::설정문제});
    EXPECT_EQ(실행한배치(), std::vector<std::wstring>{L"fe2437.bat"});

    설명자 = L"D:PAI(A;OICI;FA;;;BU)";
    보안체크_클릭(시스템, 목록, 0);
    EXPECT_EQ(시스템.메시지들.back(), 메시지::설정정상);
    EXPECT_EQ(시스템.상자종류들, (std::vector<상자종류>{상자종류::경고, 상자종류::알림}));
}

TEST_F(명령, 설정은_부여한_뒤_따로_한번_조회한다) {
    설치됨();
    보안체크_클릭(시스템, 목록, 1);
    EXPECT_EQ(시스템.메시지들, std::vector<std::wstring>{메시지::설정완료});
    EXPECT_EQ(시스템.상자종류들, std::vector<상자종류>{상자종류::알림});
    EXPECT_EQ(실행한배치(), (std::vector<std::wstring>{L"fe2456.bat", L"fe2437.bat"}));
    EXPECT_EQ(설명자, L"D:(A;OICI;FA;;;BU)");
    // Checked and held once for the whole command: nothing looks it up again.
    EXPECT_EQ(std::count(시스템.기록.begin(), 시스템.기록.end(), L"폴더고정 " + 대상), 1);
}

TEST_F(명령, 체크나_설정이_잘되면_결과를_알린_뒤_가상_폴더의_파일을_옮길지_묻는다) {
    설치됨();
    시스템.폴더들.insert(가상기준 + L"\\Quindle");
    시스템.파일들[가상기준 + L"\\Quindle\\a.dat"] = L"a";
    시스템.예답 = false;
    보안체크_클릭(시스템, 목록, 0);
    EXPECT_TRUE(시스템.물음들.empty()) << "asked after a check that found no entry";
    보안체크_클릭(시스템, 목록, 1);
    ASSERT_EQ(시스템.물음들.size(), 1u);
    const auto& 기록 = 시스템.기록;
    const auto 알림 = std::find(기록.begin(), 기록.end(), L"메시지 " + std::wstring(메시지::설정완료));
    EXPECT_LT(알림, std::find(기록.begin(), 기록.end(), L"묻기 " + 시스템.물음들[0]));
    EXPECT_NE(시스템.물음들[0].find(가상기준 + L"\\Quindle\r\n"), std::wstring::npos);
}

TEST_F(명령, 부여가_됐어도_조회에서_항목이_없으면_실패를_알린다) {
    설치됨();
    시스템.실행동작 = [this](가짜플랫폼& 플랫폼, const std::wstring& 명령줄) {
        const bool 조회 = 명령줄.find(L"fe2437") != std::wstring::npos;
        플랫폼.파일들[가짜플랫폼::배치폴더(명령줄) + (조회 ? L"\\fe2437.txt" : L"\\fe1235.txt")] =
            조회 ? 대상 + L" D:(A;OICI;FA;;;BA)" : L"처리된 디렉터리: x";
    };
    보안체크_클릭(시스템, 목록, 1);
    EXPECT_EQ(시스템.메시지들, std::vector<std::wstring>{메시지::설정실패});
    EXPECT_EQ(시스템.상자종류들, std::vector<상자종류>{상자종류::오류});
}

TEST_F(명령, 부여가_거부되고_조회에도_항목이_없으면_관리자_권한_메시지만_보인다) {
    설치됨();
    관리자 = false;
    보안체크_클릭(시스템, 목록, 1);
    ASSERT_EQ(시스템.메시지들.size(), 1u);
    EXPECT_EQ(시스템.메시지들[0],
              L"관리자 권한이 필요합니다.\r\n\r\n현재 프로그램을 실행할 때 오른쪽마우스로 "
              L"클릭하여 [관리자 권한으로 실행]을 선택하세요.");
    EXPECT_EQ(시스템.상자종류들, std::vector<상자종류>{상자종류::경고});
    EXPECT_EQ(실행한배치(), (std::vector<std::wstring>{L"fe2456.bat", L"fe2437.bat"}));
}

TEST_F(명령, 제품이_아닌_글이면_프로그램폴더_자체에는_아무것도_하지_않는다) {
    목록 = L"pelorant";
    보안체크_클릭(시스템, 목록, 0);
    보안체크_클릭(시스템, 목록, 1);
    EXPECT_TRUE(시스템.실행한명령들.empty());
    EXPECT_EQ(시스템.메시지들,
              (std::vector<std::wstring>{메시지::제품선택필요, 메시지::제품선택필요}));
}

TEST_F(명령, 임시파일_오류는_파일과_이유를_말하는_메시지로_끝난다) {
    설치됨();
    시스템.관리자 = false;  // the check runs in the user's temporary folder
    시스템.실패할경로.insert(임시 + L"\\fe2437.bat");
    보안체크_클릭(시스템, 목록, 0);
    ASSERT_EQ(시스템.메시지들.size(), 1u);
    EXPECT_NE(시스템.메시지들[0].find(임시 + L"\\fe2437.bat"), std::wstring::npos);
    EXPECT_NE(시스템.메시지들[0].find(L"액세스가 거부되었습니다."), std::wstring::npos);
}

TEST_F(명령, 제품_폴더가_없거나_파일이면_cacls를_돌리지_않고_그렇게_알린다) {
    시스템.파일들[L"C:\\Windows\\system32\\cacls.exe"] = L"";
    보안체크_클릭(시스템, 목록, 0);
    시스템.파일들[대상] = L"";  // a file where the folder should be
    보안체크_클릭(시스템, 목록, 1);
    EXPECT_EQ(시스템.메시지들, (std::vector<std::wstring>{대상 + L" - 폴더가 없습니다.",
                                                         대상 + L" - 폴더가 없습니다."}));
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(명령, cacls가_없으면_그렇게_알리고_관리자_권한_탓으로_돌리지_않는다) {
    설치됨();
    시스템.파일들.clear();
    보안체크_클릭(시스템, 목록, 1);
    ASSERT_EQ(시스템.메시지들.size(), 1u);
    EXPECT_EQ(시스템.메시지들[0],
              메시지::관리자에게 +
                  std::wstring(L"Windows의 권한 도구(cacls.exe)를 찾을 수 없어 보안설정을 확인하거나 "
                               L"바꿀 수 없습니다.\r\n\r\nC:\\Windows\\system32\\cacls.exe"));
    EXPECT_EQ(시스템.상자종류들, std::vector<상자종류>{상자종류::오류});
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

// What the user at the window can put right alone is not sent to the IT staff.
TEST_F(명령, 관리자에게_알리라는_말은_사용자가_고칠_수_없는_오류에만_앞세운다) {
    설치됨();
    시스템.관리자 = false;
    시스템.다른인스턴스사용중 = true;
    보안체크_클릭(시스템, 목록, 0);
    시스템.드라이브들[L"C:"] = 드라이브종류::준비안됨;
    보안체크_클릭(시스템, 목록, 0);
    시스템.드라이브들[L"C:"] = 드라이브종류::네트워크;
    보안체크_클릭(시스템, 목록, 0);
    EXPECT_EQ(시스템.메시지들, (std::vector<std::wstring>{
                                  보안방화벽::거부문구::다른창작업중,
                                  메시지::드라이브확인 + 기준 + 메시지::준비안된폴더꼬리,
                                  메시지::관리자에게 + 기준 + 메시지::네트워크폴더꼬리}));
}

// The ordinary user's window: the fix is granted by an elevated run of the
// program's own command line, and this process only checks.
class 일반사용자창 : public 명령 {
protected:
    void SetUp() override {
        명령::SetUp();
        시스템.관리자 = false;
        설치됨();
        // The elevated run grants, as the command line would.
        시스템.관리자실행동작 = [this](가짜플랫폼&, const std::wstring&) {
            설명자 = L"D:(A;OICI;FA;;;BU)";
        };
    }
};

TEST_F(일반사용자창, 설정은_제품_이름만_넘겨_관리자로_실행하고_그동안_임시파일을_잡지_않는다) {
    보안체크_클릭(시스템, 목록, 1);
    EXPECT_EQ(시스템.관리자실행인자들, std::vector<std::wstring>{L"/fix Pelorant"});
    // This process only checks, afterwards, and not while it waits.
    EXPECT_EQ(실행한배치(), std::vector<std::wstring>{L"fe2437.bat"});
    const auto 실행위치 = std::find(시스템.기록.begin(), 시스템.기록.end(), L"관리자실행 /fix Pelorant");
    EXPECT_EQ(std::count(시스템.기록.begin(), 실행위치, L"독점"),
              std::count(시스템.기록.begin(), 실행위치, L"풀림 독점"));
    EXPECT_EQ(시스템.메시지들, std::vector<std::wstring>{메시지::설정완료});
}

TEST_F(일반사용자창, 거절하거나_부여하지_못한_실행은_관리자_권한_메시지를_보인다) {
    시스템.관리자실행답 = {true, 0};
    보안체크_클릭(시스템, 목록, 1);
    for (unsigned long 코드 : {1ul, 3ul}) {
        시스템.관리자실행답 = {false, 코드};
        보안체크_클릭(시스템, 목록, 1);
    }
    EXPECT_EQ(시스템.메시지들, std::vector<std::wstring>(3, 메시지::관리자권한필요));
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(일반사용자창, 성공을_알린_실행도_다시_확인해_항목이_없으면_실패를_알린다) {
    시스템.관리자실행동작 = nullptr;
    보안체크_클릭(시스템, 목록, 1);
    EXPECT_EQ(시스템.메시지들, std::vector<std::wstring>{메시지::설정실패});
}

TEST_F(일반사용자창, 시스템_오류로_끝난_실행은_그렇다고_하고_이유를_보일_명령을_알린다) {
    시스템.관리자실행답 = {false, 4};
    보안체크_클릭(시스템, 목록, 1);
    EXPECT_EQ(시스템.메시지들, std::vector<std::wstring>{메시지::관리자에게 +
                                                         std::wstring(메시지::관리자실행오류) +
                                                         L"boansetting /fix Pelorant"});
}

TEST_F(일반사용자창, 사용자가_바꿀_수_있는_곳의_프로그램은_관리자로_실행하지_않는다) {
    시스템.바꿀수있는자기경로값 = L"D:\\Downloads";
    보안체크_클릭(시스템, 목록, 1);
    EXPECT_TRUE(시스템.관리자실행인자들.empty());
    EXPECT_EQ(시스템.메시지들, std::vector<std::wstring>{메시지::관리자에게 + std::wstring(메시지::자기파일위험) +
                                                         L"D:\\Downloads"});
}

TEST_F(일반사용자창, 고칠_것이_없으면_권한을_묻지_않는다) {
    목록 = L"pelorant";
    보안체크_클릭(시스템, 목록, 1);
    목록 = L"Pelorant";
    시스템.폴더들.clear();
    보안체크_클릭(시스템, 목록, 1);
    EXPECT_EQ(시스템.메시지들, (std::vector<std::wstring>{메시지::제품선택필요,
                                                         대상 + L" - 폴더가 없습니다."}));
    EXPECT_TRUE(시스템.관리자실행인자들.empty());
}

TEST_F(일반사용자창, 실행하지_못하면_그_파일과_이유를_알린다) {
    시스템.관리자실행오류 = true;
    보안체크_클릭(시스템, 목록, 1);
    EXPECT_EQ(시스템.메시지들,
              std::vector<std::wstring>{메시지::관리자에게 + std::wstring(메시지::관리자실행실패) +
                                        L"C:\\Tools\\boansetting.exe\r\n지정된 파일을 찾을 수 없습니다."});
}

// The shield promises the elevation prompt: it shows exactly when the fix
// goes through an elevated run.
TEST_F(일반사용자창, 방패는_설정이_관리자_실행을_거칠_때만_보인다) {
    for (const bool 승격됨 : {false, true}) {
        시스템.관리자 = 승격됨;
        시스템.관리자실행인자들.clear();
        보안체크_클릭(시스템, 목록, 1);
        EXPECT_EQ(설정에방패(시스템), !시스템.관리자실행인자들.empty()) << "elevated: " << 승격됨;
    }
}

TEST_F(명령, 폴더_버튼은_있는_설치폴더와_가상_폴더를_연다) {
    시스템.관리자 = false;
    시스템.폴더들.insert(기준 + L"\\Quindle");
    시스템.폴더들.insert(가상기준 + L"\\Quindle");

    폴더열기_클릭(시스템, 목록, 0);
    폴더열기_클릭(시스템, 목록, 1);

    EXPECT_EQ(시스템.열린대상들,
              (std::vector<std::wstring>{기준 + L"\\Quindle", 가상기준 + L"\\Quindle"}));
    EXPECT_TRUE(시스템.메시지들.empty());
}

TEST_F(명령, 없는_폴더는_경로를_밝혀_알리고_열지_않는다) {
    폴더열기_클릭(시스템, 목록, 0);
    폴더열기_클릭(시스템, 목록, 1);
    EXPECT_EQ(시스템.메시지들,
              (std::vector<std::wstring>{기준 + L"\\Quindle - 폴더가 없습니다.",
                                         가상기준 + L"\\Quindle - 폴더가 없습니다."}));
    EXPECT_EQ(시스템.상자종류들, std::vector<상자종류>(2, 상자종류::경고));
    EXPECT_TRUE(시스템.열린대상들.empty());
}

TEST_F(명령, 가상_저장소의_자리를_모르면_그렇게_알리고_아무것도_열지_않는다) {
    시스템.관리자 = true;
    시스템.프로필폴더값 = L"C:\\Users\\lee";  // the copy would lie outside the user's profile
    시스템.폴더들.insert(L"\\Quindle");  // what an empty base would have named
    폴더열기_클릭(시스템, 목록, 1);
    EXPECT_EQ(시스템.메시지들, std::vector<std::wstring>{메시지::가상저장소모름});
    EXPECT_EQ(시스템.상자종류들, std::vector<상자종류>{상자종류::오류});
    EXPECT_TRUE(시스템.열린대상들.empty());
}

TEST_F(명령, 폴더_이름의_파일도_있는_것으로_보고_연다) {
    시스템.관리자 = false;
    시스템.파일들[기준 + L"\\Quindle"] = L"";
    폴더열기_클릭(시스템, 목록, 0);
    EXPECT_EQ(시스템.열린대상들, std::vector<std::wstring>{기준 + L"\\Quindle"});
}

TEST_F(명령, 제품이_아닌_글이면_기준폴더가_있을때_그것을_연다) {
    시스템.관리자 = false;
    목록 = L"pelorant";
    폴더열기_클릭(시스템, 목록, 0);
    EXPECT_EQ(시스템.메시지들, std::vector<std::wstring>{기준 + L"\\ - 폴더가 없습니다."});
    EXPECT_EQ(시스템.상자종류들, std::vector<상자종류>{상자종류::경고});
    시스템.폴더들.insert(기준);
    폴더열기_클릭(시스템, 목록, 0);
    EXPECT_EQ(시스템.열린대상들, std::vector<std::wstring>{기준 + L"\\"});
}

TEST_F(명령, 도움말_버튼은_도움말_주소를_연다) {
    시스템.관리자 = false;
    수동권한_클릭(시스템);
    ASSERT_EQ(시스템.열린대상들.size(), 1u);
    EXPECT_EQ(시스템.열린대상들[0].rfind(L"http://", 0), 0u);
    EXPECT_NE(시스템.열린대상들[0].find(L"/xe/FAQ/44187"), std::wstring::npos);
}

// Elevated, nothing opens with administrator rights.
TEST_F(명령, 관리자면_폴더만_사용자의_셸로_열고_셸이_없으면_경로를_복사해_보이고_파일이면_알린다) {
    시스템.폴더들.insert(기준 + L"\\Quindle");
    시스템.파일들[가상기준 + L"\\Quindle"] = L"";
    폴더열기_클릭(시스템, 목록, 0);
    폴더열기_클릭(시스템, 목록, 1);
    시스템.사용자셸있음 = false;
    폴더열기_클릭(시스템, 목록, 0);
    EXPECT_EQ(시스템.클립보드, 기준 + L"\\Quindle");
    시스템.클립보드막힘 = true;
    폴더열기_클릭(시스템, 목록, 0);
    EXPECT_TRUE(시스템.열린대상들.empty());
    EXPECT_EQ(시스템.사용자로연것들, std::vector<std::wstring>{기준 + L"\\Quindle"});
    EXPECT_EQ(시스템.메시지들, (std::vector<std::wstring>{
                                  가상기준 + L"\\Quindle" + 메시지::폴더아님꼬리,
                                  메시지::폴더복사 + 기준 + L"\\Quindle",
                                  메시지::폴더손복사 + 기준 + L"\\Quindle"}));
    EXPECT_EQ(시스템.상자종류들, (std::vector<상자종류>{상자종류::경고, 상자종류::알림, 상자종류::알림}));
}

TEST_F(명령, 관리자면_도움말은_사용자의_셸이_열고_그럴_수_없으면_주소를_복사해_보인다) {
    수동권한_클릭(시스템);
    시스템.사용자셸있음 = false;
    수동권한_클릭(시스템);
    EXPECT_EQ(시스템.클립보드, 도움말주소);
    시스템.클립보드막힘 = true;
    수동권한_클릭(시스템);
    EXPECT_TRUE(시스템.열린대상들.empty());
    EXPECT_EQ(시스템.사용자로연것들, std::vector<std::wstring>{도움말주소});
    EXPECT_EQ(시스템.메시지들, (std::vector<std::wstring>{std::wstring(메시지::도움말복사) + 도움말주소,
                                                         std::wstring(메시지::도움말손복사) + 도움말주소}));
}

TEST_F(명령, 연결지점인_설치폴더는_시스템오류로_경로를_밝히고_설정문제라_하지_않는다) {
    설치됨();
    시스템.연결지점들.insert(대상);
    const 명령결과 결과 = 보안설정(시스템, 설치폴더::제품위치찾기(시스템, 목록));
    EXPECT_EQ(결과.종류, 결과종류::시스템오류);
    EXPECT_NE(결과.사유.find(대상), std::wstring::npos);
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(명령, 목록을_볼_수_없는_설치폴더도_있는_것으로_보고_검사한다) {
    설치됨();
    시스템.목록거부폴더들.insert(대상);
    EXPECT_EQ(보안검사(시스템, 설치폴더::제품위치찾기(시스템, 목록)).종류, 결과종류::설정문제);
    EXPECT_EQ(실행한배치(), std::vector<std::wstring>{L"fe2437.bat"});
}

TEST(한국어시각, 오전_오후와_열두시간제로_쓴다) {
    EXPECT_EQ(한국어시각(0, 5), L"오전 12:05");
    EXPECT_EQ(한국어시각(9, 30), L"오전 9:30");
    EXPECT_EQ(한국어시각(12, 0), L"오후 12:00");
    EXPECT_EQ(한국어시각(15, 27), L"오후 3:27");
    EXPECT_EQ(한국어시각(23, 59), L"오후 11:59");
}

}  // namespace
