// Writes how it was started (show-window flag and state) into the file named
// by its argument, so a test can see what process creation asked for.
#include <windows.h>

#include <cstdio>

int wmain(int 개수, wchar_t** 인자) {
    if (개수 != 2) return 2;
    STARTUPINFOW 시작정보{};
    GetStartupInfoW(&시작정보);
    FILE* 파일 = _wfopen(인자[1], L"w");
    if (!파일) return 3;
    std::fprintf(파일, "flags=%lu show=%u", 시작정보.dwFlags & STARTF_USESHOWWINDOW,
                 시작정보.wShowWindow);
    std::fclose(파일);
    return 0;
}
