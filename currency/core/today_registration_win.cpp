// Registration of the plug-in as an item of the Today screen.
#include <cwchar>

#include "currency/core/currency_files.h"
#include "currency/core/file_io_win.h"

namespace {

void setNumber(HKEY key, const wchar_t* name, DWORD value) {
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace

void registerTodayItem(bool enabled) {
    KeyHolder key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTodayItemKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.receive(), nullptr) != ERROR_SUCCESS)
        return;
    static const wchar_t dll[] = L"Zentavo.dll";
    // The size in bytes counts the terminator: (characters + 1) x 2.
    RegSetValueExW(key.get(), L"DLL", 0, REG_SZ, reinterpret_cast<const BYTE*>(dll),
                   static_cast<DWORD>((std::wcslen(dll) + 1) * sizeof(wchar_t)));
    setNumber(key.get(), L"Enabled", enabled ? 1 : 0);
    setNumber(key.get(), L"Options", 0);
    setNumber(key.get(), L"Type", 4);
}
