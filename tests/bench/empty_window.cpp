// The start-up baseline: the smallest Win32 program that shows a window,
// built the way the tool is. It registers the tool's window class name so
// that the same driver finds both.
#include <windows.h>

namespace {

LRESULT CALLBACK 창프로시저(HWND 창, UINT 메시지, WPARAM w, LPARAM l) {
    if (메시지 == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(창, 메시지, w, l);
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
    ShowWindow(창, 표시방법);
    MSG 메시지;
    while (GetMessageW(&메시지, nullptr, 0, 0) > 0) DispatchMessageW(&메시지);
    return 0;
}
