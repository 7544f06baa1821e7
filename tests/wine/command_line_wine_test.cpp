// The built programs run as scripts run them: boansetting.com and
// boansetting.exe with arguments, their standard output and error captured,
// their exit codes read, against the stand-in cacls. And once the window's
// elevated fix end to end, through a test-only build that is "not elevated".
#include "tests/wine/window_fixture.h"

#include <aclapi.h>
#include <sddl.h>
#include <shellapi.h>
#include <winternl.h>

#include <thread>

#include "app/command_line.h"
#include "app/commands.h"

namespace {

using namespace 시험;

std::wstring 앱폴더() { return 프로그램폴더() + L"\\..\\..\\app"; }
std::wstring 콘솔프로그램() { return 앱폴더() + L"\\boansetting.com"; }
std::wstring 창프로그램파일() { return 앱폴더() + L"\\boansetting.exe"; }
// The test-only build that reports itself not elevated.
std::wstring 사용자로보는프로그램() { return 프로그램폴더() + L"\\boansetting_as_user.exe"; }

struct 실행결과 {
    bool 끝남 = false;
    DWORD 종료코드 = 0;
    std::vector<std::wstring> 표준;  // lines, without their CR LF
    std::wstring 오류;
    bool 창이보임 = false;  // any visible window of the program, at any time
};

bool 보이는창있음(DWORD 번호) {
    std::pair<DWORD, bool> 상태{번호, false};
    EnumWindows(
        [](HWND 창, LPARAM 인자) -> BOOL {
            auto& 찾기 = *reinterpret_cast<std::pair<DWORD, bool>*>(인자);
            DWORD 주인 = 0;
            GetWindowThreadProcessId(창, &주인);
            if (주인 == 찾기.first && IsWindowVisible(창)) 찾기.second = true;
            return !찾기.second;
        },
        reinterpret_cast<LPARAM>(&상태));
    return 상태.second;
}

win32::UniqueHandle 상속파일(const std::wstring& 경로) {
    SECURITY_ATTRIBUTES 보안{sizeof 보안, nullptr, TRUE};
    return win32::OwnHandle(CreateFileW(경로.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &보안,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::vector<std::wstring> 줄로(const std::wstring& 글) {
    std::vector<std::wstring> 줄들;
    for (size_t 시작 = 0; 시작 < 글.size();) {
        const size_t 끝 = std::min(글.find(L"\r\n", 시작), 글.size());
        줄들.push_back(글.substr(시작, 끝 - 시작));
        시작 = 끝 + 2;
    }
    return 줄들;
}

// Runs `프로그램 인자` as a deployment tool would: hidden, output to files,
// in a job that kills whatever is left after the limit. Output is read in
// the OEM code page, as a pipe or file gets it here.
실행결과 돌리기(const 작업폴더& 폴더, const std::wstring& 프로그램, const std::wstring& 인자,
                DWORD 제한ms = 30000) {
    실행결과 결과;
    const std::wstring 출력경로 = 폴더 / L"stdout.txt", 오류경로 = 폴더 / L"stderr.txt";
    {
        auto 출력 = 상속파일(출력경로), 오류 = 상속파일(오류경로);
        const win32::UniqueHandle 작업(CreateJobObjectW(nullptr, nullptr));
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION 제한{};
        제한.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(작업.get(), JobObjectExtendedLimitInformation, &제한, sizeof 제한);
        STARTUPINFOW 시작정보{};
        시작정보.cb = sizeof 시작정보;
        시작정보.dwFlags = STARTF_USESTDHANDLES;
        시작정보.hStdOutput = 출력.get();
        시작정보.hStdError = 오류.get();
        std::wstring 명령줄 = L"\"" + 프로그램 + L"\" " + 인자;
        PROCESS_INFORMATION 정보{};
        if (!출력 || !오류 ||
            !CreateProcessW(프로그램.c_str(), 명령줄.data(), nullptr, nullptr, TRUE,
                            CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &시작정보,
                            &정보)) {
            ADD_FAILURE() << "cannot start " << utf8(프로그램) << ", error " << GetLastError();
            return 결과;
        }
        const win32::OwnedProcess 프로세스{win32::UniqueHandle(정보.hProcess),
                                          win32::UniqueHandle(정보.hThread)};
        AssignProcessToJobObject(작업.get(), 정보.hProcess);
        ResumeThread(정보.hThread);
        const ULONGLONG 끝 = GetTickCount64() + 제한ms;
        while (!(결과.끝남 = WaitForSingleObject(정보.hProcess, 20) == WAIT_OBJECT_0) &&
               GetTickCount64() < 끝)
            결과.창이보임 = 결과.창이보임 || 보이는창있음(정보.dwProcessId);
        GetExitCodeProcess(정보.hProcess, &결과.종료코드);
    }
    결과.표준 = 줄로(코드페이지에서(바이트읽기(출력경로), GetOEMCP()));
    결과.오류 = 코드페이지에서(바이트읽기(오류경로), GetOEMCP());
    return 결과;
}

class 명령줄종단 : public 창종단 {
protected:
    // The folders and the stand-in, but no window.
    void SetUp() override {
        폴더만들기(임시);
        폴더만들기(프로그램파일);
    }

    실행결과 돌리기_(const std::wstring& 실행파일, const std::wstring& 인자) {
        const 실행결과 결과 = 돌리기(뿌리, 실행파일, 인자);
        EXPECT_TRUE(결과.끝남) << utf8(인자) << " did not end within the limit";
        EXPECT_FALSE(결과.창이보임) << utf8(인자) << " showed a window";
        return 결과;
    }
    실행결과 콘솔(const std::wstring& 인자) { return 돌리기_(콘솔프로그램(), 인자); }

    std::wstring 줄(const wchar_t* 제품, const std::wstring& 폴더, const wchar_t* 결과) const {
        return std::wstring(제품) + L"\t" + 폴더 + L"\t" + 결과;
    }

    const std::wstring 테살리 = 프로그램파일 + L"\\Tessaly";
};

TEST_F(명령줄종단, 검사는_제품마다_한_줄을_내고_항목이_없으면_1_있으면_0이다) {
    폴더만들기(대상);
    실행결과 결과 = 콘솔(L"/check Pelorant");
    EXPECT_EQ(결과.종료코드, 1u);
    EXPECT_EQ(결과.표준, 줄들({줄(L"Pelorant", 대상, L"missing")}));
    EXPECT_EQ(결과.오류, L"");
    cacls.설명자정하기(대상, 사용자항목);
    결과 = 콘솔(L"/check Pelorant");
    EXPECT_EQ(결과.종료코드, 0u);
    EXPECT_EQ(결과.표준, 줄들({줄(L"Pelorant", 대상, L"ok")}));
}

TEST_F(명령줄종단, 제품을_적지_않으면_설치된_것만_여럿이면_적은_순서로_처리한다) {
    폴더만들기(대상);
    폴더만들기(테살리);
    cacls.설명자정하기(테살리, 사용자항목);
    EXPECT_EQ(콘솔(L"/check").표준,
              줄들({줄(L"Pelorant", 대상, L"missing"), 줄(L"Tessaly", 테살리, L"ok")}));
    const 실행결과 결과 = 콘솔(L"/check Tessaly Havrest Pelorant");
    EXPECT_EQ(결과.표준, 줄들({줄(L"Tessaly", 테살리, L"ok"),
                               줄(L"Havrest", 프로그램파일 + L"\\Havrest80", L"no-folder"),
                               줄(L"Pelorant", 대상, L"missing")}));
    EXPECT_EQ(결과.종료코드, 1u);
}

TEST_F(명령줄종단, 모르는_제품이면_2로_끝나고_아무것도_실행하지_않는다) {
    폴더만들기(대상);
    const 실행결과 결과 = 콘솔(L"/fix Pelorant Pelorantt");
    EXPECT_EQ(결과.종료코드, 2u);
    EXPECT_EQ(결과.표준, 줄들({}));
    EXPECT_EQ(결과.오류.rfind(L"알 수 없는 제품입니다: Pelorantt\r\n", 0), 0u) << utf8(결과.오류);
    EXPECT_EQ(실행기록(cacls), 줄들({}));
}

TEST_F(명령줄종단, 설정은_부여하고_확인해_granted로_0이며_다음_검사는_ok다) {
    설치하기();
    cacls.설명자정하기(대상, 기본설명자);
    const 실행결과 결과 = 콘솔(L"/fix Pelorant");
    EXPECT_EQ(결과.종료코드, 0u);
    EXPECT_EQ(결과.표준, 줄들({줄(L"Pelorant", 대상, L"granted")}));
    EXPECT_EQ(cacls.설명자(대상), 사용자항목);
    EXPECT_EQ(실행기록(cacls),
              줄들({L"args=" + 대상 + L"|/s:" + 사용자항목, L"stdin=y", L"args=" + 대상 + L"|/s"}));
    EXPECT_EQ(콘솔(L"/check Pelorant").종료코드, 0u);
}

TEST_F(명령줄종단, 거부된_설정은_관리자면_1_관리자가_아니면_3이다) {
    설치하기();
    cacls.거부하기();
    const 실행결과 관리자 = 콘솔(L"/fix Pelorant");
    EXPECT_EQ(관리자.종료코드, 1u);
    EXPECT_EQ(관리자.표준, 줄들({줄(L"Pelorant", 대상, L"not-granted")}));
    const 실행결과 사용자 = 돌리기_(사용자로보는프로그램(), L"/fix Pelorant");
    EXPECT_EQ(사용자.종료코드, 3u);
    EXPECT_EQ(사용자.표준, 관리자.표준);
}

TEST_F(명령줄종단, 관리자면_환경변수가_아니라_시스템이_적어둔_프로그램_폴더를_쓴다) {
    const std::wstring 다른곳 = 뿌리 / L"다른 PF";
    폴더만들기(다른곳);
    폴더만들기(다른곳 + L"\\Quindle");
    환경변수바꾸기 환경(L"ProgramFiles(x86)", 다른곳.c_str());
    EXPECT_EQ(콘솔(L"/check Pelorant").표준, 줄들({줄(L"Pelorant", 대상, L"no-folder")}));
}

TEST_F(명령줄종단, 영어_cacls의_부여도_다시_조회해서_granted로_0이다) {
    설치하기();
    cacls.영어로();
    const 실행결과 결과 = 콘솔(L"/fix Pelorant");
    EXPECT_EQ(결과.표준, 줄들({줄(L"Pelorant", 대상, L"granted")}));
    EXPECT_EQ(결과.종료코드, 0u);
}

TEST_F(명령줄종단, 줄바꿈이나_상대경로인_프로그램_폴더는_4로_거부하고_아무것도_실행하지_않는다) {
    // Not elevated, the program takes the folder from the environment. The
    // `..` parts lead back to the real folder; a line feed would end the
    // batch line and run the rest, unquoted: so the planted file lies where
    // no blank is.
    const std::wstring 심은곳 = L"C:\\lf15", 흔적 = 뿌리 / L"planted-ran.txt";
    폴더만들기(심은곳);
    바이트쓰기(심은곳 + L"\\x.bat", 코드페이지로(L"@echo planted> \"" + 흔적 + L"\"\r\n", 949));
    폴더만들기(뿌리 / L"pf86");
    폴더만들기(뿌리 / L"pf86\\Quindle");
    const 현재폴더바꾸기 여기(뿌리.경로());
    const std::wstring 줄바꿈 = L"C:\\\n" + 심은곳 + L"\\x.bat & rem \\..\\..\\..\\" + 프로그램파일.substr(3);
    for (const std::wstring& 값 : {줄바꿈, std::wstring(L"pf86")}) {
        SCOPED_TRACE(utf8(값));
        환경변수바꾸기 환경(L"ProgramFiles(x86)", 값.c_str());
        EXPECT_EQ(돌리기_(사용자로보는프로그램(), L"/check Pelorant").종료코드, 4u);
    }
    폴더지우기(심은곳);
    EXPECT_FALSE(파일있음(흔적)) << "the planted batch file ran";
    EXPECT_EQ(실행기록(cacls), 줄들({}));
}

TEST_F(명령줄종단, 네트워크의_프로그램_폴더는_그_폴더를_밝힌_오류로_4다) {
    // The prefix's N: is a network drive to Wine; a share is one by its form.
    ASSERT_EQ(GetDriveTypeW(L"N:\\"), static_cast<UINT>(DRIVE_REMOTE));
    for (const std::wstring 기준 : {L"N:\\Program Files (x86)", L"\\\\server\\share\\PF"}) {
        SCOPED_TRACE(utf8(기준));
        시스템값바꾸기 값(L"ProgramFilesDir (x86)", 기준.c_str());
        const 실행결과 결과 = 콘솔(L"/check Pelorant");
        EXPECT_EQ(결과.종료코드, 4u);
        EXPECT_EQ(결과.표준, 줄들({줄(L"Pelorant", 기준 + L"\\Quindle",
                                      (L"error: " + 기준 + 메시지::네트워크폴더꼬리).c_str())}));
    }
}

// A program of the user's holds the lock an ordinary instance takes; the
// elevated run works in a folder of its own and does not wait for it.
TEST_F(명령줄종단, 관리자면_사용자의_프로그램이_잡은_잠금에_막히지_않는다) {
    폴더만들기(대상);
    const win32::UniqueHandle 잠금(CreateMutexW(nullptr, TRUE, L"Local\\Torvane.BoanSetting.TempFiles"));
    ASSERT_TRUE(잠금);
    EXPECT_EQ(콘솔(L"/check Pelorant").표준, 줄들({줄(L"Pelorant", 대상, L"missing")}));
}

TEST_F(명령줄종단, cacls가_없으면_이유를_적어_4로_끝난다) {
    폴더만들기(대상);
    wchar_t 시스템[MAX_PATH] = {};
    GetSystemDirectoryW(시스템, MAX_PATH);
    const std::wstring cacls경로 = std::wstring(시스템) + L"\\cacls.exe";
    const std::wstring 치운곳 = 뿌리 / L"cacls.exe";
    ASSERT_TRUE(MoveFileW(cacls경로.c_str(), 치운곳.c_str()));
    const 실행결과 결과 = 콘솔(L"/check");
    EXPECT_TRUE(MoveFileW(치운곳.c_str(), cacls경로.c_str()));
    EXPECT_EQ(결과.종료코드, 4u);
    EXPECT_EQ(결과.표준, 줄들({줄(L"Pelorant", 대상,
                                  L"error: Windows의 권한 도구(cacls.exe)를 찾을 수 없어 보안설정을 "
                                  L"확인하거나 바꿀 수 없습니다. ") +
                               cacls경로}));
}

TEST_F(명령줄종단, 창_프로그램도_인자가_있으면_창_없이_같은_줄과_코드를_낸다) {
    폴더만들기(대상);
    cacls.늦추기(1000);  // time enough for a window to show, were there one
    const 실행결과 결과 = 돌리기_(창프로그램파일(), L"/check Pelorant");
    EXPECT_EQ(결과.종료코드, 1u);
    EXPECT_EQ(결과.표준, 줄들({줄(L"Pelorant", 대상, L"missing")}));
    EXPECT_EQ(돌리기_(창프로그램파일(), L"/check Nope").종료코드, 2u);
}

// As a user of a PC would after a fix: the copy's nested files come back,
// a file a program holds open stops the move, and a repeat finishes it.
TEST_F(명령줄종단, 설정한_뒤의_옮기기는_열린_파일에서_멈추고_다시_하면_마저_옮기며_그다음엔_옮길_것이_없다) {
    설치하기();
    cacls.설명자정하기(대상, 기본설명자);
    const std::wstring 가상 = 가상저장소 + L"\\Quindle", 열린것 = 가상 + L"\\dat\\sub\\c.dat";
    for (const std::wstring& 폴더 : {대상 + L"\\dat", 뿌리 / L"VirtualStore", 가상저장소, 가상, 가상 + L"\\dat",
                                     가상 + L"\\dat\\sub"})
        폴더만들기(폴더);
    바이트쓰기(대상 + L"\\dat\\a.dat", "old a");
    바이트쓰기(가상 + L"\\dat\\a.dat", "new a");
    바이트쓰기(열린것, "new c");
    wchar_t 프로필[MAX_PATH] = {};
    GetEnvironmentVariableW(L"USERPROFILE", 프로필, MAX_PATH);
    const std::wstring 기록 = std::wstring(프로필) + L"\\AppData\\Local\\BoanSetting\\move.log";
    DeleteFileW(기록.c_str());
    ASSERT_EQ(콘솔(L"/fix Pelorant").종료코드, 0u);
    std::vector<실행결과> 결과들;
    {
        const auto 잡음 = win32::OwnHandle(
            CreateFileW(열린것.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(잡음);
        결과들.push_back(콘솔(L"/move"));
    }
    결과들.push_back(돌리기_(창프로그램파일(), L"/move"));
    결과들.push_back(돌리기_(창프로그램파일(), L"/move Pelorant"));
    EXPECT_EQ(결과들[0].종료코드, 1u);
    EXPECT_EQ(결과들[0].표준.at(0).rfind(줄(L"Pelorant", 가상, L"not-moved: ") + 열린것 + L" ", 0), 0u);
    EXPECT_EQ(결과들[1].종료코드, 0u);
    EXPECT_EQ(결과들[1].표준, 줄들({줄(L"Pelorant", 가상, L"moved")}));
    EXPECT_EQ(결과들[2].표준, 줄들({줄(L"Pelorant", 가상, L"nothing-to-move")}));
    EXPECT_EQ(바이트읽기(대상 + L"\\dat\\a.dat"), "new a");
    EXPECT_EQ(바이트읽기(대상 + L"\\dat\\sub\\c.dat"), "new c");
    EXPECT_FALSE(파일있음(가상));
    std::wstring 백업;
    for (const std::wstring& 이름 : 폴더내용(뿌리.경로()))
        if (이름.rfind(L"Quindle 백업 ", 0) == 0) 백업 = 뿌리 / 이름;
    EXPECT_EQ(바이트읽기(백업 + L"\\dat\\a.dat"), "old a");
    EXPECT_NE(바이트읽기(기록).find(utf8(L"파일 2개를 설치 폴더로 옮겼습니다.")), std::string::npos);
}

TEST_F(명령줄종단, 도움말은_한국어로_0이다) {
    const 실행결과 결과 = 콘솔(L"/?");
    EXPECT_EQ(결과.종료코드, 0u);
    ASSERT_FALSE(결과.표준.empty());
    EXPECT_EQ(결과.표준[0].rfind(L"보안설정: ", 0), 0u) << utf8(결과.표준[0]);
}

// Both programs split their command line without SHELL32: the same
// arguments as the system's CommandLineToArgvW, quotes and backslashes
// however they come.
TEST(명령줄나누기, 시스템과_같이_나눈다) {
    for (const std::wstring 줄 :
         {L"boansetting.com /check Pelorant", L"\"C:\\a b\\x.com\" /fix  \t Tessaly ",
          L"x \"a b\" c\"d e\"f", L"x a\\\\\"b c\" d", L"x a\\\\\\\"b c", L"x a\\b\\\\ c",
          L"x \"\" \"\"\"\" \"a\"\"b\" \"\"\"\"\"\"x", L"x \"a\"\"\" b\"", L"\"x\"y z", L"x", L"x \"",
          L"x \"\\\"\" \"\\\\\" /?"}) {
        int 개수 = 0;
        wchar_t** 목록 = CommandLineToArgvW(줄.c_str(), &개수);
        ASSERT_NE(목록, nullptr);
        const win32::UniqueLocalMemory 소유(목록);
        EXPECT_EQ(명령줄::인자나누기(줄), std::vector<std::wstring>(목록 + 1, 목록 + 개수))
            << utf8(줄);
    }
}

// The folder's access list as the system gives it, in SDDL.
std::wstring 시스템이본목록(const std::wstring& 폴더) {
    PSECURITY_DESCRIPTOR 설명자 = nullptr;
    if (GetNamedSecurityInfoW(폴더.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &설명자) != ERROR_SUCCESS)
        return {};
    const win32::UniqueLocalMemory 소유(설명자);
    wchar_t* 글 = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(설명자, SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &글, nullptr))
        return {};
    const win32::UniqueLocalMemory 글소유(글);
    return 글;
}

TEST_F(명령줄종단, 설정은_바꿀_목록을_보관하고_복원은_그_목록을_cacls에_넘겨_되돌린다) {
    설치하기();
    cacls.따옴표로();  // the query's descriptor in quotes, as the real tool may print it
    cacls.설명자정하기(대상, 기본설명자);
    const std::wstring 보관 = L"C:\\ProgramData\\BoanSetting";
    // /restore takes the folder's first kept list: none of an earlier test's.
    for (const std::wstring& 이름 : 폴더내용(보관))
        if (이름.rfind(L"Quindle ", 0) == 0) DeleteFileW((보관 + L"\\" + 이름).c_str());
    const std::vector<std::wstring> 전 = 폴더내용(보관);
    const 실행결과 설정 = 콘솔(L"/fix Pelorant");
    EXPECT_EQ(설정.종료코드, 0u) << (설정.표준.empty() ? "" : utf8(설정.표준[0]));
    std::vector<std::wstring> 새것;
    for (const std::wstring& 이름 : 폴더내용(보관))
        if (std::find(전.begin(), 전.end(), 이름) == 전.end()) 새것.push_back(이름);
    ASSERT_EQ(새것.size(), 1u);
    EXPECT_EQ(새것[0].rfind(L"Quindle ", 0), 0u) << utf8(새것[0]);
    const std::wstring 목록 = 시스템이본목록(대상);
    ASSERT_FALSE(목록.empty());
    EXPECT_EQ(코드페이지에서(바이트읽기(보관 + L"\\" + 새것[0]), CP_ACP), 목록 + L"\r\n");

    const 실행결과 결과 = 콘솔(L"/restore Pelorant");
    EXPECT_EQ(결과.종료코드, 0u);
    ASSERT_EQ(결과.표준.size(), 1u);
    EXPECT_EQ(결과.표준[0].rfind(줄(L"Pelorant", 대상, L"restored: ") + 보관 + L"\\" + 새것[0] + L" ", 0), 0u)
        << utf8(결과.표준[0]);
    EXPECT_EQ(cacls.설명자(대상), 목록);
    EXPECT_EQ(실행기록(cacls), 줄들({L"args=" + 대상 + L"|/s:" + 사용자항목, L"stdin=y",
                                    L"args=" + 대상 + L"|/s", L"args=" + 대상 + L"|/s:" + 목록,
                                    L"stdin=y", L"args=" + 대상 + L"|/s"}));
}

// The environment block of another running process, each "NAME=value"
// between NULs. It follows CommandLine in the process parameters, which is
// where winternl.h's declaration of them ends.
std::wstring 환경읽기(HANDLE 프로세스) {
    PROCESS_BASIC_INFORMATION 기본{};
    PEB 블록{};
    void* 주소 = nullptr;
    if (NtQueryInformationProcess(프로세스, ProcessBasicInformation, &기본, sizeof 기본, nullptr) != 0 ||
        !ReadProcessMemory(프로세스, 기본.PebBaseAddress, &블록, sizeof 블록, nullptr) ||
        !ReadProcessMemory(프로세스,
                           reinterpret_cast<char*>(블록.ProcessParameters) +
                               sizeof(RTL_USER_PROCESS_PARAMETERS),
                           &주소, sizeof 주소, nullptr))
        return {};
    std::wstring 글;
    for (wchar_t 조각[256]; 글.size() < 65536 && 글.find(std::wstring(2, L'\0')) == std::wstring::npos;) {
        const auto* 여기 = static_cast<char*>(주소) + 글.size() * sizeof(wchar_t);
        if (!ReadProcessMemory(프로세스, 여기, 조각, sizeof 조각, nullptr)) return {};
        글.append(조각, std::size(조각));
    }
    return std::wstring(1, L'\0') + 글;
}

// What the user set for the system's folders must not reach the shell, COM
// or the folder functions of an elevated run: read while it waits for cacls.
TEST_F(명령줄종단, 관리자면_시스템_폴더의_환경변수는_시스템의_값이다) {
    폴더만들기(대상);
    cacls.늦추기(3000);
    std::vector<std::unique_ptr<환경변수바꾸기>> 사용자값;
    for (const wchar_t* 이름 : {L"SystemRoot", L"windir", L"SystemDrive", L"ComSpec", L"ProgramData"})
        사용자값.push_back(std::make_unique<환경변수바꾸기>(이름, (뿌리 / L"evil").c_str()));
    std::thread 실행([this] { 콘솔(L"/check Pelorant"); });
    std::wstring 환경;
    될때까지(10000, [&] {
        for (DWORD 번호 : 실행중인(L"boansetting.com")) {
            const win32::UniqueHandle 자식(
                OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, 번호));
            if (자식 && 실행중인(L"cmd.exe", 번호).size() == 1) 환경 = 환경읽기(자식.get());
        }
        return !환경.empty();
    });
    실행.join();
    wchar_t 윈도우[MAX_PATH] = {};
    GetSystemWindowsDirectoryW(윈도우, MAX_PATH);
    const std::wstring 창 = 윈도우;
    for (const std::wstring& 기대 :
         {L"SystemRoot=" + 창, L"windir=" + 창, L"SystemDrive=" + 창.substr(0, 2),
          L"ComSpec=" + 창 + L"\\system32\\cmd.exe", std::wstring(L"ProgramData=C:\\ProgramData")})
        EXPECT_NE(환경.find(L'\0' + 기대 + L'\0'), std::wstring::npos) << utf8(기대);
}

TEST_F(명령줄종단, 설치폴더_안의_하드링크는_부여하지_않고_이름을_밝혀_4로_끝난다) {
    // cacls could carry the grant through it to the file it also names.
    설치하기();
    const std::wstring 남의파일 = 뿌리 / L"남의 파일.ini", 링크 = 대상 + L"\\설정.ini";
    바이트쓰기(남의파일, "x");
    ASSERT_TRUE(CreateHardLinkW(링크.c_str(), 남의파일.c_str(), nullptr));
    const 실행결과 결과 = 콘솔(L"/fix Pelorant");
    EXPECT_EQ(결과.종료코드, 4u);
    ASSERT_EQ(결과.표준.size(), 1u);
    EXPECT_NE(결과.표준[0].find(L"error: 설치 폴더 안에"), std::wstring::npos) << utf8(결과.표준[0]);
    EXPECT_NE(결과.표준[0].find(링크), std::wstring::npos) << utf8(결과.표준[0]);
    EXPECT_EQ(cacls.호출기록(), L"");
}

// ---- the ordinary user's window: the fix through an elevated run ---------

// The command line of another running process, from its process block.
std::wstring 명령줄읽기(HANDLE 프로세스) {
    PROCESS_BASIC_INFORMATION 기본{};
    if (NtQueryInformationProcess(프로세스, ProcessBasicInformation, &기본, sizeof 기본, nullptr) != 0)
        return {};
    PEB 블록{};
    RTL_USER_PROCESS_PARAMETERS 매개{};
    if (!ReadProcessMemory(프로세스, 기본.PebBaseAddress, &블록, sizeof 블록, nullptr) ||
        !ReadProcessMemory(프로세스, 블록.ProcessParameters, &매개, sizeof 매개, nullptr))
        return {};
    std::wstring 줄(매개.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!ReadProcessMemory(프로세스, 매개.CommandLine.Buffer, 줄.data(), 매개.CommandLine.Length,
                           nullptr))
        return {};
    return 줄;
}

class 사용자창종단 : public 창종단 {
protected:
    void SetUp() override {
        ASSERT_TRUE(파일있음(사용자로보는프로그램())) << "the test-only build is missing";
        폴더만들기(임시);
        폴더만들기(프로그램파일);
        폴더만들기(대상);
        cacls.설명자정하기(대상, 기본설명자);
        cacls.늦추기(700);  // the elevated run lives long enough to be seen
        // Started by a name in other case than the file's: the elevated run
        // must be started by the name the system gives the file held.
        프로그램.emplace(프로그램폴더() + L"\\BOANSETTING_AS_USER.EXE");
        ASSERT_TRUE(프로그램->시작됨()) << utf8(프로그램->시작오류());
    }

    // Presses "2. 보안설정" and returns the elevated run's command line,
    // read while it runs.
    std::wstring 설정누르고_자식명령줄() {
        프로그램->누르기(IDC_CHECK_BASE + 1);
        const ULONGLONG 끝 = GetTickCount64() + 10000;
        while (GetTickCount64() < 끝) {
            for (DWORD 번호 : 실행중인(L"boansetting_as_user.exe")) {
                if (번호 == 프로그램->프로세스번호()) continue;
                const win32::UniqueHandle 자식(
                    OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, 번호));
                if (자식) return 명령줄읽기(자식.get());
            }
            Sleep(20);
        }
        return {};
    }
};

TEST_F(사용자창종단, 설정은_제품_이름만_넘겨_자신을_관리자로_실행하고_그_결과를_확인해_알린다) {
    const std::wstring 자식줄 = 설정누르고_자식명령줄();
    EXPECT_NE(자식줄.find(L"\\boansetting_as_user.exe\""), std::wstring::npos) << utf8(자식줄);
    EXPECT_EQ(자식줄.substr(자식줄.size() - std::min<size_t>(자식줄.size(), 14)), L" /fix Pelorant")
        << utf8(자식줄);
    EXPECT_EQ(다음상자().본문, L"보안설정이 잘되었습니다.");
    EXPECT_EQ(cacls.설명자(대상), 사용자항목);
    // The elevated run granted and checked; the window checked once more.
    EXPECT_EQ(실행기록(cacls), 줄들({L"args=" + 대상 + L"|/s:" + 사용자항목, L"stdin=y",
                                    L"args=" + 대상 + L"|/s", L"args=" + 대상 + L"|/s"}));
}

TEST_F(사용자창종단, 창이_떠_있는_동안_자기_파일은_이름을_바꿀_수_없다) {
    const std::wstring 파일 = 사용자로보는프로그램(), 옮긴곳 = 파일 + L".moved";
    const bool 옮겨짐 = MoveFileW(파일.c_str(), 옮긴곳.c_str());
    if (옮겨짐) MoveFileW(옮긴곳.c_str(), 파일.c_str());
    EXPECT_FALSE(옮겨짐) << "the file the shield starts was renamed while the window ran";
}

TEST_F(사용자창종단, 부여하지_못한_실행의_종료코드는_관리자_권한_메시지가_된다) {
    cacls.거부하기();
    프로그램->누르기(IDC_CHECK_BASE + 1);
    EXPECT_EQ(다음상자().본문,
              L"관리자 권한이 필요합니다.\r\n\r\n현재 프로그램을 실행할 때 오른쪽마우스로 "
              L"클릭하여 [관리자 권한으로 실행]을 선택하세요.");
    EXPECT_EQ(cacls.설명자(대상), 기본설명자);
    // The elevated run asked for the grant (and was refused); the window checked.
    EXPECT_EQ(실행기록(cacls), 줄들({L"args=" + 대상 + L"|/s:" + 사용자항목, L"stdin=y",
                                    L"args=" + 대상 + L"|/s"}));
}

}  // namespace
