// The permission check and grant where only the real system shows what
// happens: how the real cmd finds cacls, and output files that another
// program holds open. Real batch files, the real cmd and the stand-in cacls,
// in the user's temporary folder (the platform here says it is not
// elevated; Wine calls every process so). The rules themselves are tested
// against the fake, and each road through the programs end to end.
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

}  // namespace
