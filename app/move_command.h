// `/move`: the running account's VirtualStore copy of a product moved back
// without a question (running it is the yes), by the window's own move
// (folders/virtual_store_move.h), and its summary appended to the account's
// log (folders/move_log.h).
//
// It needs no administrator rights and asks for none: it works with the
// account's own token, or elevated with the unelevated one linked to it,
// and needs no desktop shell (at logon there may be none yet). Where there
// is no such token (SYSTEM, UAC off) nothing tells what the user may change,
// and it moves nothing. A copy with nothing in it costs two folder opens:
// no cmd, no cacls, no file written.
#pragma once

#include <string>

#include "app/commands.h"
#include "folders/install_folders.h"
#include "folders/virtual_store_move.h"
#include "platform/platform.h"

namespace 옮기기문구 {
inline constexpr wchar_t 토큰없음[] =
    L"SYSTEM으로 또는 사용자 계정 컨트롤 없이 관리자로 실행되어, 로그온한 사용자가 바꿀 수 있는 "
    L"파일을 가릴 수 없으므로 옮기지 않았습니다. 사용자가 로그온할 때 그 사용자로 실행하세요.";
inline constexpr wchar_t 가상위치모름[] =
    L"이 계정의 가상 폴더 위치를 알 수 없거나(LOCALAPPDATA) 이 계정의 프로필 밖이어서 옮기지 "
    L"않았습니다.";
inline constexpr wchar_t 기록실패[] = L"옮긴 기록을 남기지 못했습니다: ";
}  // namespace 옮기기문구

// Where the product's copy goes and its backups: the one value the window's
// offer and `/move` move by. The first grant's time is left 0 (see 첫부여때).
가상폴더옮기기::옮길곳 옮길곳만들기(const 설치폴더::제품위치& 제품);

// When the product's install folder was first granted, from the kept lists;
// 0 where they are out of reach (without administrator rights only
// administrators may read them) or hold none.
long long 첫부여때(플랫폼& 시스템, const 설치폴더::제품위치& 제품);

// What `/move` came to for one product, and, where the move ran but its
// log could not be written, where and why (else empty).
struct 옮김답 {
    명령결과 결과;
    std::wstring 기록실패;
};
옮김답 자료옮기기(플랫폼& 시스템, const 설치폴더::제품위치& 제품);
