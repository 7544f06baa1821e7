// Helpers the Win32 platform files share: errors turned into 파일오류
// once, whole-file reads and writes, and the system's names for folders and
// files. See win32_internal.h; the waits are in win32_window.cpp (the
// window program) and win32_console.cpp (its console twin).
#include "platform/win32_internal.h"

#include <sddl.h>
#include <winternl.h>

#include "platform/win32_codepage.h"

std::string 안시로(const std::wstring& 글) { return win32::코드페이지로(글, CP_ACP); }

std::wstring 안시에서(const std::string& 바이트) { return win32::코드페이지에서(바이트, CP_ACP); }

namespace win32 {
namespace {

// The system's own wording for an error number, without its trailing line end.
std::wstring 시스템설명(DWORD 코드) {
    wchar_t* 버퍼 = nullptr;
    const DWORD 길이 = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, 코드, 0, reinterpret_cast<wchar_t*>(&버퍼), 0, nullptr);
    win32::UniqueLocalMemory 소유(버퍼);
    if (길이 == 0) return {};
    std::wstring 설명(버퍼, 길이);
    while (!설명.empty() && (설명.back() == L'\r' || 설명.back() == L'\n' || 설명.back() == L' '))
        설명.pop_back();
    return 설명;
}

}  // namespace


[[noreturn]] void 오류던지기(const std::wstring& 경로, DWORD 코드) {
    throw 파일오류(경로, 코드, 시스템설명(코드));
}

[[noreturn]] void 마지막오류던지기(const std::wstring& 경로) {
    오류던지기(경로, ::GetLastError());
}

[[noreturn]] void 작업으로던지기(const 파일오류& 오류, 파일작업 작업) {
    throw 파일오류(오류, 작업);
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
        throw 파일오류(경로, ERROR_FILE_TOO_LARGE, 거절사실{거절::너무큼, {}, 크기, 최대바이트});
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

// The Windows folder as the system names it; GetSystemWindowsDirectory, not
// GetWindowsDirectory, whose answer on a terminal server is a folder of the
// user's own.
std::wstring 윈도우폴더() {
    wchar_t 경로[MAX_PATH] = {};
    const UINT 길이 = ::GetSystemWindowsDirectoryW(경로, MAX_PATH);
    if (길이 == 0 || 길이 >= MAX_PATH) 마지막오류던지기(L"Windows");
    return std::wstring(경로, 길이);
}

보안설명자::보안설명자(const std::wstring& sddl, const std::wstring& 대상) {
    PSECURITY_DESCRIPTOR 설명자 = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                &설명자, nullptr))
        마지막오류던지기(대상);
    소유.reset(설명자);
    속성.nLength = sizeof 속성;
    속성.lpSecurityDescriptor = 설명자;
    속성.bInheritHandle = FALSE;
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

HANDLE 잡은핸들(const 보유& 잡음, const std::wstring& 경로) {
    if (const auto* 핸들 = dynamic_cast<const 핸들보유*>(&잡음)) return 핸들->핸들();
    if (const auto* 폴더 = dynamic_cast<const Win32고정폴더*>(&잡음)) return 폴더->핸들();
    오류던지기(경로, ERROR_INVALID_HANDLE);
}

DWORD 오류번호(LONG 상태, const std::wstring& 경로) {
    using 오류변환 = ULONG(NTAPI*)(LONG);
    return ntdll에서<오류변환>("RtlNtStatusToDosError", 경로)(상태);
}

bool 한이름(const std::wstring& 이름) {
    return !이름.empty() && 이름 != L"." && 이름 != L".." &&
           이름.find_first_of(L"\\/:") == std::wstring::npos;
}

namespace {

// NtCreateFile relative to `폴더`; an empty `이름` is the folder itself.
DWORD 상대로열기(HANDLE 폴더, const std::wstring& 이름, const 열기요청& 요청, UniqueHandle& 결과,
                const std::wstring& 경로) {
    using 파일만들기 = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                        PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
    std::wstring 이름값 = 이름;
    UNICODE_STRING 유니{static_cast<USHORT>(이름값.size() * sizeof(wchar_t)),
                        static_cast<USHORT>(이름값.size() * sizeof(wchar_t)), 이름값.data()};
    OBJECT_ATTRIBUTES 속성{};
    InitializeObjectAttributes(&속성, &유니, OBJ_CASE_INSENSITIVE, 폴더, 요청.설명자);
    IO_STATUS_BLOCK 상태{};
    HANDLE 핸들 = nullptr;
    const NTSTATUS 값 = ntdll에서<파일만들기>("NtCreateFile", 경로)(
        &핸들, 요청.권한 | SYNCHRONIZE, &속성, &상태, nullptr, FILE_ATTRIBUTE_NORMAL, 요청.공유,
        요청.처리, 요청.선택 | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (!NT_SUCCESS(값)) return 오류번호(값, 경로);
    결과 = OwnHandle(핸들);
    return ERROR_SUCCESS;
}

}  // namespace

DWORD 안에서열기(HANDLE 폴더, const std::wstring& 이름, const 열기요청& 요청, UniqueHandle& 결과,
                const std::wstring& 경로) {
    if (!한이름(이름)) return ERROR_INVALID_NAME;
    return 상대로열기(폴더, 이름, 요청, 결과, 경로);
}

DWORD 다시열기(HANDLE 폴더, ACCESS_MASK 권한, UniqueHandle& 결과, const std::wstring& 경로) {
    return 상대로열기(폴더, L"",
                      {권한, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN, 0}, 결과,
                      경로);
}


std::vector<목록항목> 목록읽기(HANDLE 폴더) {
    std::vector<목록항목> 항목들;
    std::vector<LONGLONG> 버퍼(64 * 1024 / sizeof(LONGLONG));
    const DWORD 크기 = static_cast<DWORD>(버퍼.size() * sizeof(LONGLONG));
    for (auto 방식 = FileIdBothDirectoryRestartInfo;
         ::GetFileInformationByHandleEx(폴더, 방식, 버퍼.data(), 크기);
         방식 = FileIdBothDirectoryInfo) {
        for (auto* 바이트 = reinterpret_cast<const char*>(버퍼.data());;) {
            const auto* 항목 = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(바이트);
            const std::wstring 이름(항목->FileName, 항목->FileNameLength / sizeof(wchar_t));
            if (이름 != L"." && 이름 != L"..")
                항목들.push_back({이름, 항목->FileAttributes, 항목->LastWriteTime.QuadPart,
                                  항목->CreationTime.QuadPart});
            if (항목->NextEntryOffset == 0) break;
            바이트 += 항목->NextEntryOffset;
        }
    }
    // Read before 최종경로 makes calls of its own.
    const DWORD 오류 = ::GetLastError();
    if (오류 != ERROR_NO_MORE_FILES) 오류던지기(최종경로(폴더, L""), 오류);
    return 항목들;
}

bool 없음오류(DWORD 오류) {
    return 오류 == ERROR_FILE_NOT_FOUND || 오류 == ERROR_PATH_NOT_FOUND ||
           오류 == ERROR_INVALID_NAME || 오류 == ERROR_DIRECTORY;
}

DWORD 설명자로폴더만들기(const std::wstring& 경로, const std::wstring& sddl) {
    const 보안설명자 설명자(sddl, 경로);
    auto 설명자속성 = 설명자.속성;
    return ::CreateDirectoryW(경로.c_str(), &설명자속성) ? ERROR_SUCCESS : ::GetLastError();
}

연것 연것종류(HANDLE 열린것, const std::wstring& 경로) {
    BY_HANDLE_FILE_INFORMATION 정보{};
    if (!::GetFileInformationByHandle(열린것, &정보)) 마지막오류던지기(경로);
    if (정보.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return 연것::연결지점;
    return (정보.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 연것::폴더 : 연것::폴더아님;
}

}  // namespace win32
