// The product table and the folder arithmetic: see install_folders.h.
#include "folders/install_folders.h"

#include <algorithm>

#include "platform/names.h"

namespace 설치폴더 {
namespace {

// Elevated, the environment is still the user's (an elevation inherits it):
// a line break or a relative path set there would reach the elevated cmd.
// So an elevated run takes the folders the system records; an ordinary one,
// whose cmd has no more rights than the user, the environment as ever.
std::wstring 프로그램폴더값(const 플랫폼& 시스템, bool x86용) {
    if (시스템.관리자권한()) return 시스템.시스템프로그램폴더(x86용);
    return 시스템.환경변수(x86용 ? L"ProgramFiles(x86)" : L"ProgramFiles");
}

// The folder that holds the VirtualStore: the local application-data folder.
// The temporary folder's parent is only a fallback for a system that does not
// name it, since "temp" may lie deeper (Remote Desktop hosts give each
// session a folder of its own, ...\Local\Temp\2) or elsewhere.
std::wstring 환경의가상저장소부모(const 플랫폼& 시스템) {
    if (std::wstring 로컬 = 시스템.환경변수(L"LOCALAPPDATA"); !로컬.empty()) return 로컬;
    const std::wstring 임시 = 시스템.환경변수(L"temp");
    const auto 마지막구분자 = 임시.rfind(L'\\');
    if (마지막구분자 == std::wstring::npos) return {};
    return 임시.substr(0, 마지막구분자);
}

// Below `폴더` by name, case aside; the folder itself does not count.
bool 아래에있음(const std::wstring& 경로, const std::wstring& 폴더) {
    if (폴더.empty() || 경로.size() <= 폴더.size() + 1 || 경로[폴더.size()] != L'\\') return false;
    return 대소문자없이시작(경로, 폴더);
}

// Elevated, the environment is still the user's (an elevation inherits it),
// and the move reads the copy from there, renames it and writes backups
// beside it with administrator rights: pointed at another user's profile it
// would copy their files into a folder every user may read, pointed at a
// protected folder it would make folders and files there. So an elevated run
// takes it only inside the profile folder the system records for its own
// user; a link inside that profile is refused when each folder is held.
std::wstring 가상저장소의부모(const 플랫폼& 시스템) {
    std::wstring 부모 = 환경의가상저장소부모(시스템);
    if (부모.empty() || !시스템.관리자권한()) return 부모;
    부모 = 시스템.전체경로(부모);
    return 아래에있음(부모, 시스템.사용자프로필폴더()) ? 부모 : std::wstring();
}

}  // namespace

std::wstring 제품폴더이름(const std::wstring& 목록텍스트) {
    for (const 제품& 행 : 제품표)
        if (목록텍스트 == 행.목록이름) return 행.폴더이름;
    return {};
}

std::wstring 프로그램폴더(const 플랫폼& 시스템) {
    std::wstring 폴더 = 프로그램폴더값(시스템, true);
    if (폴더.empty()) 폴더 = 프로그램폴더값(시스템, false);
    return 폴더;
}

std::wstring 가상_프로그램폴더(const 플랫폼& 시스템) {
    const std::wstring 부모 = 가상저장소의부모(시스템);
    if (부모.empty()) return {};
    // Only whether there is a folder for 32-bit programs matters: the
    // virtual store names it the way an English Windows does, whatever its
    // real path.
    return 부모 + L"\\VirtualStore" +
           (!프로그램폴더값(시스템, true).empty() ? L"\\Program Files (x86)" : L"\\Program Files");
}

std::wstring 대상경로(const std::wstring& 기준폴더, const std::wstring& 폴더이름) {
    return 기준폴더 + L"\\" + 폴더이름;
}

제품위치 설치위치찾기(const 플랫폼& 시스템, const std::wstring& 목록텍스트) {
    return {목록텍스트, 제품폴더이름(목록텍스트), 프로그램폴더(시스템), {}};
}

제품위치 제품위치찾기(const 플랫폼& 시스템, const std::wstring& 목록텍스트) {
    제품위치 위치 = 설치위치찾기(시스템, 목록텍스트);
    위치.가상_프로그램폴더 = 가상_프로그램폴더(시스템);
    return 위치;
}

}  // namespace 설치폴더
