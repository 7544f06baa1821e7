// How the permission module drives `cacls`: see permission.h.
#include "permission/permission.h"

#include <exception>
#include <initializer_list>
#include <vector>

namespace 보안방화벽 {
namespace {

std::wstring 임시경로(const 플랫폼& 시스템, const wchar_t* 이름) {
    // Looked up afresh for every path: the tool keeps no state between calls.
    // Made absolute here because cmd runs in another current directory than
    // the tool: a relative or drive-less "TEMP" would otherwise name one file
    // to the tool and another to the batch file's redirections.
    return 시스템.전체경로(시스템.환경변수(L"TEMP") + 이름);
}

std::wstring 따옴표(const std::wstring& 경로) {
    return L"\"" + 경로 + L"\"";
}

// The temporary files of one call, in the order they are deleted. Should a
// step fail, the files of the call that can still be deleted are deleted
// before the error goes on, so that nothing of the call is left behind.
class 임시파일들 {
public:
    임시파일들(플랫폼& 시스템, std::initializer_list<std::wstring> 경로들)
        : 시스템_(시스템), 경로들_(경로들) {}
    임시파일들(const 임시파일들&) = delete;
    임시파일들& operator=(const 임시파일들&) = delete;

    // The normal end: every file is deleted; the first failure is passed on
    // once the others have been tried.
    void 지우기() {
        지웠음_ = true;
        std::exception_ptr 첫오류;
        for (const std::wstring& 경로 : 경로들_) {
            try {
                시스템_.파일삭제(경로);
            } catch (const 파일오류&) {
                if (!첫오류) 첫오류 = std::current_exception();
            }
        }
        if (첫오류) std::rethrow_exception(첫오류);
    }

    ~임시파일들() {
        if (지웠음_) return;
        for (const std::wstring& 경로 : 경로들_) {
            try {
                if (!시스템_.존재검사(경로, 속성마스크::일반파일).empty()) 시스템_.파일삭제(경로);
            } catch (const 파일오류&) {
                // Already on an error's way out; that error is the one to report.
            }
        }
    }

private:
    플랫폼& 시스템_;
    std::vector<std::wstring> 경로들_;
    bool 지웠음_ = false;
};

// An earlier run's output must never be read as this run's result.
void 이전출력지우기(플랫폼& 시스템, const std::wstring& 출력경로) {
    if (!시스템.존재검사(출력경로, 속성마스크::일반파일).empty())
        시스템.파일삭제(출력경로);
}

// Writes the one-line batch file, runs it and returns what it redirected
// into the output file.
std::wstring 배치실행후읽기(플랫폼& 시스템, const std::wstring& 배치경로,
                           const std::wstring& 배치줄, const std::wstring& 출력경로) {
    시스템.한줄쓰기(배치경로, 배치줄);
    {
        // Run elevated, the batch file is a privilege boundary: the temporary
        // folder is the user's, so any process of theirs could rewrite it
        // between the write and the run. It stays fixed until cmd has ended.
        const auto 고정 = 시스템.고정하기(배치경로, 배치줄);
        // The whole command line is the quoted path: unquoted, a blank in the
        // temporary folder would let Windows start a program named by a prefix.
        std::wstring 명령줄 = 따옴표(배치경로);
        명령실행(시스템, 명령줄);
    }
    return 파일읽기(시스템, 출력경로);
}

플래그 포함하면참(const std::wstring& 글, const wchar_t* 찾을글) {
    return 글.find(찾을글) != std::wstring::npos ? 참 : 거짓;
}

}  // namespace

void 명령실행(플랫폼& 시스템, std::wstring& 명령줄) {
    시스템.숨겨실행(명령줄);
}

std::wstring 파일읽기(플랫폼& 시스템, const std::wstring& 경로) {
    try {
        return 시스템.전체읽기(경로);
    } catch (const 파일오류&) {
        return {};
    }
}

std::wstring 검사명령(const std::wstring& 대상경로, const std::wstring& 출력경로) {
    return L"cacls " + 따옴표(대상경로) + L" /s  > " + 따옴표(출력경로);
}

std::wstring 부여명령(const std::wstring& 대상경로, const std::wstring& 응답경로,
                      const std::wstring& 출력경로) {
    return L"cacls " + 따옴표(대상경로) + L" /s:D:" + 사용자전체권한 + L" < " +
           따옴표(응답경로) + L" > " + 따옴표(출력경로);
}

플래그 권한검사(플랫폼& 시스템, const std::wstring& 대상경로) {
    const auto 독점 = 시스템.임시파일독점();
    const std::wstring 출력경로 = 임시경로(시스템, 검사출력파일);
    const std::wstring 배치경로 = 임시경로(시스템, 검사배치파일);
    임시파일들 정리(시스템, {배치경로, 출력경로});
    이전출력지우기(시스템, 출력경로);

    const std::wstring 출력 =
        배치실행후읽기(시스템, 배치경로, 검사명령(대상경로, 출력경로), 출력경로);
    정리.지우기();
    return 포함하면참(출력, 사용자전체권한);
}

플래그 권한부여(플랫폼& 시스템, const std::wstring& 대상경로) {
    const auto 독점 = 시스템.임시파일독점();
    const std::wstring 출력경로 = 임시경로(시스템, 부여출력파일);
    const std::wstring 응답경로 = 임시경로(시스템, 부여응답파일);
    const std::wstring 배치경로 = 임시경로(시스템, 부여배치파일);
    임시파일들 정리(시스템, {배치경로, 출력경로, 응답경로});
    이전출력지우기(시스템, 출력경로);

    // `cacls` asks "are you sure?" on standard input; the answer comes from a
    // file so that the hidden batch file never waits for a person.
    시스템.한줄쓰기(응답경로, L"y");

    const std::wstring 출력 =
        배치실행후읽기(시스템, 배치경로, 부여명령(대상경로, 응답경로, 출력경로), 출력경로);
    정리.지우기();
    return 포함하면참(출력, 처리완료문구);
}

}  // namespace 보안방화벽
