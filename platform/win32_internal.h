// What the Win32 platform files share, and nothing outside platform/ uses:
// errors turned into 파일오류 in one place, whole-file reads and writes,
// waits, and the system's own names.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32_handles.h"
#include "platform/win32_platform.h"

namespace win32 {

// Throw 파일오류 for `경로` with the system's number and its own wording.
[[noreturn]] void 오류던지기(const std::wstring& 경로, DWORD 코드);
[[noreturn]] void 마지막오류던지기(const std::wstring& 경로);
// Throws `오류` again as coming from `작업`: what the failing operation of
// the platform reports, whichever helper inside it failed.
[[noreturn]] void 작업으로던지기(const 파일오류& 오류, 파일작업 작업);

// Deletes a file, read-only or not; the error, or ERROR_SUCCESS.
DWORD 지우기(const std::wstring& 경로);

bool 구분자로끝남(const std::wstring& 경로);
// The path without trailing separators (a drive root keeps its own).
std::wstring 구분자빼기(std::wstring 경로);
// Equal as Windows compares names: ordinal, case aside.
bool 같은이름(const std::wstring& 가, const std::wstring& 나);

void 모두쓰기(HANDLE 파일, const std::string& 바이트, const std::wstring& 경로);
ULONGLONG 파일크기(HANDLE 파일, const std::wstring& 경로);
// The whole file; throws, reading nothing, when it is larger than `최대바이트`.
std::string 모두읽기(HANDLE 파일, const std::wstring& 경로, size_t 최대바이트);

// Dispatches queued messages, dropping user input; false after WM_QUIT.
// The window program's only (win32_window.cpp).
bool 쌓인메시지처리();
// Waits at most `한도` ms for the handle, the window program's window
// painting meanwhile; what the wait came to, as WaitForSingleObject says it.
DWORD 신호까지기다리기(HANDLE 대상, DWORD 한도 = INFINITE);

// The Windows folder as the system names it (never the user's own one on a
// terminal server). Throws 파일오류.
std::wstring 윈도우폴더();

// The system's full name of an open file, in the ordinary drive form.
std::wstring 최종경로(HANDLE 파일, const std::wstring& 경로);

// A security descriptor built from its text form, freed with the object.
struct 보안설명자 {
    보안설명자(const std::wstring& sddl, const std::wstring& 대상);
    UniqueLocalMemory 소유;
    SECURITY_ATTRIBUTES 속성{};
};

// Makes the folder `경로` with the access list `sddl` from the start, so that
// no moment passes with another one. The error, read at once, or ERROR_SUCCESS.
DWORD 설명자로폴더만들기(const std::wstring& 경로, const std::wstring& sddl);

// What a handle opened on a folder's own path (never through a link at its
// end) turned out to be. Throws 파일오류 naming `경로` when it cannot tell.
enum class 연것 { 폴더, 연결지점, 폴더아님 };
연것 연것종류(HANDLE 열린것, const std::wstring& 경로);

// A handle held as a 보유: closed when the hold goes. Shared for reading
// only, it keeps others from writing, deleting or renaming what it opened.
class 핸들보유 final : public 보유 {
public:
    explicit 핸들보유(UniqueHandle 핸들) : 핸들_(std::move(핸들)) {}
    // Borrowed, for reading the access list and opening entries relative
    // to the held folder.
    HANDLE 핸들() const { return 핸들_.get(); }

private:
    UniqueHandle 핸들_;
};

// A folder held by 폴더고정 (or, inside a held folder, by the move), with
// its handle and the name the system gave it when it was held.
class Win32고정폴더 final : public 고정폴더 {
public:
    Win32고정폴더(UniqueHandle 폴더, std::wstring 최종경로)
        : 폴더_(std::move(폴더)), 최종경로_(std::move(최종경로)) {}

    bool 안의항목붙잡기() override;
    bool 그대로인가() const override;
    HANDLE 핸들() const { return 폴더_.get(); }

private:
    UniqueHandle 폴더_;
    std::wstring 최종경로_;
    UniqueHandle 항목_;
};

// The handle behind a hold this layer made (핸들보유 or Win32고정폴더).
// Throws 파일오류 naming `경로` for a hold of any other kind.
HANDLE 잡은핸들(const 보유& 잡음, const std::wstring& 경로);

// The account's SID in the string form and, where the system knows it, its
// name ("PC\\kim"; else the SID again). Throws 파일오류 naming `경로`.
소유자정보 계정정보(PSID 계정, const std::wstring& 경로);

// ---- Working inside a held folder, through ntdll ----

// A function of ntdll: kernel32 has no form of these that opens relative to
// a folder's handle (and Wine's SetFileInformationByHandle turns a rename's
// name into a full path first, which defeats the folder's handle).
template <typename 함수>
함수 ntdll에서(const char* 이름, const std::wstring& 경로) {
    const auto 주소 = reinterpret_cast<함수>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), 이름)));
    if (!주소) 오류던지기(경로, ERROR_PROC_NOT_FOUND);
    return 주소;
}

// True for one plain name: not empty, not "." or "..", no separator or
// drive or stream colon.
bool 한이름(const std::wstring& 이름);

// The system's error number for an NT status.
DWORD 오류번호(LONG 상태, const std::wstring& 경로);

struct 열기요청 {
    ACCESS_MASK 권한;
    ULONG 공유;
    ULONG 처리;  // FILE_OPEN or FILE_CREATE
    ULONG 선택;  // FILE_DIRECTORY_FILE, FILE_NON_DIRECTORY_FILE or 0
    // For an entry it creates: the access list it has from the start, in
    // place of the one the folder passes down.
    PSECURITY_DESCRIPTOR 설명자 = nullptr;
};

// Opens (or creates) the entry `이름`, one plain name, of `폴더` through the
// folder's handle: whatever happened to the folder's path since it was held
// plays no part, and a reparse point at the name is opened itself, never
// followed. What the system said, 0 for success.
DWORD 안에서열기(HANDLE 폴더, const std::wstring& 이름, const 열기요청& 요청, UniqueHandle& 결과,
                const std::wstring& 경로);

// One entry of a folder's listing.
struct 목록항목 {
    std::wstring 이름;
    DWORD 속성;
    long long 쓴때;    // last-write time, 100 ns steps since 1601 (UTC)
    long long 만든때;  // creation time, the same steps
};

// The entries of the folder open at `폴더`, read through that handle from
// the start (whoever listed it before), without "." and "..". Throws
// 파일오류 when the folder cannot be listed.
std::vector<목록항목> 목록읽기(HANDLE 폴더);

// True for the errors that mean nothing stands at a name.
bool 없음오류(DWORD 오류);

// Opens the folder open at `폴더` itself once more, through that handle,
// with the rights asked for and sharing everything. What the system said.
DWORD 다시열기(HANDLE 폴더, ACCESS_MASK 권한, UniqueHandle& 결과, const std::wstring& 경로);

// ---- Files of a held folder, never followed (win32_move.cpp) ----

// Refuses a step that met a link (거절::링크, the code 링크거부).
[[noreturn]] void 링크거부던지기(const std::wstring& 경로);

// The path `이름` is meant to have inside the held folder.
std::wstring 안의경로(HANDLE 폴더, const std::wstring& 이름);

// True when the system names the open object as the path meant: nothing
// was reached through a link.
bool 제자리(HANDLE 대상, const std::wstring& 경로);

// 안에서열기 that throws, and refuses an object reached through a link.
UniqueHandle 안에서열기(HANDLE 폴더, const std::wstring& 이름, const 열기요청& 요청,
                       const std::wstring& 경로);

// Opens an existing file of the held folder itself and admits only a plain
// file with a single name: a second name could belong to a file the user
// may not read or write, which this process may. Shared for reading only,
// so no one writes it while it is used. `경로` is set to its path.
UniqueHandle 일반파일열기(HANDLE 폴더, const std::wstring& 이름, ACCESS_MASK 권한,
                         std::wstring& 경로);

// Renames the open `대상` to `새이름` inside the folder open at `폴더`: the
// name is taken relative to that handle, never looked up as a path, and
// `덮기` lets it replace an entry of that name in one step.
void 안에서이름바꾸기(HANDLE 대상, HANDLE 폴더, const std::wstring& 새이름, bool 덮기,
                     const std::wstring& 경로);

// Removes a file this process made, through its own handle, never by name.
void 만든것지우기(HANDLE 파일);

// 128 bits from the system's cryptographic generator, as hexadecimal: a
// name no one can make ready ahead. Throws 파일오류 when it gives none.
std::wstring 맞힐수없는이름();

}  // namespace win32
