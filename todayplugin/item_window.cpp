// The item window that the host places on its home screen: it holds the
// rates list, answers the host's refresh queries and clear-cache messages,
// and lets the host paint its background under it.
#include <windows.h>
#include <commctrl.h>

#include "currency/core/currency_files.h"
#include "currency/screens/rates_list_view.h"
#include "todayplugin/plugin.h"

PluginState pluginState;
SelectionState pluginSelections;

namespace {

const wchar_t kItemClass[] = L"MyToday";
const wchar_t kItemWindowName[] = L"MyTodayScreen";
const int kItemWidth = 240;
const DWORD kItemHeight = 100;
// The extended list style the item gives its list, every other bit clear.

void registerItemClass(HINSTANCE instance) {
    UnregisterClassW(kItemClass, instance);  // a leftover of an earlier item; failure is fine
    WNDCLASSW itemClass = {};
    itemClass.style = CS_HREDRAW | CS_VREDRAW;
    itemClass.lpfnWndProc = itemWindowProc;
    itemClass.hInstance = instance;
    itemClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
    itemClass.lpszClassName = kItemClass;
    RegisterClassW(&itemClass);
}

void makeRatesList(HWND window) {
    pluginState.ratesList = createRatesList(window);
}

// Lays the list over the whole client area and has it repaint now, so that
// it shows what the table holds at this moment.
void layRatesList(HWND window) {
    HWND list = pluginState.ratesList;
    if (list == nullptr) return;
    RECT client;
    GetClientRect(window, &client);
    MoveWindow(list, client.left, client.top, client.right - client.left, client.bottom - client.top, TRUE);
    fitRatesListColumns(list);
    ShowWindow(list, SW_SHOW);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
}

LRESULT onCreate(HWND window) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    readDataDirectory();
    pluginState.ratesList = nullptr;  // this window's list is made below
    reloadRates();
    makeRatesList(window);
    return 0;
}

// The item draws nothing of its own: the host's background shows through
// (erase) and the list covers the rest.
LRESULT onPaint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    layRatesList(window);
    return 0;
}

LRESULT onEraseBackground(HWND window, HDC dc) {
    TODAYDRAWWATERMARKINFO watermark = {};
    watermark.hdc = dc;
    GetClientRect(window, &watermark.rc);
    watermark.hwnd = window;
    SendMessageW(GetParent(window), TODAYM_DRAWWATERMARK, 0, reinterpret_cast<LPARAM>(&watermark));
    return 1;
}

// Only reached where no list lies over the item: the list was not made.
LRESULT onTap(HWND window) {
    MessageBoxW(window, L"Initialization Error", L"Error", MB_OK);
    return 0;
}

LRESULT onClearCache(HWND window) {
    reloadRates();
    if (pluginState.ratesList == nullptr) makeRatesList(window);
    layRatesList(window);
    return 1;
}

// The first query after initialisation gives the item its height; later
// ones reload the rates when the program has raised `Updated`.
LRESULT onQueryRefresh(TODAYLISTITEM* item) {
    if (pluginState.firstQueryPending) {
        pluginState.firstQueryPending = false;
        if (item != nullptr) item->cyp = kItemHeight;
        return 1;
    }
    if (!consumeUpdatedFlag()) return 0;
    reloadRates();
    return 1;
}

}  // namespace

void readDataDirectory() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kQuelvindorKey, 0, nullptr, 0, KEY_QUERY_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    // Room for a whole path of MAX_PATH characters and a terminator of our own.
    wchar_t path[MAX_PATH + 1] = L"";
    DWORD type = 0;
    DWORD size = MAX_PATH * sizeof(wchar_t);
    if (RegQueryValueExW(key, kModulePathValue, nullptr, &type, reinterpret_cast<BYTE*>(path), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ) {
        path[size / sizeof(wchar_t)] = 0;
        lstrcpynW(pluginState.dataDirectory, path, MAX_PATH);
    }
    RegCloseKey(key);
}

void reloadRates() {
    loadRates(pluginState.dataDirectory, pluginState.table);
    applyRateEdits(pluginState.table, pluginState.unsavedEdits.data(), pluginState.unsavedEdits.size());
    if (pluginState.ratesList != nullptr) syncRatesListRows(pluginState.ratesList);
}

LRESULT CALLBACK itemWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_PAINT:
        return onPaint(window);
    case WM_ERASEBKGND:
        return onEraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_NOTIFY:
        return onItemNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_LBUTTONUP:
        return onTap(window);
    case WM_TODAYCUSTOM_CLEARCACHE:
        return onClearCache(window);
    case WM_TODAYCUSTOM_QUERYREFRESHCACHE:
        return onQueryRefresh(reinterpret_cast<TODAYLISTITEM*>(wParam));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

extern "C" HWND initializeItem(TODAYLISTITEM* item, HWND parent) {
    if (item == nullptr || !item->fEnabled) return nullptr;
    pluginState.instance = item->hinstDLL;
    registerItemClass(pluginState.instance);
    HWND window = CreateWindowExW(0, kItemClass, kItemWindowName, WS_CHILD | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                  kItemWidth, 0, parent, nullptr, pluginState.instance, nullptr);
    pluginState.itemWindow = window;
    pluginState.firstQueryPending = true;
    return window;
}

// Every other message is left to the dialog manager's own processing (FALSE).
// Handing them to the window's default procedure instead would have the
// dialog manager misread its answers: the caption would lose its title and
// hit-testing would find nothing.
extern "C" INT_PTR CALLBACK optionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK) return FALSE;
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}
