// Measures, under Wine, what a user feels: how long the window takes to come
// up and how long a click on "1. 보안체크" or "2. 보안설정" takes to answer,
// and how long the command line takes to check one product, each against
// baselines measured the same way in the same run:
//   start-up  against a minimal window that shows one line of Korean text in
//             the system's message font, and against an empty window;
//   check     against a minimal GUI program that runs the same batch file
//             hidden and shows a message box (what any GUI program pays),
//             and against running the batch file from this console program;
//   fix       likewise, with the grant's and the query's batch files;
//   /check    against running the query's batch file from this console;
//   /?        against a console program that does nothing;
//   /move     with nothing to move, as the logon entry runs it, against /?.
// Prints one Markdown table row per measure and baseline, with medians over
// N runs.
//   usage: bench.exe [N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "permission/permission.h"
#include "platform/win32_platform.h"
#include "tests/wine/window_driver.h"
#include "tests/wine/wine_support.h"

namespace {

double 지금ms() {
    static const double 주파수 = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t{};
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / 주파수;
}

double 중앙값(std::vector<double> 값들) {
    std::sort(값들.begin(), 값들.end());
    const size_t n = 값들.size();
    return n % 2 ? 값들[n / 2] : (값들[n / 2 - 1] + 값들[n / 2]) / 2;
}

// Milliseconds of one run of `일`, the measure `무엇`, which returns false
// when it failed, having said why on standard error.
double 재기(const char* 무엇, const std::function<bool()>& 일) {
    const double 시작 = 지금ms();
    if (!일()) {
        std::fprintf(stderr, "a measured run failed: %s\n", 무엇);
        std::exit(1);
    }
    return 지금ms() - 시작;
}

// The ratio is the median of each run's own ratio: a run of the tool and its
// baseline are taken side by side, so a burst of load from another user of
// the machine slows both and cancels out, where it would skew one median.
void 행(const char* 무엇, const char* 기준, const std::vector<double>& 도구,
        const std::vector<double>& 바닥) {
    std::vector<double> 비율들;
    for (size_t 번 = 0; 번 < 도구.size() && 번 < 바닥.size(); ++번)
        비율들.push_back(도구[번] / 바닥[번]);
    std::printf("| %s | %.0f | %s | %.0f | %.2f |\n", 무엇, 중앙값(도구), 기준, 중앙값(바닥),
                중앙값(비율들));
}

bool 직접실행(const std::wstring& 배치) {
    std::wstring 명령줄 = L"\"" + 배치 + L"\"";
    STARTUPINFOW 시작정보{};
    시작정보.cb = sizeof 시작정보;
    PROCESS_INFORMATION 정보{};
    if (!CreateProcessW(nullptr, 명령줄.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &시작정보, &정보)) {
        std::fprintf(stderr, "the batch file did not start: error %lu\n", GetLastError());
        return false;
    }
    const win32::OwnedProcess 프로세스{win32::UniqueHandle(정보.hProcess),
                                      win32::UniqueHandle(정보.hThread)};
    if (WaitForSingleObject(정보.hProcess, 60000) == WAIT_OBJECT_0) return true;
    std::fprintf(stderr, "the batch file did not end within a minute\n");
    return false;
}

// Runs a console program as a script would, sharing this console, with its
// standard output redirected to `출력파일`; true when it ended in time with
// exit code 0 and, if `한줄` is given, printed just one line that begins with
// `처음` and ends with `끝`.
bool 명령줄실행(const std::wstring& 프로그램, const std::wstring& 인자,
                const std::wstring& 출력파일, bool 한줄 = false, const std::string& 처음 = {},
                const std::string& 끝 = {}) {
    SECURITY_ATTRIBUTES 상속{sizeof 상속, nullptr, TRUE};
    auto 출력 = win32::OwnHandle(CreateFileW(출력파일.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &상속,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!출력) {
        std::fprintf(stderr, "no output file: error %lu\n", GetLastError());
        return false;
    }
    std::wstring 명령줄 = L"\"" + 프로그램 + L"\" " + 인자;
    STARTUPINFOW 시작정보{};
    시작정보.cb = sizeof 시작정보;
    시작정보.dwFlags = STARTF_USESTDHANDLES;
    시작정보.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    시작정보.hStdOutput = 출력.get();
    시작정보.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION 정보{};
    if (!CreateProcessW(프로그램.c_str(), 명령줄.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &시작정보, &정보)) {
        std::fprintf(stderr, "the command line did not start: error %lu\n", GetLastError());
        return false;
    }
    const win32::OwnedProcess 프로세스{win32::UniqueHandle(정보.hProcess),
                                      win32::UniqueHandle(정보.hThread)};
    출력.reset();
    DWORD 종료코드 = 1;
    if (WaitForSingleObject(정보.hProcess, 60000) != WAIT_OBJECT_0) {
        TerminateProcess(정보.hProcess, 1);
        std::fprintf(stderr, "the command line did not end within a minute\n");
        return false;
    }
    GetExitCodeProcess(정보.hProcess, &종료코드);
    std::string 줄 = 시험::바이트읽기(출력파일);
    while (!줄.empty() && (줄.back() == '\n' || 줄.back() == '\r')) 줄.pop_back();
    const bool 맞음 = !한줄 || (줄.find('\n') == std::string::npos && 줄.rfind(처음, 0) == 0 &&
                               줄.size() >= 처음.size() + 끝.size() &&
                               줄.compare(줄.size() - 끝.size(), 끝.size(), 끝) == 0);
    if (종료코드 != 0 || !맞음) {
        std::fprintf(stderr, "exit code %lu, output: %s\n", 종료코드, 줄.c_str());
        return false;
    }
    return true;
}

bool 눌러서답받기(const 시험::창프로그램& 프로그램, int 아이디, const wchar_t* 기대) {
    프로그램.누르기(아이디);
    const auto 상자 = 프로그램.메시지상자기다리기(30000);
    if (!상자 || 상자->본문 != 기대) {
        std::fprintf(stderr, "%s\n",
                     상자 ? ("the message box said: " + 시험::코드페이지로(상자->본문, CP_UTF8)).c_str()
                          : "no message box within 30 s");
        return false;
    }
    return 프로그램.메시지상자닫기(*상자);
}

}  // namespace

// A script runs in a console, which cmd and the tool share. Under Wine a
// program started from a pipe has none, and unlike on Windows the console
// programs it starts get none either; so the bench runs itself again in a
// hidden console of its own, its output going where this one's goes.
int 콘솔에서다시() {
    STARTUPINFOW 시작정보{};
    시작정보.cb = sizeof 시작정보;
    시작정보.dwFlags = STARTF_USESTDHANDLES;
    시작정보.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    시작정보.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION 정보{};
    std::wstring 명령줄 = GetCommandLineW();
    if (!CreateProcessW(nullptr, 명령줄.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &시작정보, &정보))
        return 1;
    const win32::OwnedProcess 프로세스{win32::UniqueHandle(정보.hProcess),
                                      win32::UniqueHandle(정보.hThread)};
    DWORD 종료코드 = 1;
    WaitForSingleObject(정보.hProcess, INFINITE);
    GetExitCodeProcess(정보.hProcess, &종료코드);
    return static_cast<int>(종료코드);
}

int wmain(int 개수, wchar_t** 인자) {
    DWORD 콘솔프로세스[1];
    if (GetConsoleProcessList(콘솔프로세스, 1) == 0) return 콘솔에서다시();
    const int 횟수 = 개수 > 1 ? _wtoi(인자[1]) : 7;
    시험::대체cacls::설치();
    시험::작업폴더 뿌리{L"벤치"};
    const std::wstring 임시 = 뿌리 / L"Temp";
    const std::wstring 프로그램파일 = 뿌리 / L"Program Files (x86)";
    const std::wstring 대상 = 프로그램파일 + L"\\Quindle";
    for (const auto& 폴더 : {임시, 프로그램파일, 대상}) 시험::폴더만들기(폴더);
    시험::환경변수바꾸기 TEMP(L"TEMP", 임시.c_str());
    // Run as administrator (Wine's every run is), the tool takes the
    // program-files folder from the system's value, as the Wine tests set it.
    시험::환경변수바꾸기 x86(L"ProgramFiles(x86)", 프로그램파일.c_str());
    시험::시스템값바꾸기 x86시스템(L"ProgramFilesDir (x86)", 프로그램파일.c_str());
    시험::대체cacls cacls(뿌리 / L"cacls");
    cacls.설명자정하기(대상, L"D:(A;OICI;FA;;;BU)");

    const std::wstring 빈창경로 = 시험::프로그램폴더() + L"\\empty_window.exe";
    const std::wstring 글창경로 = 시험::프로그램폴더() + L"\\text_window.exe";
    std::vector<double> 시작, 빈창, 글창;
    for (int 번 = 0; 번 < 횟수; ++번) {
        빈창.push_back(재기("empty window start-up",
                            [&] { return 시험::창프로그램(빈창경로).시작됨(); }));
        글창.push_back(재기("text window start-up",
                            [&] { return 시험::창프로그램(글창경로).시작됨(); }));
        시작.push_back(재기("the tool's start-up", [&] { return 시험::창프로그램().시작됨(); }));
    }

    // The console floor of a command: the same batch lines, started by cmd
    // from this console program, as a person would run them, and waited for.
    Win32플랫폼 시스템(L"벤치");
    const auto 배치쓰기 = [&](const std::wstring& 이름, const std::wstring& 줄) {
        시스템.한줄쓰기(임시 + 이름, L"@" + 줄);
        return 임시 + 이름;
    };
    시스템.한줄쓰기(임시 + L"\\answer.txt", L"y");
    // Elevated, the fix holds an entry of the install folder while cacls
    // runs, and refuses an empty folder.
    시스템.한줄쓰기(대상 + L"\\data.ini", L"[bench]");
    const std::wstring 검사줄 = 보안방화벽::검사명령(대상, 임시 + L"\\out.txt");
    const std::wstring 부여줄 =
        보안방화벽::부여명령(대상, 임시 + L"\\answer.txt", 임시 + L"\\out2.txt");
    const auto 검사배치 = [&] { return 직접실행(배치쓰기(L"\\q.bat", 검사줄)); };
    const auto 부여배치 = [&] { return 직접실행(배치쓰기(L"\\g.bat", 부여줄)); };
    // The GUI floor runs the same files, written here before it is clicked.
    배치쓰기(L"\\q.bat", 검사줄);
    배치쓰기(L"\\g.bat", 부여줄);

    시험::창프로그램 프로그램;
    시험::창프로그램 GUI바닥(시험::프로그램폴더() + L"\\gui_floor.exe");
    if (!프로그램.시작됨() || !GUI바닥.시작됨()) return 1;
    // What a click costs before any cacls: the message box for a text that
    // names no product. The rest of a command's overhead is its own work.
    std::vector<double> 안내;
    if (!프로그램.입력하기(L"-")) return 1;
    for (int 번 = 0; 번 < 횟수; ++번)
        안내.push_back(재기("a click with no product picked", [&] {
            return 눌러서답받기(프로그램, 110, L"목록에서 프로그램을 선택하세요.");
        }));
    if (!프로그램.입력하기(L"Pelorant")) return 1;

    std::vector<double> 체크, 체크GUI, 체크콘솔, 설정, 설정GUI, 설정콘솔;
    for (int 번 = 0; 번 < 횟수; ++번) {
        체크콘솔.push_back(재기("query batch from the console", 검사배치));
        체크GUI.push_back(
            재기("GUI floor of the check", [&] { return 눌러서답받기(GUI바닥, 110, L"끝"); }));
        체크.push_back(재기("check click", [&] {
            return 눌러서답받기(프로그램, 110, L"보안설정이 잘되어 있습니다.");
        }));
        설정콘솔.push_back(재기("grant + query batches from the console",
                                [&] { return 부여배치() && 검사배치(); }));
        설정GUI.push_back(
            재기("GUI floor of the fix", [&] { return 눌러서답받기(GUI바닥, 111, L"끝"); }));
        설정.push_back(재기("fix click", [&] {
            return 눌러서답받기(프로그램, 111, L"보안설정이 잘되었습니다.");
        }));
    }

    // The command line a script runs: the console companion where it has
    // been built, else the program itself, which takes the same arguments.
    const std::wstring 앱폴더 = 시험::프로그램폴더() + L"\\..\\..\\app\\";
    const bool 콘솔짝있음 = 시험::파일있음(앱폴더 + L"boansetting.com");
    const std::wstring 명령프로그램 = 앱폴더 + (콘솔짝있음 ? L"boansetting.com" : L"boansetting.exe");
    const std::wstring 출력파일 = 임시 + L"\\lines.txt";
    const std::wstring 빈콘솔 = 시험::프로그램폴더() + L"\\console_floor.exe";
    // What every logon pays once the package's Run entry is on: the window
    // program given /move, for a user with nothing to move.
    const std::wstring 창프로그램 = 앱폴더 + L"boansetting.exe";
    std::vector<double> 명령체크, 명령체크바닥, 명령도움말, 빈콘솔시작, 로그온옮김;
    for (int 번 = 0; 번 < 횟수; ++번) {
        명령체크바닥.push_back(재기("query batch from the console", 검사배치));
        명령체크.push_back(재기("/check Pelorant from the console", [&] {
            return 명령줄실행(명령프로그램, L"/check Pelorant", 출력파일, true, "Pelorant\t", "\tok");
        }));
        // The same program's start and end alone, with no cacls run.
        명령도움말.push_back(재기("/? from the console",
                                  [&] { return 명령줄실행(명령프로그램, L"/?", 출력파일); }));
        빈콘솔시작.push_back(재기("a console program that does nothing",
                                  [&] { return 명령줄실행(빈콘솔, L"", 출력파일); }));
        로그온옮김.push_back(재기("/move with nothing to move",
                                  [&] { return 명령줄실행(창프로그램, L"/move", 출력파일); }));
    }

    std::printf("| measure | tool, ms | baseline | baseline, ms | ratio |\n");
    std::printf("|---|---:|---|---:|---:|\n");
    행("start-up: launch until the window shows", "window with one line of Korean text", 시작, 글창);
    행("start-up: launch until the window shows", "empty Win32 window", 시작, 빈창);
    행("check: click until the message box", "GUI program: query batch hidden, message box", 체크,
       체크GUI);
    행("check: click until the message box", "query batch file run from a console", 체크, 체크콘솔);
    행("fix: click until the message box", "GUI program: grant + query batches hidden, message box",
       설정, 설정GUI);
    행("fix: click until the message box", "grant + query batch files run from a console", 설정,
       설정콘솔);
    행(콘솔짝있음 ? "`boansetting.com /check Pelorant` until it exits"
               : "`boansetting.exe /check Pelorant` until it exits",
       "query batch file run from a console", 명령체크, 명령체크바닥);
    행("the same program's `/?` until it exits (start and end, no cacls)",
       "console program that does nothing, built the same way", 명령도움말, 빈콘솔시작);
    행("`boansetting.exe /move` with nothing to move (the logon entry) until it exits",
       콘솔짝있음 ? "`boansetting.com /?` until it exits" : "`boansetting.exe /?` until it exits",
       로그온옮김, 명령도움말);
    std::printf("| a click that shows a message at once (no product picked) | %.0f | | | |\n",
                중앙값(안내));
    std::printf("\nmedians of %d runs each\n", 횟수);
    std::fflush(stdout);
    return 0;
}
