// The start-up baseline: the smallest Win32 program that shows a window,
// built the way the tool is.
#include "tests/bench/baseline_window.h"

int WINAPI wWinMain(HINSTANCE 인스턴스, HINSTANCE, PWSTR, int 표시방법) {
    return 기준선::창실행(인스턴스, 표시방법, 기준선::닫히면끝내기, 780, 620,
                         [](HWND) { return true; });
}
