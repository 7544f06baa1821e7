// Helpers for the tests that run under Wine: fresh folders that clean up
// after themselves, raw file access, guards that put back what a test
// changed in the process or the system, one bounded wait, and the stand-in
// cacls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace 시험 {

// Folder of the running test program.
std::wstring 프로그램폴더();

// A new, empty folder under the system's temporary folder, removed with all
// its content when the object goes. Its name holds a blank and Hangul, as a
// Korean user's folder may.
class 작업폴더 {
public:
    explicit 작업폴더(const std::wstring& 이름 = L"보안 시험");
    ~작업폴더();
    작업폴더(const 작업폴더&) = delete;
    작업폴더& operator=(const 작업폴더&) = delete;

    const std::wstring& 경로() const { return 경로_; }
    std::wstring operator/(const std::wstring& 이름) const { return 경로_ + L"\\" + 이름; }

private:
    std::wstring 경로_;
};

void 폴더만들기(const std::wstring& 경로);
void 폴더지우기(const std::wstring& 경로);  // recursive; missing is fine
bool 파일있음(const std::wstring& 경로);
std::string 바이트읽기(const std::wstring& 경로);
void 바이트쓰기(const std::wstring& 경로, const std::string& 바이트);
std::string 코드페이지로(const std::wstring& 글, UINT 코드페이지);
std::wstring 코드페이지에서(const std::string& 바이트, UINT 코드페이지);
std::vector<std::wstring> 폴더내용(const std::wstring& 폴더);  // names, without . and ..

// Asks `확인` again every 20 ms until it answers true or `제한ms` have
// passed; true when it did. Asked at least once, even with no time at all.
template <typename 조건>
bool 될때까지(DWORD 제한ms, 조건 확인) {
    const ULONGLONG 끝 = GetTickCount64() + 제한ms;
    for (;;) {
        if (확인()) return true;
        if (GetTickCount64() >= 끝) return false;
        Sleep(20);
    }
}

// Makes `폴더` the current folder for the object's lifetime, so that a test
// that fails half-way does not leave the next ones in a folder it deletes.
// 바뀜() is false when the folder could not be entered.
class 현재폴더바꾸기 {
public:
    explicit 현재폴더바꾸기(const std::wstring& 폴더);
    ~현재폴더바꾸기();
    현재폴더바꾸기(const 현재폴더바꾸기&) = delete;
    현재폴더바꾸기& operator=(const 현재폴더바꾸기&) = delete;

    bool 바뀜() const { return 바뀜_; }

private:
    std::wstring 원래_;
    bool 바뀜_;
};

// Moves a file out of the way for the object's lifetime and back afterwards,
// replacing whatever a test put at its name meanwhile. 치워짐() is false
// when it could not be moved.
class 파일치우기 {
public:
    파일치우기(std::wstring 경로, std::wstring 치울곳);
    ~파일치우기();
    파일치우기(const 파일치우기&) = delete;
    파일치우기& operator=(const 파일치우기&) = delete;

    bool 치워짐() const { return 치워짐_; }

private:
    std::wstring 경로_;
    std::wstring 치울곳_;
    bool 치워짐_;
};

// Sets an environment variable of this process for the object's lifetime;
// started processes inherit it.
class 환경변수바꾸기 {
public:
    환경변수바꾸기(std::wstring 이름, const wchar_t* 값);  // nullptr removes it
    ~환경변수바꾸기();
    환경변수바꾸기(const 환경변수바꾸기&) = delete;
    환경변수바꾸기& operator=(const 환경변수바꾸기&) = delete;

private:
    std::wstring 이름_;
    bool 있었음_;
    std::wstring 이전값_;
};

// Sets a value of HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion, where an
// elevated program reads its program-files folder, for the object's
// lifetime; nullptr removes it.
class 시스템값바꾸기 {
public:
    시스템값바꾸기(std::wstring 이름, const wchar_t* 값);
    ~시스템값바꾸기();

private:
    std::wstring 이름_, 이전값_;
};

// The stand-in cacls, installed over Wine's stub in system32, with its state
// in a folder of the test's own.
class 대체cacls {
public:
    // Copies standin\cacls.exe from beside the test program into system32
    // once per process; fails the test (not skips) when that is impossible.
    static void 설치();

    explicit 대체cacls(const std::wstring& 상태폴더);
    void 설명자정하기(const std::wstring& 폴더, const std::wstring& 설명자);
    std::wstring 설명자(const std::wstring& 폴더) const;  // empty when never set
    void 거부하기();  // changes fail as without administrator rights
    void 영어로();    // messages of an English Windows
    void 따옴표로();  // a query prints the descriptor in double quotes
    void 늦추기(unsigned 밀리초);  // every run waits this long before answering
    std::wstring 호출기록() const;

private:
    std::wstring 상태폴더_;
    환경변수바꾸기 환경_;
};

}  // namespace 시험
