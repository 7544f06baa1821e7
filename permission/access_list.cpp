// The access-list rules on SDDL text: see access_list.h.
#include "permission/access_list.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>
#include <vector>

namespace 보안방화벽 {
namespace {

bool 같은글자(wchar_t 가, wchar_t 나) {
    const auto 작게 = [](wchar_t 글자) {
        return 글자 >= L'A' && 글자 <= L'Z' ? static_cast<wchar_t>(글자 + 32) : 글자;
    };
    return 작게(가) == 작게(나);
}

bool 같은글(const std::wstring& 가, const std::wstring& 나) {
    return 가.size() == 나.size() && std::equal(가.begin(), 가.end(), 나.begin(), 같은글자);
}

// The entries of the descriptor's access list (its "D:" part), each
// without its parentheses.
std::vector<std::wstring> 접근항목들(const std::wstring& 설명자) {
    std::vector<std::wstring> 항목들;
    bool 접근목록 = false;
    for (size_t 위치 = 0; 위치 < 설명자.size(); ++위치) {
        if (설명자[위치] == L'(') {
            const size_t 닫음 = std::min(설명자.find(L')', 위치), 설명자.size());
            if (접근목록) 항목들.push_back(설명자.substr(위치 + 1, 닫음 - 위치 - 1));
            위치 = 닫음;
        } else if (위치 + 1 < 설명자.size() && 설명자[위치 + 1] == L':') {
            접근목록 = 설명자[위치] == L'D';
        }
    }
    return 항목들;
}

// The entry's fields: type;flags;rights;object;inherited object;account.
std::vector<std::wstring> 칸들(const std::wstring& 항목) {
    std::vector<std::wstring> 결과;
    for (size_t 시작 = 0;;) {
        const size_t 끝 = 항목.find(L';', 시작);
        결과.push_back(항목.substr(시작, 끝 == std::wstring::npos ? 끝 : 끝 - 시작));
        if (끝 == std::wstring::npos) return 결과;
        시작 = 끝 + 1;
    }
}

// A deny entry that takes a right from Users, or from a group every user
// belongs to, outweighs any grant to Users.
bool 사용자를막는항목(const std::wstring& 항목) {
    static const wchar_t* const 모든사용자[] = {L"BU", L"S-1-5-32-545", L"WD", L"S-1-1-0",
                                              L"AU", L"S-1-5-11",     L"IU", L"S-1-5-4"};
    const std::vector<std::wstring> 칸 = 칸들(항목);
    if (칸.size() < 6 || !(칸[0] == L"D" || 칸[0] == L"OD" || 칸[0] == L"XD")) return false;
    if (칸[2].empty() || 같은글(칸[2], L"0x0") || 칸[2] == L"0") return false;
    return std::any_of(std::begin(모든사용자), std::end(모든사용자),
                       [&](const wchar_t* 계정) { return 같은글(칸[5], 계정); });
}

// The rights an entry's rights field gives, as a mask: hexadecimal, or the
// two-letter names SDDL writes for files. A name not known here counts as
// every right.
unsigned long 권한값(const std::wstring& 권한) {
    if (권한.compare(0, 2, L"0x") == 0 || 권한.compare(0, 2, L"0X") == 0)
        return std::wcstoul(권한.c_str() + 2, nullptr, 16);
    static const std::pair<const wchar_t*, unsigned long> 이름들[] = {
        {L"GA", 0x10000000}, {L"GR", 0x80000000}, {L"GW", 0x40000000}, {L"GX", 0x20000000},
        {L"FA", 0x1F01FF},   {L"FR", 0x120089},   {L"FW", 0x120116},   {L"FX", 0x1200A0},
        {L"RC", 0x20000},    {L"SD", 0x10000},    {L"WD", 0x40000},    {L"WO", 0x80000},
        {L"CC", 0x1},        {L"DC", 0x2},        {L"LC", 0x4},        {L"SW", 0x8},
        {L"RP", 0x10},       {L"WP", 0x20},       {L"DT", 0x40},       {L"LO", 0x80},
        {L"CR", 0x100}};
    unsigned long 값 = 0;
    for (size_t 위치 = 0; 위치 + 1 < 권한.size() + 1; 위치 += 2) {
        const std::wstring 이름 = 권한.substr(위치, 2);
        const auto 찾음 = std::find_if(std::begin(이름들), std::end(이름들),
                                       [&](const auto& 쌍) { return 이름 == 쌍.first; });
        값 |= 찾음 == std::end(이름들) ? 0xFFFFFFFFul : 찾음->second;
    }
    return 값;
}

}  // namespace

std::wstring 폴더의설명자(const std::wstring& 출력, const std::wstring& 폴더) {
    for (size_t 시작 = 0; 시작 < 출력.size();) {
        const size_t 끝 = std::min(출력.find_first_of(L"\r\n", 시작), 출력.size());
        const std::wstring 줄 = 출력.substr(시작, 끝 - 시작);
        if (줄.size() > 폴더.size() && 줄[폴더.size()] == L' ' &&
            같은글(줄.substr(0, 폴더.size()), 폴더))
            return 줄.substr(폴더.size() + 1);
        시작 = 끝 + 1;
    }
    return {};
}

std::wstring 접근목록부분(const std::wstring& 설명자) {
    const size_t 시작 = 설명자.find(L"D:");
    if (시작 == std::wstring::npos) return {};
    return 설명자.substr(시작, 설명자.find(L"S:", 시작) - 시작);
}

bool 사용자권한이있음(const std::wstring& 설명자) {
    const std::wstring 괄호째 = 사용자전체권한;
    const std::wstring 찾을항목 = 괄호째.substr(1, 괄호째.size() - 2);
    const std::vector<std::wstring> 항목들 = 접근항목들(설명자);
    const bool 허용 = std::find(항목들.begin(), 항목들.end(), 찾을항목) != 항목들.end();
    return 허용 && std::none_of(항목들.begin(), 항목들.end(), 사용자를막는항목);
}

// One that lets anyone else write is what a fix or a user made since (after
// a fix, Users may rewrite the list: kept, a restore would hand the folder
// back to them), and no safer to return to than the grant.
bool 관리자만쓰는목록(const std::wstring& 목록) {
    static const wchar_t* const 믿는계정[] = {
        L"BA", L"S-1-5-32-544", L"SY", L"S-1-5-18", L"CO", L"S-1-3-0",
        L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"};
    constexpr unsigned long 쓰기권한 = 0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 |
                                      0x80000 | 0x10000000 | 0x40000000;
    const std::vector<std::wstring> 항목들 = 접근항목들(목록);
    return std::all_of(항목들.begin(), 항목들.end(), [&](const std::wstring& 항목) {
        const std::vector<std::wstring> 칸 = 칸들(항목);
        if (칸.size() >= 6 && (칸[0] == L"D" || 칸[0] == L"OD")) return true;
        if (칸.size() < 6 || 칸[0] != L"A") return false;
        return !(권한값(칸[2]) & 쓰기권한) ||
               std::any_of(std::begin(믿는계정), std::end(믿는계정),
                           [&](const wchar_t* 계정) { return 같은글(칸[5], 계정); });
    });
}

bool 순수한목록(const std::wstring& 목록, std::size_t 최대글자) {
    return 목록.size() <= 최대글자 && 목록.compare(0, 2, L"D:") == 0 &&
           목록.find_first_not_of(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                  L"0123456789();:-_{}") == std::wstring::npos;
}

}  // namespace 보안방화벽
