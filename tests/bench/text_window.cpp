// The start-up floor of a window that says anything: the empty window plus
// one line of Korean text in the system's message font, as the tool draws
// its own text. Loading that font (and, under Wine, the Hangul font that
// stands in for it) is a cost the empty window never pays.
#include <windows.h>

#include "platform/win32_handles.h"

namespace {

LRESULT CALLBACK 창프로시저(HWND 창, UINT 메시지, WPARAM w, LPARAM l) {
    if (메시지 == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(창, 메시지, w, l);
}

win32::UniqueFont 메시지글꼴() {
    NONCLIENTMETRICSW 지표{};
    지표.cbSize = sizeof 지표;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof 지표, &지표, 0)) return nullptr;
    return win32::UniqueFont(CreateFontIndirectW(&지표.lfMessageFont));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE 인스턴스, HINSTANCE, PWSTR, int 표시방법) {
    WNDCLASSEXW 클래스{};
    클래스.cbSize = sizeof 클래스;
    클래스.lpfnWndProc = 창프로시저;
    클래스.hInstance = 인스턴스;
    클래스.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    클래스.lpszClassName = L"TorvaneM";
    if (!RegisterClassExW(&클래스)) return 1;
    const HWND 창 = CreateWindowExW(0, L"TorvaneM", L"baseline", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 780, 620, nullptr, nullptr, 인스턴스, nullptr);
    if (!창) return 1;
    const HWND 글 = CreateWindowExW(0, L"STATIC", L"보안설정이 잘되어 있습니다.",
                                    WS_CHILD | WS_VISIBLE, 16, 16, 600, 24, 창, nullptr, 인스턴스,
                                    nullptr);
    const win32::UniqueFont 글꼴 = 메시지글꼴();
    if (!글 || !글꼴) return 1;
    SendMessageW(글, WM_SETFONT, reinterpret_cast<WPARAM>(글꼴.get()), FALSE);
    ShowWindow(창, 표시방법);
    UpdateWindow(창);  // as the tool does: the text is drawn before the loop
    MSG 메시지;
    while (GetMessageW(&메시지, nullptr, 0, 0) > 0) DispatchMessageW(&메시지);
    return 0;
}
