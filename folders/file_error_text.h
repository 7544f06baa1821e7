// The words for a failed file step, in every message that shows one: what
// the tool was doing, the path, and what happened there.
//
// The platform throws facts only (a 파일오류: the operation, the path, the
// system's code and text, or why it refused of its own accord), and the
// rooms that pass one on keep it as it is: the permission module hands it up
// inside its 실행거부, the move keeps it where it stopped. Only the layers
// that show it word it, the move's report here and the commands in app/,
// and they take the words from this one header, so that the same failure
// reads the same from the move, the kept lists, the grant and the window.
// It lives in folders/, the lowest room that shows a file error.
#pragma once

#include <string>

#include "platform/platform.h"

// What happened: the system's text, or the tool's words for why the
// platform refused of its own accord.
inline std::wstring 오류문구(const 파일오류& 오류) {
    const 거절사실& 사실 = 오류.사실();
    switch (사실.사유) {
    case 거절::링크: return L"연결 지점(정션, 심볼릭 링크, 탑재 지점)이나 하드 링크여서 따라가지 않았습니다.";
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

// The path, and on the next line what happened there: how a file error
// reads inside any message.
inline std::wstring 경로와오류문구(const 파일오류& 오류) {
    return 오류.경로() + L"\r\n" + 오류문구(오류);
}

// What the tool was doing, as the message about a failed file step begins.
inline const wchar_t* 작업문구(파일작업 작업) {
    switch (작업) {
    case 파일작업::파일쓰기: return L"파일을 쓰지 못해";
    case 파일작업::파일읽기: return L"파일을 읽지 못해";
    case 파일작업::파일삭제: return L"파일을 지우지 못해";
    case 파일작업::파일고정: return L"실행할 파일을 바뀌지 않게 잡아 두지 못해";
    case 파일작업::폴더만들기: return L"작업할 폴더를 만들지 못해";
    case 파일작업::폴더열기: return L"폴더를 열지 못해";
    case 파일작업::잠그기: return L"다른 보안설정 창과 겹치지 않게 잠그지 못해";
    case 파일작업::프로그램시작: return L"프로그램을 시작하지 못해";
    case 파일작업::기타: break;
    }
    return L"파일이나 폴더를 다루지 못해";
}

// A failed file step as a message of its own: what the tool was doing, the
// path, and the system's reason.
inline std::wstring 파일오류메시지(const 파일오류& 오류) {
    return std::wstring(작업문구(오류.작업())) + L" 작업을 끝내지 못했습니다.\r\n\r\n" +
           경로와오류문구(오류);
}
