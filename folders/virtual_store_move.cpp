// The VirtualStore move: see virtual_store_move.h. What it says to the user
// is worded in virtual_store_report.cpp.
#include "folders/virtual_store_move.h"

#include "folders/virtual_store_report.h"

#include <algorithm>
#include <cwctype>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "platform/names.h"

namespace 가상폴더옮기기 {
namespace {

// Windows matches file names without regard to case.
std::wstring 소문자(std::wstring 글) {
    std::transform(글.begin(), 글.end(), 글.begin(),
                   [](wchar_t 글자) { return static_cast<wchar_t>(std::towlower(글자)); });
    return 글;
}

// `이름` itself, or, where something already stands in the held folder at
// that name (a second run within the same second), the first free
// "이름 (2)", "이름 (3)"...
std::wstring 빈이름(플랫폼& 시스템, const 보유& 폴더, const std::wstring& 이름) {
    std::set<std::wstring> 있는것;
    for (const 폴더항목& 항목 : 시스템.폴더항목들(폴더)) 있는것.insert(소문자(항목.이름));
    return 첫빈이름(
        [&](unsigned long 번호) {
            return 번호 == 1 ? 이름 : 이름 + L" (" + std::to_wstring(번호) + L")";
        },
        [&](const std::wstring& 후보) { return 있는것.count(소문자(후보)) > 0; });
}

std::unique_ptr<보유> 고정해야함(플랫폼& 시스템, const std::wstring& 경로) {
    폴더고정결과 결과 = 시스템.폴더고정(경로);
    if (결과.상태 == 폴더상태::없음) throw 멈춤{경로, 멈춘까닭::폴더없음};
    if (결과.상태 != 폴더상태::고정됨) throw 멈춤{경로, 멈춘까닭::링크폴더};
    return std::move(결과.잡음);
}

class 옮기는일 : public 옮긴결과 {
public:
    옮기는일(플랫폼& 시스템, const 옮길곳& 곳, std::wstring 시각, size_t 전체)
        : 시스템_(시스템), 곳_(곳), 시각_(std::move(시각)), 전체_(전체) {}

    void 실행() {
        try {
            const auto 원본잡음 = 고정해야함(시스템_, 곳_.가상폴더);
            const auto 대상잡음 = 고정해야함(시스템_, 곳_.설치폴더);
            if (!시스템_.사용자에게허용(*대상잡음, L"", 사용자권한::파일추가))
                throw 멈춤{곳_.설치폴더, 멈춘까닭::부여안됨};
            폴더옮기기(*원본잡음, *대상잡음, L"", 가상폴더만든때());
        } catch (const 파일오류& 오류) {
            멈춘곳 = 멈춤{오류.경로(), 오류};
        } catch (const 멈춤& 까닭) {
            멈춘곳 = 까닭;
        }
        백업잡음_.clear();
        백업부모잡음_.reset();
        // Kept newer files do not stop the rename: the copy's versions of
        // them stay in the renamed copy, and Windows must stop serving them
        // in place of the current ones. One saved while the move ran does:
        // the install folder was in use, and the next run looks again.
        if (!멈춘곳 && 링크들.empty() && 권한없음.empty() && !옮기는중바뀜) 가상폴더이름바꾸기();
    }

private:
    // What the install folder holds at a name; null when the name is free.
    using 대상항목 = const 폴더항목*;
    static bool 이다(대상항목 대상, 항목종류 종류) { return 대상 && 대상->종류 == 종류; }

    // True when the user may do each of `권한들` with `이름` of `폴더`
    // (adding it to the folder, writing or reading it); otherwise `경로` is
    // listed as not theirs to change.
    bool 사용자라면(const 보유& 폴더, std::initializer_list<사용자권한> 권한들, const std::wstring& 이름,
                    const std::wstring& 경로) {
        for (const 사용자권한 권한 : 권한들) {
            const bool 폴더에 = 권한 == 사용자권한::파일추가 || 권한 == 사용자권한::폴더추가;
            if (!시스템_.사용자에게허용(폴더, 폴더에 ? L"" : 이름, 권한)) {
                권한없음.push_back(경로);
                return false;
            }
        }
        return true;
    }

    // When the copy's folder came into being, as its parent's listing says:
    // none of its files parted from the install folder before that.
    // Unknown (0) where the parent cannot be read: the other bounds remain.
    long long 가상폴더만든때() {
        const size_t 구분자 = 곳_.가상폴더.rfind(L'\\');
        const std::wstring 이름 = 소문자(곳_.가상폴더.substr(구분자 + 1));
        try {
            const 폴더고정결과 부모 = 시스템_.폴더고정(곳_.가상폴더.substr(0, 구분자));
            if (부모.상태 != 폴더상태::고정됨) return 0;
            for (const 폴더항목& 항목 : 시스템_.폴더항목들(*부모.잡음))
                if (소문자(항목.이름) == 이름) return 항목.만든때;
        } catch (const 파일오류&) {
        }
        return 0;
    }

    // `원본` and `대상` hold the copy's and the install folder's folder at
    // `상대`; everything below is reached through them. `원본만든때` is when
    // the last of the copy's folders that hold it was made.
    void 폴더옮기기(const 보유& 원본, const 보유& 대상, const std::wstring& 상대, long long 원본만든때) {
        std::map<std::wstring, 폴더항목> 대상항목들;
        for (폴더항목& 항목 : 시스템_.폴더항목들(대상)) 대상항목들[소문자(항목.이름)] = 항목;
        for (const 폴더항목& 항목 : 시스템_.폴더항목들(원본)) {
            const std::wstring 하위 = 상대 + L"\\" + 항목.이름;
            const auto 찾음 = 대상항목들.find(소문자(항목.이름));
            const 대상항목 있는것 = 찾음 == 대상항목들.end() ? nullptr : &찾음->second;
            switch (항목.종류) {
            case 항목종류::링크: 링크들.push_back(곳_.가상폴더 + 하위); break;
            case 항목종류::폴더: 하위폴더옮기기(원본, 대상, 항목, 있는것, 하위, 원본만든때); break;
            case 항목종류::파일: 파일옮기기(원본, 대상, 항목, 있는것, 하위, 원본만든때); break;
            }
        }
    }

    void 하위폴더옮기기(const 보유& 원본, const 보유& 대상, const 폴더항목& 항목,
                       대상항목 있는것, const std::wstring& 상대, long long 원본만든때) {
        const std::wstring& 이름 = 항목.이름;
        const 폴더고정결과 원본하위 = 시스템_.하위폴더고정(원본, 이름);
        if (원본하위.상태 != 폴더상태::고정됨) {
            링크들.push_back(곳_.가상폴더 + 상대);  // became a link since it was listed
            return;
        }
        const std::wstring 만들곳 = 곳_.설치폴더 + 상대;
        if (이다(있는것, 항목종류::링크)) {
            링크들.push_back(만들곳);
            return;
        }
        std::unique_ptr<보유> 설치하위;
        if (이다(있는것, 항목종류::폴더)) {
            폴더고정결과 결과 = 시스템_.하위폴더고정(대상, 이름);
            if (결과.상태 == 폴더상태::고정됨) 설치하위 = std::move(결과.잡음);
        } else {
            if (!사용자라면(대상, {사용자권한::폴더추가}, 이름, 만들곳)) return;
            // A file of the name makes this fail with the system's own reason.
            설치하위 = 시스템_.하위폴더만들기(대상, 이름);
        }
        if (!설치하위) {
            링크들.push_back(만들곳);
            return;
        }
        폴더옮기기(*원본하위.잡음, *설치하위, 상대, std::max(원본만든때, 항목.만든때));
    }

    void 파일옮기기(const 보유& 원본, const 보유& 대상, const 폴더항목& 항목, 대상항목 있는것,
                   const std::wstring& 상대, long long 원본만든때) {
        ++진행_;
        시스템_.진행표시(L"자료 옮기는 중 " + std::to_wstring(진행_) + L"/" +
                         std::to_wstring(std::max(전체_, 진행_)));
        const std::wstring 설치 = 곳_.설치폴더 + 상대;
        if (이다(있는것, 항목종류::링크)) {
            링크들.push_back(설치);
            return;
        }
        try {
            if (!사용자라면(원본, {사용자권한::읽기}, 항목.이름, 곳_.가상폴더 + 상대)) return;
            if (!이다(있는것, 항목종류::파일)) {
                // Free, or a folder of the name, where making it fails.
                if (!사용자라면(대상, {사용자권한::파일추가}, 항목.이름, 설치)) return;
                if (!목록대로복사(원본, 대상, 항목, 있는것, 설치)) return;
            } else if (!사용자라면(대상, {사용자권한::읽기}, 항목.이름, 설치)) {
                // Compared with administrator rights, the answer would tell
                // the user whether a file they may not read matches a guess.
                return;
            } else if (!시스템_.같은내용(원본, 대상, 항목.이름)) {
                // Identical: moved by an earlier run, and a backup of it now
                // would only hold the copy's own version. Both changed since
                // they parted: neither may replace the other. Otherwise
                // written after the copy's version (by another user, since
                // the folder let them in): the newer one stays.
                const long long 갈라진때 = std::max({항목.만든때, 원본만든때, 곳_.첫부여때});
                if (있는것->쓴때 > 갈라진때 && 항목.쓴때 > 갈라진때) {
                    갈등.push_back(설치);
                    return;
                }
                if (있는것->쓴때 > 항목.쓴때) {
                    새것남김.push_back(설치);
                    return;
                }
                // The new version is written beside it and renamed over it;
                // the old one goes into the user's backup, so they must be
                // able to read it (no administrator-only file reaches it).
                if (!사용자라면(대상, {사용자권한::쓰기, 사용자권한::파일추가, 사용자권한::읽기}, 항목.이름,
                                설치))
                    return;
                백업하기(대상, 상대, 항목.이름);
                if (!목록대로복사(원본, 대상, 항목, 있는것, 설치)) return;
                ++바꿈;
            }
            ++옮김;
        } catch (const 파일오류& 오류) {
            if (오류.코드() != 링크거부) throw;
            링크들.push_back(오류.경로());
        }
    }

    // Brings the copy's version of `항목` over what the listing showed at
    // its name (`있는것`), unless that is no longer what stands there:
    // another user saved the file, or made one where the name was free,
    // after the look. That file is newer and stays, named as the newer ones
    // are; the copy keeps its name, so that the next run looks again. A
    // folder of the name when listed makes it fail with the system's reason.
    bool 목록대로복사(const 보유& 원본, const 보유& 대상, const 폴더항목& 항목, 대상항목 있는것,
                     const std::wstring& 설치) {
        const bool 덮기 = 이다(있는것, 항목종류::파일);
        try {
            시스템_.파일복사(원본, 대상, 항목.이름, 덮기 ? 복사방식::덮어쓰기 : 복사방식::새파일,
                             덮기 ? 있는것->쓴때 : 0);
            return true;
        } catch (const 파일오류& 오류) {
            if (오류.코드() != 목록과다름 || 이다(있는것, 항목종류::폴더)) throw;
        }
        새것남김.push_back(설치);
        옮기는중바뀜 = true;
        return false;
    }

    // Copies the install folder's file `이름` (in `설치폴더`, at `상대`) to
    // the same place in this run's own backup folder.
    void 백업하기(const 보유& 설치폴더, const std::wstring& 상대, const std::wstring& 이름) {
        시스템_.파일복사(설치폴더, 백업폴더(상대.substr(0, 상대.rfind(L'\\'))), 이름,
                         복사방식::새파일, 0);
    }

    // The backup folder at `상대` ("" for its root, "\\dat" below it), made
    // on first use, the root anew for each run: no backup ever replaces
    // another. Each folder is held from its creation on.
    const 보유& 백업폴더(const std::wstring& 상대) {
        if (const auto 찾음 = 백업잡음_.find(상대); 찾음 != 백업잡음_.end()) return *찾음->second;
        std::unique_ptr<보유> 잡음;
        if (상대.empty()) {
            백업부모잡음_ = 고정해야함(시스템_, 곳_.백업부모);
            if (!시스템_.사용자에게허용(*백업부모잡음_, L"", 사용자권한::폴더추가))
                throw 멈춤{곳_.백업부모, 멈춘까닭::백업권한없음};
            const std::wstring 이름 =
                빈이름(시스템_, *백업부모잡음_, 곳_.제품이름 + L" 백업 " + 시각_);
            잡음 = 시스템_.하위폴더만들기(*백업부모잡음_, 이름);
            백업루트 = 곳_.백업부모 + L"\\" + 이름;
        } else {
            const size_t 구분자 = 상대.rfind(L'\\');
            잡음 = 시스템_.하위폴더만들기(백업폴더(상대.substr(0, 구분자)), 상대.substr(구분자 + 1));
        }
        return *(백업잡음_[상대] = std::move(잡음));
    }

    // Renames the copy in its own folder; Windows then has nothing left to
    // serve in place of the install folder's files.
    void 가상폴더이름바꾸기() {
        const size_t 구분자 = 곳_.가상폴더.rfind(L'\\');
        const std::wstring 부모 = 곳_.가상폴더.substr(0, 구분자);
        const std::wstring 원래 = 곳_.가상폴더.substr(구분자 + 1);
        try {
            std::wstring 이름;
            {
                // Let go before the rename, which a hold would keep out.
                const auto 부모잡음 = 고정해야함(시스템_, 부모);
                if (!사용자라면(*부모잡음, {사용자권한::폴더추가}, L"", 곳_.가상폴더)) return;
                이름 = 빈이름(시스템_, *부모잡음, 원래 + L" 옮김 " + 시각_);
            }
            시스템_.이름바꾸기(부모, 원래, 이름);
            새이름 = 부모 + L"\\" + 이름;
        } catch (const 파일오류& 오류) {
            멈춘곳 = 멈춤{오류.경로(), 오류};
        } catch (const 멈춤& 까닭) {
            멈춘곳 = 까닭;
        }
    }

    플랫폼& 시스템_;
    const 옮길곳& 곳_;
    const std::wstring 시각_;
    const size_t 전체_;
    size_t 진행_ = 0;
    std::unique_ptr<보유> 백업부모잡음_;
    std::map<std::wstring, std::unique_ptr<보유>> 백업잡음_;  // by path below the root
};

}  // namespace

옮긴결과 옮기기(플랫폼& 시스템, const 옮길곳& 곳, size_t 전체) {
    옮기는일 일(시스템, 곳, 시각이름(시스템.지금(), L""), 전체);
    일.실행();
    시스템.진행표시(L"");
    return 일;
}

}  // namespace 가상폴더옮기기
