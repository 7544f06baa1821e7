// Win32 platform: the access lists a grant replaces and the owner, read
// through the hold on the install folder; the administrators-only folder
// under the program-data folder where the lists are kept; and the count of
// a file's names, for the walk that keeps a grant off hard links.
#define _CRT_RAND_S  // rand_s: the system's cryptographic generator
#include <stdlib.h>

#include "platform/win32_internal.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

using namespace win32;

namespace {

// A descriptor from GetSecurityInfo, with the parts asked for.
struct 읽은설명자 {
    PSID 소유자 = nullptr;
    PACL 목록 = nullptr;
    UniqueLocalMemory 소유;
};

읽은설명자 설명자읽기(HANDLE 대상, SECURITY_INFORMATION 부분, const std::wstring& 경로) {
    읽은설명자 결과;
    PSECURITY_DESCRIPTOR 설명자 = nullptr;
    const DWORD 오류 = ::GetSecurityInfo(대상, SE_FILE_OBJECT, 부분, &결과.소유자, nullptr,
                                         &결과.목록, nullptr, &설명자);
    if (오류 != ERROR_SUCCESS) 오류던지기(경로, 오류);
    결과.소유.reset(설명자);
    return 결과;
}

// The program-data folder (C:\ProgramData) as the system names it. The
// CSIDL form answers from the same known folder as SHGetKnownFolderPath,
// without the COM allocator that would add ole32 to the imports.
std::wstring 프로그램데이터() {
    wchar_t 경로[MAX_PATH] = {};
    const HRESULT 결과 =
        ::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, 경로);
    if (FAILED(결과)) 오류던지기(L"ProgramData", static_cast<DWORD>(HRESULT_CODE(결과)));
    return 경로;
}

// What the kept folder is made with: owned by Administrators, so that a
// process without an elevated token can make it no more than it can write
// into it; protected, so that nothing ProgramData lets its users do is
// inherited.
constexpr wchar_t 보관설명자[] = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

bool 같은SID(PSID 가, WELL_KNOWN_SID_TYPE 종류) { return ::IsWellKnownSid(가, 종류) != FALSE; }

// Who may write to the kept folder. CREATOR OWNER stands for whoever makes
// a file inside: the elevated tool itself.
bool 믿는SID(PSID 누구) {
    return 같은SID(누구, WinBuiltinAdministratorsSid) || 같은SID(누구, WinLocalSystemSid) ||
           같은SID(누구, WinCreatorOwnerSid);
}

constexpr DWORD 쓰기권한 = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_DELETE_CHILD |
                           FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER |
                           GENERIC_WRITE | GENERIC_ALL;

// True when the owner, or an entry that allows writing (entries for what is
// created inside included: the kept lists inherit them), belongs to someone
// else. An allowing entry of a kind that is not read here counts as such.
bool 남이쓸수있음(const 읽은설명자& 설명자) {
    if (!믿는SID(설명자.소유자) || !설명자.목록) return true;
    for (DWORD 번호 = 0; 번호 < 설명자.목록->AceCount; ++번호) {
        void* 항목 = nullptr;
        if (!::GetAce(설명자.목록, 번호, &항목)) return true;
        const auto* 머리 = static_cast<ACE_HEADER*>(항목);
        if (머리->AceType == ACCESS_DENIED_ACE_TYPE) continue;
        if (머리->AceType != ACCESS_ALLOWED_ACE_TYPE) return true;
        const auto* 허용 = static_cast<ACCESS_ALLOWED_ACE*>(항목);
        const PSID 누구 = const_cast<DWORD*>(&허용->SidStart);
        if ((허용->Mask & 쓰기권한) && !믿는SID(누구)) return true;
    }
    return false;
}

// Whether the file system keeps the owner it is given: Wine, for one, makes
// up every descriptor from the Unix file mode. Where it does not, no
// descriptor tells who may write to a folder. A scratch folder is made
// beside the kept one with the kept folder's descriptor, and read back.
bool 소유자가지켜짐(const std::wstring& 부모) {
    unsigned int 값 = 0;
    if (rand_s(&값) != 0) 오류던지기(L"rand_s", ERROR_GEN_FAILURE);
    const std::wstring 경로 = 부모 + L"\\BoanSetting-" + std::to_wstring(값);
    if (const DWORD 오류 = 설명자로폴더만들기(경로, 보관설명자)) 오류던지기(경로, 오류);
    bool 지켜짐 = false;
    {
        const auto 폴더 = OwnHandle(::CreateFileW(경로.c_str(), READ_CONTROL, FILE_SHARE_READ,
                                                  nullptr, OPEN_EXISTING,
                                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (폴더)
            지켜짐 = 같은SID(설명자읽기(폴더.get(), OWNER_SECURITY_INFORMATION, 경로).소유자,
                             WinBuiltinAdministratorsSid);
    }
    ::RemoveDirectoryW(경로.c_str());
    return 지켜짐;
}

// Refuses a folder at `경로` that is not the tool's own: a link, a file, or
// one someone else may write to (a user can make folders under ProgramData,
// and could have made this one first, with lists of their choosing in it).
void 보관폴더확인(const std::wstring& 경로, const std::wstring& 부모) {
    const auto 폴더 = OwnHandle(::CreateFileW(
        경로.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!폴더) 마지막오류던지기(경로);
    const 연것 종류 = 연것종류(폴더.get(), 경로);
    if (종류 == 연것::연결지점) throw 파일오류(경로, 링크거부, 거절사실{거절::보관연결지점, {}, 0, 0});
    if (종류 == 연것::폴더아님) 오류던지기(경로, ERROR_DIRECTORY);
    const 읽은설명자 설명자 = 설명자읽기(
        폴더.get(), OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, 경로);
    if (남이쓸수있음(설명자) && 소유자가지켜짐(부모))
        throw 파일오류(경로, 남의소유, 거절사실{거절::보관남의폴더, {}, 0, 0});
}

}  // namespace

namespace {

std::wstring 목록읽기(HANDLE 대상, const std::wstring& 경로) {
    const 읽은설명자 설명자 = 설명자읽기(대상, DACL_SECURITY_INFORMATION, 경로);
    wchar_t* 글 = nullptr;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(
            설명자.소유.get(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &글, nullptr))
        마지막오류던지기(경로);
    const UniqueLocalMemory 글소유(글);
    return 글;
}

}  // namespace

std::wstring Win32플랫폼::접근목록(const 보유& 잡음, const std::wstring& 경로) {
    return 목록읽기(잡은핸들(잡음, 경로), 경로);
}

std::wstring Win32플랫폼::보관폴더() {
    const std::wstring 부모 = 프로그램데이터();
    const std::wstring 경로 = 부모 + L"\\BoanSetting";
    const DWORD 오류 = 설명자로폴더만들기(경로, 보관설명자);
    if (오류 && 오류 != ERROR_ALREADY_EXISTS) 오류던지기(경로, 오류);
    보관폴더확인(경로, 부모);
    return 경로;
}

bool Win32플랫폼::접근목록이지켜짐() { return 소유자가지켜짐(프로그램데이터()); }

namespace {

소유자정보 소유자읽기(HANDLE 대상, const std::wstring& 경로) {
    const 읽은설명자 설명자 = 설명자읽기(대상, OWNER_SECURITY_INFORMATION, 경로);
    if (!설명자.소유자) 마지막오류던지기(경로);
    return 계정정보(설명자.소유자, 경로);
}

}  // namespace

소유자정보 win32::계정정보(PSID 계정, const std::wstring& 경로) {
    wchar_t* 글 = nullptr;
    if (!::ConvertSidToStringSidW(계정, &글)) 마지막오류던지기(경로);
    const UniqueLocalMemory 글소유(글);
    소유자정보 정보{글, 글};
    wchar_t 이름[256] = {}, 영역[256] = {};
    DWORD 이름길이 = 256, 영역길이 = 256;
    SID_NAME_USE 종류{};
    if (::LookupAccountSidW(nullptr, 계정, 이름, &이름길이, 영역, &영역길이, &종류))
        정보.이름 = 영역[0] ? std::wstring(영역) + L"\\" + 이름 : std::wstring(이름);
    return 정보;
}

소유자정보 Win32플랫폼::소유자(const 보유& 잡음, const std::wstring& 경로) {
    return 소유자읽기(잡은핸들(잡음, 경로), 경로);
}

std::optional<항목보안> Win32플랫폼::안의보안(const 보유& 폴더, const std::wstring& 이름) {
    const HANDLE 잡은폴더 = 잡은핸들(폴더, 이름);
    const std::wstring 폴더이름 = 최종경로(잡은폴더, 이름);
    const std::wstring 경로 = 구분자로끝남(폴더이름) ? 폴더이름 + 이름 : 폴더이름 + L"\\" + 이름;
    UniqueHandle 항목;
    const 열기요청 요청{READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       FILE_OPEN, 0};
    if (const DWORD 오류 = 안에서열기(잡은폴더, 이름, 요청, 항목, 경로)) {
        if (없음오류(오류)) return std::nullopt;  // gone since it was listed
        오류던지기(경로, 오류);
    }
    return 항목보안{소유자읽기(항목.get(), 경로), 목록읽기(항목.get(), 경로)};
}

bool Win32플랫폼::링크파일인가(const 보유& 폴더, const std::wstring& 이름) {
    const HANDLE 잡은폴더 = 잡은핸들(폴더, 이름);
    // Named only for an error: the tree may hold many files.
    const auto 오류로 = [&](DWORD 오류) {
        const std::wstring 폴더이름 = 최종경로(잡은폴더, 이름);
        오류던지기(구분자로끝남(폴더이름) ? 폴더이름 + 이름 : 폴더이름 + L"\\" + 이름, 오류);
    };
    UniqueHandle 파일;
    const 열기요청 요청{FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       FILE_OPEN, 0};
    if (const DWORD 오류 = 안에서열기(잡은폴더, 이름, 요청, 파일, 이름)) {
        if (없음오류(오류)) return false;  // gone since it was listed: no link there
        오류로(오류);
    }
    BY_HANDLE_FILE_INFORMATION 정보{};
    if (!::GetFileInformationByHandle(파일.get(), &정보)) 오류로(::GetLastError());
    return 정보.nNumberOfLinks > 1 ||
           (정보.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY));
}
