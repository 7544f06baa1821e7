// The walk that keeps an elevated change of the install folder's list off
// links: see tree_links.h.
#include "permission/tree_links.h"

#include <memory>
#include <vector>

#include "permission/permission.h"

namespace 보안방화벽 {
namespace {

struct 찾은것 {
    std::wstring 경로;  // empty when there is none
    bool 남이바꿈 = false;  // a folder someone else may change, not a link
};

bool 남이바꿀수있는폴더(플랫폼& 시스템, const 보유& 폴더, const std::wstring& 경로) {
    return !믿는소유자(시스템.소유자(폴더, 경로).sid) || 남도쓸수있음(시스템.접근목록(폴더, 경로));
}

// The first entry in the tree under the held folder that cacls, changing
// the folder's list and its inheritance, could follow out of it: a reparse
// point, or a file with more than one name (the other name may be a file
// anywhere on the volume, which would take the folder's new entries); also
// a subfolder that changed between its listing and its hold. Empty when
// there is none. Every folder is listed through the hold of its parent, one
// name at a time, never by a path looked up again; only the folders on the
// way down are held at once, unless `붙잡아둠` keeps every one of them.
// With 남의폴더도, a folder someone else may change counts too.
찾은것 첫링크(플랫폼& 시스템, const 보유& 뿌리, const std::wstring& 뿌리경로,
              붙잡은폴더들* 붙잡아둠, 살필것 무엇) {
    const bool 남의폴더도 = 무엇 == 살필것::남의폴더도;
    if (남의폴더도 && 남이바꿀수있는폴더(시스템, 뿌리, 뿌리경로)) return {뿌리경로, true};
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
        const 폴더항목 항목 = 지금.항목들[지금.다음++];
        const std::wstring 경로 = 지금.경로 + L"\\" + 항목.이름;
        if (항목.종류 == 항목종류::링크) return {경로};
        if (항목.종류 == 항목종류::파일) {
            if (시스템.링크파일인가(*지금.폴더, 항목.이름)) return {경로};
            continue;
        }
        폴더고정결과 하위 = 시스템.하위폴더고정(*지금.폴더, 항목.이름);
        if (하위.상태 != 폴더상태::고정됨) return {경로};
        const 보유* 하위폴더 = 하위.잡음.get();
        if (남의폴더도 && 남이바꿀수있는폴더(시스템, *하위폴더, 경로)) return {경로, true};
        if (붙잡아둠) 하위.잡음->안의항목붙잡기();  // an empty one stays open: see tree_links.h
        층들.push_back({std::move(하위.잡음), 하위폴더, 경로, 시스템.폴더항목들(*하위폴더)});
    }
    return {};
}

}  // namespace

void 링크없는지(플랫폼& 시스템, const 보유& 대상, const std::wstring& 대상경로,
                const wchar_t* 문구, 붙잡은폴더들* 붙잡아둠, 살필것 무엇) {
    찾은것 찾음;
    try {
        찾음 = 첫링크(시스템, 대상, 대상경로, 붙잡아둠, 무엇);
    } catch (const 파일오류& 오류) {
        거부(거부문구::살필수없음, 오류);
    }
    if (!찾음.경로.empty()) 거부(찾음.남이바꿈 ? 거부문구::남이바꿀수있음 : 문구, 찾음.경로);
}

}  // namespace 보안방화벽
