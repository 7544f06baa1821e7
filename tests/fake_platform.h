// A platform that keeps files, folders and environment in memory, records
// every operation in order, and lets a test decide what a started process
// does and which file steps fail.
#pragma once

#include <algorithm>
#include <cwctype>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

class 가짜플랫폼 : public 플랫폼 {
public:
    // What a started process does: it may read and write the fake's files.
    std::function<void(가짜플랫폼&, const std::wstring& 명령줄)> 실행동작;
    // What another process does right after a file was written.
    std::function<void(가짜플랫폼&, const std::wstring& 경로)> 쓴뒤동작;

    void 환경설정(const std::wstring& 이름, const std::wstring& 값) { 환경_[소문자(이름)] = 값; }
    void 환경삭제(const std::wstring& 이름) { 환경_.erase(소문자(이름)); }

    // Files hold exactly what was written to them, line ends included.
    std::map<std::wstring, std::wstring> 파일들;
    std::set<std::wstring> 폴더들;
    // Writes and deletes of these paths throw, as a locked file would.
    std::set<std::wstring> 실패할경로;
    // Files of 파일들 that are hidden or system files.
    std::set<std::wstring> 숨김파일들;
    // Folders whose access list denies listing them.
    std::set<std::wstring> 목록거부폴더들;

    // Every operation, in order: "쓰기 <path>", "삭제 <path>", "실행 <line>",
    // "고정 <path>", "풀림 <path>", "읽기 <path>", "열기 <target>",
    // "메시지 <text>".
    std::vector<std::wstring> 기록;
    std::vector<std::wstring> 메시지들;
    std::vector<std::wstring> 실행한명령들;
    std::vector<std::wstring> 열린대상들;

    bool 있음(const std::wstring& 경로) const { return 파일들.count(경로) != 0; }

    // Relative paths resolve against this folder, as against a current
    // directory; paths that start at a drive or a root stay as they are.
    std::wstring 현재폴더 = L"D:\\Downloads";
    std::wstring 시스템폴더값 = L"C:\\Windows\\system32";

    std::wstring 전체경로(const std::wstring& 경로) const override {
        if (경로.empty() || (경로.size() > 1 && 경로[1] == L':')) return 경로;
        if (경로[0] == L'\\') return 현재폴더.substr(0, 2) + 경로;
        return 현재폴더 + L"\\" + 경로;
    }

    std::wstring 시스템폴더() const override { return 시스템폴더값; }

    // Wine reports every token as elevated; the fake lets a test choose.
    bool 관리자 = false;
    bool 관리자권한() const override { return 관리자; }

    // Characters the fake's code page cannot carry exactly: the won sign
    // (whose best fit is a backslash) and Thai.
    std::wstring 코드페이지밖글자 = L"\u20A9\u0E44\u0E17\u0E22";
    bool 코드페이지로그대로(const std::wstring& 글) const override {
        return 글.find_first_of(코드페이지밖글자) == std::wstring::npos;
    }

    // Private folders are numbered; each is made in 폴더들 and removed from
    // it, with its files, when its owner goes.
    int 개인폴더수 = 0;
    개인폴더 개인임시폴더만들기() override {
        const std::wstring 경로 = L"C:\\Windows\\Temp\\개인" + std::to_wstring(++개인폴더수);
        기록.push_back(L"개인폴더 " + 경로);
        폴더들.insert(경로);
        return {경로, std::make_unique<개인폴더지움>(*this, 경로)};
    }

    std::wstring 환경변수(const std::wstring& 이름) const override {
        auto 찾음 = 환경_.find(소문자(이름));
        return 찾음 == 환경_.end() ? std::wstring() : 찾음->second;
    }

    std::wstring 존재검사(const std::wstring& 경로, 속성마스크 마스크) const override {
        const bool 폴더도 = 마스크 == 속성마스크::폴더포함;
        if (!경로.empty() && 경로.back() == L'\\') {
            const std::wstring 폴더 = 경로.substr(0, 경로.size() - 1);
            return 폴더도 && 폴더들.count(폴더) && !목록거부폴더들.count(폴더) ? L"." : L"";
        }
        if (숨김파일들.count(경로) && 마스크 != 속성마스크::숨김포함) return {};
        if (파일들.count(경로) || (폴더도 && 폴더들.count(경로)))
            return 경로.substr(경로.rfind(L'\\') + 1);
        return {};
    }

    void 파일삭제(const std::wstring& 경로) override {
        기록.push_back(L"삭제 " + 경로);
        실패하면던지기(경로);
        if (!파일들.erase(경로)) throw 파일오류(경로, 2, L"지정된 파일을 찾을 수 없습니다.");
    }

    void 한줄쓰기(const std::wstring& 경로, const std::wstring& 줄) override {
        기록.push_back(L"쓰기 " + 경로);
        실패하면던지기(경로);
        파일들[경로] = 줄 + L"\r\n";
        if (쓴뒤동작) 쓴뒤동작(*this, 경로);
    }

    std::unique_ptr<보유> 고정하기(const std::wstring& 경로, const std::wstring& 줄) override {
        기록.push_back(L"고정 " + 경로);
        if (파일들[경로] != 줄 + L"\r\n") throw 파일오류(경로, 1006, L"바뀌었습니다.");
        return std::make_unique<고정>(기록, 경로);
    }

    // Folders that are reparse points, and folders whose system name is
    // another (a link higher up their path).
    std::set<std::wstring> 연결지점들;
    std::set<std::wstring> 다른이름폴더들;

    폴더고정결과 폴더고정(const std::wstring& 경로) override {
        기록.push_back(L"폴더고정 " + 경로);
        if (연결지점들.count(경로)) return {폴더상태::연결지점, nullptr};
        if (!폴더들.count(경로)) return {폴더상태::없음, nullptr};
        if (다른이름폴더들.count(경로)) return {폴더상태::다른경로, nullptr};
        return {폴더상태::고정됨, std::make_unique<고정>(기록, 경로)};
    }

    // Set, another instance keeps the temporary files past any limit.
    bool 다른인스턴스사용중 = false;
    unsigned long 마지막대기한도 = 0;
    std::unique_ptr<보유> 임시파일독점(unsigned long 최대대기밀리초) override {
        기록.push_back(L"독점");
        마지막대기한도 = 최대대기밀리초;
        if (다른인스턴스사용중) return nullptr;
        return std::make_unique<고정>(기록, L"독점");
    }

    std::wstring 전체읽기(const std::wstring& 경로, std::size_t 최대바이트) override {
        기록.push_back(L"읽기 " + 경로);
        if (파일들[경로].size() > 최대바이트)  // a missing file is created empty
            throw 파일오류(경로, 223, L"너무 큽니다.");
        return 파일들[경로];
    }

    // Set, cmd cannot be started.
    bool 실행실패 = false;
    // "Runs" the batch file: records its path, quoted as a command line
    // would hold it.
    void 배치실행(const std::wstring& 배치경로) override {
        const std::wstring 명령줄 = L"\"" + 배치경로 + L"\"";
        기록.push_back(L"실행 " + 명령줄);
        if (실행실패) throw 파일오류(시스템폴더값 + L"\\cmd.exe", 2, L"찾을 수 없습니다.");
        실행한명령들.push_back(명령줄);
        if (실행동작) 실행동작(*this, 명령줄);
    }

    void 셸열기(const std::wstring& 대상) override {
        기록.push_back(L"열기 " + 대상);
        열린대상들.push_back(대상);
    }

    void 메시지상자(const std::wstring& 텍스트) override {
        기록.push_back(L"메시지 " + 텍스트);
        메시지들.push_back(텍스트);
    }

private:
    class 고정 : public 보유 {
    public:
        고정(std::vector<std::wstring>& 기록, std::wstring 경로)
            : 기록_(기록), 경로_(std::move(경로)) {}
        ~고정() override { 기록_.push_back(L"풀림 " + 경로_); }  // "풀림 독점" for the mutex

    private:
        std::vector<std::wstring>& 기록_;
        std::wstring 경로_;
    };

    class 개인폴더지움 : public 보유 {
    public:
        개인폴더지움(가짜플랫폼& 플랫폼, std::wstring 경로) : 플랫폼_(플랫폼), 경로_(std::move(경로)) {}
        ~개인폴더지움() override {
            플랫폼_.기록.push_back(L"개인폴더지움 " + 경로_);
            for (auto 파일 = 플랫폼_.파일들.begin(); 파일 != 플랫폼_.파일들.end();)
                파일 = 파일->first.rfind(경로_ + L"\\", 0) == 0 ? 플랫폼_.파일들.erase(파일)
                                                                  : std::next(파일);
            플랫폼_.폴더들.erase(경로_);
        }

    private:
        가짜플랫폼& 플랫폼_;
        std::wstring 경로_;
    };

    static std::wstring 소문자(std::wstring 글) {
        std::transform(글.begin(), 글.end(), 글.begin(),
                       [](wchar_t 글자) { return static_cast<wchar_t>(std::towlower(글자)); });
        return 글;
    }

    void 실패하면던지기(const std::wstring& 경로) const {
        if (실패할경로.count(경로)) throw 파일오류(경로, 5, L"액세스가 거부되었습니다.");
    }

    std::map<std::wstring, std::wstring> 환경_;
};
