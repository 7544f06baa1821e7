// Win32 platform: the processes the tool starts (cmd for the batch files,
// itself elevated), whether it runs elevated, and whether the user could
// change the file it elevates.
#include "platform/win32_internal.h"

#include <aclapi.h>
#include <sddl.h>
#include <shellapi.h>

#include <vector>

using namespace win32;

bool Win32플랫폼::관리자권한() const {
#ifdef BOANSETTING_AS_ORDINARY_USER
    // A test-only build: Wine calls every token elevated, and the tests of
    // the ordinary user's road need a program that does not.
    return false;
#else
    HANDLE 토큰 = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &토큰)) return false;
    const UniqueHandle 토큰소유(토큰);
    TOKEN_ELEVATION 상승{};
    DWORD 크기 = 0;
    return ::GetTokenInformation(토큰, TokenElevation, &상승, sizeof 상승, &크기) &&
           상승.TokenIsElevated != 0;
#endif
}

namespace {

// The whole environment cmd and cacls get: the system's own folders, and a
// PATH and PATHEXT that let a bare name start only a program of the system
// folder. Sorted by name, as an environment block must be.
std::wstring 도구환경(const std::wstring& 시스템폴더, const std::wstring& 윈도우) {
    const std::wstring 변수들[] = {
        L"ComSpec=" + 시스템폴더 + L"\\cmd.exe",
        L"PATH=" + 시스템폴더,
        L"PATHEXT=.COM;.EXE;.BAT;.CMD",
        L"SystemRoot=" + 윈도우,
        L"windir=" + 윈도우,
    };
    std::wstring 블록;
    for (const std::wstring& 변수 : 변수들) 블록 += 변수 + L'\0';
    return 블록 + L'\0';
}

// A console cmd can share: this process has one (the console twin does;
// the window program never) and it reads and writes the OEM code page. cmd
// reads the batch file, and cacls writes its redirected output, in the
// console's code page, which the tool counts on being the OEM one, as a
// new console's is: a console that a `chcp 65001` has changed is not lent.
bool 빌려줄콘솔있음() {
    DWORD 프로세스[1];
    if (::GetConsoleProcessList(프로세스, 1) == 0) return false;
    const UINT oem = ::GetOEMCP();
    return ::GetConsoleCP() == oem && ::GetConsoleOutputCP() == oem;
}

// The NUL device, open for reading and writing and inheritable: cmd's
// standard handles, so that whatever it echoes reaches no one. Failures
// throw 파일오류 naming `프로그램`, the program that then cannot start.
UniqueHandle 상속할NUL(const std::wstring& 프로그램) {
    SECURITY_ATTRIBUTES 상속{sizeof 상속, nullptr, TRUE};
    UniqueHandle 널 = OwnHandle(::CreateFileW(L"\\\\.\\NUL", GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, &상속,
                                             OPEN_EXISTING, 0, nullptr));
    if (!널) 마지막오류던지기(프로그램);
    return 널;
}

// An attribute list that lets a new process inherit the one handle named
// and no other, whatever else of ours is inheritable. Freed with the object;
// failures throw as 상속할NUL's do.
class 상속목록 {
public:
    상속목록(HANDLE 핸들, const std::wstring& 프로그램) : 핸들_(핸들) {
        SIZE_T 크기 = 0;
        ::InitializeProcThreadAttributeList(nullptr, 1, 0, &크기);
        공간_.resize(크기);
        목록_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(공간_.data());
        if (!::InitializeProcThreadAttributeList(목록_, 1, 0, &크기)) {
            목록_ = nullptr;
            마지막오류던지기(프로그램);
        }
        if (!::UpdateProcThreadAttribute(목록_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &핸들_,
                                         sizeof 핸들_, nullptr, nullptr)) {
            const DWORD 오류 = ::GetLastError();
            ::DeleteProcThreadAttributeList(목록_);
            목록_ = nullptr;
            오류던지기(프로그램, 오류);
        }
    }
    ~상속목록() {
        if (목록_) ::DeleteProcThreadAttributeList(목록_);
    }
    상속목록(const 상속목록&) = delete;
    상속목록& operator=(const 상속목록&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST get() const { return 목록_; }

private:
    HANDLE 핸들_;  // the list points at this member, which must outlive it
    std::vector<char> 공간_;
    LPPROC_THREAD_ATTRIBUTE_LIST 목록_ = nullptr;
};

// Starts cmd sharing this process's console, in a process group of its
// own (a Ctrl+C there stops the tool, as before, but not cacls halfway
// through a folder tree), with its standard handles on NUL, passed alone
// through a handle list, so that nothing cmd echoes reaches the tool's own
// output. False when the system refuses that start (Wine on a loaded
// machine once did, with an internal error): the caller starts cmd the
// plain way instead.
bool 콘솔빌려시작(const std::wstring& cmd, std::wstring& 명령줄, std::wstring& 환경,
                 const std::wstring& 시스템폴더, PROCESS_INFORMATION& 프로세스정보) {
    const UniqueHandle 널 = 상속할NUL(cmd);
    const 상속목록 상속(널.get(), cmd);
    STARTUPINFOEXW 시작정보{};
    시작정보.StartupInfo.cb = sizeof 시작정보;
    시작정보.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    시작정보.StartupInfo.wShowWindow = SW_HIDE;
    시작정보.StartupInfo.hStdInput = 널.get();
    시작정보.StartupInfo.hStdOutput = 널.get();
    시작정보.StartupInfo.hStdError = 널.get();
    시작정보.lpAttributeList = 상속.get();
    return ::CreateProcessW(cmd.c_str(), 명령줄.data(), nullptr, nullptr, TRUE,
                            NORMAL_PRIORITY_CLASS | CREATE_NEW_PROCESS_GROUP |
                                CREATE_UNICODE_ENVIRONMENT | EXTENDED_STARTUPINFO_PRESENT,
                            환경.data(), 시스템폴더.c_str(), &시작정보.StartupInfo,
                            &프로세스정보) != FALSE;
}

}  // namespace

void Win32플랫폼::배치실행(const std::wstring& 배치경로) try {
    const std::wstring 시스템폴더 = this->시스템폴더();
    const std::wstring cmd = 시스템폴더 + L"\\cmd.exe";
    if (시스템폴더.empty()) 오류던지기(cmd, ERROR_PATH_NOT_FOUND);
    // /c strips the first and the last quote of what follows it; the inner
    // pair keeps the batch path one argument, blanks, parentheses and all.
    std::wstring 명령줄 = L"\"" + cmd + L"\" /d /v:off /c \"\"" + 배치경로 + L"\"\"";
    std::wstring 환경 = 도구환경(시스템폴더, 윈도우폴더());

    // cmd looks for a program in its current directory before the search
    // path. Started from the tool's own folder (a Downloads folder, say), a
    // planted cacls there would run with the tool's rights; the system
    // folder is writable by administrators only.
    PROCESS_INFORMATION 프로세스정보{};
    // A console of its own is most of what a one-line batch file costs cmd,
    // so it shares ours when we have one (see 콘솔빌려시작). Without one (the
    // window program, or the twin started detached), or when the shared start
    // fails, CREATE_NO_WINDOW: a hidden console is cheaper to make than a
    // console window that SW_HIDE then hides. That start inherits nothing.
    if (!(빌려줄콘솔있음() && 콘솔빌려시작(cmd, 명령줄, 환경, 시스템폴더, 프로세스정보))) {
        STARTUPINFOW 시작정보{};
        시작정보.cb = sizeof 시작정보;
        시작정보.dwFlags = STARTF_USESHOWWINDOW;
        시작정보.wShowWindow = SW_HIDE;
        if (!::CreateProcessW(cmd.c_str(), 명령줄.data(), nullptr, nullptr, FALSE,
                              NORMAL_PRIORITY_CLASS | CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                              환경.data(), 시스템폴더.c_str(), &시작정보, &프로세스정보))
            마지막오류던지기(cmd);
    }

    const win32::OwnedProcess 프로세스{UniqueHandle(프로세스정보.hProcess),
                                      UniqueHandle(프로세스정보.hThread)};
    신호까지기다리기(프로세스.process.get());
} catch (const 파일오류& 오류) {
    작업으로던지기(오류, 파일작업::프로그램시작);
}

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

namespace {

// The machine's class of programs. Without it, the shell looks "runas" up
// in the merged classes, where the user's own command for it (under
// HKCU\Software\Classes\exefile) wins and would run a program of theirs
// with administrator rights.
UniqueRegKey 프로그램클래스() {
#ifdef BOANSETTING_AS_ORDINARY_USER
    // The test-only build: Wine's shell drops the parameters of a run
    // through a class key, and its tests of the shield need them.
    return nullptr;
#endif
    HKEY 열쇠 = nullptr;
    const LSTATUS 결과 = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\exefile", 0,
                                         KEY_READ | KEY_WOW64_64KEY, &열쇠);
    if (결과 != ERROR_SUCCESS) 오류던지기(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\exefile", 결과);
    return UniqueRegKey(열쇠);
}

}  // namespace

관리자실행결과 Win32플랫폼::관리자로실행(const std::wstring& 인자) try {
    const std::wstring 프로그램 = 잡은자기파일();
    const std::wstring 폴더 = 시스템폴더();
    const UniqueRegKey 클래스 = 프로그램클래스();
    SHELLEXECUTEINFOW 실행{};
    실행.cbSize = sizeof 실행;
    // NOASYNC: the wait below is the only one; FLAG_NO_UI: a failure is the
    // caller's to tell, in the window's own words.
    실행.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI |
                 (클래스 ? SEE_MASK_CLASSKEY : 0);
    실행.hkeyClass = 클래스.get();
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
