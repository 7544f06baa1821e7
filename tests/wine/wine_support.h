// Helpers for the tests that run under Wine: fresh folders that clean up
// after themselves, raw file access, and the stand-in cacls.
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
    void 늦추기(unsigned 밀리초);  // every run waits this long before answering
    std::wstring 호출기록() const;

private:
    std::wstring 상태폴더_;
    환경변수바꾸기 환경_;
};

}  // namespace 시험
