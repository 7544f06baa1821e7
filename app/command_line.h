// The command line for scripts and deployment tools:
//
//   boansetting /check [product ...]
//   boansetting /fix [product ...]
//   boansetting /restore [product ...]
//   boansetting /move [product ...]
//   boansetting /?
//
// It takes the same road as the window's buttons (보안검사, 보안설정, and
// the move the window offers after them: move_command.h) and
// never shows anything: one line per product on standard output, and an exit
// code a script can act on. Free of <windows.h>; the Win32 side only hands it
// the arguments and the standard handles.
#pragma once

#include <string>
#include <vector>

#include "app/commands.h"
#include "platform/platform.h"

namespace 명령줄 {

// Exit codes (명령줄::종료코드) and what each result prints are in
// commands.h, with the results they stand for.

// Where the lines go: results and the usage to standard output, complaints
// about the arguments to standard error. Lines come without a line end.
class 출력대상 {
public:
    virtual ~출력대상() = default;
    virtual void 표준출력(const std::wstring& 줄) = 0;
    virtual void 오류출력(const std::wstring& 줄) = 0;
};

// The result field of a failure nothing else accounts for.
inline constexpr wchar_t 예상못한오류[] =
    L"예상하지 못한 오류로 작업을 끝내지 못했습니다. 보안설정이 바뀌었는지는 /check 로 "
    L"확인하세요.";

// The arguments in a whole Windows command line (GetCommandLineW), the
// program's own name left out, split by the rules CommandLineToArgvW
// follows: blanks part arguments outside quotes, 2n backslashes before a
// quote become n and the quote opens or closes, 2n+1 become n and a literal
// quote, and inside quotes a doubled quote is a literal one. Here rather than
// through SHELL32, which the console twin does not load.
std::vector<std::wstring> 인자나누기(const std::wstring& 명령줄);

// Runs the command `인자들` (the program's own name left out) and returns its
// exit code.
int 실행(플랫폼& 시스템, const std::vector<std::wstring>& 인자들, 출력대상& 출력);

}  // namespace 명령줄
