// Names the tool gives the files and folders it makes beside the user's:
// the time stamp in them and the first name not yet taken. The kept lists
// and the move's backup and renamed copies each keep their own look; the
// rules behind them are these.
#pragma once

#include <string>

#include "platform/platform_types.h"

// "2026-12-08 13-05-07" with `시각구분` "-", "2026-12-08 130507" with "":
// sorts by time and holds no character that a file name may not.
inline std::wstring 시각이름(const 날짜시각& 때, const std::wstring& 시각구분) {
    const auto 두자리 = [](int 수) { return (수 < 10 ? L"0" : L"") + std::to_wstring(수); };
    return std::to_wstring(때.년) + L"-" + 두자리(때.월) + L"-" + 두자리(때.일) + L" " + 두자리(때.시) +
           시각구분 + 두자리(때.분) + 시각구분 + 두자리(때.초);
}

// The first of 후보(1), 후보(2), ... that `쓰임` says is not taken.
template <class 후보함수, class 쓰임함수>
std::wstring 첫빈이름(후보함수 후보, 쓰임함수 쓰임) {
    for (unsigned long 번호 = 1;; ++번호) {
        std::wstring 이름 = 후보(번호);
        if (!쓰임(이름)) return 이름;
    }
}
