// Playing the home-screen host for Zentavo in-process: a host window that
// answers the background requests, the item record over a scratch data
// directory and registry, and the rates list's cells.
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

// Background requests the host answered, as the item sent them.
inline std::vector<TODAYDRAWWATERMARKINFO>& watermarkRequests() {
    static std::vector<TODAYDRAWWATERMARKINFO> requests;
    return requests;
}

inline LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != TODAYM_DRAWWATERMARK) return DefWindowProcW(window, message, wParam, lParam);
    const TODAYDRAWWATERMARKINFO* watermark = reinterpret_cast<const TODAYDRAWWATERMARKINFO*>(lParam);
    watermarkRequests().push_back(*watermark);
    FillRect(watermark->hdc, &watermark->rc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    return TRUE;
}

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

// rates.txt with Dollar at 1 and Euro at the rate given, then the extra lines.
inline std::string ratesText(const std::string& euro, const std::string& more = "") {
    return "Test rates\nDollar\t1\nEuro\t" + euro + "\n" + more;
}

inline void setUpdated(DWORD value) { setMachineNumber(kQuelvindorKey, kUpdatedValue, value); }

// Opens the list's editor on the row, types the text and ends the edit with
// Enter; true once the editor has closed.
inline bool editRate(HWND list, int row, const std::wstring& text) {
    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(row), 0));
    if (editor == nullptr) return false;
    SetWindowTextW(editor, text.c_str());
    SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
    return waitFor([&] { return !IsWindow(editor); });
}

// One item on a host of its own; rates.txt holds Euro at 0.5.
class ItemOnHost {
public:
    ItemOnHost() {
        setMachineText(kQuelvindorKey, kModulePathValue, place.directory());
        writeFileBytes(place.file(kRatesFileName), ratesText("0.5"));
        WNDCLASSW hostClass = {};
        hostClass.lpfnWndProc = hostProcedure;
        hostClass.hInstance = GetModuleHandleW(nullptr);
        hostClass.lpszClassName = L"PluginTestHost";
        RegisterClassW(&hostClass);  // a second registration fails harmlessly
        host = CreateWindowExW(0, L"PluginTestHost", L"Today", WS_OVERLAPPED | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 240,
                               268, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        record.hinstDLL = GetModuleHandleW(nullptr);
        record.fEnabled = TRUE;
        record.tlit = tlitCustom;
    }
    ~ItemOnHost() { DestroyWindow(host); }
    ItemOnHost(const ItemOnHost&) = delete;
    ItemOnHost& operator=(const ItemOnHost&) = delete;

    HWND start() { return item = initializeItem(&record, host); }
    LRESULT query() { return SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&record), 0); }
    // What the host does on an answer of 1: places the item by its height and redraws.
    void layOut() {
        SetWindowPos(item, nullptr, 0, 24, 240, static_cast<int>(record.cyp), SWP_NOZORDER | SWP_NOACTIVATE);
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
