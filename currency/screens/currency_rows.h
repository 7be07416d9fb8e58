// The four currency rows that the program's Currency Exchange screen and the
// plug-in's currency calculator share: each row is a currency combo box and
// an amount field, and typing into any amount field converts the amount into
// the other three rows' currencies. Both screens call these, so they fill and
// compute alike.
#pragma once
#include <windows.h>

#include "currency/core/rates_format.h"
#include "currency/core/selection_format.h"

// The control ids of a screen's rows: row r (0 to 3) is combo box
// firstBox + r and amount field firstField + r, paired with currencyRow[r].
struct CurrencyRowIds {
    int firstBox;
    int firstField;
};

constexpr int kCurrencyRowCount = 4;

// Fills the four combo boxes in row order: every name of the table from
// entry 0 up to the first empty name, widened; then selects each row's
// currencyRow (an index not in the list leaves the box without a selection)
// and repaints the box.
void fillCurrencyBoxes(HWND dialog, CurrencyRowIds rows, const CurrencyTable& table, const SelectionState& state);

// The table changed under the screen (a download, saved edits): fills the
// boxes again as fillCurrencyBoxes does, each row keeping the index its box
// shows (or, with none shown, its currencyRow) where the table still has it.
// The selections themselves change only at a key release.
void refillCurrencyBoxes(HWND dialog, CurrencyRowIds rows, const CurrencyTable& table, const SelectionState& state);

// A key was released in amount field `typedField`, whose 8-bit text is
// `text`: reads the amount (no number counts as 0), takes all four combo
// selections into currencyRow (none: -1), converts through the base currency
// and writes every other row, in row order, as "%.2f". The typed field is
// never rewritten. A typed row without a selection gives 0.00 in the others;
// a row without a selection of its own, or whose amount is too large for a
// double, shows an empty text.
void recomputeCurrencyRows(HWND dialog, CurrencyRowIds rows, int typedField, const char* text,
                           const CurrencyTable& table, SelectionState& state);
