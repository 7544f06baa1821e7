// The tool's only window: the product list, the numbered command buttons,
// the help button, the instruction picture and the status bar.
#pragma once

#include <windows.h>

#include <string>

#include "app/commands.h"
#include "platform/win32_handles.h"
#include "platform/win32_platform.h"

class TorvaneM final {
public:
    explicit TorvaneM(Win32플랫폼& 시스템);
    TorvaneM(const TorvaneM&) = delete;
    TorvaneM& operator=(const TorvaneM&) = delete;

    // Registers the class and creates the window, centred on the screen.
    // False when Windows refused either.
    bool 만들기(HINSTANCE 인스턴스, int 표시방법);
    HWND 핸들() const { return 창_; }

private:
    static LRESULT CALLBACK 창프로시저(HWND 창, UINT 메시지, WPARAM w, LPARAM l);
    LRESULT 메시지처리(UINT 메시지, WPARAM w, LPARAM l);

    void 컨트롤만들기();
    void 그림넣기(HWND 그림상자);
    void 시계갱신();
    void 명령처리(int 식별자, int 알림);
    void 목록항목골랐음();
    std::wstring 목록텍스트() const;
    bool 커서설정();
    void 초점기억();
    void 초점돌려주기() const;
    LRESULT 기본버튼() const;
    void 초점옮기기(WPARAM w, LPARAM l);
    void 기본버튼표시(HWND 초점) const;

    int 픽셀(int 트윕) const;
    HWND 컨트롤(int 식별자) const { return ::GetDlgItem(창_, 식별자); }

    Win32플랫폼& 시스템_;
    HINSTANCE 인스턴스_ = nullptr;
    HWND 창_ = nullptr;
    int dpi_ = 96;
    bool 명령중_ = false;
    HWND 초점_ = nullptr;  // the control that gets the focus back on activation
    win32::UniqueFont 글꼴_;
    win32::UniqueGdiObject 그림_;
};
