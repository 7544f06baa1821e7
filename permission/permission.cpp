// How the permission module drives `cacls` through its batch files: see
// permission.h and batch_runs.h. The text cacls answers is read by
// access_list.cpp, the kept lists by kept_lists.cpp, and the restore that
// puts one back is restore.cpp.
#include "permission/permission.h"

#include "permission/batch_runs.h"
#include "permission/tree_links.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace 보안방화벽 {
namespace {

// Where one call's files live. Elevated, the user's temporary folder is no
// place for them: any program of the user could link, replace or rewrite
// what the elevated cmd runs and writes there. Its environment variables,
// TEMP included, are the user's too.
class 작업폴더 {
public:
    explicit 작업폴더(플랫폼& 시스템) : 시스템_(시스템) {
        if (시스템.관리자권한()) {
            개인폴더 폴더 = 시스템.개인임시폴더만들기();
            경로_ = std::move(폴더.경로);
            지움_ = std::move(폴더.지움);
        } else {
            경로_ = 시스템.환경변수(L"TEMP");
        }
    }

    // Made absolute because cmd runs in another current directory than the
    // tool: a relative or drive-less "TEMP" would otherwise name one file to
    // the tool and another to the batch file's redirections.
    std::wstring 파일(const wchar_t* 이름) const { return 시스템_.전체경로(경로_ + 이름); }

private:
    플랫폼& 시스템_;
    std::wstring 경로_;
    std::unique_ptr<보유> 지움_;
};

std::wstring 따옴표(const std::wstring& 경로) {
    return L"\"" + 경로 + L"\"";
}

void 안전한경로인지(const 플랫폼& 시스템, std::initializer_list<std::wstring> 경로들) {
    for (const std::wstring& 경로 : 경로들) 배치에쓸수있는경로인지(시스템, 경로);
}

// Only the temporary folder's fixed names need one instance at a time.
// Elevated, each call works in a folder of its own, and the lock is not
// taken: its name lives in the user's session, where a program of theirs
// could hold it and so refuse every elevated grant.
std::unique_ptr<보유> 독점하기(플랫폼& 시스템) {
    if (시스템.관리자권한()) return nullptr;
    auto 독점 = 시스템.임시파일독점(독점대기밀리초);
    if (!독점) throw 실행거부(거부문구::다른창작업중);
    return 독점;
}

// The target as the path named it when it was held, and held until the
// command ends: never a junction or link that leads elsewhere (cacls would
// follow it and set the access list of whatever it leads to), and not
// replaceable by one meanwhile.
const 폴더고정결과& 붙잡은대상(const 플랫폼& 시스템, const 대상폴더& 대상) {
    switch (대상.고정.상태) {
    case 폴더상태::고정됨: break;
    case 폴더상태::연결지점: 거부(거부문구::연결지점, 대상.경로);
    case 폴더상태::다른경로: 거부(거부문구::다른경로, 대상.경로);
    case 폴더상태::없음: 거부(거부문구::폴더사라짐, 대상.경로);
    }
    배치에쓸수있는경로인지(시스템, 대상.고정.최종경로);
    return 대상.고정;
}

// How much the grant needs the held folder to keep an entry open. An empty
// folder, held or not, can still be made a mount point of any folder by the
// users who may write it: cacls, which follows it, would then replace that
// folder's access list with administrator rights.
enum class 항목붙잡기 { 되면, 반드시 };

// The temporary files of one call, deleted, whatever their attributes, when
// the call ends, on every road. A file that cannot be deleted then is left:
// once cmd has run, its answer stands, and the next call clears the file
// before it writes anew.
class 임시파일들 {
public:
    임시파일들(플랫폼& 시스템, std::initializer_list<std::wstring> 경로들)
        : 시스템_(시스템), 경로들_(경로들) {}
    임시파일들(const 임시파일들&) = delete;
    임시파일들& operator=(const 임시파일들&) = delete;

    ~임시파일들() {
        for (const std::wstring& 경로 : 경로들_) {
            try {
                시스템_.파일삭제(경로);
            } catch (const 파일오류&) {
                // Missing, or held by another program: see above.
            }
        }
    }

private:
    플랫폼& 시스템_;
    std::vector<std::wstring> 경로들_;
};

// An earlier run's output must never be read as this run's result. A
// hidden or system file counts: cmd's `>` cannot replace one, so the old
// text would stay to be read.
void 이전출력지우기(플랫폼& 시스템, const std::wstring& 출력경로) {
    if (!시스템.존재검사(출력경로, 속성마스크::숨김포함).empty()) 시스템.파일삭제(출력경로);
}

void cmd실행(플랫폼& 시스템, const std::wstring& 배치경로) {
    try {
        시스템.배치실행(배치경로);
    } catch (const 파일오류& 오류) {
        거부(거부문구::시작실패, 오류);
    }
}

// Writes the one-line batch file that `줄만들기` makes of the held target's
// own name (never of the path it was asked for, which may be relative or
// differ otherwise), runs it and returns what it redirected into the output
// file. `붙잡은뒤`, when given, is done with the hold on the target before
// the batch file is written; when it answers false, nothing runs and there
// is no output. An elevated change (항목붙잡기::반드시) looks through the
// tree again once cmd has ended, and refuses a link that appeared meanwhile.
template <typename 줄함수>
std::optional<std::wstring> 배치실행후읽기(플랫폼& 시스템, const 대상폴더& 목표,
                                          항목붙잡기 붙잡기, const std::wstring& 배치경로,
                                          줄함수 줄만들기, const std::wstring& 출력경로,
                                          const 붙잡은뒤할일& 붙잡은뒤 = {}) {
    {
        const std::wstring& 대상경로 = 목표.경로;
        const 폴더고정결과& 대상 = 붙잡은대상(시스템, 목표);
        const bool 관리자변경 = 붙잡기 == 항목붙잡기::반드시;
        if (!대상.잡음->안의항목붙잡기() && 관리자변경) 거부(거부문구::빈폴더, 대상경로);
        if (붙잡은뒤 && !붙잡은뒤(*대상.잡음)) return std::nullopt;
        const std::wstring 배치줄 = 줄만들기(대상.최종경로);
        시스템.한줄쓰기(배치경로, 배치줄);
        // Not elevated, the batch file lies in the user's temporary folder,
        // where any process of theirs could rewrite it between the write and
        // the run. It stays fixed until cmd has ended.
        const auto 고정 = 시스템.고정하기(배치경로, 배치줄);
        cmd실행(시스템, 배치경로);
        if (!대상.잡음->그대로인가()) 거부(거부문구::폴더바뀜, 대상경로);
        if (관리자변경) 링크없는지(시스템, *대상.잡음, 대상.최종경로, 거부문구::링크생김);
    }
    return 파일읽기(시스템, 출력경로);
}

플래그 포함하면참(const std::wstring& 글, const wchar_t* 찾을글) {
    return 글.find(찾을글) != std::wstring::npos ? 참 : 거짓;
}

std::wstring 설정명령(const std::wstring& 대상경로, const std::wstring& 목록,
                      const std::wstring& 응답경로, const std::wstring& 출력경로) {
    return L"cacls " + 따옴표(대상경로) + L" /s:" + 목록 + L" < " + 따옴표(응답경로) + L" > " +
           따옴표(출력경로);
}

}  // namespace

std::wstring 조회한설명자(플랫폼& 시스템, const 대상폴더& 대상, const 붙잡은뒤할일& 붙잡은뒤) {
    const auto 독점 = 독점하기(시스템);
    const 작업폴더 폴더(시스템);
    const std::wstring 출력경로 = 폴더.파일(검사출력파일);
    const std::wstring 배치경로 = 폴더.파일(검사배치파일);
    안전한경로인지(시스템, {출력경로, 배치경로});
    임시파일들 정리(시스템, {배치경로, 출력경로});
    이전출력지우기(시스템, 출력경로);

    std::wstring 최종경로;
    const std::wstring 출력 = *배치실행후읽기(
        시스템, 대상, 항목붙잡기::되면, 배치경로,
        [&](const std::wstring& 최종) { return 검사명령(최종경로 = 최종, 출력경로); }, 출력경로,
        붙잡은뒤);
    // cacls names the folder it answers for. Without that line there is no
    // answer (a cacls that could not run, was blocked, or printed an error),
    // and no answer may read as an access list without the entry.
    std::wstring 설명자 = 폴더의설명자(출력, 최종경로);
    if (설명자.empty()) 거부(거부문구::응답없음, 최종경로);
    return 설명자;
}

플래그 목록설정(플랫폼& 시스템, const 대상폴더& 대상, const std::wstring& 목록,
                const 붙잡은뒤할일& 붙잡은뒤) {
    const auto 독점 = 독점하기(시스템);
    const 작업폴더 폴더(시스템);
    const std::wstring 출력경로 = 폴더.파일(부여출력파일);
    const std::wstring 응답경로 = 폴더.파일(부여응답파일);
    const std::wstring 배치경로 = 폴더.파일(부여배치파일);
    안전한경로인지(시스템, {출력경로, 응답경로, 배치경로});
    임시파일들 정리(시스템, {배치경로, 출력경로, 응답경로});
    이전출력지우기(시스템, 출력경로);

    // `cacls` asks "are you sure?" on standard input; the answer comes from a
    // file so that the hidden batch file never waits for a person.
    시스템.한줄쓰기(응답경로, L"y");

    // Elevated, the change is what an ordinary user could turn against
    // another folder; an ordinary user's cacls has no more rights than they.
    const 항목붙잡기 붙잡기 = 시스템.관리자권한() ? 항목붙잡기::반드시 : 항목붙잡기::되면;
    const std::optional<std::wstring> 출력 = 배치실행후읽기(
        시스템, 대상, 붙잡기, 배치경로,
        [&](const std::wstring& 최종) { return 설정명령(최종, 목록, 응답경로, 출력경로); },
        출력경로, 붙잡은뒤);
    return 출력 ? 포함하면참(*출력, 처리완료문구) : 거짓;
}

void 거부(const wchar_t* 문구, const std::wstring& 경로) { throw 실행거부(문구, 경로); }

void 거부(const wchar_t* 문구, const 파일오류& 원인) { throw 실행거부(문구, 원인); }

void 배치에쓸수있는경로인지(const 플랫폼& 시스템, const std::wstring& 경로) {
    // cmd expands %NAME% (and, were it on, !NAME!) in a batch file's path
    // and lines, quoted or not; a quote would end the path's quoting; a line
    // feed ends the line, and what follows runs as a command of its own; a
    // character the code page cannot carry exactly names another path, or
    // none, once written.
    const bool 제어문자 = std::any_of(경로.begin(), 경로.end(),
                                     [](wchar_t 글자) { return 글자 < 0x20 || 글자 == 0x7F; });
    if (제어문자 || 경로.find_first_of(L"%!\"") != std::wstring::npos ||
        !시스템.코드페이지로그대로(경로))
        거부(거부문구::위험한글자, 경로);
    // cmd runs in the system folder: a relative path would name another
    // folder to it than to the tool, and a network or device path one that
    // is no plain folder of this computer.
    const bool 드라이브 = 경로.size() >= 3 && 경로[1] == L':' && 경로[2] == L'\\' &&
                         ((경로[0] >= L'A' && 경로[0] <= L'Z') || (경로[0] >= L'a' && 경로[0] <= L'z'));
    if (!드라이브) 거부(거부문구::절대경로아님, 경로);
}

std::wstring 파일읽기(플랫폼& 시스템, const std::wstring& 경로) {
    return 시스템.전체읽기(경로, 최대출력바이트);
}

std::wstring 검사명령(const std::wstring& 대상경로, const std::wstring& 출력경로) {
    return L"cacls " + 따옴표(대상경로) + L" /s  > " + 따옴표(출력경로);
}

std::wstring 부여명령(const std::wstring& 대상경로, const std::wstring& 응답경로,
                      const std::wstring& 출력경로) {
    return 설정명령(대상경로, std::wstring(L"D:") + 사용자전체권한, 응답경로, 출력경로);
}

대상폴더 대상잡기(플랫폼& 시스템, const std::wstring& 대상경로) {
    배치에쓸수있는경로인지(시스템, 대상경로);
    return {대상경로, 시스템.폴더고정(대상경로)};
}

플래그 권한검사(플랫폼& 시스템, const 대상폴더& 목표) {
    return 사용자권한이있음(조회한설명자(시스템, 목표)) ? 참 : 거짓;
}

부여결과 권한부여(플랫폼& 시스템, const 대상폴더& 목표) {
    const std::wstring& 대상경로 = 목표.경로;
    std::optional<부여결과> 멈춤;
    붙잡은폴더들 하위폴더들;  // held until the walk after cmd has run: see tree_links.h
    const 플래그 처리 =
        목록설정(시스템, 목표, std::wstring(L"D:") + 사용자전체권한, [&](const 보유& 대상) {
            const std::optional<std::wstring> 목록 = 바꿀목록읽기(시스템, 대상경로, 대상);
            if (!목록) {
                멈춤 = 부여결과::처리안됨;
            } else if (사용자권한이있음(*목록)) {
                // The check would say the entry is there: the fix agrees,
                // and never walks or refuses a tree it has nothing to do to.
                보관없음기록(시스템, 대상경로);
                멈춤 = 부여결과::이미됨;
            } else {
                // Elevated, cacls runs only over a tree nobody else may
                // change: see tree_links.h.
                if (시스템.관리자권한())
                    링크없는지(시스템, 대상, 대상경로, 거부문구::링크있음, &하위폴더들,
                               시스템.접근목록이지켜짐() ? 살필것::남의폴더도 : 살필것::링크만);
                if (!이전목록보관(시스템, 대상경로, 대상, *목록)) 멈춤 = 부여결과::처리안됨;
            }
            return !멈춤;
        });
    if (멈춤) return *멈춤;
    return 처리 == 참 ? 부여결과::처리됨 : 부여결과::처리안됨;
}

플래그 권한검사(플랫폼& 시스템, const std::wstring& 경로) { return 권한검사(시스템, 대상잡기(시스템, 경로)); }
부여결과 권한부여(플랫폼& 시스템, const std::wstring& 경로) { return 권한부여(시스템, 대상잡기(시스템, 경로)); }
복원답 권한복원(플랫폼& 시스템, const std::wstring& 경로) { return 권한복원(시스템, 대상잡기(시스템, 경로)); }

}  // namespace 보안방화벽
