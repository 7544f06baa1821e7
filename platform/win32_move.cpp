// Win32 platform: the VirtualStore move's file work, every step made relative
// to the handle of a folder already held and none of it following a link:
// listing, holding and making folders, comparing, copying, renaming, and
// asking what the logged-on user's own token may do there.
#include "platform/win32_internal.h"

#include <aclapi.h>
#include <winternl.h>

#include <algorithm>
#include <vector>

using namespace win32;

namespace win32 {

[[noreturn]] void 링크거부던지기(const std::wstring& 경로) {
    throw 파일오류(경로, 링크거부, 거절사실{거절::링크, {}, 0, 0});
}

std::wstring 안의경로(HANDLE 폴더, const std::wstring& 이름) {
    const std::wstring 폴더이름 = 최종경로(폴더, 이름);
    return 구분자로끝남(폴더이름) ? 폴더이름 + 이름 : 폴더이름 + L"\\" + 이름;
}

bool 제자리(HANDLE 대상, const std::wstring& 경로) { return 같은이름(최종경로(대상, 경로), 경로); }

UniqueHandle 안에서열기(HANDLE 폴더, const std::wstring& 이름, const 열기요청& 요청,
                       const std::wstring& 경로) {
    UniqueHandle 결과;
    if (const DWORD 오류 = 안에서열기(폴더, 이름, 요청, 결과, 경로)) 오류던지기(경로, 오류);
    if (!제자리(결과.get(), 경로)) 링크거부던지기(경로);
    return 결과;
}

UniqueHandle 일반파일열기(HANDLE 폴더, const std::wstring& 이름, ACCESS_MASK 권한,
                         std::wstring& 경로) {
    경로 = 안의경로(폴더, 이름);
    auto 파일 = 안에서열기(폴더, 이름, {권한 | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, FILE_OPEN, 0}, 경로);
    BY_HANDLE_FILE_INFORMATION 정보{};
    if (!::GetFileInformationByHandle(파일.get(), &정보)) 마지막오류던지기(경로);
    if ((정보.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
        정보.nNumberOfLinks != 1)
        링크거부던지기(경로);
    return 파일;
}

}  // namespace win32

namespace {

constexpr DWORD 복사조각 = 1 << 16;

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

namespace win32 {

void 안에서이름바꾸기(HANDLE 대상, HANDLE 폴더, const std::wstring& 새이름, bool 덮기,
                     const std::wstring& 경로) {
    // Zeroed: ReplaceIfExists false unless asked.
    std::vector<char> 버퍼(sizeof(FILE_RENAME_INFO) + 새이름.size() * sizeof(wchar_t));
    auto* 정보 = reinterpret_cast<FILE_RENAME_INFO*>(버퍼.data());
    정보->ReplaceIfExists = 덮기;
    정보->RootDirectory = 폴더;
    정보->FileNameLength = static_cast<DWORD>(새이름.size() * sizeof(wchar_t));
    std::copy(새이름.begin(), 새이름.end(), 정보->FileName);
    using 정보설정 = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, int);
    constexpr int 이름바꾸기정보 = 10;  // FileRenameInformation
    IO_STATUS_BLOCK 상태{};
    const NTSTATUS 값 = ntdll에서<정보설정>("NtSetInformationFile", 경로)(
        대상, &상태, 정보, static_cast<ULONG>(버퍼.size()), 이름바꾸기정보);
    if (!NT_SUCCESS(값)) 오류던지기(경로, 오류번호(값, 경로));
}

void 만든것지우기(HANDLE 파일) {
    FILE_DISPOSITION_INFO 지우기{TRUE};
    ::SetFileInformationByHandle(파일, FileDispositionInfo, &지우기, sizeof 지우기);
}

}  // namespace win32

namespace {

// The access list of an open file, as a descriptor of its own (the list and
// whether it is protected from inheritance), to create its replacement with.
UniqueLocalMemory 접근목록읽기(HANDLE 파일, const std::wstring& 경로) {
    PSECURITY_DESCRIPTOR 설명자 = nullptr;
    if (const DWORD 오류 = ::GetSecurityInfo(파일, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                             nullptr, nullptr, nullptr, &설명자))
        오류던지기(경로, 오류);
    return UniqueLocalMemory(설명자);
}

// The target `이름` of the held folder, opened relative to the folder, once
// that handle shows it is still the version the caller listed (its
// last-write time is `목록쓴때`): one saved, replaced or removed since is
// left as it is. Shared for reading only, so no one writes it while it is
// looked at; the caller lets go at once, since the rename over it needs the
// old file unopened.
UniqueHandle 목록대로인대상(HANDLE 폴더, const std::wstring& 이름, long long 목록쓴때,
                           const std::wstring& 경로) {
    std::wstring 대상;
    UniqueHandle 파일;
    try {
        파일 = 일반파일열기(폴더, 이름, READ_CONTROL, 대상);
    } catch (const 파일오류& 오류) {
        if (!없음오류(오류.코드())) throw;
        오류던지기(경로, 목록과다름);
    }
    FILETIME 쓴때{};
    if (!::GetFileTime(파일.get(), nullptr, nullptr, &쓴때)) 마지막오류던지기(경로);
    const ULARGE_INTEGER 값{{쓴때.dwLowDateTime, 쓴때.dwHighDateTime}};
    if (static_cast<long long>(값.QuadPart) != 목록쓴때) 오류던지기(경로, 목록과다름);
    return 파일;
}

// A folder is held as 폴더고정 holds one: it may be listed, and, shared for
// reading only, no one deletes or renames it meanwhile.
constexpr 열기요청 폴더잡기{FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, FILE_OPEN,
                             FILE_DIRECTORY_FILE};

항목종류 종류(DWORD 속성) {
    return (속성 & FILE_ATTRIBUTE_REPARSE_POINT) ? 항목종류::링크
           : (속성 & FILE_ATTRIBUTE_DIRECTORY)   ? 항목종류::폴더
                                                 : 항목종류::파일;
}

}  // namespace

std::vector<폴더항목> Win32플랫폼::폴더항목들(const 보유& 잡음) {
    const HANDLE 폴더 = 잡은핸들(잡음, L"");
    std::vector<폴더항목> 항목들;
    for (const 목록항목& 항목 : 목록읽기(폴더)) 항목들.push_back({항목.이름, 종류(항목.속성), 항목.쓴때, 항목.만든때});
    return 항목들;
}

폴더고정결과 Win32플랫폼::하위폴더고정(const 보유& 잡음, const std::wstring& 이름) {
    const HANDLE 폴더 = 잡은핸들(잡음, L"");
    const std::wstring 경로 = 안의경로(폴더, 이름);
    UniqueHandle 하위;
    if (const DWORD 오류 = 안에서열기(폴더, 이름, 폴더잡기, 하위, 경로)) {
        if (없음오류(오류)) return {폴더상태::없음, nullptr, {}};
        오류던지기(경로, 오류);
    }
    if (연것종류(하위.get(), 경로) == 연것::연결지점) return {폴더상태::연결지점, nullptr, {}};
    if (!제자리(하위.get(), 경로)) return {폴더상태::다른경로, nullptr, {}};
    return {폴더상태::고정됨, std::make_unique<Win32고정폴더>(std::move(하위), 경로), 경로};
}

std::unique_ptr<보유> Win32플랫폼::하위폴더만들기(const 보유& 잡음, const std::wstring& 이름) {
    const HANDLE 폴더 = 잡은핸들(잡음, L"");
    const std::wstring 경로 = 안의경로(폴더, 이름);
    return std::make_unique<핸들보유>(
        안에서열기(폴더, 이름, {폴더잡기.권한, 폴더잡기.공유, FILE_CREATE, FILE_DIRECTORY_FILE}, 경로));
}

bool Win32플랫폼::같은내용(const 보유& 가, const 보유& 나, const std::wstring& 이름) {
    std::wstring 가경로, 나경로;
    const auto 파일가 = 일반파일열기(잡은핸들(가, L""), 이름, GENERIC_READ, 가경로);
    const auto 파일나 = 일반파일열기(잡은핸들(나, L""), 이름, GENERIC_READ, 나경로);
    if (파일크기(파일가.get(), 가경로) != 파일크기(파일나.get(), 나경로)) return false;
    std::string 조각가, 조각나;
    do {
        조각읽기(파일가.get(), 조각가, 가경로);
        조각읽기(파일나.get(), 조각나, 나경로);
        if (조각가 != 조각나) return false;
    } while (!조각가.empty());
    return true;
}

void Win32플랫폼::파일복사(const 보유& 원본폴더, const 보유& 대상폴더, const std::wstring& 이름,
                           복사방식 방식, long long 목록쓴때) {
    std::wstring 원본;
    const auto 읽을 = 일반파일열기(잡은핸들(원본폴더, L""), 이름, GENERIC_READ, 원본);
    const HANDLE 폴더 = 잡은핸들(대상폴더, L"");
    const std::wstring 대상 = 안의경로(폴더, 이름);
    const bool 덮기 = 방식 == 복사방식::덮어쓰기;
    // The new bytes go into a file of their own beside the target, shared
    // with no one, and only a whole file takes the target's name: a disk
    // that fills, a crash or a failed write leaves the old version (or no
    // file) there, never a fragment that a later run would take for a
    // version written after the copy's.
    const std::wstring 새이름 = L"~boansetting " + 맞힐수없는이름() + L".tmp";
    // A replacement has the old version's access list from its creation on.
    // Were it set only after the copy, the file would first carry the one the
    // folder passes down, and someone that list lets in could open it for
    // WRITE_DAC or WRITE_OWNER (no sharing mode guards those) and keep that
    // handle past the rename: control of a file whose own list shuts them out.
    const UniqueLocalMemory 목록 =
        덮기 ? 접근목록읽기(목록대로인대상(폴더, 이름, 목록쓴때, 대상).get(), 대상) : nullptr;
    const auto 쓸 = 안에서열기(
        폴더, 새이름, {GENERIC_WRITE | DELETE, 0, FILE_CREATE, FILE_NON_DIRECTORY_FILE, 목록.get()},
        안의경로(폴더, 새이름));
    try {
        내용옮기기(읽을.get(), 원본, 쓸.get(), 대상);
        // Asked again last: the user may have saved the target during the copy.
        if (덮기) 목록대로인대상(폴더, 이름, 목록쓴때, 대상);
        안에서이름바꾸기(쓸.get(), 폴더, 이름, 덮기, 대상);
    } catch (const 파일오류&) {
        만든것지우기(쓸.get());
        throw;
    }
}

namespace {

// Opens the folder at `경로` itself, sharing everything: a hold of it would
// keep out a rename inside it. Refused when it is not the folder its path
// names (a link at or above it).
UniqueHandle 폴더그자체(const std::wstring& 경로) {
    auto 폴더 = OwnHandle(::CreateFileW(
        경로.c_str(), FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!폴더) 마지막오류던지기(경로);
    if (연것종류(폴더.get(), 경로) != 연것::폴더 || !제자리(폴더.get(), 경로)) 링크거부던지기(경로);
    return 폴더;
}

}  // namespace

void Win32플랫폼::이름바꾸기(const std::wstring& 폴더경로, const std::wstring& 원래,
                             const std::wstring& 새이름) {
    // The copy's folders are the user's: were the new name a path of its
    // own, looked up after the old one, a junction swapped in between could
    // carry the copy into a protected folder (or rename one there). So both
    // names are taken relative to one handle of the folder.
    const auto 폴더 = 폴더그자체(구분자빼기(전체경로(폴더경로)));
    const std::wstring 경로 = 안의경로(폴더.get(), 원래);
    if (!한이름(새이름))
        throw 파일오류(경로, ERROR_INVALID_NAME, 거절사실{거절::다른폴더이름, 새이름, 0, 0});
    const auto 대상 = 안에서열기(폴더.get(), 원래,
                                 {DELETE | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN, 0},
                                 경로);
    안에서이름바꾸기(대상.get(), 폴더.get(), 새이름, false, 경로);
}

namespace {

// The logged-on user's own token, to check access against: this process's
// when it is not elevated; when it is, the unelevated token Windows linked
// to it at the logon (an identification token: enough to check, not to act
// as). Empty for an elevated token with none linked: UAC off, SYSTEM.
UniqueHandle 사용자토큰() {
    HANDLE 토큰 = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, &토큰)) return {};
    const UniqueHandle 자신(토큰);
    TOKEN_ELEVATION_TYPE 종류{};
    DWORD 크기 = 0;
    if (!::GetTokenInformation(토큰, TokenElevationType, &종류, sizeof 종류, &크기)) return {};
    if (종류 == TokenElevationTypeFull) {
        TOKEN_LINKED_TOKEN 연결{};
        if (!::GetTokenInformation(토큰, TokenLinkedToken, &연결, sizeof 연결, &크기)) return {};
        return UniqueHandle(연결.LinkedToken);
    }
    TOKEN_ELEVATION 상승{};
    if (!::GetTokenInformation(토큰, TokenElevation, &상승, sizeof 상승, &크기) ||
        상승.TokenIsElevated)
        return {};
    HANDLE 복제 = nullptr;
    if (!::DuplicateToken(토큰, SecurityIdentification, &복제)) return {};
    return UniqueHandle(복제);
}

ACCESS_MASK 권한값(사용자권한 권한) {
    switch (권한) {
    case 사용자권한::파일추가: return FILE_ADD_FILE;
    case 사용자권한::폴더추가: return FILE_ADD_SUBDIRECTORY;
    case 사용자권한::쓰기: return FILE_WRITE_DATA;
    case 사용자권한::읽기: return FILE_READ_DATA;
    }
    return GENERIC_ALL;  // never asked: grants nothing the check would not
}

}  // namespace

bool Win32플랫폼::사용자에게허용(const 보유& 잡음, const std::wstring& 이름, 사용자권한 권한) {
    const HANDLE 폴더 = 잡은핸들(잡음, L"");
    const std::wstring 경로 = 이름.empty() ? 최종경로(폴더, L"") : 안의경로(폴더, 이름);
    const UniqueHandle 토큰 = 사용자토큰();
    if (!토큰) return false;
    UniqueHandle 대상;
    const DWORD 열기오류 =
        이름.empty() ? 다시열기(폴더, READ_CONTROL, 대상, 경로)
                     : 안에서열기(폴더, 이름,
                                  {READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   FILE_OPEN, 0},
                                  대상, 경로);
    if (열기오류) 오류던지기(경로, 열기오류);
    PSECURITY_DESCRIPTOR 설명자 = nullptr;
    // The mandatory label too: a High or System one keeps a Medium token
    // from writing whatever the list grants.
    if (const DWORD 오류 = ::GetSecurityInfo(
            대상.get(), SE_FILE_OBJECT,
            OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                LABEL_SECURITY_INFORMATION,
            nullptr, nullptr, nullptr, nullptr, &설명자))
        오류던지기(경로, 오류);
    const UniqueLocalMemory 설명자소유(설명자);
    GENERIC_MAPPING 대응{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    alignas(PRIVILEGE_SET) char 특권[256] = {};
    DWORD 특권크기 = sizeof 특권, 허용된 = 0;
    BOOL 됨 = FALSE;
    if (!::AccessCheck(설명자, 토큰.get(), 권한값(권한), &대응, reinterpret_cast<PPRIVILEGE_SET>(특권),
                       &특권크기, &허용된, &됨))
        마지막오류던지기(경로);
    return 됨 != FALSE;
}

bool Win32플랫폼::사용자토큰있음() { return static_cast<bool>(사용자토큰()); }
