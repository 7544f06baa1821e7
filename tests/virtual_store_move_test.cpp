// Moving the VirtualStore copy back into the install folder, against the
// fake: what is asked, the order of backup and replacement, the rename only
// after a complete run, resuming without losing a version, and links left
// alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "folders/virtual_store_move.h"
#include "tests/fake_platform.h"

namespace {

using 가상폴더옮기기::옮길곳;

const std::wstring 가상 = L"C:\\Users\\kim\\AppData\\Local\\VirtualStore\\Program Files (x86)\\Quindle";
const std::wstring 설치 = L"C:\\Program Files (x86)\\Quindle";
const std::wstring 로컬 = L"C:\\Users\\kim\\AppData\\Local";
const std::wstring 백업 = 로컬 + L"\\Quindle 백업 2026-12-08 090507";
const std::wstring 옮긴이름 = 가상 + L" 옮김 2026-12-08 090507";

class 옮김시험 : public ::testing::Test {
protected:
    // The copy holds a newer a.dat and a new sub\c.dat; the install folder
    // the older a.dat and b.dat, which the copy holds unchanged.
    void SetUp() override {
        시스템.폴더들 = {로컬, 가상.substr(0, 가상.rfind(L'\\')), 가상, 가상 + L"\\dat", 가상 + L"\\dat\\sub", 설치, 설치 + L"\\dat"};
        시스템.파일들 = {
            {가상 + L"\\dat\\a.dat", L"새 a"},     {가상 + L"\\dat\\b.dat", L"b"},
            {가상 + L"\\dat\\sub\\c.dat", L"새 c"}, {설치 + L"\\dat\\a.dat", L"옛 a"},
            {설치 + L"\\dat\\b.dat", L"b"},
        };
    }

    void 제안() { 가상폴더옮기기::제안하기(시스템, 곳); }

    // Position of the first record that starts with `머리`, or -1.
    long 순서(const std::wstring& 머리) const {
        const auto 찾음 = std::find_if(시스템.기록.begin(), 시스템.기록.end(),
                                       [&](const std::wstring& 줄) { return 줄.rfind(머리, 0) == 0; });
        return 찾음 == 시스템.기록.end() ? -1 : 찾음 - 시스템.기록.begin();
    }

    long 마지막(const std::wstring& 머리) const {
        for (size_t 번 = 시스템.기록.size(); 번 > 0; --번)
            if (시스템.기록[번 - 1].rfind(머리, 0) == 0) return static_cast<long>(번 - 1);
        return -1;
    }

    가짜플랫폼 시스템;
    옮길곳 곳{가상, 설치, 로컬, L"Quindle", L"Pelorant"};
};

TEST_F(옮김시험, 가상_폴더에_파일이_없으면_묻지도_바꾸지도_않는다) {
    시스템.파일들.clear();
    시스템.연결지점들.insert(가상 + L"\\dat\\밖");  // a link is no file to move
    제안();
    EXPECT_TRUE(시스템.물음들.empty());
    EXPECT_TRUE(시스템.메시지들.empty());
    EXPECT_EQ(시스템.폴더들.count(가상), 1u);
}

TEST_F(옮김시험, 아니오면_파일_수를_물은_것_말고는_아무것도_하지_않는다) {
    const auto 파일들 = 시스템.파일들;
    const auto 폴더들 = 시스템.폴더들;
    시스템.예답 = false;
    제안();
    ASSERT_EQ(시스템.물음들.size(), 1u);
    EXPECT_EQ(시스템.물음들[0].rfind(L"옮기기 전에 Pelorant 프로그램을 모두 닫으세요.\r\n\r\nPelorant의 가상 "
                                    L"폴더에 파일이 3개 있습니다.", 0), 0u) << testing::PrintToString(시스템.물음들[0]);
    EXPECT_EQ(시스템.파일들, 파일들);
    EXPECT_EQ(시스템.폴더들, 폴더들);
    EXPECT_TRUE(시스템.메시지들.empty());
}

TEST_F(옮김시험, 예면_바꿀_파일을_먼저_백업하고_다_옮긴_뒤에_가상_폴더_이름을_바꾼다) {
    제안();
    EXPECT_EQ(시스템.파일들[설치 + L"\\dat\\a.dat"], L"새 a");
    EXPECT_EQ(시스템.파일들[설치 + L"\\dat\\sub\\c.dat"], L"새 c");
    EXPECT_EQ(시스템.파일들[백업 + L"\\dat\\a.dat"], L"옛 a");
    EXPECT_FALSE(시스템.있음(백업 + L"\\dat\\b.dat")) << "b.dat was not replaced";
    EXPECT_EQ(시스템.파일들[옮긴이름 + L"\\dat\\a.dat"], L"새 a") << "renamed, not deleted";
    EXPECT_EQ(시스템.폴더들.count(가상), 0u);

    const long 백업함 = 순서(L"복사 " + 설치 + L"\\dat\\a.dat -> " + 백업);
    const long 바꿈 = 순서(L"덮어쓰기 " + 가상 + L"\\dat\\a.dat");
    ASSERT_GE(백업함, 0);
    EXPECT_LT(백업함, 바꿈);
    const long 이름바꿈 = 순서(L"이름바꾸기 " + 가상 + L" -> " + 옮긴이름);
    EXPECT_GT(이름바꿈, 마지막(L"복사 "));
    EXPECT_GT(이름바꿈, 마지막(L"덮어쓰기 "));
    EXPECT_EQ(시스템.메시지들, std::vector<std::wstring>{
                                  L"파일 3개를 설치 폴더로 옮겼습니다.\r\n\r\n"
                                  L"바뀐 파일의 원래 내용은 이 사용자의 폴더에 백업해 두었습니다(다른 사용자는 열 수 없습니다).\r\n" +
                                  백업 + L"\r\n\r\n가상 폴더는 지우지 않고 이름만 바꾸어 두었습니다.\r\n" +
                                  옮긴이름});
    EXPECT_EQ(시스템.상자종류들, std::vector<상자종류>{상자종류::알림});
    EXPECT_EQ(시스템.진행들.front(), L"자료 옮기는 중 1/3");
    EXPECT_EQ(시스템.진행들.back(), L"") << "the progress is cleared at the end";
}

TEST_F(옮김시험, 복사하지_못한_파일이_있으면_이름을_바꾸지_않고_그_파일과_이유를_알린다) {
    시스템.실패할경로.insert(가상 + L"\\dat\\sub\\c.dat");
    제안();
    EXPECT_EQ(순서(L"이름바꾸기 "), -1);
    EXPECT_EQ(시스템.폴더들.count(가상), 1u);
    ASSERT_EQ(시스템.메시지들.size(), 1u);
    const std::wstring& 글 = 시스템.메시지들[0];
    EXPECT_NE(글.find(가상 + L"\\dat\\sub\\c.dat\r\n액세스가 거부되었습니다."), std::wstring::npos) << testing::PrintToString(글);
    EXPECT_NE(글.find(L"다시 하면, 멈춘 곳부터 안전하게 이어서 옮깁니다."), std::wstring::npos);
    EXPECT_EQ(시스템.상자종류들, std::vector<상자종류>{상자종류::오류});
}

TEST_F(옮김시험, 폴더가_없거나_링크이거나_백업을_만들_수_없으면_그_폴더와_까닭을_알린다) {
    const std::pair<std::function<void(가짜플랫폼&)>, std::wstring> 사례들[] = {
        {[](가짜플랫폼& 플랫폼) { 플랫폼.폴더들.erase(로컬); }, 로컬 + L"\r\n폴더가 없습니다."},
        {[](가짜플랫폼& 플랫폼) { 플랫폼.연결지점들.insert(설치); },
         설치 + L"\r\n연결 지점이거나 다른 곳을 가리키는 폴더여서 그 안에는 아무것도 쓰지 않았습니다."},
        {[](가짜플랫폼& 플랫폼) { 플랫폼.사용자거부.insert({로컬, 사용자권한::폴더추가}); },
         로컬 + L"\r\n이 사용자의 권한으로는 여기에 백업 폴더를 만들 수 없습니다."},
    };
    const 가짜플랫폼 처음 = 시스템;
    for (const auto& [바꾸기, 멈춘곳] : 사례들) {
        시스템 = 처음;
        바꾸기(시스템);
        제안();
        EXPECT_NE(시스템.메시지들.at(0).find(L"못했습니다.\r\n\r\n" + 멈춘곳 + L"\r\n\r\n"), std::wstring::npos)
            << testing::PrintToString(시스템.메시지들[0]);
    }
}

TEST_F(옮김시험, 멈춘_뒤에_다시_하면_마저_옮기고_어느_판도_잃지_않는다) {
    시스템.파일들[설치 + L"\\dat\\sub\\c.dat"] = L"옛 c";
    시스템.폴더들.insert(설치 + L"\\dat\\sub");
    시스템.실패할경로.insert(가상 + L"\\dat\\sub\\c.dat");
    제안();
    ASSERT_EQ(시스템.폴더들.count(가상), 1u);

    시스템.실패할경로.clear();  // within the same second: the backup gets a name of its own
    const std::wstring 둘째백업 = 백업 + L" (2)";
    제안();
    EXPECT_EQ(시스템.파일들[설치 + L"\\dat\\sub\\c.dat"], L"새 c");
    EXPECT_EQ(시스템.파일들[백업 + L"\\dat\\a.dat"], L"옛 a") << "the first backup is kept";
    EXPECT_EQ(시스템.파일들[둘째백업 + L"\\dat\\sub\\c.dat"], L"옛 c");
    EXPECT_FALSE(시스템.있음(둘째백업 + L"\\dat\\a.dat")) << "a.dat already held the copy's version";
    EXPECT_EQ(시스템.폴더들.count(옮긴이름), 1u);
    EXPECT_NE(시스템.메시지들.back().find(L"파일 3개를"), std::wstring::npos);
}

// Another user saves a.dat (its time changes) and makes sub\c.dat after the move listed them.
TEST_F(옮김시험, 목록을_본_뒤에_설치_폴더에서_바뀐_파일은_덮지_않고_알리며_이름도_바꾸지_않는다) {
    시스템.바꾸기전동작 = [](가짜플랫폼& 플랫폼, const std::wstring& 경로) {
        if (경로 == 설치 + L"\\dat\\a.dat") 플랫폼.쓴때들[경로] = 9;
        if (경로 == 설치 + L"\\dat\\sub\\c.dat") 플랫폼.파일들[경로] = L"방금 만든 c";
    };
    제안();
    EXPECT_EQ(시스템.파일들[설치 + L"\\dat\\a.dat"], L"옛 a");
    EXPECT_EQ(시스템.파일들[설치 + L"\\dat\\sub\\c.dat"], L"방금 만든 c");
    EXPECT_EQ(순서(L"이름바꾸기 "), -1) << "the next run must look again";
    EXPECT_NE(시스템.메시지들.at(0).find(L"그대로 두었습니다.\r\n" + 설치 + L"\\dat\\a.dat\r\n" + 설치 +
                                        L"\\dat\\sub\\c.dat\r\n"), std::wstring::npos);
}

// After the fix another user saves a.dat in the install folder (at 50) while
// Windows still serves this user's copy, which they write later (60): both
// changed since they parted. sub\c.dat was written there at 15, before they
// parted, whichever bound tells it: the copy file's creation (when Windows
// copied it), or, where that is the original's own (1), the creation of a
// folder of the copy or the first grant.
TEST_F(옮김시험, 갈라진_뒤_둘_다_바뀐_파일은_그대로_두고_밝히며_가상_폴더의_판은_남긴다) {
    시스템.폴더들.insert(설치 + L"\\dat\\sub");
    시스템.파일들[설치 + L"\\dat\\sub\\c.dat"] = L"옛 c";
    시스템.쓴때들 = {{설치 + L"\\dat\\a.dat", 50}, {가상 + L"\\dat\\a.dat", 60},
                    {설치 + L"\\dat\\sub\\c.dat", 15}, {가상 + L"\\dat\\sub\\c.dat", 30}};
    const 가짜플랫폼 처음 = 시스템;
    struct 사례 { long long 파일, 뿌리, 하위, 부여; };
    for (const 사례& 하나 : {사례{16, 0, 0, 0}, 사례{1, 0, 0, 20}, 사례{1, 20, 0, 0}, 사례{1, 0, 20, 0}}) {
        SCOPED_TRACE(testing::Message() << 하나.파일 << " " << 하나.뿌리 << " " << 하나.하위 << " " << 하나.부여);
        시스템 = 처음;
        for (const wchar_t* 파일 : {L"\\dat\\a.dat", L"\\dat\\sub\\c.dat"}) 시스템.만든때들[가상 + 파일] = 하나.파일;
        시스템.만든때들[가상] = 하나.뿌리;
        시스템.만든때들[가상 + L"\\dat\\sub"] = 하나.하위;
        곳.첫부여때 = 하나.부여;
        제안();
        EXPECT_EQ(시스템.파일들[설치 + L"\\dat\\a.dat"], L"옛 a");
        EXPECT_EQ(시스템.파일들[설치 + L"\\dat\\sub\\c.dat"], L"새 c");
        EXPECT_EQ(시스템.파일들[옮긴이름 + L"\\dat\\a.dat"], L"새 a");
        EXPECT_NE(시스템.메시지들.at(0).find(L"둘 다 바뀌어(다른 사용자가 저장했을 수 있습니다) 설치 폴더의 것을 "
                                            L"그대로 두었습니다.\r\n" + 설치 + L"\\dat\\a.dat\r\n이 사용자의 판은 이름을 "
                                            L"바꾼 가상 폴더에"), std::wstring::npos) << testing::PrintToString(시스템.메시지들[0]);
    }
}

TEST_F(옮김시험, 가상_폴더의_링크는_따라가지_않고_알리며_이름도_바꾸지_않는다) {
    시스템.연결지점들.insert(가상 + L"\\dat\\junction");       // a junction or symbolic link
    시스템.폴더들.insert(가상 + L"\\dat\\junction");
    시스템.파일들[가상 + L"\\dat\\junction\\secret.dat"] = L"비밀";
    시스템.하드링크들.insert(가상 + L"\\dat\\b.dat");           // found only when opened
    시스템.최종경로들[가상 + L"\\dat\\sub"] = L"C:\\Windows\\sub";  // swapped after it was listed
    제안();
    EXPECT_EQ(순서(L"목록 " + 가상 + L"\\dat\\junction"), -1) << "the link was entered";
    EXPECT_EQ(순서(L"목록 " + 가상 + L"\\dat\\sub"), -1) << "the swapped folder was entered";
    EXPECT_FALSE(시스템.있음(설치 + L"\\dat\\junction\\secret.dat"));
    EXPECT_EQ(시스템.파일들[설치 + L"\\dat\\a.dat"], L"새 a") << "plain files still move";
    EXPECT_EQ(순서(L"이름바꾸기 "), -1);
    ASSERT_EQ(시스템.메시지들.size(), 1u);
    EXPECT_EQ(시스템.상자종류들, std::vector<상자종류>{상자종류::경고});
    for (const wchar_t* 링크 : {L"\\dat\\junction\r\n", L"\\dat\\b.dat\r\n", L"\\dat\\sub\r\n"})
        EXPECT_NE(시스템.메시지들[0].find(가상 + 링크), std::wstring::npos) << testing::PrintToString(std::wstring(링크));
}

TEST_F(옮김시험, 설치_폴더의_링크에는_쓰지_않는다) {
    시스템.하드링크들.insert(설치 + L"\\dat\\a.dat");        // a second name of another file
    시스템.연결지점들.insert(설치 + L"\\dat\\sub");           // a junction where sub goes
    제안();
    EXPECT_EQ(시스템.파일들[설치 + L"\\dat\\a.dat"], L"옛 a");
    EXPECT_EQ(순서(L"덮어쓰기 "), -1);
    EXPECT_EQ(순서(L"폴더만들기 " + 설치 + L"\\dat\\sub"), -1);
    EXPECT_FALSE(시스템.있음(설치 + L"\\dat\\sub\\c.dat"));
    EXPECT_EQ(순서(L"이름바꾸기 "), -1);
}

// Empty when held, then made junctions (FILE_WRITE_ATTRIBUTES is enough, and
// no sharing mode guards it): the copy's own empty folder to another user's
// files, folders the move made to a protected one.
TEST_F(옮김시험, 고정한_뒤_연결지점이_된_폴더는_따라가지_않는다) {
    const std::wstring 남 = L"C:\\Users\\lee\\secret", 보호 = L"C:\\Windows\\System32";
    시스템.폴더들.insert({가상 + L"\\dat\\빈", 남, 보호});
    시스템.파일들[남 + L"\\lee.dat"] = L"남의 것";
    시스템.고정뒤동작 = [&](가짜플랫폼& 플랫폼, const std::wstring& 경로) {
        if (경로 == 가상 + L"\\dat\\빈") 플랫폼.연결지점들.insert(경로, 남);
        // The install folder too: a path looked up again below it would
        // lead into 보호.
        if (경로 == 설치 || 경로 == 설치 + L"\\dat\\sub" || 경로 == 백업)
            플랫폼.연결지점들.insert(경로, 보호);
    };
    제안();
    EXPECT_FALSE(시스템.있음(설치 + L"\\dat\\빈\\lee.dat"));
    for (const auto& [경로, 내용] : 시스템.파일들) EXPECT_NE(경로.rfind(보호 + L"\\", 0), 0u) << testing::PrintToString(경로);
    for (const auto& 경로 : 시스템.폴더들) EXPECT_NE(경로.rfind(보호 + L"\\", 0), 0u) << testing::PrintToString(경로);
    EXPECT_EQ(시스템.파일들[설치 + L"\\dat\\sub\\c.dat"], L"새 c") << "written into the folder held";
    EXPECT_EQ(시스템.파일들[백업 + L"\\dat\\a.dat"], L"옛 a");
}

// Elevated, the move does only what the user's own token may: installers
// protect folders like bin\\ from Users, and an administrator-only file must
// not reach the user's backup.
TEST_F(옮김시험, 관리자로도_사용자가_할_수_없는_것은_하지_않고_알리며_이름도_바꾸지_않는다) {
    시스템.관리자 = true;
    시스템.폴더들.insert({가상 + L"\\bin", 설치 + L"\\bin"});
    시스템.파일들[가상 + L"\\bin\\version.dll"] = L"심은 것";
    시스템.파일들[가상 + L"\\setup.ini"] = L"새 ini";
    시스템.파일들[설치 + L"\\setup.ini"] = L"관리자만";
    시스템.사용자거부 = {{설치 + L"\\bin", 사용자권한::파일추가}, {설치 + L"\\dat", 사용자권한::폴더추가},
                        {설치 + L"\\dat\\a.dat", 사용자권한::쓰기}, {설치 + L"\\setup.ini", 사용자권한::읽기}};
    const auto 파일들 = 시스템.파일들;
    const auto 폴더들 = 시스템.폴더들;
    제안();
    EXPECT_EQ(시스템.파일들, 파일들) << "written, backed up or renamed";
    EXPECT_EQ(시스템.폴더들, 폴더들);
    ASSERT_EQ(시스템.메시지들.size(), 1u);
    for (const wchar_t* 경로 : {L"\\bin\\version.dll\r\n", L"\\dat\\sub\r\n", L"\\dat\\a.dat\r\n", L"\\setup.ini\r\n"})
        EXPECT_NE(시스템.메시지들[0].find(설치 + 경로), std::wstring::npos) << testing::PrintToString(시스템.메시지들[0]);
}

TEST_F(옮김시험, 관리자로도_사용자가_읽을_수_없는_설치_파일은_같은지도_견주지_않는다) {
    시스템.관리자 = true;
    시스템.사용자거부 = {{설치 + L"\\dat\\b.dat", 사용자권한::읽기}};  // the copy's b.dat is identical
    제안();
    EXPECT_TRUE(시스템.있음(가상 + L"\\dat\\b.dat")) << "the copy was renamed";
    ASSERT_EQ(시스템.메시지들.size(), 1u);
    EXPECT_NE(시스템.메시지들[0].find(설치 + L"\\dat\\b.dat\r\n"), std::wstring::npos);
}

// No linked token (UAC off), or elevated as another administrator, whose
// linked token and profile are not the desktop user's.
TEST_F(옮김시험, 사용자의_토큰이_없는_관리자는_옮기지_않고_보통으로_시작하라고_한다) {
    for (const bool 다른계정 : {false, true}) {
        SCOPED_TRACE(다른계정 ? "다른 계정" : "연결 토큰 없음");
        시스템.관리자 = true;
        시스템.연결토큰있음 = 다른계정;
        시스템.바탕화면사용자 = !다른계정;
        시스템.메시지들.clear();
        시스템.기록.clear();
        const auto 파일들 = 시스템.파일들;
        제안();
        EXPECT_EQ(시스템.파일들, 파일들);
        EXPECT_EQ(순서(L"묻기 "), -1);
        EXPECT_NE(시스템.메시지들.at(0).find(L"보통으로 시작"), std::wstring::npos);
        EXPECT_EQ(시스템.상자종류들.back(), 상자종류::경고);
    }
}

}  // namespace
