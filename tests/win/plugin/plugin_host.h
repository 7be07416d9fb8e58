// Playing the home-screen host for Zentavo in-process: a host window that
// answers the background requests, the item record, the registry values the
// item reads, and reading the rates list's cells.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "currency/core/currency_files.h"
#include "resources/zentavo/zentavo_ids.h"
#include "tests/win/support/win_test.h"
#include "todayplugin/plugin.h"

namespace plugin_test {

constexpr int kItemTop = 24;  // where the host puts the item, below its date line

// Background requests the host answered, as the item sent them.
inline std::vector<TODAYDRAWWATERMARKINFO>& watermarkRequests() {
    static std::vector<TODAYDRAWWATERMARKINFO> requests;
    return requests;
}

inline LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TODAYM_DRAWWATERMARK) {
        const TODAYDRAWWATERMARKINFO* watermark = reinterpret_cast<const TODAYDRAWWATERMARKINFO*>(lParam);
        watermarkRequests().push_back(*watermark);
        FillRect(watermark->hdc, &watermark->rc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

inline HWND createHostWindow() {
    static const wchar_t kClass[] = L"PluginTestHost";
    WNDCLASSW hostClass = {};
    hostClass.lpfnWndProc = hostProcedure;
    hostClass.hInstance = GetModuleHandleW(nullptr);
    hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    hostClass.lpszClassName = kClass;
    RegisterClassW(&hostClass);  // a second registration fails harmlessly
    HWND host = CreateWindowExW(0, kClass, L"Today", WS_OVERLAPPED | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 240, 268,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(host);
    return host;
}

// ---- registry (HKEY_LOCAL_MACHINE is the scratch key of a ScratchPlace) ----
inline void setQuelvindorValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kQuelvindorKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}
inline void setModulePath(const std::wstring& path) {
    setQuelvindorValue(kModulePathValue, REG_SZ, path.c_str(), static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}
inline void setUpdated(DWORD value) { setQuelvindorValue(kUpdatedValue, REG_DWORD, &value, sizeof value); }
inline void deleteUpdated() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kQuelvindorKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, kUpdatedValue);
    RegCloseKey(key);
}
// The value as the registry holds it: "none", "dword N" or "type T".
inline std::string updatedValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kQuelvindorKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "none";
    BYTE data[64] = {};
    DWORD type = 0, size = sizeof data;
    LONG found = RegQueryValueExW(key, kUpdatedValue, nullptr, &type, data, &size);
    RegCloseKey(key);
    if (found != ERROR_SUCCESS) return "none";
    if (type != REG_DWORD) return "type " + std::to_string(type);
    DWORD value = 0;
    memcpy(&value, data, sizeof value);
    return "dword " + std::to_string(value);
}

// ---- the rates list ----
inline std::wstring cellText(HWND list, int row, int column) {
    wchar_t text[128] = L"";
    LVITEMW cell = {};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    return text;
}
inline int rowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

// rates.txt made of a header and name/rate lines as given (rate texts kept
// as written, so a rewrite by the plug-in shows in the bytes).
inline std::string ratesText(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string text = "Test rates\n";
    for (const auto& entry : entries) text += entry.first + "\t" + entry.second + "\n";
    return text;
}

// One item on a host of its own, over a scratch data directory and registry.
class ItemOnHost {
public:
    ItemOnHost() {
        setModulePath(place.directory());
        host = createHostWindow();
        record.hinstDLL = GetModuleHandleW(nullptr);
        record.fEnabled = TRUE;
        record.tlit = tlitCustom;
    }
    ~ItemOnHost() { DestroyWindow(host); }
    ItemOnHost(const ItemOnHost&) = delete;
    ItemOnHost& operator=(const ItemOnHost&) = delete;

    void writeRates(const std::vector<std::pair<std::string, std::string>>& entries) {
        writeFileBytes(place.file(L"rates.txt"), ratesText(entries));
    }
    HWND start() {
        item = initializeItem(&record, host);
        return item;
    }
    LRESULT query() { return SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&record), 0); }
    LRESULT clearCache() { return SendMessageW(item, WM_TODAYCUSTOM_CLEARCACHE, 0, 0); }
    // What the host does on an answer of 1: place the item by its height and redraw.
    void layOut() {
        SetWindowPos(item, nullptr, 0, kItemTop, 240, static_cast<int>(record.cyp), SWP_NOZORDER | SWP_NOACTIVATE);
        RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    // Started, first query answered and laid out, as the host does at once.
    HWND startShown() {
        start();
        query();
        layOut();
        return list();
    }
    HWND list() const { return GetDlgItem(item, IDC_RATES_LIST); }

    ScratchPlace place;
    HWND host = nullptr;
    HWND item = nullptr;
    TODAYLISTITEM record = {};
};

}  // namespace plugin_test
