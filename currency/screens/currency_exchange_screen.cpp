// The Currency Exchange screen (template 106) on the shared frame: four rows
// of a currency box and an amount field. Each key released in an amount field
// converts that amount through the base currency into the three other rows.
// The screen also opens the rate editor, starts the rate download, and keeps
// the two options (Auto Update, the Today item) at Done.
#include <windows.h>

#include <cmath>
#include <iterator>

#include "currency/core/conversion.h"
#include "currency/core/currency_files.h"
#include "currency/core/currency_rows.h"
#include "currency/core/download.h"
#include "currency/screens/edit_currency_screen.h"
#include "shell/number_text.h"
#include "shell/program.h"
#include "shell/screen_frame.h"
#include "shell/screens.h"
#include "shell/wide_text.h"

namespace {

constexpr int kRowCount = kCurrencyRowCount;
constexpr CurrencyRowIds kRows = {1029, 1033};  // boxes 1029 to 1032, fields 1033 to 1036
constexpr int kCurrencyBoxes[kRowCount] = {1029, 1030, 1031, 1032};
constexpr int kAmountFields[kRowCount] = {1033, 1034, 1035, 1036};
constexpr int kEditButton = 1068;
constexpr int kSyncButton = 1087;
constexpr int kAutoUpdateBox = 1089;
constexpr int kTodayItemBox = 1090;

int rowOfField(int fieldId) {
    for (int row = 0; row < kRowCount; ++row)
        if (kAmountFields[row] == fieldId) return row;
    return -1;
}

// The box's selected index, -1 when it has none.
int selectedCurrency(HWND dialog, int row) {
    LRESULT index = SendDlgItemMessageW(dialog, kCurrencyBoxes[row], CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void setChecked(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool isChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void initCurrencyScreen(HWND dialog) {
    loadRates(dataDirectory, programRates);
    loadSelections(dataDirectory, programSelections, SelectionForm::program);
    fillCurrencyBoxes(dialog, kRows, programRates, programSelections);
    setChecked(dialog, kAutoUpdateBox, programSelections.autoUpdate != 0);
    setChecked(dialog, kTodayItemBox, programSelections.todayItem != 0);
}

// A row without a currency has no amount to show: its text is emptied. A
// result too large for a double (a tiny rate under a huge amount) is shown
// the same way rather than as "inf".
std::string amountText(int currency, double amount) {
    if (currency < 0 || !std::isfinite(amount)) return std::string();
    return formatText("%.2f", amount);
}

// The typed field itself is never rewritten; the other rows are written in
// row order. The current choices become the rows' stored currencies.
void convertCurrencyScreen(HWND dialog, int fieldId, const char* text) {
    int typedRow = rowOfField(fieldId);
    if (typedRow < 0) return;
    double amount = readDecimal(text);
    for (int row = 0; row < kRowCount; ++row) programSelections.currencyRow[row] = selectedCurrency(dialog, row);
    double base = toBase(programRates, amount, programSelections.currencyRow[typedRow]);
    for (int row = 0; row < kRowCount; ++row) {
        if (row == typedRow) continue;
        int currency = selectedCurrency(dialog, row);
        programSelections.currencyRow[row] = currency;
        writeFieldText(dialog, kAmountFields[row], amountText(currency, fromBase(programRates, base, currency)));
    }
}

void saveCurrencyScreen(HWND dialog) {
    programSelections.autoUpdate = isChecked(dialog, kAutoUpdateBox) ? 1 : 0;
    bool todayItem = isChecked(dialog, kTodayItemBox);
    programSelections.todayItem = todayItem ? 1 : 0;
    registerTodayItem(todayItem);
    saveSelections(dataDirectory, programSelections, SelectionForm::program);
}

// Rates edited there take effect at this screen's next key release.
void onEditRates(HWND dialog) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    DialogBoxParamW(instance, MAKEINTRESOURCEW(kEditCurrencyTemplate), dialog, editCurrencyScreenProcedure, 0);
}

// The downloaded file is read when the screen next opens.
void onCurrencySync(HWND dialog) { downloadRates(dialog); }

INT_PTR currencyScreenCommand(HWND dialog, int controlId, int code) {
    if (code != BN_CLICKED) return 0;
    switch (controlId) {
    case kEditButton:
        onEditRates(dialog);
        return 1;
    case kSyncButton:
        onCurrencySync(dialog);
        return 1;
    }
    return 0;
}

const ScreenFrame kCurrencyFrame = {
    {std::begin(kAmountFields), std::end(kAmountFields)},
    {std::begin(kAmountFields), std::end(kAmountFields)},
    {},
    kColourDialog | kColourStatic | kColourButton,
    true,
    false,
    kFieldTextLimit,
    initCurrencyScreen,
    convertCurrencyScreen,
    saveCurrencyScreen,
    currencyScreenCommand,
    nullptr,
};

}  // namespace

const DLGPROC currencyScreenProcedure = ScreenProcedures<kCurrencyFrame>::dialog;
