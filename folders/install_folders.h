// Where the selected product is installed, and where Windows keeps the
// user's virtualised copy of it.
//
// Everything is worked out afresh from the system and the list text for
// every command (제품위치찾기): the tool caches nothing between commands, so
// each acts on what the list shows at the moment it is pressed.
#pragma once

#include <string>

#include "platform/platform.h"

namespace 설치폴더 {

struct 제품 {
    const wchar_t* 목록이름;  // the entry of the product list
    const wchar_t* 폴더이름;  // its install folder under program files
};

// Tested in this order; the first exact match wins.
inline constexpr 제품 제품표[] = {
    {L"Pelorant", L"Quindle"},  {L"Marrowin", L"Marrowin"},
    {L"Tessaly", L"Tessaly"},   {L"Orbisk", L"Glenmarch"},
    {L"Fennick", L"Sorrelay"},  {L"Havrest", L"Havrest80"},
};

// Install folder name for a list text (exact, case-sensitive, untrimmed), or
// the empty string when the text names no product.
std::wstring 제품폴더이름(const std::wstring& 목록텍스트);

// The program-files folder 32-bit programs install into, without a trailing
// separator: "ProgramFiles(x86)" where set, else "ProgramFiles"; in an
// elevated process the values the system records under those names
// (플랫폼::시스템프로그램폴더), never the environment.
std::wstring 프로그램폴더(const 플랫폼& 시스템);

// The VirtualStore copy of 프로그램폴더, under the local application-data
// folder (or, where that is not set, beside the temporary folder). Empty when
// no parent folder can be found for it, and, in an elevated process, when
// that folder is not inside its user's own profile folder.
std::wstring 가상_프로그램폴더(const 플랫폼& 시스템);

// The product's folder under a base folder: the two joined by one backslash,
// as given (the base comes without a trailing separator).
std::wstring 대상경로(const std::wstring& 기준폴더, const std::wstring& 폴더이름);

// One product as the list text names it, and where it lives: the one value
// the commands, the window and the command line all read.
struct 제품위치 {
    std::wstring 목록이름;           // the list text, as given
    std::wstring 폴더이름;           // empty when the text names no product
    std::wstring 프로그램폴더;       // see 프로그램폴더()
    std::wstring 가상_프로그램폴더;  // see 가상_프로그램폴더(); may be empty

    std::wstring 설치경로() const { return 대상경로(프로그램폴더, 폴더이름); }
    std::wstring 가상경로() const { return 대상경로(가상_프로그램폴더, 폴더이름); }
};

제품위치 제품위치찾기(const 플랫폼& 시스템, const std::wstring& 목록텍스트);
// The same without the VirtualStore copy (left empty), for the command line,
// which never opens or moves it: finding the copy asks the system for the
// user's profile folder, a library load that every script's run would pay.
제품위치 설치위치찾기(const 플랫폼& 시스템, const std::wstring& 목록텍스트);

}  // namespace 설치폴더
