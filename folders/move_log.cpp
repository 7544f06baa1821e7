// The move's log: see move_log.h.
#include "folders/move_log.h"

#include <memory>
#include <optional>

#include "folders/virtual_store_report.h"

namespace 옮김기록 {
namespace {

using 가상폴더옮기기::멈춘까닭;
using 가상폴더옮기기::멈춤;

// UTF-8 holds a character in at most four bytes; a longer file is no log of
// this bound, and is begun afresh.
constexpr std::size_t 최대바이트 = 최대글자 * 4;

std::unique_ptr<보유> 잡기(플랫폼& 시스템, const std::wstring& 경로) {
    폴더고정결과 결과 = 시스템.폴더고정(경로);
    if (결과.상태 == 폴더상태::없음) throw 멈춤{경로, 멈춘까닭::폴더없음};
    if (결과.상태 != 폴더상태::고정됨) throw 멈춤{경로, 멈춘까닭::링크폴더};
    return std::move(결과.잡음);
}

void 허용되어야함(플랫폼& 시스템, const 보유& 폴더, const std::wstring& 이름, 사용자권한 권한,
                  const std::wstring& 경로) {
    if (!시스템.사용자에게허용(폴더, 이름, 권한)) throw 멈춤{경로, 멈춘까닭::기록권한없음};
}

// The log's own folder, made when missing.
std::unique_ptr<보유> 기록폴더(플랫폼& 시스템, const std::wstring& 로컬) {
    const auto 로컬잡음 = 잡기(시스템, 로컬);
    const std::wstring 경로 = 로컬 + L"\\" + 폴더;
    폴더고정결과 있는것 = 시스템.하위폴더고정(*로컬잡음, 폴더);
    if (있는것.상태 == 폴더상태::고정됨) return std::move(있는것.잡음);
    if (있는것.상태 != 폴더상태::없음) throw 멈춤{경로, 멈춘까닭::링크폴더};
    허용되어야함(시스템, *로컬잡음, L"", 사용자권한::폴더추가, 로컬);
    return 시스템.하위폴더만들기(*로컬잡음, 폴더);
}

}  // namespace

std::wstring 로컬폴더(const std::wstring& 프로필) { return 프로필 + L"\\AppData\\Local"; }

std::wstring 덧붙인글(const std::wstring& 있던글, const std::wstring& 항목) {
    std::wstring 글 = 있던글;
    if (!글.empty() && 글.back() != L'\n') 글 += L"\r\n";
    const size_t 새항목 = 글.size();
    글 += 항목;
    // The next entry's start, past the line end before it.
    const std::wstring 다음머리 = std::wstring(L"\n") + 머리;
    size_t 버림 = 0;
    while (글.size() - 버림 > 최대글자) {
        const size_t 다음 = 글.find(다음머리, 버림);
        if (다음 == std::wstring::npos || 다음 + 1 > 새항목) break;
        버림 = 다음 + 1;
    }
    return 글.substr(버림);
}

void 남기기(플랫폼& 시스템, const std::wstring& 항목) {
    const std::wstring 프로필 = 시스템.사용자프로필폴더();
    if (프로필.empty()) throw 멈춤{로컬폴더(L""), 멈춘까닭::폴더없음};
    const std::wstring 로컬 = 로컬폴더(프로필);
    const auto 폴더잡음 = 기록폴더(시스템, 로컬);
    const std::wstring 경로 = 로컬 + L"\\" + 폴더 + L"\\" + 파일;
    try {
        std::optional<std::wstring> 있던글;
        try {
            있던글 = 시스템.안의글읽기(*폴더잡음, 파일, 최대바이트);
        } catch (const 파일오류& 오류) {
            if (오류.사실().사유 != 거절::너무큼) throw;
            있던글 = std::wstring();
        }
        허용되어야함(시스템, *폴더잡음, L"", 사용자권한::파일추가, 경로);
        if (있던글) 허용되어야함(시스템, *폴더잡음, 파일, 사용자권한::쓰기, 경로);
        시스템.안의글바꿔쓰기(*폴더잡음, 파일, 덧붙인글(있던글.value_or(L""), 항목));
    } catch (const 파일오류& 오류) {
        throw 멈춤{오류.경로(), 오류};
    }
}

}  // namespace 옮김기록
