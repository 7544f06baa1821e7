// The real program driven through its window under Wine: its controls and
// their layout, and what its buttons and product list do, with the mouse's
// messages and with the keyboard alone, answered by the stand-in cacls in
// folders of the test's own. Each test starts and ends its own instance of
// the program.
#include "tests/wine/window_fixture.h"

#include <algorithm>
#include <set>

namespace {

using namespace 시험;

// The layout is designed for 96 DPI; at other settings every length grows
// in proportion. The tests run in the same Wine prefix as the program, so
// the screen's DPI here is the program's.
int 화면DPI() {
    const win32::DcScope 화면(nullptr);
    return GetDeviceCaps(화면.get(), LOGPIXELSY);
}

int 비례(int 픽셀96) { return MulDiv(픽셀96, 화면DPI(), 96); }
// ---- what the buttons do -------------------------------------------------

TEST_F(창종단, 보안체크는_누를_때마다_지금의_권한을_조회한다) {
    시험::폴더만들기(대상);
    EXPECT_EQ(답받기(IDC_CHECK_BASE).본문, L"보안설정에 문제가 있습니다.");
    cacls.설명자정하기(대상, L"D:PAI(A;OICI;FA;;;BU)(A;OICI;FA;;;SY)");
    EXPECT_EQ(답받기(IDC_CHECK_BASE).본문, L"보안설정이 잘되어 있습니다.");
    EXPECT_EQ(실행기록(cacls), std::vector<std::wstring>(2, L"args=" + 대상 + L"|/s"));
    EXPECT_EQ(cacls.설명자(대상), L"D:PAI(A;OICI;FA;;;BU)(A;OICI;FA;;;SY)") << "a check changed it";
}

TEST_F(창종단, 보안설정은_부여한_뒤_따로_한_번_조회한다) {
    설치하기();
    cacls.설명자정하기(대상, 기본설명자);
    EXPECT_EQ(답받기(IDC_CHECK_BASE + 1).본문, L"보안설정이 잘되었습니다.");
    EXPECT_EQ(cacls.설명자(대상), 사용자항목);
    EXPECT_EQ(실행기록(cacls),
              줄들({L"args=" + 대상 + L"|/s:" + 사용자항목, L"stdin=y", L"args=" + 대상 + L"|/s"}));
}

TEST_F(창종단, 명령이_도는_동안의_누름은_무시된다) {
    시험::폴더만들기(대상);
    프로그램->누르기(IDC_CHECK_BASE);
    프로그램->누르기(IDC_CHECK_BASE + 1);  // reaches the window while the check runs
    EXPECT_EQ(다음상자().본문, L"보안설정에 문제가 있습니다.");
    // Had the second press been kept for later, its grant would now run.
    const auto 또 = 프로그램->메시지상자기다리기(5000);
    EXPECT_FALSE(또) << utf8(또 ? 또->본문 : L"");
    EXPECT_EQ(실행기록(cacls), 줄들({L"args=" + 대상 + L"|/s"}));
}

// Each box carries the icon of its kind: a problem found warns, success
// informs, a failure (here the grant's refusal of an empty folder) is an
// error, and a path put on the clipboard informs.
TEST_F(창종단, 상자는_결과의_종류에_맞는_아이콘을_단다) {
    시험::폴더만들기(대상);
    const auto 아이콘 = [&](int 아이디) {
        프로그램->누르기(아이디);
        const auto 상자 = 프로그램->메시지상자기다리기();
        const UINT 종류 = 상자 ? 시험::상자아이콘(*상자) : 0;
        if (상자) 프로그램->메시지상자닫기(*상자);
        return 종류;
    };
    EXPECT_EQ(아이콘(IDC_CHECK_BASE), UINT{MB_ICONWARNING});
    EXPECT_EQ(아이콘(IDC_CHECK_BASE + 1), UINT{MB_ICONERROR});
    cacls.설명자정하기(대상, 사용자항목);
    EXPECT_EQ(아이콘(IDC_CHECK_BASE), UINT{MB_ICONINFORMATION});
    EXPECT_EQ(아이콘(IDC_FOLDER_BASE), UINT{MB_ICONINFORMATION}) << "the box of a path to paste";
}

TEST_F(창종단, 폴더가_없으면_그_경로를_알린다) {
    EXPECT_EQ(답받기(IDC_FOLDER_BASE).본문, 대상 + L" - 폴더가 없습니다.");
    EXPECT_EQ(답받기(IDC_FOLDER_BASE + 1).본문, 가상저장소 + L"\\Quindle - 폴더가 없습니다.");
}

// Wine runs the program elevated: the folder opens through the desktop's
// own shell, as the user, not in an explorer.exe the program starts. The
// program itself finds no unelevated shell under Wine and shows the box.
TEST_F(창종단, 폴더가_있으면_알림_없이_바탕화면_셸이_연다) {
    시험::폴더만들기(대상);
    시험::폴더만들기(뿌리 / L"VirtualStore");
    시험::폴더만들기(가상저장소);
    시험::폴더만들기(가상저장소 + L"\\Quindle");
    EXPECT_EQ(답받기(IDC_FOLDER_BASE).본문.rfind(L"관리자 권한으로 실행 중이어서", 0), 0u);
    EXPECT_EQ(시험::클립보드글(), 대상) << "the path to paste is not on the clipboard";
    // Started while the program runs: Wine's desktop ends with its last window.
    시험::창프로그램 검사없이(시험::프로그램폴더() + L"\\boansetting_desktop_unchecked.exe");
    ASSERT_TRUE(검사없이.시작됨()) << utf8(검사없이.시작오류());
    for (const int 아이디 : {IDC_FOLDER_BASE, IDC_FOLDER_BASE + 1}) {
        SCOPED_TRACE(아이디);
        const 탐색기정리 정리(검사없이.프로세스번호());
        검사없이.누르기(아이디);
        const auto 상자 = 검사없이.메시지상자기다리기(2000);
        EXPECT_FALSE(상자) << utf8(상자 ? 상자->본문 : L"");
        HWND 탐색창 = nullptr;
        시험::될때까지(10000, [&] {
            for (DWORD 번호 : 시험::실행중인(L"explorer.exe"))
                if (HWND 창 = 시험::보이는창(번호, L"ExplorerWClass"); 창 && 시험::창글(창) == L"Quindle")
                    탐색창 = 창;
            return 탐색창 != nullptr;
        });
        ASSERT_TRUE(탐색창) << "no explorer window shows the folder";
        EXPECT_TRUE(시험::실행중인(L"explorer.exe", 검사없이.프로세스번호()).empty())
            << "the program started an explorer of its own";
        PostMessageW(탐색창, WM_CLOSE, 0, 0);  // the desktop's, which outlives the test
        EXPECT_TRUE(시험::될때까지(5000, [&] { return !IsWindow(탐색창); }));
    }
}

// When ProgramFiles(x86) is empty, as on 32-bit Windows, the base is
// ProgramFiles and the virtual store's is "Program Files". Wine sets
// ProgramFiles itself in every new process, so the test reads what it is.
class 창종단_32비트 : public 창종단 {
protected:
    환경변수바꾸기 x86지우기{L"ProgramFiles(x86)", nullptr};
    시스템값바꾸기 x86값지우기{L"ProgramFilesDir (x86)", nullptr};
};

TEST_F(창종단_32비트, 폴더는_ProgramFiles와_가상_Program_Files_아래에서_찾는다) {
    wchar_t 값[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"ProgramFiles", 값, MAX_PATH), 0u);
    const std::wstring 설치폴더 = std::wstring(값) + L"\\Quindle";
    if (시험::파일있음(설치폴더)) GTEST_SKIP() << "this Wine prefix has the product installed";
    EXPECT_EQ(답받기(IDC_FOLDER_BASE).본문, 설치폴더 + L" - 폴더가 없습니다.");
    EXPECT_EQ(답받기(IDC_FOLDER_BASE + 1).본문,
              뿌리 / L"VirtualStore\\Program Files\\Quindle - 폴더가 없습니다.");
}

// ---- the product list ------------------------------------------------------

TEST_F(창종단, 목록에서_고르면_폴더버튼_이름이_바뀌고_명령은_그_제품을_따른다) {
    ASSERT_TRUE(프로그램->항목고르기(L"Orbisk"));
    EXPECT_EQ(글이되면(IDC_FOLDER_BASE + 1, L"3. 가상 Orbisk 폴더 열기"), L"3. 가상 Orbisk 폴더 열기");
    EXPECT_EQ(글이되면(IDC_FOLDER_BASE, L"4. Orbisk 폴더 열기"), L"4. Orbisk 폴더 열기");
    EXPECT_EQ(답받기(IDC_FOLDER_BASE).본문, 프로그램파일 + L"\\Glenmarch - 폴더가 없습니다.");
}

TEST_F(창종단, 입력한_글은_이름을_바꾸지_않지만_다음_명령은_그_제품을_따른다) {
    const std::wstring 테살리 = 프로그램파일 + L"\\Tessaly";
    시험::폴더만들기(테살리);
    cacls.설명자정하기(테살리, 사용자항목);
    ASSERT_TRUE(프로그램->입력하기(L"Tessaly"));
    EXPECT_EQ(답받기(IDC_CHECK_BASE).본문, L"보안설정이 잘되어 있습니다.");
    EXPECT_EQ(실행기록(cacls), 줄들({L"args=" + 테살리 + L"|/s"}));
    EXPECT_EQ(프로그램->컨트롤글(IDC_FOLDER_BASE), L"4. Pelorant 폴더 열기");
    EXPECT_EQ(프로그램->컨트롤글(IDC_FOLDER_BASE + 1), L"3. 가상 Pelorant 폴더 열기");
}

// ---- the keyboard ----------------------------------------------------------

// Whether the focus is, or comes within the limit, on the control or, for
// the product list, on the edit field inside it.
bool 초점이_온다(const 창프로그램& 프로그램, int 아이디) {
    const HWND 컨트롤 = 프로그램.컨트롤(아이디);
    return 시험::될때까지(3000, [&] {
        const HWND 초점 = 프로그램.초점();
        return 초점 && (초점 == 컨트롤 || IsChild(컨트롤, 초점));
    });
}

// The program's next message box, once it is in front and so gets the keys.
std::optional<메시지상자> 앞에_온_상자(const 창프로그램& 프로그램) {
    auto 상자 = 프로그램.메시지상자기다리기();
    if (상자 && !프로그램.앞에오기(상자->창)) ADD_FAILURE() << "the message box is not in front";
    return 상자;
}

bool 닫힌다(const 메시지상자& 상자) {
    return 시험::될때까지(5000, [&] { return !IsWindow(상자.창) || !IsWindowVisible(상자.창); });
}

TEST_F(창종단, 키보드만으로_제품을_고르고_버튼을_누르고_답을_닫는다) {
    const std::wstring 글렌마치 = 프로그램파일 + L"\\Glenmarch";
    시험::폴더만들기(글렌마치);
    cacls.설명자정하기(글렌마치, 기본설명자);
    ASSERT_TRUE(초점이_온다(*프로그램, IDC_PRODUCT_LIST)) << "the list has no focus on opening";

    // The field starts with Pelorant's name but no entry selected: the first
    // Down selects Pelorant, three more reach Orbisk.
    for (int 번 = 0; 번 < 4; ++번) ASSERT_TRUE(프로그램->키누르기(VK_DOWN));
    EXPECT_EQ(글이되면(IDC_FOLDER_BASE, L"4. Orbisk 폴더 열기"), L"4. Orbisk 폴더 열기");
    // In the window's tab order the list is followed by the help button,
    // then the folder-4 button, then the check.
    for (int 번 = 0; 번 < 3; ++번) ASSERT_TRUE(프로그램->키누르기(VK_TAB));
    ASSERT_TRUE(초점이_온다(*프로그램, IDC_CHECK_BASE));

    ASSERT_TRUE(프로그램->키누르기(VK_SPACE));
    auto 상자 = 앞에_온_상자(*프로그램);
    ASSERT_TRUE(상자) << "Space did not press the button";
    EXPECT_EQ(상자->본문, L"보안설정에 문제가 있습니다.");
    ASSERT_TRUE(프로그램->키누르기(VK_RETURN));
    ASSERT_TRUE(닫힌다(*상자)) << "Enter did not close the box";
    EXPECT_TRUE(초점이_온다(*프로그램, IDC_CHECK_BASE)) << "the focus did not come back";

    // On a button, Down moves on to the next control, and Enter presses the
    // button it lands on.
    ASSERT_TRUE(프로그램->키누르기(VK_DOWN));
    ASSERT_TRUE(초점이_온다(*프로그램, IDC_FOLDER_BASE + 1));
    const auto 단추모양 = [&](int 아이디) {
        return GetWindowLongPtrW(프로그램->컨트롤(아이디), GWL_STYLE) & BS_TYPEMASK;
    };
    EXPECT_EQ(단추모양(IDC_FOLDER_BASE + 1), BS_DEFPUSHBUTTON) << "it must look like Enter's button";
    EXPECT_EQ(단추모양(IDC_CHECK_BASE), BS_PUSHBUTTON);
    ASSERT_TRUE(프로그램->키누르기(VK_RETURN));
    상자 = 앞에_온_상자(*프로그램);
    ASSERT_TRUE(상자) << "Enter did not press the button";
    EXPECT_EQ(상자->본문, 가상저장소 + L"\\Glenmarch - 폴더가 없습니다.");
    ASSERT_TRUE(프로그램->키누르기(VK_RETURN));
    ASSERT_TRUE(닫힌다(*상자)) << "Enter did not close the box";

    ASSERT_TRUE(프로그램->키누르기(VK_TAB, true));
    EXPECT_TRUE(초점이_온다(*프로그램, IDC_CHECK_BASE)) << "Shift+Tab did not go back";
    EXPECT_EQ(실행기록(cacls), 줄들({L"args=" + 글렌마치 + L"|/s"}));
}

// ---- how the window looks ----------------------------------------------------

TEST_F(창종단, 창은_제목과_클라이언트_크기를_갖고_화면_가운데에_있다) {
    EXPECT_EQ(시험::창글(프로그램->창()), L"보안설정");
    RECT 안{}, 바깥{};
    GetClientRect(프로그램->창(), &안);
    GetWindowRect(프로그램->창(), &바깥);
    EXPECT_NEAR(안.right, 비례(780), 1);
    EXPECT_NEAR(안.bottom, 비례(620), 1);
    EXPECT_NEAR(바깥.left, (GetSystemMetrics(SM_CXSCREEN) - (바깥.right - 바깥.left)) / 2, 1);
    EXPECT_NEAR(바깥.top, (GetSystemMetrics(SM_CYSCREEN) - (바깥.bottom - 바깥.top)) / 2, 1);
}

TEST_F(창종단, 컨트롤은_제자리에_제_글을_갖고_탭_순서대로_놓인다) {
    struct 모양 {
        int 아이디;
        const wchar_t* 클래스;
        int 왼쪽, 위, 너비, 높이;  // 높이 0: a combo box, whose closed height depends on its font
        const wchar_t* 글;        // nullptr: not compared
    };
    const 모양 표[] = {
        {IDC_PICTURE, L"Static", 184, 8, 588, 579, nullptr},
        {IDC_FOLDER_BASE, L"Button", 8, 184, 169, 33, L"4. Pelorant 폴더 열기"},
        {IDC_CHECK_BASE, L"Button", 8, 64, 169, 33, L"1. 보안체크"},
        {IDC_FOLDER_BASE + 1, L"Button", 8, 144, 169, 33, L"3. 가상 Pelorant 폴더 열기"},
        {IDC_CHECK_BASE + 1, L"Button", 8, 104, 169, 33, L"2. 보안설정"},
        {IDC_PRODUCT_LIST, L"ComboBox", 16, 32, 161, 0, L"Pelorant"},
        {IDC_MANUAL_HELP, L"Button", 8, 312, 169, 33, L"수동으로 권한 설정하려면"},
    };
    for (const 모양& 기대 : 표) {
        SCOPED_TRACE(기대.아이디);
        const HWND 컨트롤 = 프로그램->컨트롤(기대.아이디);
        ASSERT_TRUE(컨트롤);
        wchar_t 클래스[64] = {};
        GetClassNameW(컨트롤, 클래스, 64);
        EXPECT_EQ(소문자(클래스), 소문자(기대.클래스));
        const RECT 자리 = 시험::부모기준사각형(컨트롤);
        EXPECT_NEAR(자리.left, 비례(기대.왼쪽), 1);
        EXPECT_NEAR(자리.top, 비례(기대.위), 1);
        EXPECT_NEAR(자리.right - 자리.left, 비례(기대.너비), 1);
        if (기대.높이) {
            EXPECT_NEAR(자리.bottom - 자리.top, 비례(기대.높이), 1);
        } else {
            EXPECT_GE(자리.bottom - 자리.top, 비례(16));
            EXPECT_LE(자리.bottom - 자리.top, 비례(30));
        }
        if (기대.글) {
            EXPECT_EQ(시험::창글(컨트롤), 기대.글);
        }
    }
    const HWND 그림 = 프로그램->컨트롤(IDC_PICTURE);
    EXPECT_EQ(GetWindowLongPtrW(그림, GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
    EXPECT_NE(SendMessageW(그림, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "no picture shown";
    const HWND 목록 = 프로그램->컨트롤(IDC_PRODUCT_LIST);
    EXPECT_EQ(GetWindowLongPtrW(목록, GWL_STYLE) & 3, CBS_DROPDOWN) << "the list must be editable";

    std::vector<int> 순서;
    for (HWND 자식 = GetWindow(프로그램->창(), GW_CHILD); 자식; 자식 = GetWindow(자식, GW_HWNDNEXT))
        순서.push_back(GetDlgCtrlID(자식));
    EXPECT_EQ(순서, (std::vector<int>{100, 101, 120, 110, 121, 111, 102, 103}));
}

TEST_F(창종단, 목록은_여섯_제품을_차례대로_갖는다) {
    EXPECT_EQ(프로그램->목록항목(), (std::vector<std::wstring>{L"Pelorant", L"Marrowin", L"Tessaly",
                                                               L"Orbisk", L"Fennick", L"Havrest"}));
}

TEST_F(창종단, 상태표시줄은_아래에_세_칸이고_셋째_칸에_지금_시각을_보인다) {
    const HWND 상태 = 프로그램->컨트롤(IDC_STATUSBAR);
    ASSERT_TRUE(상태);
    wchar_t 클래스[64] = {};
    GetClassNameW(상태, 클래스, 64);
    EXPECT_EQ(소문자(클래스), L"msctls_statusbar32");
    RECT 안{};
    GetClientRect(프로그램->창(), &안);
    const RECT 자리 = 시험::부모기준사각형(상태);
    EXPECT_EQ(자리.left, 0);
    EXPECT_EQ(자리.right, 안.right);
    EXPECT_EQ(자리.bottom, 안.bottom);

    const std::vector<int> 칸 = 프로그램->상태표시줄칸();
    ASSERT_EQ(칸.size(), 3u);
    EXPECT_NEAR(칸[0], 비례(96), 1);
    EXPECT_NEAR(칸[1], 비례(680), 1);
    EXPECT_NEAR(칸[2], 비례(776), 1);

    const std::wstring 시계 = 프로그램->상태표시줄글(2);
    const int 보인분 = 시계분(시계);
    ASSERT_GE(보인분, 0) << "not a Korean clock: " << utf8(시계);
    SYSTEMTIME 지금{};
    GetLocalTime(&지금);
    const int 차이 = (지금.wHour * 60 + 지금.wMinute - 보인분 + 1440) % 1440;
    EXPECT_LE(차이, 1) << utf8(시계) << " is not the time now";
}

TEST_F(창종단, 화면을_BMP로_저장한다) {
    const std::wstring 경로 = 시험::프로그램폴더() + L"\\window.bmp";
    DeleteFileW(경로.c_str());
    Sleep(300);  // let the picture and the clock finish painting
    ASSERT_TRUE(프로그램->화면저장(경로));
    const std::string 파일 = 시험::바이트읽기(경로);
    ASSERT_GT(파일.size(), sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER 머리{};
    std::copy_n(파일.data() + sizeof(BITMAPFILEHEADER), sizeof 머리, reinterpret_cast<char*>(&머리));
    RECT 바깥{};
    GetWindowRect(프로그램->창(), &바깥);
    EXPECT_EQ(파일.substr(0, 2), "BM");
    EXPECT_EQ(머리.biBitCount, 24);
    EXPECT_EQ(머리.biWidth, 바깥.right - 바깥.left);
    EXPECT_EQ(머리.biHeight, 바깥.bottom - 바깥.top);
    const size_t 줄크기 = (static_cast<size_t>(머리.biWidth) * 3 + 3) & ~size_t{3};
    ASSERT_EQ(파일.size(), sizeof(BITMAPFILEHEADER) + sizeof 머리 + 줄크기 * 머리.biHeight);
    // The instruction picture alone brings many colours; a blank or
    // unreadable screen brings one or two.
    std::set<std::string> 색;
    for (size_t 줄 = 0; 줄 < static_cast<size_t>(머리.biHeight); ++줄)
        for (size_t 칸 = 0; 칸 < static_cast<size_t>(머리.biWidth); 칸 += 3)
            색.insert(파일.substr(sizeof(BITMAPFILEHEADER) + sizeof 머리 + 줄 * 줄크기 + 칸 * 3, 3));
    EXPECT_GE(색.size(), 16u);
}

}  // namespace
