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
#include "resources/quantrel/resource_ids.h"
#include "frame/screen_frame.h"
#include "calculators/screens.h"
#include "frame/wide_text.h"

namespace {

constexpr CurrencyRowIds kRows = {IDC_CURRENCY_BOX_1, IDC_CURRENCY_AMOUNT_1};
constexpr int kAmountFields[kCurrencyRowCount] = {IDC_CURRENCY_AMOUNT_1, IDC_CURRENCY_AMOUNT_2, IDC_CURRENCY_AMOUNT_3,
                                                  IDC_CURRENCY_AMOUNT_4};

void setChecked(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool isChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void initCurrencyScreen(HWND dialog) {
    const ScreenData& data = screenDataOf(dialog);
    loadRates(data.dataDirectory, *data.rates);
    reapplyUnsavedRates(*data.rates);
    loadSelections(data.dataDirectory, *data.selections, SelectionForm::program);
    fillCurrencyBoxes(dialog, kRows, *data.rates, *data.selections);
    setChecked(dialog, IDC_CURRENCY_AUTO_UPDATE, data.selections->autoUpdate != 0);
    setChecked(dialog, IDC_CURRENCY_TODAY_ITEM, data.selections->todayItem != 0);
}

// The typed field itself is never rewritten; the other rows are written in
// row order. The current choices become the rows' stored currencies.
void convertCurrencyScreen(HWND dialog, int fieldId, const char* text) {
    const ScreenData& data = screenDataOf(dialog);
    recomputeCurrencyRows(dialog, kRows, fieldId, text, *data.rates, *data.selections);
}

void saveCurrencyScreen(HWND dialog) {
    const ScreenData& data = screenDataOf(dialog);
    data.selections->autoUpdate = isChecked(dialog, IDC_CURRENCY_AUTO_UPDATE) ? 1 : 0;
    bool todayItem = isChecked(dialog, IDC_CURRENCY_TODAY_ITEM);
    data.selections->todayItem = todayItem ? 1 : 0;
    registerTodayItem(todayItem);
    data.saveSelections(kCurrencyScreenSlots);
}

// The boxes list the table as it is now, each row keeping its currency
// where the table still has that index.
void refillRows(HWND dialog) {
    const ScreenData& data = screenDataOf(dialog);
    refillCurrencyBoxes(dialog, kRows, *data.rates, *data.selections);
}

// Edit Currency Value works on this screen's data. Rates edited there take
// effect at this screen's next key release; Done there leaves the table as
// rates.txt holds it.
void onEditRates(HWND dialog) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    deviceDialogBox(instance, MAKEINTRESOURCEW(IDD_EDIT_CURRENCY), dialog, editCurrencyScreenProcedure,
                    reinterpret_cast<LPARAM>(&screenDataOf(dialog)));
    refillRows(dialog);
}

// A downloaded table is in force at once: the next key release converts
// with it, and Edit Currency Value edits it.
void onCurrencySync(HWND dialog) {
    const ScreenData& data = screenDataOf(dialog);
    if (downloadRates(dialog, data.dataDirectory, DownloadMessages::shown) != 1) return;
    dropUnsavedRates();
    loadRates(data.dataDirectory, *data.rates);
    refillRows(dialog);
}

INT_PTR currencyScreenCommand(HWND dialog, int controlId, int code) {
    if (code != BN_CLICKED) return 0;
    switch (controlId) {
        case IDC_CURRENCY_EDIT:
            onEditRates(dialog);
            return 1;
        case IDC_CURRENCY_SYNC:
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
