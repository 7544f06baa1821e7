// Drives the real 보안설정 program through its window, from a test running
// under Wine in another process: starts it, finds its controls, presses and
// fills them as a user would, and reads and answers its message boxes.
// Every wait has a limit; what does not end in time is killed.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32_handles.h"

namespace 시험 {

// Text of a window of any process; empty when it does not answer in time.
std::wstring 창글(HWND 창);
// A visible top-level window of the process with this class, if any.
HWND 보이는창(DWORD 프로세스, const wchar_t* 클래스);
// A child's rectangle in its parent's client coordinates.
RECT 부모기준사각형(HWND 자식);
// Ids of the running processes whose program file has this name, and, when
// `부모` is given, which that process started.
std::vector<DWORD> 실행중인(const wchar_t* 파일이름, DWORD 부모 = 0);

struct 메시지상자 {
    HWND 창 = nullptr;
    std::wstring 제목;
    std::wstring 본문;
};

// Which of the system's three icons the box shows, told by its pixels on
// the screen: MB_ICONINFORMATION, MB_ICONWARNING or MB_ICONERROR; 0 for
// none, or none of them, by the end of the limit.
UINT 상자아이콘(const 메시지상자& 상자, DWORD 제한ms = 3000);
// The text on the clipboard; empty when there is none.
std::wstring 클립보드글();

class 창프로그램 {
public:
    // The program as built beside the tests: ..\..\app\boansetting.exe.
    static std::wstring 기본경로();

    // Starts the program, which inherits this process's environment, and
    // waits for its main window; 시작됨() tells whether that came.
    explicit 창프로그램(const std::wstring& 실행파일 = 기본경로(), DWORD 제한ms = 10000);
    ~창프로그램();  // closes it, killing it if it hangs
    창프로그램(const 창프로그램&) = delete;
    창프로그램& operator=(const 창프로그램&) = delete;

    bool 시작됨() const { return 창_ != nullptr; }
    const std::wstring& 시작오류() const { return 오류_; }
    HWND 창() const { return 창_; }
    HWND 컨트롤(int 아이디) const { return GetDlgItem(창_, 아이디); }
    std::wstring 컨트롤글(int 아이디) const { return 창글(컨트롤(아이디)); }
    DWORD 프로세스번호() const { return 번호_; }

    void 누르기(int 아이디) const;
    // Moves through the product list with the arrow keys in its edit field,
    // as a user does, until the field shows `항목`; false when it never does.
    bool 항목고르기(const std::wstring& 항목) const;
    // Replaces the list's text by typing `글` into its edit field.
    bool 입력하기(const std::wstring& 글) const;
    // Replaces the list's text at once, as pasting does: for texts too long
    // to type. True when the field then holds it, or for a text past the
    // field's limit, the start of it.
    bool 붙여넣기(const std::wstring& 글) const;
    std::vector<std::wstring> 목록항목() const;

    // Presses and releases one key, with Shift held around it when asked,
    // as the keyboard does: the key goes to the focus of the window in front
    // and passes through the program's own message loop. False when the
    // program is not in front or Windows refused the input.
    bool 키누르기(WORD 키, bool 시프트 = false) const;
    // Waits until `창` (a window of the program) is in front; true when it
    // came there within the limit.
    bool 앞에오기(HWND 창, DWORD 제한ms = 3000) const;
    // The window of the program that has the keyboard focus, or nullptr.
    HWND 초점() const;

    // The program's next message box, or nothing within the limit.
    std::optional<메시지상자> 메시지상자기다리기(DWORD 제한ms = 15000) const;
    // Presses OK and waits until the box has gone.
    bool 메시지상자닫기(const 메시지상자& 상자, DWORD 제한ms = 5000) const;
    // Presses a button of a box, IDYES or IDNO say, and waits until the box
    // has gone.
    bool 메시지상자답하기(const 메시지상자& 상자, int 단추, DWORD 제한ms = 5000) const;

    // Common-control messages are not carried across processes: their
    // buffer must live in the program, so it is allocated there and copied
    // back. Returns the result and the buffer's content afterwards.
    LRESULT 원격요청(HWND 창, UINT 메시지, WPARAM 인자, std::vector<char>& 버퍼) const;
    std::vector<int> 상태표시줄칸() const;  // right edges
    std::wstring 상태표시줄글(int 칸) const;

    // Saves the window's area of the screen as a 24-bit BMP.
    bool 화면저장(const std::wstring& 경로) const;

    // WM_CLOSE, after answering any open message box; true when the program
    // ended within the limit. It is killed otherwise, and so is whatever it
    // started and left running (cmd, cacls, explorer).
    bool 닫기(DWORD 제한ms = 5000);

private:
    win32::UniqueHandle 작업_;  // a job holding the program and all it starts
    win32::OwnedProcess 프로세스_;
    DWORD 번호_ = 0;
    HWND 창_ = nullptr;
    std::wstring 오류_;
};

}  // namespace 시험
