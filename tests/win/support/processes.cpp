#include "tests/win/support/processes.h"

#include "tests/win/support/win_test.h"

BinaryFolder::BinaryFolder(std::initializer_list<const wchar_t*> binaries) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = temp + (L"quantrel-e2e-" + std::to_wstring(GetCurrentProcessId()));
    folder_ += std::wstring(199 - folder_.size(), L'd') + L"\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    const std::string directory = QUANTREL_BINARY_DIR;  // where the build put the binaries
    const std::wstring built(directory.begin(), directory.end());
    for (const wchar_t* binary : binaries)
        if (!CopyFileW((built + binary).c_str(), file(binary).c_str(), FALSE)) ready_ = false;
}

BinaryFolder::~BinaryFolder() {
    for (const std::wstring& name : filesIn(folder_)) DeleteFileW(file(name.c_str()).c_str());
    RemoveDirectoryW(folder_.c_str());
}

bool Process::start(const std::wstring& program) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"";
    return CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info);
}

// Dispatches this thread's messages meanwhile: the program may send to the test's windows.
long Process::waitExit(DWORD limitMs) {
    if (!waitFor([&] { return WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; }, limitMs)) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return static_cast<long>(code);
}

Process::~Process() {
    if (info.hProcess == nullptr) return;
    TerminateProcess(info.hProcess, 1);  // fails harmlessly once it has ended
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

SavedKey::SavedKey(const wchar_t* path) : path_(path), copy_(L"SOFTWARE\\Quantrel test copy of ") {
    for (wchar_t c : path_) copy_ += c == L'\\' ? L'|' : c;  // one key of its own, deleted whole at the end
    HKEY copy = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, copy_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &copy, nullptr);
    existed_ = RegCopyTreeW(HKEY_LOCAL_MACHINE, path, copy) == ERROR_SUCCESS;
    RegCloseKey(copy);
}

SavedKey::~SavedKey() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, path_.c_str());
    if (existed_) {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegCopyTreeW(HKEY_LOCAL_MACHINE, copy_.c_str(), key);
        RegCloseKey(key);
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, copy_.c_str());
}

HWND waitForWindow(DWORD process, const wchar_t* className, const wchar_t* caption) {
    HWND found = nullptr;
    auto appeared = [&] {
        HWND window = nullptr;
        DWORD owner = 0;
        while ((window = FindWindowExW(nullptr, window, className, caption)) != nullptr) {
            GetWindowThreadProcessId(window, &owner);
            if (owner == process && IsWindowVisible(window)) found = window;
        }
        return found != nullptr;
    };
    waitFor(appeared, 20000);
    return found;
}
