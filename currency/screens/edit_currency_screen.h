// The Edit Currency Value screen (template 125): the program's currency
// table as a list whose rates are edited in place. Opened modally from the
// Currency Exchange screen; Done writes rates.txt.
#pragma once
#include <windows.h>

#include "currency/core/rates_format.h"

constexpr int kEditCurrencyTemplate = 125;
constexpr int kEditCurrencyList = 1000;   // the list, made when the screen opens
constexpr int kRateColumnHeader = 302;    // string "Rate"
constexpr int kCurrencyColumnHeader = 303;  // string "Currency"

extern const DLGPROC editCurrencyScreenProcedure;

// Rates accepted on the screen whose save failed stay in force: they are
// applied again to a table freshly loaded from rates.txt, and written at the
// screen's next Done.
void reapplyUnsavedRates(CurrencyTable& table);
// A downloaded table replaces them.
void dropUnsavedRates();
