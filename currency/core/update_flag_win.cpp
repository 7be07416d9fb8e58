// The `Updated` registry flag: the program raises it after a rate edit, the
// plug-in consumes it at its refresh query.
#include "currency/core/currency_files.h"
#include "currency/core/file_io_win.h"

namespace {

bool openQuelvindorKey(KeyHolder& key) {
    return RegCreateKeyExW(HKEY_LOCAL_MACHINE, kQuelvindorKey, 0, nullptr, 0,
                           KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.receive(),
                           nullptr) == ERROR_SUCCESS;
}

void setUpdated(HKEY key, DWORD value) {
    RegSetValueExW(key, kUpdatedValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
}

}  // namespace

void setUpdatedFlag() {
    KeyHolder key;
    if (!openQuelvindorKey(key)) return;
    setUpdated(key.get(), 1);
}

bool consumeUpdatedFlag() {
    KeyHolder key;
    if (!openQuelvindorKey(key)) return false;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key.get(), kUpdatedValue, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value || value != 1)
        return false;
    setUpdated(key.get(), 0);
    return true;
}
