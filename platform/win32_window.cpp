// Win32 platform, the window program's half of the waits: while the tool
// waits for cmd, for its elevated run or for another window's command, the
// window keeps painting. USER32 work, which the console twin does not load;
// its own wait is in win32_console.cpp.
#include "platform/win32_internal.h"

namespace win32 {
namespace {

bool 입력메시지(UINT 메시지) {
    return (메시지 >= WM_KEYFIRST && 메시지 <= WM_KEYLAST) ||
           (메시지 >= WM_MOUSEFIRST && 메시지 <= WM_MOUSELAST) ||
           (메시지 >= WM_NCMOUSEMOVE && 메시지 <= WM_NCXBUTTONDBLCLK);
}

// Milliseconds left of `한도` since `시작`; INFINITE stays INFINITE.
DWORD 남은시간(ULONGLONG 시작, DWORD 한도) {
    if (한도 == INFINITE) return INFINITE;
    const ULONGLONG 지남 = ::GetTickCount64() - 시작;
    return 지남 >= 한도 ? 0 : static_cast<DWORD>(한도 - 지남);
}

}  // namespace

// Dispatches the messages queued for this thread, dropping user input. False
// when the queue held WM_QUIT, which is posted again for the main loop to
// find after the command.
bool 쌓인메시지처리() {
    MSG 메시지;
    while (::PeekMessageW(&메시지, nullptr, 0, 0, PM_REMOVE)) {
        if (메시지.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(메시지.wParam));
            return false;
        }
        if (입력메시지(메시지.message)) continue;
        ::TranslateMessage(&메시지);
        ::DispatchMessageW(&메시지);
    }
    return true;
}

// Waits at most `한도` milliseconds until the handle is signalled: a process
// has ended, or a mutex is free (and then belongs to this thread). Returns
// what the wait came to (WAIT_OBJECT_0, WAIT_ABANDONED_0, WAIT_TIMEOUT or
// WAIT_FAILED). Meanwhile the window keeps painting, so Windows never calls
// it "Not Responding", but user input is dropped so that no second command
// can start before this one ends.
DWORD 신호까지기다리기(HANDLE 대상, DWORD 한도) {
    const ULONGLONG 시작 = ::GetTickCount64();
    for (;;) {
        const DWORD 결과 = ::MsgWaitForMultipleObjects(1, &대상, FALSE, 남은시간(시작, 한도),
                                                       QS_ALLINPUT);
        if (결과 != WAIT_OBJECT_0 + 1) return 결과;
        if (!쌓인메시지처리()) return ::WaitForSingleObject(대상, 남은시간(시작, 한도));
    }
}

}  // namespace win32
