// The commands on one install folder and their answer: see answer.h.
#include "permission/answer.h"

#include "permission/permission.h"

namespace 보안방화벽 {
namespace {

명령결과 검사답(플랫폼& 시스템, const 대상폴더& 대상) {
    return {권한검사(시스템, 대상) == 참 ? 결과종류::설정정상 : 결과종류::설정문제, {}};
}

명령결과 설정답(플랫폼& 시스템, const 대상폴더& 대상) {
    const 부여결과 부여 = 권한부여(시스템, 대상);
    // The list read through the hold was already the grant's: nothing ran.
    if (부여 == 부여결과::이미됨) return {결과종류::설정완료, {}};
    // A second, separate query, whatever the grant printed: its output says
    // only that the folder was processed, not what its access list now
    // holds, and says even that only in Korean.
    if (권한검사(시스템, 대상) == 참) return {결과종류::설정완료, {}};
    return {부여 == 부여결과::처리됨 ? 결과종류::설정실패 : 결과종류::관리자권한필요, {}};
}

명령결과 복원답으로(플랫폼& 시스템, const 대상폴더& 대상) {
    복원답 답 = 권한복원(시스템, 대상);
    switch (답.결과) {
    case 복원결과::믿을수없음: return {결과종류::복원거부, std::move(답.사유)};
    case 복원결과::복원됨: return {결과종류::복원완료, std::move(답.사유)};
    case 복원결과::확인안됨: return {결과종류::복원실패, {}};
    case 복원결과::거부됨: return {결과종류::복원권한필요, {}};
    case 복원결과::보관없음: break;
    }
    return {결과종류::보관없음, {}};
}

// Without these a missing folder or a missing cacls would read as "no
// permission" and, after a fix, as "administrator rights needed".
void 실행할수있는지(플랫폼& 시스템) {
    const std::wstring cacls = 시스템.시스템폴더() + L"\\cacls.exe";
    if (시스템.존재검사(cacls, 속성마스크::일반파일).empty()) 거부(거부문구::cacls없음, cacls);
}

}  // namespace

명령결과 실행(플랫폼& 시스템, const std::wstring& 대상경로, 명령 할일) {
    // The path is checked before the folder is looked for: a relative path
    // would be looked for in another folder than the one cmd would be given.
    const 대상폴더 대상 = 대상잡기(시스템, 대상경로);
    // A junction or link counts as there; the procedures refuse it by name.
    if (대상.고정.상태 == 폴더상태::없음) return {결과종류::폴더없음, 대상경로};
    실행할수있는지(시스템);
    switch (할일) {
    case 명령::검사: return 검사답(시스템, 대상);
    case 명령::설정: return 설정답(시스템, 대상);
    case 명령::복원: break;
    }
    return 복원답으로(시스템, 대상);
}

}  // namespace 보안방화벽
