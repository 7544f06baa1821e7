// How the permission module drives `cacls`: see permission.h.
#include "permission/permission.h"

#include <algorithm>
#include <cwchar>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace 보안방화벽 {
namespace {

[[noreturn]] void 거부(const wchar_t* 문구, const std::wstring& 경로) {
    throw 실행거부(std::wstring(문구) + L"\r\n\r\n" + 경로);
}

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

// The target as the path names it, held until cmd has ended: never a
// junction or link that leads elsewhere (cacls would follow it and set the
// access list of whatever it leads to), and not replaceable by one meanwhile.
폴더고정결과 대상붙잡기(플랫폼& 시스템, const std::wstring& 대상경로) {
    폴더고정결과 결과 = 시스템.폴더고정(대상경로);
    switch (결과.상태) {
    case 폴더상태::고정됨: break;
    case 폴더상태::연결지점: 거부(거부문구::연결지점, 대상경로);
    case 폴더상태::다른경로: 거부(거부문구::다른경로, 대상경로);
    case 폴더상태::없음: 거부(거부문구::폴더사라짐, 대상경로);
    }
    배치에쓸수있는경로인지(시스템, 결과.최종경로);
    return 결과;
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
        거부(거부문구::시작실패, 오류.경로() + L"\r\n" + 오류.설명());
    }
}

// Writes the one-line batch file that `줄만들기` makes of the held target's
// own name (never of the path it was asked for, which may be relative or
// differ otherwise), runs it and returns what it redirected into the output
// file. `붙잡은뒤`, when given, is done with the hold on the target before
// the batch file is written.
template <typename 줄함수>
std::wstring 배치실행후읽기(플랫폼& 시스템, const std::wstring& 대상경로, 항목붙잡기 붙잡기,
                           const std::wstring& 배치경로, 줄함수 줄만들기,
                           const std::wstring& 출력경로,
                           const std::function<void(const 보유&)>& 붙잡은뒤 = {}) {
    {
        const 폴더고정결과 대상 = 대상붙잡기(시스템, 대상경로);
        if (!대상.잡음->안의항목붙잡기() && 붙잡기 == 항목붙잡기::반드시)
            거부(거부문구::빈폴더, 대상경로);
        if (붙잡은뒤) 붙잡은뒤(*대상.잡음);
        const std::wstring 배치줄 = 줄만들기(대상.최종경로);
        시스템.한줄쓰기(배치경로, 배치줄);
        // Not elevated, the batch file lies in the user's temporary folder,
        // where any process of theirs could rewrite it between the write and
        // the run. It stays fixed until cmd has ended.
        const auto 고정 = 시스템.고정하기(배치경로, 배치줄);
        cmd실행(시스템, 배치경로);
        if (!대상.잡음->그대로인가()) 거부(거부문구::폴더바뀜, 대상경로);
    }
    return 파일읽기(시스템, 출력경로);
}

플래그 포함하면참(const std::wstring& 글, const wchar_t* 찾을글) {
    return 글.find(찾을글) != std::wstring::npos ? 참 : 거짓;
}

bool 같은글자(wchar_t 가, wchar_t 나) {
    const auto 작게 = [](wchar_t 글자) {
        return 글자 >= L'A' && 글자 <= L'Z' ? static_cast<wchar_t>(글자 + 32) : 글자;
    };
    return 작게(가) == 작게(나);
}

bool 같은글(const std::wstring& 가, const std::wstring& 나) {
    return 가.size() == 나.size() && std::equal(가.begin(), 가.end(), 나.begin(), 같은글자);
}

// The descriptor cacls printed for the folder: the rest of the line that
// begins with the folder's name and a blank. Searched anywhere, the entry
// could be found in the folder's own name.
std::wstring 폴더의설명자(const std::wstring& 출력, const std::wstring& 폴더) {
    for (size_t 시작 = 0; 시작 < 출력.size();) {
        const size_t 끝 = std::min(출력.find_first_of(L"\r\n", 시작), 출력.size());
        const std::wstring 줄 = 출력.substr(시작, 끝 - 시작);
        if (줄.size() > 폴더.size() && 줄[폴더.size()] == L' ' &&
            같은글(줄.substr(0, 폴더.size()), 폴더))
            return 줄.substr(폴더.size() + 1);
        시작 = 끝 + 1;
    }
    return {};
}

// The entries of the descriptor's access list (its "D:" part), each
// without its parentheses.
std::vector<std::wstring> 접근항목들(const std::wstring& 설명자) {
    std::vector<std::wstring> 항목들;
    bool 접근목록 = false;
    for (size_t 위치 = 0; 위치 < 설명자.size(); ++위치) {
        if (설명자[위치] == L'(') {
            const size_t 닫음 = std::min(설명자.find(L')', 위치), 설명자.size());
            if (접근목록) 항목들.push_back(설명자.substr(위치 + 1, 닫음 - 위치 - 1));
            위치 = 닫음;
        } else if (위치 + 1 < 설명자.size() && 설명자[위치 + 1] == L':') {
            접근목록 = 설명자[위치] == L'D';
        }
    }
    return 항목들;
}

// The entry's fields: type;flags;rights;object;inherited object;account.
std::vector<std::wstring> 칸들(const std::wstring& 항목) {
    std::vector<std::wstring> 결과;
    for (size_t 시작 = 0;;) {
        const size_t 끝 = 항목.find(L';', 시작);
        결과.push_back(항목.substr(시작, 끝 == std::wstring::npos ? 끝 : 끝 - 시작));
        if (끝 == std::wstring::npos) return 결과;
        시작 = 끝 + 1;
    }
}

// A deny entry that takes a right from Users, or from a group every user
// belongs to, outweighs any grant to Users.
bool 사용자를막는항목(const std::wstring& 항목) {
    static const wchar_t* const 모든사용자[] = {L"BU", L"S-1-5-32-545", L"WD", L"S-1-1-0",
                                              L"AU", L"S-1-5-11",     L"IU", L"S-1-5-4"};
    const std::vector<std::wstring> 칸 = 칸들(항목);
    if (칸.size() < 6 || !(칸[0] == L"D" || 칸[0] == L"OD" || 칸[0] == L"XD")) return false;
    if (칸[2].empty() || 같은글(칸[2], L"0x0") || 칸[2] == L"0") return false;
    return std::any_of(std::begin(모든사용자), std::end(모든사용자),
                       [&](const wchar_t* 계정) { return 같은글(칸[5], 계정); });
}

// In force: granted, and no deny entry takes anything of it back.
플래그 사용자권한이있음(const std::wstring& 설명자) {
    const std::wstring 괄호째 = 사용자전체권한;
    const std::wstring 찾을항목 = 괄호째.substr(1, 괄호째.size() - 2);
    const std::vector<std::wstring> 항목들 = 접근항목들(설명자);
    const bool 허용 = std::find(항목들.begin(), 항목들.end(), 찾을항목) != 항목들.end();
    return 허용 && std::none_of(항목들.begin(), 항목들.end(), 사용자를막는항목) ? 참 : 거짓;
}

std::wstring 설정명령(const std::wstring& 대상경로, const std::wstring& 목록,
                      const std::wstring& 응답경로, const std::wstring& 출력경로) {
    return L"cacls " + 따옴표(대상경로) + L" /s:" + 목록 + L" < " + 따옴표(응답경로) + L" > " +
           따옴표(출력경로);
}

// The descriptor cacls prints for the folder when asked: the rest of the
// line that names the held folder itself.
std::wstring 조회한설명자(플랫폼& 시스템, const std::wstring& 대상경로) {
    const auto 독점 = 독점하기(시스템);
    const 작업폴더 폴더(시스템);
    const std::wstring 출력경로 = 폴더.파일(검사출력파일);
    const std::wstring 배치경로 = 폴더.파일(검사배치파일);
    안전한경로인지(시스템, {대상경로, 출력경로, 배치경로});
    임시파일들 정리(시스템, {배치경로, 출력경로});
    이전출력지우기(시스템, 출력경로);

    std::wstring 최종경로;
    const std::wstring 출력 = 배치실행후읽기(
        시스템, 대상경로, 항목붙잡기::되면, 배치경로,
        [&](const std::wstring& 최종) { return 검사명령(최종경로 = 최종, 출력경로); }, 출력경로);
    // cacls names the folder it answers for. Without that line there is no
    // answer (a cacls that could not run, was blocked, or printed an error),
    // and no answer may read as an access list without the entry.
    std::wstring 설명자 = 폴더의설명자(출력, 최종경로);
    if (설명자.empty()) 거부(거부문구::응답없음, 최종경로);
    return 설명자;
}

// The access list part ("D:...") of a descriptor, without the owner, group
// or audit parts cacls may print around it.
std::wstring 접근목록부분(const std::wstring& 설명자) {
    const size_t 시작 = 설명자.find(L"D:");
    if (시작 == std::wstring::npos) return {};
    return 설명자.substr(시작, 설명자.find(L"S:", 시작) - 시작);
}

// Sets the folder's access list to `목록`; true when cacls reported the
// folder as processed (in Korean: any other answer is false, and only a
// query can tell).
플래그 목록설정(플랫폼& 시스템, const std::wstring& 대상경로, const std::wstring& 목록,
                const std::function<void(const 보유&)>& 붙잡은뒤) {
    const auto 독점 = 독점하기(시스템);
    const 작업폴더 폴더(시스템);
    const std::wstring 출력경로 = 폴더.파일(부여출력파일);
    const std::wstring 응답경로 = 폴더.파일(부여응답파일);
    const std::wstring 배치경로 = 폴더.파일(부여배치파일);
    안전한경로인지(시스템, {대상경로, 출력경로, 응답경로, 배치경로});
    임시파일들 정리(시스템, {배치경로, 출력경로, 응답경로});
    이전출력지우기(시스템, 출력경로);

    // `cacls` asks "are you sure?" on standard input; the answer comes from a
    // file so that the hidden batch file never waits for a person.
    시스템.한줄쓰기(응답경로, L"y");

    // Elevated, the change is what an ordinary user could turn against
    // another folder; an ordinary user's cacls has no more rights than they.
    const 항목붙잡기 붙잡기 = 시스템.관리자권한() ? 항목붙잡기::반드시 : 항목붙잡기::되면;
    const std::wstring 출력 = 배치실행후읽기(
        시스템, 대상경로, 붙잡기, 배치경로,
        [&](const std::wstring& 최종) { return 설정명령(최종, 목록, 응답경로, 출력경로); },
        출력경로, 붙잡은뒤);
    return 포함하면참(출력, 처리완료문구);
}

// ---- The kept lists ----

std::wstring 폴더이름(const std::wstring& 경로) { return 경로.substr(경로.rfind(L'\\') + 1); }

// When a kept file was written, and its number within that second: the
// newest sorts last. Nothing for an entry that is no kept file of `이름`.
using 보관순서 = std::pair<std::wstring, unsigned long>;
constexpr std::size_t 시각길이 = 19;  // "2026-12-08 13-05-07"

std::optional<보관순서> 보관파일순서(const 폴더항목& 항목, const std::wstring& 이름) {
    const std::wstring 앞 = 이름 + L" ", 뒤 = 보관확장자;
    const std::wstring& 글 = 항목.이름;
    if (항목.종류 != 항목종류::파일 || 글.size() < 앞.size() + 시각길이 + 뒤.size() ||
        글.compare(0, 앞.size(), 앞) != 0 || 글.compare(글.size() - 뒤.size(), 뒤.size(), 뒤) != 0)
        return std::nullopt;
    const std::wstring 가운데 = 글.substr(앞.size(), 글.size() - 앞.size() - 뒤.size());
    const std::wstring 번호 = 가운데.substr(시각길이);
    if (번호.empty()) return 보관순서{가운데, 1};
    if (번호.size() < 2 || 번호.size() > 6 || 번호[0] != L' ' ||
        번호.find_first_not_of(L"0123456789", 1) != std::wstring::npos)
        return std::nullopt;
    return 보관순서{가운데.substr(0, 시각길이), std::stoul(번호.substr(1))};
}

// The kept folder's entries, listed through a hold on it: the folder was
// checked when 보관폴더 named it, and no link may take its place meanwhile.
std::vector<폴더항목> 보관항목들(플랫폼& 시스템, const std::wstring& 보관폴더) {
    폴더고정결과 결과 = 시스템.폴더고정(보관폴더);
    if (결과.상태 != 폴더상태::고정됨) 거부(거부문구::보관폴더이상, 보관폴더);
    return 시스템.폴더항목들(*결과.잡음);
}

// The newest kept file of the folder named `이름`, or empty.
std::wstring 최근보관파일(플랫폼& 시스템, const std::wstring& 보관폴더, const std::wstring& 이름) {
    std::optional<보관순서> 최근;
    std::wstring 찾음;
    for (const 폴더항목& 항목 : 보관항목들(시스템, 보관폴더)) {
        const auto 순서 = 보관파일순서(항목, 이름);
        if (순서 && (!최근 || *순서 > *최근)) {
            최근 = 순서;
            찾음 = 보관폴더 + L"\\" + 항목.이름;
        }
    }
    return 찾음;
}

// A name no kept file has yet: grants within one second are numbered.
std::wstring 새보관파일(플랫폼& 시스템, const std::wstring& 보관폴더, const std::wstring& 이름) {
    std::set<std::wstring> 있는이름;
    for (const 폴더항목& 항목 : 보관항목들(시스템, 보관폴더)) 있는이름.insert(항목.이름);
    const 날짜시각 때 = 시스템.지금();
    wchar_t 시각[32] = {};
    std::swprintf(시각, 32, L"%04d-%02d-%02d %02d-%02d-%02d", 때.년, 때.월, 때.일, 때.시, 때.분,
                  때.초);
    for (unsigned long 번호 = 1;; ++번호) {
        const std::wstring 파일 = 이름 + L" " + 시각 +
                                  (번호 > 1 ? L" " + std::to_wstring(번호) : L"") + 보관확장자;
        if (!있는이름.count(파일)) return 보관폴더 + L"\\" + 파일;
    }
}

// The rights an entry's rights field gives, as a mask: hexadecimal, or the
// two-letter names SDDL writes for files. A name not known here counts as
// every right.
unsigned long 권한값(const std::wstring& 권한) {
    if (권한.compare(0, 2, L"0x") == 0 || 권한.compare(0, 2, L"0X") == 0)
        return std::wcstoul(권한.c_str() + 2, nullptr, 16);
    static const std::pair<const wchar_t*, unsigned long> 이름들[] = {
        {L"GA", 0x10000000}, {L"GR", 0x80000000}, {L"GW", 0x40000000}, {L"GX", 0x20000000},
        {L"FA", 0x1F01FF},   {L"FR", 0x120089},   {L"FW", 0x120116},   {L"FX", 0x1200A0},
        {L"RC", 0x20000},    {L"SD", 0x10000},    {L"WD", 0x40000},    {L"WO", 0x80000},
        {L"CC", 0x1},        {L"DC", 0x2},        {L"LC", 0x4},        {L"SW", 0x8},
        {L"RP", 0x10},       {L"WP", 0x20},       {L"DT", 0x40},       {L"LO", 0x80},
        {L"CR", 0x100}};
    unsigned long 값 = 0;
    for (size_t 위치 = 0; 위치 + 1 < 권한.size() + 1; 위치 += 2) {
        const std::wstring 이름 = 권한.substr(위치, 2);
        const auto 찾음 = std::find_if(std::begin(이름들), std::end(이름들),
                                       [&](const auto& 쌍) { return 이름 == 쌍.first; });
        값 |= 찾음 == std::end(이름들) ? 0xFFFFFFFFul : 찾음->second;
    }
    return 값;
}

// Whether a list is worth going back to: only Administrators, SYSTEM, the
// installer's service and a creator-owner may write under it, as under the
// lists Windows gives program folders. One that lets anyone else write is
// what a fix or a user made since (after a fix, Users may rewrite the list:
// kept, a restore would hand the folder back to them), and no safer to
// return to than the grant.
bool 관리자만쓰는목록(const std::wstring& 목록) {
    static const wchar_t* const 믿는계정[] = {
        L"BA", L"S-1-5-32-544", L"SY", L"S-1-5-18", L"CO", L"S-1-3-0",
        L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"};
    constexpr unsigned long 쓰기권한 = 0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 |
                                      0x80000 | 0x10000000 | 0x40000000;
    const std::vector<std::wstring> 항목들 = 접근항목들(목록);
    return std::all_of(항목들.begin(), 항목들.end(), [&](const std::wstring& 항목) {
        const std::vector<std::wstring> 칸 = 칸들(항목);
        if (칸.size() >= 6 && (칸[0] == L"D" || 칸[0] == L"OD")) return true;
        if (칸.size() < 6 || 칸[0] != L"A") return false;
        return !(권한값(칸[2]) & 쓰기권한) ||
               std::any_of(std::begin(믿는계정), std::end(믿는계정),
                           [&](const wchar_t* 계정) { return 같은글(칸[5], 계정); });
    });
}

struct 보관권한없음 {};

void 이전목록보관(플랫폼& 시스템, const std::wstring& 대상경로, const 보유& 대상) {
    try {
        const std::wstring 목록 = 시스템.접근목록(대상, 대상경로);
        if (!관리자만쓰는목록(목록) && 시스템.접근목록이지켜짐()) return;
        const std::wstring 보관폴더 = 시스템.보관폴더();
        시스템.한줄쓰기(새보관파일(시스템, 보관폴더, 폴더이름(대상경로)), 목록);
    } catch (const 파일오류& 오류) {
        // The kept lists are for administrators only, and so is the grant.
        if (!시스템.관리자권한()) throw 보관권한없음{};
        거부(거부문구::보관실패, 오류.경로() + L"\r\n" + 오류.설명());
    }
}

// A kept list goes into a batch line: only the characters SDDL uses for an
// access list pass, none that cmd would expand, split or redirect.
bool 순수한목록(const std::wstring& 목록) {
    return 목록.size() <= 최대목록글자 && 목록.compare(0, 2, L"D:") == 0 &&
           목록.find_first_not_of(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                  L"0123456789();:-_{}") == std::wstring::npos;
}

std::wstring 보관목록읽기(플랫폼& 시스템, const std::wstring& 파일) {
    std::wstring 목록 = 시스템.전체읽기(파일, 최대목록글자 + 2);
    if (목록.size() >= 2 && 목록.compare(목록.size() - 2, 2, L"\r\n") == 0)
        목록.resize(목록.size() - 2);
    if (!순수한목록(목록)) 거부(거부문구::보관목록이상, 파일);
    return 목록;
}

}  // namespace

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

플래그 권한검사(플랫폼& 시스템, const std::wstring& 대상경로) {
    return 사용자권한이있음(조회한설명자(시스템, 대상경로));
}

플래그 권한부여(플랫폼& 시스템, const std::wstring& 대상경로) {
    try {
        return 목록설정(시스템, 대상경로, std::wstring(L"D:") + 사용자전체권한,
                        [&](const 보유& 대상) { 이전목록보관(시스템, 대상경로, 대상); });
    } catch (const 보관권한없음&) {
        return 거짓;
    }
}

복원결과 권한복원(플랫폼& 시스템, const std::wstring& 대상경로) {
    std::wstring 파일;
    try {
        파일 = 최근보관파일(시스템, 시스템.보관폴더(), 폴더이름(대상경로));
    } catch (const 파일오류&) {
        if (!시스템.관리자권한()) return 복원결과::거부됨;
        throw;
    }
    if (파일.empty()) return 복원결과::보관없음;
    const std::wstring 목록 = 보관목록읽기(시스템, 파일);
    if (목록설정(시스템, 대상경로, 목록, {}) != 참) return 복원결과::거부됨;
    return 접근목록부분(조회한설명자(시스템, 대상경로)) == 목록 ? 복원결과::복원됨
                                                                 : 복원결과::확인안됨;
}

}  // namespace 보안방화벽
