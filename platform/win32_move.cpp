// Win32 platform: the VirtualStore move's file work, none of it following a
// link: listing, comparing, copying, making folders, renaming by handle.
#include "platform/win32_internal.h"

#include <algorithm>
#include <vector>

using namespace win32;

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
