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
    // "메시지 <text>", "관리자실행 <arguments>", "사용자열기 <folder or address>".
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

    std::wstring 시스템프로그램폴더값[2] = {L"C:\\Program Files", L"C:\\Program Files (x86)"};
    std::wstring 시스템프로그램폴더(bool x86용) const override { return 시스템프로그램폴더값[x86용]; }

    // Wine reports every token as elevated; the fake lets a test choose.
    bool 관리자 = false;
    bool 관리자권한() const override { return 관리자; }

    std::wstring 프로필폴더값 = L"C:\\Users\\kim";
    std::wstring 사용자프로필폴더() const override { return 프로필폴더값; }

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

    std::wstring 존재검사(const std::wstring& 경로0, 속성마스크 마스크) const override {
        const bool 폴더도 = 마스크 == 속성마스크::폴더포함;
        const std::wstring 경로 = 따라간경로(경로0);
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
        실패하면던지기(경로, 파일작업::파일삭제);
        if (!파일들.erase(따라간경로(경로))) throw 파일오류(경로, 2, L"지정된 파일을 찾을 수 없습니다.");
    }

    void 한줄쓰기(const std::wstring& 경로, const std::wstring& 줄) override {
        기록.push_back(L"쓰기 " + 경로);
        실패하면던지기(경로, 파일작업::파일쓰기);
        파일들[따라간경로(경로)] = 줄 + L"\r\n";
        if (쓴뒤동작) 쓴뒤동작(*this, 경로);
    }

    std::unique_ptr<보유> 고정하기(const std::wstring& 경로, const std::wstring& 줄) override {
        기록.push_back(L"고정 " + 경로);
        if (파일들[따라간경로(경로)] != 줄 + L"\r\n")
            throw 파일오류({경로, 1006, 거절사실{거절::실행전바뀜, {}, 0, 0}}, 파일작업::파일고정);
        return std::make_unique<고정>(기록, 경로);
    }

    // Every link of the fake (junction, symbolic link, mount point) by its
    // path, and the path it leads to. What is stored below a link's own path
    // is what the link itself holds (a folder made a junction while held
    // keeps what the hold wrote into it). Every operation that takes a path
    // follows the links at and above it, as the system does on a fresh
    // look-up; an operation through a hold reaches the held folder's own
    // entries, and a link at an entry's name is that entry, never followed.
    // 그대로인가 is false for a held folder that became a link. A link that
    // leads "" is a reparse point whose target no test looks at: a look-up
    // passes through it unchanged.
    struct 링크표 : std::map<std::wstring, std::wstring> {
        void insert(const std::wstring& 경로, const std::wstring& 가리킴 = {}) { (*this)[경로] = 가리킴; }
    };
    링크표 연결지점들;
    // What another process does right after a folder was held.
    std::function<void(가짜플랫폼&, const std::wstring& 경로)> 고정뒤동작;

    // The system's name of a folder where it differs from its path other
    // than by links (in case, say, or moved); a test may change it while the
    // folder is held.
    std::map<std::wstring, std::wstring> 최종경로들;
    std::wstring 최종경로(const std::wstring& 경로) const {
        return 최종경로들.count(경로) ? 최종경로들.at(경로) : 경로;
    }

    // `경로` looked up by name: every link at or above it followed.
    std::wstring 따라간경로(const std::wstring& 경로) const {
        std::wstring 결과 = 경로;
        for (int 깊이 = 0; 깊이 < 16; ++깊이) {  // a loop of links ends somewhere
            const auto 링크 = std::find_if(연결지점들.begin(), 연결지점들.end(), [&](const auto& 쌍) {
                return !쌍.second.empty() && (결과 == 쌍.first || 결과.rfind(쌍.first + L"\\", 0) == 0);
            });
            if (링크 == 연결지점들.end()) break;
            결과 = 링크->second + 결과.substr(링크->first.size());
        }
        return 결과;
    }

    // What opening `경로` itself reaches (a reparse point at its last name
    // is opened, not followed, as 폴더고정 and 이름바꾸기 open it).
    std::wstring 연곳(const std::wstring& 경로) const {
        const size_t 구분자 = 경로.rfind(L'\\');
        return 구분자 == std::wstring::npos ? 경로 : 따라간경로(경로.substr(0, 구분자)) + 경로.substr(구분자);
    }

    폴더고정결과 폴더고정(const std::wstring& 경로) override {
        기록.push_back(L"폴더고정 " + 경로);
        return 고정해보기(연곳(경로), 경로);
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
        const std::wstring& 내용 = 파일들[따라간경로(경로)];  // a missing file is created empty
        if (내용.size() > 최대바이트) throw 파일오류({경로, 223, 거절사실{거절::너무큼, {}, 내용.size(), 최대바이트}}, 파일작업::파일읽기);
        return 내용;
    }

    // Set, cmd cannot be started.
    // The folder of the batch file a command line runs: where a stand-in
    // for cacls writes its output, the private folder or the temporary one.
    static std::wstring 배치폴더(const std::wstring& 명령줄) {
        return 명령줄.substr(1, 명령줄.rfind(L'\\') - 1);
    }

    bool 실행실패 = false;
    // "Runs" the batch file: records its path, quoted as a command line
    // would hold it.
    void 배치실행(const std::wstring& 배치경로) override {
        const std::wstring 명령줄 = L"\"" + 배치경로 + L"\"";
        기록.push_back(L"실행 " + 명령줄);
        if (실행실패)
            throw 파일오류(시스템폴더값 + L"\\cmd.exe", 2, L"찾을 수 없습니다.", 파일작업::프로그램시작);
        실행한명령들.push_back(명령줄);
        if (실행동작) 실행동작(*this, 명령줄);
    }

    // What the elevated run of the tool comes to: the test sets the answer,
    // and may let the run act on the fake's files first; 관리자실행오류
    // set makes the start fail.
    관리자실행결과 관리자실행답{false, 0};
    std::function<void(가짜플랫폼&, const std::wstring& 인자)> 관리자실행동작;
    bool 관리자실행오류 = false;
    std::vector<std::wstring> 관리자실행인자들;

    관리자실행결과 관리자로실행(const std::wstring& 인자) override {
        기록.push_back(L"관리자실행 " + 인자);
        관리자실행인자들.push_back(인자);
        if (관리자실행오류)
            throw 파일오류(L"C:\\Tools\\boansetting.exe", 2, L"지정된 파일을 찾을 수 없습니다.");
        if (관리자실행동작) 관리자실행동작(*this, 인자);
        return 관리자실행답;
    }

    void 셸열기(const std::wstring& 대상) override {
        기록.push_back(L"열기 " + 대상);
        열린대상들.push_back(대상);
    }

    // Whether a desktop shell takes folders and addresses for the user.
    bool 사용자셸있음 = true;
    std::vector<std::wstring> 사용자로연것들;
    bool 사용자로열기(const std::wstring& 대상) override {
        기록.push_back(L"사용자열기 " + 대상);
        if (사용자셸있음) 사용자로연것들.push_back(대상);
        return 사용자셸있음;
    }

    std::vector<상자종류> 상자종류들;  // beside 메시지들, one for each box
    void 메시지상자(const std::wstring& 텍스트, 상자종류 종류) override {
        기록.push_back(L"메시지 " + 텍스트);
        메시지들.push_back(텍스트);
        상자종류들.push_back(종류);
    }

    // What the clipboard holds; 클립보드막힘 set, another program holds it.
    std::wstring 클립보드;
    bool 클립보드막힘 = false;
    bool 클립보드에(const std::wstring& 글) override {
        if (클립보드막힘) return false;
        클립보드 = 글;
        return true;
    }

    // What the user could change of the program the shield starts.
    std::wstring 바꿀수있는자기경로값;
    std::wstring 바꿀수있는자기경로() override { return 바꿀수있는자기경로값; }

    // Network or unready drives by letter ("N:"); a share path is a network one.
    std::map<std::wstring, 드라이브종류> 드라이브들;
    드라이브종류 드라이브(const std::wstring& 경로) const override {
        if (경로.rfind(L"\\\\", 0) == 0) return 드라이브종류::네트워크;
        const auto 찾음 = 드라이브들.find(경로.substr(0, 2));
        return 찾음 == 드라이브들.end() ? 드라이브종류::이컴퓨터 : 찾음->second;
    }

    // ---- The VirtualStore move ----
    // Files that are a second name of another file (hard links): listed as
    // files, refused when opened. Symbolic links and junctions go in
    // 연결지점들, which the listing shows as links.
    std::set<std::wstring> 하드링크들;
    bool 예답 = true;  // the answer to every Yes/No question
    std::vector<std::wstring> 물음들;
    std::vector<std::wstring> 진행들;
    날짜시각 시각값{2026, 12, 8, 9, 5, 7};

    // Last-write and creation times of 파일들 and 폴더들; one not named has 0.
    std::map<std::wstring, long long> 쓴때들, 만든때들;

    // Through a hold, the move reaches the held folder's own entries: a
    // link made at its path since is not followed.
    std::vector<폴더항목> 폴더항목들(const 보유& 잡음) override {
        const std::wstring& 폴더 = 잡은경로(잡음);
        기록.push_back(L"목록 " + 폴더);
        실패하면던지기(폴더);
        std::map<std::wstring, 항목종류> 항목;
        for (const auto& 파일 : 파일들) 바로아래면(항목, 폴더, 파일.first, 항목종류::파일);
        for (const auto& 하위 : 폴더들) 바로아래면(항목, 폴더, 하위, 항목종류::폴더);
        for (const auto& 연결 : 연결지점들) 바로아래면(항목, 폴더, 연결.first, 항목종류::링크);
        std::vector<폴더항목> 결과;
        for (const auto& [이름, 종류] : 항목) {
            const std::wstring 경로 = 폴더 + L"\\" + 이름;
            결과.push_back({이름, 종류, 때(쓴때들, 경로), 때(만든때들, 경로)});
        }
        return 결과;
    }

    폴더고정결과 하위폴더고정(const 보유& 폴더, const std::wstring& 이름) override {
        const std::wstring 경로 = 잡은경로(폴더) + L"\\" + 이름;
        기록.push_back(L"폴더고정 " + 경로);
        return 고정해보기(경로, 경로);
    }

    std::unique_ptr<보유> 하위폴더만들기(const 보유& 폴더, const std::wstring& 이름) override {
        const std::wstring 경로 = 잡은경로(폴더) + L"\\" + 이름;
        기록.push_back(L"폴더만들기 " + 경로);
        if (파일들.count(경로) || 폴더들.count(경로) || 연결지점들.count(경로))
            throw 파일오류(경로, 183, L"파일이 이미 있으므로 만들 수 없습니다.");
        폴더들.insert(경로);
        return 고정하고(경로);
    }

    bool 같은내용(const 보유& 가, const 보유& 나, const std::wstring& 이름) override {
        const std::wstring 가경로 = 잡은경로(가) + L"\\" + 이름, 나경로 = 잡은경로(나) + L"\\" + 이름;
        기록.push_back(L"비교 " + 가경로 + L" " + 나경로);
        return 열린파일(가경로) == 열린파일(나경로);
    }

    // What another process does to a copy's target while the new version is written.
    std::function<void(가짜플랫폼&, const std::wstring& 경로)> 바꾸기전동작;

    void 파일복사(const 보유& 원본폴더, const 보유& 대상폴더, const std::wstring& 이름,
                  복사방식 방식, long long 목록쓴때) override {
        const std::wstring 원본 = 잡은경로(원본폴더) + L"\\" + 이름;
        const std::wstring 대상 = 잡은경로(대상폴더) + L"\\" + 이름;
        const bool 새로 = 방식 == 복사방식::새파일;
        기록.push_back((새로 ? L"복사 " : L"덮어쓰기 ") + 원본 + L" -> " + 대상);
        const std::wstring 내용 = 열린파일(원본);
        if (바꾸기전동작) 바꾸기전동작(*this, 대상);
        if (새로) {
            if (파일들.count(대상) || 폴더들.count(대상) || 연결지점들.count(대상))
                throw 파일오류(대상, 목록과다름, L"파일이 이미 있으므로 만들 수 없습니다.");
            실패하면던지기(대상);
        } else {
            열린파일(대상);
            if ((쓴때들.count(대상) ? 쓴때들.at(대상) : 0) != 목록쓴때) throw 파일오류(대상, 목록과다름, L"");
        }
        파일들[대상] = 내용;
        쓴때들[대상] = 쓴때들[원본];
    }

    void 이름바꾸기(const std::wstring& 폴더0, const std::wstring& 원래이름,
                    const std::wstring& 새이름0) override {
        기록.push_back(L"이름바꾸기 " + 폴더0 + L"\\" + 원래이름 + L" -> " + 폴더0 + L"\\" + 새이름0);
        const std::wstring 폴더 = 연곳(폴더0);
        if (연결지점들.count(폴더) || !같은이름(최종경로(폴더), 폴더0))
            throw 파일오류(폴더0, 링크거부, 거절사실{거절::링크, {}, 0, 0});
        const std::wstring 원래 = 폴더 + L"\\" + 원래이름, 새이름 = 폴더 + L"\\" + 새이름0;
        실패하면던지기(원래);
        if (폴더들.count(새이름) || 파일들.count(새이름))
            throw 파일오류(원래, 183, L"파일이 이미 있으므로 만들 수 없습니다.");
        옮겨붙이기(파일들, 원래, 새이름);
        옮겨붙이기(폴더들, 원래, 새이름);
        옮겨붙이기(연결지점들, 원래, 새이름);
    }

    // The log's text is kept in 파일들 as it is, without a byte-order mark.
    std::optional<std::wstring> 안의글읽기(const 보유& 폴더, const std::wstring& 이름,
                                           std::size_t 최대바이트) override {
        const std::wstring 경로 = 잡은경로(폴더) + L"\\" + 이름;
        기록.push_back(L"글읽기 " + 경로);
        if (!파일들.count(경로) && !연결지점들.count(경로)) return std::nullopt;
        const std::wstring& 내용 = 열린파일(경로);
        if (내용.size() > 최대바이트) throw 파일오류(경로, 223, 거절사실{거절::너무큼, {}, 내용.size(), 최대바이트});
        return 내용;
    }
    void 안의글바꿔쓰기(const 보유& 폴더, const std::wstring& 이름, const std::wstring& 글) override {
        const std::wstring 경로 = 잡은경로(폴더) + L"\\" + 이름;
        기록.push_back(L"글쓰기 " + 경로);
        실패하면던지기(경로);
        연결지점들.erase(경로);
        파일들[경로] = 글;
    }

    날짜시각 지금() const override { return 시각값; }

    bool 예아니오(const std::wstring& 텍스트) override {
        기록.push_back(L"묻기 " + 텍스트);
        물음들.push_back(텍스트);
        return 예답;
    }

    void 진행표시(const std::wstring& 글) override { 진행들.push_back(글); }

    // What the logged-on user's own token may not do, by path (a held
    // folder's own, or an entry's) and right; and whether an elevated run
    // has that token at all, and runs as the desktop's user.
    std::set<std::pair<std::wstring, 사용자권한>> 사용자거부;
    bool 연결토큰있음 = true;
    bool 바탕화면사용자 = true;
    bool 바탕화면사용자계정() override { return 바탕화면사용자; }
    bool 사용자에게허용(const 보유& 폴더, const std::wstring& 이름, 사용자권한 권한) override {
        const std::wstring 경로 = 이름.empty() ? 잡은경로(폴더) : 잡은경로(폴더) + L"\\" + 이름;
        return 사용자토큰있음() && !사용자거부.count({경로, 권한});
    }
    bool 사용자토큰있음() override { return !관리자 || 연결토큰있음; }

    // ---- Keeping access lists ----
    // Each folder's list as the real layer reads it; a folder not listed has
    // Windows' inherited default. The kept lists go to 파일들.
    std::map<std::wstring, std::wstring> 접근목록들;
    std::wstring 보관폴더값 = L"C:\\ProgramData\\BoanSetting";

    std::wstring 목록(const std::wstring& 경로) const {
        const auto 찾음 = 접근목록들.find(경로);
        return 찾음 == 접근목록들.end() ? L"D:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)" : 찾음->second;
    }
    std::wstring 접근목록(const 보유&, const std::wstring& 경로) override {
        기록.push_back(L"접근목록 " + 경로);
        return 목록(경로);
    }

    // Set, the kept folder stands there already, someone else's.
    bool 남의보관폴더 = false;
    std::wstring 보관폴더() override {
        실패하면던지기(보관폴더값);
        if (남의보관폴더) throw 파일오류(보관폴더값, 남의소유, 거절사실{거절::보관남의폴더, {}, 0, 0});
        if (연결지점들.count(연곳(보관폴더값))) throw 파일오류(보관폴더값, 링크거부, 거절사실{거절::보관연결지점, {}, 0, 0});
        폴더들.insert(보관폴더값);
        return 보관폴더값;
    }

    bool 목록지켜짐 = true;
    bool 접근목록이지켜짐() override { return 목록지켜짐; }

    // Owners' SIDs by path; one not named here is Administrators'.
    std::map<std::wstring, std::wstring> 소유자들;
    소유자정보 소유자(const 보유& 잡음, const std::wstring&) override {
        const auto 찾음 = 소유자들.find(잡은경로(잡음));
        const std::wstring sid = 찾음 == 소유자들.end() ? L"S-1-5-32-544" : 찾음->second;
        return {sid, L"PC\\" + sid};
    }

    // Hard links are the files in 하드링크들.
    std::optional<항목보안> 안의보안(const 보유& 폴더, const std::wstring& 이름) override {
        const std::wstring 경로 = 잡은경로(폴더) + L"\\" + 이름;
        실패하면던지기(경로);
        if (!파일들.count(경로) && !연결지점들.count(경로) && !폴더들.count(경로)) return std::nullopt;
        const auto 찾음 = 소유자들.find(경로);
        const std::wstring sid = 찾음 == 소유자들.end() ? L"S-1-5-32-544" : 찾음->second;
        return 항목보안{{sid, sid}, 목록(경로)};
    }

    bool 링크파일인가(const 보유& 폴더, const std::wstring& 이름) override {
        const std::wstring 경로 = 잡은경로(폴더) + L"\\" + 이름;
        실패하면던지기(경로);
        return 하드링크들.count(경로) != 0;
    }

    // A process of another user's account that runs, and whether listing
    // the processes fails.
    std::optional<남의프로세스> 다른사용자;
    bool 프로세스목록실패 = false;
    std::optional<남의프로세스> 다른사용자프로세스() override {
        기록.push_back(L"프로세스목록");
        if (프로세스목록실패) throw 파일오류(L"wtsapi32.dll", 5, L"액세스가 거부되었습니다.");
        return 다른사용자;
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

    // Holds an entry while something lies below the folder; changed once a
    // test made it a link or renamed it.
    class 고정된폴더 : public 고정폴더 {
    public:
        고정된폴더(가짜플랫폼& 플랫폼, const std::wstring& 경로)
            : 플랫폼_(플랫폼), 경로_(경로), 이름_(플랫폼.최종경로(경로)), 풀림_(플랫폼.기록, 경로) {}
        bool 안의항목붙잡기() override {
            const auto 아래 = [this](const std::wstring& 경로) { return 경로.rfind(경로_ + L"\\", 0) == 0; };
            const auto& 파일 = 플랫폼_.파일들;
            return !플랫폼_.목록거부폴더들.count(경로_) &&
                   (std::any_of(플랫폼_.폴더들.begin(), 플랫폼_.폴더들.end(), 아래) ||
                    std::any_of(파일.begin(), 파일.end(), [&](const auto& 쌍) { return 아래(쌍.first); }));
        }
        bool 그대로인가() const override {
            return !플랫폼_.연결지점들.count(경로_) && 플랫폼_.최종경로(경로_) == 이름_;
        }
        const std::wstring& 경로() const { return 경로_; }

    private:
        가짜플랫폼& 플랫폼_;
        std::wstring 경로_, 이름_;
        고정 풀림_;
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

    static bool 같은이름(const std::wstring& 가, const std::wstring& 나) { return 소문자(가) == 소문자(나); }

    // The folder `곳` opened itself, asked for as `경로`: held when it is a
    // folder the system names as asked.
    폴더고정결과 고정해보기(const std::wstring& 곳, const std::wstring& 경로) {
        if (연결지점들.count(곳)) return {폴더상태::연결지점, nullptr, {}};
        if (!폴더들.count(곳)) return {폴더상태::없음, nullptr, {}};
        if (!같은이름(최종경로(곳), 경로)) return {폴더상태::다른경로, nullptr, {}};
        return {폴더상태::고정됨, 고정하고(곳), 최종경로(곳)};
    }

    static std::wstring 소문자(std::wstring 글) {
        std::transform(글.begin(), 글.end(), 글.begin(),
                       [](wchar_t 글자) { return static_cast<wchar_t>(std::towlower(글자)); });
        return 글;
    }

    void 실패하면던지기(const std::wstring& 경로, 파일작업 작업 = 파일작업::기타) const {
        if (실패할경로.count(경로)) throw 파일오류(경로, 5, L"액세스가 거부되었습니다.", 작업);
    }

    std::map<std::wstring, std::wstring> 환경_;

    // A folder held at `경로`, and what another process does right after.
    std::unique_ptr<고정폴더> 고정하고(const std::wstring& 경로) {
        auto 잡음 = std::make_unique<고정된폴더>(*this, 경로);
        if (고정뒤동작) 고정뒤동작(*this, 경로);
        return 잡음;
    }

    // The path a folder had when it was held, as the platform's handle.
    static const std::wstring& 잡은경로(const 보유& 잡음) {
        const auto* 폴더 = dynamic_cast<const 고정된폴더*>(&잡음);
        if (!폴더) throw 파일오류(L"", 6, L"핸들이 잘못되었습니다.");
        return 폴더->경로();
    }

    static long long 때(const std::map<std::wstring, long long>& 때들, const std::wstring& 경로) {
        const auto 찾음 = 때들.find(경로);
        return 찾음 == 때들.end() ? 0 : 찾음->second;
    }

    static void 바로아래면(std::map<std::wstring, 항목종류>& 항목, const std::wstring& 폴더,
                           const std::wstring& 경로, 항목종류 종류) {
        if (경로.size() <= 폴더.size() + 1 || 경로.compare(0, 폴더.size() + 1, 폴더 + L"\\") != 0)
            return;
        const std::wstring 이름 = 경로.substr(폴더.size() + 1);
        if (이름.find(L'\\') == std::wstring::npos) 항목[이름] = 종류;
    }

    // The content of a plain file, as the real layer opens one for the move.
    const std::wstring& 열린파일(const std::wstring& 경로) const {
        실패하면던지기(경로);
        if (연결지점들.count(경로) || 하드링크들.count(경로))
            throw 파일오류(경로, 링크거부, 거절사실{거절::링크, {}, 0, 0});
        const auto 찾음 = 파일들.find(경로);
        if (찾음 == 파일들.end()) throw 파일오류(경로, 2, L"지정된 파일을 찾을 수 없습니다.");
        return 찾음->second;
    }

    static std::wstring 새경로(const std::wstring& 경로, const std::wstring& 원래,
                               const std::wstring& 새이름) {
        const bool 아래 = 경로 == 원래 || 경로.rfind(원래 + L"\\", 0) == 0;
        return 아래 ? 새이름 + 경로.substr(원래.size()) : 경로;
    }
    static void 옮겨붙이기(std::set<std::wstring>& 곳, const std::wstring& 원래,
                           const std::wstring& 새이름) {
        std::set<std::wstring> 결과;
        for (const auto& 경로 : 곳) 결과.insert(새경로(경로, 원래, 새이름));
        곳 = std::move(결과);
    }
    static void 옮겨붙이기(std::map<std::wstring, std::wstring>& 곳, const std::wstring& 원래,
                           const std::wstring& 새이름) {
        std::map<std::wstring, std::wstring> 결과;
        for (const auto& [경로, 내용] : 곳) 결과[새경로(경로, 원래, 새이름)] = 내용;
        곳 = std::move(결과);
    }
};
