// Support for black-box tests: copies of the built binaries in a folder of
// their own (their data directory), processes started from there, and
// registry keys put back as they were.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

// The path of a file the build made (Quantrel.exe, TodayHost.exe, ...).
std::wstring builtFile(const wchar_t* name);

// A scratch folder holding copies of the named binaries; removed with all
// it holds at the end.
class BinaryFolder {
public:
    BinaryFolder(const wchar_t* tag, std::initializer_list<const wchar_t*> binaries);
    ~BinaryFolder();
    BinaryFolder(const BinaryFolder&) = delete;
    BinaryFolder& operator=(const BinaryFolder&) = delete;
    bool ready() const { return ready_; }
    // The folder's path with its trailing separator.
    const std::wstring& folder() const { return folder_; }
    std::wstring file(const wchar_t* name) const { return folder_ + name; }
    std::set<std::wstring> files() const;

private:
    std::wstring folder_;
    bool ready_ = true;
};

// A started program; ended by force if it still runs at the end.
struct Process {
    PROCESS_INFORMATION info = {};
    bool start(const std::wstring& program, const std::wstring& arguments = std::wstring());
    // True once the process has ended, within the limit.
    bool ended(DWORD limitMs = 15000, const std::function<bool(const std::function<bool()>&, DWORD)>& wait = {});
    // The exit code once the process ended within the limit, or -1.
    long waitExit(DWORD limitMs = 15000);
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();
};

// A key of HKEY_LOCAL_MACHINE as it was when the test began; put back at the
// end: its values rewritten, or the key removed when it did not exist.
class SavedKey {
public:
    explicit SavedKey(const wchar_t* path);
    ~SavedKey();
    SavedKey(const SavedKey&) = delete;
    SavedKey& operator=(const SavedKey&) = delete;

private:
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::wstring path_;
    bool existed_ = false;
    std::vector<Value> values_;
};

// The process a window belongs to.
DWORD processOf(HWND window);

// A visible top-level window of the class (and caption, when given) that
// belongs to the process, once it appears within the limit; null otherwise.
// `wait` replaces the usual waiting where a test needs a finer step.
HWND waitForWindow(DWORD process, const wchar_t* className, const wchar_t* caption = nullptr,
                   const std::function<bool(const std::function<bool()>&, DWORD)>& wait = {});

// The top-level windows of a class, of any process.
std::vector<HWND> windowsOfClass(const wchar_t* className);
