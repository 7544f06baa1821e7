// What the main window's buttons and product list do when they are used.
//
// The window only reads its controls and calls these; the rules live here,
// free of <windows.h>, so that they are exercised against a fake platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "folders/install_folders.h"
#include "permission/answer.h"
#include "platform/platform.h"

namespace 보안방화벽 {
class 실행거부;
}

namespace 메시지 {
inline constexpr wchar_t 설정정상[] = L"보안설정이 잘되어 있습니다.";
inline constexpr wchar_t 설정문제[] = L"보안설정에 문제가 있습니다.";
inline constexpr wchar_t 설정완료[] = L"보안설정이 잘되었습니다.";
inline constexpr wchar_t 설정실패[] = L"보안설정이 잘 안되었습니다.";
inline constexpr wchar_t 관리자권한필요[] =
    L"관리자 권한이 필요합니다.\r\n\r\n"
    L"현재 프로그램을 실행할 때 오른쪽마우스로 클릭하여 [관리자 권한으로 실행]을 선택하세요.";
inline constexpr wchar_t 제품선택필요[] = L"목록에서 프로그램을 선택하세요.";
inline constexpr wchar_t 폴더없음꼬리[] = L" - 폴더가 없습니다.";
inline constexpr wchar_t 관리자실행실패[] =
    L"보안설정을 관리자 권한으로 실행하지 못했습니다.\r\n\r\n";
inline constexpr wchar_t 복원완료꼬리[] =
    L"\r\n\r\n처음 보안설정을 하기 전에 이 파일에 보관한 접근 목록으로 되돌렸습니다. 그 뒤에 보관한 "
    L"목록은 보관 폴더에 그대로 있습니다.";
inline constexpr wchar_t 복원실패[] = L"보관한 접근 목록으로 되돌렸지만 확인되지 않았습니다.";
inline constexpr wchar_t 보관없음[] = L"보관한 접근 목록이 없어 아무것도 바꾸지 않았습니다.";
inline constexpr wchar_t 폴더아님꼬리[] = L" - 폴더가 아니어서 열지 않았습니다.";
inline constexpr wchar_t 도움말복사[] =
    L"관리자 권한으로 실행 중이어서 도움말 페이지를 직접 열지 않았습니다.\r\n"
    L"아래 주소를 복사해 두었으니 브라우저의 주소 표시줄에 붙여 넣으세요(Ctrl+V).\r\n\r\n";
inline constexpr wchar_t 도움말손복사[] =
    L"관리자 권한으로 실행 중이어서 도움말 페이지를 직접 열지 않았습니다.\r\n"
    L"주소를 복사하지 못했으니 아래 주소를 브라우저의 주소 표시줄에 직접 입력하세요.\r\n\r\n";
inline constexpr wchar_t 가상저장소모름[] =
    L"임시 폴더(TEMP) 설정이 올바르지 않아 가상 폴더의 위치를 알 수 없습니다.";
inline constexpr wchar_t 폴더복사[] =
    L"관리자 권한으로 실행 중이어서 폴더를 직접 열지 않았습니다.\r\n"
    L"아래 폴더의 경로를 복사해 두었으니 파일 탐색기의 주소 표시줄에 붙여 넣으세요(Ctrl+V).\r\n\r\n";
inline constexpr wchar_t 폴더손복사[] =
    L"관리자 권한으로 실행 중이어서 폴더를 직접 열지 않았습니다.\r\n"
    L"경로를 복사하지 못했으니 아래 폴더를 파일 탐색기의 주소 표시줄에 직접 입력하세요.\r\n\r\n";
inline constexpr wchar_t 자기파일위험[] =
    L"이 사용자가 바꿀 수 있는 곳에 보안설정 프로그램이 있어 관리자 권한으로 실행하지 "
    L"않았습니다. 관리자만 바꿀 수 있는 폴더(예: 설치 패키지가 설치하는 C:\\Program Files\\BoanSetting)에 "
    L"프로그램을 넣고 거기서 실행하세요.\r\n\r\n";
inline constexpr wchar_t 관리자실행오류[] =
    L"관리자 권한으로 실행한 보안설정이 오류로 끝났습니다. 관리자 권한으로 연 명령 "
    L"프롬프트에서 보안설정 프로그램이 있는 폴더로 가서 다음 명령을 실행하면 이유가 "
    L"나옵니다.\r\n\r\n";
inline constexpr wchar_t 콘솔프로그램[] = L"boansetting ";
inline constexpr wchar_t 네트워크폴더꼬리[] =
    L" - 네트워크에 있는 폴더라 보안설정을 확인하거나 바꾸지 않았습니다. 이 컴퓨터의 "
    L"디스크에 있는 설치 폴더만 다룹니다.";
inline constexpr wchar_t 준비안된폴더꼬리[] =
    L" - 드라이브가 준비되지 않아 보안설정을 확인하거나 바꾸지 않았습니다.";
// What the window's box of a failure begins with, the detail below it: for
// most, the IT staff's to look into; for a drive not ready, the user's own.
inline constexpr wchar_t 관리자에게[] =
    L"전산 담당자(관리자)에게 알리세요. 아래는 전산 담당자가 볼 내용입니다.\r\n\r\n";
inline constexpr wchar_t 드라이브확인[] =
    L"드라이브가 연결되어 있는지 확인한 뒤 다시 하세요.\r\n\r\n";
}  // namespace 메시지

// The page that explains how to set the permission by hand.
inline constexpr wchar_t 도움말주소[] = L"http://www.torvane.co.kr/xe/FAQ/44187";

// What a command came to, as the permission module answers it; the window
// shows 보일메시지, the command line prints 판정하기's word.
using 보안방화벽::결과종류;
using 보안방화벽::명령결과;

// What the window says for a result.
std::wstring 보일메시지(const 명령결과& 결과);

namespace 명령줄 {

// The command line's exit codes. When several apply, the larger trouble
// wins: 시스템실패 over 관리자필요 over 미확인 over 미비 over 정상.
enum 종료코드 : int {
    정상 = 0,        // every product fine (check), or granted (fix) or restored and confirmed
    미비 = 1,        // a product lacks the entry, was not granted or restored, or is not installed
    인자오류 = 2,    // bad arguments or an unknown product; nothing ran
    관리자필요 = 3,  // a fix needs administrator rights this process lacks
    시스템실패 = 4,  // a file step, cacls missing, an unsafe path refused, any other failure
    미확인 = 5,      // a fix was granted, but the check afterwards did not find the entry
};

// What the command line prints for a result, and the exit code it makes
// (`관리자`: whether this process is elevated).
struct 판정 {
    std::wstring 낱말;
    int 코드;
};
판정 판정하기(const 명령결과& 결과, bool 관리자);

// The arguments of an elevated run that fixes one product, by its list name.
std::wstring 설정인자(const std::wstring& 목록이름);

}  // namespace 명령줄

// The two commands on the product the window's list or the command line
// names. They never show anything themselves.
명령결과 보안검사(플랫폼& 시스템, const 설치폴더::제품위치& 제품);
명령결과 보안설정(플랫폼& 시스템, const 설치폴더::제품위치& 제품);
// Puts back the access list the first grant on the folder replaced.
명령결과 보안복원(플랫폼& 시스템, const 설치폴더::제품위치& 제품);

// What a refusal of the permission module says: why, then, after a blank
// line, the path concerned or the file step that failed
// (folders/file_error_text.h words it).
std::wstring 거부메시지(const 보안방화벽::실행거부& 거부);

// Why nothing may run on the products under the program-files folder
// `기준`: it lies on a network drive or path, or on a drive that is not
// ready. Nothing when it may.
std::optional<명령결과> 프로그램폴더문제(const 플랫폼& 시스템, const std::wstring& 기준);

// The click handlers take the list's text as it stands when the button is
// pressed, and work out the product's folders from it once (제품위치찾기).
//
// Index 0 of `보안체크C` checks the install folder; any other index grants the
// Users entry and checks again. Elevated, the grant runs in this process;
// otherwise an elevated run of the program's command line grants (see
// 관리자로설정), and this process checks afterwards.
void 보안체크_클릭(플랫폼& 시스템, const std::wstring& 목록텍스트, std::int16_t 인덱스);

// The fix as an ordinary user's window does it: starts the program elevated
// with `/fix <product>`, waits for it, and checks itself. A declined prompt,
// or a run that could not grant, ends in 관리자권한필요, so that the picture
// that tells the user to start over as administrator stays true; a run that
// ended with a system failure, in the command that shows why. Where the user
// could change the program's file, nothing is started.
명령결과 관리자로설정(플랫폼& 시스템, const 설치폴더::제품위치& 제품);

// Whether "2. 보안설정" carries the elevation shield: when pressing it will
// ask for administrator rights.
bool 설정에방패(const 플랫폼& 시스템);

// True when `경로` is a folder (not a file, not missing), or a link standing
// in a folder's place.
bool 폴더있음(플랫폼& 시스템, const std::wstring& 경로);

// Index 0 of `Pelorant폴더C` opens the real install folder, any other index
// its VirtualStore copy. Elevated, only a folder is opened, and only through
// the user's own desktop shell, or else its path is put on the clipboard and
// shown.
void 폴더열기_클릭(플랫폼& 시스템, const std::wstring& 목록텍스트, std::int16_t 인덱스);

// Opens the help page; elevated, in the user's own context, or, where that
// cannot be done, puts its address on the clipboard and shows it.
void 수동권한_클릭(플랫폼& 시스템);

// The captions that picking `목록텍스트` gives the two folder buttons.
struct 폴더버튼캡션 {
    std::wstring 실제폴더;  // element 0, "4. ..."
    std::wstring 가상폴더;  // element 1, "3. 가상 ..."
};
폴더버튼캡션 폴더버튼캡션만들기(const std::wstring& 목록텍스트);

// The status bar's clock in the Korean short time format of Windows
// ("오후 3:27"), written out here because not every system's locale data
// carries the Korean morning and afternoon markers.
std::wstring 한국어시각(int 시, int 분);
