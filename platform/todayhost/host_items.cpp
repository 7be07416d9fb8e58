// The home screen's items: read from the registry, loaded from their
// libraries, initialised through ordinal 240 with a filled item record, laid
// out by the heights they ask for, and driven with the host's messages.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/pocketpc/aygshell.h"
#include "platform/todayhost/today_host.h"

namespace {

const wchar_t kItemsKey[] = L"SOFTWARE\\Microsoft\\Today\\Items";
const wchar_t kOptionsProcedureProperty[] = L"TodayItemOptionsProcedure";

// One item's registry entry.
struct ItemEntry {
    std::wstring keyName;
    std::wstring library;  // as the DLL value names it
    DWORD type = 0;
    DWORD enabled = 0;
    DWORD options = 0;
    DWORD order = 0;
};

// A loaded item; the record lives as long as the item, at a fixed address,
// since the item keeps its pointer for the refresh queries.
struct HostItem {
    std::wstring keyName;
    TODAYLISTITEM record;
    PFNCUSTOMOPTIONSDLGPROC optionsProcedure;
};

std::vector<std::unique_ptr<HostItem>> items;
HKEY watchedKey = nullptr;

DWORD readNumber(HKEY key, const wchar_t* name) {
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return 0;
    return value;
}

std::wstring readText(HKEY key, const wchar_t* name) {
    wchar_t text[MAX_PATH + 1] = L"";
    DWORD type = 0;
    DWORD size = MAX_PATH * sizeof(wchar_t);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::wstring();
    text[size / sizeof(wchar_t)] = 0;
    return text;
}

std::vector<ItemEntry> readItemEntries() {
    std::vector<ItemEntry> entries;
    HKEY itemsKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kItemsKey, 0, KEY_READ, &itemsKey) != ERROR_SUCCESS) return entries;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(itemsKey, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY itemKey = nullptr;
        if (RegOpenKeyExW(itemsKey, name, 0, KEY_READ, &itemKey) != ERROR_SUCCESS) continue;
        ItemEntry entry;
        entry.keyName = name;
        entry.library = readText(itemKey, L"DLL");
        entry.type = readNumber(itemKey, L"Type");
        entry.enabled = readNumber(itemKey, L"Enabled");
        entry.options = readNumber(itemKey, L"Options");
        entry.order = readNumber(itemKey, L"Order");
        RegCloseKey(itemKey);
        entries.push_back(entry);
    }
    RegCloseKey(itemsKey);
    return entries;
}

bool isShown(const ItemEntry& entry) { return entry.type == tlitCustom && entry.enabled != 0 && !entry.library.empty(); }

// A library named without a folder lies beside the host.
std::wstring resolveLibrary(const std::wstring& library) {
    if (library.find_first_of(L"\\/:") != std::wstring::npos) return library;
    wchar_t path[MAX_PATH] = L"";
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return library;
    std::wstring folder(path, length);
    size_t separator = folder.find_last_of(L"\\/");
    folder.resize(separator == std::wstring::npos ? 0 : separator + 1);
    return folder + library;
}

HostItem* findItem(const std::wstring& keyName) {
    for (auto& item : items)
        if (item->keyName == keyName) return item.get();
    return nullptr;
}

void dropItem(const std::wstring& keyName) {
    auto found = std::find_if(items.begin(), items.end(), [&](const std::unique_ptr<HostItem>& item) {
        return item->keyName == keyName;
    });
    if (found == items.end()) return;
    if (IsWindow((*found)->record.hwndCustom)) DestroyWindow((*found)->record.hwndCustom);
    items.erase(found);
}

// Loads the library, fills the record and calls ordinal 240. The item is
// kept only when it made a window.
void loadItem(HWND host, const ItemEntry& entry) {
    std::wstring path = resolveLibrary(entry.library);
    HMODULE library = LoadLibraryW(path.c_str());
    if (library == nullptr) return;
    auto initialize = reinterpret_cast<PFNCUSTOMINITIALIZEITEM>(
        reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ORDINAL_INITIALIZEITEM))));
    if (initialize == nullptr) {
        FreeLibrary(library);
        return;
    }
    std::unique_ptr<HostItem> item(new HostItem());
    item->keyName = entry.keyName;
    item->optionsProcedure = reinterpret_cast<PFNCUSTOMOPTIONSDLGPROC>(
        reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ORDINAL_OPTIONSDIALOGPROC))));
    TODAYLISTITEM& record = item->record;
    lstrcpynW(record.szName, entry.keyName.c_str(), MAX_ITEMNAME);
    record.tlit = tlitCustom;
    record.dwOrder = entry.order;
    record.cyp = 0;
    record.fEnabled = TRUE;
    record.fOptions = entry.options != 0;
    record.grfFlags = 0;
    lstrcpynW(record.szDLLPath, path.c_str(), MAX_PATH);
    record.hinstDLL = library;
    record.hwndCustom = initialize(&record, host);
    if (record.hwndCustom == nullptr) {
        FreeLibrary(library);
        return;
    }
    SendMessageW(record.hwndCustom, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&record), 0);
    items.push_back(std::move(item));
}

void sortItems() {
    std::stable_sort(items.begin(), items.end(), [](const std::unique_ptr<HostItem>& a, const std::unique_ptr<HostItem>& b) {
        if (a->record.dwOrder != b->record.dwOrder) return a->record.dwOrder < b->record.dwOrder;
        return a->keyName < b->keyName;
    });
}

// A dialog smaller than the screen opens at the top of the work area,
// centred, below the navigation bar that carries its OK.
void placeUnderNavigationBar(HWND dialog) {
    RECT work = deviceWorkArea();
    RECT rect;
    GetWindowRect(dialog, &rect);
    int width = rect.right - rect.left;
    SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2, work.top + 4, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Runs the item's own options procedure, with the OK button its template's
// caption asks for.
INT_PTR CALLBACK optionsHostProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetPropW(dialog, kOptionsProcedureProperty, reinterpret_cast<HANDLE>(lParam));
        if (static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)) & WS_EX_CAPTIONOKBTN) {
            SHINITDLGINFO init = {SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON};
            SHInitDialog(&init);
        }
        placeUnderNavigationBar(dialog);
        lParam = 0;
    }
    auto procedure = reinterpret_cast<PFNCUSTOMOPTIONSDLGPROC>(GetPropW(dialog, kOptionsProcedureProperty));
    if (message == WM_NCDESTROY) RemovePropW(dialog, kOptionsProcedureProperty);
    return procedure != nullptr ? procedure(dialog, message, wParam, lParam) : FALSE;
}

}  // namespace

void refreshItems(HWND host) {
    std::vector<ItemEntry> entries = readItemEntries();
    std::vector<std::wstring> stale;
    for (auto& item : items) {
        auto entry = std::find_if(entries.begin(), entries.end(),
                                  [&](const ItemEntry& candidate) { return candidate.keyName == item->keyName; });
        if (entry == entries.end() || !isShown(*entry) ||
            resolveLibrary(entry->library) != std::wstring(item->record.szDLLPath))
            stale.push_back(item->keyName);
    }
    for (const std::wstring& keyName : stale) dropItem(keyName);
    for (auto& item : items)
        SendMessageW(item->record.hwndCustom, WM_TODAYCUSTOM_CLEARCACHE, 0, 0);
    for (const ItemEntry& entry : entries)
        if (isShown(entry) && findItem(entry.keyName) == nullptr) loadItem(host, entry);
    sortItems();
    layoutItems(host);
}

void queryItems(HWND host) {
    bool changed = false;
    for (auto& item : items) {
        TODAYLISTITEM& record = item->record;
        if (SendMessageW(record.hwndCustom, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&record), 0))
            changed = true;
    }
    if (changed) layoutItems(host);
}

void clearItemCaches(HWND host) {
    for (auto& item : items) SendMessageW(item->record.hwndCustom, WM_TODAYCUSTOM_CLEARCACHE, 0, 0);
    layoutItems(host);
}

void layoutItems(HWND host) {
    RECT client;
    GetClientRect(host, &client);
    int top = kDateLineHeight;
    for (auto& item : items) {
        int height = static_cast<int>(item->record.cyp);
        SetWindowPos(item->record.hwndCustom, nullptr, 0, top, client.right - client.left, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        top += height;
    }
    RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void showItemOptions(HWND host) {
    for (auto& item : items) {
        // Only an item registered with Options 1 has an options dialog.
        if (item->optionsProcedure == nullptr || !item->record.fOptions) continue;
        deviceDialogBox(item->record.hinstDLL, MAKEINTRESOURCEW(IDD_TODAY_CUSTOM), host, optionsHostProcedure,
                        reinterpret_cast<LPARAM>(item->optionsProcedure));
        return;
    }
}

void dropAllItems() {
    for (auto& item : items)
        if (IsWindow(item->record.hwndCustom)) DestroyWindow(item->record.hwndCustom);
    items.clear();
}

void installItem(const std::wstring& library) {
    std::wstring name = library.substr(library.find_last_of(L"\\/") == std::wstring::npos
                                           ? 0
                                           : library.find_last_of(L"\\/") + 1);
    size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.resize(dot);
    std::wstring keyPath = std::wstring(kItemsKey) + L"\\\"" + name + L"\"";
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return;
    if (disposition == REG_CREATED_NEW_KEY) {
        RegSetValueExW(key, L"DLL", 0, REG_SZ, reinterpret_cast<const BYTE*>(library.c_str()),
                       static_cast<DWORD>((library.size() + 1) * sizeof(wchar_t)));
        const DWORD enabled = 1, options = 0, type = tlitCustom;
        RegSetValueExW(key, L"Enabled", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enabled), sizeof enabled);
        RegSetValueExW(key, L"Options", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&options), sizeof options);
        RegSetValueExW(key, L"Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type), sizeof type);
    }
    RegCloseKey(key);
}

bool watchItemsKey(HANDLE changed) {
    if (watchedKey == nullptr &&
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kItemsKey, 0, nullptr, 0, KEY_READ | KEY_NOTIFY, nullptr, &watchedKey,
                        nullptr) != ERROR_SUCCESS) {
        watchedKey = nullptr;
        return false;
    }
    return RegNotifyChangeKeyValue(watchedKey, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, changed,
                                   TRUE) == ERROR_SUCCESS;
}
