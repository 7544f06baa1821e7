// The main window's layout in twips (1/1440 inch; 15 twips make one pixel
// at 96 DPI), a unit independent of the display, in tab order. Everything is
// scaled to the display's DPI by one function when the controls are placed.
#pragma once

#include "app/resources/resource_ids.h"

namespace 화면구성 {

enum class 종류 { 상태표시줄, 그림, 버튼, 목록 };

struct 컨트롤 {
    int 식별자;
    종류 종류;
    int 왼쪽, 위, 너비, 높이;  // twips, from the client area's top-left corner
    const wchar_t* 글;       // caption or start text
};

inline constexpr int 창너비 = 11700;   // client area
inline constexpr int 창높이 = 9300;
inline constexpr int 목록펼침높이 = 2400;  // the dropped-down list below the text field

// The folder buttons' start captions are those that picking "Pelorant" gives.
inline constexpr 컨트롤 컨트롤들[] = {
    {IDC_STATUSBAR, 종류::상태표시줄, 0, 8925, 11700, 375, L""},
    {IDC_PICTURE, 종류::그림, 2760, 120, 8820, 8685, L""},
    {IDC_FOLDER_BASE + 0, 종류::버튼, 120, 2760, 2535, 495, L"4. Pelorant 폴더 열기"},
    {IDC_CHECK_BASE + 0, 종류::버튼, 120, 960, 2535, 495, L"1. 보안체크"},
    {IDC_FOLDER_BASE + 1, 종류::버튼, 120, 2160, 2535, 495, L"3. 가상 Pelorant 폴더 열기"},
    {IDC_CHECK_BASE + 1, 종류::버튼, 120, 1560, 2535, 495, L"2. 보안설정"},
    {IDC_PRODUCT_LIST, 종류::목록, 240, 480, 2415, 300, L"Pelorant"},
    {IDC_MANUAL_HELP, 종류::버튼, 120, 4680, 2535, 495, L"수동으로 권한 설정하려면"},
};

// The entry of one control; every identifier used with it is in the table.
constexpr const 컨트롤& 컨트롤찾기(int 식별자) {
    for (const 컨트롤& 하나 : 컨트롤들)
        if (하나.식별자 == 식별자) return 하나;
    throw "no such control";  // a compile-time error where evaluated as constant
}

// Right edges of the status bar's three panels (1440, 8760 and 1440 wide).
inline constexpr int 상태칸오른쪽[] = {1440, 10200, 11640};

// The instruction picture's own size in pixels; the box adds a sunken border.
inline constexpr int 그림너비 = 584;
inline constexpr int 그림높이 = 575;

}  // namespace 화면구성
