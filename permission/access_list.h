// Reading access lists in SDDL text: what cacls printed for a folder, and
// what the platform read through a folder's handle. Pure functions on text,
// with no platform behind them, so each rule is tested on the text itself.
//
// Entries are read whole: an entry ends at the parenthesis that closes it,
// counting the parentheses and skipping the quoted text a conditional entry
// holds, so nothing inside one can read as an entry of its own.
#pragma once

#include <cstddef>
#include <string>

namespace 보안방화벽 {

// The entry that gives the built-in Users group full control, inherited by
// files and subfolders, as `cacls` prints it in SDDL.
inline constexpr wchar_t 사용자전체권한[] = L"(A;OICI;FA;;;BU)";

// The descriptor cacls printed for the folder: the rest of the line that
// begins with the folder's name (case aside) and a blank, without trailing
// blanks and without the double quotes it may be wrapped in. Empty when no
// line names it. Searched anywhere, the entry could be found in the
// folder's own name.
std::wstring 폴더의설명자(const std::wstring& 출력, const std::wstring& 폴더);

// How the list cacls printed for a folder after a restore compares with the
// kept list, as far as it decides anything: the protection flag (P: whether
// the folder still takes entries from its parent) and the explicit entries,
// in order. Inherited entries (ID) are Windows' own to recompute from the
// parent whenever a list is set, and are not compared. A descriptor may
// hold owner, group or audit parts around the list; only the list counts.
enum class 되돌린목록 {
    같음,
    보호다름,  // the same explicit entries, the other protection flag
    다름,      // other explicit entries, or no list, or one not read whole
};
되돌린목록 되돌린목록비교(const std::wstring& 설명자, const std::wstring& 보관목록);

// As the fix leaves it: the list holds 사용자전체권한 exactly, and no entry
// takes any of it back: no deny entry that takes a right from anyone, no
// conditional, callback or object entry, nothing that cannot be read. Other
// allow entries, explicit or inherited, beside it change nothing: the check
// says the entry is there, and a fix finds nothing to do.
bool 사용자권한이있음(const std::wstring& 설명자);

// Whether a list is one to go back to, and if not, why.
enum class 목록판정 {
    되돌릴만함,
    목록없음,        // no access list, or NO_ACCESS_CONTROL (everyone may do anything)
    거부항목,        // a deny entry
    특수항목,        // a conditional, callback or object entry, or one that cannot be read
    관리자권한부족,  // Administrators or SYSTEM lack full control
    남이씀,          // someone else may write
};

// A list worth going back to is one Windows gives program folders: present,
// of plain allow entries only; Administrators and SYSTEM each hold full
// control (on the folder itself at least the modify rights Windows gives
// them there, and full control inherited by files and subfolders); nobody
// but they, the installer's service (TrustedInstaller) and a creator-owner
// may write. A list that lets anyone else write is what a fix or a user made
// since (after a fix, Users may rewrite the list), and no safer to return to
// than the grant.
목록판정 되돌릴목록인지(const std::wstring& 목록);

// True when someone besides those a list worth going back to lets write may
// add to or change what the list guards: there is no list, or it is
// NO_ACCESS_CONTROL, or an entry cannot be read, or an allow entry of any
// kind but a plain one, or a plain one that gives anyone else a right to
// write. Deny entries only take rights away.
bool 남도쓸수있음(const std::wstring& 목록);

// True for the owners a program folder has: Administrators, SYSTEM or
// TrustedInstaller, by alias or SID. Any other owner may change the list.
bool 믿는소유자(const std::wstring& 소유자);

// A kept list goes into a batch line: true when it holds only the characters
// SDDL uses for an access list, none that cmd would expand, split or
// redirect, and is no longer than `최대글자`.
bool 순수한목록(const std::wstring& 목록, std::size_t 최대글자);

}  // namespace 보안방화벽
