// Windows implementation of the platform operations. This is the only place
// where Win32 errors are read and turned into 파일오류.
#define _CRT_RAND_S  // rand_s: the system's cryptographic generator
#include <stdlib.h>

#include "platform/win32_platform.h"

#include <commctrl.h>
#include <sddl.h>
#include <shellapi.h>
#include <userenv.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "platform/win32_codepage.h"
#include "platform/win32_handles.h"

using win32::OwnFindHandle;
using win32::OwnHandle;
using win32::UniqueHandle;

std::string 안시로(const std::wstring& 글) { return win32::코드페이지로(글, CP_ACP); }

std::wstring 안시에서(const std::string& 바이트) { return win32::코드페이지에서(바이트, CP_ACP); }

namespace {

// The system's own wording for an error number, without its trailing line end.
std::wstring 시스템설명(DWORD 코드) {
    wchar_t* 버퍼 = nullptr;
    const DWORD 길이 = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, 코드, 0, reinterpret_cast<wchar_t*>(&버퍼), 0, nullptr);
    win32::UniqueLocalMemory 소유(버퍼);
    if (길이 == 0) return L"오류 " + std::to_wstring(코드);
    std::wstring 설명(버퍼, 길이);
    while (!설명.empty() && (설명.back() == L'\r' || 설명.back() == L'\n' || 설명.back() == L' '))
        설명.pop_back();
    return 설명;
}

[[noreturn]] void 오류던지기(const std::wstring& 경로, DWORD 코드) {
    throw 파일오류(경로, 코드, 시스템설명(코드));
}

[[noreturn]] void 마지막오류던지기(const std::wstring& 경로) {
    오류던지기(경로, ::GetLastError());
}

// Deletes a file, read-only or not: a read-only stale file of the tool's
// own names would otherwise block every later run. The error, or
// ERROR_SUCCESS.
DWORD 지우기(const std::wstring& 경로) {
    if (::DeleteFileW(경로.c_str())) return ERROR_SUCCESS;
    const DWORD 오류 = ::GetLastError();
    const DWORD 속성 = ::GetFileAttributesW(경로.c_str());
    if (오류 != ERROR_ACCESS_DENIED || 속성 == INVALID_FILE_ATTRIBUTES ||
        !(속성 & FILE_ATTRIBUTE_READONLY) || (속성 & FILE_ATTRIBUTE_DIRECTORY) ||
        !::SetFileAttributesW(경로.c_str(), 속성 & ~FILE_ATTRIBUTE_READONLY))
        return 오류;
    return ::DeleteFileW(경로.c_str()) ? ERROR_SUCCESS : ::GetLastError();
}

bool 구분자로끝남(const std::wstring& 경로) {
    return !경로.empty() && (경로.back() == L'\\' || 경로.back() == L'/');
}

// Hidden and system entries count only when the mask asks for them: they
// are not the user's files, and the folder listing a user sees hides them.
// Directories count only with the directory bit.
bool 마스크에맞음(DWORD 속성, 속성마스크 마스크) {
    if (속성 & FILE_ATTRIBUTE_DIRECTORY) return 마스크 == 속성마스크::폴더포함;
    if (속성 & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return 마스크 == 속성마스크::숨김포함;
    return true;
}

void 모두쓰기(HANDLE 파일, const std::string& 바이트, const std::wstring& 경로) {
    DWORD 쓴크기 = 0;
    if (!::WriteFile(파일, 바이트.data(), static_cast<DWORD>(바이트.size()), &쓴크기, nullptr) ||
        쓴크기 != 바이트.size())
        마지막오류던지기(경로);
}

ULONGLONG 파일크기(HANDLE 파일, const std::wstring& 경로) {
    LARGE_INTEGER 크기{};
    if (!::GetFileSizeEx(파일, &크기)) 마지막오류던지기(경로);
    return static_cast<ULONGLONG>(크기.QuadPart);
}

// The whole file, unless it is larger than `최대바이트`: then nothing is
// read, so that no file someone left at a name can exhaust the memory.
std::string 모두읽기(HANDLE 파일, const std::wstring& 경로, size_t 최대바이트) {
    const ULONGLONG 크기 = 파일크기(파일, 경로);
    if (크기 > 최대바이트)
        throw 파일오류(경로, ERROR_FILE_TOO_LARGE,
                       L"파일이 " + std::to_wstring(크기) + L"바이트로, 읽을 수 있는 " +
                           std::to_wstring(최대바이트) + L"바이트보다 커서 읽지 않았습니다.");
    std::string 바이트(static_cast<size_t>(크기), '\0');
    size_t 읽은만큼 = 0;
    while (읽은만큼 < 바이트.size()) {
        DWORD 이번 = 0;
        if (!::ReadFile(파일, 바이트.data() + 읽은만큼,
                        static_cast<DWORD>(바이트.size() - 읽은만큼), &이번, nullptr))
            마지막오류던지기(경로);
        if (이번 == 0) break;  // the file shrank while it was read
        읽은만큼 += 이번;
    }
    바이트.resize(읽은만큼);
    return 바이트;
}

bool 입력메시지(UINT 메시지) {
    return (메시지 >= WM_KEYFIRST && 메시지 <= WM_KEYLAST) ||
           (메시지 >= WM_MOUSEFIRST && 메시지 <= WM_MOUSELAST) ||
           (메시지 >= WM_NCMOUSEMOVE && 메시지 <= WM_NCXBUTTONDBLCLK);
}

// Dispatches the messages queued for this thread, dropping user input. False
// when the queue held WM_QUIT, which is posted again for the main loop to
// find after the command.
bool 쌓인메시지처리() {
    MSG 메시지;
    while (::PeekMessageW(&메시지, nullptr, 0, 0, PM_REMOVE)) {
        if (메시지.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(메시지.wParam));
            return false;
        }
        if (입력메시지(메시지.message)) continue;
        ::TranslateMessage(&메시지);
        ::DispatchMessageW(&메시지);
    }
    return true;
}

// Milliseconds left of `한도` since `시작`; INFINITE stays INFINITE.
DWORD 남은시간(ULONGLONG 시작, DWORD 한도) {
    if (한도 == INFINITE) return INFINITE;
    const ULONGLONG 지남 = ::GetTickCount64() - 시작;
    return 지남 >= 한도 ? 0 : static_cast<DWORD>(한도 - 지남);
}

// Waits at most `한도` milliseconds until the handle is signalled: a process
// has ended, or a mutex is free (and then belongs to this thread). Returns
// what the wait came to (WAIT_OBJECT_0, WAIT_ABANDONED_0, WAIT_TIMEOUT or
// WAIT_FAILED). Meanwhile the window keeps painting, so Windows never calls
// it "Not Responding", but user input is dropped so that no second command
// can start before this one ends.
DWORD 신호까지기다리기(HANDLE 대상, DWORD 한도 = INFINITE) {
    const ULONGLONG 시작 = ::GetTickCount64();
    for (;;) {
        const DWORD 결과 = ::MsgWaitForMultipleObjects(1, &대상, FALSE, 남은시간(시작, 한도),
                                                       QS_ALLINPUT);
        if (결과 != WAIT_OBJECT_0 + 1) return 결과;
        if (!쌓인메시지처리()) return ::WaitForSingleObject(대상, 남은시간(시작, 한도));
    }
}

}  // namespace

Win32플랫폼::Win32플랫폼(std::wstring 메시지제목) : 메시지제목_(std::move(메시지제목)) {}

std::wstring Win32플랫폼::전체경로(const std::wstring& 경로) const {
    if (경로.empty()) return 경로;
    const DWORD 필요 = ::GetFullPathNameW(경로.c_str(), 0, nullptr, nullptr);
    if (필요 == 0) return 경로;
    std::wstring 결과(필요, L'\0');
    const DWORD 길이 = ::GetFullPathNameW(경로.c_str(), 필요, 결과.data(), nullptr);
    if (길이 == 0 || 길이 >= 필요) return 경로;
    결과.resize(길이);
    return 결과;
}

std::wstring Win32플랫폼::시스템폴더() const {
    wchar_t 경로[MAX_PATH] = {};
    const UINT 길이 = ::GetSystemDirectoryW(경로, MAX_PATH);
    return 길이 > 0 && 길이 < MAX_PATH ? std::wstring(경로, 길이) : std::wstring();
}

namespace {

// An A function's default character or best-fit look-alike would change
// what the path names; only an exact round trip is the same path.
bool 그대로오감(const std::wstring& 글, UINT 코드페이지) {
    if (글.empty()) return true;
    const int 길이 = static_cast<int>(글.size());
    BOOL 기본글자씀 = FALSE;
    // UTF-8 has no default character, and refuses the flag that asks for it.
    const bool utf8 = 코드페이지 == CP_UTF8;
    const DWORD 방식 = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL* 기본글자물음 = utf8 ? nullptr : &기본글자씀;
    const int 크기 =
        ::WideCharToMultiByte(코드페이지, 방식, 글.data(), 길이, nullptr, 0, nullptr, 기본글자물음);
    if (크기 <= 0 || 기본글자씀) return false;
    std::string 바이트(static_cast<size_t>(크기), '\0');
    if (::WideCharToMultiByte(코드페이지, 방식, 글.data(), 길이, 바이트.data(), 크기, nullptr,
                              기본글자물음) != 크기 ||
        기본글자씀)
        return false;
    return win32::코드페이지에서(바이트, 코드페이지) == 글;
}

}  // namespace

bool Win32플랫폼::코드페이지로그대로(const std::wstring& 글) const {
    // Batch files are written in the ANSI code page; cmd reads them in the
    // console's, which is the OEM one.
    return 그대로오감(글, ::GetACP()) && 그대로오감(글, ::GetOEMCP());
}

namespace {

// The Windows folder as the system names it; GetSystemWindowsDirectory, not
// GetWindowsDirectory, whose answer on a terminal server is a folder of the
// user's own.
std::wstring 윈도우폴더() {
    wchar_t 경로[MAX_PATH] = {};
    const UINT 길이 = ::GetSystemWindowsDirectoryW(경로, MAX_PATH);
    if (길이 == 0 || 길이 >= MAX_PATH) 마지막오류던지기(L"Windows");
    return std::wstring(경로, 길이);
}

// 128 bits from the system's cryptographic generator, as hexadecimal.
std::wstring 맞힐수없는이름() {
    wchar_t 이름[33] = {};
    for (int 조각 = 0; 조각 < 4; ++조각) {
        unsigned int 값 = 0;
        if (rand_s(&값) != 0) 오류던지기(L"rand_s", ERROR_GEN_FAILURE);
        std::swprintf(이름 + 조각 * 8, 9, L"%08x", 값);
    }
    return 이름;
}

// A security descriptor built from its text form, freed with the object.
struct 보안설명자 {
    explicit 보안설명자(const std::wstring& sddl, const std::wstring& 대상) {
        PSECURITY_DESCRIPTOR 설명자 = nullptr;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                    &설명자, nullptr))
            마지막오류던지기(대상);
        소유.reset(설명자);
        속성.nLength = sizeof 속성;
        속성.lpSecurityDescriptor = 설명자;
        속성.bInheritHandle = FALSE;
    }
    win32::UniqueLocalMemory 소유;
    SECURITY_ATTRIBUTES 속성{};
};

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

개인폴더 Win32플랫폼::개인임시폴더만들기() {
    const std::wstring 경로 = 윈도우폴더() + L"\\Temp\\BoanSetting-" + 맞힐수없는이름();
    // Protected, not inheriting: only Administrators and SYSTEM, whatever the
    // Temp folder above lets its creators do.
    const 보안설명자 설명자(L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)", 경로);
    auto 설명자속성 = 설명자.속성;
    if (!::CreateDirectoryW(경로.c_str(), &설명자속성)) 마지막오류던지기(경로);
    return {경로, std::make_unique<폴더지움>(경로)};
}

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

std::wstring Win32플랫폼::존재검사(const std::wstring& 경로, 속성마스크 마스크) const {
    // FindFirstFile does not accept a trailing separator; "folder\*" lists
    // the folder's entries, its own "." first.
    const std::wstring 찾을경로 = 구분자로끝남(경로) ? 경로 + L"*" : 경로;
    WIN32_FIND_DATAW 항목{};
    auto 찾기 = OwnFindHandle(::FindFirstFileW(찾을경로.c_str(), &항목));
    if (!찾기) return {};
    do {
        if (마스크에맞음(항목.dwFileAttributes, 마스크)) return 항목.cFileName;
    } while (::FindNextFileW(찾기.get(), &항목));
    return {};
}

void Win32플랫폼::파일삭제(const std::wstring& 경로) {
    if (const DWORD 오류 = 지우기(경로)) 오류던지기(경로, 오류);
}

void Win32플랫폼::한줄쓰기(const std::wstring& 경로, const std::wstring& 줄) {
    // Made anew, never written through: whatever stands at the name in the
    // user's temporary folder (a link to a file that only administrators may
    // change, say) is removed, and CREATE_NEW fails if something takes its
    // place in between.
    const DWORD 오류 = 지우기(경로);
    if (오류 != ERROR_SUCCESS && 오류 != ERROR_FILE_NOT_FOUND) 오류던지기(경로, 오류);
    auto 파일 = OwnHandle(::CreateFileW(경로.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!파일) 마지막오류던지기(경로);
    모두쓰기(파일.get(), 안시로(줄) + "\r\n", 경로);
}

namespace {

// A read handle that shares reading only: while it is open, no one can open
// the file for writing or deleting, which also rules out rename.
class 읽기만공유 final : public 보유 {
public:
    explicit 읽기만공유(UniqueHandle 파일) : 파일_(std::move(파일)) {}

private:
    UniqueHandle 파일_;
};

}  // namespace

std::unique_ptr<보유> Win32플랫폼::고정하기(const std::wstring& 경로, const std::wstring& 줄) {
    auto 파일 = OwnHandle(::CreateFileW(경로.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!파일) 마지막오류던지기(경로);
    const std::string 기대 = 안시로(줄) + "\r\n";
    if (파일크기(파일.get(), 경로) != 기대.size() || 모두읽기(파일.get(), 경로, 기대.size()) != 기대)
        throw 파일오류(경로, ERROR_FILE_INVALID,
                       L"실행하기 전에 다른 프로그램이 이 파일을 바꾸었습니다.");
    return std::make_unique<읽기만공유>(std::move(파일));
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

}  // namespace

namespace {

// Opens a folder, never following a reparse point at its name. A handle
// that may list or traverse the folder takes part in the sharing check, so,
// shared for reading only, it keeps others from deleting or renaming it;
// one that may only read its attributes (where both are denied) restricts
// no one, but still tells what stands there. Each try asks for less.
UniqueHandle 폴더열기(const std::wstring& 경로) {
    constexpr DWORD 플래그 = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
    constexpr DWORD 모두공유 = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const struct {
        DWORD 권한;
        DWORD 공유;
    } 시도들[] = {
        {FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, FILE_SHARE_READ},
        {FILE_TRAVERSE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ},
        {FILE_READ_ATTRIBUTES, 모두공유},
    };
    UniqueHandle 폴더;
    for (const auto& 시도 : 시도들) {
        폴더 = OwnHandle(::CreateFileW(경로.c_str(), 시도.권한, 시도.공유, nullptr, OPEN_EXISTING,
                                       플래그, nullptr));
        if (폴더 || ::GetLastError() != ERROR_ACCESS_DENIED) break;
    }
    return 폴더;
}

// The system's full name of an open file, in the ordinary drive form.
std::wstring 최종경로(HANDLE 파일, const std::wstring& 경로) {
    std::wstring 이름(MAX_PATH, L'\0');
    for (;;) {
        const DWORD 길이 = ::GetFinalPathNameByHandleW(파일, 이름.data(),
                                                       static_cast<DWORD>(이름.size()), 0);
        if (길이 == 0) 마지막오류던지기(경로);
        if (길이 < 이름.size()) {
            이름.resize(길이);
            break;
        }
        이름.resize(길이);
    }
    if (이름.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + 이름.substr(7);
    if (이름.rfind(L"\\\\?\\", 0) == 0) return 이름.substr(4);
    return 이름;
}

std::wstring 구분자빼기(std::wstring 경로) {
    while (경로.size() > 3 && 구분자로끝남(경로)) 경로.pop_back();
    return 경로;
}

bool 같은이름(const std::wstring& 가, const std::wstring& 나) {
    return ::CompareStringOrdinal(가.c_str(), static_cast<int>(가.size()), 나.c_str(),
                                  static_cast<int>(나.size()), TRUE) == CSTR_EQUAL;
}

bool 없음오류(DWORD 오류) {
    return 오류 == ERROR_FILE_NOT_FOUND || 오류 == ERROR_PATH_NOT_FOUND ||
           오류 == ERROR_INVALID_NAME || 오류 == ERROR_DIRECTORY;
}

}  // namespace

폴더고정결과 Win32플랫폼::폴더고정(const std::wstring& 경로) {
    auto 폴더 = 폴더열기(경로);
    if (!폴더) {
        const DWORD 오류 = ::GetLastError();
        if (없음오류(오류)) return {폴더상태::없음, nullptr};
        오류던지기(경로, 오류);
    }
    BY_HANDLE_FILE_INFORMATION 정보{};
    if (!::GetFileInformationByHandle(폴더.get(), &정보)) 마지막오류던지기(경로);
    if (정보.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return {폴더상태::연결지점, nullptr};
    if (!(정보.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return {폴더상태::없음, nullptr};
    if (!같은이름(최종경로(폴더.get(), 경로), 구분자빼기(전체경로(경로))))
        return {폴더상태::다른경로, nullptr};
    return {폴더상태::고정됨, std::make_unique<읽기만공유>(std::move(폴더))};
}

namespace {

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

std::unique_ptr<보유> Win32플랫폼::임시파일독점(unsigned long 최대대기밀리초) {
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
}

std::wstring Win32플랫폼::전체읽기(const std::wstring& 경로, std::size_t 최대바이트) {
    auto 파일 = OwnHandle(::CreateFileW(경로.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!파일) 마지막오류던지기(경로);
    return 안시에서(모두읽기(파일.get(), 경로, 최대바이트));
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

}  // namespace

void Win32플랫폼::배치실행(const std::wstring& 배치경로) {
    const std::wstring 시스템폴더 = this->시스템폴더();
    const std::wstring cmd = 시스템폴더 + L"\\cmd.exe";
    if (시스템폴더.empty()) 오류던지기(cmd, ERROR_PATH_NOT_FOUND);
    // /c strips the first and the last quote of what follows it; the inner
    // pair keeps the batch path one argument, blanks, parentheses and all.
    std::wstring 명령줄 = L"\"" + cmd + L"\" /d /v:off /c \"\"" + 배치경로 + L"\"\"";
    std::wstring 환경 = 도구환경(시스템폴더, 윈도우폴더());

    STARTUPINFOW 시작정보{};
    시작정보.cb = sizeof 시작정보;
    시작정보.dwFlags = STARTF_USESHOWWINDOW;
    시작정보.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION 프로세스정보{};
    // cmd looks for a program in its current directory before the search
    // path. Started from the tool's own folder (a Downloads folder, say), a
    // planted cacls there would run with the tool's rights; the system
    // folder is writable by administrators only. CREATE_NO_WINDOW: the tool
    // has no console to lend cmd, and a hidden one is cheaper to make than a
    // console window that SW_HIDE then hides (a fifth of a check's time).
    if (!::CreateProcessW(cmd.c_str(), 명령줄.data(), nullptr, nullptr, FALSE,
                          NORMAL_PRIORITY_CLASS | CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                          환경.data(), 시스템폴더.c_str(), &시작정보, &프로세스정보))
        마지막오류던지기(cmd);

    const win32::OwnedProcess 프로세스{UniqueHandle(프로세스정보.hProcess),
                                      UniqueHandle(프로세스정보.hThread)};
    신호까지기다리기(프로세스.process.get());
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

관리자실행결과 Win32플랫폼::관리자로실행(const std::wstring& 인자) {
    const std::wstring 프로그램 = 자기파일();
    if (프로그램.empty()) 마지막오류던지기(L"boansetting.exe");
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
}

void Win32플랫폼::셸열기(const std::wstring& 대상) {
    ::ShellExecuteW(소유창_, L"open", 대상.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32플랫폼::메시지상자(const std::wstring& 텍스트) {
    ::MessageBoxW(소유창_, 텍스트.c_str(), 메시지제목_.c_str(), MB_OK);
}

// ---- Moving the VirtualStore copy into the install folder ----

namespace {

constexpr DWORD 복사조각 = 1 << 16;

[[noreturn]] void 링크거부던지기(const std::wstring& 경로) {
    throw 파일오류(경로, 링크거부,
                   L"링크(연결 지점, 심볼릭 링크 또는 하드 링크)여서 따라가지 않았습니다.");
}

// Opens an existing file itself, never what a reparse point leads to, and
// admits only a plain file with a single name: a second name could belong
// to a file the user may not read or write, which this process may.
// Shared for reading only, so no one writes it while it is used.
UniqueHandle 일반파일열기(const std::wstring& 경로, DWORD 접근) {
    auto 파일 = OwnHandle(::CreateFileW(경로.c_str(), 접근, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN,
                                        nullptr));
    if (!파일) 마지막오류던지기(경로);
    BY_HANDLE_FILE_INFORMATION 정보{};
    if (!::GetFileInformationByHandle(파일.get(), &정보)) 마지막오류던지기(경로);
    if ((정보.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
        정보.nNumberOfLinks != 1)
        링크거부던지기(경로);
    return 파일;
}

// The next piece of the file into `조각`, resized to what was read; empty at
// the end.
void 조각읽기(HANDLE 파일, std::string& 조각, const std::wstring& 경로) {
    조각.resize(복사조각);
    DWORD 읽음 = 0;
    if (!::ReadFile(파일, 조각.data(), 복사조각, &읽음, nullptr)) 마지막오류던지기(경로);
    조각.resize(읽음);
}

// Writes the whole content of `원본` over `대상` from its start, cuts off
// what is left of the old content and gives it the source's last-write time,
// as Explorer's copy does.
void 내용옮기기(HANDLE 원본, const std::wstring& 원본경로, HANDLE 대상,
               const std::wstring& 대상경로) {
    std::string 조각;
    for (조각읽기(원본, 조각, 원본경로); !조각.empty(); 조각읽기(원본, 조각, 원본경로))
        모두쓰기(대상, 조각, 대상경로);
    FILETIME 쓴때{};
    if (!::SetEndOfFile(대상) || !::GetFileTime(원본, nullptr, nullptr, &쓴때) ||
        !::SetFileTime(대상, nullptr, nullptr, &쓴때))
        마지막오류던지기(대상경로);
}

}  // namespace

std::vector<폴더항목> Win32플랫폼::폴더항목들(const std::wstring& 폴더) {
    WIN32_FIND_DATAW 항목{};
    const auto 찾기 = OwnFindHandle(::FindFirstFileExW(
        (폴더 + L"\\*").c_str(), FindExInfoBasic, &항목, FindExSearchNameMatch, nullptr, 0));
    if (!찾기) 마지막오류던지기(폴더);
    std::vector<폴더항목> 항목들;
    do {
        const std::wstring 이름 = 항목.cFileName;
        if (이름 == L"." || 이름 == L"..") continue;
        const DWORD 속성 = 항목.dwFileAttributes;
        항목들.push_back({이름, (속성 & FILE_ATTRIBUTE_REPARSE_POINT) ? 항목종류::링크
                                : (속성 & FILE_ATTRIBUTE_DIRECTORY) ? 항목종류::폴더
                                                                     : 항목종류::파일});
    } while (::FindNextFileW(찾기.get(), &항목));
    if (::GetLastError() != ERROR_NO_MORE_FILES) 마지막오류던지기(폴더);
    return 항목들;
}

bool Win32플랫폼::같은내용(const std::wstring& 가, const std::wstring& 나) {
    const auto 파일가 = 일반파일열기(가, GENERIC_READ);
    const auto 파일나 = 일반파일열기(나, GENERIC_READ);
    if (파일크기(파일가.get(), 가) != 파일크기(파일나.get(), 나)) return false;
    std::string 조각가, 조각나;
    do {
        조각읽기(파일가.get(), 조각가, 가);
        조각읽기(파일나.get(), 조각나, 나);
        if (조각가 != 조각나) return false;
    } while (!조각가.empty());
    return true;
}

void Win32플랫폼::파일복사(const std::wstring& 원본, const std::wstring& 대상, 복사방식 방식) {
    const auto 읽을 = 일반파일열기(원본, GENERIC_READ);
    if (방식 == 복사방식::덮어쓰기) {
        const auto 쓸 = 일반파일열기(대상, GENERIC_WRITE);
        내용옮기기(읽을.get(), 원본, 쓸.get(), 대상);
        return;
    }
    const auto 쓸 = OwnHandle(::CreateFileW(대상.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!쓸) 마지막오류던지기(대상);
    try {
        내용옮기기(읽을.get(), 원본, 쓸.get(), 대상);
    } catch (const 파일오류&) {
        // Only what this call made, through its own handle: a later run
        // would otherwise take the fragment for an older version.
        FILE_DISPOSITION_INFO 지우기{TRUE};
        ::SetFileInformationByHandle(쓸.get(), FileDispositionInfo, &지우기, sizeof 지우기);
        throw;
    }
}

void Win32플랫폼::폴더만들기(const std::wstring& 경로) {
    if (!::CreateDirectoryW(경로.c_str(), nullptr)) 마지막오류던지기(경로);
}

namespace {

// The folder part of a path and its last name, split at the last separator.
std::pair<std::wstring, std::wstring> 폴더와이름(const std::wstring& 경로) {
    const size_t 구분자 = 경로.find_last_of(L"\\/");
    if (구분자 == std::wstring::npos) return {std::wstring(), 경로};
    return {경로.substr(0, 구분자), 경로.substr(구분자 + 1)};
}

// Hands the rename to the system's own call. SetFileInformationByHandle
// would do on Windows, but Wine's turns the name into a full path first,
// which defeats the folder's handle; ntdll's call means the same on both.
void 이름바꿈요청(HANDLE 대상, FILE_RENAME_INFO* 정보, size_t 크기, const std::wstring& 경로) {
    struct 입출력상태 {
        void* 상태;
        ULONG_PTR 정보;
    } 상태{};
    using 정보설정 = LONG(NTAPI*)(HANDLE, 입출력상태*, void*, ULONG, int);
    using 오류변환 = ULONG(NTAPI*)(LONG);
    constexpr int 이름바꾸기정보 = 10;  // FileRenameInformation
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const auto 설정 = reinterpret_cast<정보설정>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtSetInformationFile")));
    const auto 변환 = reinterpret_cast<오류변환>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlNtStatusToDosError")));
    if (!설정 || !변환) 오류던지기(경로, ERROR_PROC_NOT_FOUND);
    const LONG 결과 = 설정(대상, &상태, 정보, static_cast<ULONG>(크기), 이름바꾸기정보);
    if (결과 < 0) 오류던지기(경로, 변환(결과));
}

}  // namespace

void Win32플랫폼::이름바꾸기(const std::wstring& 원래, const std::wstring& 새이름) {
    // The copy's folders are the user's. Were the new name a path of its own,
    // looked up after the old one, a junction swapped in between could carry
    // the copy into a protected folder (or rename one there). So the object
    // at `원래` and its folder are opened themselves, their whole paths
    // checked to be their own, and the rename names the target by that
    // folder's handle and a bare name: nothing is looked up by path again.
    const auto [새폴더, 이름] = 폴더와이름(전체경로(새이름));
    if (이름.empty() || !같은이름(새폴더, 폴더와이름(전체경로(원래)).first))
        throw 파일오류(원래, ERROR_NOT_SAME_DEVICE,
                       L"같은 폴더 안에서만 이름을 바꿉니다: " + 새이름);
    const auto 그자체 = [this](const std::wstring& 경로, DWORD 권한) {
        // Shared with all, so that it keeps no one (the rename included) out.
        auto 핸들 = OwnHandle(::CreateFileW(
            경로.c_str(), 권한 | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!핸들) 마지막오류던지기(경로);
        if (!같은이름(최종경로(핸들.get(), 경로), 구분자빼기(전체경로(경로)))) 링크거부던지기(경로);
        return 핸들;
    };
    const auto 대상 = 그자체(원래, DELETE);
    const auto 폴더 = 그자체(새폴더, FILE_TRAVERSE);
    // Zeroed: ReplaceIfExists false.
    std::vector<char> 버퍼(sizeof(FILE_RENAME_INFO) + 이름.size() * sizeof(wchar_t));
    auto* 정보 = reinterpret_cast<FILE_RENAME_INFO*>(버퍼.data());
    정보->RootDirectory = 폴더.get();
    정보->FileNameLength = static_cast<DWORD>(이름.size() * sizeof(wchar_t));
    std::copy(이름.begin(), 이름.end(), 정보->FileName);
    이름바꿈요청(대상.get(), 정보, 버퍼.size(), 원래);
}

날짜시각 Win32플랫폼::지금() const {
    SYSTEMTIME 때{};
    ::GetLocalTime(&때);
    return {때.wYear, 때.wMonth, 때.wDay, 때.wHour, 때.wMinute, 때.wSecond};
}

bool Win32플랫폼::예아니오(const std::wstring& 텍스트) {
    return ::MessageBoxW(소유창_, 텍스트.c_str(), 메시지제목_.c_str(), MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

void Win32플랫폼::진행표시(const std::wstring& 글) {
    if (진행표시줄_)
        ::SendMessageW(진행표시줄_, SB_SETTEXTW, static_cast<WPARAM>(진행칸_),
                       reinterpret_cast<LPARAM>(글.c_str()));
    쌓인메시지처리();
}
