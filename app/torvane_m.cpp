// The main window: creates the controls from the layout table and hands each
// click to the command rules in commands.cpp.
#include "app/torvane_m.h"

#include <commctrl.h>

#include <algorithm>

#include "app/layout.h"
#include "folders/install_folders.h"

namespace {

constexpr wchar_t 창클래스[] = L"TorvaneM";
constexpr wchar_t 창제목[] = L"보안설정";
constexpr UINT_PTR 시계타이머 = 1;
constexpr wchar_t 예상못한오류[] =
    L"예상하지 못한 오류로 작업을 끝내지 못했습니다. 보안설정이 바뀌었는지는 "
    L"\"1. 보안체크\"로 확인하세요.";
constexpr DWORD 창스타일 = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Controls of a two-element array are told apart by their index.
bool 배열원소(int 식별자, int 기준) { return 식별자 == 기준 || 식별자 == 기준 + 1; }

// The window's text in the system's message font (맑은 고딕 on a Korean
// Windows), not the old bitmap GUI font that controls get by default.
win32::UniqueFont 메시지글꼴() {
    NONCLIENTMETRICSW 지표{};
    지표.cbSize = sizeof 지표;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof 지표, &지표, 0)) return nullptr;
    return win32::UniqueFont(::CreateFontIndirectW(&지표.lfMessageFont));
}

// RAII: marks the window busy for the length of one command, with the wait
// cursor showing until it ends.
class 명령범위 {
public:
    explicit 명령범위(bool& 명령중) : 명령중_(명령중) {
        명령중_ = true;
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    }
    ~명령범위() {
        명령중_ = false;
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    }
    명령범위(const 명령범위&) = delete;
    명령범위& operator=(const 명령범위&) = delete;

private:
    bool& 명령중_;
};

}  // namespace

TorvaneM::TorvaneM(Win32플랫폼& 시스템) : 시스템_(시스템) {}

bool TorvaneM::만들기(HINSTANCE 인스턴스, int 표시방법) {
    인스턴스_ = 인스턴스;
    WNDCLASSEXW 클래스{};
    클래스.cbSize = sizeof 클래스;
    클래스.lpfnWndProc = 창프로시저;
    클래스.hInstance = 인스턴스;
    클래스.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    클래스.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    클래스.lpszClassName = 창클래스;
    클래스.hIcon = static_cast<HICON>(::LoadImageW(인스턴스, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXICON),
                                                   ::GetSystemMetrics(SM_CYICON), LR_SHARED));
    클래스.hIconSm = static_cast<HICON>(::LoadImageW(
        인스턴스, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
        ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (!::RegisterClassExW(&클래스)) return false;

    {
        const win32::DcScope 화면(nullptr);
        dpi_ = ::GetDeviceCaps(화면.get(), LOGPIXELSY);
    }
    RECT 영역{0, 0, 픽셀(화면구성::창너비), 픽셀(화면구성::창높이)};
    ::AdjustWindowRectEx(&영역, 창스타일, FALSE, 0);
    const int 너비 = 영역.right - 영역.left;
    const int 높이 = 영역.bottom - 영역.top;
    // Centred on the screen; but where the screen is smaller than the window
    // (a small screen at a high DPI setting) its title bar must stay on the
    // screen, or the window could not be moved.
    RECT 작업영역{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &작업영역, 0);
    const int 왼쪽 = std::max<int>(작업영역.left, (::GetSystemMetrics(SM_CXSCREEN) - 너비) / 2);
    const int 위 = std::max<int>(작업영역.top, (::GetSystemMetrics(SM_CYSCREEN) - 높이) / 2);

    if (!::CreateWindowExW(0, 창클래스, 창제목, 창스타일, 왼쪽, 위, 너비, 높이, nullptr, nullptr,
                           인스턴스, this))
        return false;
    ::ShowWindow(창_, 표시방법);
    ::UpdateWindow(창_);
    return true;
}

LRESULT CALLBACK TorvaneM::창프로시저(HWND 창, UINT 메시지, WPARAM w, LPARAM l) {
    if (메시지 == WM_NCCREATE) {
        auto* 자신 = static_cast<TorvaneM*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        자신->창_ = 창;
        ::SetWindowLongPtrW(창, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(자신));
    }
    auto* 자신 = reinterpret_cast<TorvaneM*>(::GetWindowLongPtrW(창, GWLP_USERDATA));
    if (!자신) return ::DefWindowProcW(창, 메시지, w, l);
    if (메시지 == WM_NCDESTROY) {
        ::SetWindowLongPtrW(창, GWLP_USERDATA, 0);
        자신->창_ = nullptr;
        return ::DefWindowProcW(창, 메시지, w, l);
    }
    return 자신->메시지처리(메시지, w, l);
}

LRESULT TorvaneM::메시지처리(UINT 메시지, WPARAM w, LPARAM l) {
    switch (메시지) {
    case WM_CREATE:
        컨트롤만들기();
        시계갱신();
        ::SetTimer(창_, 시계타이머, 1000, nullptr);
        return 0;
    case WM_TIMER:
        if (w == 시계타이머) 시계갱신();
        return 0;
    case WM_COMMAND:
        명령처리(LOWORD(w), HIWORD(w));
        return 0;
    case WM_ACTIVATE:
        // Activation gives the focus to the window itself (DefWindowProc),
        // and WM_SETFOCUS passes it on to the control that had it.
        if (LOWORD(w) == WA_INACTIVE) 초점기억();
        break;
    case WM_SETFOCUS:
        초점돌려주기();
        return 0;
    case DM_GETDEFID:
        return 기본버튼();
    case WM_NEXTDLGCTL:
        초점옮기기(w, l);
        return 0;
    case WM_SETCURSOR:
        if (커서설정()) return TRUE;
        break;
    case WM_CLOSE:
        if (명령중_) return 0;  // a command is still waiting for cacls
        break;
    case WM_DESTROY:
        ::KillTimer(창_, 시계타이머);
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(창_, 메시지, w, l);
}

int TorvaneM::픽셀(int 트윕) const { return ::MulDiv(트윕, dpi_, 1440); }

void TorvaneM::컨트롤만들기() {
    글꼴_ = 메시지글꼴();
    for (const 화면구성::컨트롤& 하나 : 화면구성::컨트롤들) {
        const wchar_t* 클래스 = WC_BUTTONW;
        DWORD 스타일 = WS_CHILD | WS_VISIBLE;
        DWORD 확장 = 0;
        int 높이 = 하나.높이;
        switch (하나.종류) {
        case 화면구성::종류::상태표시줄: 클래스 = STATUSCLASSNAMEW; break;
        case 화면구성::종류::그림:
            클래스 = WC_STATICW;
            스타일 |= SS_BITMAP;
            확장 = WS_EX_CLIENTEDGE;  // the two-pixel sunken border
            break;
        case 화면구성::종류::버튼: 스타일 |= WS_TABSTOP | BS_PUSHBUTTON; break;
        case 화면구성::종류::목록:
            클래스 = WC_COMBOBOXW;
            스타일 |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
            높이 += 화면구성::목록펼침높이;
            break;
        }
        const HWND 컨트롤창 = ::CreateWindowExW(
            확장, 클래스, 하나.글, 스타일, 픽셀(하나.왼쪽), 픽셀(하나.위), 픽셀(하나.너비),
            픽셀(높이), 창_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(하나.식별자)), 인스턴스_,
            nullptr);
        if (글꼴_) ::SendMessageW(컨트롤창, WM_SETFONT, reinterpret_cast<WPARAM>(글꼴_.get()), FALSE);
    }

    const HWND 목록 = 컨트롤(IDC_PRODUCT_LIST);
    for (const 설치폴더::제품& 제품 : 설치폴더::제품표)
        ::SendMessageW(목록, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(제품.목록이름));
    ::SetWindowTextW(목록, 설치폴더::제품표[0].목록이름);

    int 칸[std::size(화면구성::상태칸오른쪽)];
    for (size_t i = 0; i < std::size(칸); ++i) 칸[i] = 픽셀(화면구성::상태칸오른쪽[i]);
    ::SendMessageW(컨트롤(IDC_STATUSBAR), SB_SETPARTS, std::size(칸), reinterpret_cast<LPARAM>(칸));

    그림넣기(컨트롤(IDC_PICTURE));
    // Not elevated, the fix asks for administrator rights: the button shows
    // the shield that tells users so.
    if (설정에방패(시스템_)) ::SendMessageW(컨트롤(IDC_CHECK_BASE + 1), BCM_SETSHIELD, 0, TRUE);
    초점_ = 목록;  // a keyboard user starts by picking the product
}

// The picture is drawn for 96 DPI; at other settings it is stretched once, so
// that it fills its box in the same proportion to the window.
void TorvaneM::그림넣기(HWND 그림상자) {
    const int 너비 = ::MulDiv(화면구성::그림너비, dpi_, 96);
    const int 높이 = ::MulDiv(화면구성::그림높이, dpi_, 96);
    그림_.reset(::LoadImageW(인스턴스_, MAKEINTRESOURCEW(IDB_INSTRUCTIONS), IMAGE_BITMAP, 너비, 높이,
                             LR_CREATEDIBSECTION));
    ::SendMessageW(그림상자, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(그림_.get()));
    // The static control fits its whole window to the bitmap, border and
    // all; the box keeps its designed size, the picture plus the border.
    constexpr const 화면구성::컨트롤& 상자 = 화면구성::컨트롤찾기(IDC_PICTURE);
    ::SetWindowPos(그림상자, nullptr, 0, 0, 픽셀(상자.너비), 픽셀(상자.높이),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Panel 3 is the window's clock: the local time in the Korean 12-hour form,
// renewed by the one-second timer.
void TorvaneM::시계갱신() {
    SYSTEMTIME 지금{};
    ::GetLocalTime(&지금);
    const std::wstring 시각 = 한국어시각(지금.wHour, 지금.wMinute);
    ::SendMessageW(컨트롤(IDC_STATUSBAR), SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(시각.c_str()));
}

void TorvaneM::명령처리(int 식별자, int 알림) {
    // A message posted while a command waits for cacls must not start another.
    if (명령중_) return;
    if (식별자 == IDC_PRODUCT_LIST) {
        if (알림 == CBN_SELCHANGE) 목록항목골랐음();
        return;
    }
    if (알림 != BN_CLICKED) return;

    명령범위 범위(명령중_);
    // Nothing may leave the window procedure: Windows would swallow it, or
    // end the program, and the user would learn nothing either way.
    try {
        if (배열원소(식별자, IDC_CHECK_BASE))
            보안체크_클릭(시스템_, 목록텍스트(), static_cast<std::int16_t>(식별자 - IDC_CHECK_BASE));
        else if (배열원소(식별자, IDC_FOLDER_BASE))
            폴더열기_클릭(시스템_, 목록텍스트(), static_cast<std::int16_t>(식별자 - IDC_FOLDER_BASE));
        else if (식별자 == IDC_MANUAL_HELP)
            수동권한_클릭(시스템_);
    } catch (...) {
        시스템_.메시지상자(예상못한오류, 상자종류::오류);
    }
}

// Picking renames the two folder buttons; typing does not.
void TorvaneM::목록항목골랐음() {
    // While the selection changes, the text field still shows the old text,
    // so the picked entry is read from the list itself.
    const HWND 목록 = 컨트롤(IDC_PRODUCT_LIST);
    const LRESULT 선택 = ::SendMessageW(목록, CB_GETCURSEL, 0, 0);
    if (선택 == CB_ERR) return;
    std::wstring 항목(static_cast<size_t>(::SendMessageW(목록, CB_GETLBTEXTLEN, 선택, 0)), L'\0');
    ::SendMessageW(목록, CB_GETLBTEXT, 선택, reinterpret_cast<LPARAM>(항목.data()));

    const 폴더버튼캡션 캡션 = 폴더버튼캡션만들기(항목);
    ::SetWindowTextW(컨트롤(IDC_FOLDER_BASE + 1), 캡션.가상폴더.c_str());
    ::SetWindowTextW(컨트롤(IDC_FOLDER_BASE + 0), 캡션.실제폴더.c_str());
}

std::wstring TorvaneM::목록텍스트() const {
    const HWND 목록 = 컨트롤(IDC_PRODUCT_LIST);
    std::wstring 글(static_cast<size_t>(::GetWindowTextLengthW(목록)) + 1, L'\0');
    글.resize(static_cast<size_t>(::GetWindowTextW(목록, 글.data(), static_cast<int>(글.size()))));
    return 글;
}

// Called as the window loses activation, e.g. to a message box, while the
// focus is still where the user left it.
void TorvaneM::초점기억() {
    const HWND 지금 = ::GetFocus();
    if (지금 && ::IsChild(창_, 지금)) 초점_ = 지금;
}

void TorvaneM::초점돌려주기() const {
    if (초점_ && ::IsChild(창_, 초점_)) ::SetFocus(초점_);
}

// Enter presses the push button that has the focus, as in a dialog box: the
// dialog manager (IsDialogMessage in the message loop) asks the window for
// its default button, and that is the focused one; elsewhere there is none.
LRESULT TorvaneM::기본버튼() const {
    const HWND 초점 = ::GetFocus();
    if (!초점 || ::GetParent(초점) != 창_) return 0;
    const LRESULT 코드 = ::SendMessageW(초점, WM_GETDLGCODE, 0, 0);
    if (!(코드 & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) return 0;
    return MAKELRESULT(::GetDlgCtrlID(초점), DC_HASDEFID);
}

// The dialog manager moves the focus by asking the window: with `l` set, to
// the control `w` (an arrow key's next control in the group), otherwise to
// the next tab stop, or with `w` set the previous one. Only tab stops take
// it: past the last button an arrow key stops, rather than landing on the
// picture or the status bar.
void TorvaneM::초점옮기기(WPARAM w, LPARAM l) {
    const HWND 다음 =
        l ? reinterpret_cast<HWND>(w) : ::GetNextDlgTabItem(창_, ::GetFocus(), w != 0);
    if (!다음 || !::IsChild(창_, 다음) || !(::GetWindowLongPtrW(다음, GWL_STYLE) & WS_TABSTOP))
        return;
    기본버튼표시(다음);
    ::SetFocus(다음);
}

// The button that Enter presses has the heavier border of a default button,
// as in a dialog box: the focused push button, if any.
void TorvaneM::기본버튼표시(HWND 초점) const {
    for (HWND 자식 = ::GetWindow(창_, GW_CHILD); 자식; 자식 = ::GetWindow(자식, GW_HWNDNEXT)) {
        const LRESULT 코드 = ::SendMessageW(자식, WM_GETDLGCODE, 0, 0);
        if (코드 & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
            ::SendMessageW(자식, BM_SETSTYLE, 자식 == 초점 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

// While a command runs, the window shows the wait cursor; once a message box
// has disabled it, the box's own cursor rules apply.
bool TorvaneM::커서설정() {
    if (!명령중_ || !::IsWindowEnabled(창_)) return false;
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    return true;
}
