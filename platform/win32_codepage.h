// Conversions between UTF-16 and a Windows code page, for the places where
// text crosses into bytes: the files the tool writes and reads. Process
// command lines and shell calls take UTF-16 unconverted.
// Characters the code page cannot hold become its default character.
#pragma once

#include <windows.h>

#include <string>

namespace win32 {

inline std::string 코드페이지로(const std::wstring& 글, UINT 코드페이지) {
    if (글.empty()) return {};
    const int 크기 = ::WideCharToMultiByte(코드페이지, 0, 글.data(), static_cast<int>(글.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string 바이트(static_cast<size_t>(크기), '\0');
    ::WideCharToMultiByte(코드페이지, 0, 글.data(), static_cast<int>(글.size()), 바이트.data(),
                          크기, nullptr, nullptr);
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
