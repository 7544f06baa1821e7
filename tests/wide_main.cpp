// Test entry point for the Windows test programs. The narrow argv of a
// Windows program is in the ANSI code page (949 here), which cannot carry a
// UTF-8 test name in --gtest_filter; the wide argv can, and GoogleTest turns
// it into UTF-8 itself.
#include <gtest/gtest.h>

int wmain(int 개수, wchar_t** 인자) {
    ::testing::InitGoogleTest(&개수, 인자);
    return RUN_ALL_TESTS();
}
