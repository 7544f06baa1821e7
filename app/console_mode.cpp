// The command line's Win32 side: arguments in, lines out to the standard
// handles. The rules are in command_line.cpp.
#include "app/console_mode.h"

#include <windows.h>

#include "app/command_line.h"
#include "platform/win32_codepage.h"
#include "platform/win32_platform.h"

// SetDefaultDllDirectories is looked up at run time, since a Windows 7
// without update KB2533623 lacks it and would not start a program that
// imports it; there, at least the current directory leaves the search.
void DLL검색제한() {
    using 검색설정 = BOOL(WINAPI*)(DWORD);
    const auto 주소 =
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    const auto 설정 = reinterpret_cast<검색설정>(reinterpret_cast<void*>(주소));
    if (!설정 || !설정(LOAD_LIBRARY_SEARCH_SYSTEM32)) ::SetDllDirectoryW(L"");
}

namespace {

// The bytes of `글` in `코드페이지`. Where a character has no place in it, the
// code page's default character stands, never a look-alike (a ₩ in a path
// would otherwise print as a backslash).
std::string 바이트로(const std::wstring& 글, UINT 코드페이지) {
    return win32::코드페이지로(글, 코드페이지, 코드페이지 == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS);
}

// A console shows the text as it is. Anything else (a file, a pipe to
// PowerShell or a deployment agent) gets the console's output code page,
// which is what cmd's `type` and PowerShell decode by default and what
// Windows' own console tools write; with no console at all, the OEM code
// page, that same default. A `chcp 65001` at the prompt thus gives UTF-8.
void 줄쓰기(DWORD 표준핸들, const std::wstring& 줄) {
    const HANDLE 핸들 = ::GetStdHandle(표준핸들);
    if (핸들 == nullptr || 핸들 == INVALID_HANDLE_VALUE) return;  // no one reads it
    const std::wstring 글 = 줄 + L"\r\n";
    DWORD 모드 = 0, 쓴것 = 0;
    if (::GetConsoleMode(핸들, &모드)) {
        ::WriteConsoleW(핸들, 글.data(), static_cast<DWORD>(글.size()), &쓴것, nullptr);
        return;
    }
    UINT 코드페이지 = ::GetConsoleOutputCP();
    if (코드페이지 == 0) 코드페이지 = ::GetOEMCP();
    const std::string 바이트 = 바이트로(글, 코드페이지);
    for (size_t 위치 = 0; 위치 < 바이트.size(); 위치 += 쓴것) {
        if (!::WriteFile(핸들, 바이트.data() + 위치, static_cast<DWORD>(바이트.size() - 위치), &쓴것,
                         nullptr) ||
            쓴것 == 0)
            return;  // the reader has gone; the exit code still tells
    }
}

class 표준핸들 final : public 명령줄::출력대상 {
public:
    void 표준출력(const std::wstring& 줄) override { 줄쓰기(STD_OUTPUT_HANDLE, 줄); }
    void 오류출력(const std::wstring& 줄) override { 줄쓰기(STD_ERROR_HANDLE, 줄); }
};

}  // namespace

std::vector<std::wstring> 프로그램인자() { return 명령줄::인자나누기(::GetCommandLineW()); }

int 명령줄모드(const std::vector<std::wstring>& 인자들) {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    표준핸들 출력;
    // 명령줄::실행 accounts for its own failures; this is for the start-up
    // around it, which must not abort with exit code 3 either.
    try {
        Win32플랫폼 시스템(L"보안설정");
        시스템.관리자면시스템환경으로();  // before anything reads the environment
        시스템.관리자면링크보호();
        return 명령줄::실행(시스템, 인자들, 출력);
    } catch (...) {
        출력.표준출력(std::wstring(L"error: ") + 명령줄::예상못한오류);
        return 명령줄::시스템실패;
    }
}
