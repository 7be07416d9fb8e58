// Support for black-box tests: copies of the built binaries in a folder of
// their own (their data directory), processes started from there, and
// registry keys put back as they were.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>

// A scratch folder of 200 characters holding copies of the named binaries
// the build made; removed with all it holds at the end.
class BinaryFolder {
public:
    explicit BinaryFolder(std::initializer_list<const wchar_t*> binaries);
    ~BinaryFolder();
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
    bool start(const std::wstring& program);
    // The exit code once the process ended within the limit, or -1.
    long waitExit(DWORD limitMs = 15000);
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();
};

// A key of HKEY_LOCAL_MACHINE with its subkeys as it was when the test
// began; put back at the end, or removed when it did not exist.
class SavedKey {
public:
    explicit SavedKey(const wchar_t* path);
    ~SavedKey();
    SavedKey(const SavedKey&) = delete;
    SavedKey& operator=(const SavedKey&) = delete;

private:
    std::wstring path_;
    std::wstring copy_;  // where the key's tree is kept meanwhile
    bool existed_ = false;
};

// A visible top-level window of the class (and caption, when given) that
// belongs to the process, once it appears within 20 seconds; null otherwise.
HWND waitForWindow(DWORD process, const wchar_t* className, const wchar_t* caption = nullptr);
