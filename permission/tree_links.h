// Before and after an elevated change of the install folder's list, the
// tree under it is looked through for links. cacls, setting a list with
// inherited entries, may carry them down to what the folder holds; a hard
// link a user put there names a file elsewhere (a system file, another
// user's), and a junction leads to another folder: both would take "Users:
// full control" with administrator rights.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace 보안방화벽 {

// Refuses (실행거부 with `문구`, naming it) a reparse point or a file with
// more than one name anywhere under the folder `대상` holds, and a
// subfolder that changed while it was looked at; refuses (살필수없음) a
// tree that cannot be looked through whole, since what it holds is unknown.
// With `붙잡아둠`, every subfolder walked stays held there, with one entry
// inside it held where it has one, until the caller lets them go: then none
// can be renamed, deleted or, unless empty, made a reparse point while cacls
// runs. An empty subfolder can still become one, and a new hard link can
// still appear; only the walk after cmd finds those, once cacls has run.
//
// With `남의폴더도`, it also refuses (거부문구::남이바꿀수있음, naming it) the
// held folder or any folder or file under it that someone besides the
// administrators could change while cacls runs: one owned by anyone else
// (an owner may rewrite its list at any moment) or whose list lets anyone
// else write (see 남도쓸수있음). There, a program of theirs could make a
// new folder and turn it into a link the moment cacls starts, or turn a
// file into one, and no walk before cmd can see that. Ask it only where the
// file system keeps lists.
using 붙잡은폴더들 = std::vector<std::unique_ptr<고정폴더>>;
enum class 살필것 { 링크만, 남의폴더도 };
void 링크없는지(플랫폼& 시스템, const 보유& 대상, const std::wstring& 대상경로,
                const wchar_t* 문구, 붙잡은폴더들* 붙잡아둠 = nullptr,
                살필것 무엇 = 살필것::링크만);

// The first entry under the folder `대상` holds, the folder itself
// included, that someone besides the administrators may change: its owner
// is not one a program folder has (믿는소유자), or its own list lets anyone
// else write (남도쓸수있음: an entry of its own, or a protected list, that a
// list put back above it does not replace); walked as above. An owner may
// rewrite the entry's list at any moment. Throws 파일오류 when the tree
// cannot be looked through whole.
struct 남의항목 {
    std::wstring 경로;
    std::wstring 소유자;  // the owner's name; empty when it is the list that lets others write
};
std::optional<남의항목> 남이바꿀수있는항목(플랫폼& 시스템, const 보유& 대상, const std::wstring& 대상경로);

}  // namespace 보안방화벽
