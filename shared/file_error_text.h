// The words for what a failed file step's 파일오류 says happened.
//
// The platform throws facts only (path, system code and text, or why it
// refused of its own accord); every layer that shows a file error to the
// user takes its words from here, so the same failure reads the same from
// the move, the kept lists, the grant and the window. A header of the
// shared rules because folders/, permission/ and app/ all show these.
#pragma once

#include <string>

#include "platform/platform.h"

inline std::wstring 오류문구(const 파일오류& 오류) {
    const 거절사실& 사실 = 오류.사실();
    switch (사실.사유) {
    case 거절::링크: return L"링크(연결 지점, 심볼릭 링크 또는 하드 링크)여서 따라가지 않았습니다.";
    case 거절::보관연결지점: return L"연결 지점이라 쓰지 않았습니다.";
    case 거절::보관남의폴더: return L"관리자와 SYSTEM 말고도 쓸 수 있는 폴더라 쓰지 않았습니다.";
    case 거절::너무큼:
        return L"파일이 " + std::to_wstring(사실.크기) + L"바이트로, 읽을 수 있는 " +
               std::to_wstring(사실.한도) + L"바이트보다 커서 읽지 않았습니다.";
    case 거절::실행전바뀜: return L"실행하기 전에 다른 프로그램이 이 파일을 바꾸었습니다.";
    case 거절::다른폴더이름: return L"같은 폴더 안에서만 이름을 바꿉니다: " + 사실.이름;
    case 거절::없음: break;
    }
    // The system had no words for its number.
    if (오류.설명().empty()) return L"오류 " + std::to_wstring(오류.코드());
    return 오류.설명();
}
