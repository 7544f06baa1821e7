// The permission module: runs the system's `cacls` through one-line batch
// files in the temporary folder, to read or to set the access list of a
// product's install folder.
//
// Every procedure owns its temporary files from creation to deletion within
// one call, and uses them alone: another instance of the tool waits. File steps that fail throw 파일오류 to the caller; the process run
// and the output read never fail.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace 보안방화벽 {

// A 16-bit Basic Boolean, kept because callers compare with -1 exactly.
using 플래그 = std::int16_t;
inline constexpr 플래그 참 = -1;
inline constexpr 플래그 거짓 = 0;

// The entry that gives the built-in Users group full control, inherited by
// files and subfolders, as `cacls` prints it in SDDL.
inline constexpr wchar_t 사용자전체권한[] = L"(A;OICI;FA;;;BU)";
// What the Korean `cacls` prints for each folder it has processed.
inline constexpr wchar_t 처리완료문구[] = L"처리된 디렉터리";

// Fixed names in the temporary folder; each begins with a separator because
// it is appended to the value of "TEMP" as it stands.
inline constexpr wchar_t 검사출력파일[] = L"\\fe2437.txt";
inline constexpr wchar_t 검사배치파일[] = L"\\fe2437.bat";
inline constexpr wchar_t 부여출력파일[] = L"\\fe1235.txt";
inline constexpr wchar_t 부여응답파일[] = L"\\fe1236.txt";
inline constexpr wchar_t 부여배치파일[] = L"\\fe2456.bat";

// Starts the command line hidden and waits for it without a time limit.
// Never fails; `명령줄` comes back as the system saw it (ANSI round trip).
void 명령실행(플랫폼& 시스템, std::wstring& 명령줄);

// The whole file as one string, or the empty string on any failure (never a
// partial result). A missing file is left behind, empty.
std::wstring 파일읽기(플랫폼& 시스템, const std::wstring& 경로);

// The batch lines, exposed so that their exact form can be tested. Paths are
// quoted, so a temporary folder or a target with blanks stays one argument.
std::wstring 검사명령(const std::wstring& 대상경로, const std::wstring& 출력경로);
std::wstring 부여명령(const std::wstring& 대상경로, const std::wstring& 응답경로,
                      const std::wstring& 출력경로);

// True when the folder's access list holds 사용자전체권한 exactly.
플래그 권한검사(플랫폼& 시스템, const std::wstring& 대상경로);

// Replaces the folder's access list with the single 사용자전체권한 entry;
// True when `cacls` reported the folder as processed. Never queries.
플래그 권한부여(플랫폼& 시스템, const std::wstring& 대상경로);

}  // namespace 보안방화벽
