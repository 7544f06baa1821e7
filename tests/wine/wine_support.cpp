// Test helpers under Wine: see wine_support.h.
#include "tests/wine/wine_support.h"

#include <gtest/gtest.h>

#include "platform/win32_codepage.h"
#include "platform/win32_handles.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

namespace 시험 {

std::wstring 프로그램폴더() {
    wchar_t 경로[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, 경로, MAX_PATH);
    std::wstring 글 = 경로;
    return 글.substr(0, 글.rfind(L'\\'));
}

작업폴더::작업폴더(const std::wstring& 이름) {
    wchar_t 임시[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, 임시);
    static unsigned 순번 = 0;
    경로_ = std::wstring(임시) + 이름 + L" " + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++순번);
    폴더지우기(경로_);
    폴더만들기(경로_);
}

작업폴더::~작업폴더() { 폴더지우기(경로_); }

void 폴더만들기(const std::wstring& 경로) {
    if (!CreateDirectoryW(경로.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        ADD_FAILURE() << "cannot create folder, error " << GetLastError();
}

void 폴더지우기(const std::wstring& 경로) {
    for (const std::wstring& 이름 : 폴더내용(경로)) {
        const std::wstring 안 = 경로 + L"\\" + 이름;
        const DWORD 속성 = GetFileAttributesW(안.c_str());
        SetFileAttributesW(안.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (속성 != INVALID_FILE_ATTRIBUTES && (속성 & FILE_ATTRIBUTE_DIRECTORY))
            폴더지우기(안);
        else
            DeleteFileW(안.c_str());
    }
    RemoveDirectoryW(경로.c_str());
}

bool 파일있음(const std::wstring& 경로) {
    return GetFileAttributesW(경로.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string 바이트읽기(const std::wstring& 경로) {
    std::ifstream 파일(경로.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(파일), std::istreambuf_iterator<char>()};
}

void 바이트쓰기(const std::wstring& 경로, const std::string& 바이트) {
    std::ofstream 파일(경로.c_str(), std::ios::binary | std::ios::trunc);
    파일 << 바이트;
    ASSERT_TRUE(파일.good()) << "cannot write test file";
}

std::string 코드페이지로(const std::wstring& 글, UINT 코드페이지) {
    return win32::코드페이지로(글, 코드페이지);
}

std::wstring 코드페이지에서(const std::string& 바이트, UINT 코드페이지) {
    return win32::코드페이지에서(바이트, 코드페이지);
}

std::vector<std::wstring> 폴더내용(const std::wstring& 폴더) {
    std::vector<std::wstring> 이름들;
    WIN32_FIND_DATAW 항목{};
    const auto 찾기 = win32::OwnFindHandle(FindFirstFileW((폴더 + L"\\*").c_str(), &항목));
    if (!찾기) return 이름들;
    do {
        const std::wstring 이름 = 항목.cFileName;
        if (이름 != L"." && 이름 != L"..") 이름들.push_back(이름);
    } while (FindNextFileW(찾기.get(), &항목));
    return 이름들;
}

환경변수바꾸기::환경변수바꾸기(std::wstring 이름, const wchar_t* 값) : 이름_(std::move(이름)) {
    wchar_t 이전[32768] = {};
    있었음_ = GetEnvironmentVariableW(이름_.c_str(), 이전, 32768) > 0 ||
              GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    이전값_ = 이전;
    SetEnvironmentVariableW(이름_.c_str(), 값);
}

환경변수바꾸기::~환경변수바꾸기() {
    SetEnvironmentVariableW(이름_.c_str(), 있었음_ ? 이전값_.c_str() : nullptr);
}

namespace {
constexpr wchar_t 현재버전[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
void 시스템값쓰기(const std::wstring& 이름, const std::wstring& 값) {  // empty: removed
    if (값.empty()) RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, 현재버전, 이름.c_str());
    else RegSetKeyValueW(HKEY_LOCAL_MACHINE, 현재버전, 이름.c_str(), REG_SZ, 값.c_str(),
                         static_cast<DWORD>((값.size() + 1) * sizeof(wchar_t)));
}
}  // namespace

시스템값바꾸기::시스템값바꾸기(std::wstring 이름, const wchar_t* 값) : 이름_(std::move(이름)) {
    wchar_t 이전[MAX_PATH] = {};
    DWORD 크기 = sizeof 이전;
    RegGetValueW(HKEY_LOCAL_MACHINE, 현재버전, 이름_.c_str(), RRF_RT_REG_SZ, nullptr, 이전, &크기);
    이전값_ = 이전;
    시스템값쓰기(이름_, 값 ? 값 : L"");
}

시스템값바꾸기::~시스템값바꾸기() { 시스템값쓰기(이름_, 이전값_); }

현재폴더바꾸기::현재폴더바꾸기(const std::wstring& 폴더) {
    const DWORD 길이 = GetCurrentDirectoryW(0, nullptr);
    원래_.resize(길이);
    원래_.resize(GetCurrentDirectoryW(길이, 원래_.data()));
    바뀜_ = !원래_.empty() && SetCurrentDirectoryW(폴더.c_str());
}

현재폴더바꾸기::~현재폴더바꾸기() {
    if (바뀜_ && !SetCurrentDirectoryW(원래_.c_str()))
        ADD_FAILURE() << "cannot return to the former current folder, error " << GetLastError();
}

파일치우기::파일치우기(std::wstring 경로, std::wstring 치울곳)
    : 경로_(std::move(경로)), 치울곳_(std::move(치울곳)) {
    치워짐_ = MoveFileExW(경로_.c_str(), 치울곳_.c_str(), 0) != 0;
}

파일치우기::~파일치우기() {
    if (치워짐_ && !MoveFileExW(치울곳_.c_str(), 경로_.c_str(), MOVEFILE_REPLACE_EXISTING))
        ADD_FAILURE() << "cannot put the moved file back, error " << GetLastError();
}

void 대체cacls::설치() {
    wchar_t 시스템폴더[MAX_PATH] = {};
    GetSystemDirectoryW(시스템폴더, MAX_PATH);
    const std::wstring 원본 = 프로그램폴더() + L"\\standin\\cacls.exe";
    const std::wstring 대상 = std::wstring(시스템폴더) + L"\\cacls.exe";
    ASSERT_TRUE(파일있음(원본)) << "the stand-in cacls was not built beside the tests";
    ASSERT_TRUE(CopyFileW(원본.c_str(), 대상.c_str(), FALSE))
        << "cannot install the stand-in cacls, error " << GetLastError();
}

대체cacls::대체cacls(const std::wstring& 상태폴더)
    : 상태폴더_(상태폴더), 환경_(L"STANDIN_CACLS_STATE", 상태폴더.c_str()) {
    폴더만들기(상태폴더_);
    // The tool gives cmd an environment of its own, without the variable.
    wchar_t 시스템폴더[MAX_PATH] = {};
    GetSystemDirectoryW(시스템폴더, MAX_PATH);
    바이트쓰기(std::wstring(시스템폴더) + L"\\cacls-standin-state.txt",
               코드페이지로(상태폴더_, CP_UTF8) + "\r\n");
}

void 대체cacls::설명자정하기(const std::wstring& 폴더, const std::wstring& 설명자) {
    std::ofstream 파일((상태폴더_ + L"\\descriptors.txt").c_str(), std::ios::binary | std::ios::app);
    파일 << 코드페이지로(폴더, CP_UTF8) << '\t' << 코드페이지로(설명자, CP_UTF8) << "\r\n";
}

std::wstring 대체cacls::설명자(const std::wstring& 폴더) const {
    const std::wstring 표 = 코드페이지에서(바이트읽기(상태폴더_ + L"\\descriptors.txt"), CP_UTF8);
    const std::wstring 머리 = 폴더 + L"\t";
    for (size_t 시작 = 0; 시작 < 표.size();) {
        const size_t 끝 = 표.find(L"\r\n", 시작);
        const std::wstring 줄 = 표.substr(시작, 끝 - 시작);
        if (CompareStringOrdinal(줄.c_str(), static_cast<int>(std::min(줄.size(), 머리.size())),
                                 머리.c_str(), static_cast<int>(머리.size()), TRUE) == CSTR_EQUAL)
            return 줄.substr(머리.size());
        if (끝 == std::wstring::npos) break;
        시작 = 끝 + 2;
    }
    return {};
}

void 대체cacls::거부하기() { 바이트쓰기(상태폴더_ + L"\\refuse", ""); }
void 대체cacls::영어로() { 바이트쓰기(상태폴더_ + L"\\english", ""); }
void 대체cacls::따옴표로() { 바이트쓰기(상태폴더_ + L"\\quoted", ""); }
void 대체cacls::늦추기(unsigned 밀리초) {
    바이트쓰기(상태폴더_ + L"\\delay", std::to_string(밀리초));
}

std::wstring 대체cacls::호출기록() const {
    return 코드페이지에서(바이트읽기(상태폴더_ + L"\\calls.log"), CP_UTF8);
}

}  // namespace 시험
