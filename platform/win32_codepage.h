// Conversions between UTF-16 and a Windows code page, for the places where
// text becomes bytes: the batch files the tool writes, the output cmd
// redirects back, the test that a path survives that round trip, and the
// console twin's output.
// Process command lines and shell calls need none: the W functions take
// UTF-16 as it is. A character the code page cannot hold becomes a best-fit
// look-alike or the default character, so whatever must arrive exactly is
// checked first (see 코드페이지로그대로).
#pragma once

#include <windows.h>

#include <string>

namespace win32 {

// The bytes of `글`, converted with the flags `방식`; `기본글자씀`, where
// given, says whether the default character stood in for any. Empty when
// the system refuses the conversion.
inline std::string 코드페이지로(const std::wstring& 글, UINT 코드페이지, DWORD 방식 = 0,
                               BOOL* 기본글자씀 = nullptr) {
    if (글.empty()) return {};
    const int 길이 = static_cast<int>(글.size());
    const int 크기 =
        ::WideCharToMultiByte(코드페이지, 방식, 글.data(), 길이, nullptr, 0, nullptr, 기본글자씀);
    if (크기 <= 0) return {};
    std::string 바이트(static_cast<size_t>(크기), '\0');
    if (::WideCharToMultiByte(코드페이지, 방식, 글.data(), 길이, 바이트.data(), 크기, nullptr,
                              기본글자씀) != 크기)
        return {};
    return 바이트;
}

inline std::wstring 코드페이지에서(const std::string& 바이트, UINT 코드페이지) {
    if (바이트.empty()) return {};
    const int 크기 = ::MultiByteToWideChar(코드페이지, 0, 바이트.data(),
                                           static_cast<int>(바이트.size()), nullptr, 0);
    std::wstring 글(static_cast<size_t>(크기), L'\0');
    ::MultiByteToWideChar(코드페이지, 0, 바이트.data(), static_cast<int>(바이트.size()), 글.data(),
                          크기);
    return 글;
}

}  // namespace win32
