// The click handlers' rules: see commands.h.
#include "app/commands.h"

#include <optional>

#include "folders/install_folders.h"
#include "permission/permission.h"

namespace {

using 보안방화벽::참;

std::wstring 파일오류메시지(const 파일오류& 오류) {
    return L"임시 파일을 처리하지 못해 작업을 끝내지 못했습니다.\r\n\r\n" + 오류.경로() +
           L"\r\n" + 오류.설명();
}

명령결과 결과(결과종류 종류, std::wstring 메시지) { return {종류, std::move(메시지)}; }

명령결과 검사결과(플랫폼& 시스템, const std::wstring& 대상) {
    return 보안방화벽::권한검사(시스템, 대상) == 참 ? 결과(결과종류::설정정상, 메시지::설정정상)
                                                     : 결과(결과종류::설정문제, 메시지::설정문제);
}

명령결과 부여결과(플랫폼& 시스템, const std::wstring& 대상) {
    if (보안방화벽::권한부여(시스템, 대상) != 참)
        return 결과(결과종류::관리자권한필요, 메시지::관리자권한필요);
    // A second, separate query: the grant's own output says only that the
    // folder was processed, not what its access list now holds.
    return 보안방화벽::권한검사(시스템, 대상) == 참 ? 결과(결과종류::설정완료, 메시지::설정완료)
                                                     : 결과(결과종류::설정실패, 메시지::설정실패);
}

// Asked without listing the folder: a folder whose access list denies
// listing is still there, and that is just what the fix repairs. A junction
// or link counts as there; the permission module refuses it by name.
bool 폴더있음(플랫폼& 시스템, const std::wstring& 경로) {
    return 시스템.폴더고정(경로).상태 != 폴더상태::없음;
}

// Why the command cannot run on `대상`, or nothing when it can. Without these
// checks a missing folder or a missing cacls would read as "no permission"
// and, after a fix, as "administrator rights needed".
std::optional<명령결과> 실행할수없는이유(플랫폼& 시스템, const std::wstring& 대상) {
    if (!폴더있음(시스템, 대상)) return 결과(결과종류::폴더없음, 대상 + 메시지::폴더없음꼬리);
    const std::wstring cacls = 시스템.시스템폴더() + L"\\cacls.exe";
    if (시스템.존재검사(cacls, 속성마스크::일반파일).empty())
        return 결과(결과종류::시스템오류, 메시지::cacls없음 + cacls);
    return std::nullopt;
}

// Runs `명령` on the product's install folder once it is known to be safe
// to run on; every failure on the way becomes a result.
명령결과 제품에실행(플랫폼& 시스템, const 설치폴더원본& 폴더,
                  명령결과 (*명령)(플랫폼&, const std::wstring&)) {
    const std::wstring 기준 = 폴더.Q프로그램폴더();
    const std::wstring 이름 = 폴더.Q프로그램_폴더();
    // An unknown product would leave the bare program-files folder as the
    // target, and granting there would open every installed program to all.
    if (이름.empty()) return 결과(결과종류::제품없음, 메시지::제품선택필요);
    const std::wstring 대상 = 설치폴더::대상경로(기준, 이름);
    try {
        if (auto 이유 = 실행할수없는이유(시스템, 대상)) return *이유;
        return 명령(시스템, 대상);
    } catch (const 보안방화벽::실행거부& 거부) {
        return 결과(결과종류::시스템오류, 거부.메시지());
    } catch (const 파일오류& 오류) {
        return 결과(결과종류::시스템오류, 파일오류메시지(오류));
    }
}

}  // namespace

명령결과 보안검사(플랫폼& 시스템, const 설치폴더원본& 폴더) {
    return 제품에실행(시스템, 폴더, 검사결과);
}

명령결과 보안설정(플랫폼& 시스템, const 설치폴더원본& 폴더) {
    return 제품에실행(시스템, 폴더, 부여결과);
}

void 보안체크_클릭(플랫폼& 시스템, const 설치폴더원본& 폴더, std::int16_t 인덱스) {
    시스템.메시지상자((인덱스 == 0 ? 보안검사(시스템, 폴더) : 보안설정(시스템, 폴더)).메시지);
}

void 폴더열기_클릭(플랫폼& 시스템, const 설치폴더원본& 폴더, std::int16_t 인덱스) {
    const std::wstring 기준 = 인덱스 != 0 ? 폴더.Q가상_프로그램폴더() : 폴더.Q프로그램폴더();
    if (기준.empty() && 인덱스 != 0) {
        시스템.메시지상자(메시지::가상저장소모름);
        return;
    }
    const std::wstring 경로 = 설치폴더::대상경로(기준, 폴더.Q프로그램_폴더());
    if (시스템.존재검사(경로, 속성마스크::폴더포함).empty()) {
        시스템.메시지상자(경로 + 메시지::폴더없음꼬리);
        return;
    }
    시스템.셸열기(경로);
}

void 수동권한_클릭(플랫폼& 시스템) {
    시스템.셸열기(도움말주소);
}

폴더버튼캡션 폴더버튼캡션만들기(const std::wstring& 목록텍스트) {
    return {L"4. " + 목록텍스트 + L" 폴더 열기", L"3. 가상 " + 목록텍스트 + L" 폴더 열기"};
}

std::wstring 한국어시각(int 시, int 분) {
    const int 열두시간 = 시 % 12 == 0 ? 12 : 시 % 12;
    return std::wstring(시 < 12 ? L"오전 " : L"오후 ") + std::to_wstring(열두시간) +
           (분 < 10 ? L":0" : L":") + std::to_wstring(분);
}
