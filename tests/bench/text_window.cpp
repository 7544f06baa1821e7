// The start-up floor of a window that says anything: the empty window plus
// one line of Korean text in the system's message font, as the tool draws
// its own text. Loading that font (and, under Wine, the Hangul font that
// stands in for it) is a cost the empty window never pays.
#include <windows.h>

#include "platform/win32_handles.h"
#include "tests/bench/baseline_window.h"

namespace {

win32::UniqueFont 메시지글꼴() {
    NONCLIENTMETRICSW 지표{};
    지표.cbSize = sizeof 지표;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof 지표, &지표, 0)) return nullptr;
    return win32::UniqueFont(CreateFontIndirectW(&지표.lfMessageFont));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE 인스턴스, HINSTANCE, PWSTR, int 표시방법) {
    const win32::UniqueFont 글꼴 = 메시지글꼴();
    const auto 글넣기 = [&](HWND 창) {
        const HWND 글 = CreateWindowExW(0, L"STATIC", L"보안설정이 잘되어 있습니다.",
                                        WS_CHILD | WS_VISIBLE, 16, 16, 600, 24, 창, nullptr,
                                        인스턴스, nullptr);
        if (!글 || !글꼴) return false;
        SendMessageW(글, WM_SETFONT, reinterpret_cast<WPARAM>(글꼴.get()), FALSE);
        return true;
    };
    // As the tool does, the text is drawn before the loop.
    return 기준선::창실행(인스턴스, 표시방법, 기준선::닫히면끝내기, 780, 620, 글넣기, true);
}
