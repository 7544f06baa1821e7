// Letters compared case aside, ASCII letters only: switches as Windows tools
// match them, SDDL's letters and SIDs, and the program-files paths the
// system hands the tool. Other letters compare exactly, so that no locale
// of the process can change what matches.
#pragma once

#include <algorithm>
#include <string>

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
