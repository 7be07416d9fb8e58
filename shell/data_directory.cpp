// The data directory: the program's folder, published in the registry for
// the home-screen plug-in.
#include <cwchar>

#include "currency/core/currency_files.h"
#include "shell/program.h"

wchar_t dataDirectory[MAX_PATH];

// The folder of the program file with its trailing separator: the path cut
// after its last separator, whatever the program file is called.
void computeDataDirectory() {
    wchar_t path[MAX_PATH] = L"";
    DWORD length = GetModuleFileNameW(programInstance, path, MAX_PATH);
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    path[length] = 0;
    wchar_t* separator = wcsrchr(path, L'\\');
    wchar_t* slash = wcsrchr(path, L'/');
    if (slash != nullptr && (separator == nullptr || slash > separator)) separator = slash;
    wchar_t* name = separator != nullptr ? separator + 1 : path;
    *name = 0;
    wcsncpy(dataDirectory, path, MAX_PATH - 1);
    dataDirectory[MAX_PATH - 1] = 0;
}

void publishDataDirectory() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kQuelvindorKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return;
    computeDataDirectory();
    DWORD bytes = static_cast<DWORD>((wcslen(dataDirectory) + 1) * sizeof(wchar_t));
    RegSetValueExW(key, kModulePathValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(dataDirectory), bytes);
    RegCloseKey(key);
}
