// The Currency Exchange screen (template 106) on the shared frame: four rows
// of a currency box and an amount field. Each key released in an amount field
// converts that amount through the base currency into the three other rows.
// The screen also opens the rate editor, starts the rate download, and keeps
// the two options (Auto Update, the Today item) at Done.
#include <windows.h>

#include <iterator>

#include "currency/core/currency_files.h"
#include "currency/core/download.h"
#include "currency/screens/currency_rows.h"
#include "currency/screens/edit_currency_screen.h"
#include "shell/program.h"
#include "shell/screen_frame.h"
#include "shell/screens.h"
#include "shell/wide_text.h"

namespace {

constexpr CurrencyRowIds kRows = {1029, 1033};  // boxes 1029 to 1032, fields 1033 to 1036
constexpr int kAmountFields[kCurrencyRowCount] = {1033, 1034, 1035, 1036};
constexpr int kEditButton = 1068;
constexpr int kSyncButton = 1087;
constexpr int kAutoUpdateBox = 1089;
constexpr int kTodayItemBox = 1090;

void setChecked(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool isChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void initCurrencyScreen(HWND dialog) {
    loadRates(dataDirectory, programRates);
    reapplyUnsavedRates(programRates);
    loadSelections(dataDirectory, programSelections, SelectionForm::program);
    fillCurrencyBoxes(dialog, kRows, programRates, programSelections);
    setChecked(dialog, kAutoUpdateBox, programSelections.autoUpdate != 0);
    setChecked(dialog, kTodayItemBox, programSelections.todayItem != 0);
}

// The typed field itself is never rewritten; the other rows are written in
// row order. The current choices become the rows' stored currencies.
void convertCurrencyScreen(HWND dialog, int fieldId, const char* text) {
    recomputeCurrencyRows(dialog, kRows, fieldId, text, programRates, programSelections);
}

void saveCurrencyScreen(HWND dialog) {
    programSelections.autoUpdate = isChecked(dialog, kAutoUpdateBox) ? 1 : 0;
    bool todayItem = isChecked(dialog, kTodayItemBox);
    programSelections.todayItem = todayItem ? 1 : 0;
    registerTodayItem(todayItem);
    saveProgramSelections(kCurrencyScreenSlots);
}

// The boxes list the table as it is now, each row keeping its currency
// where the table still has that index.
void refillRows(HWND dialog) { refillCurrencyBoxes(dialog, kRows, programRates, programSelections); }

// Rates edited there take effect at this screen's next key release; Done
// there leaves the table as rates.txt holds it.
void onEditRates(HWND dialog) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    deviceDialogBox(instance, MAKEINTRESOURCEW(kEditCurrencyTemplate), dialog, editCurrencyScreenProcedure, 0);
    refillRows(dialog);
}

// A downloaded table is in force at once: the next key release converts
// with it, and Edit Currency Value edits it.
void onCurrencySync(HWND dialog) {
    if (downloadRates(dialog) != 1) return;
    dropUnsavedRates();
    loadRates(dataDirectory, programRates);
    refillRows(dialog);
}

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
    {std::begin(kAmountFields), std::end(kAmountFields)},  // value fields
    {std::begin(kAmountFields), std::end(kAmountFields)},  // all four raise the soft keyboard
    {},                                                    // nothing emptied on focus
    kColourDialog | kColourStatic | kColourButton,         // labels and buttons on light blue
    true,                                                  // an empty menu bar
    false,                                                 // no default processing
    kFieldTextLimit,                                       // the read limit of an amount
    initCurrencyScreen,
    convertCurrencyScreen,
    saveCurrencyScreen,
    currencyScreenCommand,
    nullptr,  // no messages of its own
};

}  // namespace

const DLGPROC currencyScreenProcedure = ScreenProcedures<kCurrencyFrame>::dialog;
