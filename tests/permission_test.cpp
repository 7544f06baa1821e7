// The permission module against the fake platform: what the batch files
// hold, what is run, read and deleted in which order, and how the output is
// judged.
#include <gtest/gtest.h>

#include "permission/permission.h"
#include "tests/fake_platform.h"

using namespace 보안방화벽;

namespace {

const std::wstring 임시 = L"C:\\Users\\Kim Minsu\\AppData\\Local\\Temp";
const std::wstring 대상 = L"C:\\Program Files (x86)\\Quindle";

class 권한모듈 : public ::testing::Test {
protected:
    void SetUp() override { 시스템.환경설정(L"TEMP", 임시); }

    // The started batch file "prints" `출력` into the output file.
    void cacls출력(const std::wstring& 출력파일, const std::wstring& 출력) {
        시스템.실행동작 = [=](가짜플랫폼& 플랫폼, const std::wstring&) {
            플랫폼.파일들[임시 + 출력파일] = 출력;
        };
    }

    가짜플랫폼 시스템;
};

TEST_F(권한모듈, 검사는_따옴표로_묶은_한줄_배치를_쓰고_실행한다) {
    std::wstring 배치내용;
    시스템.실행동작 = [&](가짜플랫폼& 플랫폼, const std::wstring&) {
        배치내용 = 플랫폼.파일들[임시 + L"\\fe2437.bat"];
    };
    권한검사(시스템, 대상);

    EXPECT_EQ(배치내용, L"cacls \"" + 대상 + L"\" /s  > \"" + 임시 + L"\\fe2437.txt\"\r\n");
    ASSERT_EQ(시스템.실행한명령들.size(), 1u);
    EXPECT_EQ(시스템.실행한명령들[0], L"\"" + 임시 + L"\\fe2437.bat\"");
}

TEST_F(권한모듈, 검사는_임시파일을_정해진_순서로_만들고_모두_지운다) {
    시스템.파일들[임시 + L"\\fe2437.txt"] = L"(A;OICI;FA;;;BU) from an earlier run";
    cacls출력(L"\\fe2437.txt", L"");
    권한검사(시스템, 대상);

    const std::vector<std::wstring> 기대 = {
        L"독점",
        L"삭제 " + 임시 + L"\\fe2437.txt",
        L"쓰기 " + 임시 + L"\\fe2437.bat",
        L"고정 " + 임시 + L"\\fe2437.bat",
        L"실행 \"" + 임시 + L"\\fe2437.bat\"",
        L"풀림 " + 임시 + L"\\fe2437.bat",
        L"읽기 " + 임시 + L"\\fe2437.txt",
        L"삭제 " + 임시 + L"\\fe2437.bat",
        L"삭제 " + 임시 + L"\\fe2437.txt",
        L"풀림 독점",
    };
    EXPECT_EQ(시스템.기록, 기대);
    EXPECT_TRUE(시스템.파일들.empty());
}

TEST_F(권한모듈, 이전_실행의_출력은_결과가_되지_않는다) {
    시스템.파일들[임시 + L"\\fe2437.txt"] = L"D:(A;OICI;FA;;;BU)\r\n";
    // The batch file cannot start, so nothing new is written.
    EXPECT_EQ(권한검사(시스템, 대상), 거짓);
}

TEST_F(권한모듈, 검사는_사용자_전체권한_항목이_정확히_있을때만_참이다) {
    struct 사례 { const wchar_t* 출력; 플래그 기대; };
    const 사례 사례들[] = {
        {L"C:\\X D:PAI(A;OICI;FA;;;BU)(A;OICI;FA;;;SY)\r\n", 참},
        {L"C:\\X D:AI(A;OICIID;FA;;;BU)\r\n", 거짓},          // inherited from the parent
        {L"C:\\X D:PAI(A;OICI;0x1301bf;;;BU)\r\n", 거짓},     // modify, not full control
        {L"C:\\X D:PAI(A;CI;FA;;;BU)\r\n", 거짓},             // subfolders only
        {L"c:\\x d:pai(a;oici;fa;;;bu)\r\n", 거짓},           // other case
        {L"지정된 파일을 찾을 수 없습니다.\r\n", 거짓},        // no such folder
        {L"", 거짓},
    };
    for (const 사례& 하나 : 사례들) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(하나.출력)));
        cacls출력(L"\\fe2437.txt", 하나.출력);
        EXPECT_EQ(권한검사(시스템, 대상), 하나.기대);
    }
}

TEST_F(권한모듈, 검사의_파일_오류는_호출자에게_간다) {
    시스템.실패할경로.insert(임시 + L"\\fe2437.bat");
    EXPECT_THROW(권한검사(시스템, 대상), 파일오류);
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(권한모듈, 한_파일을_지우지_못해도_나머지는_지우고_오류를_알린다) {
    시스템.실행동작 = [](가짜플랫폼& 플랫폼, const std::wstring&) {
        플랫폼.파일들[임시 + L"\\fe1235.txt"] = L"처리된 디렉터리: x";
        플랫폼.실패할경로.insert(임시 + L"\\fe2456.bat");  // held open by someone
    };
    try {
        권한부여(시스템, 대상);
        ADD_FAILURE() << "a file that cannot be deleted must be reported";
    } catch (const 파일오류& 오류) {
        EXPECT_EQ(오류.경로(), 임시 + L"\\fe2456.bat");
    }
    EXPECT_EQ(시스템.파일들.size(), 1u);  // only the batch file that could not go
}

TEST_F(권한모듈, 중간에_실패해도_그때까지_만든_파일은_지운다) {
    // The batch file is replaced between the write and the run.
    시스템.쓴뒤동작 = [](가짜플랫폼& 플랫폼, const std::wstring& 경로) {
        if (경로.find(L".bat") != std::wstring::npos) 플랫폼.파일들[경로] = L"del C:\\x\r\n";
    };
    EXPECT_THROW(권한부여(시스템, 대상), 파일오류);
    EXPECT_TRUE(시스템.파일들.empty());
    EXPECT_EQ(시스템.기록.back(), L"풀림 독점");
}

TEST_F(권한모듈, 부여는_응답파일과_배치를_쓰고_세_파일을_정해진_순서로_지운다) {
    std::wstring 응답, 배치내용;
    시스템.실행동작 = [&](가짜플랫폼& 플랫폼, const std::wstring&) {
        응답 = 플랫폼.파일들[임시 + L"\\fe1236.txt"];
        배치내용 = 플랫폼.파일들[임시 + L"\\fe2456.bat"];
        플랫폼.파일들[임시 + L"\\fe1235.txt"] =
            L"확실합니까(Y/N)?처리된 디렉터리: " + 대상 + L"\r\n";
    };
    시스템.파일들[임시 + L"\\fe1235.txt"] = L"stale";

    EXPECT_EQ(권한부여(시스템, 대상), 참);
    EXPECT_EQ(응답, L"y\r\n");
    EXPECT_EQ(배치내용, L"cacls \"" + 대상 + L"\" /s:D:(A;OICI;FA;;;BU) < \"" + 임시 +
                            L"\\fe1236.txt\" > \"" + 임시 + L"\\fe1235.txt\"\r\n");
    const std::vector<std::wstring> 기대 = {
        L"독점",
        L"삭제 " + 임시 + L"\\fe1235.txt",
        L"쓰기 " + 임시 + L"\\fe1236.txt",
        L"쓰기 " + 임시 + L"\\fe2456.bat",
        L"고정 " + 임시 + L"\\fe2456.bat",
        L"실행 \"" + 임시 + L"\\fe2456.bat\"",
        L"풀림 " + 임시 + L"\\fe2456.bat",
        L"읽기 " + 임시 + L"\\fe1235.txt",
        L"삭제 " + 임시 + L"\\fe2456.bat",
        L"삭제 " + 임시 + L"\\fe1235.txt",
        L"삭제 " + 임시 + L"\\fe1236.txt",
        L"풀림 독점",
    };
    EXPECT_EQ(시스템.기록, 기대);
    EXPECT_TRUE(시스템.파일들.empty());
}

TEST_F(권한모듈, 부여는_처리된_디렉터리_문구가_있을때만_참이다) {
    cacls출력(L"\\fe1235.txt", L"processed dir: " + 대상 + L"\r\n");
    EXPECT_EQ(권한부여(시스템, 대상), 거짓);
    cacls출력(L"\\fe1235.txt", L"액세스가 거부되었습니다.\r\n");
    EXPECT_EQ(권한부여(시스템, 대상), 거짓);
    cacls출력(L"\\fe1235.txt", L"처리된 디렉터리: " + 대상 + L"\r\n");
    EXPECT_EQ(권한부여(시스템, 대상), 참);
    // The grant never queries on its own: one run per call.
    EXPECT_EQ(시스템.실행한명령들.size(), 3u);
}

TEST_F(권한모듈, 부여의_파일_오류는_호출자에게_가고_실행하지_않는다) {
    시스템.실패할경로.insert(임시 + L"\\fe1236.txt");
    EXPECT_THROW(권한부여(시스템, 대상), 파일오류);
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(권한모듈, 쓴_뒤에_바뀐_배치는_실행하지_않는다) {
    시스템.쓴뒤동작 = [](가짜플랫폼& 플랫폼, const std::wstring& 경로) {
        if (경로.find(L".bat") != std::wstring::npos) 플랫폼.파일들[경로] = L"del /q C:\\*\r\n";
    };
    EXPECT_THROW(권한검사(시스템, 대상), 파일오류);
    EXPECT_THROW(권한부여(시스템, 대상), 파일오류);
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(권한모듈, 임시_경로는_도구와_cmd에게_같은_파일이_되도록_절대경로가_된다) {
    // cmd runs in the system folder; the tool may have been started anywhere.
    struct 사례 { const wchar_t* TEMP; std::wstring 배치; };
    const 사례 사례들[] = {
        {nullptr, L"D:\\fe2437.bat"},          // unset: the root of the current drive
        {L"Temp", L"D:\\Downloads\\Temp\\fe2437.bat"},  // no separator at all
        {L"\\Temp", L"D:\\Temp\\fe2437.bat"},          // no drive
    };
    for (const 사례& 하나 : 사례들) {
        SCOPED_TRACE(testing::PrintToString(하나.배치));
        if (하나.TEMP) 시스템.환경설정(L"TEMP", 하나.TEMP); else 시스템.환경삭제(L"TEMP");
        시스템.실행한명령들.clear();
        std::wstring 배치내용;
        시스템.실행동작 = [&](가짜플랫폼& 플랫폼, const std::wstring&) {
            배치내용 = 플랫폼.파일들[하나.배치];
        };
        권한검사(시스템, 대상);
        EXPECT_EQ(시스템.실행한명령들.at(0), L"\"" + 하나.배치 + L"\"");
        const std::wstring 출력 = 하나.배치.substr(0, 하나.배치.size() - 3) + L"txt";
        EXPECT_NE(배치내용.find(L"> \"" + 출력 + L"\""), std::wstring::npos) << 배치내용;
        EXPECT_TRUE(시스템.파일들.empty());
    }
}

// A platform whose whole-file read always fails.
class 읽기실패플랫폼 : public 가짜플랫폼 {
public:
    std::wstring 전체읽기(const std::wstring& 경로) override {
        throw 파일오류(경로, 32, L"다른 프로세스가 파일을 사용 중입니다.");
    }
};

TEST(파일읽기, 실패는_빈_문자열이_된다) {
    읽기실패플랫폼 시스템;
    EXPECT_EQ(파일읽기(시스템, L"C:\\x.txt"), L"");
}

}  // namespace
