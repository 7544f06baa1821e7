// The kept lists: see kept_lists.h.
#include "permission/kept_lists.h"

#include <cwchar>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "permission/access_list.h"
#include "permission/permission.h"
#include "platform/names.h"

namespace 보안방화벽 {
namespace {

// When a kept file was written, as the listing of the administrators-only
// kept folder reports it (UTC: a user may change the time zone, and the
// local time in the name goes back once a year), then as its name says, and
// its number within that second: the oldest sorts first. A kept list and a
// marker are ordered alike, and never share a name but for the ending.
// Nothing for an entry that is neither of `이름`.
using 보관순서 = std::tuple<long long, std::wstring, unsigned long>;
constexpr std::size_t 시각길이 = 19;  // "2026-12-08 13-05-07"

bool 끝이(const std::wstring& 글, const std::wstring& 뒤) {
    return 글.size() >= 뒤.size() && 글.compare(글.size() - 뒤.size(), 뒤.size(), 뒤) == 0;
}

std::optional<보관순서> 보관파일순서(const 폴더항목& 항목, const std::wstring& 이름) {
    const std::wstring& 글 = 항목.이름;
    const std::wstring 앞 = 이름 + L" ", 뒤 = 끝이(글, 없음확장자) ? 없음확장자 : 보관확장자;
    if (항목.종류 != 항목종류::파일 || 글.size() < 앞.size() + 시각길이 + 뒤.size() ||
        글.compare(0, 앞.size(), 앞) != 0 || !끝이(글, 뒤))
        return std::nullopt;
    const std::wstring 가운데 = 글.substr(앞.size(), 글.size() - 앞.size() - 뒤.size());
    const std::wstring 번호 = 가운데.substr(시각길이);
    if (번호.empty()) return 보관순서{항목.쓴때, 가운데, 1};
    if (번호.size() < 2 || 번호.size() > 6 || 번호[0] != L' ' ||
        번호.find_first_not_of(L"0123456789", 1) != std::wstring::npos)
        return std::nullopt;
    return 보관순서{항목.쓴때, 가운데.substr(0, 시각길이), std::stoul(번호.substr(1))};
}

// The kept folder's entries, listed through a hold on it: the folder was
// checked when 보관폴더 named it, and no link may take its place meanwhile.
std::vector<폴더항목> 보관항목들(플랫폼& 시스템, const std::wstring& 보관폴더) {
    폴더고정결과 결과 = 시스템.폴더고정(보관폴더);
    if (결과.상태 != 폴더상태::고정됨) 거부(거부문구::보관폴더이상, 보관폴더);
    return 시스템.폴더항목들(*결과.잡음);
}

// A name no kept file or marker has yet, ending in `확장자`: grants within
// one second are numbered.
std::wstring 새보관파일(플랫폼& 시스템, const std::wstring& 보관폴더, const std::wstring& 이름,
                       const wchar_t* 확장자) {
    std::set<std::wstring> 있는이름;
    for (const 폴더항목& 항목 : 보관항목들(시스템, 보관폴더)) 있는이름.insert(항목.이름);
    const 날짜시각 때 = 시스템.지금();
    const std::wstring 시각 = 시각이름(때, L"-");
    return 보관폴더 + L"\\" +
           첫빈이름(
               [&](unsigned long 번호) {
                   return 이름 + L" " + 시각 + (번호 > 1 ? L" " + std::to_wstring(번호) : L"");
               },
               [&](const std::wstring& 줄기) {
                   return 있는이름.count(줄기 + 보관확장자) + 있는이름.count(줄기 + 없음확장자) > 0;
               }) +
           확장자;
}

}  // namespace

std::wstring 폴더이름(const std::wstring& 경로) { return 경로.substr(경로.rfind(L'\\') + 1); }

namespace {

// The kept files of the folder named `이름`, each by its order.
std::map<보관순서, std::wstring> 보관파일들(플랫폼& 시스템, const std::wstring& 보관폴더,
                                         const std::wstring& 이름) {
    std::map<보관순서, std::wstring> 파일들;
    for (const 폴더항목& 항목 : 보관항목들(시스템, 보관폴더))
        if (const auto 순서 = 보관파일순서(항목, 이름)) 파일들[*순서] = 보관폴더 + L"\\" + 항목.이름;
    return 파일들;
}

}  // namespace

std::wstring 첫보관파일(플랫폼& 시스템, const std::wstring& 보관폴더, const std::wstring& 이름) {
    const auto 파일들 = 보관파일들(시스템, 보관폴더, 이름);
    if (파일들.empty() || 끝이(파일들.begin()->second, 없음확장자)) return {};
    return 파일들.begin()->second;
}

long long 첫보관때(플랫폼& 시스템, const std::wstring& 보관폴더, const std::wstring& 이름) {
    const auto 파일들 = 보관파일들(시스템, 보관폴더, 이름);
    // A marker first: Users could already write before it (a folder fixed
    // by hand, or a list that let them), so its time bounds nothing.
    if (파일들.empty() || 끝이(파일들.begin()->second, 없음확장자)) return 0;
    return std::get<0>(파일들.begin()->first);
}

namespace {

// A failure to read or keep the list: the kept lists are for administrators
// only, and so is the grant.
bool 보관못함(플랫폼& 시스템, const 파일오류& 오류) {
    if (!시스템.관리자권한()) return false;
    거부(거부문구::보관실패, 오류);
}

// The marker of 보관없음기록, unless a record of the folder's name stands.
void 없음표시(플랫폼& 시스템, const std::wstring& 대상경로) {
    if (!시스템.관리자권한() || !시스템.접근목록이지켜짐()) return;
    const std::wstring 보관폴더 = 보관폴더열기(시스템), 이름 = 폴더이름(대상경로);
    if (보관파일들(시스템, 보관폴더, 이름).empty())
        시스템.한줄쓰기(새보관파일(시스템, 보관폴더, 이름, 없음확장자), L"");
}

// Who owns the folder at `경로`, as a message names them; read through a
// hold of it, for words only.
std::wstring 소유자라면(플랫폼& 시스템, const std::wstring& 경로) {
    try {
        const 폴더고정결과 폴더 = 시스템.폴더고정(경로);
        if (폴더.상태 == 폴더상태::고정됨) {
            const 소유자정보 소유자 = 시스템.소유자(*폴더.잡음, 경로);
            return L"\r\n소유자: " + 소유자.이름 + (소유자.이름 == 소유자.sid ? L"" : L" (" + 소유자.sid + L")");
        }
    } catch (const 파일오류&) {
        // Unnamed, then: the refusal stands without it.
    }
    return {};
}

}  // namespace

std::wstring 보관폴더열기(플랫폼& 시스템) {
    try {
        return 시스템.보관폴더();
    } catch (const 파일오류& 오류) {
        if (오류.코드() != 남의소유 || !시스템.관리자권한()) throw;
        거부(거부문구::남의보관폴더, 오류.경로() + 소유자라면(시스템, 오류.경로()));
    }
}

std::optional<std::wstring> 바꿀목록읽기(플랫폼& 시스템, const std::wstring& 대상경로,
                                         const 보유& 대상) {
    try {
        return 시스템.접근목록(대상, 대상경로);
    } catch (const 파일오류& 오류) {
        보관못함(시스템, 오류);
        return std::nullopt;
    }
}

bool 이전목록보관(플랫폼& 시스템, const std::wstring& 대상경로, const 보유& 대상,
                  const std::wstring& 목록) {
    try {
        // Where lists are made up (Wine), none tells more than another.
        if (시스템.접근목록이지켜짐() &&
            (되돌릴목록인지(목록) != 목록판정::되돌릴만함 ||
             !믿는소유자(시스템.소유자(대상, 대상경로).sid))) {
            없음표시(시스템, 대상경로);
            return true;
        }
        const std::wstring 보관폴더 = 보관폴더열기(시스템);
        시스템.한줄쓰기(새보관파일(시스템, 보관폴더, 폴더이름(대상경로), 보관확장자), 목록);
        return true;
    } catch (const 파일오류& 오류) {
        return 보관못함(시스템, 오류);
    }
}

void 보관없음기록(플랫폼& 시스템, const std::wstring& 대상경로) {
    try {
        없음표시(시스템, 대상경로);
    } catch (const 파일오류& 오류) {
        보관못함(시스템, 오류);
    }
}

const wchar_t* 되돌리지않을사유(목록판정 판정) {
    switch (판정) {
    case 목록판정::되돌릴만함: break;
    case 목록판정::목록없음: return 복원사유::목록없음;
    case 목록판정::거부항목: return 복원사유::거부항목;
    case 목록판정::특수항목: return 복원사유::특수항목;
    case 목록판정::관리자권한부족: return 복원사유::관리자권한부족;
    case 목록판정::남이씀: return 복원사유::남이씀;
    }
    return nullptr;
}

std::wstring 믿을수없는까닭(const std::wstring& 경로, const std::wstring& 소유자,
                            const std::wstring& 대상경로) {
    const wchar_t* 사유 = 소유자.empty()        ? 복원사유::남이쓰는항목
                          : 경로 == 대상경로 ? 복원사유::남의소유자
                                             : 복원사유::안의소유자;
    return 사유 + (L"\r\n\r\n" + 경로) + (소유자.empty() ? L"" : L"\r\n" + 소유자);
}

std::wstring 보관목록읽기(플랫폼& 시스템, const std::wstring& 파일) {
    std::wstring 목록 = 시스템.전체읽기(파일, 최대목록글자 + 2);
    if (목록.size() >= 2 && 목록.compare(목록.size() - 2, 2, L"\r\n") == 0)
        목록.resize(목록.size() - 2);
    if (!순수한목록(목록, 최대목록글자)) 거부(거부문구::보관목록이상, 파일);
    return 목록;
}

}  // namespace 보안방화벽
