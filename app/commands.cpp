// The click handlers' rules: see commands.h.
#include "app/commands.h"

#include "folders/install_folders.h"
#include "permission/permission.h"

namespace {

using 보안방화벽::참;

std::wstring 파일오류메시지(const 파일오류& 오류) {
    return L"임시 파일을 처리하지 못해 작업을 끝내지 못했습니다.\r\n\r\n" + 오류.경로() +
           L"\r\n" + 오류.설명();
}

const wchar_t* 검사결과(플랫폼& 시스템, const std::wstring& 대상) {
    return 보안방화벽::권한검사(시스템, 대상) == 참 ? 메시지::설정정상 : 메시지::설정문제;
}

const wchar_t* 부여결과(플랫폼& 시스템, const std::wstring& 대상) {
    if (보안방화벽::권한부여(시스템, 대상) != 참) return 메시지::관리자권한필요;
    // A second, separate query: the grant's own output says only that the
    // folder was processed, not what its access list now holds.
    return 보안방화벽::권한검사(시스템, 대상) == 참 ? 메시지::설정완료 : 메시지::설정실패;
}

// A path ending in a separator matches only a folder's own entries, so a
// file of the folder's name does not count.
bool 폴더있음(const 플랫폼& 시스템, const std::wstring& 경로) {
    return !시스템.존재검사(경로 + L"\\", 속성마스크::폴더포함).empty();
}

// Why the command cannot run on `대상`, or empty when it can. Without these
// checks a missing folder or a missing cacls would read as "no permission"
// and, after a fix, as "administrator rights needed".
std::wstring 실행할수없는이유(const 플랫폼& 시스템, const std::wstring& 대상) {
    if (!폴더있음(시스템, 대상)) return 대상 + 메시지::폴더없음꼬리;
    const std::wstring cacls = 시스템.시스템폴더() + L"\\cacls.exe";
    if (시스템.존재검사(cacls, 속성마스크::일반파일).empty()) return 메시지::cacls없음 + cacls;
    return {};
}

}  // namespace

void 보안체크_클릭(플랫폼& 시스템, const 설치폴더원본& 폴더, std::int16_t 인덱스) {
    const std::wstring 기준 = 폴더.Q프로그램폴더();
    const std::wstring 이름 = 폴더.Q프로그램_폴더();
    // An unknown product would leave the bare program-files folder as the
    // target, and granting there would open every installed program to all.
    if (이름.empty()) {
        시스템.메시지상자(메시지::제품선택필요);
        return;
    }
    const std::wstring 대상 = 설치폴더::대상경로(기준, 이름);
    if (const std::wstring 이유 = 실행할수없는이유(시스템, 대상); !이유.empty()) {
        시스템.메시지상자(이유);
        return;
    }
    try {
        시스템.메시지상자(인덱스 == 0 ? 검사결과(시스템, 대상) : 부여결과(시스템, 대상));
    } catch (const 파일오류& 오류) {
        시스템.메시지상자(파일오류메시지(오류));
    }
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
