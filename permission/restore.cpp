// Putting a kept list back: see 권한복원 in permission.h.
#include <optional>
#include <string>

#include "permission/batch_runs.h"
#include "permission/permission.h"
#include "permission/tree_links.h"

namespace 보안방화벽 {
namespace {

// After a grant every user may change the tree, and the restore's cacls
// walks it by path: a program of another account could make a link in it
// the moment cacls starts, and nothing the walk holds keeps a new folder
// from becoming one.
void 다른사용자없는지(플랫폼& 시스템) {
    std::optional<남의프로세스> 남의것;
    try {
        남의것 = 시스템.다른사용자프로세스();
    } catch (const 파일오류& 오류) {
        거부(거부문구::프로그램확인못함, 오류);
    }
    if (남의것)
        거부(거부문구::사용자프로그램실행중,
             남의것->이름 + L" (PID " + std::to_wstring(남의것->번호) + L", " + 남의것->계정 + L")");
}

// The kept file to put back and the list in it, or the answer that stops
// the restore before anything runs.
struct 보관한것 {
    std::wstring 파일, 목록;
    std::optional<복원답> 멈춤;
};

보관한것 되돌릴보관(플랫폼& 시스템, const std::wstring& 대상경로, bool 목록이지켜짐) {
    보관한것 결과;
    try {
        결과.파일 = 첫보관파일(시스템, 보관폴더열기(시스템), 폴더이름(대상경로));
    } catch (const 파일오류&) {
        if (!시스템.관리자권한()) return {{}, {}, 복원답{복원결과::거부됨, {}}};
        throw;
    }
    if (결과.파일.empty()) return {{}, {}, 복원답{복원결과::보관없음, {}}};
    결과.목록 = 보관목록읽기(시스템, 결과.파일);
    // Where lists are made up (Wine), none is worth more than another.
    if (목록이지켜짐) {
        if (const wchar_t* 사유 = 되돌리지않을사유(되돌릴목록인지(결과.목록)))
            결과.멈춤 = 복원답{복원결과::믿을수없음, 사유 + std::wstring(L"\r\n\r\n") + 결과.파일};
    }
    return 결과;
}

}  // namespace

복원답 권한복원(플랫폼& 시스템, const 대상폴더& 목표) {
    const std::wstring& 대상경로 = 목표.경로;
    const bool 목록이지켜짐 = 시스템.접근목록이지켜짐();
    const 보관한것 보관 = 되돌릴보관(시스템, 대상경로, 목록이지켜짐);
    if (보관.멈춤) return *보관.멈춤;
    붙잡은폴더들 하위폴더들;  // as in 권한부여
    const 플래그 처리 = 목록설정(시스템, 목표, 보관.목록, [&](const 보유& 대상) {
        if (시스템.관리자권한()) {
            다른사용자없는지(시스템);
            링크없는지(시스템, 대상, 대상경로, 거부문구::링크있음, &하위폴더들);
        }
        return true;
    });
    // Decided by a query, as the grant's answer is, whatever cacls printed.
    std::optional<남의항목> 남의것;
    const std::wstring 설명자 = 조회한설명자(시스템, 목표, [&](const 보유& 대상) {
        if (목록이지켜짐) 남의것 = 남이바꿀수있는항목(시스템, 대상, 대상경로);
        return true;
    });
    switch (되돌린목록비교(설명자, 보관.목록)) {
    case 되돌린목록::다름: return {처리 == 참 ? 복원결과::확인안됨 : 복원결과::거부됨, {}};
    case 되돌린목록::보호다름:
        return {복원결과::믿을수없음, 복원사유::보호바뀜 + (L"\r\n\r\n" + 보관.파일) + L"\r\n" + 설명자};
    case 되돌린목록::같음: break;
    }
    // Whoever owns the folder, or anything in it, may change its list again
    // at once; an entry's own list may let others write whatever is above.
    if (남의것) return {복원결과::믿을수없음, 믿을수없는까닭(남의것->경로, 남의것->소유자, 대상경로)};
    return {복원결과::복원됨, 보관.파일};
}

}  // namespace 보안방화벽
