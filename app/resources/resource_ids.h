// Identifiers shared by the resource script and the window code.
// Control arrays take consecutive identifiers: the index of an element is
// its identifier minus the array's base.
#pragma once

#define IDI_APP 1
#define IDB_INSTRUCTIONS 2
#define IDR_MANIFEST 1

#define IDC_STATUSBAR 100       // StatusBar1
#define IDC_PICTURE 101         // Picture1
#define IDC_PRODUCT_LIST 102    // 프로그램C
#define IDC_MANUAL_HELP 103     // 수동권한C
#define IDC_CHECK_BASE 110      // 보안체크C(0) = 110 check, (1) = 111 fix
#define IDC_FOLDER_BASE 120     // Pelorant폴더C(0) = 120 real folder, (1) = 121 virtual copy
