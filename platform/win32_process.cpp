// Win32 platform: the processes the tool starts (cmd for the batch files),
// whether it runs elevated and follows users' junctions, and which other
// users' processes run.
#include "platform/win32_internal.h"

#include <aclapi.h>
#include <sddl.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/names.h"

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

// SetProcessMitigationPolicy is looked up at run time: Windows 7 lacks it,
// and would not start a program that imports it. A Windows that does not
// know the policy refuses it, and stays as it was.
void Win32플랫폼::관리자면링크보호() noexcept {
    if (!관리자권한()) return;
    using 정책설정 = BOOL(WINAPI*)(PROCESS_MITIGATION_POLICY, PVOID, SIZE_T);
    const auto 주소 =
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetProcessMitigationPolicy");
    const auto 설정 = reinterpret_cast<정책설정>(reinterpret_cast<void*>(주소));
    PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY 정책{};
    정책.EnforceRedirectionTrust = 1;
    if (설정) 설정(ProcessRedirectionTrustPolicy, &정책, sizeof 정책);
}

namespace {

// The session service's list of every process with its account, from
// wtsapi32 loaded by its full name in the system folder for this alone: the
// programs import only DLLs they always load. Freed with the object.
class 세션프로세스목록 {
public:
    explicit 세션프로세스목록(const std::wstring& dll) {
        모듈_.reset(::LoadLibraryExW(dll.c_str(), nullptr, 0));
        if (!모듈_) 마지막오류던지기(dll);
        using 열거 = BOOL(WINAPI*)(HANDLE, DWORD, DWORD, PWTS_PROCESS_INFOW*, DWORD*);
        const auto 열거함수 = reinterpret_cast<열거>(
            reinterpret_cast<void*>(::GetProcAddress(모듈_.get(), "WTSEnumerateProcessesW")));
        해제_ = reinterpret_cast<해제함수>(
            reinterpret_cast<void*>(::GetProcAddress(모듈_.get(), "WTSFreeMemory")));
        if (!열거함수 || !해제_) 오류던지기(dll, ERROR_PROC_NOT_FOUND);
        if (!열거함수(WTS_CURRENT_SERVER_HANDLE, 0, 1, &목록_, &개수_)) 마지막오류던지기(dll);
    }
    ~세션프로세스목록() {
        if (목록_) 해제_(목록_);
    }
    세션프로세스목록(const 세션프로세스목록&) = delete;
    세션프로세스목록& operator=(const 세션프로세스목록&) = delete;

    const WTS_PROCESS_INFOW* begin() const { return 목록_; }
    const WTS_PROCESS_INFOW* end() const { return 목록_ + 개수_; }

private:
    using 해제함수 = void(WINAPI*)(PVOID);
    UniqueModule 모듈_;
    해제함수 해제_ = nullptr;
    PWTS_PROCESS_INFOW 목록_ = nullptr;
    DWORD 개수_ = 0;
};

// This process's own account.
class 자기계정 {
public:
    explicit 자기계정(const std::wstring& 경로) {
        HANDLE 토큰 = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &토큰)) 마지막오류던지기(경로);
        const UniqueHandle 토큰소유(토큰);
        DWORD 크기 = 0;
        if (!::GetTokenInformation(토큰, TokenUser, 버퍼_, sizeof 버퍼_, &크기)) 마지막오류던지기(경로);
    }
    PSID sid() const { return reinterpret_cast<const TOKEN_USER*>(버퍼_)->User.Sid; }

private:
    alignas(TOKEN_USER) unsigned char 버퍼_[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
};

}  // namespace

std::optional<남의프로세스> Win32플랫폼::다른사용자프로세스() {
    const std::wstring 서비스 = 시스템폴더() + L"\\wtsapi32.dll";
    const 자기계정 나(서비스);
    for (const WTS_PROCESS_INFOW& 프로세스 : 세션프로세스목록(서비스)) {
        const PSID 계정 = 프로세스.pUserSid;  // none where the service does not say
        if (!계정 || !::IsValidSid(계정) || ::EqualSid(계정, 나.sid())) continue;
        const 소유자정보 정보 = 계정정보(계정, 서비스);
        if (윈도우자신의계정(정보.sid)) continue;
        return 남의프로세스{프로세스.pProcessName ? 프로세스.pProcessName : L"", 프로세스.ProcessId,
                            정보.이름 == 정보.sid ? 정보.sid : 정보.이름 + L" (" + 정보.sid + L")"};
    }
    return std::nullopt;
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
