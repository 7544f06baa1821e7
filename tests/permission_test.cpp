// The permission module against the fake platform: what the batch files
// hold, what is run, read and deleted in which order, and how the output is
// judged.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/commands.h"
#include "permission/permission.h"
#include "tests/fake_platform.h"

using namespace 보안방화벽;

namespace {

const std::wstring 임시 = L"C:\\Users\\Kim Minsu\\AppData\\Local\\Temp";
const std::wstring 대상 = L"C:\\Program Files (x86)\\Quindle";

// The message of the refusal the call throws, as the commands show it;
// empty, and a failure, when it throws none.
template <typename 호출>
std::wstring 거부메시지(호출 할일) {
    try {
        할일();
    } catch (const 실행거부& 거부) {
        return ::거부메시지(거부);
    }
    ADD_FAILURE() << "no refusal";
    return {};
}

// What an installer leaves: only administrators and SYSTEM may write.
const std::wstring 관리자만목록 = L"D:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)";

class 권한모듈 : public ::testing::Test {
protected:
    void SetUp() override {
        시스템.환경설정(L"TEMP", 임시);
        시스템.폴더들.insert(대상);
        // Users may write: grants keep no list, and leave no file.
        시스템.접근목록들[대상] = L"D:PAI(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;BU)";
        시스템.폴더들.insert(대상 + L"\\data");  // not empty, so an elevated grant can hold it
        cacls출력(L"\\fe2437.txt", 대상 + L" D:(A;;FA;;;BA)\r\n");
    }

    // The started batch file "prints" `출력` into the output file.
    void cacls출력(const std::wstring& 출력파일, const std::wstring& 출력) {
        시스템.실행동작 = [=](가짜플랫폼& 플랫폼, const std::wstring&) {
            플랫폼.파일들[임시 + 출력파일] = 출력;
        };
    }

    // Elevated, over a tree nobody but administrators may change.
    void 관리자만인_트리() {
        시스템.관리자 = true;
        시스템.접근목록들[대상] = 관리자만목록;
    }

    // Asserts that `앞` was done, and before `뒤`.
    void 먼저(const std::wstring& 앞, const std::wstring& 뒤) const {
        const auto& 기록 = 시스템.기록;
        const auto 앞위치 = std::find(기록.begin(), 기록.end(), 앞);
        EXPECT_NE(앞위치, 기록.end()) << "not done: " << testing::PrintToString(앞);
        EXPECT_LT(앞위치, std::find(기록.begin(), 기록.end(), 뒤))
            << testing::PrintToString(앞) << " not before " << testing::PrintToString(뒤);
    }

    가짜플랫폼 시스템;
};

TEST_F(권한모듈, 검사는_따옴표로_묶은_한줄_배치를_쓰고_실행한다) {
    std::wstring 배치내용;
    시스템.실행동작 = [&](가짜플랫폼& 플랫폼, const std::wstring&) {
        배치내용 = 플랫폼.파일들[임시 + L"\\fe2437.bat"];
        플랫폼.파일들[임시 + L"\\fe2437.txt"] = 대상 + L" D:";
    };
    권한검사(시스템, 대상);

    EXPECT_EQ(배치내용, L"cacls \"" + 대상 + L"\" /s  > \"" + 임시 + L"\\fe2437.txt\"\r\n");
    ASSERT_EQ(시스템.실행한명령들.size(), 1u);
    EXPECT_EQ(시스템.실행한명령들[0], L"\"" + 임시 + L"\\fe2437.bat\"");
}

// What the order protects: no earlier output is read as this run's, the
// batch file stays as written until cmd has ended, the folder is held from
// before the line naming it is written until cmd has ended, and nothing is
// left behind.
TEST_F(권한모듈, 검사는_출력을_먼저_지우고_배치와_폴더를_cmd가_끝날_때까지_잡고_모두_지운다) {
    시스템.파일들[임시 + L"\\fe2437.txt"] = L"(A;OICI;FA;;;BU) from an earlier run";
    권한검사(시스템, 대상);

    const std::wstring 배치 = 임시 + L"\\fe2437.bat", 실행 = L"실행 \"" + 배치 + L"\"";
    먼저(L"삭제 " + 임시 + L"\\fe2437.txt", 실행);
    먼저(L"폴더고정 " + 대상, L"쓰기 " + 배치);
    먼저(L"쓰기 " + 배치, L"고정 " + 배치);
    먼저(L"고정 " + 배치, 실행);
    먼저(실행, L"풀림 " + 배치);
    먼저(실행, L"풀림 " + 대상);
    먼저(L"읽기 " + 임시 + L"\\fe2437.txt", L"풀림 독점");
    EXPECT_TRUE(시스템.파일들.empty());
}

TEST_F(권한모듈, 이전_실행의_출력은_결과가_되지_않는다) {
    시스템.파일들[임시 + L"\\fe2437.txt"] = 대상 + L" D:(A;OICI;FA;;;BU)\r\n";
    // cacls prints nothing, so nothing new is written: no answer, not 참.
    시스템.실행동작 = nullptr;
    EXPECT_EQ(거부메시지([&] { 권한검사(시스템, 대상); }),
              std::wstring(거부문구::응답없음) + L"\r\n\r\n" + 대상);
}

// Which entries count is access_list_test's; here, whose line they are read from.
TEST_F(권한모듈, 검사는_그_폴더의_줄에_사용자_전체권한_항목이_있을때만_참이다) {
    cacls출력(L"\\fe2437.txt", 대상 + L" D:PAI(A;OICI;FA;;;BU)(A;OICI;FA;;;SY)\r\n");
    EXPECT_EQ(권한검사(시스템, 대상), 참);
    // The entry in another line, or in a name, is not the folder's.
    cacls출력(L"\\fe2437.txt", L"C:\\(A;OICI;FA;;;BU) D:(A;;FA;;;BA)\r\n" + 대상 + L" D:(A;;FA;;;BA)\r\n");
    EXPECT_EQ(권한검사(시스템, 대상), 거짓);
}

TEST_F(권한모듈, 검사의_파일_오류는_호출자에게_간다) {
    시스템.실패할경로.insert(임시 + L"\\fe2437.bat");
    EXPECT_THROW(권한검사(시스템, 대상), 파일오류);
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(권한모듈, cmd가_끝난_뒤_지우지_못한_파일은_남기고_결과는_그대로다) {
    시스템.실행동작 = [](가짜플랫폼& 플랫폼, const std::wstring&) {
        플랫폼.파일들[임시 + L"\\fe1235.txt"] = L"처리된 디렉터리: x";
        플랫폼.실패할경로.insert(임시 + L"\\fe1235.txt");  // held open by a virus scanner
    };
    EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리됨);
    EXPECT_EQ(시스템.파일들.size(), 1u);  // only the output that could not go
    EXPECT_TRUE(시스템.있음(임시 + L"\\fe1235.txt"));
}

TEST_F(권한모듈, 부여는_응답파일을_써서_cmd에_주고_바꿀_목록을_먼저_읽고_모두_지운다) {
    std::wstring 응답, 배치내용;
    시스템.실행동작 = [&](가짜플랫폼& 플랫폼, const std::wstring&) {
        응답 = 플랫폼.파일들[임시 + L"\\fe1236.txt"];
        배치내용 = 플랫폼.파일들[임시 + L"\\fe2456.bat"];
        플랫폼.파일들[임시 + L"\\fe1235.txt"] =
            L"확실합니까(Y/N)?처리된 디렉터리: " + 대상 + L"\r\n";
    };
    시스템.파일들[임시 + L"\\fe1235.txt"] = L"stale";

    EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리됨);
    EXPECT_EQ(응답, L"y\r\n");
    EXPECT_EQ(배치내용, L"cacls \"" + 대상 + L"\" /s:D:(A;OICI;FA;;;BU) < \"" + 임시 +
                            L"\\fe1236.txt\" > \"" + 임시 + L"\\fe1235.txt\"\r\n");
    const std::wstring 실행 = L"실행 \"" + 임시 + L"\\fe2456.bat\"";
    먼저(L"삭제 " + 임시 + L"\\fe1235.txt", 실행);
    먼저(L"쓰기 " + 임시 + L"\\fe1236.txt", 실행);
    // The list it replaces is read through the hold, before cmd changes it.
    먼저(L"폴더고정 " + 대상, L"접근목록 " + 대상);
    먼저(L"접근목록 " + 대상, 실행);
    EXPECT_TRUE(시스템.파일들.empty());
}

TEST_F(권한모듈, 부여는_처리된_디렉터리_문구가_있을때만_참이다) {
    cacls출력(L"\\fe1235.txt", L"processed dir: " + 대상 + L"\r\n");
    EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리안됨);
    cacls출력(L"\\fe1235.txt", L"액세스가 거부되었습니다.\r\n");
    EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리안됨);
    cacls출력(L"\\fe1235.txt", L"처리된 디렉터리: " + 대상 + L"\r\n");
    EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리됨);
    // The grant never queries on its own: one run per call.
    EXPECT_EQ(시스템.실행한명령들.size(), 3u);
}

TEST_F(권한모듈, 부여의_파일_오류는_호출자에게_가고_실행하지_않는다) {
    시스템.실패할경로.insert(임시 + L"\\fe1236.txt");
    EXPECT_THROW(권한부여(시스템, 대상), 파일오류);
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(권한모듈, 쓴_뒤에_바뀐_배치는_실행하지_않고_그때까지_만든_파일은_지운다) {
    시스템.쓴뒤동작 = [](가짜플랫폼& 플랫폼, const std::wstring& 경로) {
        if (경로.find(L".bat") != std::wstring::npos) 플랫폼.파일들[경로] = L"del /q C:\\*\r\n";
    };
    EXPECT_THROW(권한검사(시스템, 대상), 파일오류);
    EXPECT_THROW(권한부여(시스템, 대상), 파일오류);
    EXPECT_TRUE(시스템.실행한명령들.empty());
    EXPECT_TRUE(시스템.파일들.empty());
    EXPECT_EQ(std::count(시스템.기록.begin(), 시스템.기록.end(), L"풀림 독점"), 2);
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
            플랫폼.파일들[하나.배치.substr(0, 하나.배치.size() - 3) + L"txt"] = 대상 + L" D:";
        };
        권한검사(시스템, 대상);
        EXPECT_EQ(시스템.실행한명령들.at(0), L"\"" + 하나.배치 + L"\"");
        const std::wstring 출력 = 하나.배치.substr(0, 하나.배치.size() - 3) + L"txt";
        EXPECT_NE(배치내용.find(L"> \"" + 출력 + L"\""), std::wstring::npos) << 배치내용;
        EXPECT_TRUE(시스템.파일들.empty());
    }
}

// ---- what a user's files, environment and folders cannot steer ----------


TEST_F(권한모듈, 관리자면_호출마다_새로_만든_개인폴더를_쓰고_사용자_TEMP는_쓰지_않는다) {
    관리자만인_트리();
    시스템.환경설정(L"TEMP", L"C:\\Users\\kim\\%Q%");  // the user's, and refused if used
    const std::wstring 개인 = L"C:\\Windows\\Temp\\개인1";
    std::wstring 배치내용;
    시스템.실행동작 = [&](가짜플랫폼& 플랫폼, const std::wstring&) {
        배치내용 = 플랫폼.파일들[개인 + L"\\fe2437.bat"];
        플랫폼.파일들[개인 + L"\\fe2437.txt"] = 대상 + L" D:(A;OICI;FA;;;BU)";
    };
    EXPECT_EQ(권한검사(시스템, 대상), 참);
    EXPECT_EQ(배치내용, L"cacls \"" + 대상 + L"\" /s  > \"" + 개인 + L"\\fe2437.txt\"\r\n");
    EXPECT_EQ(시스템.실행한명령들, std::vector<std::wstring>{L"\"" + 개인 + L"\\fe2437.bat\""});
    먼저(L"삭제 " + 개인 + L"\\fe2437.txt", L"개인폴더지움 " + 개인);
    EXPECT_TRUE(시스템.파일들.empty());
    EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리안됨);
    EXPECT_EQ(시스템.개인폴더수, 2);  // a new one for every call
}

TEST_F(권한모듈, 연결지점이거나_실제_경로가_다르거나_없는_대상은_이름을_밝혀_거부하고_실행하지_않는다) {
    시스템.연결지점들.insert(대상);
    EXPECT_EQ(거부메시지([&] { 권한부여(시스템, 대상); }),
              std::wstring(거부문구::연결지점) + L"\r\n\r\n" + 대상);
    시스템.연결지점들.clear();
    시스템.연결지점들.insert(L"C:\\Program Files (x86)", L"D:\\다른곳");  // a link higher up
    시스템.폴더들.insert(L"D:\\다른곳\\Quindle");
    EXPECT_EQ(거부메시지([&] { 권한검사(시스템, 대상); }),
              std::wstring(거부문구::다른경로) + L"\r\n\r\n" + 대상);
    시스템.연결지점들.clear();
    시스템.폴더들.erase(대상);
    EXPECT_EQ(거부메시지([&] { 권한검사(시스템, 대상); }),
              std::wstring(거부문구::폴더사라짐) + L"\r\n\r\n" + 대상);
    EXPECT_TRUE(시스템.실행한명령들.empty());
    EXPECT_TRUE(시스템.파일들.empty());
}

TEST_F(권한모듈, 배치_줄에는_요청한_경로가_아니라_붙잡은_폴더의_시스템_이름이_간다) {
    const std::wstring 시스템이름 = L"C:\\PROGRAM FILES (X86)\\QUINDLE";
    시스템.최종경로들[대상] = 시스템이름;
    std::wstring 배치내용;
    시스템.실행동작 = [&](가짜플랫폼& 플랫폼, const std::wstring&) {
        배치내용 = 플랫폼.파일들[임시 + L"\\fe2437.bat"];
        플랫폼.파일들[임시 + L"\\fe2437.txt"] = 시스템이름 + L" D:";
    };
    권한검사(시스템, 대상);
    EXPECT_EQ(배치내용.rfind(L"cacls \"" + 시스템이름 + L"\" /s", 0), 0u) << 배치내용;
}

TEST_F(권한모듈, cmd가_도는_사이_연결지점이_되거나_옮겨진_폴더는_답이_아니라_거부가_된다) {
    for (bool 연결 : {true, false}) {
        시스템.실행동작 = [&](가짜플랫폼& 플랫폼, const std::wstring&) {
            if (연결) 플랫폼.연결지점들.insert(대상);
            else 플랫폼.최종경로들[대상] = L"C:\\Windows\\System32\\Tasks";
            플랫폼.파일들[임시 + L"\\fe1235.txt"] = L"처리된 디렉터리: " + 대상 + L"\r\n";
        };
        EXPECT_EQ(거부메시지([&] { 권한부여(시스템, 대상); }),
                  std::wstring(거부문구::폴더바뀜) + L"\r\n\r\n" + 대상);
        시스템.연결지점들.clear();
    }
}

TEST_F(권한모듈, 관리자면_항목을_붙잡을_수_없는_빈_설치폴더에는_부여하지_않는다) {
    시스템.관리자 = true;
    시스템.폴더들.erase(대상 + L"\\data");
    EXPECT_EQ(거부메시지([&] { 권한부여(시스템, 대상); }),
              std::wstring(거부문구::빈폴더) + L"\r\n\r\n" + 대상);
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(권한모듈, cmd가_달리_읽을_글자가_든_경로는_이름을_밝혀_거부하고_아무것도_쓰지_않는다) {
    const std::wstring 경로들[] = {L"C:\\Users\\kim\\%Q%", L"C:\\Users\\kim\\!Q!",
                                   L"C:\\Users\\kim\\x\" & calc & \"",
                                   L"C:\\Users\\a\u20A9b", L"C:\\Users\\\u0E44\u0E17\u0E22"};
    for (const std::wstring& TEMP : 경로들) {
        SCOPED_TRACE(testing::PrintToString(TEMP));
        시스템.환경설정(L"TEMP", TEMP);
        EXPECT_EQ(거부메시지([&] { 권한검사(시스템, 대상); }),
                  std::wstring(거부문구::위험한글자) + L"\r\n\r\n" + TEMP + L"\\fe2437.txt");
    }
    시스템.환경설정(L"TEMP", 임시);
    const std::wstring 퍼센트대상 = L"C:\\PF%Q%\\Quindle";
    시스템.폴더들.insert(퍼센트대상);
    EXPECT_NE(거부메시지([&] { 권한부여(시스템, 퍼센트대상); }).find(퍼센트대상), std::wstring::npos);
    EXPECT_TRUE(시스템.실행한명령들.empty());
    EXPECT_TRUE(시스템.파일들.empty());
}

TEST_F(권한모듈, cmd를_시작하지_못하면_거짓이_아니라_cmd를_밝힌_거부가_된다) {
    시스템.실행실패 = true;
    const std::wstring 메시지 = 거부메시지([&] { 권한부여(시스템, 대상); });
    EXPECT_EQ(메시지.rfind(거부문구::시작실패, 0), 0u);
    EXPECT_NE(메시지.find(L"C:\\Windows\\system32\\cmd.exe"), std::wstring::npos);
    EXPECT_TRUE(시스템.파일들.empty());
}

TEST_F(권한모듈, cacls의_답보다_큰_출력은_읽지_않고_오류가_된다) {
    cacls출력(L"\\fe2437.txt", L"D:(A;OICI;FA;;;BU)" + std::wstring(최대출력바이트, L'x'));
    EXPECT_THROW(권한검사(시스템, 대상), 파일오류);
    EXPECT_TRUE(시스템.파일들.empty());
}

TEST_F(권한모듈, 숨김이나_시스템_속성의_이전_출력도_지운다) {
    시스템.파일들[임시 + L"\\fe1235.txt"] = L"처리된 디렉터리: an earlier run";
    시스템.숨김파일들.insert(임시 + L"\\fe1235.txt");
    EXPECT_EQ(권한부여(시스템, 대상), 부여결과::처리안됨);  // nothing ran that could have said so
}

TEST_F(권한모듈, 다른_인스턴스가_한도를_넘게_쓰면_그렇게_거부하고_아무것도_하지_않는다) {
    시스템.다른인스턴스사용중 = true;
    EXPECT_EQ(거부메시지([&] { 권한검사(시스템, 대상); }), 거부문구::다른창작업중);
    EXPECT_LE(시스템.마지막대기한도, 15000u);  // a limit, not a hang
    EXPECT_TRUE(시스템.파일들.empty());
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(권한모듈, 부여는_바꿀_목록을_폴더_이름과_시각의_파일에_보관하고_보관하지_못하면_실행하지_않는다) {
    관리자만인_트리();
    const std::wstring 보관 = 시스템.보관폴더값 + L"\\Quindle 2026-12-08 09-05-07.sddl";
    권한부여(시스템, 대상);
    EXPECT_EQ(시스템.파일들[보관], L"D:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)\r\n");
    시스템.실패할경로.insert(시스템.보관폴더값 + L"\\Quindle 2026-12-08 09-05-07 2.sddl");
    const std::wstring 메시지 = 거부메시지([&] { 권한부여(시스템, 대상); });
    EXPECT_EQ(메시지.rfind(거부문구::보관실패, 0), 0u);
    EXPECT_NE(메시지.find(L"09-05-07 2.sddl"), std::wstring::npos);
    EXPECT_NE(메시지.find(L".sddl\r\n액세스가 거부되었습니다."), std::wstring::npos) << "the file step's reason";
    EXPECT_EQ(시스템.실행한명령들.size(), 1u);
}


// Elevated, cacls runs only over a tree nobody else may change: there, a
// program of theirs could turn a new folder into a link the moment cacls
// starts. A list that is no list to go back to, but lets nobody else write,
// is not kept, and the grant goes ahead.
TEST_F(권한모듈, 관리자면_남이_바꿀_수_있는_폴더에는_부여하지_않고_되돌릴_목록만_보관한다) {
    시스템.관리자 = true;
    const std::wstring 보관 = 시스템.보관폴더값 + L"\\Quindle 2026-12-08 09-05-07.sddl";
    const std::wstring 사용자 = L"S-1-5-21-1-2-3-1001";
    const std::wstring 하위 = 대상 + L"\\data";
    struct 사례 { std::wstring 목록, 소유자, 하위목록, 하위소유자; bool 보관, 실행; };
    const 사례 사례들[] = {
        {L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)", L"S-1-5-18", 관리자만목록, L"S-1-5-32-544", true, true},
        {L"D:P(D;OICI;FA;;;WD)(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)", L"S-1-5-32-544", 관리자만목록,
         L"S-1-5-32-544", false, true},
        {L"D:NO_ACCESS_CONTROL", L"S-1-5-32-544", 관리자만목록, L"S-1-5-32-544", false, false},
        {L"D:PAI(A;OICI;FA;;;BU)(D;;WD;;;" + 사용자 + L")", L"S-1-5-32-544", 관리자만목록,
         L"S-1-5-32-544", false, false},
        {L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)", 사용자, 관리자만목록, L"S-1-5-32-544", false, false},
        {관리자만목록, L"S-1-5-32-544", L"D:(A;OICI;0x1301bf;;;BU)", L"S-1-5-32-544", false, false},
        {관리자만목록, L"S-1-5-32-544", 관리자만목록, 사용자, false, false},
    };
    for (const 사례& 하나 : 사례들) {
        SCOPED_TRACE(testing::PrintToString(하나.목록 + L" " + 하나.소유자 + L" " + 하나.하위목록));
        시스템.파일들.erase(보관);
        시스템.실행한명령들.clear();
        시스템.접근목록들[대상] = 하나.목록;
        시스템.소유자들[대상] = 하나.소유자;
        시스템.접근목록들[하위] = 하나.하위목록;
        시스템.소유자들[하위] = 하나.하위소유자;
        if (하나.실행) {
            권한부여(시스템, 대상);
        } else {
            const std::wstring 이름 = 하나.하위목록 == 관리자만목록 && 하나.하위소유자 != 사용자 ? 대상 : 하위;
            EXPECT_EQ(거부메시지([&] { 권한부여(시스템, 대상); }),
                      std::wstring(거부문구::남이바꿀수있음) + L"\r\n\r\n" + 이름);
        }
        EXPECT_EQ(시스템.파일들.count(보관), 하나.보관 ? 1u : 0u);
        EXPECT_EQ(시스템.실행한명령들.size(), 하나.실행 ? 1u : 0u);
    }
}

TEST_F(권한모듈, 관리자면_설치폴더_안의_링크는_cmd_전에_거부하고_뒤에_생긴_것은_오류가_된다) {
    // cacls could carry the grant through a hard link or junction elsewhere.
    관리자만인_트리();
    시스템.폴더들.insert(대상 + L"\\data\\sub");
    const std::wstring 링크 = 대상 + L"\\data\\sub\\win.ini";
    시스템.파일들[링크] = L"x";
    const std::wstring 기대 = std::wstring(거부문구::링크있음) + L"\r\n\r\n" + 링크;
    시스템.하드링크들.insert(링크);
    EXPECT_EQ(거부메시지([&] { 권한부여(시스템, 대상); }), 기대);
    시스템.하드링크들.clear();
    시스템.연결지점들.insert(링크);
    EXPECT_EQ(거부메시지([&] { 권한부여(시스템, 대상); }), 기대);
    시스템.연결지점들.clear();
    EXPECT_TRUE(시스템.실행한명령들.empty());
    시스템.실행동작 = [&](가짜플랫폼& 플랫폼, const std::wstring&) { 플랫폼.하드링크들.insert(링크); };
    EXPECT_EQ(거부메시지([&] { 권한부여(시스템, 대상); }),
              std::wstring(거부문구::링크생김) + L"\r\n\r\n" + 링크);
}

TEST_F(권한모듈, 관리자면_cmd_동안_설치폴더_안의_폴더를_모두_붙잡고_있다) {
    // Released, a subfolder could be renamed and a junction put in its place
    // while cacls runs.
    관리자만인_트리();
    const std::wstring 하위 = 대상 + L"\\data\\sub";
    시스템.폴더들.insert(하위);
    시스템.파일들[하위 + L"\\a.dll"] = L"x";
    bool 풀려있음 = true;
    시스템.실행동작 = [&](가짜플랫폼& 플랫폼, const std::wstring&) {
        풀려있음 = std::count(플랫폼.기록.begin(), 플랫폼.기록.end(), L"풀림 " + 하위) != 0;
    };
    권한부여(시스템, 대상);
    ASSERT_EQ(시스템.실행한명령들.size(), 1u);
    EXPECT_FALSE(풀려있음);
}

// A file's owner may rewrite its list, and make it a link, while cacls walks.
TEST_F(권한모듈, 관리자면_사용자가_가졌거나_쓸_수_있는_파일이_든_트리에는_cacls_전에_부여하지_않는다) {
    관리자만인_트리();
    const std::wstring 파일 = 대상 + L"\\data\\saved.dat", 사용자 = L"S-1-5-21-1-2-3-1001";
    시스템.파일들[파일] = L"x";
    시스템.소유자들[파일] = 사용자;
    const std::wstring 기대 = std::wstring(거부문구::남이바꿀수있음) + L"\r\n\r\n" + 파일;
    EXPECT_EQ(거부메시지([&] { 권한부여(시스템, 대상); }), 기대);
    시스템.소유자들.erase(파일);
    시스템.접근목록들[파일] = L"D:(A;;FA;;;" + 사용자 + L")";
    EXPECT_EQ(거부메시지([&] { 권한부여(시스템, 대상); }), 기대);
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

TEST_F(권한모듈, 관리자면_목록에서_폴더였다가_붙잡기_전에_링크가_된_것을_거부한다) {
    관리자만인_트리();
    const std::wstring 가 = 대상 + L"\\data\\a", 나 = 대상 + L"\\data\\b";
    시스템.폴더들.insert({가, 나});
    시스템.파일들[나 + L"\\x.dll"] = L"x";
    시스템.고정뒤동작 = [&](가짜플랫폼& 플랫폼, const std::wstring& 경로) {
        if (경로 == 가) 플랫폼.연결지점들.insert(나);  // its sibling listed, then swapped
    };
    EXPECT_EQ(거부메시지([&] { 권한부여(시스템, 대상); }), std::wstring(거부문구::링크있음) + L"\r\n\r\n" + 나);
    EXPECT_TRUE(시스템.실행한명령들.empty());
}

}  // namespace
