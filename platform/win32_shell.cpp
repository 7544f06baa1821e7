// Win32 platform: what the user sees and is asked: shell opens, message
// boxes, the progress in the status bar, and the clock.
#include "platform/win32_internal.h"

#include <commctrl.h>
#include <shellapi.h>

using namespace win32;

Win32플랫폼::Win32플랫폼(std::wstring 메시지제목) : 메시지제목_(std::move(메시지제목)) {}

void Win32플랫폼::셸열기(const std::wstring& 대상) {
    ::ShellExecuteW(소유창_, L"open", 대상.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32플랫폼::메시지상자(const std::wstring& 텍스트) {
    ::MessageBoxW(소유창_, 텍스트.c_str(), 메시지제목_.c_str(), MB_OK);
}

날짜시각 Win32플랫폼::지금() const {
    SYSTEMTIME 때{};
    ::GetLocalTime(&때);
    return {때.wYear, 때.wMonth, 때.wDay, 때.wHour, 때.wMinute, 때.wSecond};
}

bool Win32플랫폼::예아니오(const std::wstring& 텍스트) {
    return ::MessageBoxW(소유창_, 텍스트.c_str(), 메시지제목_.c_str(), MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

void Win32플랫폼::진행표시(const std::wstring& 글) {
    if (진행표시줄_)
        ::SendMessageW(진행표시줄_, SB_SETTEXTW, static_cast<WPARAM>(진행칸_),
                       reinterpret_cast<LPARAM>(글.c_str()));
    쌓인메시지처리();
}
