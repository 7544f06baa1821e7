// Win32 platform: files and folders the tool reads, writes and holds, and
// the folder hold that keeps a link from taking a folder's place.
#include "platform/win32_internal.h"

#include <winternl.h>

#include <cwchar>
#include <vector>

using namespace win32;

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

namespace {

// Hidden and system entries count only when the mask asks for them: they
// are not the user's files, and the folder listing a user sees hides them.
// Directories count only with the directory bit.
bool 마스크에맞음(DWORD 속성, 속성마스크 마스크) {
    if (속성 & FILE_ATTRIBUTE_DIRECTORY) return 마스크 == 속성마스크::폴더포함;
    if (속성 & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return 마스크 == 속성마스크::숨김포함;
    return true;
}

// Opens a folder, never following a reparse point at its name. A handle
// that may list or traverse the folder takes part in the sharing check, so,
// shared for reading only, it keeps others from deleting or renaming it;
// one that may only read its attributes (where both are denied) restricts
// no one, but still tells what stands there. Each try asks for less.
// READ_CONTROL lets a grant keep the access list it replaces.
UniqueHandle 폴더열기(const std::wstring& 경로) {
    constexpr DWORD 플래그 = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
    constexpr DWORD 모두공유 = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const struct {
        DWORD 권한;
        DWORD 공유;
    } 시도들[] = {
        {FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | READ_CONTROL, FILE_SHARE_READ},
        {FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL, FILE_SHARE_READ},
        {FILE_READ_ATTRIBUTES | READ_CONTROL, 모두공유},
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

}  // namespace

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

void Win32플랫폼::파일삭제(const std::wstring& 경로) try {
    if (const DWORD 오류 = 지우기(경로)) 오류던지기(경로, 오류);
} catch (const 파일오류& 오류) {
    작업으로던지기(오류, 파일작업::파일삭제);
}

void Win32플랫폼::한줄쓰기(const std::wstring& 경로, const std::wstring& 줄) try {
    // Made anew, never written through: whatever stands at the name in the
    // user's temporary folder (a link to a file that only administrators may
    // change, say) is removed, and CREATE_NEW fails if something takes its
    // place in between.
    const std::string 바이트 = 안시로(줄) + "\r\n";
    const DWORD 오류 = 지우기(경로);
    if (오류 != ERROR_SUCCESS && 오류 != ERROR_FILE_NOT_FOUND) 오류던지기(경로, 오류);
    auto 파일 = OwnHandle(::CreateFileW(경로.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!파일) 마지막오류던지기(경로);
    // A kept list cut short would be the oldest, and stop every restore:
    // the line is on the disk before the call returns, or the file is gone.
    try {
        모두쓰기(파일.get(), 바이트, 경로);
        if (!::FlushFileBuffers(파일.get())) 마지막오류던지기(경로);
    } catch (const 파일오류&) {
        만든것지우기(파일.get());
        throw;
    }
} catch (const 파일오류& 오류) {
    작업으로던지기(오류, 파일작업::파일쓰기);
}

std::unique_ptr<보유> Win32플랫폼::고정하기(const std::wstring& 경로, const std::wstring& 줄) try {
    auto 파일 = OwnHandle(::CreateFileW(경로.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!파일) 마지막오류던지기(경로);
    const std::string 기대 = 안시로(줄) + "\r\n";
    if (파일크기(파일.get(), 경로) != 기대.size() || 모두읽기(파일.get(), 경로, 기대.size()) != 기대)
        throw 파일오류(경로, ERROR_FILE_INVALID, 거절사실{거절::실행전바뀜, {}, 0, 0});
    return std::make_unique<핸들보유>(std::move(파일));
} catch (const 파일오류& 오류) {
    작업으로던지기(오류, 파일작업::파일고정);
}


namespace {

// Opens `이름`, an entry of the held folder, through the folder's handle,
// shared for reading and writing but not deleting, so it can be neither
// deleted nor renamed while it is open. Each try asks for a right that
// takes part in the sharing check; nothing when neither opens.
UniqueHandle 안의것열기(HANDLE 폴더, const std::wstring& 이름) {
    for (const ACCESS_MASK 권한 : {FILE_READ_DATA, FILE_EXECUTE}) {
        UniqueHandle 항목;
        const 열기요청 요청{권한 | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_OPEN,
                           FILE_OPEN_FOR_BACKUP_INTENT};
        if (안에서열기(폴더, 이름, 요청, 항목, 이름) == ERROR_SUCCESS) return 항목;
    }
    return {};
}

}  // namespace

// Listed through the held handle, then tried until one entry opens.
bool win32::Win32고정폴더::안의항목붙잡기() {
    if (항목_) return true;
    try {
        for (const 목록항목& 항목 : 목록읽기(폴더_.get()))
            if ((항목_ = 안의것열기(폴더_.get(), 항목.이름))) return true;
    } catch (const 파일오류&) {
        // A folder that cannot be listed holds nothing this hold could keep.
    }
    return false;
}

bool win32::Win32고정폴더::그대로인가() const {
    BY_HANDLE_FILE_INFORMATION 정보{};
    if (!::GetFileInformationByHandle(폴더_.get(), &정보) ||
        (정보.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    try {
        return 같은이름(최종경로(폴더_.get(), 최종경로_), 최종경로_);
    } catch (const 파일오류&) {
        return false;
    }
}


폴더고정결과 Win32플랫폼::폴더고정(const std::wstring& 경로) try {
    auto 폴더 = 폴더열기(경로);
    if (!폴더) {
        const DWORD 오류 = ::GetLastError();
        if (없음오류(오류)) return {폴더상태::없음, nullptr, {}};
        오류던지기(경로, 오류);
    }
    const 연것 종류 = 연것종류(폴더.get(), 경로);
    if (종류 == 연것::연결지점) return {폴더상태::연결지점, nullptr, {}};
    if (종류 == 연것::폴더아님) return {폴더상태::없음, nullptr, {}};
    std::wstring 이름 = 최종경로(폴더.get(), 경로);
    if (!같은이름(이름, 구분자빼기(전체경로(경로)))) return {폴더상태::다른경로, nullptr, {}};
    return {폴더상태::고정됨, std::make_unique<Win32고정폴더>(std::move(폴더), 이름), 이름};
} catch (const 파일오류& 오류) {
    작업으로던지기(오류, 파일작업::폴더열기);
}

std::wstring Win32플랫폼::전체읽기(const std::wstring& 경로, std::size_t 최대바이트) try {
    auto 파일 = OwnHandle(::CreateFileW(경로.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!파일) 마지막오류던지기(경로);
    return 안시에서(모두읽기(파일.get(), 경로, 최대바이트));
} catch (const 파일오류& 오류) {
    작업으로던지기(오류, 파일작업::파일읽기);
}

// A path that starts with two separators is a share, unless it is the
// device form (\\?\ or \\.\) of a drive; a drive is asked about its root. A
// drive without a medium must answer "not ready", not show Windows' own
// "insert a disk" box.
드라이브종류 Win32플랫폼::드라이브(const std::wstring& 경로) const {
    const auto 구분자 = [&](size_t 위치) {
        return 경로.size() > 위치 && (경로[위치] == L'\\' || 경로[위치] == L'/');
    };
    if (구분자(0) && 구분자(1)) {
        const bool 장치 = 경로.size() > 3 && (경로[2] == L'?' || 경로[2] == L'.') && 구분자(3);
        const bool 공유 = 경로.size() > 7 && 같은이름(경로.substr(4, 3), L"UNC") && 구분자(7);
        return !장치 || 공유 ? 드라이브종류::네트워크 : 드라이브종류::이컴퓨터;
    }
    if (경로.size() < 2 || 경로[1] != L':') return 드라이브종류::이컴퓨터;
    const std::wstring 뿌리 = 경로.substr(0, 2) + L"\\";
    if (::GetDriveTypeW(뿌리.c_str()) == DRIVE_REMOTE) return 드라이브종류::네트워크;
    DWORD 이전 = 0;
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &이전);
    const bool 준비됨 =
        ::GetVolumeInformationW(뿌리.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) ||
        ::GetLastError() != ERROR_NOT_READY;
    ::SetThreadErrorMode(이전, nullptr);
    return 준비됨 ? 드라이브종류::이컴퓨터 : 드라이브종류::준비안됨;
}
