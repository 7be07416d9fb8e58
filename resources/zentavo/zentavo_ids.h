// Resource and control ids of Zentavo. The numbers are fixed: the host opens
// template 500, the rates list opens template 103, and the columns take
// their titles from strings 1 and 2.
#pragma once

// ---- strings ----
#define IDS_RATE_COLUMN 1       // "Rate"
#define IDS_CURRENCY_COLUMN 2   // "Currency"

// ---- the item's rates list ----
#define IDC_RATES_LIST 1000

// ---- currency calculator (template 103) ----
#define IDD_CALCULATOR 103
#define IDC_CALC_BOX_1 1000     // currency of row 1, "Base Country"
#define IDC_CALC_BOX_2 1001
#define IDC_CALC_BOX_3 1002
#define IDC_CALC_BOX_4 1003
#define IDC_CALC_AMOUNT_1 1004  // amount of row 1
#define IDC_CALC_AMOUNT_2 1005
#define IDC_CALC_AMOUNT_3 1006
#define IDC_CALC_AMOUNT_4 1007

// ---- options dialog (template 500, IDD_TODAY_CUSTOM) ----
#define IDC_OPTIONS_TITLE 444
#define IDC_OPTIONS_DESCRIPTION 445
