// The rates list of Edit Currency Value and of the home-screen item. The
// list holds no text: every cell is asked for when it is drawn and taken
// from the table, so the list always shows what the table holds.
#include "currency/screens/rates_list_view.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "core/number_text.h"
#include "frame/wide_text.h"

namespace {

const int kRateColumn = 0;      // shown on the right
const int kCurrencyColumn = 1;  // shown on the left
const int kRateColumnWidth = 105;
const int kCurrencyColumnWidth = 120;
const int kEditorLimit = 20;  // characters of a typed rate
const int kCellTextSize = 100;
// The handheld's extended list style for the rates list (its gradient background).
const DWORD kExtendedStyle = 0x20000000;

// Shared by every cell: the list copies the text out before asking again.
wchar_t cellText[kCellTextSize];

// The list's user data is its RatesListView.
const RatesListView* viewOf(HWND list) {
    return reinterpret_cast<const RatesListView*>(GetWindowLongPtrW(list, GWLP_USERDATA));
}

bool isTableRow(const RatesListView* view, int row) {
    return row >= 0 && row < view->table->count && row < kCurrencyCapacity;
}

bool insertColumn(HWND list, HINSTANCE resources, int column, int headerString, int width) {
    wchar_t header[64] = L"";
    LoadStringW(resources, headerString, header, 64);
    LVCOLUMNW info = {};
    info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    info.fmt = LVCFMT_LEFT;
    info.cx = width;
    info.pszText = header;
    info.iSubItem = column;
    return SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&info)) == column;
}

// A row whose two texts are both asked for when drawn.
bool insertRow(HWND list, int row) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = LPSTR_TEXTCALLBACKW;
    if (SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) != row) return false;
    item.iSubItem = kCurrencyColumn;
    return SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

// The rate as "%f", the name as it stands, cut to what the cell buffer holds.
void supplyCellText(const RatesListView* view, NMLVDISPINFOW* request) {
    LVITEMW& cell = request->item;
    if (!(cell.mask & LVIF_TEXT) || (cell.iSubItem != kRateColumn && cell.iSubItem != kCurrencyColumn)) return;
    std::wstring text;
    if (isTableRow(view, cell.iItem)) {
        const CurrencyEntry& entry = view->table->entries[cell.iItem];
        text = cell.iSubItem == kRateColumn ? widenText(formatText("%f", entry.rate)) : widenText(entry.name);
    }
    lstrcpynW(cellText, text.c_str(), kCellTextSize);
    cell.pszText = cellText;
}

void limitEditor(HWND list) {
    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0));
    if (editor != nullptr) SendMessageW(editor, EM_LIMITTEXT, kEditorLimit, 0);
}

// A cancelled edit (no text) changes nothing. An accepted one is read as a
// number (no number gives 0), stored in the table at once and handed to the
// owner; the cell then shows the stored rate, not the typed text.
void acceptEdit(const RatesListView* view, HWND list, const NMLVDISPINFOW* edit) {
    int row = edit->item.iItem;
    if (edit->item.pszText == nullptr || !isTableRow(view, row)) return;
    std::wstring typed(edit->item.pszText, wcsnlen(edit->item.pszText, kFieldTextLimit));
    double rate = readDecimal(narrowText(typed.c_str()).c_str());
    view->table->entries[row].rate = rate;
    SendMessageW(list, LVM_UPDATE, row, 0);
    if (view->accepted != nullptr) view->accepted(list, row, rate);
}

}  // namespace

HWND createRatesListView(HWND parent, int controlId, HINSTANCE resources, DWORD style, const RatesListView* view) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    RECT client;
    GetClientRect(parent, &client);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", style, client.left, client.top, client.right - client.left,
                                client.bottom - client.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), resources, nullptr);
    if (list == nullptr) return nullptr;
    SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    bool made = insertColumn(list, resources, kRateColumn, view->rateHeader, kRateColumnWidth) &&
                insertColumn(list, resources, kCurrencyColumn, view->currencyHeader, kCurrencyColumnWidth);
    if (made) {
        int order[2] = {kCurrencyColumn, kRateColumn};
        SendMessageW(list, LVM_SETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(order));
    }
    for (int row = 0; made && isTableRow(view, row); ++row) made = insertRow(list, row);
    if (!made) {
        // A half-made list is not left on the screen.
        DestroyWindow(list);
        return nullptr;
    }
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, kExtendedStyle);
    fitRatesListColumns(list);
    return list;
}

void syncRatesListRows(HWND list) {
    const RatesListView* view = viewOf(list);
    if (view == nullptr) return;
    int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    while (rows > 0 && !isTableRow(view, rows - 1)) SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(--rows), 0);
    while (isTableRow(view, rows) && insertRow(list, rows)) ++rows;
    fitRatesListColumns(list);
}

// On the handheld, with its 13-pixel scroll bar, the two columns fill a
// 240-pixel list exactly; a desktop's wider scroll bar takes from "Rate".
void fitRatesListColumns(HWND list) {
    RECT client;
    GetClientRect(list, &client);
    int room = client.right - kCurrencyColumnWidth;
    int width = room < kRateColumnWidth ? room : kRateColumnWidth;
    if (width > 0 && SendMessageW(list, LVM_GETCOLUMNWIDTH, kRateColumn, 0) != width)
        SendMessageW(list, LVM_SETCOLUMNWIDTH, kRateColumn, width);
}

bool onRatesListNotify(const NMHDR* record, int controlId) {
    if (record == nullptr || record->idFrom != static_cast<UINT_PTR>(controlId)) return false;
    const RatesListView* view = viewOf(record->hwndFrom);
    if (view == nullptr) return false;
    switch (record->code) {
    case LVN_GETDISPINFOW:
        supplyCellText(view, reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(record)));
        return true;
    case LVN_BEGINLABELEDITW:
        limitEditor(record->hwndFrom);
        return true;
    case LVN_ENDLABELEDITW:
        acceptEdit(view, record->hwndFrom, reinterpret_cast<const NMLVDISPINFOW*>(record));
        return true;
    }
    return false;
}
