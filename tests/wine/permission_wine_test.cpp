// The permission check and grant end to end: real batch files run by the
// real cmd, answered by the stand-in cacls, in a temporary folder of the
// test's own whose path holds a blank. Wine calls every process elevated;
// most cases here take the ordinary user's road, through a platform that
// says so, and those named for the elevated road take the real answer.
#include <gtest/gtest.h>

#include "permission/permission.h"
#include "platform/win32_handles.h"
#include "platform/win32_platform.h"
#include "tests/wine/wine_support.h"

#include <functional>

namespace {

using namespace 보안방화벽;
using 시험::작업폴더;

// The real platform, but run without elevation: the temporary files lie in
// the user's TEMP.
class 일반사용자플랫폼 final : public Win32플랫폼 {
public:
    일반사용자플랫폼() : Win32플랫폼(L"보안설정") {}
    bool 관리자권한() const override { return false; }
};

// Keeps doing `할일` on a thread of its own until the object goes.
class 반복스레드 {
public:
    explicit 반복스레드(std::function<void()> 할일) : 할일_(std::move(할일)) {
        스레드_.reset(CreateThread(nullptr, 0, 돌기, this, 0, nullptr));
    }
    ~반복스레드() {
        InterlockedExchange(&멈춤_, 1);
        WaitForSingleObject(스레드_.get(), 10000);
    }
    반복스레드(const 반복스레드&) = delete;
    반복스레드& operator=(const 반복스레드&) = delete;

private:
    static DWORD WINAPI 돌기(void* 자신) {
        auto* 나 = static_cast<반복스레드*>(자신);
        while (!InterlockedCompareExchange(&나->멈춤_, 0, 0)) 나->할일_();
        return 0;
    }
    std::function<void()> 할일_;
    LONG 멈춤_ = 0;
    win32::UniqueHandle 스레드_;
};

class 권한모듈종단 : public ::testing::Test {
protected:
    static void SetUpTestSuite() { 시험::대체cacls::설치(); }

    void SetUp() override { 시험::폴더만들기(대상); }

    // The test's files left in the temporary folder after a call.
    std::vector<std::wstring> 남은임시파일() const { return 시험::폴더내용(임시.경로()); }

    작업폴더 뿌리{L"권한 시험"};
    작업폴더 임시{L"Temp 폴더"};
    시험::환경변수바꾸기 TEMP바꾸기{L"TEMP", 임시.경로().c_str()};
    시험::대체cacls cacls{뿌리 / L"cacls 상태"};
    const std::wstring 프로그램파일 = 뿌리 / L"Program Files (x86)";
    const std::wstring 대상 = (시험::폴더만들기(프로그램파일), 프로그램파일 + L"\\Quindle");
    일반사용자플랫폼 시스템;
};

TEST_F(권한모듈종단, 항목이_정확히_있으면_참이고_임시파일이_남지_않는다) {
    cacls.설명자정하기(대상, L"D:PAI(A;OICI;FA;;;BU)(A;OICI;FA;;;SY)");
    EXPECT_EQ(권한검사(시스템, 대상), 참);
    EXPECT_TRUE(남은임시파일().empty());
    // The blanks in the folder did not split it into several arguments.
    EXPECT_NE(cacls.호출기록().find(L"args=" + 대상 + L"|/s\r\n"), std::wstring::npos);
}

TEST_F(권한모듈종단, 다른_플래그_권한_대소문자의_항목은_거짓이다) {
    for (const wchar_t* 설명자 : {L"D:AI(A;OICIID;FA;;;BU)", L"D:PAI(A;OICI;0x1301bf;;;BU)",
                                  L"D:PAI(a;oici;fa;;;bu)"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(설명자)));
        cacls.설명자정하기(대상, 설명자);
        EXPECT_EQ(권한검사(시스템, 대상), 거짓);
    }
}

TEST_F(권한모듈종단, 없는_폴더는_거부되고_임시파일이_남지_않는다) {
    EXPECT_THROW(권한검사(시스템, 프로그램파일 + L"\\없는 제품"), 실행거부);
    EXPECT_TRUE(남은임시파일().empty());
    EXPECT_EQ(cacls.호출기록(), L"");
}

TEST_F(권한모듈종단, 이전_실행의_출력은_세지_않는다) {
    cacls.설명자정하기(대상, L"D:AI(A;OICIID;FA;;;BA)");
    시험::바이트쓰기(임시 / L"fe2437.txt", "x D:PAI(A;OICI;FA;;;BU)\r\n");
    시험::바이트쓰기(임시 / L"fe1235.txt", 시험::코드페이지로(L"처리된 디렉터리: x\r\n", 949));
    cacls.거부하기();
    EXPECT_EQ(권한검사(시스템, 대상), 거짓);
    EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리안됨);
    EXPECT_TRUE(남은임시파일().empty());
}

TEST_F(권한모듈종단, 부여하면_설명자가_바뀌고_참이며_y를_받았다) {
    cacls.설명자정하기(대상, L"D:AI(A;OICIID;FA;;;BA)(A;OICIID;0x1200a9;;;BU)");
    EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리됨);
    EXPECT_EQ(cacls.설명자(대상), L"D:(A;OICI;FA;;;BU)");
    EXPECT_NE(cacls.호출기록().find(L"args=" + 대상 + L"|/s:D:(A;OICI;FA;;;BU)\r\nstdin=y\r\n"),
              std::wstring::npos);
    EXPECT_TRUE(남은임시파일().empty());
    // And the check now finds the entry.
    EXPECT_EQ(권한검사(시스템, 대상), 참);
}

TEST_F(권한모듈종단, 거부되면_거짓이고_설명자는_그대로다) {
    cacls.설명자정하기(대상, L"D:AI(A;OICIID;FA;;;BA)");
    cacls.거부하기();
    EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리안됨);
    EXPECT_EQ(cacls.설명자(대상), L"D:AI(A;OICIID;FA;;;BA)");
    EXPECT_TRUE(남은임시파일().empty());
}

TEST_F(권한모듈종단, 다른_언어의_출력은_바뀌었어도_거짓이다) {
    cacls.영어로();
    EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리안됨);
    EXPECT_EQ(cacls.설명자(대상), L"D:(A;OICI;FA;;;BU)");
}

TEST_F(권한모듈종단, 현재_폴더에_심어둔_cacls는_실행되지_않는다) {
    // The tool may be started from a folder anyone can write to, such as
    // Downloads; a cacls.bat or cacls.exe there must not run in its place.
    작업폴더 내려받기{L"Downloads"};
    const std::wstring 흔적 = 내려받기 / L"planted-ran.txt";
    시험::바이트쓰기(내려받기 / L"cacls.bat",
                     시험::코드페이지로(L"@echo planted> \"" + 흔적 + L"\"\r\n", 949));
    플래그 결과{};
    {
        const 시험::현재폴더바꾸기 옮김(내려받기.경로());
        ASSERT_TRUE(옮김.바뀜());
        cacls.설명자정하기(대상, L"D:PAI(A;OICI;FA;;;BU)");
        결과 = 권한검사(시스템, 대상);
    }

    EXPECT_FALSE(시험::파일있음(흔적));
    EXPECT_EQ(결과, 참);
}

TEST_F(권한모듈종단, 읽기전용인_이전_출력도_지우고_제대로_검사한다) {
    cacls.설명자정하기(대상, L"D:PAI(A;OICI;FA;;;BU)");
    시험::바이트쓰기(임시 / L"fe2437.txt", "stale");
    ASSERT_TRUE(SetFileAttributesW((임시 / L"fe2437.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(권한검사(시스템, 대상), 참);
    EXPECT_TRUE(남은임시파일().empty());
}

TEST_F(권한모듈종단, 다른_프로그램이_잡고_있는_이전_출력은_그_파일을_밝힌_오류가_된다) {
    시험::바이트쓰기(임시 / L"fe1235.txt", "stale");
    auto 잡음 = win32::OwnHandle(CreateFileW((임시 / L"fe1235.txt").c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(잡음);
    try {
        권한부여(시스템, 대상);
        ADD_FAILURE() << "the held file must be reported";
    } catch (const 파일오류& 오류) {
        EXPECT_EQ(오류.경로(), 임시 / L"fe1235.txt");
        EXPECT_FALSE(오류.설명().empty());
    }
    잡음.reset();
    EXPECT_EQ(남은임시파일(), std::vector<std::wstring>{L"fe1235.txt"});
    EXPECT_EQ(cacls.호출기록(), L"");  // nothing ran, nothing was granted
}

TEST_F(권한모듈종단, 끝에_구분자가_있거나_상대경로인_TEMP도_같은_파일을_쓴다) {
    cacls.설명자정하기(대상, L"D:PAI(A;OICI;FA;;;BU)");
    {
        시험::환경변수바꾸기 끝구분자(L"TEMP", (임시.경로() + L"\\").c_str());
        EXPECT_EQ(권한검사(시스템, 대상), 참);
    }
    const std::wstring 부모 = 임시.경로().substr(0, 임시.경로().rfind(L'\\'));
    {
        const 시험::현재폴더바꾸기 옮김(부모);
        ASSERT_TRUE(옮김.바뀜());
        시험::환경변수바꾸기 상대(L"TEMP", 임시.경로().substr(부모.size() + 1).c_str());
        EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리됨);
    }
    EXPECT_TRUE(남은임시파일().empty());
}

TEST_F(권한모듈종단, 없는_TEMP_폴더는_그_경로를_밝힌_오류가_된다) {
    시험::환경변수바꾸기 없음(L"TEMP", (뿌리 / L"없는 임시").c_str());
    EXPECT_THROW(권한검사(시스템, 대상), 파일오류);
    EXPECT_THROW(권한부여(시스템, 대상), 파일오류);
}

// ---- what a user's files and environment cannot steer ---------------------

TEST_F(권한모듈종단, cmd가_달리_읽을_TEMP는_거부되고_아무것도_실행되지_않는다) {
    // cmd would expand %Q%; the ANSI form of the won sign is a backslash; the
    // Thai name has no ANSI form at all.
    const std::wstring 흔적 = 뿌리 / L"planted-ran.txt";
    시험::폴더만들기(뿌리 / L"a");
    struct 사례 { std::wstring TEMP; std::wstring cmd가_보는_폴더; };
    const 사례 사례들[] = {{뿌리 / L"pct%Q%", 뿌리 / L"pctevil"},
                           {뿌리 / L"a\u20A9b", 뿌리 / L"a\\b"},
                           {뿌리 / L"\u0E44\u0E17\u0E22", L""}};
    시험::환경변수바꾸기 변수(L"Q", L"evil");
    for (const 사례& 하나 : 사례들) {
        SCOPED_TRACE(시험::코드페이지로(하나.TEMP, CP_UTF8));
        시험::폴더만들기(하나.TEMP);
        if (!하나.cmd가_보는_폴더.empty()) {
            시험::폴더만들기(하나.cmd가_보는_폴더);
            for (const wchar_t* 배치 : {L"\\fe2437.bat", L"\\fe2456.bat"})
                시험::바이트쓰기(하나.cmd가_보는_폴더 + 배치,
                                 시험::코드페이지로(L"@echo planted> \"" + 흔적 + L"\"\r\n", 949));
        }
        시험::환경변수바꾸기 임시폴더(L"TEMP", 하나.TEMP.c_str());
        try {
            권한부여(시스템, 대상);
            ADD_FAILURE() << "the temporary folder must be refused";
        } catch (const 실행거부& 거부) {
            EXPECT_NE(거부.대상().find(하나.TEMP), std::wstring::npos);
        }
        EXPECT_THROW(권한검사(시스템, 대상), 실행거부);
    }
    EXPECT_FALSE(시험::파일있음(흔적));
    EXPECT_EQ(cacls.호출기록(), L"");
}

TEST_F(권한모듈종단, cmd가_끝난_뒤_출력을_지우지_못해도_결과는_그대로다) {
    // A virus scanner opens the new output without delete sharing.
    cacls.설명자정하기(대상, L"D:AI(A;OICIID;FA;;;BA)");
    const std::wstring 출력 = 임시 / L"fe1235.txt";
    win32::UniqueHandle 잡음;
    {
        반복스레드 검사기([&] {
            if (잡음) return Sleep(1);
            잡음 = win32::OwnHandle(CreateFileW(출력.c_str(), GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, 0, nullptr));
        });
        EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리됨);
    }
    ASSERT_TRUE(잡음) << "the output was never held";
    잡음.reset();
    EXPECT_EQ(cacls.설명자(대상), L"D:(A;OICI;FA;;;BU)");
    // The next grant clears the file left behind first.
    EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리됨);
    EXPECT_TRUE(남은임시파일().empty());
}

TEST_F(권한모듈종단, 관리자면_TEMP에_거듭_심는_링크로도_다른_파일에_쓰지_못한다) {
    // Elevated, cmd's `>` would truncate and write through a hard link that
    // a process of the user keeps planting at the output's name.
    Win32플랫폼 관리자{L"보안설정"};
    ASSERT_TRUE(관리자.관리자권한()) << "Wine calls every process elevated";
    cacls.설명자정하기(대상, L"D:PAI(A;OICI;FA;;;BU)");
    const std::wstring 보호 = 뿌리 / L"보호된 파일.ini";
    시험::바이트쓰기(보호, "[system]\r\n");
    const std::wstring 출력 = 임시 / L"fe2437.txt";
    플래그 결과 = 거짓;
    {
        반복스레드 심기([&] {
            if (!시험::파일있음(출력)) CreateHardLinkW(출력.c_str(), 보호.c_str(), nullptr);
            Sleep(1);
        });
        결과 = 권한검사(관리자, 대상);
    }
    EXPECT_EQ(결과, 참);
    EXPECT_EQ(시험::바이트읽기(보호), "[system]\r\n");
}

}  // namespace
