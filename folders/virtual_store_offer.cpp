// The window's offer of the VirtualStore move, and what the move would
// bring over: see virtual_store_move.h. The move itself is in
// virtual_store_move.cpp.
#include "folders/virtual_store_move.h"

#include "folders/virtual_store_report.h"

namespace 가상폴더옮기기 {
namespace {

// Links are not counted and not entered, and a folder that cannot be read
// counts as empty (the move itself then names it).
size_t 잡은폴더파일수(플랫폼& 시스템, const 보유& 폴더) {
    size_t 수 = 0;
    try {
        for (const 폴더항목& 항목 : 시스템.폴더항목들(폴더)) {
            if (항목.종류 == 항목종류::파일) ++수;
            if (항목.종류 != 항목종류::폴더) continue;
            const 폴더고정결과 하위 = 시스템.하위폴더고정(폴더, 항목.이름);
            if (하위.상태 == 폴더상태::고정됨) 수 += 잡은폴더파일수(시스템, *하위.잡음);
        }
    } catch (const 파일오류&) {
    }
    return 수;
}

// True when the move can do only what the logged-on user could: their own
// token is at hand to check each step against. Elevated as another account
// (its password typed at the prompt), the token linked to this one and the
// folders of this environment are that account's, not the desktop user's.
bool 사용자대신할수있음(플랫폼& 시스템) {
    return 시스템.사용자토큰있음() && (!시스템.관리자권한() || 시스템.바탕화면사용자계정());
}

// A move that stopped failed; one that left files at links, for lack of
// the user's rights or as another user's newer work, and so kept the copy's
// name, wants looking at.
상자종류 결과상자(const 옮긴결과& 일) {
    if (일.멈춘곳) return 상자종류::오류;
    if (!일.링크들.empty() || !일.권한없음.empty() || !일.갈등.empty()) return 상자종류::경고;
    return 상자종류::알림;
}

}  // namespace

size_t 파일수(플랫폼& 시스템, const std::wstring& 가상폴더) {
    const 폴더고정결과 고정 = 시스템.폴더고정(가상폴더);
    return 고정.상태 == 폴더상태::고정됨 ? 잡은폴더파일수(시스템, *고정.잡음) : 0;
}

void 제안하기(플랫폼& 시스템, const 옮길곳& 곳) {
    const size_t 수 = 파일수(시스템, 곳.가상폴더);
    if (수 == 0) return;
    if (!사용자대신할수있음(시스템)) {
        시스템.메시지상자(보통으로하라는글(곳, 수), 상자종류::경고);
        return;
    }
    if (!시스템.예아니오(물음(곳, 수))) return;
    const 옮긴결과 일 = 옮기기(시스템, 곳, 수);
    시스템.메시지상자(결과메시지(일), 결과상자(일));
}

}  // namespace 가상폴더옮기기
