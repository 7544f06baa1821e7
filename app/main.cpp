// Start-up: makes the process safe to run elevated; then either runs the
// command line given to it, or shows the main window and runs its message
// loop until the window is closed.
#include <windows.h>

#include <commctrl.h>

#include "app/console_mode.h"
#include "app/resources/resource_ids.h"
#include "app/torvane_m.h"

int WINAPI wWinMain(HINSTANCE 인스턴스, HINSTANCE, PWSTR, int 표시방법) {
    DLL검색제한();

    // With arguments the program is a command for scripts and deployment
    // tools, and for the window's own elevated fix: no window, no box.
    if (const auto 인자들 = 프로그램인자(); !인자들.empty()) return 명령줄모드(인자들);

    Win32플랫폼 시스템(L"보안설정");
    // Before anything reads the environment, and before the file the shield
    // starts could be swapped.
    시스템.관리자면시스템환경으로();
    시스템.관리자면링크보호();
    시스템.자기파일잡기();

    INITCOMMONCONTROLSEX 공통컨트롤{sizeof 공통컨트롤, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&공통컨트롤);

    TorvaneM 창(시스템);
    if (!창.만들기(인스턴스, 표시방법)) return 1;
    시스템.소유창설정(창.핸들());
    시스템.진행표시줄설정(::GetDlgItem(창.핸들(), IDC_STATUSBAR), 1);

    MSG 메시지;
    while (::GetMessageW(&메시지, nullptr, 0, 0) > 0) {
        // Tab and the arrow keys move between the controls as in a dialog.
        if (::IsDialogMessageW(창.핸들(), &메시지)) continue;
        ::TranslateMessage(&메시지);
        ::DispatchMessageW(&메시지);
    }
    return static_cast<int>(메시지.wParam);
}
