// Support for black-box tests: copies of the built binaries in a folder of
// their own (their data directory), processes started from there, and
// registry keys put back as they were.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>

#include "tests/win/support/win_test.h"

// A scratch folder of 200 characters holding copies of the named binaries
// the build made; removed with all it holds at the end.
class BinaryFolder {
public:
    explicit BinaryFolder(std::initializer_list<const wchar_t*> binaries) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = temp + (L"quantrel-e2e-" + std::to_wstring(GetCurrentProcessId()));
        folder_ += std::wstring(199 - folder_.size(), L'd') + L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
        const std::string built = QUANTREL_BINARY_DIR;  // where the build put the binaries
        for (const wchar_t* binary : binaries)
            if (!CopyFileW((std::wstring(built.begin(), built.end()) + binary).c_str(), file(binary).c_str(), FALSE))
                ready_ = false;
    }
    ~BinaryFolder() {
        for (const std::wstring& name : filesIn(folder_)) DeleteFileW(file(name.c_str()).c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    BinaryFolder(const BinaryFolder&) = delete;
    BinaryFolder& operator=(const BinaryFolder&) = delete;
    bool ready() const { return ready_; }
    const std::wstring& folder() const { return folder_; }  // with its trailing separator
    std::wstring file(const wchar_t* name) const { return folder_ + name; }

private:
    std::wstring folder_;
    bool ready_ = true;
};

// A started program; ended by force if it still runs at the end.
struct Process {
    PROCESS_INFORMATION info = {};
    bool start(const std::wstring& program) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + program + L"\"";
        return CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &info);
    }
    // The exit code once the process ended within the limit, or -1. This
    // thread's messages are dispatched meanwhile: the program may send to
    // the test's windows.
    long waitExit(DWORD limitMs = 15000) {
        if (!waitFor([&] { return WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; }, limitMs)) return -1;
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return static_cast<long>(code);
    }
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (info.hProcess == nullptr) return;
        TerminateProcess(info.hProcess, 1);  // fails harmlessly once it has ended
        WaitForSingleObject(info.hProcess, 5000);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
};

// A key of HKEY_LOCAL_MACHINE with its subkeys as it was when the test
// began; put back at the end, or removed when it did not exist. Its tree is
// kept meanwhile under a key of its own, deleted whole at the end.
class SavedKey {
public:
    explicit SavedKey(const wchar_t* path) : path_(path), copy_(L"SOFTWARE\\Quantrel test copy of ") {
        for (wchar_t c : path_) copy_ += c == L'\\' ? L'|' : c;
        HKEY copy = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, copy_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &copy, nullptr);
        existed_ = RegCopyTreeW(HKEY_LOCAL_MACHINE, path, copy) == ERROR_SUCCESS;
        RegCloseKey(copy);
    }
    ~SavedKey() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, path_.c_str());
        if (existed_) {
            HKEY key = nullptr;
            RegCreateKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
            RegCopyTreeW(HKEY_LOCAL_MACHINE, copy_.c_str(), key);
            RegCloseKey(key);
        }
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, copy_.c_str());
    }
    SavedKey(const SavedKey&) = delete;
    SavedKey& operator=(const SavedKey&) = delete;

private:
    std::wstring path_;
    std::wstring copy_;
    bool existed_ = false;
};

// A visible top-level window of the class (and caption, when given) that
// belongs to the process, once it appears within 20 seconds; null otherwise.
inline HWND waitForWindow(DWORD process, const wchar_t* className, const wchar_t* caption = nullptr) {
    HWND found = nullptr;
    waitFor(
        [&] {
            HWND window = nullptr;
            DWORD owner = 0;
            while ((window = FindWindowExW(nullptr, window, className, caption)) != nullptr) {
                GetWindowThreadProcessId(window, &owner);
                if (owner == process && IsWindowVisible(window)) found = window;
            }
            return found != nullptr;
        },
        20000);
    return found;
}
