// The real program under bad input and the machine's surprises: absurd
// list text, two ordinary instances at once in the user's temporary folder,
// and a program-files folder whose path cmd would read otherwise. Each ends
// without a crash, with a Korean message where the user must be told
// something, no grant on any folder but the product's own, and no files of
// the tool left behind. The rules behind them are tested against the fake.
#include "tests/wine/window_fixture.h"

namespace {

using namespace 시험;

class 강건성 : public 창종단 {
protected:
    // Starts the program again, so that it sees the environment as it is now;
    // `사용자로`: the test-only build that is not elevated, the only one that
    // uses TEMP (Wine calls every process elevated).
    void 다시시작(bool 사용자로 = false) {
        프로그램.reset();
        프로그램.emplace(사용자로 ? 프로그램폴더() + L"\\boansetting_as_user.exe" : 창프로그램::기본경로());
        ASSERT_TRUE(프로그램->시작됨()) << utf8(프로그램->시작오류());
    }

    // The tool's own temporary files left in a folder.
    static std::vector<std::wstring> 남은것(const std::wstring& 폴더) {
        std::vector<std::wstring> 남음;
        for (const std::wstring& 이름 : 폴더내용(폴더))
            if (이름.rfind(L"fe", 0) == 0) 남음.push_back(이름);
        return 남음;
    }
};

TEST_F(강건성, 터무니없는_목록_글은_제품을_고르라고_한다) {
    const std::wstring 긴글(32000, L'가');
    const std::wstring 못담는글 = L"ไทย Pelorant";
    for (const std::wstring& 글 : {긴글, 못담는글, std::wstring()}) {
        SCOPED_TRACE(글.size());
        ASSERT_TRUE(프로그램->붙여넣기(글));
        EXPECT_EQ(답받기(IDC_CHECK_BASE).본문, L"목록에서 프로그램을 선택하세요.");
        EXPECT_EQ(답받기(IDC_CHECK_BASE + 1).본문, L"목록에서 프로그램을 선택하세요.");
    }
    EXPECT_EQ(실행기록(cacls), 줄들({}));
    EXPECT_EQ(프로그램->컨트롤글(IDC_FOLDER_BASE), L"4. Pelorant 폴더 열기");
}

// Ordinary instances name their files alike in the user's TEMP; elevated
// ones (as Wine starts every program) would each work in a folder of their own.
TEST_F(강건성, 두_인스턴스가_동시에_검사해도_서로의_결과를_말하지_않는다) {
    다시시작(true);
    const std::wstring 테살리 = 프로그램파일 + L"\\Tessaly";
    시험::폴더만들기(대상);
    시험::폴더만들기(테살리);
    cacls.설명자정하기(대상, 사용자항목);
    cacls.설명자정하기(테살리, 기본설명자);
    cacls.늦추기(1500);  // long enough for the two commands to overlap
    창프로그램 둘째(프로그램폴더() + L"\\boansetting_as_user.exe");
    ASSERT_TRUE(둘째.시작됨()) << utf8(둘째.시작오류());
    ASSERT_TRUE(둘째.입력하기(L"Tessaly"));

    프로그램->누르기(IDC_CHECK_BASE);
    둘째.누르기(IDC_CHECK_BASE);
    const auto 첫상자 = 프로그램->메시지상자기다리기(20000);
    const auto 둘째상자 = 둘째.메시지상자기다리기(20000);
    ASSERT_TRUE(첫상자 && 둘째상자);
    EXPECT_EQ(첫상자->본문, L"보안설정이 잘되어 있습니다.");
    EXPECT_EQ(둘째상자->본문, L"보안설정에 문제가 있습니다.");
    프로그램->메시지상자닫기(*첫상자);
    둘째.메시지상자닫기(*둘째상자);
    EXPECT_TRUE(둘째.닫기());
    EXPECT_EQ(남은것(임시), std::vector<std::wstring>{});
}

// ---- run as administrator: what the user's environment cannot steer ------

TEST_F(강건성, 설치폴더_경로에_퍼센트가_있으면_그_경로를_밝혀_거부하고_아무것도_실행하지_않는다) {
    const std::wstring 기준 = 뿌리 / L"PF%Q%";
    시험::폴더만들기(기준);
    시험::폴더만들기(기준 + L"\\Quindle");
    시험::폴더만들기(뿌리 / L"PFevil");
    시험::폴더만들기(뿌리 / L"PFevil\\Quindle");  // what cmd would have made of it
    시스템값바꾸기 프로그램폴더(L"ProgramFilesDir (x86)", 기준.c_str());  // read at each command
    {
        환경변수바꾸기 변수(L"Q", L"evil");
        다시시작();
    }
    for (int 아이디 : {IDC_CHECK_BASE, IDC_CHECK_BASE + 1}) {
        const std::wstring 본문 = 답받기(아이디).본문;
        EXPECT_NE(본문.find(기준 + L"\\Quindle"), std::wstring::npos) << utf8(본문);
        EXPECT_EQ(본문.find(L"보안설정에 문제가"), std::wstring::npos) << utf8(본문);
        EXPECT_EQ(본문.find(L"관리자 권한이"), std::wstring::npos) << utf8(본문);
    }
    EXPECT_EQ(실행기록(cacls), 줄들({}));
}

}  // namespace
