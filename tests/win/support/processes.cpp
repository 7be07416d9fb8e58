#include "tests/win/support/processes.h"

#include <cstring>

#include "tests/win/support/win_test.h"

std::wstring builtFile(const wchar_t* name) {
    const char* directory = QUANTREL_BINARY_DIR;
    std::wstring path(directory, directory + strlen(directory));
    path += name;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

BinaryFolder::BinaryFolder(const wchar_t* tag, std::initializer_list<const wchar_t*> binaries) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    wchar_t name[MAX_PATH];
    wsprintfW(name, L"%squantrel-%s-%lu\\", temp, tag, GetCurrentProcessId());
    folder_ = name;
    CreateDirectoryW(folder_.c_str(), nullptr);
    for (const wchar_t* binary : binaries)
        if (!CopyFileW(builtFile(binary).c_str(), file(binary).c_str(), FALSE)) ready_ = false;
}

BinaryFolder::~BinaryFolder() {
    for (const std::wstring& name : filesIn(folder_)) DeleteFileW(file(name.c_str()).c_str());
    RemoveDirectoryW(folder_.c_str());
}

std::set<std::wstring> BinaryFolder::files() const {
    std::vector<std::wstring> names = filesIn(folder_);
    return std::set<std::wstring>(names.begin(), names.end());
}

bool Process::start(const std::wstring& program, const std::wstring& arguments) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    return CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info) != FALSE;
}

bool Process::ended(DWORD limitMs, const std::function<bool(const std::function<bool()>&, DWORD)>& wait) {
    auto done = [&] { return WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; };
    return wait ? wait(done, limitMs) : waitFor(done, limitMs);
}

long Process::waitExit(DWORD limitMs) {
    if (!ended(limitMs)) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return static_cast<long>(code);
}

Process::~Process() {
    if (info.hProcess == nullptr) return;
    if (WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

SavedKey::SavedKey(const wchar_t* path) : path_(path) {
    HKEY key = nullptr;
    existed_ = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!existed_) return;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0, size = 0;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        Value value = {name, type, std::vector<BYTE>(size)};
        DWORD read = size;
        RegQueryValueExW(key, name, nullptr, nullptr, value.data.data(), &read);
        values_.push_back(value);
    }
    RegCloseKey(key);
}

SavedKey::~SavedKey() {
    if (!existed_) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, path_.c_str());
        return;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    wchar_t name[256];
    DWORD nameLength = 256;
    while (RegEnumValueW(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        RegDeleteValueW(key, name);
        nameLength = 256;
    }
    for (const Value& value : values_)
        RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    RegCloseKey(key);
}

std::vector<HWND> windowsOfClass(const wchar_t* className) {
    std::vector<HWND> found;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) found.push_back(window);
    return found;
}

DWORD processOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

HWND waitForWindow(DWORD process, const wchar_t* className, const wchar_t* caption,
                   const std::function<bool(const std::function<bool()>&, DWORD)>& wait) {
    HWND found = nullptr;
    auto appeared = [&] {
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, className, caption)) != nullptr)
            if (processOf(window) == process && IsWindowVisible(window)) found = window;
        return found != nullptr;
    };
    if (wait)
        wait(appeared, 20000);
    else
        waitFor(appeared, 20000);
    return found;
}
