// The Edit Currency Value screen (template 125): the program's currency
// table as a list whose rates are edited in place. Opened modally from the
// Currency Exchange screen; Done writes rates.txt.
#pragma once
#include <windows.h>

constexpr int kEditCurrencyTemplate = 125;
constexpr int kEditCurrencyList = 1000;   // the list, made when the screen opens
constexpr int kRateColumnHeader = 302;    // string "Rate"
constexpr int kCurrencyColumnHeader = 303;  // string "Currency"

extern const DLGPROC editCurrencyScreenProcedure;
