// Win32 platform, the console twin's half: what win32_shell.cpp and
// win32_window.cpp do for the window program, done without the window's
// libraries (USER32, SHELL32 at start, COM), so that a script's /check
// loads no more than it uses. No command-line road shows or opens anything:
// the operations that would are refused, and a question is answered No.
#include "platform/win32_internal.h"

using namespace win32;

Win32플랫폼::Win32플랫폼(std::wstring 메시지제목) : 메시지제목_(std::move(메시지제목)) {}

void Win32플랫폼::셸열기(const std::wstring& 대상) { 오류던지기(대상, ERROR_NOT_SUPPORTED); }

bool Win32플랫폼::사용자로열기(const std::wstring&) { return false; }

void Win32플랫폼::메시지상자(const std::wstring&, 상자종류) {
    오류던지기(메시지제목_, ERROR_NOT_SUPPORTED);
}

bool Win32플랫폼::클립보드에(const std::wstring&) { return false; }

bool Win32플랫폼::예아니오(const std::wstring&) { return false; }

void Win32플랫폼::진행표시(const std::wstring&) {}

// /move is not the desktop's move and asks no shell (the window's rule of
// the desktop's own user is not its rule); the shell is USER32's to find.
bool Win32플랫폼::바탕화면사용자계정() { return false; }

namespace win32 {

// Nothing to paint meanwhile.
DWORD 신호까지기다리기(HANDLE 대상, DWORD 한도) { return ::WaitForSingleObject(대상, 한도); }

}  // namespace win32
