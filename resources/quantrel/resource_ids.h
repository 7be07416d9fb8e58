// Resource and control ids of Quantrel. The numbers are fixed: the screens,
// the menu bar and the launcher are known by them.
#pragma once

// ---- strings ----
#define IDS_TITLE 1            // "Quantrel": main window title
#define IDS_CLASS 3            // "QUANTREL": main window class
#define IDS_WEB_ADDRESS 4      // the maker's web site, opened by the About box

// ---- icon, pictures ----
#define IDI_QUANTREL 101
#define IDB_MENUBAR_STRIP 113  // 16-pixel images; 0 and 9 are used
#define IDB_ABOUT_LEFT 117
#define IDB_ABOUT_TOP 118
#define IDB_ABOUT_RIGHT 119
#define IDB_ABOUT 120
#define IDB_AREA_NORMAL 126
#define IDB_AREA_PRESSED 127
#define IDB_CURRENCY_PRESSED 128
#define IDB_CURRENCY_NORMAL 129
#define IDB_LOAN_NORMAL 130
#define IDB_COMPUTER_NORMAL 131
#define IDB_METRIC_NORMAL 132
#define IDB_DATE_NORMAL 133
#define IDB_LATLON_NORMAL 134
#define IDB_LATLON_PRESSED 135
#define IDB_COMPUTER_PRESSED 136
#define IDB_DATE_PRESSED 137
#define IDB_LOAN_PRESSED 138
#define IDB_METRIC_PRESSED 139
#define IDB_TIP_NORMAL 140
#define IDB_TIP_PRESSED 141
#define IDB_EMBLEM 145

// ---- main window: menu bar, menus, accelerators, commands ----
#define IDM_MAIN_MENUBAR 102   // menu-bar template and its menu
#define IDA_MAIN 3
#define IDM_MENU_BUTTON 40004
#define IDM_HELP 40006
#define IDM_ABOUT 40008

// ---- dialog templates ----
#define IDD_ABOUT 103
#define IDD_AREA_CODES 104
#define IDD_LOAN 105
#define IDD_CURRENCY 106
#define IDD_COMPUTER 107
#define IDD_DATE 108
#define IDD_TIP 109
#define IDD_METRIC 110
#define IDD_LATLON 111
#define IDD_LAUNCHER 112

// ---- launcher buttons (template 112) ----
#define IDC_LAUNCH_AREA 1001
#define IDC_LAUNCH_CURRENCY 1002
#define IDC_LAUNCH_LOAN 1003
#define IDC_LAUNCH_TIP 1004
#define IDC_LAUNCH_COMPUTER 1005
#define IDC_LAUNCH_METRIC 1006
#define IDC_LAUNCH_DATE 1007
#define IDC_LAUNCH_LATLON 1046

// ---- About box (template 103) ----
#define IDC_ABOUT_OK 1020

// ---- timers ----
#define IDT_ABOUT_ANIMATION 101
#define IDT_AUTO_DOWNLOAD 102
