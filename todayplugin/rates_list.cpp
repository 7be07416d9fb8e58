// The rates list: one row per currency of the plug-in's table, rate and
// name, the rate editable in place and saved at once; a tap on either column
// header opens the currency calculator. The list holds no text: every cell
// is asked for when it is drawn and taken from the table.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "currency/core/currency_files.h"
#include "resources/zentavo/zentavo_ids.h"
#include "shell/number_text.h"
#include "shell/wide_text.h"
#include "todayplugin/plugin.h"

namespace {

const DWORD kRatesListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS;  // 0x50800201
const int kRateColumnWidth = 105;
const int kCurrencyColumnWidth = 120;
const int kLabelLimit = 64;
const int kEditorLimit = 20;
const int kDisplayBufferSize = 100;

// Shared by every cell: the list copies the text out before asking again.
wchar_t displayBuffer[kDisplayBufferSize];

void showInDisplayBuffer(const std::wstring& text) { lstrcpynW(displayBuffer, text.c_str(), kDisplayBufferSize); }

bool insertColumn(HWND list, int index, int titleId, int width) {
    wchar_t title[kFieldTextLimit] = L"";
    LoadStringW(pluginState.instance, titleId, title, kFieldTextLimit);
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = title;
    column.iSubItem = index;
    return SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)) ==
           index;
}

// A row whose two texts are both asked for when drawn.
bool insertRow(HWND list, int index) {
    LVITEMW row = {};
    row.mask = LVIF_TEXT | LVIF_STATE;
    row.iItem = index;
    row.pszText = LPSTR_TEXTCALLBACKW;
    row.cchTextMax = kLabelLimit;
    if (SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)) != index) return false;
    LVITEMW currency = {};
    currency.iSubItem = 1;
    currency.pszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&currency));
    return true;
}

bool isTableRow(int item) { return item >= 0 && item < pluginState.table.count; }

void onGetDisplayInfo(NMLVDISPINFOW* request) {
    LVITEMW& cell = request->item;
    const CurrencyTable& table = pluginState.table;
    if (cell.iSubItem == 0) {
        showInDisplayBuffer(isTableRow(cell.iItem) ? widenText(formatText("%f", table.entries[cell.iItem].rate))
                                                   : std::wstring());
    } else if (cell.iSubItem == 1) {
        showInDisplayBuffer(isTableRow(cell.iItem) ? widenText(table.entries[cell.iItem].name) : std::wstring());
    } else {
        return;
    }
    cell.pszText = displayBuffer;
}

void onBeginEdit(HWND list) {
    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0));
    if (editor != nullptr) SendMessageW(editor, EM_LIMITTEXT, kEditorLimit, 0);
}

// An accepted edit is the row's new rate, in force and saved at once. The
// list is not told to keep the typed text: the cell shows the stored rate.
void onEndEdit(HWND list, const NMLVDISPINFOW* edit) {
    int item = edit->item.iItem;
    if (item == -1 || edit->item.pszText == nullptr || !isTableRow(item)) return;
    showInDisplayBuffer(edit->item.pszText);
    std::string typed = narrowText(displayBuffer);
    if (typed.size() > static_cast<size_t>(kFieldTextLimit)) typed.resize(kFieldTextLimit);
    pluginState.table.entries[item].rate = readDecimal(typed.c_str());
    // Written onto rates.txt as it is now, so that the program's saves and a
    // download since the last reload stay; the list then shows the file. A
    // rate whose save fails is written with the next one.
    std::vector<RateEdit>& edits = pluginState.unsavedEdits;
    edits.push_back(rateEditOf(pluginState.table, item, pluginState.table.entries[item].rate));
    if (!saveRateEdits(pluginState.dataDirectory, edits.data(), edits.size(), pluginState.table)) return;
    edits.clear();
    syncRatesListRows(list);
    InvalidateRect(list, nullptr, FALSE);
}

void openCalculator() {
    DialogBoxParamW(pluginState.instance, MAKEINTRESOURCEW(IDD_CALCULATOR), pluginState.itemWindow,
                    calculatorProcedure, 0);
}

}  // namespace

HWND createRatesList(HWND parent) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    RECT client;
    GetClientRect(parent, &client);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", kRatesListStyle, client.left, client.top,
                                client.right - client.left, client.bottom - client.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_RATES_LIST)), pluginState.instance,
                                nullptr);
    if (list == nullptr) return nullptr;
    bool made = insertColumn(list, 0, IDS_RATE_COLUMN, kRateColumnWidth) &&
                insertColumn(list, 1, IDS_CURRENCY_COLUMN, kCurrencyColumnWidth);
    if (made) {
        int order[2] = {1, 0};  // "Currency" shown on the left, "Rate" on the right
        SendMessageW(list, LVM_SETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(order));
        for (int i = 0; made && i < pluginState.table.count; ++i) made = insertRow(list, i);
    }
    if (!made) {
        // A half-made list would cover the item; the next clear-cache makes a new one.
        DestroyWindow(list);
        return nullptr;
    }
    return list;
}

// The rows follow the table at every load, so currencies added to rates.txt
// appear and removed ones go.
void syncRatesListRows(HWND list) {
    int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    int wanted = pluginState.table.count;
    while (rows > wanted) SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(--rows), 0);
    while (rows < wanted && insertRow(list, rows)) ++rows;
}

LRESULT onRatesListNotify(HWND window, int controlId, NMHDR* record) {
    if (controlId != IDC_RATES_LIST || record == nullptr) return 0;
    switch (record->code) {
    case LVN_GETDISPINFOW:
        onGetDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(record));
        break;
    case LVN_BEGINLABELEDITW:
        onBeginEdit(record->hwndFrom);
        break;
    case LVN_ENDLABELEDITW:
        onEndEdit(record->hwndFrom, reinterpret_cast<NMLVDISPINFOW*>(record));
        break;
    case LVN_COLUMNCLICK:
        openCalculator();
        break;
    }
    (void)window;
    return 0;
}
