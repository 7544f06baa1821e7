// The click handlers' rules: see commands.h.
#include "app/commands.h"

#include <iterator>
#include <optional>

#include "folders/file_error_text.h"
#include "app/move_command.h"
#include "folders/virtual_store_move.h"
#include "permission/permission.h"

namespace {

// Each result's words and box in the window, word on the command line and
// exit code, elevated and not: the one place a result becomes any of them.
struct 결과행 {
    결과종류 종류;
    const wchar_t* 메시지;  // follows the result's reason, if any
    상자종류 상자;
    const wchar_t* 낱말;    // followed by the message where it ends in ": "
    int 관리자코드;
    int 일반코드;
};

using namespace 명령줄;
// Refused to an elevated process, a folder is beyond what rights can fix
// here; refused to an ordinary one, running as administrator will.
// A box warns of what the user can put right, and shows an error where the
// tool failed or cannot vouch for what it did.
constexpr auto 알림상자 = 상자종류::알림, 경고상자 = 상자종류::경고, 오류상자 = 상자종류::오류;
constexpr 결과행 결과표[] = {
    {결과종류::설정정상, 메시지::설정정상, 알림상자, L"ok", 정상, 정상},
    {결과종류::설정문제, 메시지::설정문제, 경고상자, L"missing", 미비, 미비},
    {결과종류::설정완료, 메시지::설정완료, 알림상자, L"granted", 정상, 정상},
    {결과종류::설정실패, 메시지::설정실패, 오류상자, L"unconfirmed", 미확인, 미확인},
    {결과종류::관리자권한필요, 메시지::관리자권한필요, 경고상자, L"not-granted", 미비, 관리자필요},
    {결과종류::복원완료, 메시지::복원완료꼬리, 알림상자, L"restored: ", 정상, 정상},
    {결과종류::복원실패, 메시지::복원실패, 오류상자, L"not-restored", 미비, 미비},
    {결과종류::복원권한필요, 메시지::관리자권한필요, 경고상자, L"not-restored", 미비, 관리자필요},
    {결과종류::보관없음, 메시지::보관없음, 경고상자, L"nothing-saved", 미비, 미비},
    {결과종류::복원거부, L"", 오류상자, L"not-restored: ", 미비, 미비},
    {결과종류::옮김완료, L"", 알림상자, L"moved", 정상, 정상},
    {결과종류::옮길것없음, L"", 알림상자, L"nothing-to-move", 정상, 정상},
    {결과종류::옮기지못함, L"", 오류상자, L"not-moved: ", 미비, 미비},
    {결과종류::폴더없음, 메시지::폴더없음꼬리, 경고상자, L"no-folder", 미비, 미비},
    {결과종류::제품없음, 메시지::제품선택필요, 경고상자, L"error: ", 시스템실패, 시스템실패},
    {결과종류::시스템오류, L"", 오류상자, L"error: ", 시스템실패, 시스템실패},
};

const 결과행& 행(결과종류 종류) {
    for (const 결과행& 한행 : 결과표)
        if (한행.종류 == 종류) return 한행;
    return 결과표[std::size(결과표) - 1];
}

명령결과 결과(결과종류 종류, std::wstring 사유 = {}) { return {종류, std::move(사유)}; }

// Runs `할일` on the product's install folder once it is known to be safe
// to run on; every failure on the way becomes a result.
명령결과 제품에실행(플랫폼& 시스템, const 설치폴더::제품위치& 제품, 보안방화벽::명령 할일) {
    // An unknown product would leave the bare program-files folder as the
    // target, and granting there would open every installed program to all.
    if (제품.폴더이름.empty()) return 결과(결과종류::제품없음);
    if (auto 문제 = 프로그램폴더문제(시스템, 제품.프로그램폴더)) return *문제;
    try {
        return 보안방화벽::실행(시스템, 제품.설치경로(), 할일);
    } catch (const 보안방화벽::실행거부& 거부) {
        return 결과(결과종류::시스템오류, 거부메시지(거부));
    } catch (const 파일오류& 오류) {
        return 결과(결과종류::시스템오류, 파일오류메시지(오류));
    }
}

// The result an elevated `/fix` run's exit code stands for, before this
// process checks for itself; nothing when only the check can tell.
std::optional<결과종류> 관리자실행의결과(bool 거절됨, unsigned long 코드) {
    // A declined prompt, or a run that could not grant, keeps the picture
    // that tells the user to start over as administrator true.
    if (거절됨 || 코드 == 미비 || 코드 == 관리자필요 || 코드 == 인자오류)
        return 결과종류::관리자권한필요;
    if (코드 == 시스템실패) return 결과종류::시스템오류;
    // Granted, but not found afterwards: rights were not what was missing.
    if (코드 == 미확인) return 결과종류::설정실패;
    return std::nullopt;
}

// What the window says once the elevated run has ended with `종료코드` and
// its own check came to `확인`.
명령결과 관리자실행후(unsigned long 종료코드, 명령결과 확인) {
    if (확인.종류 != 결과종류::설정정상 && 확인.종류 != 결과종류::설정문제) return 확인;
    if (종료코드 == 명령줄::정상 && 확인.종류 == 결과종류::설정정상)
        return 결과(결과종류::설정완료);
    return 결과(결과종류::설정실패);
}

}  // namespace

namespace 명령줄 {

판정 판정하기(const 명령결과& 결과, bool 관리자) {
    const 결과행& 그행 = 행(결과.종류);
    const std::wstring 낱말 = 그행.낱말;
    return {낱말.back() == L' ' ? 낱말 + 보일메시지(결과) : 낱말,
            관리자 ? 그행.관리자코드 : 그행.일반코드};
}

std::wstring 설정인자(const std::wstring& 목록이름) { return L"/fix " + 목록이름; }

}  // namespace 명령줄

std::wstring 보일메시지(const 명령결과& 결과) { return 결과.사유 + 행(결과.종류).메시지; }

namespace {

bool 끝이(const std::wstring& 글, const std::wstring& 끝) {
    return 글.size() >= 끝.size() && 글.compare(글.size() - 끝.size(), 끝.size(), 끝) == 0;
}

// The window's box for a result. Office staff read it, and the reason for a
// failure is mostly for the IT staff: the box begins with what to do at the
// window. Another window at work already says so itself.
void 결과보이기(플랫폼& 시스템, const 명령결과& 결과) {
    const std::wstring 글 = 보일메시지(결과);
    const wchar_t* 앞말 = L"";
    if (결과.종류 == 결과종류::시스템오류 && 글.rfind(보안방화벽::거부문구::다른창작업중, 0) != 0)
        앞말 = 끝이(글, 메시지::준비안된폴더꼬리) ? 메시지::드라이브확인 : 메시지::관리자에게;
    시스템.메시지상자(앞말 + 글, 행(결과.종류).상자);
}

}  // namespace

std::wstring 거부메시지(const 보안방화벽::실행거부& 거부) {
    if (거부.원인()) return 거부.문구() + L"\r\n\r\n" + 경로와오류문구(*거부.원인());
    if (거부.대상().empty()) return 거부.문구();
    return 거부.문구() + L"\r\n\r\n" + 거부.대상();
}

// A folder of another computer is that computer's to protect, and an
// elevated process does not see the drives the user mapped; a drive that
// is not ready has no folder to answer for. Either would otherwise read as
// a missing product, or as a refusal.
std::optional<명령결과> 프로그램폴더문제(const 플랫폼& 시스템, const std::wstring& 기준) {
    switch (시스템.드라이브(기준)) {
    case 드라이브종류::네트워크: return 결과(결과종류::시스템오류, 기준 + 메시지::네트워크폴더꼬리);
    case 드라이브종류::준비안됨: return 결과(결과종류::시스템오류, 기준 + 메시지::준비안된폴더꼬리);
    case 드라이브종류::이컴퓨터: break;
    }
    return std::nullopt;
}

// Asked without listing the folder: a folder whose access list denies
// listing is still there, and that is just what the fix repairs. A junction
// or link counts as there; the permission module refuses it by name.
bool 폴더있음(플랫폼& 시스템, const std::wstring& 경로) {
    return 시스템.폴더고정(경로).상태 != 폴더상태::없음;
}

명령결과 보안검사(플랫폼& 시스템, const 설치폴더::제품위치& 제품) {
    return 제품에실행(시스템, 제품, 보안방화벽::명령::검사);
}

명령결과 보안설정(플랫폼& 시스템, const 설치폴더::제품위치& 제품) {
    return 제품에실행(시스템, 제품, 보안방화벽::명령::설정);
}

명령결과 보안복원(플랫폼& 시스템, const 설치폴더::제품위치& 제품) {
    return 제품에실행(시스템, 제품, 보안방화벽::명령::복원);
}

namespace {

// Once the folder lets every user write, the files Windows redirected into
// the VirtualStore copy can go back where the product expects them.
void 가상폴더옮기기제안(플랫폼& 시스템, const 설치폴더::제품위치& 제품) {
    if (제품.가상_프로그램폴더.empty()) return;
    가상폴더옮기기::옮길곳 곳 = 옮길곳만들기(제품);
    곳.첫부여때 = 첫부여때(시스템, 제품);
    가상폴더옮기기::제안하기(시스템, 곳);
}

}  // namespace

명령결과 관리자로설정(플랫폼& 시스템, const 설치폴더::제품위치& 제품) {
    if (제품.폴더이름.empty()) return 결과(결과종류::제품없음);
    // Asking for rights that could not help would only teach users to
    // click the prompt away.
    if (auto 문제 = 프로그램폴더문제(시스템, 제품.프로그램폴더)) return *문제;
    const std::wstring 대상 = 제품.설치경로();
    if (!폴더있음(시스템, 대상)) return 결과(결과종류::폴더없음, 대상);

    // Only the product's name crosses to the elevated run, which works out
    // the folder itself: nothing this process computed is trusted.
    const std::wstring 인자 = 명령줄::설정인자(제품.목록이름);
    관리자실행결과 실행;
    try {
        // A program the user could replace, or plant a DLL beside, would
        // run their code with the rights the prompt grants.
        if (const std::wstring 바뀔곳 = 시스템.바꿀수있는자기경로(); !바뀔곳.empty())
            return 결과(결과종류::시스템오류, 메시지::자기파일위험 + 바뀔곳);
        실행 = 시스템.관리자로실행(인자);
    } catch (const 파일오류& 오류) {
        return 결과(결과종류::시스템오류,
                    메시지::관리자실행실패 + 경로와오류문구(오류));
    }
    const std::optional<결과종류> 실행결과 = 관리자실행의결과(실행.거절됨, 실행.종료코드);
    // What failed is the elevated run's to say, and only a prompt shows it.
    if (실행결과 == 결과종류::시스템오류)
        return 결과(결과종류::시스템오류,
                    std::wstring(메시지::관리자실행오류) + 메시지::콘솔프로그램 + 인자);
    if (실행결과) return 결과(*실행결과);
    return 관리자실행후(실행.종료코드, 보안검사(시스템, 제품));
}

bool 설정에방패(const 플랫폼& 시스템) { return !시스템.관리자권한(); }

void 보안체크_클릭(플랫폼& 시스템, const std::wstring& 목록텍스트, std::int16_t 인덱스) {
    const 설치폴더::제품위치 제품 = 설치폴더::제품위치찾기(시스템, 목록텍스트);
    const 명령결과 결과 = 인덱스 == 0            ? 보안검사(시스템, 제품)
                          : 시스템.관리자권한() ? 보안설정(시스템, 제품)
                                                : 관리자로설정(시스템, 제품);
    결과보이기(시스템, 결과);
    if (결과.종류 == 결과종류::설정정상 || 결과.종류 == 결과종류::설정완료)
        가상폴더옮기기제안(시스템, 제품);
}

namespace {

// Puts `대상` on the clipboard and says so in the box, which copies only as
// a whole (Ctrl+C in a box takes its every line); where the clipboard
// cannot be set, the box asks to type it.
void 복사해보이기(플랫폼& 시스템, const wchar_t* 복사했음, const wchar_t* 못했음,
                  const std::wstring& 대상) {
    시스템.메시지상자((시스템.클립보드에(대상) ? 복사했음 : 못했음) + 대상, 알림상자);
}

// Elevated, "open" would start what the user registered for folders (or, for
// a file in the folder's place, for that file) as administrator, and an
// explorer.exe started from here would be a file manager with administrator
// rights (a whole desktop, where the user has ended their own). So the
// user's own desktop shell opens it, as the user, and where there is none
// the path is put on the clipboard to paste. Only a folder is handed over:
// the hold keeps it from being renamed or replaced meanwhile.
void 관리자로폴더열기(플랫폼& 시스템, const std::wstring& 경로) {
    try {
        const 폴더고정결과 고정 = 시스템.폴더고정(경로);
        if (고정.상태 == 폴더상태::고정됨) {
            if (!시스템.사용자로열기(경로)) 복사해보이기(시스템, 메시지::폴더복사, 메시지::폴더손복사, 경로);
            return;
        }
        const bool 없음 = 고정.상태 == 폴더상태::없음 &&
                          시스템.존재검사(경로, 속성마스크::숨김포함).empty();
        시스템.메시지상자(경로 + (없음 ? 메시지::폴더없음꼬리 : 메시지::폴더아님꼬리), 경고상자);
    } catch (const 파일오류& 오류) {
        시스템.메시지상자(경로와오류문구(오류), 오류상자);
    }
}

}  // namespace

void 폴더열기_클릭(플랫폼& 시스템, const std::wstring& 목록텍스트, std::int16_t 인덱스) {
    const 설치폴더::제품위치 제품 = 설치폴더::제품위치찾기(시스템, 목록텍스트);
    if (인덱스 != 0 && 제품.가상_프로그램폴더.empty()) {
        시스템.메시지상자(메시지::가상저장소모름, 오류상자);
        return;
    }
    const std::wstring 경로 = 인덱스 != 0 ? 제품.가상경로() : 제품.설치경로();
    if (시스템.관리자권한()) {
        관리자로폴더열기(시스템, 경로);
        return;
    }
    if (시스템.존재검사(경로, 속성마스크::폴더포함).empty()) {
        시스템.메시지상자(경로 + 메시지::폴더없음꼬리, 경고상자);
        return;
    }
    시스템.셸열기(경로);
}

void 수동권한_클릭(플랫폼& 시스템) {
    if (!시스템.관리자권한()) {
        시스템.셸열기(도움말주소);
        return;
    }
    // Elevated, "open" would start the browser, or whatever the user
    // registered for web addresses, as administrator.
    if (!시스템.사용자로열기(도움말주소))
        복사해보이기(시스템, 메시지::도움말복사, 메시지::도움말손복사, 도움말주소);
}

폴더버튼캡션 폴더버튼캡션만들기(const std::wstring& 목록텍스트) {
    return {L"4. " + 목록텍스트 + L" 폴더 열기", L"3. 가상 " + 목록텍스트 + L" 폴더 열기"};
}

std::wstring 한국어시각(int 시, int 분) {
    const int 열두시간 = 시 % 12 == 0 ? 12 : 시 % 12;
    return std::wstring(시 < 12 ? L"오전 " : L"오후 ") + std::to_wstring(열두시간) +
           (분 < 10 ? L":0" : L":") + std::to_wstring(분);
}
