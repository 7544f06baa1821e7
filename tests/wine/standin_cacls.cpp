// A stand-in for Windows' cacls.exe, for tests under Wine, whose own cacls
// is a stub that prints nothing and whose file system keeps no access lists.
//
// It behaves as the real tool does in the ways the tool under test relies on:
//   cacls FOLDER /s          prints "FOLDER SDDL" for the folder's descriptor;
//   cacls FOLDER /s:SDDL     asks for confirmation on standard input, then
//                            records SDDL for the folder and prints
//                            "처리된 디렉터리: FOLDER".
// Output is written in the OEM code page (949 on a Korean system), as the real
// tool's redirected output is.
//
// Its state lives in the folder named by STANDIN_CACLS_STATE, or else by the
// file cacls-standin-state.txt beside it (by default
// C:\ProgramData\cacls-standin), where a test arranges and inspects it:
//   descriptors.txt  UTF-8 lines "FOLDER<TAB>SDDL": each folder's descriptor;
//                    a folder not listed has Windows' inherited default
//   refuse           if present, changes are refused as without admin rights
//   english          if present, messages are those of an English Windows
//   quoted           if present, a query prints the descriptor in double
//                    quotes ("FOLDER \"SDDL\""), which the real tool may do
//   delay            if present, its number is how many milliseconds each run
//                    takes before it answers, as a slow disk or network would
//   calls.log        one UTF-8 line per run: arguments, then what stdin gave
#include <windows.h>

#include "platform/win32_codepage.h"

#include <algorithm>
#include <cwctype>
#include <fstream>
#include <map>
#include <string>

namespace {

const wchar_t 기본설명자[] = L"D:AI(A;OICIID;FA;;;BA)(A;OICIID;0x1200a9;;;BU)";

std::string utf8(const std::wstring& 글) { return win32::코드페이지로(글, CP_UTF8); }
std::wstring utf8에서(const std::string& 바이트) { return win32::코드페이지에서(바이트, CP_UTF8); }

// The tool starts cmd with an environment of its own, so the state folder
// can also be named in cacls-standin-state.txt beside this program (UTF-8).
std::wstring 상태폴더() {
    wchar_t 값[MAX_PATH] = {};
    const DWORD 길이 = GetEnvironmentVariableW(L"STANDIN_CACLS_STATE", 값, MAX_PATH);
    if (길이 > 0 && 길이 < MAX_PATH) return 값;
    wchar_t 자신[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, 자신, MAX_PATH);
    std::wstring 안내 = 자신;
    안내 = 안내.substr(0, 안내.rfind(L'\\')) + L"\\cacls-standin-state.txt";
    std::ifstream 파일(안내.c_str(), std::ios::binary);
    std::string 줄;
    if (std::getline(파일, 줄) && !줄.empty() && 줄.back() == '\r') 줄.pop_back();
    if (!줄.empty()) return utf8에서(줄);
    return L"C:\\ProgramData\\cacls-standin";
}

std::wstring 열쇠(std::wstring 경로) {
    while (경로.size() > 3 && (경로.back() == L'\\' || 경로.back() == L'/')) 경로.pop_back();
    std::transform(경로.begin(), 경로.end(), 경로.begin(),
                   [](wchar_t 글자) { return static_cast<wchar_t>(std::towlower(글자)); });
    return 경로;
}

std::map<std::wstring, std::pair<std::wstring, std::wstring>> 설명자읽기() {
    std::map<std::wstring, std::pair<std::wstring, std::wstring>> 표;
    std::ifstream 파일((상태폴더() + L"\\descriptors.txt").c_str(), std::ios::binary);
    std::string 줄;
    while (std::getline(파일, 줄)) {
        if (!줄.empty() && 줄.back() == '\r') 줄.pop_back();
        const auto 탭 = 줄.find('\t');
        if (탭 == std::string::npos) continue;
        const std::wstring 폴더 = utf8에서(줄.substr(0, 탭));
        표[열쇠(폴더)] = {폴더, utf8에서(줄.substr(탭 + 1))};
    }
    return 표;
}

void 설명자쓰기(const std::map<std::wstring, std::pair<std::wstring, std::wstring>>& 표) {
    std::ofstream 파일((상태폴더() + L"\\descriptors.txt").c_str(), std::ios::binary | std::ios::trunc);
    for (const auto& 항목 : 표)
        파일 << utf8(항목.second.first) << '\t' << utf8(항목.second.second) << "\r\n";
}

bool 있음(const std::wstring& 이름) {
    return GetFileAttributesW((상태폴더() + L"\\" + 이름).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void 기록(const std::wstring& 줄) {
    std::ofstream 파일((상태폴더() + L"\\calls.log").c_str(), std::ios::binary | std::ios::app);
    파일 << utf8(줄) << "\r\n";
}

void 출력(const std::wstring& 글) {
    const std::string 바이트 = win32::코드페이지로(글, GetOEMCP());
    DWORD 쓴크기 = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), 바이트.data(), static_cast<DWORD>(바이트.size()),
              &쓴크기, nullptr);
}

// One line from standard input, as the real tool reads its Y/N answer.
std::string 한줄입력() {
    std::string 줄;
    char 글자 = 0;
    DWORD 읽음 = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &글자, 1, &읽음, nullptr) && 읽음 == 1) {
        줄.push_back(글자);
        if (글자 == '\n') break;
    }
    return 줄;
}

int 조회(const std::wstring& 대상) {
    const auto 표 = 설명자읽기();
    const auto 찾음 = 표.find(열쇠(대상));
    const std::wstring 설명자 = 찾음 == 표.end() ? 기본설명자 : 찾음->second.second;
    출력(대상 + (있음(L"quoted") ? L" \"" + 설명자 + L"\"" : L" " + 설명자) + L"\r\n");
    return 0;
}

int 설정(const std::wstring& 대상, const std::wstring& 설명자, bool 폴더임) {
    출력(있음(L"english") ? L"Are you sure (Y/N)?" : L"확실합니까(Y/N)?");
    const std::string 응답 = 한줄입력();
    기록(L"stdin=" + utf8에서(응답));
    if (응답.empty() || (응답[0] != 'y' && 응답[0] != 'Y')) return 0;
    if (있음(L"refuse")) {
        출력(있음(L"english") ? L"Access is denied.\r\n" : L"액세스가 거부되었습니다.\r\n");
        return 5;
    }
    auto 표 = 설명자읽기();
    표[열쇠(대상)] = {대상, 설명자};
    설명자쓰기(표);
    const wchar_t* 문구 = 있음(L"english") ? (폴더임 ? L"processed dir: " : L"processed file: ")
                                           : (폴더임 ? L"처리된 디렉터리: " : L"처리된 파일: ");
    출력(문구 + 대상 + L"\r\n");
    return 0;
}

}  // namespace

void 지연() {
    std::ifstream 파일((상태폴더() + L"\\delay").c_str());
    unsigned long 밀리초 = 0;
    if (파일 >> 밀리초) Sleep(밀리초);
}

int wmain(int 개수, wchar_t** 인자) {
    CreateDirectoryW(상태폴더().c_str(), nullptr);
    지연();
    std::wstring 인자들;
    for (int i = 1; i < 개수; ++i) 인자들 += (i > 1 ? L"|" : L"") + std::wstring(인자[i]);
    기록(L"args=" + 인자들);

    if (개수 != 3 || _wcsnicmp(인자[2], L"/s", 2) != 0) {
        출력(L"stand-in cacls: only FOLDER /s and FOLDER /s:SDDL are known\r\n");
        return 87;
    }
    const std::wstring 대상 = 인자[1];
    const DWORD 속성 = GetFileAttributesW(대상.c_str());
    if (속성 == INVALID_FILE_ATTRIBUTES) {
        출력(있음(L"english") ? L"The system cannot find the file specified.\r\n"
                              : L"지정된 파일을 찾을 수 없습니다.\r\n");
        return 2;
    }
    if (인자[2][2] == L':') return 설정(대상, 인자[2] + 3, (속성 & FILE_ATTRIBUTE_DIRECTORY) != 0);
    return 조회(대상);
}
