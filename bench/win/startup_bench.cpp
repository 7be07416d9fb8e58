// Start-up under Wine: Quantrel.exe from its start to its launcher painted,
// against MinimalWindow.exe, a program that shows one window, measured by
// turns in the same run. Each start is timed with the performance counter
// of this process, from just before CreateProcessW until every visible
// window of the started process has been painted (none has a part left to
// paint) after it first waited for input; the window is then closed and
// the process waited for, untimed.
//
// Both programs run as copies in a scratch folder, so that the program's
// data files stay out of the build; the registry value the program
// publishes at start-up is put back as it was.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/win/bench_support.h"

namespace {

const int kRuns = 9;  // timed starts of each program, after one untimed
const wchar_t kQuelvindor[] = L"Software\\Orvandel\\quelvindor";

std::wstring besideThisProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

// `modulePath` as it was; written back at the end, or removed with its key
// when there was none.
class SavedModulePath {
public:
    SavedModulePath() {
        HKEY key = nullptr;
        keyExisted_ = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kQuelvindor, 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (keyExisted_) RegCloseKey(key);
        DWORD size = sizeof value_;
        existed_ = RegGetValueW(HKEY_LOCAL_MACHINE, kQuelvindor, L"modulePath", RRF_RT_REG_SZ, nullptr, value_, &size) ==
                   ERROR_SUCCESS;
    }
    ~SavedModulePath() {
        if (existed_)
            RegSetKeyValueW(HKEY_LOCAL_MACHINE, kQuelvindor, L"modulePath", REG_SZ, value_,
                            static_cast<DWORD>((wcslen(value_) + 1) * sizeof(wchar_t)));
        else if (keyExisted_)
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kQuelvindor, L"modulePath");
        else
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, kQuelvindor);
    }
    SavedModulePath(const SavedModulePath&) = delete;
    SavedModulePath& operator=(const SavedModulePath&) = delete;

private:
    bool keyExisted_ = false;
    bool existed_ = false;
    wchar_t value_[MAX_PATH * 2] = L"";
};

struct ProcessWindows {
    DWORD process;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectChild(HWND window, LPARAM context) {
    if (IsWindowVisible(window)) reinterpret_cast<ProcessWindows*>(context)->windows.push_back(window);
    return TRUE;
}

BOOL CALLBACK collectTopLevel(HWND window, LPARAM context) {
    ProcessWindows* found = reinterpret_cast<ProcessWindows*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != found->process || !IsWindowVisible(window)) return TRUE;
    found->windows.push_back(window);
    EnumChildWindows(window, collectChild, context);
    return TRUE;
}

// The process shows a window of the class, and none of its visible windows
// has anything left to paint.
bool shownAndPainted(DWORD process, const wchar_t* mainClass) {
    ProcessWindows found = {process, {}};
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&found));
    bool mainShown = false;
    for (HWND window : found.windows) {
        wchar_t className[64] = L"";
        GetClassNameW(window, className, 64);
        if (lstrcmpW(className, mainClass) == 0) mainShown = true;
        if (GetUpdateRect(window, nullptr, FALSE)) return false;
    }
    return mainShown;
}

// Starts the program and times it until it is shown and painted; then
// closes it. Negative when it did not come up within 20 s.
double timeStart(const std::wstring& program, const wchar_t* mainClass, WPARAM closeCommand) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + program + L"\"";
    double start = bench::counterSeconds();
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return -1;
    WaitForInputIdle(info.hProcess, 20000);
    double limit = start + 20;
    bool painted = false;
    while (!(painted = shownAndPainted(info.dwProcessId, mainClass)) && bench::counterSeconds() < limit)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    double took = (bench::counterSeconds() - start) * 1e3;

    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, mainClass, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == info.dwProcessId) break;
    }
    if (window != nullptr) PostMessageW(window, closeCommand == 0 ? WM_CLOSE : WM_COMMAND, closeCommand, 0);
    if (WaitForSingleObject(info.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return painted ? took : -1;
}

}  // namespace

int wmain() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    wchar_t name[MAX_PATH];
    wsprintfW(name, L"%squantrel-startup-%lu\\", temp, GetCurrentProcessId());
    const std::wstring folder = name;
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring quantrel = folder + L"Quantrel.exe", minimal = folder + L"MinimalWindow.exe";
    SavedModulePath savedPath;
    int status = 0;
    if (!CopyFileW(besideThisProgram(L"Quantrel.exe").c_str(), quantrel.c_str(), FALSE) ||
        !CopyFileW(besideThisProgram(L"MinimalWindow.exe").c_str(), minimal.c_str(), FALSE)) {
        std::fprintf(stderr, "startup_bench: Quantrel.exe and MinimalWindow.exe are expected beside the program\n");
        status = 1;
    } else {
        bench::Samples program, yardstick;
        for (int run = 0; run <= kRuns && status == 0; ++run) {
            // By turns, so that both see the machine alike; the first start
            // of each warms the caches and is not counted.
            double minimalMs = timeStart(minimal, L"MinimalWindow", 0);
            double programMs = timeStart(quantrel, L"QUANTREL", 1);
            if (minimalMs < 0 || programMs < 0) {
                std::fprintf(stderr, "startup_bench: a program did not come up\n");
                status = 1;
            } else if (run > 0) {
                yardstick.add(minimalMs);
                program.add(programMs);
            }
        }
        if (status == 0) {
            std::printf("\nStart-up to the first window painted, %d starts each by turns after one untimed:\n\n", kRuns);
            std::printf("| Program | median (ms) | fastest (ms) | slowest (ms) |\n|---|---:|---:|---:|\n");
            std::printf("| MinimalWindow.exe (one window) | %.1f | %.1f | %.1f |\n", yardstick.median(),
                        yardstick.percentile(0), yardstick.maximum());
            std::printf("| Quantrel.exe (launcher painted) | %.1f | %.1f | %.1f |\n", program.median(),
                        program.percentile(0), program.maximum());
            double ratio = program.median() / yardstick.median();
            std::printf("\nRatio of the medians: %.2f (target at most 1.5: %s)\n", ratio, ratio <= 1.5 ? "met" : "missed");
        }
    }
    for (const wchar_t* file : {L"Quantrel.exe", L"MinimalWindow.exe", L"quantrel.dat"})
        DeleteFileW((folder + file).c_str());
    RemoveDirectoryW(folder.c_str());
    return status;
}
