// The real program under bad input and faults of the machine: an unusable
// temporary folder, stale or locked files, a missing cacls or install
// folder, absurd list text, and two instances at once. Each ends without a
// crash, with a Korean message where the user must be told something, no
// grant on any folder but the product's own, and no files of the tool left
// behind where it could delete them.
#include "tests/wine/window_fixture.h"

namespace {

using namespace 시험;

class 강건성 : public 창종단 {
protected:
    // Starts the program again, so that it sees the environment as it is now;
    // `사용자로`: the test-only build that is not elevated, the only one that
    // uses TEMP (Wine calls every process elevated).
    void 다시시작(bool 사용자로 = false) {
        프로그램.reset();
        프로그램.emplace(사용자로 ? 프로그램폴더() + L"\\boansetting_as_user.exe" : 창프로그램::기본경로());
        ASSERT_TRUE(프로그램->시작됨()) << utf8(프로그램->시작오류());
    }

    // The tool's own temporary files left in a folder.
    static std::vector<std::wstring> 남은것(const std::wstring& 폴더) {
        std::vector<std::wstring> 남음;
        for (const std::wstring& 이름 : 폴더내용(폴더))
            if (이름.rfind(L"fe", 0) == 0) 남음.push_back(이름);
        return 남음;
    }
};

// Elevated (and Wine calls every process so), the program keeps its files
// in a folder of its own under the Windows folder: the user's TEMP, whatever
// it names, plays no part. Where it is used, a missing TEMP is a file error
// naming the file (see the permission module's tests under Wine).
TEST_F(강건성, 관리자로_실행하면_TEMP가_없는_폴더여도_검사하고_설정한다) {
    설치하기();
    환경변수바꾸기 없음(L"TEMP", (뿌리 / L"없는 폴더").c_str());
    다시시작();
    EXPECT_EQ(답받기(IDC_CHECK_BASE).본문, L"보안설정에 문제가 있습니다.");
    EXPECT_EQ(답받기(IDC_CHECK_BASE + 1).본문, L"보안설정이 잘되었습니다.");
    EXPECT_FALSE(파일있음(뿌리 / L"없는 폴더"));
}

TEST_F(강건성, 끝에_구분자가_있거나_구분자가_없는_임시폴더도_제대로_쓰고_치운다) {
    시험::폴더만들기(대상);
    cacls.설명자정하기(대상, 사용자항목);
    {
        환경변수바꾸기 끝구분자(L"TEMP", (임시 + L"\\").c_str());
        다시시작(true);
        EXPECT_EQ(답받기(IDC_CHECK_BASE).본문, L"보안설정이 잘되어 있습니다.");
    }
    // A bare name is a folder in the program's current directory, which the
    // driver makes the program's own folder.
    const std::wstring 이름만인임시 = 프로그램폴더() + L"\\fe 시험 Temp";
    시험::폴더만들기(이름만인임시);
    {
        환경변수바꾸기 이름만(L"TEMP", L"fe 시험 Temp");
        다시시작(true);
    }
    EXPECT_EQ(답받기(IDC_CHECK_BASE).본문, L"보안설정이 잘되어 있습니다.");
    const std::vector<std::wstring> 이름만인임시에남은것 = 남은것(이름만인임시);
    시험::폴더지우기(이름만인임시);
    EXPECT_EQ(이름만인임시에남은것, std::vector<std::wstring>{});
    EXPECT_EQ(남은것(임시), std::vector<std::wstring>{});
}

TEST_F(강건성, TEMP가_없어도_결과가_맞고_파일이_남지_않는다) {
    시험::폴더만들기(대상);
    cacls.설명자정하기(대상, 사용자항목);
    {
        환경변수바꾸기 없음(L"TEMP", nullptr);
        다시시작(true);
    }
    EXPECT_EQ(답받기(IDC_CHECK_BASE).본문, L"보안설정이 잘되어 있습니다.");
    EXPECT_EQ(남은것(L"C:"), std::vector<std::wstring>{});
    EXPECT_EQ(남은것(뿌리.경로().substr(0, 2)), std::vector<std::wstring>{});
}

TEST_F(강건성, 관리자로_실행하면_TEMP에서_다른_프로그램이_잡은_출력_이름은_상관없다) {
    시험::폴더만들기(대상);
    바이트쓰기(임시 + L"\\fe2437.txt", "stale D:(A;OICI;FA;;;BU)");
    auto 잡음 = win32::OwnHandle(CreateFileW((임시 + L"\\fe2437.txt").c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(잡음);
    const std::wstring 본문 = 답받기(IDC_CHECK_BASE).본문;
    잡음.reset();
    EXPECT_EQ(본문, L"보안설정에 문제가 있습니다.");
    EXPECT_EQ(실행기록(cacls), 줄들({L"args=" + 대상 + L"|/s"}));
    EXPECT_EQ(남은것(임시), std::vector<std::wstring>{L"fe2437.txt"});  // only the stranger's
}

TEST_F(강건성, cacls가_없으면_그렇게_알리고_관리자_권한을_탓하지_않는다) {
    시험::폴더만들기(대상);
    wchar_t 시스템[MAX_PATH] = {};
    GetSystemDirectoryW(시스템, MAX_PATH);
    const std::wstring cacls경로 = std::wstring(시스템) + L"\\cacls.exe";
    const std::wstring 치운곳 = 뿌리 / L"cacls.exe";
    std::wstring 본문;
    {
        const 시험::파일치우기 치움(cacls경로, 치운곳);
        ASSERT_TRUE(치움.치워짐());
        본문 = 답받기(IDC_CHECK_BASE + 1).본문;
    }
    EXPECT_EQ(본문.rfind(L"Windows의 권한 도구(cacls.exe)를 찾을 수 없어", 0), 0u) << utf8(본문);
    EXPECT_NE(본문.find(cacls경로), std::wstring::npos) << utf8(본문);
    EXPECT_EQ(남은것(임시), std::vector<std::wstring>{});
}

TEST_F(강건성, 설치폴더가_없거나_파일이면_알리고_cacls를_부르지_않는다) {
    EXPECT_EQ(답받기(IDC_CHECK_BASE).본문, 대상 + L" - 폴더가 없습니다.");
    바이트쓰기(대상, "not a folder");
    EXPECT_EQ(답받기(IDC_CHECK_BASE + 1).본문, 대상 + L" - 폴더가 없습니다.");
    EXPECT_EQ(실행기록(cacls), 줄들({}));
    EXPECT_EQ(cacls.설명자(대상), L"");
}

TEST_F(강건성, 터무니없는_목록_글은_제품을_고르라고_한다) {
    const std::wstring 긴글(32000, L'가');
    const std::wstring 못담는글 = L"ไทย Pelorant";
    for (const std::wstring& 글 : {긴글, 못담는글, std::wstring()}) {
        SCOPED_TRACE(글.size());
        ASSERT_TRUE(프로그램->붙여넣기(글));
        EXPECT_EQ(답받기(IDC_CHECK_BASE).본문, L"목록에서 프로그램을 선택하세요.");
        EXPECT_EQ(답받기(IDC_CHECK_BASE + 1).본문, L"목록에서 프로그램을 선택하세요.");
    }
    EXPECT_EQ(실행기록(cacls), 줄들({}));
    EXPECT_EQ(프로그램->컨트롤글(IDC_FOLDER_BASE), L"4. Pelorant 폴더 열기");
}

TEST_F(강건성, 두_인스턴스가_동시에_검사해도_서로의_결과를_말하지_않는다) {
    const std::wstring 테살리 = 프로그램파일 + L"\\Tessaly";
    시험::폴더만들기(대상);
    시험::폴더만들기(테살리);
    cacls.설명자정하기(대상, 사용자항목);
    cacls.설명자정하기(테살리, 기본설명자);
    cacls.늦추기(1500);  // long enough for the two commands to overlap
    창프로그램 둘째;
    ASSERT_TRUE(둘째.시작됨()) << utf8(둘째.시작오류());
    ASSERT_TRUE(둘째.입력하기(L"Tessaly"));

    프로그램->누르기(IDC_CHECK_BASE);
    둘째.누르기(IDC_CHECK_BASE);
    const auto 첫상자 = 프로그램->메시지상자기다리기(20000);
    const auto 둘째상자 = 둘째.메시지상자기다리기(20000);
    ASSERT_TRUE(첫상자 && 둘째상자);
    EXPECT_EQ(첫상자->본문, L"보안설정이 잘되어 있습니다.");
    EXPECT_EQ(둘째상자->본문, L"보안설정에 문제가 있습니다.");
    프로그램->메시지상자닫기(*첫상자);
    둘째.메시지상자닫기(*둘째상자);
    EXPECT_TRUE(둘째.닫기());
    EXPECT_EQ(남은것(임시), std::vector<std::wstring>{});
}

// ---- run as administrator: what the user's environment cannot steer ------

TEST_F(강건성, 사용자로_실행하면_TEMP의_퍼센트나_원화기호는_거부되고_심어둔_배치는_돌지_않는다) {
    // cmd expands %Q% in a batch file's path, and the ANSI form of the
    // Korean won sign is a backslash: either TEMP named another folder to
    // cmd than to the tool, where a user's own batch file stood.
    시험::폴더만들기(대상);
    cacls.설명자정하기(대상, 사용자항목);
    const std::wstring 흔적 = 뿌리 / L"planted-ran.txt";
    struct 사례 { std::wstring TEMP; std::wstring cmd가_보는_폴더; };
    const 사례 사례들[] = {{뿌리 / L"pct%Q%", 뿌리 / L"pctevil"},
                           {뿌리 / L"a\u20A9b", 뿌리 / L"a\\b"}};
    시험::폴더만들기(뿌리 / L"a");
    for (const 사례& 하나 : 사례들) {
        SCOPED_TRACE(utf8(하나.TEMP));
        시험::폴더만들기(하나.TEMP);
        시험::폴더만들기(하나.cmd가_보는_폴더);
        바이트쓰기(하나.cmd가_보는_폴더 + L"\\fe2437.bat",
                   코드페이지로(L"@echo planted> \"" + 흔적 + L"\"\r\n", 949));
        {
            환경변수바꾸기 임시폴더(L"TEMP", 하나.TEMP.c_str());
            환경변수바꾸기 변수(L"Q", L"evil");
            다시시작(true);
        }
        EXPECT_EQ(답받기(IDC_CHECK_BASE).본문.rfind(L"경로에 명령 처리기(cmd)가", 0), 0u);
        EXPECT_FALSE(파일있음(흔적)) << "the planted batch file ran";
    }
}

TEST_F(강건성, 설치폴더_경로에_퍼센트가_있으면_그_경로를_밝혀_거부하고_아무것도_실행하지_않는다) {
    const std::wstring 기준 = 뿌리 / L"PF%Q%";
    시험::폴더만들기(기준);
    시험::폴더만들기(기준 + L"\\Quindle");
    시험::폴더만들기(뿌리 / L"PFevil");
    시험::폴더만들기(뿌리 / L"PFevil\\Quindle");  // what cmd would have made of it
    시스템값바꾸기 프로그램폴더(L"ProgramFilesDir (x86)", 기준.c_str());  // read at each command
    {
        환경변수바꾸기 변수(L"Q", L"evil");
        다시시작();
    }
    for (int 아이디 : {IDC_CHECK_BASE, IDC_CHECK_BASE + 1}) {
        const std::wstring 본문 = 답받기(아이디).본문;
        EXPECT_NE(본문.find(기준 + L"\\Quindle"), std::wstring::npos) << utf8(본문);
        EXPECT_EQ(본문.find(L"보안설정에 문제가"), std::wstring::npos) << utf8(본문);
        EXPECT_EQ(본문.find(L"관리자 권한이"), std::wstring::npos) << utf8(본문);
    }
    EXPECT_EQ(실행기록(cacls), 줄들({}));
}

// Only an ordinary instance shares the user's TEMP, and so the lock.
TEST_F(강건성, 다른_프로세스가_임시파일을_오래_잡고_있으면_한도_뒤에_그렇게_알린다) {
    시험::폴더만들기(대상);
    const win32::UniqueHandle 뮤텍스(
        CreateMutexW(nullptr, TRUE, L"Local\\Torvane.BoanSetting.TempFiles"));
    ASSERT_TRUE(뮤텍스);
    다시시작(true);
    프로그램->누르기(IDC_CHECK_BASE);
    const auto 상자 = 프로그램->메시지상자기다리기(30000);
    ASSERT_TRUE(상자) << "the command waited without a limit";
    EXPECT_NE(상자->본문.find(L"다른 보안설정 창"), std::wstring::npos) << utf8(상자->본문);
    EXPECT_TRUE(프로그램->메시지상자닫기(*상자));
    EXPECT_EQ(실행기록(cacls), 줄들({}));
}

}  // namespace
