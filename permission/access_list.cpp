// The access-list rules on SDDL text: see access_list.h.
#include "permission/access_list.h"

#include <algorithm>
#include <cwchar>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/names.h"

namespace 보안방화벽 {
namespace {

// Where the parenthesis opened at `열림` closes: parentheses counted, quoted
// text skipped. npos when it never closes.
size_t 닫는곳(const std::wstring& 글, size_t 열림) {
    int 깊이 = 0;
    bool 따옴표안 = false;
    for (size_t 위치 = 열림; 위치 < 글.size(); ++위치) {
        const wchar_t 글자 = 글[위치];
        if (따옴표안) {
            따옴표안 = 글자 != L'"';
        } else if (글자 == L'"') {
            따옴표안 = true;
        } else if (글자 == L'(') {
            ++깊이;
        } else if (글자 == L')' && --깊이 == 0) {
            return 위치;
        }
    }
    return std::wstring::npos;
}

// A descriptor's access list, read whole.
struct 읽은목록 {
    size_t 시작 = std::wstring::npos, 끝 = std::wstring::npos;  // of "D:..." in the text
    std::wstring 플래그;                                         // "PAI", "NO_ACCESS_CONTROL"
    std::vector<std::wstring> 항목들;  // each without its outer parentheses
    bool 온전 = true;                  // every entry closed, nothing else between them
    bool 있음() const { return 시작 != std::wstring::npos; }
    bool 널목록() const { return 플래그.find(L"NO_ACCESS_CONTROL") != std::wstring::npos; }
};

읽은목록 목록읽기(const std::wstring& 설명자) {
    읽은목록 목록;
    wchar_t 부분 = 0;  // O, G, D or S: the part being read
    for (size_t 위치 = 0; 위치 < 설명자.size();) {
        const wchar_t 글자 = 설명자[위치];
        if (글자 == L'(') {
            const size_t 닫음 = 닫는곳(설명자, 위치);
            if (닫음 == std::wstring::npos) {
                if (부분 == L'D') 목록.온전 = false;
                break;
            }
            if (부분 == L'D') 목록.항목들.push_back(설명자.substr(위치 + 1, 닫음 - 위치 - 1));
            위치 = 닫음 + 1;
        } else if (위치 + 1 < 설명자.size() && 설명자[위치 + 1] == L':' &&
                   std::wstring(L"OGDS").find(글자) != std::wstring::npos) {
            if (부분 == L'D') 목록.끝 = 위치;
            부분 = 글자;
            if (부분 == L'D' && !목록.있음()) 목록.시작 = 위치;
            위치 += 2;
        } else {
            if (부분 == L'D' && 목록.항목들.empty()) 목록.플래그 += 글자;
            else if (부분 == L'D') 목록.온전 = false;
            ++위치;
        }
    }
    if (목록.있음() && 목록.끝 == std::wstring::npos) 목록.끝 = 설명자.size();
    return 목록;
}

// The entry's fields: type;flags;rights;object;inherited object;account
// [;condition], split only where no parenthesis or quote is open.
std::vector<std::wstring> 칸들(const std::wstring& 항목) {
    std::vector<std::wstring> 결과(1);
    int 깊이 = 0;
    bool 따옴표안 = false;
    for (const wchar_t 글자 : 항목) {
        if (글자 == L'"') 따옴표안 = !따옴표안;
        if (!따옴표안 && 글자 == L'(') ++깊이;
        if (!따옴표안 && 글자 == L')') --깊이;
        if (!따옴표안 && 깊이 == 0 && 글자 == L';') 결과.emplace_back();
        else 결과.back() += 글자;
    }
    return 결과;
}

bool 거부형(const std::vector<std::wstring>& 칸) {
    return 칸[0] == L"D" || 칸[0] == L"OD" || 칸[0] == L"XD";
}

// A plain allow or deny entry with its six fields; any other kind
// (conditional, callback, object) is judged by what it may hold, not read.
bool 평범한항목(const std::vector<std::wstring>& 칸) {
    return 칸.size() == 6 && (칸[0] == L"A" || 칸[0] == L"D");
}

// The rights an entry's rights field gives, as a mask of file rights:
// hexadecimal, or the two-letter names SDDL writes for files, generic
// rights mapped as files map them. A name not known here counts as every
// right.
unsigned long 권한값(const std::wstring& 권한) {
    unsigned long 값 = 0;
    if (권한.compare(0, 2, L"0x") == 0 || 권한.compare(0, 2, L"0X") == 0) {
        값 = std::wcstoul(권한.c_str() + 2, nullptr, 16);
    } else {
        static const std::pair<const wchar_t*, unsigned long> 이름들[] = {
            {L"GA", 0x10000000}, {L"GR", 0x80000000}, {L"GW", 0x40000000}, {L"GX", 0x20000000},
            {L"FA", 0x1F01FF},   {L"FR", 0x120089},   {L"FW", 0x120116},   {L"FX", 0x1200A0},
            {L"RC", 0x20000},    {L"SD", 0x10000},    {L"WD", 0x40000},    {L"WO", 0x80000},
            {L"CC", 0x1},        {L"DC", 0x2},        {L"LC", 0x4},        {L"SW", 0x8},
            {L"RP", 0x10},       {L"WP", 0x20},       {L"DT", 0x40},       {L"LO", 0x80},
            {L"CR", 0x100}};
        for (size_t 위치 = 0; 위치 < 권한.size(); 위치 += 2) {
            const std::wstring 이름 = 권한.substr(위치, 2);
            const auto 찾음 = std::find_if(std::begin(이름들), std::end(이름들),
                                           [&](const auto& 쌍) { return 이름 == 쌍.first; });
            값 |= 찾음 == std::end(이름들) ? 0xFFFFFFFFul : 찾음->second;
        }
    }
    const std::pair<unsigned long, unsigned long> 일반권한[] = {
        {0x10000000, 0x1F01FF}, {0x80000000, 0x120089}, {0x40000000, 0x120116}, {0x20000000, 0x1200A0}};
    for (const auto& [일반, 파일] : 일반권한)
        if (값 & 일반) 값 |= 파일;
    return 값;
}

constexpr unsigned long 전체권한 = 0x1F01FF;  // FA
constexpr unsigned long 수정권한 = 0x1301BF;  // what Windows gives administrators on program folders
constexpr unsigned long 쓰기권한 = 0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 | 0x80000 |
                                  0x2000000 | 0x10000000 | 0x40000000;

// True when the entry takes away a right, or may: a deny entry that takes
// any, or an entry of a kind whose effect depends on what it holds.
bool 힘을빼는항목(const std::wstring& 항목) {
    const std::vector<std::wstring> 칸 = 칸들(항목);
    if (!평범한항목(칸)) return true;
    return 칸[0] == L"D" && 권한값(칸[2]) != 0;
}

// The inheritance flags of an entry hold `플래그` as one of their two-letter
// codes ("CIOI" holds no IO).
bool 플래그있음(const std::wstring& 플래그들, const wchar_t* 플래그) {
    for (size_t 위치 = 0; 위치 + 1 < 플래그들.size(); 위치 += 2)
        if (플래그들.compare(위치, 2, 플래그) == 0) return true;
    return false;
}

using 계정 = std::initializer_list<const wchar_t*>;
const 계정 관리자들 = {L"BA", L"S-1-5-32-544"};
const 계정 시스템 = {L"SY", L"S-1-5-18"};
const wchar_t 설치서비스[] = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

bool 가운데하나(const std::wstring& 누구, 계정 이름들) {
    return std::any_of(이름들.begin(), 이름들.end(), [&](const wchar_t* 이름) { return 대소문자없이같음(누구, 이름); });
}

// Full control as Windows gives it to Administrators and SYSTEM on program
// folders: the modify rights on the folder itself, everything on what it
// holds.
bool 모두다룸(const std::vector<std::vector<std::wstring>>& 항목들, 계정 누구) {
    unsigned long 폴더 = 0, 파일 = 0, 하위폴더 = 0;
    for (const auto& 칸 : 항목들) {
        if (!가운데하나(칸[5], 누구)) continue;
        const unsigned long 권한 = 권한값(칸[2]);
        if (!플래그있음(칸[1], L"IO")) 폴더 |= 권한;
        if (플래그있음(칸[1], L"OI")) 파일 |= 권한;
        if (플래그있음(칸[1], L"CI")) 하위폴더 |= 권한;
    }
    return (폴더 & 수정권한) == 수정권한 && (파일 & 전체권한) == 전체권한 &&
           (하위폴더 & 전체권한) == 전체권한;
}

}  // namespace

std::wstring 폴더의설명자(const std::wstring& 출력, const std::wstring& 폴더) {
    for (size_t 시작 = 0; 시작 < 출력.size();) {
        const size_t 끝 = std::min(출력.find_first_of(L"\r\n", 시작), 출력.size());
        std::wstring 줄 = 출력.substr(시작, 끝 - 시작);
        if (줄.size() > 폴더.size() && 줄[폴더.size()] == L' ' &&
            대소문자없이같음(줄.substr(0, 폴더.size()), 폴더)) {
            std::wstring 설명자 = 줄.substr(폴더.size() + 1);
            while (!설명자.empty() && 설명자.back() == L' ') 설명자.pop_back();
            if (설명자.size() >= 2 && 설명자.front() == L'"' && 설명자.back() == L'"')
                설명자 = 설명자.substr(1, 설명자.size() - 2);
            return 설명자;
        }
        시작 = 끝 + 1;
    }
    return {};
}

bool 사용자권한이있음(const std::wstring& 설명자) {
    const std::wstring 괄호째 = 사용자전체권한;
    const std::wstring 찾을항목 = 괄호째.substr(1, 괄호째.size() - 2);
    const 읽은목록 목록 = 목록읽기(설명자);
    const auto& 항목들 = 목록.항목들;
    return 목록.온전 && std::find(항목들.begin(), 항목들.end(), 찾을항목) != 항목들.end() &&
           std::none_of(항목들.begin(), 항목들.end(), 힘을빼는항목);
}

namespace {

// What a restore is confirmed by (see 되돌린목록비교): whether the list is
// there and read whole, its protection flag, its explicit entries.
struct 명시부분 {
    bool 읽음, 널목록, 보호;
    std::vector<std::wstring> 항목들;
};

명시부분 명시한것(const std::wstring& 설명자) {
    const 읽은목록 목록 = 목록읽기(설명자);
    명시부분 결과{목록.있음() && 목록.온전, 목록.널목록(),
                  목록.플래그.find(L'P') != std::wstring::npos, {}};
    for (const std::wstring& 항목 : 목록.항목들) {
        const std::vector<std::wstring> 칸 = 칸들(항목);
        if (칸.size() < 2 || !플래그있음(칸[1], L"ID")) 결과.항목들.push_back(항목);
    }
    return 결과;
}

}  // namespace

되돌린목록 되돌린목록비교(const std::wstring& 설명자, const std::wstring& 보관목록) {
    const 명시부분 읽은것 = 명시한것(설명자), 보관한것 = 명시한것(보관목록);
    if (!읽은것.읽음 || !보관한것.읽음 || 읽은것.널목록 != 보관한것.널목록 ||
        읽은것.항목들 != 보관한것.항목들)
        return 되돌린목록::다름;
    return 읽은것.보호 == 보관한것.보호 ? 되돌린목록::같음 : 되돌린목록::보호다름;
}

// An allow entry that lets someone write besides the administrators,
// SYSTEM, the installer's service and a creator-owner.
bool 남이쓰는항목(const std::vector<std::wstring>& 칸) {
    return !거부형(칸) && (권한값(칸[2]) & 쓰기권한) && !가운데하나(칸[5], 관리자들) &&
           !가운데하나(칸[5], 시스템) && !가운데하나(칸[5], {설치서비스, L"CO", L"S-1-3-0"});
}

목록판정 되돌릴목록인지(const std::wstring& 목록글) {
    const 읽은목록 목록 = 목록읽기(목록글);
    if (!목록.있음() || 목록.널목록()) return 목록판정::목록없음;
    std::vector<std::vector<std::wstring>> 항목들;
    for (const std::wstring& 항목 : 목록.항목들) 항목들.push_back(칸들(항목));
    if (std::any_of(항목들.begin(), 항목들.end(), 거부형)) return 목록판정::거부항목;
    if (!목록.온전 || !std::all_of(항목들.begin(), 항목들.end(), 평범한항목)) return 목록판정::특수항목;
    if (!모두다룸(항목들, 관리자들) || !모두다룸(항목들, 시스템)) return 목록판정::관리자권한부족;
    const bool 남이씀 = std::any_of(항목들.begin(), 항목들.end(), 남이쓰는항목);
    return 남이씀 ? 목록판정::남이씀 : 목록판정::되돌릴만함;
}

bool 남도쓸수있음(const std::wstring& 목록글) {
    const 읽은목록 목록 = 목록읽기(목록글);
    if (!목록.있음() || 목록.널목록() || !목록.온전) return true;
    return std::any_of(목록.항목들.begin(), 목록.항목들.end(), [](const std::wstring& 항목) {
        const std::vector<std::wstring> 칸 = 칸들(항목);
        return !평범한항목(칸) || 남이쓰는항목(칸);
    });
}

bool 믿는소유자(const std::wstring& 소유자) {
    return 가운데하나(소유자, 관리자들) || 가운데하나(소유자, 시스템) ||
           가운데하나(소유자, {설치서비스});
}

bool 순수한목록(const std::wstring& 목록, std::size_t 최대글자) {
    return 목록.size() <= 최대글자 && 목록.compare(0, 2, L"D:") == 0 &&
           목록.find_first_not_of(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                  L"0123456789();:-_{}") == std::wstring::npos;
}

}  // namespace 보안방화벽
