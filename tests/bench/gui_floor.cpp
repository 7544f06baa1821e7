// The floor of a command for any GUI program: a minimal window whose two
// buttons (the tool's identifiers, so that the same driver presses them) run
// one-line batch files from the temporary folder hidden, with
// CREATE_NO_WINDOW, wait for each, then show one message box. A GUI program
// has no console to lend cmd, so it pays for a hidden one on every run; the
// tool cannot go below this.
//   "1. 보안체크" (110) runs q.bat;  "2. 보안설정" (111) runs g.bat, then q.bat.
#include <windows.h>

#include <string>

#include "app/resources/resource_ids.h"
#include "platform/win32_handles.h"
#include "tests/bench/baseline_window.h"

namespace {

bool 숨겨서기다리기(const std::wstring& 배치) {
    std::wstring 명령줄 = L"\"" + 배치 + L"\"";
    STARTUPINFOW 시작정보{};
    시작정보.cb = sizeof 시작정보;
    PROCESS_INFORMATION 정보{};
    if (!CreateProcessW(nullptr, 명령줄.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &시작정보, &정보))
        return false;
    const win32::OwnedProcess 프로세스{win32::UniqueHandle(정보.hProcess),
                                      win32::UniqueHandle(정보.hThread)};
    return WaitForSingleObject(정보.hProcess, INFINITE) == WAIT_OBJECT_0;
}

std::wstring 임시폴더() {
    wchar_t 경로[MAX_PATH] = {};
    const DWORD 길이 = GetEnvironmentVariableW(L"TEMP", 경로, MAX_PATH);
    return 길이 > 0 && 길이 < MAX_PATH ? std::wstring(경로, 길이) : std::wstring();
}

void 누름(HWND 창, int 아이디) {
    const std::wstring 임시 = 임시폴더();
    bool 됨 = true;
    if (아이디 == IDC_CHECK_BASE + 1) 됨 = 숨겨서기다리기(임시 + L"\\g.bat");
    됨 = 됨 && 숨겨서기다리기(임시 + L"\\q.bat");
    MessageBoxW(창, 됨 ? L"끝" : L"실패", L"baseline", MB_OK);
}

LRESULT CALLBACK 창프로시저(HWND 창, UINT 메시지, WPARAM w, LPARAM l) {
    if (메시지 == WM_COMMAND) {
        if (HIWORD(w) == BN_CLICKED) 누름(창, LOWORD(w));
        return 0;
    }
    return 기준선::닫히면끝내기(창, 메시지, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE 인스턴스, HINSTANCE, PWSTR, int 표시방법) {
    const auto 버튼넣기 = [인스턴스](HWND 창) {
        for (int 번 = 0; 번 < 2; ++번)
            CreateWindowExW(0, L"BUTTON", 번 ? L"2" : L"1", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                            10 + 번 * 110, 10, 100, 30, 창,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CHECK_BASE + 번)),
                            인스턴스, nullptr);
        return true;
    };
    return 기준선::창실행(인스턴스, 표시방법, 창프로시저, 400, 200, 버튼넣기);
}
