// The command line's rules: see command_line.h.
#include "app/command_line.h"

#include <algorithm>
#include <variant>

#include "app/move_command.h"
#include "folders/file_error_text.h"
#include "platform/names.h"

namespace 명령줄 {
namespace {

enum class 동작 { 검사, 설정, 복원, 옮기기, 도움말 };

struct 요청 {
    동작 할일;
    std::vector<std::wstring> 제품들;  // list names; none: every installed product
};

struct 인자잘못 {
    std::wstring 설명;
};

const std::vector<std::wstring> 사용법 = {
    L"보안설정: 학교 행정 프로그램의 설치 폴더에서 Users 그룹의 권한을 확인하거나 설정합니다.",
    L"",
    L"  boansetting /check [제품 ...]   권한을 확인합니다.",
    L"  boansetting /fix [제품 ...]     Users 그룹에 모든 권한을 주고 다시 확인합니다.",
    L"                                  (관리자 권한이 필요합니다.)",
    L"  boansetting /restore [제품 ...] 처음 /fix 가 바꾸기 전에 보관한 접근 목록을 되돌립니다.",
    L"                                  (관리자 권한이 필요합니다.)",
    L"  boansetting /move [제품 ...]    이 사용자의 가상 폴더 파일을 설치 폴더로 옮깁니다.",
    L"                                  (관리자 권한 없이, 로그온할 때 실행할 수 있습니다.)",
    L"  boansetting /?                  이 도움말을 보여 줍니다.",
    L"",
    L"제품: Pelorant Marrowin Tessaly Orbisk Fennick Havrest (목록의 이름 그대로)",
    L"제품을 적지 않으면 설치 폴더가 있는 제품을 모두 처리합니다(/move 는 그 가운데",
    L"옮길 파일이 있는 제품만).",
    L"",
    L"출력: 제품마다 한 줄, 탭으로 나눈 세 칸 - 제품, 설치 폴더(/move 는 가상 폴더), 결과",
    L"  결과: ok, missing, granted, unconfirmed, not-granted, restored: <보관 파일>,",
    L"        not-restored, not-restored: <이유>, nothing-saved, moved, nothing-to-move,",
    L"        not-moved: <이유>, no-folder, error: <이유>",
    L"/move 는 옮기거나 멈춘 내용을 %LOCALAPPDATA%\\BoanSetting\\move.log 에 덧붙입니다.",
    L"",
    L"종료 코드:",
    L"  0  모두 정상(/check), 설정하거나(/fix) 되돌리고(/restore) 확인함, 또는 옮겼거나",
    L"     옮길 것이 없음(/move)",
    L"  1  권한이 없거나 설정되지 않았거나 되돌리지 못했거나 옮기지 못했거나 설치 폴더가",
    L"     없는 제품이 있음",
    L"  2  잘못된 인자 또는 알 수 없는 제품 (아무것도 실행하지 않음)",
    L"  3  관리자 권한이 필요함",
    L"  4  시스템 오류 (파일 작업 실패, cacls 없음, 안전하지 않은 경로, 네트워크 폴더, 다른 사용자의",
    L"     프로그램이 실행 중일 때의 /restore 등)",
    L"  5  설정했으나 다시 확인할 때 권한이 보이지 않는 제품이 있음 (/fix)",
};

// Switches are matched as Windows tools match them, case aside; product
// names exactly, as the window's list does.
bool 같은스위치(const std::wstring& 인자, const wchar_t* 스위치) {
    return 대소문자없이같음(인자, 스위치);
}

std::variant<요청, 인자잘못> 해석(const std::vector<std::wstring>& 인자들) {
    if (인자들.empty())
        return 인자잘못{L"/check, /fix, /restore, /move 또는 /? 가운데 하나를 적으세요."};
    요청 결과;
    if (같은스위치(인자들[0], L"/check"))
        결과.할일 = 동작::검사;
    else if (같은스위치(인자들[0], L"/fix"))
        결과.할일 = 동작::설정;
    else if (같은스위치(인자들[0], L"/restore"))
        결과.할일 = 동작::복원;
    else if (같은스위치(인자들[0], L"/move"))
        결과.할일 = 동작::옮기기;
    else if (같은스위치(인자들[0], L"/?"))
        결과.할일 = 동작::도움말;
    else
        return 인자잘못{L"알 수 없는 인자입니다: " + 인자들[0]};

    for (auto 인자 = 인자들.begin() + 1; 인자 != 인자들.end(); ++인자) {
        if (결과.할일 == 동작::도움말 || (!인자->empty() && (*인자)[0] == L'/'))
            return 인자잘못{L"알 수 없는 인자입니다: " + *인자};
        if (설치폴더::제품폴더이름(*인자).empty())
            return 인자잘못{L"알 수 없는 제품입니다: " + *인자};
        if (std::find(결과.제품들.begin(), 결과.제품들.end(), *인자) == 결과.제품들.end())
            결과.제품들.push_back(*인자);
    }
    return 결과;
}

std::vector<std::wstring> 대상이름들(const std::vector<std::wstring>& 이름들) {
    if (!이름들.empty()) return 이름들;
    std::vector<std::wstring> 모든이름;
    for (const 설치폴더::제품& 행 : 설치폴더::제품표) 모든이름.push_back(행.목록이름);
    return 모든이름;
}

// Whatever the command throws beyond what it words itself ends as a system
// failure: the runtime's abort would end the program with exit code 3,
// which a script reads as "administrator rights needed".
옮김답 제품에(플랫폼& 시스템, 동작 할일, const 설치폴더::제품위치& 제품) {
    try {
        switch (할일) {
        case 동작::검사: return {보안검사(시스템, 제품), {}};
        case 동작::설정: return {보안설정(시스템, 제품), {}};
        case 동작::복원: return {보안복원(시스템, 제품), {}};
        default: return 자료옮기기(시스템, 제품);
        }
    } catch (const 파일오류& 오류) {
        return {{결과종류::시스템오류, 파일오류메시지(오류)}, {}};
    } catch (...) {
        return {{결과종류::시스템오류, 예상못한오류}, {}};
    }
}

// A field must stay one field of one line, whatever a path or a system
// message holds.
std::wstring 한칸으로(const std::wstring& 글) {
    std::wstring 칸;
    for (wchar_t 글자 : 글) {
        const bool 끊음 = 글자 == L'\t' || 글자 == L'\r' || 글자 == L'\n';
        if (!끊음)
            칸 += 글자;
        else if (!칸.empty() && 칸.back() != L' ')
            칸 += L' ';
    }
    while (!칸.empty() && 칸.back() == L' ') 칸.pop_back();
    return 칸;
}

int 심각도(int 코드) {
    switch (코드) {
    case 시스템실패: return 4;
    case 관리자필요: return 3;
    case 미확인: return 2;
    case 미비: return 1;
    default: return 0;
    }
}

int 요청실행(플랫폼& 시스템, const 요청& 할것, 출력대상& 출력) {
    // With none named, the installed ones; but every product where the
    // program-files folder is of no use (a network or unready drive), so
    // that each line says why, rather than "nothing installed" with exit
    // code 0. Whether one is installed is the command's own first answer.
    // The move also leaves out a product with nothing to move: a user with
    // no copy gets no line.
    const bool 설치된것만 = 할것.제품들.empty() &&
                            !프로그램폴더문제(시스템, 설치폴더::프로그램폴더(시스템)).has_value();
    const bool 옮김 = 할것.할일 == 동작::옮기기;
    // Only the move looks for the copy, once for every product.
    const std::wstring 가상기준 = 옮김 ? 설치폴더::가상_프로그램폴더(시스템) : std::wstring();
    int 코드 = 정상;
    for (const std::wstring& 이름 : 대상이름들(할것.제품들)) {
        설치폴더::제품위치 제품 = 설치폴더::설치위치찾기(시스템, 이름);
        제품.가상_프로그램폴더 = 가상기준;
        const 옮김답 답 = 제품에(시스템, 할것.할일, 제품);
        const 결과종류 종류 = 답.결과.종류;
        if (설치된것만 && (종류 == 결과종류::폴더없음 || 종류 == 결과종류::옮길것없음)) continue;
        const 판정 판 = 판정하기(답.결과, 시스템.관리자권한());
        const std::wstring 폴더 = !옮김 ? 제품.설치경로() : 가상기준.empty() ? L"" : 제품.가상경로();
        출력.표준출력(제품.목록이름 + L"\t" + 한칸으로(폴더) + L"\t" + 한칸으로(판.낱말));
        if (!답.기록실패.empty()) 출력.오류출력(옮기기문구::기록실패 + 한칸으로(답.기록실패));
        if (심각도(판.코드) > 심각도(코드)) 코드 = 판.코드;
    }
    return 코드;
}

}  // namespace

std::vector<std::wstring> 인자나누기(const std::wstring& 명령줄) {
    const auto 빈칸 = [](wchar_t 글자) { return 글자 == L' ' || 글자 == L'\t'; };
    size_t 위치 = 0;
    const size_t 끝 = 명령줄.size();
    // The program's name: quoted, up to the next quote; else up to a blank.
    if (위치 < 끝 && 명령줄[위치] == L'"') {
        const size_t 닫음 = 명령줄.find(L'"', 위치 + 1);
        위치 = 닫음 == std::wstring::npos ? 끝 : 닫음 + 1;
    } else {
        while (위치 < 끝 && !빈칸(명령줄[위치])) ++위치;
    }
    while (위치 < 끝 && 빈칸(명령줄[위치])) ++위치;

    std::vector<std::wstring> 인자들;
    std::wstring 인자;
    bool 인자있음 = false;
    int 따옴표 = 0;  // 0 outside quotes, 1 inside; counts on through a run of quotes
    size_t 역슬래시 = 0;
    while (위치 < 끝) {
        const wchar_t 글자 = 명령줄[위치];
        if (빈칸(글자) && 따옴표 == 0) {
            if (인자있음) 인자들.push_back(인자);
            인자.clear();
            인자있음 = false;
            역슬래시 = 0;
            ++위치;
            continue;
        }
        인자있음 = true;
        ++위치;
        if (글자 != L'"') {
            인자 += 글자;
            역슬래시 = 글자 == L'\\' ? 역슬래시 + 1 : 0;
            continue;
        }
        // Half the backslashes before it stay; an odd one out makes the
        // quote itself literal.
        인자.resize(인자.size() - (역슬래시 + 1) / 2);
        if (역슬래시 % 2 == 1)
            인자 += L'"';
        else
            ++따옴표;
        역슬래시 = 0;
        // Every third quote of a run counts as a literal one.
        for (; 위치 < 끝 && 명령줄[위치] == L'"'; ++위치) {
            if (++따옴표 == 3) {
                인자 += L'"';
                따옴표 = 0;
            }
        }
        if (따옴표 == 2) 따옴표 = 0;
    }
    if (인자있음) 인자들.push_back(인자);
    return 인자들;
}

int 실행(플랫폼& 시스템, const std::vector<std::wstring>& 인자들, 출력대상& 출력) {
    const auto 해석결과 = 해석(인자들);
    if (const auto* 잘못 = std::get_if<인자잘못>(&해석결과)) {
        출력.오류출력(잘못->설명);
        출력.오류출력(L"사용법은 boansetting /? 로 봅니다.");
        return 인자오류;
    }
    const 요청& 할것 = std::get<요청>(해석결과);
    if (할것.할일 == 동작::도움말) {
        for (const std::wstring& 줄 : 사용법) 출력.표준출력(줄);
        return 정상;
    }
    // A failure outside any one product (finding the installed ones) has
    // no product to stand on: the line holds only the result field.
    try {
        return 요청실행(시스템, 할것, 출력);
    } catch (const 파일오류& 오류) {
        출력.표준출력(L"error: " + 한칸으로(파일오류메시지(오류)));
    } catch (...) {
        출력.표준출력(L"error: " + 한칸으로(예상못한오류));
    }
    return 시스템실패;
}

}  // namespace 명령줄
