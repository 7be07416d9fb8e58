// The Edit Currency Value screen (template 125): the currency table it is
// handed as a report list, "Currency" on the left and "Rate" on the right.
// A rate is edited in place; an accepted edit goes into the table at once
// and raises `Updated` for the Today item. Done writes the accepted rates
// onto rates.txt as the file holds them then.
//
// The screen has no value fields: the shared frame gives it the full-screen
// initialisation, the empty menu bar and Done.
#include "currency/screens/edit_currency_screen.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "currency/core/currency_files.h"
#include "currency/screens/rates_list_view.h"
#include "platform/pocketpc/aygshell.h"
#include "frame/screen_frame.h"

namespace {

constexpr int kListWidth = 240;
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS;

SHACTIVATEINFO editActivation;
// The rates accepted and not yet in rates.txt, in the order they were
// typed: a Done whose save failed leaves them for the next Done.
std::vector<RateEdit> acceptedEdits;

void keepAcceptedRate(HWND list, int entry, double rate);

// The list shows the table the screen was handed.
RatesListView ratesView = {nullptr, IDS_RATE_HEADER, IDS_CURRENCY_HEADER, keepAcceptedRate};

// An accepted rate is in the screen's table at once, kept for Done and
// announced to the Today item.
void keepAcceptedRate(HWND, int entry, double rate) {
    acceptedEdits.push_back(rateEditOf(*ratesView.table, entry, rate));
    setUpdatedFlag();
}

HWND rateListOf(HWND dialog) { return GetDlgItem(dialog, IDC_EDIT_CURRENCY_LIST); }

void initEditCurrencyScreen(HWND dialog) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    ratesView.table = screenDataOf(dialog).rates;
    HWND list = createRatesListView(dialog, IDC_EDIT_CURRENCY_LIST, instance, kListStyle, &ratesView);
    if (list == nullptr) MessageBoxW(nullptr, L"Listview not created!", nullptr, MB_OK);
    std::memset(&editActivation, 0, sizeof editActivation);
    editActivation.cbSize = sizeof editActivation;
}

// Only the rates accepted here are written, onto rates.txt as it is now: a
// download or the home-screen item's edits since the table was loaded stay,
// and a table that could not be loaded is never written. The flag is raised
// again once the edits are in the file: the home-screen item may have taken
// the flag of an edit and reloaded before Done.
void saveEditCurrencyScreen(HWND dialog) {
    const ScreenData& data = screenDataOf(dialog);
    bool written = saveRateEdits(data.dataDirectory, acceptedEdits.data(), acceptedEdits.size(), *data.rates);
    if (written) setUpdatedFlag();
    if (written || acceptedEdits.empty()) acceptedEdits.clear();
}

INT_PTR editCurrencyMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
    switch (message) {
    case WM_NOTIFY:
        if (!onRatesListNotify(reinterpret_cast<NMHDR*>(lParam), IDC_EDIT_CURRENCY_LIST)) break;
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, FALSE);
        *handled = true;
        return 1;
    case WM_SIZE:
        if (HWND list = rateListOf(dialog)) {
            MoveWindow(list, 0, 0, kListWidth, HIWORD(lParam), TRUE);
            fitRatesListColumns(list);
        }
        break;
    case WM_ACTIVATE:
        SHHandleWMActivate(dialog, wParam, lParam, &editActivation, FALSE);
        break;
    case WM_SETTINGCHANGE:
        SHHandleWMSettingChange(dialog, wParam, lParam, &editActivation);
        break;
    }
    return 0;
}

const ScreenFrame kEditCurrencyFrame = {
    {},     // no value fields: the list is the screen's only control
    {},     // nothing raises the soft keyboard
    {},     // nothing emptied on focus
    0,      // no colours of its own
    true,   // an empty menu bar
    false,  // no default processing
    0,      // nothing read
    initEditCurrencyScreen,
    nullptr,  // nothing computed
    saveEditCurrencyScreen,
    nullptr,  // no commands of its own
    editCurrencyMessage,
};

// Done from the in-place editor (a control whose parent is the list) does
// not close the screen: only the screen's own Done does.
INT_PTR CALLBACK editCurrencyDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && lParam != 0 &&
        GetParent(reinterpret_cast<HWND>(lParam)) == rateListOf(dialog))
        return 0;
    return ScreenProcedures<kEditCurrencyFrame>::dialog(dialog, message, wParam, lParam);
}

}  // namespace

const DLGPROC editCurrencyScreenProcedure = editCurrencyDialog;

void reapplyUnsavedRates(CurrencyTable& table) { applyRateEdits(table, acceptedEdits.data(), acceptedEdits.size()); }

void dropUnsavedRates() { acceptedEdits.clear(); }
