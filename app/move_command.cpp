// `/move`: see move_command.h.
#include "app/move_command.h"

#include "folders/file_error_text.h"
#include "folders/move_log.h"
#include "folders/virtual_store_report.h"
#include "permission/kept_lists.h"
#include "permission/permission.h"
#include "platform/names.h"

namespace {

std::wstring 부모폴더(const std::wstring& 경로) {
    const auto 구분자 = 경로.rfind(L'\\');
    return 구분자 == std::wstring::npos ? std::wstring() : 경로.substr(0, 구분자);
}

// "2026-12-08 09:05:07 Pelorant", then the copy and the install folder,
// then the summary the window would have shown.
std::wstring 기록항목(플랫폼& 시스템, const 가상폴더옮기기::옮길곳& 곳, const std::wstring& 요약) {
    return std::wstring(옮김기록::머리) + 시각이름(시스템.지금(), L":") + L" /move " + 곳.목록이름 +
           L"\r\n" + 곳.가상폴더 + L" -> " + 곳.설치폴더 + L"\r\n" + 요약 + L"\r\n\r\n";
}

명령결과 못옮김(const std::wstring& 까닭) { return {결과종류::옮기지못함, 까닭}; }

}  // namespace

가상폴더옮기기::옮길곳 옮길곳만들기(const 설치폴더::제품위치& 제품) {
    // The VirtualStore lies in the local application-data folder, which is
    // the user's own: the backups go there too.
    return {제품.가상경로(), 제품.설치경로(), 부모폴더(부모폴더(제품.가상_프로그램폴더)), 제품.폴더이름,
            제품.목록이름};
}

long long 첫부여때(플랫폼& 시스템, const 설치폴더::제품위치& 제품) {
    if (!시스템.관리자권한()) return 0;
    try {
        return 보안방화벽::첫보관때(시스템, 보안방화벽::보관폴더열기(시스템), 제품.폴더이름);
    } catch (const 보안방화벽::실행거부&) {
    } catch (const 파일오류&) {
    }
    return 0;  // the bound then rests on the copy's own times
}

옮김답 자료옮기기(플랫폼& 시스템, const 설치폴더::제품위치& 제품) {
    if (제품.폴더이름.empty()) return {{결과종류::제품없음, {}}, {}};
    if (auto 문제 = 프로그램폴더문제(시스템, 제품.프로그램폴더)) return {*문제, {}};
    if (!폴더있음(시스템, 제품.설치경로())) return {{결과종류::폴더없음, 제품.설치경로()}, {}};
    if (!시스템.사용자토큰있음()) return {못옮김(옮기기문구::토큰없음), {}};
    if (제품.가상_프로그램폴더.empty()) return {못옮김(옮기기문구::가상위치모름), {}};
    가상폴더옮기기::옮길곳 곳 = 옮길곳만들기(제품);
    const size_t 수 = 가상폴더옮기기::파일수(시스템, 곳.가상폴더);
    if (수 == 0) return {{결과종류::옮길것없음, {}}, {}};
    곳.첫부여때 = 첫부여때(시스템, 제품);
    const 가상폴더옮기기::옮긴결과 일 = 가상폴더옮기기::옮기기(시스템, 곳, 수);
    const std::wstring 까닭 = 가상폴더옮기기::못옮긴까닭(일);
    옮김답 답{까닭.empty() ? 명령결과{결과종류::옮김완료, {}} : 못옮김(까닭), {}};
    try {
        옮김기록::남기기(시스템, 기록항목(시스템, 곳, 가상폴더옮기기::결과메시지(일)));
    } catch (const 가상폴더옮기기::멈춤& 멈춘곳) {
        답.기록실패 = 가상폴더옮기기::멈춘곳글(멈춘곳);
    } catch (const 파일오류& 오류) {
        // The files are moved whatever became of their trace (a file where
        // the log's folder belongs, say): the line still says so.
        답.기록실패 = 경로와오류문구(오류);
    }
    return 답;
}
