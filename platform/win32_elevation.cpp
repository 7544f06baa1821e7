// Win32 platform: the running program's own file: held from the start,
// started again elevated, and whether the user could change what that
// elevated start runs.
#include "platform/win32_internal.h"

#include <aclapi.h>
#include <sddl.h>
#include <shellapi.h>

#include <vector>

using namespace win32;

namespace {

// The running program's own file, as the system names it; empty when the
// system does not say.
std::wstring 자기파일() {
    std::wstring 경로(MAX_PATH, L'\0');
    for (;;) {
        const DWORD 길이 =
            ::GetModuleFileNameW(nullptr, 경로.data(), static_cast<DWORD>(경로.size()));
        if (길이 == 0) return {};
        if (길이 < 경로.size()) {
            경로.resize(길이);
            return 경로;
        }
        경로.resize(경로.size() * 2);  // cut short: try again with room
    }
}

}  // namespace

void Win32플랫폼::자기파일잡기() noexcept {
    try {
        잡은자기파일();
    } catch (...) {
        // Tried again, and said, when the shield is pressed: its one use.
    }
}

// Shared for reading only, the file can be neither written, deleted nor
// renamed while the process lives, so the final path taken through the hold
// names this very file until the elevated run has started. A link or a
// folder renamed since the start leads nowhere else.
const std::wstring& Win32플랫폼::잡은자기파일() {
    if (자기파일_) return 자기파일경로_;
    const std::wstring 모듈 = 자기파일();
    if (모듈.empty()) 마지막오류던지기(L"boansetting.exe");
    UniqueHandle 파일 = OwnHandle(::CreateFileW(모듈.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!파일) 마지막오류던지기(모듈);
    자기파일경로_ = 최종경로(파일.get(), 모듈);
    자기파일_ = std::move(파일);
    return 자기파일경로_;
}

관리자실행결과 Win32플랫폼::관리자로실행(const std::wstring& 인자) try {
    const std::wstring 프로그램 = 잡은자기파일();
    const std::wstring 폴더 = 시스템폴더();
    SHELLEXECUTEINFOW 실행{};
    실행.cbSize = sizeof 실행;
    // NOASYNC: the wait below is the only one; FLAG_NO_UI: a failure is the
    // caller's to tell, in the window's own words.
    실행.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    실행.hwnd = 소유창_;  // the prompt belongs to the window and comes to the front
    실행.lpVerb = L"runas";
    실행.lpFile = 프로그램.c_str();
    실행.lpParameters = 인자.c_str();
    // As for cmd: nothing in the folder the user started from is looked at.
    실행.lpDirectory = 폴더.empty() ? nullptr : 폴더.c_str();
    실행.nShow = SW_HIDE;
    if (!::ShellExecuteExW(&실행)) {
        const DWORD 오류 = ::GetLastError();
        if (오류 == ERROR_CANCELLED) return {true, 0};
        오류던지기(프로그램, 오류);
    }
    const UniqueHandle 프로세스(실행.hProcess);
    if (!프로세스) 오류던지기(프로그램, ERROR_INVALID_HANDLE);
    신호까지기다리기(프로세스.get());
    DWORD 종료코드 = 0;
    if (!::GetExitCodeProcess(프로세스.get(), &종료코드)) 마지막오류던지기(프로그램);
    return {false, 종료코드};
} catch (const 파일오류& 오류) {
    작업으로던지기(오류, 파일작업::프로그램시작);
}

namespace {

// What lets a user change what the elevated run starts: for the file, its
// bytes, its name, its access list or owner; for its folder besides, a new
// file beside it (a DLL Windows may load first) or folder, or deleting it;
// for every folder above, its name (with another put in its place) and its
// list or owner. Adding a folder is not counted above the program's own
// folder: every user may add one at the root of a drive.
constexpr DWORD 파일바꿀권한 = FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE | WRITE_DAC | WRITE_OWNER;
constexpr DWORD 위폴더바꿀권한 = FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER;
constexpr DWORD 자기폴더바꿀권한 = 위폴더바꿀권한 | FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY;

// Administrators, SYSTEM, or the installer service (NT SERVICE\TrustedInstaller),
// which owns what Windows installs.
bool 믿는소유자(PSID 소유자) {
    if (::IsWellKnownSid(소유자, WinBuiltinAdministratorsSid) ||
        ::IsWellKnownSid(소유자, WinLocalSystemSid))
        return true;
    PSID 설치서비스 = nullptr;
    if (!::ConvertStringSidToSidW(
            L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", &설치서비스))
        return false;
    const UniqueLocalMemory 소유(설치서비스);
    return ::EqualSid(소유자, 설치서비스) != FALSE;
}

// This process's token as AccessCheck takes it: an identification token.
UniqueHandle 확인할토큰(const std::wstring& 경로) {
    HANDLE 토큰 = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, &토큰))
        마지막오류던지기(경로);
    const UniqueHandle 프로세스토큰(토큰);
    HANDLE 복제 = nullptr;
    if (!::DuplicateToken(프로세스토큰.get(), SecurityIdentification, &복제)) 마지막오류던지기(경로);
    return UniqueHandle(복제);
}

// True when the token may do any of `권한` to `경로`, or someone other than
// the trusted owners owns it (an owner may always rewrite the list).
bool 바꿀수있음(HANDLE 토큰, const std::wstring& 경로, DWORD 권한) {
    PSID 소유자 = nullptr;
    PSECURITY_DESCRIPTOR 설명자 = nullptr;
    const DWORD 오류 = ::GetNamedSecurityInfoW(
        경로.c_str(), SE_FILE_OBJECT,
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
        &소유자, nullptr, nullptr, nullptr, &설명자);
    if (오류 != ERROR_SUCCESS) 오류던지기(경로, 오류);
    const UniqueLocalMemory 소유(설명자);
    if (!소유자 || !믿는소유자(소유자)) return true;
    GENERIC_MAPPING 대응{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    PRIVILEGE_SET 특권{};
    DWORD 특권크기 = sizeof 특권, 허용 = 0;
    BOOL 됨 = FALSE;
    if (!::AccessCheck(설명자, 토큰, MAXIMUM_ALLOWED, &대응, &특권, &특권크기, &허용, &됨))
        마지막오류던지기(경로);
    return 됨 && (허용 & 권한) != 0;
}

// The folders above `파일`, nearest first, down to the root of its drive
// ("C:\") or share ("\\server\share\"), which keeps its separator.
std::vector<std::wstring> 위폴더들(const std::wstring& 파일) {
    size_t 뿌리 = 3;
    if (파일.rfind(L"\\\\", 0) == 0) {
        const size_t 서버끝 = 파일.find(L'\\', 2);
        const size_t 공유끝 = 서버끝 == std::wstring::npos ? 서버끝 : 파일.find(L'\\', 서버끝 + 1);
        뿌리 = 공유끝 == std::wstring::npos ? 파일.size() : 공유끝 + 1;
    }
    std::vector<std::wstring> 폴더들;
    for (size_t 끝 = 파일.rfind(L'\\'); 끝 != std::wstring::npos && 끝 + 1 >= 뿌리;
         끝 = 끝 == 0 ? std::wstring::npos : 파일.rfind(L'\\', 끝 - 1)) {
        if (끝 + 1 == 뿌리) {
            폴더들.push_back(파일.substr(0, 뿌리));
            break;
        }
        폴더들.push_back(파일.substr(0, 끝));
    }
    return 폴더들;
}

}  // namespace

std::wstring Win32플랫폼::바꿀수있는자기경로() try {
    const std::wstring 파일 = 잡은자기파일();
#ifdef BOANSETTING_AS_ORDINARY_USER
    // The test-only build runs from the build folder, which Wine lets its
    // user change as it does every file of theirs: its tests of the shield
    // would otherwise only ever see the refusal, which the fake shows.
    constexpr bool 확인함 = false;
#else
    constexpr bool 확인함 = true;
#endif
    if (!확인함) return {};
    const UniqueHandle 토큰 = 확인할토큰(파일);
    if (바꿀수있음(토큰.get(), 파일, 파일바꿀권한)) return 파일;
    const std::vector<std::wstring> 폴더들 = 위폴더들(파일);
    for (size_t 번호 = 0; 번호 < 폴더들.size(); ++번호)
        if (바꿀수있음(토큰.get(), 폴더들[번호], 번호 == 0 ? 자기폴더바꿀권한 : 위폴더바꿀권한))
            return 폴더들[번호];
    return {};
} catch (const 파일오류& 오류) {
    작업으로던지기(오류, 파일작업::프로그램시작);
}
