// The move's log: each `/move` run that moved or stopped appends the summary
// the window would have shown, so that a run at logon, which nobody watches,
// leaves a trace the user and IT staff can read. It lives in the account's
// own local application-data folder, found from the profile the system
// records for the account (never from the environment):
// <profile>\AppData\Local\BoanSetting\move.log, UTF-8.
//
// Bounded: the oldest entries go, whole, once the text would pass
// 최대글자; the newest entry always stays whole. The file is replaced in one
// rename, so it holds the whole old log or the whole new one.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

namespace 옮김기록 {

inline constexpr wchar_t 폴더[] = L"BoanSetting";
inline constexpr wchar_t 파일[] = L"move.log";
inline constexpr std::size_t 최대글자 = 32 * 1024;
// Every entry begins a line with this.
inline constexpr wchar_t 머리[] = L"==== ";

// The local application-data folder of the account whose profile is `프로필`.
std::wstring 로컬폴더(const std::wstring& 프로필);

// `있던글` with `항목` appended, and as many of the oldest entries dropped
// whole as keep it within 최대글자.
std::wstring 덧붙인글(const std::wstring& 있던글, const std::wstring& 항목);

// Appends `항목` to the log, doing only what the account's own unelevated
// token may. Throws 가상폴더옮기기::멈춤 where it stops.
void 남기기(플랫폼& 시스템, const std::wstring& 항목);

}  // namespace 옮김기록
