// Reading access lists in SDDL text: what cacls printed for a folder, and
// what the platform read through a folder's handle. Pure functions on text,
// with no platform behind them, so each rule is tested on the text itself.
#pragma once

#include <string>

namespace 보안방화벽 {

// The entry that gives the built-in Users group full control, inherited by
// files and subfolders, as `cacls` prints it in SDDL.
inline constexpr wchar_t 사용자전체권한[] = L"(A;OICI;FA;;;BU)";

// The descriptor cacls printed for the folder: the rest of the line that
// begins with the folder's name (case aside) and a blank. Empty when no line
// names it. Searched anywhere, the entry could be found in the folder's own
// name.
std::wstring 폴더의설명자(const std::wstring& 출력, const std::wstring& 폴더);

// The access list part ("D:...") of a descriptor, without the owner, group
// or audit parts cacls may print around it.
std::wstring 접근목록부분(const std::wstring& 설명자);

// In force: the list holds 사용자전체권한 exactly, and no deny entry takes a
// right from Users or from a group every user is in.
bool 사용자권한이있음(const std::wstring& 설명자);

// Whether a list is worth going back to: only Administrators, SYSTEM, the
// installer's service and a creator-owner may write under it, as under the
// lists Windows gives program folders.
bool 관리자만쓰는목록(const std::wstring& 목록);

// A kept list goes into a batch line: true when it holds only the characters
// SDDL uses for an access list, none that cmd would expand, split or
// redirect, and is no longer than `최대글자`.
bool 순수한목록(const std::wstring& 목록, std::size_t 최대글자);

}  // namespace 보안방화벽
