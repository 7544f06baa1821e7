// The Win32 platform operations, run for real under Wine with code page 949:
// processes started hidden and waited for, text through the ANSI code page,
// the existence test, and failures turned into 파일오류.
#include <gtest/gtest.h>

#include "platform/win32_handles.h"
#include "platform/win32_platform.h"
#include "tests/wine/wine_support.h"

namespace {

using 시험::작업폴더;

class Win32플랫폼시험 : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 949u) << "the rig must run with code page 949"; }

    Win32플랫폼 시스템{L"보안설정"};
    작업폴더 폴더;
};

TEST_F(Win32플랫폼시험, 배치파일은_끝날때까지_기다리고_그_출력은_완전하다) {
    const std::wstring 출력 = 폴더 / L"출력.txt";
    시스템.한줄쓰기(폴더 / L"느림.bat",
                    L"@for /l %%i in (1,1,400) do @echo line %%i>> \"" + 출력 + L"\"");
    시스템.배치실행(폴더 / L"느림.bat");

    const std::string 내용 = 시험::바이트읽기(출력);
    EXPECT_NE(내용.find("line 1\r\n"), std::string::npos);
    EXPECT_EQ(내용.substr(내용.size() - 10), "line 400\r\n");
}

TEST_F(Win32플랫폼시험, 붙잡은_폴더의_소유자는_SID와_이름으로_읽힌다) {
    const 폴더고정결과 고정 = 시스템.폴더고정(폴더.경로());
    ASSERT_EQ(고정.상태, 폴더상태::고정됨);
    const 소유자정보 소유자 = 시스템.소유자(*고정.잡음, 폴더.경로());
    EXPECT_EQ(소유자.sid.rfind(L"S-1-", 0), 0u);
    EXPECT_FALSE(소유자.이름.empty());
    // An entry's own, through the folder's hold; nothing once it is gone.
    시스템.한줄쓰기(폴더 / L"a.dat", L"x");
    const std::optional<항목보안> 안의것 = 시스템.안의보안(*고정.잡음, L"a.dat");
    ASSERT_TRUE(안의것.has_value());
    EXPECT_EQ(안의것->소유자.sid, 소유자.sid);
    EXPECT_EQ(안의것->목록.rfind(L"D:", 0), 0u);
    EXPECT_FALSE(시스템.안의보안(*고정.잡음, L"없음.dat").has_value());
}

TEST_F(Win32플랫폼시험, 코드페이지_밖_글자가_든_배치_경로도_바뀌지_않고_cmd에_간다) {
    시험::폴더만들기(폴더 / L"ไทย 가");
    시스템.한줄쓰기(폴더 / L"ไทย 가\\fe2437.bat", L"@echo ran> \"" + 폴더 / L"out.txt" + L"\"");
    시스템.배치실행(폴더 / L"ไทย 가\\fe2437.bat");
    EXPECT_EQ(시험::바이트읽기(폴더 / L"out.txt"), "ran\r\n");
}

TEST_F(Win32플랫폼시험, 배치의_이름만_쓴_프로그램은_사용자의_PATH와_PATHEXT로_찾지_않는다) {
    // A user's PATH and PATHEXT are inherited by an elevated process; they
    // must not choose which program the batch line's bare "cacls" is.
    const std::wstring 심은곳 = 폴더 / L"planted";
    const std::wstring 흔적 = 폴더 / L"planted-ran.txt";
    시험::폴더만들기(심은곳);
    시험::바이트쓰기(심은곳 + L"\\cacls.bat",
                     시험::코드페이지로(L"@echo planted> \"" + 흔적 + L"\"\r\n", 949));
    시험::환경변수바꾸기 경로(L"PATH", 심은곳.c_str());
    시험::환경변수바꾸기 확장자(L"PATHEXT", L".BAT");
    시스템.한줄쓰기(폴더 / L"fe2437.bat", L"@cacls \"" + 폴더.경로() + L"\" /s > nul 2>&1");
    시스템.배치실행(폴더 / L"fe2437.bat");
    EXPECT_FALSE(시험::파일있음(흔적));
}

TEST_F(Win32플랫폼시험, 코드페이지를_오가며_바뀌는_글자가_든_글은_그대로가_아니다) {
    EXPECT_TRUE(시스템.코드페이지로그대로(L"C:\\Users\\김민수\\AppData (x86) & ^"));
    EXPECT_FALSE(시스템.코드페이지로그대로(L"C:\\a\u20A9b"));  // best fit: a backslash
    EXPECT_FALSE(시스템.코드페이지로그대로(L"C:\\caf\u00E9"));  // best fit: e
    EXPECT_FALSE(시스템.코드페이지로그대로(L"C:\\ไทย"));       // the default character
}

TEST_F(Win32플랫폼시험, 개인_임시폴더는_시스템이_말하는_윈도우_폴더의_Temp에_매번_새로_생기고_놓으면_사라진다) {
    wchar_t 윈도우[MAX_PATH] = {};
    GetSystemWindowsDirectoryW(윈도우, MAX_PATH);
    시험::환경변수바꾸기 가짜윈도우(L"windir", 폴더.경로().c_str());
    시험::환경변수바꾸기 가짜뿌리(L"SystemRoot", 폴더.경로().c_str());
    시험::환경변수바꾸기 가짜임시(L"TEMP", 폴더.경로().c_str());
    개인폴더 첫째 = 시스템.개인임시폴더만들기();
    const 개인폴더 둘째 = 시스템.개인임시폴더만들기();
    EXPECT_EQ(첫째.경로.rfind(std::wstring(윈도우) + L"\\Temp\\", 0), 0u) << 시험::코드페이지로(첫째.경로, CP_UTF8);
    EXPECT_NE(첫째.경로, 둘째.경로);
    시험::바이트쓰기(첫째.경로 + L"\\fe2437.txt", "left over");
    첫째.지움.reset();
    EXPECT_FALSE(시험::파일있음(첫째.경로));
    EXPECT_TRUE(시험::파일있음(둘째.경로));
}

TEST_F(Win32플랫폼시험, 한도보다_큰_파일은_읽지_않고_파일오류가_된다) {
    시험::바이트쓰기(폴더 / L"큰.txt", std::string(1001, 'x'));
    EXPECT_EQ(시스템.전체읽기(폴더 / L"큰.txt", 1001), std::wstring(1001, L'x'));
    try {
        시스템.전체읽기(폴더 / L"큰.txt", 1000);
        ADD_FAILURE() << "a file past the limit must not be read";
    } catch (const 파일오류& 오류) {
        EXPECT_EQ(오류.경로(), 폴더 / L"큰.txt");
        EXPECT_EQ(오류.사실().사유, 거절::너무큼);
        EXPECT_EQ(오류.사실().크기, 1001u);
        EXPECT_EQ(오류.사실().한도, 1000u);
    }
}

TEST_F(Win32플랫폼시험, 한글_한줄은_949로_쓰이고_그대로_읽힌다) {
    const std::wstring 파일 = 폴더 / L"한글.txt";
    const std::wstring 줄 = L"처리된 디렉터리: C:\\Program Files (x86)\\가나다";
    시스템.한줄쓰기(파일, 줄);
    EXPECT_EQ(시험::바이트읽기(파일), 시험::코드페이지로(줄, 949) + "\r\n");
    EXPECT_EQ(시스템.전체읽기(파일, 1000), 줄 + L"\r\n");

    시스템.한줄쓰기(파일, L"y");  // truncates
    EXPECT_EQ(시험::바이트읽기(파일), "y\r\n");
}

TEST_F(Win32플랫폼시험, 전체읽기는_아무것도_바꾸지_않는다) {
    const std::string 바이트 = "첫 줄\r\n\r\nsecond\n\t끝  ";
    시험::바이트쓰기(폴더 / L"a.txt", 시험::코드페이지로(L"첫 줄\r\n\r\nsecond\n\t끝  ", 949));
    EXPECT_EQ(시스템.전체읽기(폴더 / L"a.txt", 1000), L"첫 줄\r\n\r\nsecond\n\t끝  ");
    시험::바이트쓰기(폴더 / L"빈.txt", "");
    EXPECT_EQ(시스템.전체읽기(폴더 / L"빈.txt", 1000), L"");
}

TEST_F(Win32플랫폼시험, 없는_파일은_빈_문자열로_읽히고_빈_파일로_남는다) {
    const std::wstring 파일 = 폴더 / L"fe2437.txt";
    EXPECT_EQ(시스템.전체읽기(파일, 1000), L"");
    EXPECT_TRUE(시험::파일있음(파일));
    EXPECT_NO_THROW(시스템.파일삭제(파일));
}

TEST_F(Win32플랫폼시험, 존재검사는_마스크와_끝의_구분자를_따른다) {
    시험::폴더만들기(폴더 / L"Quindle");
    시험::폴더만들기(폴더 / L"빈 폴더");
    시험::바이트쓰기(폴더 / L"Quindle\\dat.txt", "x");
    const auto 검사 = [&](const std::wstring& 경로, 속성마스크 마스크) {
        return 시스템.존재검사(경로, 마스크);
    };
    EXPECT_EQ(검사(폴더 / L"Quindle\\dat.txt", 속성마스크::일반파일), L"dat.txt");
    EXPECT_EQ(검사(폴더 / L"Quindle\\dat.txt", 속성마스크::폴더포함), L"dat.txt");
    EXPECT_EQ(검사(폴더 / L"Quindle", 속성마스크::일반파일), L"");
    EXPECT_EQ(검사(폴더 / L"Quindle", 속성마스크::폴더포함), L"Quindle");
    EXPECT_EQ(검사(폴더 / L"Quindle\\", 속성마스크::폴더포함), L".");
    EXPECT_EQ(검사(폴더 / L"Quindle\\", 속성마스크::일반파일), L"dat.txt");
    EXPECT_EQ(검사(폴더 / L"빈 폴더\\", 속성마스크::일반파일), L"");
    EXPECT_EQ(검사(폴더 / L"없음", 속성마스크::폴더포함), L"");
    EXPECT_EQ(검사(폴더 / L"없음\\", 속성마스크::폴더포함), L"");
}

TEST_F(Win32플랫폼시험, 파일_단계의_실패는_번호와_설명을_단_파일오류가_된다) {
    try {
        시스템.파일삭제(폴더 / L"없는.txt");
        FAIL() << "deleting a missing file must throw";
    } catch (const 파일오류& 오류) {
        EXPECT_EQ(오류.경로(), 폴더 / L"없는.txt");
        EXPECT_EQ(오류.코드(), static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
        EXPECT_FALSE(오류.설명().empty());
        EXPECT_EQ(오류.작업(), 파일작업::파일삭제);  // what the message names
    }
    EXPECT_THROW(시스템.한줄쓰기(폴더 / L"없는 폴더\\a.bat", L"x"), 파일오류);
}

TEST_F(Win32플랫폼시험, 환경변수는_대소문자를_가리지_않고_없으면_비어있다) {
    시험::환경변수바꾸기 긴값(L"BOAN_TEST_VALUE", std::wstring(1000, L'가').c_str());
    EXPECT_EQ(시스템.환경변수(L"boan_test_value"), std::wstring(1000, L'가'));
    시험::환경변수바꾸기 없음(L"BOAN_TEST_VALUE", nullptr);
    EXPECT_EQ(시스템.환경변수(L"BOAN_TEST_VALUE"), L"");
}

TEST_F(Win32플랫폼시험, 고정한_파일은_풀릴때까지_쓰기_지우기_이름바꾸기가_안된다) {
    const std::wstring 배치 = 폴더 / L"fe2437.bat";
    const std::wstring 줄 = L"@echo 고정> \"" + 폴더 / L"out.txt" + L"\"";
    시스템.한줄쓰기(배치, 줄);
    {
        const auto 고정 = 시스템.고정하기(배치, 줄);
        const auto 쓰기 = win32::OwnHandle(
            CreateFileW(배치.c_str(), GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(쓰기) << "another writer got in";
        EXPECT_FALSE(DeleteFileW(배치.c_str()));
        EXPECT_FALSE(MoveFileW(배치.c_str(), (폴더 / L"다른.bat").c_str()));
        EXPECT_THROW(시스템.한줄쓰기(배치, L"@echo 바꿈"), 파일오류);

        // cmd can still read and run it.
        시스템.배치실행(배치);
        EXPECT_EQ(시험::바이트읽기(폴더 / L"out.txt"), 시험::코드페이지로(L"고정\r\n", 949));
    }
    EXPECT_NO_THROW(시스템.파일삭제(배치));
}

TEST_F(Win32플랫폼시험, 내용이_바뀐_파일은_고정하지_않고_오류가_된다) {
    const std::wstring 배치 = 폴더 / L"fe2456.bat";
    시스템.한줄쓰기(배치, L"cacls x");
    시험::바이트쓰기(배치, "del /q C:\\*\r\n");
    EXPECT_THROW(시스템.고정하기(배치, L"cacls x"), 파일오류);
    EXPECT_THROW(시스템.고정하기(폴더 / L"없음.bat", L"cacls x"), 파일오류);
}

TEST_F(Win32플랫폼시험, 고정한_폴더와_붙잡은_안의_항목은_풀릴때까지_지우거나_이름을_바꿀_수_없다) {
    const std::wstring 대상 = 폴더 / L"Quindle";
    시험::폴더만들기(대상);
    시험::바이트쓰기(폴더 / L"파일", "x");
    EXPECT_EQ(시스템.폴더고정(폴더 / L"없음").상태, 폴더상태::없음);
    EXPECT_EQ(시스템.폴더고정(폴더 / L"파일").상태, 폴더상태::없음);
    EXPECT_FALSE(시스템.폴더고정(대상).잡음->안의항목붙잡기()) << "an empty folder has nothing to hold";
    {
        const 폴더고정결과 결과 = 시스템.폴더고정(대상 + L"\\");
        ASSERT_EQ(결과.상태, 폴더상태::고정됨);
        EXPECT_FALSE(MoveFileW(대상.c_str(), (폴더 / L"다른").c_str()));
        EXPECT_FALSE(RemoveDirectoryW(대상.c_str()));
        시험::바이트쓰기(대상 + L"\\안.txt", "files can still be made inside");
        // Held anew: Wine lists a folder once per handle.
        const 폴더고정결과 다시 = 시스템.폴더고정(대상);
        EXPECT_TRUE(다시.잡음->안의항목붙잡기());
        EXPECT_FALSE(DeleteFileW((대상 + L"\\안.txt").c_str()));
        EXPECT_TRUE(다시.잡음->그대로인가());
    }
    EXPECT_TRUE(MoveFileW(대상.c_str(), (폴더 / L"다른").c_str()));
}

// The VirtualStore copy's folder is the user's: were the rename to resolve
// a second path, a junction swapped in meanwhile could carry the copy into a
// protected folder. So a rename stays in the folder of the object it opened.
TEST_F(Win32플랫폼시험, 이름바꾸기는_같은_폴더_안에서만_하고_다른_폴더로_옮기지_않는다) {
    const std::wstring 원래 = 폴더 / L"Quindle", 다른폴더 = 폴더 / L"보호된 곳";
    시험::폴더만들기(원래);
    시험::폴더만들기(다른폴더);
    시험::바이트쓰기(원래 + L"\\a.dat", "a");
    EXPECT_THROW(시스템.이름바꾸기(폴더.경로(), L"Quindle", L"보호된 곳\\Quindle 옮김"), 파일오류);
    EXPECT_TRUE(시험::폴더내용(다른폴더).empty());
    시스템.이름바꾸기(폴더.경로(), L"Quindle", L"Quindle 옮김");
    EXPECT_EQ(시험::바이트읽기(폴더 / L"Quindle 옮김\\a.dat"), "a");
    EXPECT_FALSE(시험::파일있음(원래));
    EXPECT_THROW(시스템.이름바꾸기(폴더.경로(), L"Quindle 옮김", L"보호된 곳"), 파일오류) << "replaced";
}

TEST_F(Win32플랫폼시험, 읽기전용_파일도_지운다) {
    const std::wstring 파일 = 폴더 / L"fe2437.txt";
    시험::바이트쓰기(파일, "stale");
    ASSERT_TRUE(SetFileAttributesW(파일.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_NO_THROW(시스템.파일삭제(파일));
    EXPECT_FALSE(시험::파일있음(파일));
}

TEST_F(Win32플랫폼시험, 상대경로는_현재_폴더와_드라이브를_붙여_절대경로가_된다) {
    std::wstring 상대, 뿌리;
    {
        const 시험::현재폴더바꾸기 옮김(폴더.경로());
        ASSERT_TRUE(옮김.바뀜());
        상대 = 시스템.전체경로(L"Temp\\fe2437.txt");
        뿌리 = 시스템.전체경로(L"\\fe2437.txt");
    }
    EXPECT_EQ(상대, 폴더 / L"Temp\\fe2437.txt");
    EXPECT_EQ(뿌리, 폴더.경로().substr(0, 2) + L"\\fe2437.txt");
    EXPECT_EQ(시스템.전체경로(L"C:\\Temp\\\\fe2437.txt"), L"C:\\Temp\\fe2437.txt");
}

TEST_F(Win32플랫폼시험, 임시파일은_한_번에_한_실행만_쓴다) {
    // Two instances are two processes; two threads contend for the same
    // named mutex in the same way.
    auto 먼저 = 시스템.임시파일독점(1000);
    LONG 얻음 = 0;
    struct 인자 { LONG* 얻음; } 전달{&얻음};
    const win32::UniqueHandle 스레드(CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            Win32플랫폼 다른(L"보안설정");
            const auto 나중 = 다른.임시파일독점(10000);
            if (!나중) return 0;
            InterlockedExchange(static_cast<인자*>(p)->얻음, 1);
            return 0;
        },
        &전달, 0, nullptr));
    ASSERT_TRUE(스레드);
    EXPECT_EQ(WaitForSingleObject(스레드.get(), 500), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(InterlockedCompareExchange(&얻음, 0, 0), 0);
    먼저.reset();
    EXPECT_EQ(WaitForSingleObject(스레드.get(), 10000), WAIT_OBJECT_0);
    EXPECT_EQ(InterlockedCompareExchange(&얻음, 0, 0), 1);
}

TEST_F(Win32플랫폼시험, 임시파일은_한도까지만_기다리고_그_뒤엔_빈_것이다) {
    // Another instance, or any program of the user, keeping the mutex.
    const auto 먼저 = 시스템.임시파일독점(1000);
    ASSERT_TRUE(먼저);
    struct 결과 { bool 얻음 = true; } 받음;
    const win32::UniqueHandle 스레드(CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            Win32플랫폼 다른(L"보안설정");
            static_cast<결과*>(p)->얻음 = 다른.임시파일독점(300) != nullptr;
            return 0;
        },
        &받음, 0, nullptr));
    ASSERT_TRUE(스레드);
    ASSERT_EQ(WaitForSingleObject(스레드.get(), 10000), WAIT_OBJECT_0) << "the wait had no limit";
    EXPECT_FALSE(받음.얻음);
}

TEST_F(Win32플랫폼시험, 쓰기는_미리_놓인_링크를_따라가지_않는다) {
    // A user could leave a hard link at a fixed temporary name, pointing at
    // a file only an administrator may change, and wait for the elevated fix.
    const std::wstring 보호 = 폴더 / L"보호된 파일.ini";
    시험::바이트쓰기(보호, "[system]\r\n");
    const std::wstring 배치 = 폴더 / L"fe2456.bat";
    ASSERT_TRUE(CreateHardLinkW(배치.c_str(), 보호.c_str(), nullptr));
    시스템.한줄쓰기(배치, L"cacls x");
    EXPECT_EQ(시험::바이트읽기(보호), "[system]\r\n");
    EXPECT_EQ(시험::바이트읽기(배치), "cacls x\r\n");
}

}  // namespace

// Wine makes every list up from the Unix owner, this user: the running
// program's file is one the user could change (the refusal is the fake's).
TEST_F(Win32플랫폼시험, 사용자가_바꿀_수_있는_자기_파일은_그_파일을_찾는다) {
    wchar_t 자기[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, 자기, MAX_PATH);
    const std::wstring 찾은것 = 시스템.바꿀수있는자기경로();
    EXPECT_EQ(_wcsicmp(찾은것.c_str(), 자기), 0) << 찾은것.size();
}
