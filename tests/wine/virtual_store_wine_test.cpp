// The VirtualStore move under Wine with real folders: the program (its build
// that needs no desktop shell, which Wine lacks) is driven through its
// window (question, Yes or No, summary), and the Win32
// layer's refusal to write through a second name of a file is checked on
// its own.
#include "tests/wine/window_fixture.h"

#include <cstdio>

#include "platform/win32_platform.h"

namespace {

using namespace 시험;

bool 폴더임(const std::wstring& 경로) {
    const DWORD 속성 = GetFileAttributesW(경로.c_str());
    return 속성 != INVALID_FILE_ATTRIBUTES && (속성 & FILE_ATTRIBUTE_DIRECTORY);
}

// Bytes as a listing shows them: ASCII as it is, anything else as \xNN.
std::wstring 보이게(const std::string& 바이트) {
    std::wstring 글;
    for (const unsigned char 바이트하나 : 바이트) {
        if (바이트하나 >= 0x20 && 바이트하나 < 0x7f && 바이트하나 != '\\') {
            글 += static_cast<wchar_t>(바이트하나);
        } else {
            wchar_t 부호[8];
            swprintf(부호, 8, L"\\x%02x", 바이트하나);
            글 += 부호;
        }
    }
    return 글;
}

// Every folder and file below `폴더`, files with their bytes: what the tests
// compare, and what they print for the record.
void 나무(const std::wstring& 폴더, const std::wstring& 앞, std::vector<std::wstring>& 줄들) {
    std::vector<std::wstring> 이름들 = 폴더내용(폴더);
    std::sort(이름들.begin(), 이름들.end());
    for (const std::wstring& 이름 : 이름들) {
        const std::wstring 경로 = 폴더 + L"\\" + 이름;
        if (폴더임(경로)) {
            줄들.push_back(앞 + 이름 + L"\\");
            나무(경로, 앞 + 이름 + L"\\", 줄들);
        } else {
            줄들.push_back(앞 + 이름 + L" = \"" + 보이게(바이트읽기(경로)) + L"\"");
        }
    }
}

std::vector<std::wstring> 나무(const std::wstring& 폴더) {
    std::vector<std::wstring> 줄들;
    나무(폴더, L"", 줄들);
    return 줄들;
}

// The one entry of `폴더` whose name starts with `머리`, or empty.
std::wstring 이름으로찾기(const std::wstring& 폴더, const std::wstring& 머리) {
    std::wstring 찾음;
    for (const std::wstring& 이름 : 폴더내용(폴더)) {
        if (이름.rfind(머리, 0) != 0) continue;
        if (!찾음.empty()) ADD_FAILURE() << "two entries start with " << utf8(머리);
        찾음 = 폴더 + L"\\" + 이름;
    }
    return 찾음;
}

class 가상폴더옮김 : public 창종단 {
protected:
    // Elevated, the move runs only as the desktop shell's user: Wine has no shell.
    std::wstring 실행파일() const override {
        return 프로그램폴더() + L"\\boansetting_desktop_unchecked.exe";
    }

    // A VirtualStore copy with a nested dat folder over an install folder
    // that holds older versions; the install folder already lets Users in.
    void SetUp() override {
        창종단::SetUp();
        for (const std::wstring& 폴더 :
             {대상, 대상 + L"\\dat", 뿌리 / L"VirtualStore", 가상저장소, 가상, 가상 + L"\\dat",
              가상 + L"\\dat\\sub"})
            폴더만들기(폴더);
        바이트쓰기(대상 + L"\\dat\\a.dat", "old a");
        바이트쓰기(대상 + L"\\dat\\b.dat", "same b");
        바이트쓰기(대상 + L"\\dat\\keep.dat", "keep");
        바이트쓰기(대상 + L"\\setup.ini", "old ini");
        바이트쓰기(가상 + L"\\dat\\a.dat", std::string("new a\0\r\n\xff", 9));
        바이트쓰기(가상 + L"\\dat\\b.dat", "same b");
        바이트쓰기(가상 + L"\\dat\\sub\\c.dat", "new c");
        바이트쓰기(가상 + L"\\setup.ini", "new ini");
        cacls.설명자정하기(대상, L"D:PAI(A;OICI;FA;;;BU)(A;OICI;FA;;;SY)");
    }

    // Presses 1, closes the check's message and returns the question that
    // follows it, reporting failures at the caller's line.
    std::optional<메시지상자> 물음받기_(const char* 파일, int 줄) {
        const testing::ScopedTrace 추적(파일, 줄, "question");
        EXPECT_EQ(답받기(IDC_CHECK_BASE).본문, L"보안설정이 잘되어 있습니다.");
        auto 물음 = 프로그램->메시지상자기다리기();
        if (!물음) {
            ADD_FAILURE() << "no question after the check";
        } else {
            EXPECT_EQ(물음->제목, L"보안설정");
        }
        return 물음;
    }

    메시지상자 예에답하고요약받기_(const 메시지상자& 물음, const char* 파일, int 줄) {
        const testing::ScopedTrace 추적(파일, 줄, "answered Yes");
        EXPECT_TRUE(프로그램->메시지상자답하기(물음, IDYES));
        return 다음상자();
    }

    std::wstring 백업폴더() const { return 이름으로찾기(뿌리.경로(), L"Quindle 백업 "); }
    std::wstring 옮긴폴더() const { return 이름으로찾기(가상저장소, L"Quindle 옮김 "); }

    void 출력(const char* 제목) const {
        std::printf("---- %s: %s\n", 제목, utf8(뿌리.경로()).c_str());
        for (const std::wstring& 폴더 : {std::wstring(L"Program Files (x86)"),
                                         std::wstring(L"VirtualStore")}) {
            std::printf("%s\\\n", utf8(폴더).c_str());
            for (const std::wstring& 줄 : 나무(뿌리 / 폴더)) std::printf("  %s\n", utf8(줄).c_str());
        }
        if (const std::wstring 백업 = 백업폴더(); !백업.empty()) {
            std::printf("%s\\\n", utf8(백업.substr(뿌리.경로().size() + 1)).c_str());
            for (const std::wstring& 줄 : 나무(백업)) std::printf("  %s\n", utf8(줄).c_str());
        }
        std::fflush(stdout);
    }

    const std::wstring 가상 = 가상저장소 + L"\\Quindle";
    const std::string 새a{"new a\0\r\n\xff", 9};
};

#define 물음받기() 물음받기_(__FILE__, __LINE__)
#define 예에답하고요약받기(물음) 예에답하고요약받기_(물음, __FILE__, __LINE__)

TEST_F(가상폴더옮김, 예면_파일이_설치_폴더로_가고_바뀐_파일은_백업되며_가상_폴더는_이름이_바뀐다) {
    출력("before");
    const auto 물음 = 물음받기();
    ASSERT_TRUE(물음);
    EXPECT_NE(물음->본문.find(L"파일이 4개 있습니다."), std::wstring::npos) << utf8(물음->본문);
    Sleep(300);
    프로그램->화면저장(프로그램폴더() + L"\\vs_question.bmp");

    EXPECT_TRUE(프로그램->메시지상자답하기(*물음, IDYES));
    const auto 요약 = 프로그램->메시지상자기다리기();
    ASSERT_TRUE(요약);
    Sleep(300);
    프로그램->화면저장(프로그램폴더() + L"\\vs_summary.bmp");
    EXPECT_TRUE(프로그램->메시지상자닫기(*요약));
    출력("after");

    EXPECT_EQ(바이트읽기(대상 + L"\\dat\\a.dat"), 새a);
    EXPECT_EQ(바이트읽기(대상 + L"\\dat\\sub\\c.dat"), "new c");
    EXPECT_EQ(바이트읽기(대상 + L"\\setup.ini"), "new ini");
    EXPECT_EQ(바이트읽기(대상 + L"\\dat\\keep.dat"), "keep");
    const std::wstring 백업 = 백업폴더();
    ASSERT_FALSE(백업.empty());
    EXPECT_EQ(나무(백업), 줄들({L"dat\\", L"dat\\a.dat = \"old a\"", L"setup.ini = \"old ini\""}));
    EXPECT_FALSE(파일있음(가상));
    const std::wstring 옮김 = 옮긴폴더();
    ASSERT_FALSE(옮김.empty());
    EXPECT_EQ(바이트읽기(옮김 + L"\\dat\\a.dat"), 새a) << "the copy was renamed, not emptied";
    EXPECT_EQ(요약->본문, L"파일 4개를 설치 폴더로 옮겼습니다.\r\n\r\n"
                          L"바뀐 파일의 원래 내용은 이 사용자의 폴더에 백업해 두었습니다(다른 사용자는 열 수 없습니다).\r\n" +
                              백업 + L"\r\n\r\n가상 폴더는 지우지 않고 이름만 바꾸어 두었습니다.\r\n" +
                              옮김);
}

// After the fix other users write the install folder: their newer file must
// not give way to an older private copy.
TEST_F(가상폴더옮김, 설치_폴더에서_나중에_바뀐_파일은_그대로_두고_요약에_밝힌다) {
    WIN32_FILE_ATTRIBUTE_DATA 가상판{};
    ASSERT_TRUE(GetFileAttributesExW((가상 + L"\\setup.ini").c_str(), GetFileExInfoStandard, &가상판));
    ULARGE_INTEGER 때{{가상판.ftLastWriteTime.dwLowDateTime, 가상판.ftLastWriteTime.dwHighDateTime}};
    때.QuadPart += 36000000000ULL;  // an hour later
    const FILETIME 나중{때.LowPart, 때.HighPart};
    const auto 설치판 = win32::OwnHandle(CreateFileW((대상 + L"\\setup.ini").c_str(), FILE_WRITE_ATTRIBUTES,
                                                     0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(설치판 && SetFileTime(설치판.get(), nullptr, nullptr, &나중));
    const auto 물음 = 물음받기();
    ASSERT_TRUE(물음);
    const 메시지상자 요약 = 예에답하고요약받기(*물음);
    EXPECT_EQ(바이트읽기(대상 + L"\\setup.ini"), "old ini");
    ASSERT_FALSE(옮긴폴더().empty());
    EXPECT_EQ(바이트읽기(옮긴폴더() + L"\\setup.ini"), "new ini");
    EXPECT_NE(요약.본문.find(L"그대로 두었습니다.\r\n" + 대상 + L"\\setup.ini\r\n가상 폴더 쪽 파일은 이름을 "
                             L"바꾼 가상 폴더에 그대로 있습니다."), std::wstring::npos)
        << utf8(요약.본문);
}

TEST_F(가상폴더옮김, 아니오면_아무것도_바뀌지_않는다) {
    const auto 물음 = 물음받기();
    ASSERT_TRUE(물음);
    const auto 전 = 나무(뿌리.경로());
    EXPECT_TRUE(프로그램->메시지상자답하기(*물음, IDNO));
    EXPECT_FALSE(프로그램->메시지상자기다리기(1000)) << "a message after No";
    EXPECT_EQ(나무(뿌리.경로()), 전);
}

TEST_F(가상폴더옮김, 열린_파일이_있으면_이름을_바꾸기_전에_멈추고_닫은_뒤_다시_하면_잃는_것_없이_마저_옮긴다) {
    const std::wstring 열린것 = 가상 + L"\\dat\\sub\\c.dat";
    {
        const win32::UniqueHandle 잡음 = win32::OwnHandle(CreateFileW(
            열린것.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(잡음);
        const auto 물음 = 물음받기();
        ASSERT_TRUE(물음);
        const 메시지상자 요약 = 예에답하고요약받기(*물음);
        EXPECT_NE(요약.본문.find(L"\r\n" + 열린것 + L"\r\n"), std::wstring::npos) << utf8(요약.본문);
        EXPECT_NE(요약.본문.find(L"닫은 뒤 다시 하면, 멈춘 곳부터 안전하게 이어서 옮깁니다."),
                  std::wstring::npos);
        EXPECT_TRUE(파일있음(가상)) << "renamed although a file was not copied";
        EXPECT_TRUE(옮긴폴더().empty());
    }
    const auto 물음 = 물음받기();
    ASSERT_TRUE(물음);
    EXPECT_NE(예에답하고요약받기(*물음).본문.find(L"파일 4개를 설치 폴더로 옮겼습니다."),
              std::wstring::npos);
    EXPECT_FALSE(옮긴폴더().empty());
    EXPECT_EQ(바이트읽기(대상 + L"\\dat\\a.dat"), 새a);
    EXPECT_EQ(바이트읽기(대상 + L"\\dat\\sub\\c.dat"), "new c");
    // Each replaced version is in exactly one backup, whichever run made it.
    std::vector<std::wstring> 백업된것;
    for (const std::wstring& 이름 : 폴더내용(뿌리.경로()))
        if (이름.rfind(L"Quindle 백업 ", 0) == 0)
            for (const std::wstring& 줄 : 나무(뿌리 / 이름)) 백업된것.push_back(줄);
    std::sort(백업된것.begin(), 백업된것.end());
    백업된것.erase(std::remove(백업된것.begin(), 백업된것.end(), L"dat\\"), 백업된것.end());
    EXPECT_EQ(백업된것, 줄들({L"dat\\a.dat = \"old a\"", L"setup.ini = \"old ini\""}));
}

// LOCALAPPDATA is the user's to set, and an elevation inherits it: pointed
// at a folder outside the user's own profile (another user's, say), its
// VirtualStore copy must be neither offered, moved nor renamed.
class 가상폴더옮김_프로필밖 : public 가상폴더옮김 {
protected:
    void SetUp() override {
        가상폴더옮김::SetUp();
        for (const std::wstring& 폴더 : {밖, 밖 + L"\\VirtualStore", 밖가상저장소, 밖가상})
            폴더만들기(폴더);
        바이트쓰기(밖가상 + L"\\setup.ini", "someone else's ini");
    }
    void TearDown() override {
        가상폴더옮김::TearDown();
        폴더지우기(밖);
    }

    const std::wstring 밖 = L"C:\\boansetting outside " + std::to_wstring(GetCurrentProcessId());
    const std::wstring 밖가상저장소 = 밖 + L"\\VirtualStore\\Program Files (x86)";
    const std::wstring 밖가상 = 밖가상저장소 + L"\\Quindle";
    환경변수바꾸기 밖으로{L"LOCALAPPDATA", 밖.c_str()};
};

TEST_F(가상폴더옮김_프로필밖, LOCALAPPDATA가_프로필_밖이면_묻지도_옮기지도_않는다) {
    EXPECT_EQ(답받기(IDC_CHECK_BASE).본문, L"보안설정이 잘되어 있습니다.");
    const auto 물음 = 프로그램->메시지상자기다리기(1500);
    if (물음) {
        ADD_FAILURE() << "offered: " << utf8(물음->본문);
        프로그램->메시지상자답하기(*물음, IDYES);
        if (const auto 요약 = 프로그램->메시지상자기다리기()) 프로그램->메시지상자닫기(*요약);
    }
    EXPECT_EQ(바이트읽기(대상 + L"\\setup.ini"), "old ini");
    EXPECT_EQ(폴더내용(밖가상저장소), 줄들({L"Quindle"})) << "renamed";
    EXPECT_EQ(폴더내용(밖), 줄들({L"VirtualStore"})) << "a backup was made there";
}

// A disk that fills while a file of the install folder is being replaced,
// or a one-line file written:
// tests/wine/small_disk.sh mounts a small tmpfs (as root) as the
// program-files folder, runs this test and unmounts it (which also clears
// it); run any other way it skips.
class 가상폴더옮김_작은디스크 : public 가상폴더옮김 {
protected:
    void SetUp() override {
        if (!파일있음(디스크 + L"\\mounted-by-ctest"))
            GTEST_SKIP() << "no small disk at " << utf8(디스크) << ": the ctest test 가상폴더옮김_작은디스크 mounts one";
        가상폴더옮김::SetUp();
        폴더만들기(설치);
        바이트쓰기(설치 + L"\\big.dat", "old big");
        Sleep(50);  // the copy's version is the later one
        폴더지우기(가상);
        폴더만들기(가상);
        바이트쓰기(가상 + L"\\big.dat", 새것);
        cacls.설명자정하기(설치, L"D:PAI(A;OICI;FA;;;BU)(A;OICI;FA;;;SY)");
        바이트쓰기(디스크 + L"\\filler", std::string(700 * 1024, 'f'));  // less room than the copy needs
    }

    const std::wstring 디스크 = L"C:\\boansetting small disk", 설치 = 디스크 + L"\\Quindle";
    const std::string 새것 = std::string(600 * 1024, 'n');
    환경변수바꾸기 프로그램파일을디스크로{L"ProgramFiles(x86)", 디스크.c_str()};
    시스템값바꾸기 프로그램파일값을디스크로{L"ProgramFilesDir (x86)", 디스크.c_str()};
};

TEST_F(가상폴더옮김_작은디스크, 덮어쓰다_디스크가_차면_파일은_그대로이고_자리가_나면_가상_폴더의_판이_온다) {
    const auto 쓴때 = [&] {
        WIN32_FILE_ATTRIBUTE_DATA 정보{};
        EXPECT_TRUE(GetFileAttributesExW((설치 + L"\\big.dat").c_str(), GetFileExInfoStandard, &정보));
        return std::make_pair(정보.ftLastWriteTime.dwHighDateTime, 정보.ftLastWriteTime.dwLowDateTime);
    };
    const auto 전때 = 쓴때();
    auto 물음 = 물음받기();
    ASSERT_TRUE(물음);
    const 메시지상자 멈춤 = 예에답하고요약받기(*물음);
    EXPECT_NE(멈춤.본문.find(L"\r\n" + 설치 + L"\\big.dat\r\n"), std::wstring::npos) << utf8(멈춤.본문);
    EXPECT_TRUE(바이트읽기(설치 + L"\\big.dat") == "old big") << "left part written";
    EXPECT_EQ(쓴때(), 전때) << "stamped as written";
    EXPECT_EQ(폴더내용(설치), 줄들({L"big.dat"})) << "a fragment was left";
    EXPECT_TRUE(파일있음(가상));

    ASSERT_TRUE(DeleteFileW((디스크 + L"\\filler").c_str()));
    물음 = 물음받기();
    ASSERT_TRUE(물음);
    EXPECT_NE(예에답하고요약받기(*물음).본문.find(L"파일 1개를 설치 폴더로 옮겼습니다."), std::wstring::npos);
    EXPECT_TRUE(바이트읽기(설치 + L"\\big.dat") == 새것) << "the copy's version did not come";
}

// A kept list cut short would be the oldest, and stop every restore.
TEST_F(가상폴더옮김_작은디스크, 한_줄을_다_쓸_자리가_없으면_쓰다_만_파일을_남기지_않는다) {
    Win32플랫폼 시스템(L"보안설정");
    const std::wstring 파일 = 디스크 + L"\\Quindle 2026-12-08 09-05-07.sddl";
    EXPECT_THROW(시스템.한줄쓰기(파일, std::wstring(400 * 1024, L'A')), 파일오류);
    EXPECT_FALSE(파일있음(파일));
}

// Wine makes no junctions or symbolic links; a second name of a file (hard
// link) it does make, and the real layer must not write through it.
TEST(가상폴더옮김_플랫폼, 하드_링크인_파일에는_쓰지_않는다) {
    작업폴더 뿌리{L"하드 링크"};
    const std::wstring 남의것 = 뿌리 / L"남의 파일.dat", 링크곳 = 뿌리 / L"링크", 원본곳 = 뿌리 / L"원본";
    폴더만들기(링크곳);
    폴더만들기(원본곳);
    바이트쓰기(남의것, "someone else's");
    바이트쓰기(원본곳 + L"\\a.dat", "new");
    if (!CreateHardLinkW((링크곳 + L"\\a.dat").c_str(), 남의것.c_str(), nullptr))
        GTEST_SKIP() << "no hard links here, error " << GetLastError();
    Win32플랫폼 시스템(L"보안설정");
    const auto 링크폴더 = 시스템.폴더고정(링크곳).잡음, 원본폴더 = 시스템.폴더고정(원본곳).잡음;
    ASSERT_TRUE(링크폴더 && 원본폴더);
    for (const auto 방식 : {복사방식::덮어쓰기, 복사방식::새파일}) {
        try {
            시스템.파일복사(*원본폴더, *링크폴더, L"a.dat", 방식, 0);
            ADD_FAILURE() << "copied onto the link";
        } catch (const 파일오류& 오류) {
            if (방식 == 복사방식::덮어쓰기) {
                EXPECT_EQ(오류.코드(), 링크거부);
            }
        }
    }
    EXPECT_THROW(시스템.같은내용(*링크폴더, *원본폴더, L"a.dat"), 파일오류);
    EXPECT_EQ(바이트읽기(남의것), "someone else's");
}

}  // namespace
