// The product table and the two base folders.
#include <gtest/gtest.h>

#include "folders/install_folders.h"
#include "tests/fake_platform.h"

using namespace 설치폴더;

namespace {

// No row is shadowed by an earlier one with the same list name.
TEST(제품표, 목록의_각_항목은_자기_행의_폴더가_된다) {
    for (const 제품& 행 : 제품표) EXPECT_EQ(제품폴더이름(행.목록이름), 행.폴더이름);
}

TEST(제품표, 대소문자나_공백만_달라도_일치하지_않는다) {
    for (const wchar_t* 글 : {L"pelorant", L"PELORANT", L" Pelorant", L"Pelorant ", L"Quindle", L""})
        EXPECT_EQ(제품폴더이름(글), L"") << testing::PrintToString(std::wstring(글));
}

class 기준폴더 : public ::testing::Test {
protected:
    가짜플랫폼 시스템;
};

TEST_F(기준폴더, x86_폴더가_있으면_그것을_쓴다) {
    시스템.환경설정(L"ProgramFiles(x86)", L"C:\\Program Files (x86)");
    시스템.환경설정(L"ProgramFiles", L"C:\\Program Files");
    시스템.환경설정(L"TEMP", L"C:\\Users\\kim\\AppData\\Local\\Temp");
    EXPECT_EQ(프로그램폴더(시스템), L"C:\\Program Files (x86)");
    EXPECT_EQ(가상_프로그램폴더(시스템),
              L"C:\\Users\\kim\\AppData\\Local\\VirtualStore\\Program Files (x86)");
}

TEST_F(기준폴더, x86_폴더가_없거나_비면_ProgramFiles를_쓴다) {
    시스템.환경설정(L"ProgramFiles", L"C:\\Program Files");
    시스템.환경설정(L"TEMP", L"C:\\Temp");
    EXPECT_EQ(프로그램폴더(시스템), L"C:\\Program Files");
    EXPECT_EQ(가상_프로그램폴더(시스템), L"C:\\VirtualStore\\Program Files");

    시스템.환경설정(L"ProgramFiles(x86)", L"");
    EXPECT_EQ(프로그램폴더(시스템), L"C:\\Program Files");
    EXPECT_EQ(가상_프로그램폴더(시스템), L"C:\\VirtualStore\\Program Files");

    시스템.환경삭제(L"ProgramFiles");
    EXPECT_EQ(프로그램폴더(시스템), L"");
}

TEST_F(기준폴더, 끝에_구분자가_있는_임시폴더는_그_자체가_부모가_된다) {
    시스템.환경설정(L"ProgramFiles(x86)", L"D:\\Apps");
    시스템.환경설정(L"TEMP", L"C:\\Temp\\");
    EXPECT_EQ(가상_프로그램폴더(시스템), L"C:\\Temp\\VirtualStore\\Program Files (x86)");
}

TEST_F(기준폴더, 가상_저장소는_임시폴더가_어디에_있든_로컬_앱데이터_아래에_있다) {
    // A Remote Desktop host gives each session a temporary folder of its own.
    시스템.환경설정(L"ProgramFiles(x86)", L"C:\\Program Files (x86)");
    시스템.환경설정(L"LOCALAPPDATA", L"C:\\Users\\kim\\AppData\\Local");
    시스템.환경설정(L"TEMP", L"C:\\Users\\kim\\AppData\\Local\\Temp\\2");
    EXPECT_EQ(가상_프로그램폴더(시스템),
              L"C:\\Users\\kim\\AppData\\Local\\VirtualStore\\Program Files (x86)");
}

TEST_F(기준폴더, 구분자가_없는_임시폴더는_로컬_앱데이터로_대신한다) {
    시스템.환경설정(L"ProgramFiles(x86)", L"C:\\Program Files (x86)");
    시스템.환경설정(L"LOCALAPPDATA", L"C:\\Users\\kim\\AppData\\Local");
    시스템.환경설정(L"TEMP", L"Temp");
    EXPECT_EQ(가상_프로그램폴더(시스템),
              L"C:\\Users\\kim\\AppData\\Local\\VirtualStore\\Program Files (x86)");

    시스템.환경삭제(L"TEMP");
    EXPECT_EQ(가상_프로그램폴더(시스템),
              L"C:\\Users\\kim\\AppData\\Local\\VirtualStore\\Program Files (x86)");

    시스템.환경삭제(L"LOCALAPPDATA");
    EXPECT_EQ(가상_프로그램폴더(시스템), L"");
}

// The environment is the user's even when the process is elevated: another
// user's VirtualStore, or a protected folder, must not become the place the
// move reads, renames and writes backups in.
TEST_F(기준폴더, 관리자_권한이면_로컬_앱데이터는_자기_프로필_안에서만_쓴다) {
    시스템.관리자 = true;
    시스템.환경설정(L"ProgramFiles(x86)", L"C:\\Program Files (x86)");
    const std::pair<const wchar_t*, const wchar_t*> 경우들[] = {
        {L"C:\\users\\KIM\\AppData\\Local", L"C:\\users\\KIM\\AppData\\Local"},
        {L"C:\\Users\\lee\\AppData\\Local", L""},
        {L"C:\\Users\\kimchi\\AppData\\Local", L""},
        {L"C:\\Windows\\System32", L""},
        {L"C:\\Users\\kim", L""},
    };
    for (const auto& [로컬, 부모] : 경우들) {
        시스템.환경설정(L"LOCALAPPDATA", 로컬);
        const std::wstring 기대 = *부모 ? 부모 + std::wstring(L"\\VirtualStore\\Program Files (x86)") : L"";
        EXPECT_EQ(가상_프로그램폴더(시스템), 기대) << testing::PrintToString(std::wstring(로컬));
    }
    시스템.환경삭제(L"LOCALAPPDATA");
    시스템.환경설정(L"TEMP", L"D:\\Temp\\x");
    EXPECT_EQ(가상_프로그램폴더(시스템), L"") << "the fallback is bound too";
    시스템.프로필폴더값.clear();
    시스템.환경설정(L"LOCALAPPDATA", L"C:\\Users\\kim\\AppData\\Local");
    EXPECT_EQ(가상_프로그램폴더(시스템), L"") << "no profile known, nothing trusted";
}

}  // namespace
