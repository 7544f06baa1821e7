// The platform operations as Windows provides them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32_handles.h"

// Conversions at the edge of the tool: Windows' "ANSI" code page (949 on a
// Korean system) on one side, UTF-16 on the other. Characters the code page
// cannot hold become its default character, as they would for an A function.
std::string 안시로(const std::wstring& 글);
std::wstring 안시에서(const std::string& 바이트);

// Not final: a test may stand in for one answer of the system (whether the
// process is elevated, which Wine always says it is) and keep the rest real.
class Win32플랫폼 : public 플랫폼 {
public:
    // `메시지제목` titles every message box, so users never see the
    // platform's default "Error" caption.
    explicit Win32플랫폼(std::wstring 메시지제목);

    // The window that owns message boxes and shell calls; none until set.
    void 소유창설정(HWND 창) { 소유창_ = 창; }

    // Holds the program's own file for the rest of the process's life (see
    // 관리자로실행). Called first thing at start, before the file could be
    // swapped; a failure is reported when the shield is pressed.
    void 자기파일잡기() noexcept;

    // Elevated, puts the system's values in place of the user's in this
    // process's environment: SystemRoot and windir (the Windows folder),
    // SystemDrive (its drive), ComSpec (the system folder's cmd.exe),
    // ProgramData and ALLUSERSPROFILE (the system's profile list, expanded
    // only with those values). An elevation inherits the user's environment,
    // and these reach whatever looks folders up through them: the shell,
    // COM, the folder functions of Windows. A value the system does not give
    // is removed rather than left as the user set it. Not elevated, nothing
    // changes. Call it first thing at start.
    void 관리자면시스템환경으로();

    // Elevated, turns RedirectionGuard on for this process, where Windows
    // has it (Windows 10 and 11 updated since 2022): the process, and the
    // cmd and cacls it starts, which inherit its token, then follow no
    // junction that someone other than an administrator made. Elsewhere, or
    // not elevated, nothing changes. Call it first thing at start.
    void 관리자면링크보호() noexcept;

    std::wstring 전체경로(const std::wstring& 경로) const override;
    std::wstring 시스템폴더() const override;
    std::wstring 시스템프로그램폴더(bool x86용) const override;
    bool 관리자권한() const override;
    std::wstring 사용자프로필폴더() const override;
    bool 코드페이지로그대로(const std::wstring& 글) const override;
    개인폴더 개인임시폴더만들기() override;
    std::wstring 환경변수(const std::wstring& 이름) const override;
    std::wstring 존재검사(const std::wstring& 경로, 속성마스크 마스크) const override;
    void 파일삭제(const std::wstring& 경로) override;
    void 한줄쓰기(const std::wstring& 경로, const std::wstring& 줄) override;
    std::unique_ptr<보유> 고정하기(const std::wstring& 경로, const std::wstring& 줄) override;
    폴더고정결과 폴더고정(const std::wstring& 경로) override;
    std::unique_ptr<보유> 임시파일독점(unsigned long 최대대기밀리초) override;
    std::wstring 전체읽기(const std::wstring& 경로, std::size_t 최대바이트) override;
    void 배치실행(const std::wstring& 배치경로) override;
    관리자실행결과 관리자로실행(const std::wstring& 인자) override;
    void 셸열기(const std::wstring& 대상) override;
    bool 사용자로열기(const std::wstring& 대상) override;
    void 메시지상자(const std::wstring& 텍스트, 상자종류 종류) override;
    bool 클립보드에(const std::wstring& 글) override;
    std::wstring 바꿀수있는자기경로() override;
    드라이브종류 드라이브(const std::wstring& 경로) const override;

    // ---- Moving the VirtualStore copy into the install folder ----
    // The status bar and its panel that show the progress; none until set.
    void 진행표시줄설정(HWND 상태표시줄, int 칸) {
        진행표시줄_ = 상태표시줄;
        진행칸_ = 칸;
    }
    std::vector<폴더항목> 폴더항목들(const 보유& 폴더) override;
    폴더고정결과 하위폴더고정(const 보유& 폴더, const std::wstring& 이름) override;
    std::unique_ptr<보유> 하위폴더만들기(const 보유& 폴더, const std::wstring& 이름) override;
    bool 같은내용(const 보유& 가, const 보유& 나, const std::wstring& 이름) override;
    void 파일복사(const 보유& 원본, const 보유& 대상, const std::wstring& 이름,
                  복사방식 방식, long long 목록쓴때) override;
    void 이름바꾸기(const std::wstring& 폴더, const std::wstring& 원래,
                    const std::wstring& 새이름) override;
    std::optional<std::wstring> 안의글읽기(const 보유& 폴더, const std::wstring& 이름,
                                           std::size_t 최대바이트) override;
    void 안의글바꿔쓰기(const 보유& 폴더, const std::wstring& 이름, const std::wstring& 글) override;
    날짜시각 지금() const override;
    bool 예아니오(const std::wstring& 텍스트) override;
    void 진행표시(const std::wstring& 글) override;
    bool 사용자에게허용(const 보유& 폴더, const std::wstring& 이름, 사용자권한 권한) override;
    bool 사용자토큰있음() override;
    bool 바탕화면사용자계정() override;

    // ---- Keeping the access list a grant replaces (win32_acl.cpp) ----
    std::wstring 접근목록(const 보유& 잡음, const std::wstring& 경로) override;
    std::wstring 보관폴더() override;
    bool 접근목록이지켜짐() override;
    소유자정보 소유자(const 보유& 잡음, const std::wstring& 경로) override;
    std::optional<항목보안> 안의보안(const 보유& 폴더, const std::wstring& 이름) override;
    std::optional<남의프로세스> 다른사용자프로세스() override;
    bool 링크파일인가(const 보유& 폴더, const std::wstring& 이름) override;

private:
    // The held own file and its final path (win32_process.cpp); throws as
    // 관리자로실행 does when it cannot be held.
    const std::wstring& 잡은자기파일();

    std::wstring 메시지제목_;
    win32::UniqueHandle 자기파일_;
    std::wstring 자기파일경로_;
    HWND 소유창_ = nullptr;
    HWND 진행표시줄_ = nullptr;
    int 진행칸_ = 0;
};
