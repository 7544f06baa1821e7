// Measures, under Wine, what a user feels: how long the window takes to come
// up and how long a click on "1. 보안체크" or "2. 보안설정" takes to answer,
// each against a baseline measured the same way in the same run:
//   start-up  against a minimal Win32 program that shows an empty window;
//   check     against running the same batch file directly and waiting;
//   fix       against running the grant's and the query's batch files so.
// Prints one Markdown table row per measure with medians over N runs.
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

// Milliseconds of one run of `일`, which returns false when it failed.
double 재기(const std::function<bool()>& 일) {
    const double 시작 = 지금ms();
    if (!일()) {
        std::fprintf(stderr, "a measured run failed\n");
        std::exit(1);
    }
    return 지금ms() - 시작;
}

void 행(const char* 무엇, const char* 기준, const std::vector<double>& 도구,
        const std::vector<double>& 바닥) {
    const double 도구ms = 중앙값(도구), 바닥ms = 중앙값(바닥);
    std::printf("| %s | %.0f | %s | %.0f | %.2f |\n", 무엇, 도구ms, 기준, 바닥ms, 도구ms / 바닥ms);
}

bool 직접실행(const std::wstring& 배치) {
    std::wstring 명령줄 = L"\"" + 배치 + L"\"";
    STARTUPINFOW 시작정보{};
    시작정보.cb = sizeof 시작정보;
    PROCESS_INFORMATION 정보{};
    if (!CreateProcessW(nullptr, 명령줄.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &시작정보, &정보))
        return false;
    const win32::OwnedProcess 프로세스{win32::UniqueHandle(정보.hProcess),
                                      win32::UniqueHandle(정보.hThread)};
    return WaitForSingleObject(정보.hProcess, 60000) == WAIT_OBJECT_0;
}

bool 눌러서답받기(const 시험::창프로그램& 프로그램, int 아이디, const wchar_t* 기대) {
    프로그램.누르기(아이디);
    const auto 상자 = 프로그램.메시지상자기다리기(30000);
    if (!상자 || 상자->본문 != 기대) return false;
    return 프로그램.메시지상자닫기(*상자);
}

}  // namespace

int wmain(int 개수, wchar_t** 인자) {
    const int 횟수 = 개수 > 1 ? _wtoi(인자[1]) : 7;
    시험::대체cacls::설치();
    시험::작업폴더 뿌리{L"벤치"};
    const std::wstring 임시 = 뿌리 / L"Temp";
    const std::wstring 프로그램파일 = 뿌리 / L"Program Files (x86)";
    const std::wstring 대상 = 프로그램파일 + L"\\Quindle";
    for (const auto& 폴더 : {임시, 프로그램파일, 대상}) 시험::폴더만들기(폴더);
    시험::환경변수바꾸기 TEMP(L"TEMP", 임시.c_str());
    시험::환경변수바꾸기 x86(L"ProgramFiles(x86)", 프로그램파일.c_str());
    시험::대체cacls cacls(뿌리 / L"cacls");
    cacls.설명자정하기(대상, L"D:(A;OICI;FA;;;BU)");

    const std::wstring 기준창 = 시험::프로그램폴더() + L"\\empty_window.exe";
    std::vector<double> 시작, 빈창, 체크, 체크바닥, 설정, 설정바닥, 안내;
    for (int 번 = 0; 번 < 횟수; ++번) {
        빈창.push_back(재기([&] { return 시험::창프로그램(기준창).시작됨(); }));
        시작.push_back(재기([&] { return 시험::창프로그램().시작됨(); }));
    }

    // The floor of a command: the same batch lines, started by cmd from
    // this console program, as a person would run them, and waited for.
    Win32플랫폼 시스템(L"벤치");
    const auto 배치돌리기 = [&](const std::wstring& 이름, const std::wstring& 줄) {
        const std::wstring 배치 = 임시 + 이름;
        시스템.한줄쓰기(배치, L"@" + 줄);
        return 직접실행(배치);
    };
    시스템.한줄쓰기(임시 + L"\\answer.txt", L"y");
    const std::wstring 검사줄 = 보안방화벽::검사명령(대상, 임시 + L"\\out.txt");
    const std::wstring 부여줄 =
        보안방화벽::부여명령(대상, 임시 + L"\\answer.txt", 임시 + L"\\out2.txt");

    시험::창프로그램 프로그램;
    if (!프로그램.시작됨()) return 1;
    // What a click costs before any cacls: the message box for a text that
    // names no product. The rest of a command's overhead is its own work.
    if (!프로그램.입력하기(L"-")) return 1;
    for (int 번 = 0; 번 < 횟수; ++번)
        안내.push_back(재기([&] { return 눌러서답받기(프로그램, 110, L"목록에서 프로그램을 선택하세요."); }));
    if (!프로그램.입력하기(L"Pelorant")) return 1;

    for (int 번 = 0; 번 < 횟수; ++번) {
        체크바닥.push_back(재기([&] { return 배치돌리기(L"\\q.bat", 검사줄); }));
        체크.push_back(재기([&] {
            return 눌러서답받기(프로그램, 110, L"보안설정이 잘되어 있습니다.");
        }));
        설정바닥.push_back(재기([&] {
            return 배치돌리기(L"\\g.bat", 부여줄) && 배치돌리기(L"\\q.bat", 검사줄);
        }));
        설정.push_back(재기([&] { return 눌러서답받기(프로그램, 111, L"보안설정이 잘되었습니다."); }));
    }

    std::printf("| measure | tool, ms | baseline | baseline, ms | ratio |\n");
    std::printf("|---|---:|---|---:|---:|\n");
    행("start-up: launch until the window shows", "empty Win32 window", 시작, 빈창);
    행("check: click until the message box", "query batch file run directly", 체크, 체크바닥);
    행("fix: click until the message box", "grant + query batch files run directly", 설정,
       설정바닥);
    std::printf("| a click that shows a message at once (no product picked) | %.0f | | | |\n",
                중앙값(안내));
    std::printf("\nmedians of %d runs each\n", 횟수);
    std::fflush(stdout);
    return 0;
}
