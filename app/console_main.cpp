// Start-up of boansetting.com, the console twin of boansetting.exe. Typed
// at a cmd or PowerShell prompt, `boansetting` finds the .com first (it
// precedes .exe in PATHEXT); being a console program, the prompt waits for
// it, its lines appear in order, and %ERRORLEVEL% / $LASTEXITCODE hold its
// exit code, none of which a GUI program gets from a prompt.
#include <windows.h>

#include "app/console_mode.h"

extern "C" int wmain(int, wchar_t**) {
    DLL은시스템폴더에서만();
    return 명령줄모드(프로그램인자());
}
