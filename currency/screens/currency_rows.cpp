#include "currency/screens/currency_rows.h"

#include <cmath>
#include <string>

#include "core/number_text.h"
#include "currency/core/conversion.h"
#include "frame/wide_text.h"

namespace {

// The row's selection, or -1 when its box has none.
int selectedCurrency(HWND dialog, CurrencyRowIds rows, int row) {
    LRESULT selected = SendDlgItemMessageW(dialog, rows.firstBox + row, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

void fillBox(HWND box, const CurrencyTable& table, int selection) {
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kCurrencyCapacity && table.entries[i].name[0] != 0; ++i) {
        std::wstring name = widenText(table.entries[i].name);
        if (name.size() > static_cast<size_t>(kFieldTextLimit)) name.resize(kFieldTextLimit);
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    InvalidateRect(box, nullptr, TRUE);
    UpdateWindow(box);
}

}  // namespace

void fillCurrencyBoxes(HWND dialog, CurrencyRowIds rows, const CurrencyTable& table, const SelectionState& state) {
    for (int row = 0; row < kCurrencyRowCount; ++row) {
        HWND box = GetDlgItem(dialog, rows.firstBox + row);
        if (box != nullptr) fillBox(box, table, state.currencyRow[row]);
    }
}

void refillCurrencyBoxes(HWND dialog, CurrencyRowIds rows, const CurrencyTable& table, const SelectionState& state) {
    for (int row = 0; row < kCurrencyRowCount; ++row) {
        HWND box = GetDlgItem(dialog, rows.firstBox + row);
        if (box == nullptr) continue;
        int shown = selectedCurrency(dialog, rows, row);
        fillBox(box, table, shown >= 0 ? shown : state.currencyRow[row]);
    }
}

void recomputeCurrencyRows(HWND dialog, CurrencyRowIds rows, int typedField, const char* text,
                           const CurrencyTable& table, SelectionState& state) {
    int typedRow = typedField - rows.firstField;
    if (typedRow < 0 || typedRow >= kCurrencyRowCount) return;
    double amount = readDecimal(text);
    for (int row = 0; row < kCurrencyRowCount; ++row) state.currencyRow[row] = selectedCurrency(dialog, rows, row);
    // toBase reads nothing for a row without a selection and gives 0.
    double base = toBase(table, amount, state.currencyRow[typedRow]);
    for (int row = 0; row < kCurrencyRowCount; ++row) {
        if (row == typedRow) continue;
        state.currencyRow[row] = selectedCurrency(dialog, rows, row);
        int currency = state.currencyRow[row];
        double result = fromBase(table, base, currency);
        // A row without a currency has no amount; neither has a result too
        // large for a double (a tiny rate under a huge amount), never "inf".
        writeFieldText(dialog, rows.firstField + row,
                       currency < 0 || !std::isfinite(result) ? std::string() : formatText("%.2f", result));
    }
}
