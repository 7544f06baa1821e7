// Rules about Windows names that every room above the platform follows,
// each written once: how Windows tools match names case aside, and the
// names the tool gives what it makes beside the user's files. Here, beside
// the interface, because they are facts of the system the tool runs on,
// not of any one room; pure, so the logic and its tests share them. No
// <windows.h> and no words for the user.
#pragma once

#include <algorithm>
#include <string>

#include "platform/platform_types.h"

// ---- Letters compared case aside ----
// ASCII letters only: switches as Windows tools match them, SDDL's letters
// and SIDs, and the program-files paths the system hands the tool. Other
// letters compare exactly, so that no locale of the process can change what
// matches.

inline wchar_t 작은글자(wchar_t 글자) {
    return 글자 >= L'A' && 글자 <= L'Z' ? static_cast<wchar_t>(글자 + 32) : 글자;
}

inline bool 글자같음(wchar_t 가, wchar_t 나) { return 작은글자(가) == 작은글자(나); }

inline bool 대소문자없이같음(const std::wstring& 가, const std::wstring& 나) {
    return 가.size() == 나.size() && std::equal(가.begin(), 가.end(), 나.begin(), 글자같음);
}

// Whether `글` begins with `앞`, case aside.
inline bool 대소문자없이시작(const std::wstring& 글, const std::wstring& 앞) {
    return 글.size() >= 앞.size() && std::equal(앞.begin(), 앞.end(), 글.begin(), 글자같음);
}

// ---- Names the tool makes ----
// The kept lists and the move's backup and renamed copies each keep their
// own look; the rules behind them are these.

// "2026-12-08 13-05-07" with `시각구분` "-", "2026-12-08 130507" with "":
// sorts by time and holds no character that a file name may not.
inline std::wstring 시각이름(const 날짜시각& 때, const std::wstring& 시각구분) {
    const auto 두자리 = [](int 수) { return (수 < 10 ? L"0" : L"") + std::to_wstring(수); };
    return std::to_wstring(때.년) + L"-" + 두자리(때.월) + L"-" + 두자리(때.일) + L" " + 두자리(때.시) +
           시각구분 + 두자리(때.분) + 시각구분 + 두자리(때.초);
}

// The first of 후보(1), 후보(2), ... that `쓰임` says is not taken.
template <class 후보함수, class 쓰임함수>
std::wstring 첫빈이름(후보함수 후보, 쓰임함수 쓰임) {
    for (unsigned long 번호 = 1;; ++번호) {
        std::wstring 이름 = 후보(번호);
        if (!쓰임(이름)) return 이름;
    }
}

// ---- Accounts that are no one's ----
// Whether the account `sid` (its string form, "S-1-...") is one of Windows'
// own: the system, the local and network services, and the accounts Windows
// makes for services, application pools, virtual machines, user-mode
// drivers, the window manager and font drivers. Any other account is
// someone's, local, domain or Entra ID (S-1-12-1-...) alike, and one the
// rule does not know counts as someone's: a restore that waits is safe, one
// that runs beside another user's program is not.
inline bool 윈도우자신의계정(const std::wstring& sid) {
    for (const wchar_t* 계정 : {L"S-1-5-18", L"S-1-5-19", L"S-1-5-20"})
        if (대소문자없이같음(sid, 계정)) return true;
    for (const wchar_t* 앞 : {L"S-1-5-80-", L"S-1-5-82-", L"S-1-5-83-", L"S-1-5-84-", L"S-1-5-90-",
                              L"S-1-5-96-"})
        if (대소문자없이시작(sid, 앞)) return true;
    return false;
}
