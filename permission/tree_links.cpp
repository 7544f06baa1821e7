// The walk that keeps an elevated change of the install folder's list off
// links: see tree_links.h.
#include "permission/tree_links.h"

#include <memory>
#include <optional>
#include <vector>

#include "permission/permission.h"

namespace 보안방화벽 {
namespace {

enum class 까닭 { 링크, 남이바꿈, 남의소유 };

struct 찾은것 {
    std::wstring 경로;
    까닭 왜 = 까닭::링크;
    std::wstring 소유자;  // for 남의소유: the owner's name
};
using 찾음 = std::optional<찾은것>;

// Who may change an entry besides the administrators: its owner, when that
// is not one a program folder has, or anyone its own list lets write.
찾음 남이바꿀수있음(const std::wstring& 경로, const 항목보안& 보안) {
    if (!믿는소유자(보안.소유자.sid)) return 찾은것{경로, 까닭::남의소유, 보안.소유자.이름};
    if (남도쓸수있음(보안.목록)) return 찾은것{경로, 까닭::남이바꿈, {}};
    return std::nullopt;
}

항목보안 폴더보안(플랫폼& 시스템, const 보유& 폴더, const std::wstring& 경로) {
    return {시스템.소유자(폴더, 경로), 시스템.접근목록(폴더, 경로)};
}

// As 남이바꿀수있음, for an entry other than a folder, read through its
// folder's hold; nothing for one gone since the listing.
찾음 안의항목을(플랫폼& 시스템, const 보유& 폴더, const 폴더항목& 항목, const std::wstring& 경로) {
    const std::optional<항목보안> 보안 = 시스템.안의보안(폴더, 항목.이름);
    return 보안 ? 남이바꿀수있음(경로, *보안) : std::nullopt;
}

// Before a grant, an owner and a list are refused alike.
찾음 바꿀수있어서(찾음 결과) {
    if (결과) 결과->왜 = 까닭::남이바꿈;
    return 결과;
}

// Walks the tree under the held folder, the root included, and returns the
// first finding of `폴더를` (called for each folder, through its hold) or
// `파일을` (for each other entry, through its folder's hold and its name;
// also for a subfolder that changed between its listing and its hold, as a
// link). Every folder is listed through the hold of its parent, one name at
// a time, never by a path looked up again; only the folders on the way
// down are held at once, unless `붙잡아둠` keeps every one of them.
template <typename 폴더살핌, typename 파일살핌>
찾음 걷기(플랫폼& 시스템, const 보유& 뿌리, const std::wstring& 뿌리경로, 붙잡은폴더들* 붙잡아둠,
          폴더살핌 폴더를, 파일살핌 파일을) {
    if (찾음 결과 = 폴더를(뿌리, 뿌리경로)) return 결과;
    struct 층 {
        std::unique_ptr<고정폴더> 잡음;  // none for the root, held by the caller
        const 보유* 폴더;
        std::wstring 경로;
        std::vector<폴더항목> 항목들;
        size_t 다음 = 0;
    };
    std::vector<층> 층들;
    층들.push_back({nullptr, &뿌리, 뿌리경로, 시스템.폴더항목들(뿌리)});
    while (!층들.empty()) {
        층& 지금 = 층들.back();
        if (지금.다음 == 지금.항목들.size()) {
            if (붙잡아둠 && 지금.잡음) 붙잡아둠->push_back(std::move(지금.잡음));
            층들.pop_back();
            continue;
        }
        폴더항목 항목 = 지금.항목들[지금.다음++];
        const std::wstring 경로 = 지금.경로 + L"\\" + 항목.이름;
        폴더고정결과 하위;
        if (항목.종류 == 항목종류::폴더) {
            하위 = 시스템.하위폴더고정(*지금.폴더, 항목.이름);
            if (하위.상태 != 폴더상태::고정됨) 항목.종류 = 항목종류::링크;
        }
        if (항목.종류 != 항목종류::폴더) {
            if (찾음 결과 = 파일을(*지금.폴더, 항목, 경로)) return 결과;
            continue;
        }
        const 보유* 하위폴더 = 하위.잡음.get();
        if (찾음 결과 = 폴더를(*하위폴더, 경로)) return 결과;
        if (붙잡아둠) 하위.잡음->안의항목붙잡기();  // an empty one stays open: see tree_links.h
        층들.push_back({std::move(하위.잡음), 하위폴더, 경로, 시스템.폴더항목들(*하위폴더)});
    }
    return std::nullopt;
}

// The first entry that cacls, changing the folder's list and its
// inheritance, could follow out of it: a reparse point, or a file with more
// than one name (the other name may be a file anywhere on the volume, which
// would take the folder's new entries). With 남의폴더도, also a folder or
// file someone else may change: a file's owner may rewrite its list, and
// make it a link, while cacls walks.
찾음 첫링크(플랫폼& 시스템, const 보유& 뿌리, const std::wstring& 뿌리경로,
            붙잡은폴더들* 붙잡아둠, 살필것 무엇) {
    const bool 남의폴더도 = 무엇 == 살필것::남의폴더도;
    return 걷기(
        시스템, 뿌리, 뿌리경로, 붙잡아둠,
        [&](const 보유& 폴더, const std::wstring& 경로) -> 찾음 {
            if (!남의폴더도) return std::nullopt;
            return 바꿀수있어서(남이바꿀수있음(경로, 폴더보안(시스템, 폴더, 경로)));
        },
        [&](const 보유& 폴더, const 폴더항목& 항목, const std::wstring& 경로) -> 찾음 {
            if (항목.종류 == 항목종류::링크 || 시스템.링크파일인가(폴더, 항목.이름))
                return 찾은것{경로, 까닭::링크, {}};
            if (!남의폴더도) return std::nullopt;
            return 바꿀수있어서(안의항목을(시스템, 폴더, 항목, 경로));
        });
}

}  // namespace

void 링크없는지(플랫폼& 시스템, const 보유& 대상, const std::wstring& 대상경로,
                const wchar_t* 문구, 붙잡은폴더들* 붙잡아둠, 살필것 무엇) {
    찾음 결과;
    try {
        결과 = 첫링크(시스템, 대상, 대상경로, 붙잡아둠, 무엇);
    } catch (const 파일오류& 오류) {
        거부(거부문구::살필수없음, 오류);
    }
    if (결과) 거부(결과->왜 == 까닭::남이바꿈 ? 거부문구::남이바꿀수있음 : 문구, 결과->경로);
}

std::optional<남의항목> 남이바꿀수있는항목(플랫폼& 시스템, const 보유& 대상, const std::wstring& 대상경로) {
    const 찾음 결과 = 걷기(
        시스템, 대상, 대상경로, nullptr,
        [&](const 보유& 폴더, const std::wstring& 경로) {
            return 남이바꿀수있음(경로, 폴더보안(시스템, 폴더, 경로));
        },
        [&](const 보유& 폴더, const 폴더항목& 항목, const std::wstring& 경로) {
            return 안의항목을(시스템, 폴더, 항목, 경로);
        });
    if (!결과) return std::nullopt;
    return 남의항목{결과->경로, 결과->소유자};
}

}  // namespace 보안방화벽
