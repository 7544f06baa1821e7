// Win32 platform: who runs the tool and where its private files live: the
// user's profile and environment (and the system's, put in its place when
// elevated), the local time, the code pages, the administrators-only
// temporary folder and the lock that keeps two instances apart.
#define _CRT_RAND_S  // rand_s: the system's cryptographic generator
#include <stdlib.h>

#include "platform/win32_internal.h"

#include <sddl.h>
#include <userenv.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "platform/win32_codepage.h"

using namespace win32;

std::wstring Win32플랫폼::시스템폴더() const {
    wchar_t 경로[MAX_PATH] = {};
    const UINT 길이 = ::GetSystemDirectoryW(경로, MAX_PATH);
    return 길이 > 0 && 길이 < MAX_PATH ? std::wstring(경로, 길이) : std::wstring();
}

namespace {

// A string value under HKEY_LOCAL_MACHINE in the 64-bit view, as stored:
// empty when it is missing or not of the type `종류`.
std::wstring 시스템레지스트리값(const wchar_t* 열쇠경로, const wchar_t* 이름, DWORD 종류) {
    HKEY 열쇠 = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, 열쇠경로, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &열쇠) !=
        ERROR_SUCCESS)
        return {};
    const UniqueRegKey 열쇠소유(열쇠);
    DWORD 읽은종류 = 0, 크기 = 0;
    if (::RegQueryValueExW(열쇠, 이름, nullptr, &읽은종류, nullptr, &크기) != ERROR_SUCCESS ||
        읽은종류 != 종류 || 크기 < sizeof(wchar_t))
        return {};
    std::wstring 값(크기 / sizeof(wchar_t), L'\0');
    if (::RegQueryValueExW(열쇠, 이름, nullptr, &읽은종류, reinterpret_cast<BYTE*>(값.data()),
                           &크기) != ERROR_SUCCESS ||
        읽은종류 != 종류)
        return {};
    값.resize(std::min<size_t>(std::wcslen(값.c_str()), 크기 / sizeof(wchar_t)));
    return 값;
}

// `값` with %SystemDrive% and %SystemRoot% (case aside) replaced by the
// system's; empty when it names any other variable, which the user's
// environment would answer.
std::wstring 시스템값으로펼치기(const std::wstring& 값, const std::wstring& 드라이브,
                                const std::wstring& 윈도우) {
    std::wstring 결과;
    for (size_t 위치 = 0; 위치 < 값.size();) {
        const size_t 시작 = 값.find(L'%', 위치);
        if (시작 == std::wstring::npos) return 결과 + 값.substr(위치);
        const size_t 끝 = 값.find(L'%', 시작 + 1);
        if (끝 == std::wstring::npos) return {};
        const std::wstring 이름 = 값.substr(시작 + 1, 끝 - 시작 - 1);
        결과 += 값.substr(위치, 시작 - 위치);
        if (같은이름(이름, L"SystemDrive"))
            결과 += 드라이브;
        else if (같은이름(이름, L"SystemRoot"))
            결과 += 윈도우;
        else
            return {};
        위치 = 끝 + 1;
    }
    return 결과;
}

// The program-data folder as the system's profile list records it, expanded
// with the system's values only; empty when the list does not say.
std::wstring 프로그램데이터폴더(const std::wstring& 드라이브, const std::wstring& 윈도우) {
    constexpr wchar_t 목록[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
    std::wstring 값 = 시스템레지스트리값(목록, L"ProgramData", REG_EXPAND_SZ);
    if (값.empty()) 값 = 시스템레지스트리값(목록, L"ProgramData", REG_SZ);
    return 시스템값으로펼치기(값, 드라이브, 윈도우);
}

}  // namespace

std::wstring Win32플랫폼::시스템프로그램폴더(bool x86용) const {
    return 시스템레지스트리값(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                             x86용 ? L"ProgramFilesDir (x86)" : L"ProgramFilesDir", REG_SZ);
}

// SystemDrive is the Windows folder's drive, as Windows itself sets it;
// ProgramData comes from the profile list, as Windows' own comes.
void Win32플랫폼::관리자면시스템환경으로() {
    if (!관리자권한()) return;
    std::wstring 윈도우;
    try {
        윈도우 = 윈도우폴더();
    } catch (const 파일오류&) {
        // Then no value below comes from the system: all are removed.
    }
    const bool 드라이브있음 = 윈도우.size() >= 3 && 윈도우[1] == L':';
    const std::wstring 드라이브 = 드라이브있음 ? 윈도우.substr(0, 2) : std::wstring();
    const std::wstring 시스템 = 시스템폴더();
    const std::wstring 프로그램데이터 = 드라이브있음 ? 프로그램데이터폴더(드라이브, 윈도우) : std::wstring();
    const std::pair<const wchar_t*, std::wstring> 값들[] = {
        {L"SystemRoot", 윈도우},
        {L"windir", 윈도우},
        {L"SystemDrive", 드라이브},
        {L"ComSpec", 시스템.empty() ? 시스템 : 시스템 + L"\\cmd.exe"},
        {L"ProgramData", 프로그램데이터},
        {L"ALLUSERSPROFILE", 프로그램데이터},  // the same folder, by its older name
    };
    for (const auto& [이름, 값] : 값들) ::SetEnvironmentVariableW(이름, 값.empty() ? nullptr : 값.c_str());
    // COM expands the paths of servers registered under %ProgramFiles% or
    // %CommonProgramFiles% with this process's environment. This process's
    // own registry view gives what Windows sets for it (a 32-bit one reads
    // the x86 folders under the plain names).
    const std::pair<const wchar_t*, const wchar_t*> 프로그램폴더들[] = {
        {L"ProgramFiles", L"ProgramFilesDir"},
        {L"ProgramFiles(x86)", L"ProgramFilesDir (x86)"},
        {L"ProgramW6432", L"ProgramW6432Dir"},
        {L"CommonProgramFiles", L"CommonFilesDir"},
        {L"CommonProgramFiles(x86)", L"CommonFilesDir (x86)"},
        {L"CommonProgramW6432", L"CommonW6432Dir"},
    };
    for (const auto& [이름, 값이름] : 프로그램폴더들) {
        const std::wstring 값 =
            시스템레지스트리값(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 값이름, REG_SZ);
        ::SetEnvironmentVariableW(이름, 값.empty() ? nullptr : 값.c_str());
    }
}

날짜시각 Win32플랫폼::지금() const {
    SYSTEMTIME 때{};
    ::GetLocalTime(&때);
    return {때.wYear, 때.wMonth, 때.wDay, 때.wHour, 때.wMinute, 때.wSecond};
}

namespace {

// An A function's default character or best-fit look-alike would change
// what the path names; only an exact round trip is the same path.
bool 그대로오감(const std::wstring& 글, UINT 코드페이지) {
    if (글.empty()) return true;
    BOOL 기본글자씀 = FALSE;
    // UTF-8 has no default character, and refuses the flag that asks for it.
    const bool utf8 = 코드페이지 == CP_UTF8;
    const std::string 바이트 =
        win32::코드페이지로(글, 코드페이지, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS,
                            utf8 ? nullptr : &기본글자씀);
    return !바이트.empty() && !기본글자씀 && win32::코드페이지에서(바이트, 코드페이지) == 글;
}

}  // namespace

bool Win32플랫폼::코드페이지로그대로(const std::wstring& 글) const {
    // Batch files are written in the ANSI code page; cmd reads them in the
    // console's, which is the OEM one.
    return 그대로오감(글, ::GetACP()) && 그대로오감(글, ::GetOEMCP());
}

// 128 bits from the system's cryptographic generator, as hexadecimal.
std::wstring win32::맞힐수없는이름() {
    wchar_t 이름[33] = {};
    for (int 조각 = 0; 조각 < 4; ++조각) {
        unsigned int 값 = 0;
        if (rand_s(&값) != 0) 오류던지기(L"rand_s", ERROR_GEN_FAILURE);
        std::swprintf(이름 + 조각 * 8, 9, L"%08x", 값);
    }
    return 이름;
}

namespace {

// Removes a folder of the tool's own with the files in it. Best effort: it
// runs after the call's result is known, and a folder that only
// administrators can reach harms no one if it stays.
class 폴더지움 final : public 보유 {
public:
    explicit 폴더지움(std::wstring 경로) : 경로_(std::move(경로)) {}
    ~폴더지움() override {
        WIN32_FIND_DATAW 항목{};
        auto 찾기 = OwnFindHandle(::FindFirstFileW((경로_ + L"\\*").c_str(), &항목));
        if (찾기) {
            do {
                if (!(항목.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    지우기(경로_ + L"\\" + 항목.cFileName);
            } while (::FindNextFileW(찾기.get(), &항목));
        }
        찾기.reset();
        ::RemoveDirectoryW(경로_.c_str());
    }

private:
    std::wstring 경로_;
};

}  // namespace

개인폴더 Win32플랫폼::개인임시폴더만들기() try {
    const std::wstring 경로 = 윈도우폴더() + L"\\Temp\\BoanSetting-" + 맞힐수없는이름();
    // Protected, not inheriting: only Administrators and SYSTEM, whatever the
    // Temp folder above lets its creators do.
    if (const DWORD 오류 = 설명자로폴더만들기(경로, L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)"))
        오류던지기(경로, 오류);
    return {경로, std::make_unique<폴더지움>(경로)};
} catch (const 파일오류& 오류) {
    작업으로던지기(오류, 파일작업::폴더만들기);
}

std::wstring Win32플랫폼::사용자프로필폴더() const {
    // userenv is not among the DLLs Windows always takes from the system
    // folder: imported, it would be looked for beside the program first.
    // Loaded by its full path, only the system's own can answer.
    const std::wstring 시스템 = 시스템폴더();
    if (시스템.empty()) return {};
    const win32::UniqueModule userenv(
        ::LoadLibraryExW((시스템 + L"\\userenv.dll").c_str(), nullptr, 0));
    if (!userenv) return {};
    using 프로필물음 = decltype(&::GetUserProfileDirectoryW);
    const auto 물음 = reinterpret_cast<프로필물음>(reinterpret_cast<void*>(
        ::GetProcAddress(userenv.get(), "GetUserProfileDirectoryW")));
    HANDLE 토큰 = nullptr;
    if (!물음 || !::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &토큰)) return {};
    const UniqueHandle 토큰소유(토큰);
    DWORD 크기 = 0;
    물음(토큰, nullptr, &크기);
    std::wstring 폴더(크기, L'\0');
    if (크기 == 0 || !물음(토큰, 폴더.data(), &크기)) return {};
    폴더.resize(std::min<size_t>(std::wcslen(폴더.c_str()), 폴더.size()));
    while (!폴더.empty() && 구분자로끝남(폴더)) 폴더.pop_back();
    return 폴더;
}

std::wstring Win32플랫폼::환경변수(const std::wstring& 이름) const {
    std::wstring 값(256, L'\0');
    for (;;) {
        const DWORD 길이 =
            ::GetEnvironmentVariableW(이름.c_str(), 값.data(), static_cast<DWORD>(값.size()));
        if (길이 == 0) return {};
        if (길이 < 값.size()) {
            값.resize(길이);
            return 값;
        }
        값.resize(길이);  // too small: 길이 is the size needed, with the NUL
    }
}

namespace {

// Ownership of a named mutex, released when the object goes.
class 뮤텍스소유 final : public 보유 {
public:
    explicit 뮤텍스소유(UniqueHandle 뮤텍스) : 뮤텍스_(std::move(뮤텍스)) {}
    ~뮤텍스소유() override { ::ReleaseMutex(뮤텍스_.get()); }

private:
    UniqueHandle 뮤텍스_;
};

// The process user's SID in text form.
std::wstring 사용자SID(const std::wstring& 대상) {
    HANDLE 토큰 = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &토큰)) 마지막오류던지기(대상);
    const UniqueHandle 토큰소유(토큰);
    DWORD 크기 = 0;
    ::GetTokenInformation(토큰, TokenUser, nullptr, 0, &크기);
    std::string 버퍼(크기, '\0');
    if (크기 == 0 || !::GetTokenInformation(토큰, TokenUser, 버퍼.data(), 크기, &크기))
        마지막오류던지기(대상);
    wchar_t* 글 = nullptr;
    if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(버퍼.data())->User.Sid, &글))
        마지막오류던지기(대상);
    const win32::UniqueLocalMemory 글소유(글);
    return 글;
}

}  // namespace

std::unique_ptr<보유> Win32플랫폼::임시파일독점(unsigned long 최대대기밀리초) try {
    // "Local\": instances of other users have temporary folders of their own.
    const std::wstring 이름 = L"Local\\Torvane.BoanSetting.TempFiles";
    // Made by an elevated instance, the mutex would otherwise be for
    // administrators only, at high integrity: a later ordinary instance of
    // the same user could not open it. So the user may wait on it and
    // release it, whichever instance makes it, at medium integrity.
    constexpr DWORD 쓸권한 = SYNCHRONIZE | MUTEX_MODIFY_STATE;
    const 보안설명자 설명자(L"D:P(A;;GA;;;SY)(A;;GA;;;BA)(A;;0x00100001;;;" + 사용자SID(이름) +
                               L")S:(ML;;NW;;;ME)",
                           이름);
    auto 설명자속성 = 설명자.속성;
    UniqueHandle 뮤텍스(::CreateMutexExW(&설명자속성, 이름.c_str(), 0, 쓸권한));
    if (!뮤텍스) 마지막오류던지기(이름);
    switch (신호까지기다리기(뮤텍스.get(), 최대대기밀리초)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED_0:  // its owner ended without releasing it: it is ours now
        return std::make_unique<뮤텍스소유>(std::move(뮤텍스));
    case WAIT_TIMEOUT: return nullptr;
    default: 마지막오류던지기(이름);
    }
} catch (const 파일오류& 오류) {
    작업으로던지기(오류, 파일작업::잠그기);
}
