// The Edit Currency Value screen (template 125): the program's currency
// table as a list whose rates are edited in place. Opened modally from the
// Currency Exchange screen; Done writes rates.txt.
#pragma once
#include <windows.h>

#include "currency/core/rates_format.h"
#include "resources/quantrel/resource_ids.h"

extern const DLGPROC editCurrencyScreenProcedure;

// Rates accepted on the screen whose save failed stay in force: they are
// applied again to a table freshly loaded from rates.txt, and written at the
// screen's next Done.
void reapplyUnsavedRates(CurrencyTable& table);
// A downloaded table replaces them.
void dropUnsavedRates();
