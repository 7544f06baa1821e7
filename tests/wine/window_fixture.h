// The fixture of the tests that drive the real program through its window:
// fresh folders for the program's environment, the stand-in cacls, one
// instance of the program per test, and helpers that report failures at
// the caller's line.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "app/resources/resource_ids.h"
#include "tests/wine/window_driver.h"
#include "tests/wine/wine_support.h"

namespace 시험 {

inline constexpr wchar_t 사용자항목[] = L"D:(A;OICI;FA;;;BU)";
inline constexpr wchar_t 기본설명자[] = L"D:AI(A;OICIID;FA;;;BA)(A;OICIID;0x1200a9;;;BU)";

inline std::string utf8(const std::wstring& 글) { return 코드페이지로(글, CP_UTF8); }

// The stand-in's runs, one line each, blank lines left out.
inline std::vector<std::wstring> 실행기록(const 대체cacls& cacls) {
    std::vector<std::wstring> 줄들;
    const std::wstring 기록 = cacls.호출기록();
    for (size_t 시작 = 0; 시작 < 기록.size();) {
        const size_t 끝 = std::min(기록.find(L"\r\n", 시작), 기록.size());
        if (끝 > 시작) 줄들.push_back(기록.substr(시작, 끝 - 시작));
        시작 = 끝 + 2;
    }
    return 줄들;
}

inline std::wstring 소문자(std::wstring 글) {
    CharLowerBuffW(글.data(), static_cast<DWORD>(글.size()));
    return 글;
}

inline std::vector<std::wstring> 줄들(std::initializer_list<std::wstring> 목록) { return 목록; }

// Minutes after midnight shown by a clock such as "오후 3:27"; -1 for
// anything else.
inline int 시계분(const std::wstring& 글) {
    const bool 오후 = 글.rfind(L"오후 ", 0) == 0;
    if (!오후 && 글.rfind(L"오전 ", 0) != 0) return -1;
    const std::wstring 시각 = 글.substr(3);
    const size_t 쌍점 = 시각.find(L':');
    if (쌍점 < 1 || 쌍점 > 2 || 시각.size() != 쌍점 + 3) return -1;
    if (!std::all_of(시각.begin(), 시각.end(),
                     [](wchar_t 글자) { return 글자 == L':' || (글자 >= L'0' && 글자 <= L'9'); }))
        return -1;
    const int 시 = std::stoi(시각.substr(0, 쌍점)), 분 = std::stoi(시각.substr(쌍점 + 1));
    if (시 < 1 || 시 > 12 || 분 > 59) return -1;
    return (시 % 12 + (오후 ? 12 : 0)) * 60 + 분;
}

// The program opens a folder by starting Wine's explorer.exe; those it
// started end with the test that caused them.
class 탐색기정리 {
public:
    explicit 탐색기정리(DWORD 부모) : 부모_(부모) {}
    ~탐색기정리() {
        for (DWORD 번호 : 실행중인(L"explorer.exe", 부모_)) {
            const win32::UniqueHandle 프로세스(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, 번호));
            if (!프로세스) continue;
            TerminateProcess(프로세스.get(), 0);
            WaitForSingleObject(프로세스.get(), 5000);
        }
    }
    탐색기정리(const 탐색기정리&) = delete;
    탐색기정리& operator=(const 탐색기정리&) = delete;

private:
    DWORD 부모_;
};

class 창종단 : public ::testing::Test {
protected:
    static void SetUpTestSuite() { 대체cacls::설치(); }

    void SetUp() override {
        ASSERT_TRUE(파일있음(실행파일())) << "the program was not built";
        폴더만들기(임시);
        폴더만들기(프로그램파일);
        프로그램.emplace(실행파일());
        ASSERT_TRUE(프로그램->시작됨()) << utf8(프로그램->시작오류());
    }

    // The program driven; a fixture may choose a test-only build of it.
    virtual std::wstring 실행파일() const { return 창프로그램::기본경로(); }

    void TearDown() override {
        if (프로그램) {
            EXPECT_TRUE(프로그램->닫기()) << "the program did not end on WM_CLOSE";
        }
    }

    // Presses a button (none for 0) and answers the message box that comes,
    // whose title must be the program's; failures are reported at the
    // caller's line.
    메시지상자 답받기_(int 아이디, const char* 파일, int 줄) {
        const testing::ScopedTrace 추적(파일, 줄, 아이디 ? "pressed " + std::to_string(아이디) : "");
        if (아이디) 프로그램->누르기(아이디);
        const auto 상자 = 프로그램->메시지상자기다리기();
        if (!상자) {
            ADD_FAILURE() << "no message box within the limit";
            return {};
        }
        EXPECT_EQ(상자->제목, L"보안설정");
        EXPECT_TRUE(프로그램->메시지상자닫기(*상자)) << "the box did not close on OK";
        return *상자;
    }

    // The caption once it has become `기대`, or as it is after the limit.
    std::wstring 글이되면(int 아이디, const std::wstring& 기대) const {
        std::wstring 글;
        될때까지(2000, [&] { return (글 = 프로그램->컨트롤글(아이디)) == 기대; });
        return 글;
    }

    // The install folder, with a file in it as an installed product has:
    // an elevated grant refuses an empty one.
    void 설치하기() const {
        폴더만들기(대상);
        바이트쓰기(대상 + L"\\Quindle.exe", "MZ");
    }

    작업폴더 뿌리{L"창 시험"};
    const std::wstring 임시 = 뿌리 / L"Temp";
    const std::wstring 프로그램파일 = 뿌리 / L"Program Files (x86)";
    const std::wstring 가상저장소 = 뿌리 / L"VirtualStore\\Program Files (x86)";
    const std::wstring 대상 = 프로그램파일 + L"\\Quindle";
    환경변수바꾸기 TEMP바꾸기{L"TEMP", 임시.c_str()};
    환경변수바꾸기 TMP바꾸기{L"TMP", 임시.c_str()};
    환경변수바꾸기 로컬앱데이터바꾸기{L"LOCALAPPDATA", 뿌리.경로().c_str()};
    환경변수바꾸기 프로그램파일바꾸기{L"ProgramFiles(x86)", 프로그램파일.c_str()};
    시스템값바꾸기 프로그램파일값바꾸기{L"ProgramFilesDir (x86)", 프로그램파일.c_str()};
    대체cacls cacls{뿌리 / L"cacls 상태"};
    std::optional<창프로그램> 프로그램;
};

}  // namespace 시험

// Presses a button and returns its message box; failures at this line.
#define 답받기(아이디) 답받기_(아이디, __FILE__, __LINE__)
#define 다음상자() 답받기_(0, __FILE__, __LINE__)
