#include "tests/win/support/save_faults.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cwchar>

namespace {

// The test program started again with this argument holds a file open
// unshared: --hold-unshared=<parent id>|<event prefix>|<path>. It signals
// "<prefix>-held" once it holds the file and lets go at "<prefix>-release"
// or when the parent ends.
constexpr wchar_t kHoldArgument[] = L"--hold-unshared=";

void holdFileAndExit(const std::wstring& request) {
    size_t first = request.find(L'|');
    size_t second = request.find(L'|', first + 1);
    if (first == std::wstring::npos || second == std::wstring::npos) ExitProcess(3);
    DWORD parentId = static_cast<DWORD>(std::wcstoul(request.substr(0, first).c_str(), nullptr, 10));
    std::wstring prefix = request.substr(first + 1, second - first - 1);
    std::wstring path = request.substr(second + 1);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) ExitProcess(2);
    HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, (prefix + L"-held").c_str());
    HANDLE waits[2] = {OpenEventW(SYNCHRONIZE, FALSE, (prefix + L"-release").c_str()),
                       OpenProcess(SYNCHRONIZE, FALSE, parentId)};
    if (held == nullptr || waits[0] == nullptr || waits[1] == nullptr) ExitProcess(4);
    SetEvent(held);
    WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    CloseHandle(file);
    ExitProcess(0);
}

// Runs before the tests do: the holding process never reaches them.
const bool kIsTestProcess = [] {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const size_t length = wcslen(kHoldArgument);
    for (int i = 1; arguments != nullptr && i < count; ++i)
        if (wcsncmp(arguments[i], kHoldArgument, length) == 0) holdFileAndExit(arguments[i] + length);
    LocalFree(arguments);
    return true;
}();

}  // namespace

void HeldByAnotherProcess::start(const std::wstring& path) {
        static int counter = 0;
        wchar_t prefix[64];
        swprintf(prefix, 64, L"QuantrelHeldFile-%lu-%d", GetCurrentProcessId(), ++counter);
        held_ = CreateEventW(nullptr, TRUE, FALSE, (std::wstring(prefix) + L"-held").c_str());
        release_ = CreateEventW(nullptr, TRUE, FALSE, (std::wstring(prefix) + L"-release").c_str());
        wchar_t program[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(program) + L"\" \"" + kHoldArgument +
                               std::to_wstring(GetCurrentProcessId()) + L"|" + prefix + L"|" + path + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        if (!CreateProcessW(program, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
            return;
        CloseHandle(started.hThread);
        process_ = started.hProcess;
        // The holder has the file, or it ended without getting it.
        HANDLE either[2] = {held_, process_};
        holding_ = WaitForMultipleObjects(2, either, FALSE, 30000) == WAIT_OBJECT_0;
    }

void HeldByAnotherProcess::release() {
        if (release_ != nullptr) SetEvent(release_);
        if (process_ != nullptr) {
            WaitForSingleObject(process_, 30000);
            CloseHandle(process_);
        }
        if (held_ != nullptr) CloseHandle(held_);
        if (release_ != nullptr) CloseHandle(release_);
        process_ = held_ = release_ = nullptr;
        holding_ = false;
    }

const Fault kFaults[7] = {
    {"creating the temporary file fails", FaultKind::failingStep, SaveStep::createTemporary},
    {"writing breaks off halfway", FaultKind::failingStep, SaveStep::write},
    {"flushing fails", FaultKind::failingStep, SaveStep::flush},
    {"closing the temporary file fails", FaultKind::failingStep, SaveStep::close},
    {"replacing the file fails", FaultKind::failingStep, SaveStep::replace},
    {"another process holds the file open unshared", FaultKind::heldByAnotherProcess, SaveStep::none},
    {"the data directory cannot be written", FaultKind::missingDirectory, SaveStep::none},
};


void raiseFault(const Fault& fault, const std::wstring& filePath, std::unique_ptr<HeldByAnotherProcess>* holder,
                wchar_t* dataDirectory, const std::wstring& missingDirectory) {
    switch (fault.kind) {
    case FaultKind::failingStep:
        failSavesAt(fault.step);
        break;
    case FaultKind::heldByAnotherProcess:
        holder->reset(new HeldByAnotherProcess(filePath));
        EXPECT_TRUE((*holder)->holding()) << "the other process could not open the file";
        break;
    case FaultKind::missingDirectory:
        wcsncpy(dataDirectory, missingDirectory.c_str(), MAX_PATH - 1);
        dataDirectory[MAX_PATH - 1] = 0;
        break;
    }
}
