// The Edit Currency Value screen (template 125): the program's currency
// table as a report list, "Currency" on the left and "Rate" on the right.
// A rate is edited in place; an accepted edit goes into the table at once
// and raises `Updated` for the Today item. Done writes the accepted rates
// onto rates.txt as the file holds them then.
//
// The screen has no value fields: the shared frame gives it the full-screen
// initialisation, the empty menu bar and Done.
#include "currency/screens/edit_currency_screen.h"

#include <commctrl.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "currency/core/currency_files.h"
#include "platform/pocketpc/aygshell.h"
#include "shell/number_text.h"
#include "shell/program.h"
#include "shell/screen_frame.h"
#include "shell/wide_text.h"

namespace {

constexpr int kRateColumnWidth = 105;
constexpr int kCurrencyColumnWidth = 120;
constexpr int kListWidth = 240;
constexpr int kEditorLimit = 20;  // characters of a typed rate
// The handheld's extended list style for this list (its gradient background).
constexpr DWORD kListExtendedStyle = 0x20000000;

SHACTIVATEINFO editActivation;
// The text of the cell being drawn; the list is given this buffer.
wchar_t cellText[100];
// The rates accepted and not yet in rates.txt, in the order they were
// typed: a Done whose save failed leaves them for the next Done.
std::vector<RateEdit> acceptedEdits;

bool isListedEntry(int index) { return index >= 0 && index < programRates.count && index < kCurrencyCapacity; }

bool insertColumn(HWND list, HINSTANCE instance, int column, int headerString, int width) {
    wchar_t header[64] = L"";
    LoadStringW(instance, headerString, header, 64);
    LVCOLUMNW info = {};
    info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    info.fmt = LVCFMT_LEFT;
    info.cx = width;
    info.pszText = header;
    info.iSubItem = column;
    return SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&info)) == column;
}

// One item per entry; neither column stores text, both are asked for.
bool insertEntry(HWND list, int index) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = LPSTR_TEXTCALLBACKW;
    if (SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) != index) return false;
    item.iSubItem = 1;
    return SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

// The list over the screen's client area; null when the control, a column
// or an item could not be made (a half-made list is not left on the screen).
HWND createRateList(HWND dialog) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    RECT client;
    GetClientRect(dialog, &client);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS,
                                client.left, client.top, client.right - client.left, client.bottom - client.top,
                                dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditCurrencyList)), instance,
                                nullptr);
    if (list == nullptr) return nullptr;
    bool made = insertColumn(list, instance, 0, kRateColumnHeader, kRateColumnWidth) &&
                insertColumn(list, instance, 1, kCurrencyColumnHeader, kCurrencyColumnWidth);
    if (made) {
        int order[2] = {1, 0};
        SendMessageW(list, LVM_SETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(order));
    }
    for (int index = 0; made && index < programRates.count && index < kCurrencyCapacity; ++index)
        made = insertEntry(list, index);
    if (!made) {
        DestroyWindow(list);
        return nullptr;
    }
    return list;
}

HWND rateListOf(HWND dialog) { return GetDlgItem(dialog, kEditCurrencyList); }

void initEditCurrencyScreen(HWND dialog) {
    HWND list = createRateList(dialog);
    if (list != nullptr)
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, kListExtendedStyle);
    else
        MessageBoxW(nullptr, L"Listview not created!", nullptr, MB_OK);
    std::memset(&editActivation, 0, sizeof editActivation);
    editActivation.cbSize = sizeof editActivation;
}

// Only the rates accepted here are written, onto rates.txt as it is now: a
// download or the home-screen item's edits since the table was loaded stay,
// and a table that could not be loaded is never written. The flag is raised
// again once the edits are in the file: the home-screen item may have taken
// the flag of an edit and reloaded before Done.
void saveEditCurrencyScreen(HWND) {
    bool written = saveRateEdits(dataDirectory, acceptedEdits.data(), acceptedEdits.size(), programRates);
    if (written) setUpdatedFlag();
    if (written || acceptedEdits.empty()) acceptedEdits.clear();
}

// Column 0 shows the rate ("%f"), column 1 the name.
void supplyCellText(NMLVDISPINFOW* request) {
    LVITEMW& item = request->item;
    if (!(item.mask & LVIF_TEXT) || !isListedEntry(item.iItem)) return;
    const CurrencyEntry& entry = programRates.entries[item.iItem];
    std::wstring text = item.iSubItem == 0 ? widenText(formatText("%f", entry.rate)) : widenText(entry.name);
    size_t length = text.size() < 99 ? text.size() : 99;
    std::wmemcpy(cellText, text.c_str(), length);
    cellText[length] = L'\0';
    item.pszText = cellText;
}

void limitEditor(HWND list) {
    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0));
    if (editor != nullptr) SendMessageW(editor, EM_LIMITTEXT, kEditorLimit, 0);
}

// A cancelled edit (no text) changes nothing. An accepted one is read as a
// number (no number gives 0) and stored at once. The list keeps asking for
// the text, so the label is not taken over.
void acceptEdit(HWND list, const NMLVDISPINFOW* edit) {
    int index = edit->item.iItem;
    if (edit->item.pszText == nullptr || !isListedEntry(index)) return;
    std::wstring typed(edit->item.pszText, wcsnlen(edit->item.pszText, kFieldTextLimit));
    programRates.entries[index].rate = readDecimal(narrowText(typed.c_str()).c_str());
    acceptedEdits.push_back(rateEditOf(programRates, index, programRates.entries[index].rate));
    setUpdatedFlag();
    SendMessageW(list, LVM_UPDATE, index, 0);
}

INT_PTR onListNotify(HWND dialog, NMHDR* header, bool* handled) {
    if (header->idFrom != static_cast<UINT_PTR>(kEditCurrencyList)) return 0;
    switch (header->code) {
    case LVN_GETDISPINFOW:
        supplyCellText(reinterpret_cast<NMLVDISPINFOW*>(header));
        break;
    case LVN_BEGINLABELEDITW:
        limitEditor(header->hwndFrom);
        break;
    case LVN_ENDLABELEDITW:
        acceptEdit(header->hwndFrom, reinterpret_cast<NMLVDISPINFOW*>(header));
        break;
    default:
        return 0;
    }
    // Editing may begin; an ended edit's label is not taken over.
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, FALSE);
    *handled = true;
    return 1;
}

INT_PTR editCurrencyMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
    switch (message) {
    case WM_NOTIFY:
        return onListNotify(dialog, reinterpret_cast<NMHDR*>(lParam), handled);
    case WM_SIZE:
        if (HWND list = rateListOf(dialog)) MoveWindow(list, 0, 0, kListWidth, HIWORD(lParam), TRUE);
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
