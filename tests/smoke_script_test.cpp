// scripts/windows-smoke.ps1 keeps its own copy of the product table, since
// it runs on a Windows PC without this source. Where the copy drifts, the
// script creates and fixes a folder the program never looks at, and every
// step still "passes" against the wrong folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "folders/install_folders.h"

namespace {

std::string 스크립트() {
    std::ifstream 파일(SMOKE_SCRIPT);
    std::ostringstream 내용;
    내용 << 파일.rdbuf();
    return 내용.str();
}

std::string 좁게(const wchar_t* 글) { return std::string(글, 글 + std::wcslen(글)); }  // ASCII names

// The text from `시작` up to the first `끝` after it; empty when either is missing.
std::string 구간(const std::string& 글, const std::string& 시작, const std::string& 끝) {
    const size_t 처음 = 글.find(시작);
    if (처음 == std::string::npos) return {};
    const size_t 마지막 = 글.find(끝, 처음 + 시작.size());
    return 마지막 == std::string::npos ? std::string() : 글.substr(처음, 마지막 - 처음);
}

TEST(스모크스크립트, 아스키만_쓴다) {
    const std::string 내용 = 스크립트();
    ASSERT_FALSE(내용.empty()) << "cannot read " << SMOKE_SCRIPT;
    const auto 처음 = std::find_if(내용.begin(), 내용.end(),
                                   [](char 글자) { return static_cast<unsigned char>(글자) > 0x7F; });
    EXPECT_EQ(처음, 내용.end()) << "a non-ASCII byte at offset " << (처음 - 내용.begin());
}

TEST(스모크스크립트, 제품과_설치폴더는_프로그램의_제품표와_같다) {
    const std::string 표 = 구간(스크립트(), "$installFolderNames = @{", "}");
    ASSERT_FALSE(표.empty()) << "no product table in " << SMOKE_SCRIPT;
    std::map<std::string, std::string> 스크립트의, 프로그램의;
    const std::regex 항목(R"((\w+) = '([^']*)')");
    for (std::sregex_iterator 맞음(표.begin(), 표.end(), 항목), 끝; 맞음 != 끝; ++맞음)
        스크립트의[(*맞음)[1]] = (*맞음)[2];
    for (const 설치폴더::제품& 행 : 설치폴더::제품표) 프로그램의[좁게(행.목록이름)] = 좁게(행.폴더이름);
    EXPECT_EQ(스크립트의, 프로그램의);
}

TEST(스모크스크립트, 받는_제품이름은_목록의_이름_그대로다) {
    const std::string 목록 = 구간(스크립트(), "[ValidateSet(", ")]");
    ASSERT_FALSE(목록.empty()) << "no ValidateSet in " << SMOKE_SCRIPT;
    std::set<std::string> 스크립트의, 프로그램의;
    const std::regex 이름(R"('([^']*)')");
    for (std::sregex_iterator 맞음(목록.begin(), 목록.end(), 이름), 끝; 맞음 != 끝; ++맞음)
        스크립트의.insert((*맞음)[1]);
    for (const 설치폴더::제품& 행 : 설치폴더::제품표) 프로그램의.insert(좁게(행.목록이름));
    EXPECT_EQ(스크립트의, 프로그램의);
    // The program matches list names exactly; a case-blind set would let
    // "pelorant" through to an exit code 2.
    EXPECT_NE(목록.find("IgnoreCase = $false"), std::string::npos);
}

}  // namespace
