// The item's rates list: one row per currency of the plug-in's table, the
// rate editable in place and saved at once; a tap on either column header
// opens the currency calculator.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "currency/core/currency_files.h"
#include "currency/screens/rates_list_view.h"
#include "platform/pocketpc/aygshell.h"
#include "resources/zentavo/zentavo_ids.h"
#include "todayplugin/plugin.h"

namespace {

const DWORD kRatesListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS;  // 0x50800201

// An accepted rate is written onto rates.txt as it is now, so that the
// program's saves and a download since the last reload stay; the list then
// shows the file. A rate whose save fails is written with the next one.
void saveAcceptedRate(HWND list, int entry, double rate) {
    std::vector<RateEdit>& edits = pluginState.unsavedEdits;
    edits.push_back(rateEditOf(pluginState.table, entry, rate));
    if (!saveRateEdits(pluginState.dataDirectory, edits.data(), edits.size(), pluginState.table)) return;
    edits.clear();
    syncRatesListRows(list);
    InvalidateRect(list, nullptr, FALSE);
}

const RatesListView kRatesView = {&pluginState.table, IDS_RATE_COLUMN, IDS_CURRENCY_COLUMN, saveAcceptedRate};

}  // namespace

HWND createRatesList(HWND parent) {
    return createRatesListView(parent, IDC_RATES_LIST, pluginState.instance, kRatesListStyle, &kRatesView);
}

LRESULT onItemNotify(NMHDR* record) {
    if (record != nullptr && record->idFrom == IDC_RATES_LIST && record->code == LVN_COLUMNCLICK) {
        ScreenData data = calculatorData();
        deviceDialogBox(pluginState.instance, MAKEINTRESOURCEW(IDD_CALCULATOR), pluginState.itemWindow,
                        calculatorProcedure, reinterpret_cast<LPARAM>(&data));
        return 0;
    }
    onRatesListNotify(record, IDC_RATES_LIST);
    return 0;
}
