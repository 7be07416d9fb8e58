// Resource and control ids of Quantrel, one block per screen. The numbers are
// fixed: the screens, the menu bar and the launcher are known by them. Free
// of windows.h, so that the portable core names the fields it computes.
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
#define IDD_EDIT_CURRENCY 125

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

// ---- Area Codes (template 104) ----
#define IDC_AREA_MODE 1008     // search by: area code, city, state
#define IDC_AREA_SEARCH 1009   // the searched text
#define IDC_AREA_RESULTS 1028  // matching lines of area.txt

// ---- Currency Exchange (template 106) ----
#define IDC_CURRENCY_BOX_1 1029  // currency of row 1 (the base country)
#define IDC_CURRENCY_BOX_2 1030
#define IDC_CURRENCY_BOX_3 1031
#define IDC_CURRENCY_BOX_4 1032
#define IDC_CURRENCY_AMOUNT_1 1033  // amount of row 1
#define IDC_CURRENCY_AMOUNT_2 1034
#define IDC_CURRENCY_AMOUNT_3 1035
#define IDC_CURRENCY_AMOUNT_4 1036
#define IDC_CURRENCY_EDIT 1068         // "Edit ...": Edit Currency Value
#define IDC_CURRENCY_SYNC 1087         // "Currency Sync.": the download
#define IDC_CURRENCY_AUTO_UPDATE 1089  // "Auto Update"
#define IDC_CURRENCY_TODAY_ITEM 1090   // "Zentavo": the home-screen item

// ---- Loan Payments (template 105) ----
#define IDC_LOAN_AMOUNT 1052          // A, the amount borrowed
#define IDC_LOAN_INTEREST 1053        // R, yearly interest in percent
#define IDC_LOAN_PAYMENT 1054         // P, payment per month
#define IDC_LOAN_MONTHS 1018          // N, number of monthly payments
#define IDC_LOAN_TOTAL_PAYMENTS 1055  // static: months x payment
#define IDC_LOAN_TOTAL_INTEREST 1056  // static: months x payment - amount

// ---- Computer (template 107) ----
#define IDC_COMPUTER_ASCII 1018
#define IDC_COMPUTER_BINARY 1019
#define IDC_COMPUTER_OCTAL 1020
#define IDC_COMPUTER_DECIMAL 1021
#define IDC_COMPUTER_HEXADECIMAL 1022
#define IDC_COMPUTER_TYPE 1010       // the data type
#define IDC_COMPUTER_TYPE_SIZE 1014  // statics: the chosen type's facts
#define IDC_COMPUTER_TYPE_MIN 1015
#define IDC_COMPUTER_TYPE_MAX 1016
#define IDC_COMPUTER_TYPE_UNSIGNED_MAX 1017

// ---- Date Calculator (template 108, tap-and-hold menu 122) ----
#define IDC_DATE_START 1040          // start date picker
#define IDC_DATE_END 1041            // end date picker
#define IDC_DATE_DAYS 1043           // number of days between them
#define IDC_DATE_START_WEEKDAY 1083  // statics: facts of the start date
#define IDC_DATE_START_DAY_IN_YEAR 1082
#define IDC_DATE_START_WEEK_IN_YEAR 1081
#define IDC_DATE_END_WEEKDAY 1084  // statics: facts of the end date
#define IDC_DATE_END_DAY_IN_YEAR 1085
#define IDC_DATE_END_WEEK_IN_YEAR 1086
#define IDM_DATE_CONTEXT 122  // menu on the days field
#define IDM_DATE_CUT 40012
#define IDM_DATE_COPY 40013
#define IDM_DATE_PASTE 40014

// ---- Tip Calculator (template 109) ----
#define IDC_TIP_BILL 1061          // B, the bill (input)
#define IDC_TIP_PERCENT 1062       // T, the tip in percent of the bill (input)
#define IDC_TIP_AMOUNT 1063        // the tip (output only)
#define IDC_TIP_TOTAL 1019         // bill plus tip (output only)
#define IDC_TIP_SPLIT 1020         // S, the number of people (input)
#define IDC_TIP_SPLIT_AMOUNT 1018  // each person's share (input only while S is 0)

// ---- Metric Conversion (template 110) ----
#define IDC_METRIC_CATEGORY 1057
#define IDC_METRIC_UNIT_1 1058  // row 1: unit and value
#define IDC_METRIC_VALUE_1 1059
#define IDC_METRIC_UNIT_2 1060
#define IDC_METRIC_VALUE_2 1061
#define IDC_METRIC_UNIT_3 1062
#define IDC_METRIC_VALUE_3 1063
#define IDC_METRIC_UNIT_4 1064
#define IDC_METRIC_VALUE_4 1065

// ---- Lat/Lon Calculator (template 111) ----
#define IDC_LATITUDE_HEADING 1051   // static "Latitude"
#define IDC_LATITUDE_DEGREES 1045   // ddd.ddddddd
#define IDC_LATITUDE_MINUTES 1046   // ddd mm.mm
#define IDC_LATITUDE_SECONDS 1047   // ddd mm ss.ss
#define IDC_LONGITUDE_HEADING 1044  // static "Longitude"
#define IDC_LONGITUDE_DEGREES 1048  // ddd.ddddddd
#define IDC_LONGITUDE_MINUTES 1049  // ddd mm.mm
#define IDC_LONGITUDE_SECONDS 1050  // ddd mm ss.ss

// ---- Edit Currency Value (template 125) ----
#define IDC_EDIT_CURRENCY_LIST 1000  // the list, made when the screen opens
#define IDS_RATE_HEADER 302          // "Rate"
#define IDS_CURRENCY_HEADER 303      // "Currency"

// ---- timers ----
#define IDT_ABOUT_ANIMATION 101
#define IDT_AUTO_DOWNLOAD 102
