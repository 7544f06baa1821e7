// The access lists a grant replaces, kept so that `/restore` can put them
// back: one file per grant in the platform's 보관폴더,
// "<install folder's name> <yyyy-mm-dd hh-mm-ss>[ <n>].sddl", holding the
// list in SDDL on one line; or, for a folder's first grant that kept
// nothing, a marker of the same name ending in 없음확장자 (see 보관없음기록).
// Nothing here runs cacls; the permission module (permission.h) calls these
// around its batch files.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "permission/access_list.h"
#include "platform/platform.h"

namespace 보안방화벽 {

inline constexpr wchar_t 보관확장자[] = L".sddl";
inline constexpr wchar_t 없음확장자[] = L".none";
// Longer than any access list of a program folder, and short enough for
// the batch line that puts it back to stay within cmd's 8191 characters.
inline constexpr std::size_t 최대목록글자 = 6000;

// The last part of a folder's path: the name its kept files begin with.
std::wstring 폴더이름(const std::wstring& 경로);

// The oldest kept file of the folder named `이름` in the kept folder: the
// list from before the first grant. Empty when there is none, or when the
// oldest record is a marker: the first grant kept nothing. Every later one
// was kept after a grant had let Users change the list, and may be one a
// user chose; they stay for an administrator to read and apply.
std::wstring 첫보관파일(플랫폼& 시스템, const std::wstring& 보관폴더, const std::wstring& 이름);

// When the first record of the folder named `이름` was written, as the kept
// folder's listing reports its last write (UTC): the time of the folder's
// first grant by this tool, before which only administrators could write
// it. 0 when there is none, or when that record is a marker: Users could
// write before that grant too (fixed by hand, or a list that let them).
long long 첫보관때(플랫폼& 시스템, const std::wstring& 보관폴더, const std::wstring& 이름);

// The kept folder (the platform's 보관폴더). Elevated, one that someone
// else made or may write to is refused with 실행거부 naming its owner and
// saying that an administrator must remove or rename it; other failures
// throw 파일오류.
std::wstring 보관폴더열기(플랫폼& 시스템);

// The access list of the folder `대상` holds, read through that hold, that
// a grant is about to replace. Throws 실행거부 (보관실패) when it cannot be
// read elevated; nothing when, without administrator rights, it cannot
// (a grant would be refused just the same).
std::optional<std::wstring> 바꿀목록읽기(플랫폼& 시스템, const std::wstring& 대상경로,
                                         const 보유& 대상);

// Keeps `목록`, the list of the folder `대상` holds, in a new kept file,
// unless, where the file system keeps lists, it is none to go back to (see
// 되돌릴목록인지) or the folder's owner, read through the hold, is not one
// to trust (see 믿는소유자): then it records that nothing was kept (see
// 보관없음기록). Failures as in 바꿀목록읽기: 실행거부 elevated, false
// without administrator rights; true otherwise, kept or not.
bool 이전목록보관(플랫폼& 시스템, const std::wstring& 대상경로, const 보유& 대상,
                  const std::wstring& 목록);

// Elevated, where the file system keeps lists, and only while no record of
// either kind stands for the folder's name: writes a marker in the kept
// folder, named as a kept file would be but ending in 없음확장자, saying
// that the folder's first grant (or first answer that it was granted
// already) kept nothing. Without it, the first list kept later, one a user
// set once Users held full control, would pass for the one from before.
// Throws 실행거부 (보관실패, or as 보관폴더열기) when it cannot.
void 보관없음기록(플랫폼& 시스템, const std::wstring& 대상경로);

// Why a list judged so is not put back (a 복원사유 text); none for one
// worth going back to.
const wchar_t* 되돌리지않을사유(목록판정 판정);

// Why a list put back does not hold (a 복원사유 text and what it names):
// the entry `경로` under the folder `대상경로`, or the folder itself, is
// owned by `소유자`, or, with no owner named, its own list lets someone
// else write (see 남이바꿀수있는항목 in tree_links.h).
std::wstring 믿을수없는까닭(const std::wstring& 경로, const std::wstring& 소유자,
                            const std::wstring& 대상경로);

// The list a kept file holds, without its line end. Throws 실행거부
// (보관목록이상) for one that is not plain SDDL: it goes into a batch line.
std::wstring 보관목록읽기(플랫폼& 시스템, const std::wstring& 파일);

}  // namespace 보안방화벽
