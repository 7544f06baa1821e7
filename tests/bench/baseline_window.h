// The skeleton the baseline programs share: a frame registered under the
// tool's window class name, so that the one driver finds the tool and every
// baseline alike, and a plain message loop.
#pragma once

#include <windows.h>

namespace 기준선 {

// Ends the program when its window goes.
inline LRESULT CALLBACK 닫히면끝내기(HWND 창, UINT 메시지, WPARAM w, LPARAM l) {
    if (메시지 == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(창, 메시지, w, l);
}

// Creates the frame with `프로시저`, lets `채우기` add to it (false ends the
// program with 1), shows it, paints it at once when `바로그리기` (as the tool
// does) and runs the loop. 1 when Windows refuses the window.
template <typename 채우기함수>
int 창실행(HINSTANCE 인스턴스, int 표시방법, WNDPROC 프로시저, int 너비, int 높이,
           채우기함수 채우기, bool 바로그리기 = false) {
    WNDCLASSEXW 클래스{};
    클래스.cbSize = sizeof 클래스;
    클래스.lpfnWndProc = 프로시저;
    클래스.hInstance = 인스턴스;
    클래스.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    클래스.lpszClassName = L"TorvaneM";
    if (!RegisterClassExW(&클래스)) return 1;
    const HWND 창 = CreateWindowExW(0, L"TorvaneM", L"baseline", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 너비, 높이, nullptr, nullptr, 인스턴스, nullptr);
    if (!창 || !채우기(창)) return 1;
    ShowWindow(창, 표시방법);
    if (바로그리기) UpdateWindow(창);
    MSG 메시지;
    while (GetMessageW(&메시지, nullptr, 0, 0) > 0) DispatchMessageW(&메시지);
    return 0;
}

}  // namespace 기준선
