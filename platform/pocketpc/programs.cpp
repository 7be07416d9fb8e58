// Starting the handheld's help viewer and browser. On the desktop the help
// file's topic and the web address go to the desktop's own handler.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_internal.h"
#include "platform/pocketpc/device_test.h"

namespace {

bool startPrograms = true;
std::vector<StartedProgram> startedPrograms;

// The folder of the running program, where the help file lies.
std::wstring programFolder() {
    wchar_t path[MAX_PATH] = L"";
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    size_t separator = folder.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : folder.substr(0, separator + 1);
}

// "file.htm#topic" names a file beside the program and a topic in it.
std::wstring helpAddress(const std::wstring& commandLine) {
    size_t hash = commandLine.find(L'#');
    std::wstring file = commandLine.substr(0, hash);
    std::wstring topic = hash == std::wstring::npos ? std::wstring() : commandLine.substr(hash);
    std::wstring path = programFolder() + file;
    for (wchar_t& c : path)
        if (c == L'\\') c = L'/';
    return L"file:///" + path + topic;
}

}  // namespace

void SHStartProgram(const wchar_t* program, const wchar_t* commandLine) {
    StartedProgram started;
    started.program = program != nullptr ? program : L"";
    started.commandLine = commandLine != nullptr ? commandLine : L"";
    startedPrograms.push_back(started);
    wchar_t log[MAX_PATH];
    if (GetEnvironmentVariableW(L"DEVICE_PROGRAM_LOG", log, MAX_PATH) > 0) {
        HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            std::wstring line = started.program + L" " + started.commandLine + L"\n";
            DWORD written = 0;
            WriteFile(file, line.c_str(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
            CloseHandle(file);
        }
    }
    if (!startPrograms) return;
    std::wstring target;
    if (lstrcmpiW(started.program.c_str(), L"PegHelp.exe") == 0)
        target = helpAddress(started.commandLine);
    else
        target = started.commandLine;
    if (target.empty()) return;
    // The shell library is loaded only when a program is started: a run that
    // never opens help or the browser does not pay for it at start-up.
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    if (shell == nullptr) return;
    auto shellExecute = reinterpret_cast<decltype(&::ShellExecuteW)>(
        reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteW")));
    if (shellExecute != nullptr) shellExecute(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void deviceSetProgramsStarted(bool start) { startPrograms = start; }
const std::vector<StartedProgram>& deviceStartedPrograms() { return startedPrograms; }
void deviceClearStartedPrograms() { startedPrograms.clear(); }
