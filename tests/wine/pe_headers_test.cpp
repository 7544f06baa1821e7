// The built programs' headers: address-space randomisation and no-execute
// data are on, the window program is a GUI program and its twin .com a
// console one, and they import system DLLs only, so they run on a bare
// Windows and resist the usual exploits when elevated.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/wine/window_driver.h"
#include "tests/wine/wine_support.h"

namespace {

struct 머리정보 {
    bool 육십사비트 = false;
    WORD 특성 = 0;       // DllCharacteristics
    WORD 서브시스템 = 0;
    std::set<std::string> 가져온DLL;  // upper case
    std::set<std::string> 가져온함수;
};

template <typename T>
T 읽기(const std::string& 파일, size_t 위치) {
    T 값{};
    if (위치 + sizeof(T) <= 파일.size()) std::memcpy(&값, 파일.data() + 위치, sizeof(T));
    return 값;
}

std::string 대문자(std::string 글) {
    std::transform(글.begin(), 글.end(), 글.begin(), [](unsigned char c) { return std::toupper(c); });
    return 글;
}

// Reads what the tests look at from a PE file; fails the test on a file
// that is not one.
머리정보 머리읽기(const std::string& 파일) {
    머리정보 정보;
    const auto 도스 = 읽기<IMAGE_DOS_HEADER>(파일, 0);
    EXPECT_EQ(도스.e_magic, IMAGE_DOS_SIGNATURE);
    const size_t nt = static_cast<size_t>(도스.e_lfanew);
    EXPECT_EQ(읽기<DWORD>(파일, nt), static_cast<DWORD>(IMAGE_NT_SIGNATURE));
    const auto 파일머리 = 읽기<IMAGE_FILE_HEADER>(파일, nt + 4);
    const size_t 선택머리 = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    정보.육십사비트 = 읽기<WORD>(파일, 선택머리) == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    IMAGE_DATA_DIRECTORY 가져오기{};
    if (정보.육십사비트) {
        const auto 머리 = 읽기<IMAGE_OPTIONAL_HEADER64>(파일, 선택머리);
        정보.특성 = 머리.DllCharacteristics;
        정보.서브시스템 = 머리.Subsystem;
        가져오기 = 머리.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    } else {
        const auto 머리 = 읽기<IMAGE_OPTIONAL_HEADER32>(파일, 선택머리);
        정보.특성 = 머리.DllCharacteristics;
        정보.서브시스템 = 머리.Subsystem;
        가져오기 = 머리.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    }

    const size_t 구역표 = 선택머리 + 파일머리.SizeOfOptionalHeader;
    const auto 위치로 = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < 파일머리.NumberOfSections; ++i) {
            const auto 구역 = 읽기<IMAGE_SECTION_HEADER>(파일, 구역표 + i * sizeof(IMAGE_SECTION_HEADER));
            if (rva >= 구역.VirtualAddress && rva < 구역.VirtualAddress + 구역.Misc.VirtualSize)
                return rva - 구역.VirtualAddress + 구역.PointerToRawData;
        }
        return 파일.size();
    };
    const auto 문자열 = [&](DWORD rva) {
        const size_t 위치 = 위치로(rva);
        return 위치 < 파일.size() ? std::string(파일.c_str() + 위치) : std::string();
    };
    for (size_t 항목 = 위치로(가져오기.VirtualAddress);; 항목 += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto 설명 = 읽기<IMAGE_IMPORT_DESCRIPTOR>(파일, 항목);
        if (설명.Name == 0) break;
        정보.가져온DLL.insert(대문자(문자열(설명.Name)));
        const size_t 폭 = 정보.육십사비트 ? 8 : 4;
        for (size_t 썽크 = 위치로(설명.OriginalFirstThunk ? 설명.OriginalFirstThunk : 설명.FirstThunk);;
             썽크 += 폭) {
            const ULONGLONG 값 = 정보.육십사비트 ? 읽기<ULONGLONG>(파일, 썽크) : 읽기<DWORD>(파일, 썽크);
            if (값 == 0) break;
            const ULONGLONG 서수표시 = 정보.육십사비트 ? IMAGE_ORDINAL_FLAG64 : IMAGE_ORDINAL_FLAG32;
            if (!(값 & 서수표시)) 정보.가져온함수.insert(문자열(static_cast<DWORD>(값) + 2));
        }
    }
    return 정보;
}

void 보안머리확인(const std::wstring& 경로, bool 육십사비트,
                  WORD 서브시스템 = IMAGE_SUBSYSTEM_WINDOWS_GUI) {
    SCOPED_TRACE(시험::코드페이지로(경로, CP_UTF8));
    const std::string 파일 = 시험::바이트읽기(경로);
    ASSERT_FALSE(파일.empty()) << "not built";
    const 머리정보 정보 = 머리읽기(파일);
    EXPECT_EQ(정보.육십사비트, 육십사비트);
    EXPECT_TRUE(정보.특성 & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE) << "no ASLR";
    EXPECT_TRUE(정보.특성 & IMAGE_DLLCHARACTERISTICS_NX_COMPAT) << "no DEP";
    if (육십사비트) {
        EXPECT_TRUE(정보.특성 & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA) << "no high-entropy ASLR";
    }
    EXPECT_EQ(정보.서브시스템, 서브시스템);

    const std::set<std::string> 시스템DLL = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL",
                                             "COMCTL32.DLL", "SHELL32.DLL", "MSVCRT.DLL",
                                             "ADVAPI32.DLL", "OLE32.DLL", "OLEAUT32.DLL"};
    EXPECT_FALSE(정보.가져온DLL.empty());
    for (const std::string& dll : 정보.가져온DLL) EXPECT_TRUE(시스템DLL.count(dll)) << dll;
    // Looked up at run time: imported, it would keep the program from
    // starting on a Windows 7 that lacks it (before update KB2533623).
    EXPECT_FALSE(정보.가져온함수.count("SetDefaultDllDirectories"));
    EXPECT_FALSE(정보.가져온함수.empty());
}

std::wstring 빌드폴더() {
    // The test programs live in <build>\win64\tests\wine.
    std::wstring 폴더 = 시험::프로그램폴더();
    for (int 단계 = 0; 단계 < 3; ++단계) 폴더 = 폴더.substr(0, 폴더.rfind(L'\\'));
    return 폴더;
}

TEST(실행파일머리, 육십사비트_프로그램은_ASLR과_DEP를_갖고_시스템_DLL만_쓴다) {
    보안머리확인(시험::창프로그램::기본경로(), true);
}

// The twin a prompt finds first must be a console program, or the prompt
// would not wait for it; otherwise it is held to the same rules.
TEST(실행파일머리, 콘솔_쌍둥이는_콘솔_프로그램이고_같은_보호를_갖는다) {
    const std::wstring 창 = 시험::창프로그램::기본경로();
    보안머리확인(창.substr(0, 창.size() - 4) + L".com", true, IMAGE_SUBSYSTEM_WINDOWS_CUI);
}

// Scripts run it at every start of every PC: it loads none of the window's
// libraries (SHELL32 it takes through a delay-load table, at the first call
// of a grant).
TEST(실행파일머리, 콘솔_쌍둥이는_창의_라이브러리를_가져오지_않는다) {
    const std::wstring 창 = 시험::창프로그램::기본경로();
    std::vector<std::wstring> 쌍둥이들 = {창.substr(0, 창.size() - 4) + L".com"};
    if (const std::wstring 삼십이 = 빌드폴더() + L"\\win32\\app\\boansetting.com"; 시험::파일있음(삼십이))
        쌍둥이들.push_back(삼십이);
    for (const std::wstring& 쌍둥이 : 쌍둥이들) {
        SCOPED_TRACE(시험::코드페이지로(쌍둥이, CP_UTF8));
        const std::string 파일 = 시험::바이트읽기(쌍둥이);
        ASSERT_FALSE(파일.empty()) << "not built";
        const 머리정보 정보 = 머리읽기(파일);
        for (const char* dll : {"USER32.DLL", "GDI32.DLL", "COMCTL32.DLL", "SHELL32.DLL", "OLE32.DLL",
                                "OLEAUT32.DLL"})
            EXPECT_FALSE(정보.가져온DLL.count(dll)) << dll;
    }
}

// It shows no window: the icon and the 1 MB instruction picture would only
// weigh on every start of a script's check.
TEST(실행파일머리, 콘솔_쌍둥이는_매니페스트와_버전만_싣는다) {
    const std::wstring 창 = 시험::창프로그램::기본경로();
    const win32::UniqueModule 쌍둥이(LoadLibraryExW((창.substr(0, 창.size() - 4) + L".com").c_str(),
                                                   nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(쌍둥이) << "not built";
    std::set<ULONG_PTR> 종류;
    EnumResourceTypesW(
        쌍둥이.get(),
        [](HMODULE, LPWSTR 이름, LONG_PTR 모음) -> BOOL {
            reinterpret_cast<std::set<ULONG_PTR>*>(모음)->insert(reinterpret_cast<ULONG_PTR>(이름));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&종류));
    const auto 번호 = [](LPCWSTR 종류이름) { return reinterpret_cast<ULONG_PTR>(종류이름); };
    EXPECT_EQ(종류, (std::set<ULONG_PTR>{번호(RT_MANIFEST), 번호(RT_VERSION)}));
}

TEST(실행파일머리, 32비트_프로그램도_ASLR과_DEP를_갖고_시스템_DLL만_쓴다) {
    const std::wstring 경로 = 빌드폴더() + L"\\win32\\app\\boansetting.exe";
    if (!시험::파일있음(경로))
        GTEST_SKIP() << "the 32-bit program is not built (cmake --build --preset win32)";
    보안머리확인(경로, false);
}

}  // namespace
