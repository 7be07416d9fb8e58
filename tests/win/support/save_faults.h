// Faults a save must survive: each step of the atomic replace failing, the
// file held open unshared by another process, and a data directory that
// cannot be written. Shared by the program's and the home-screen item's
// save tests.
#pragma once
#include <windows.h>

#include <iterator>
#include <memory>
#include <string>

#include "currency/core/currency_files.h"

// Another process that holds the file open unshared while this is alive.
class HeldByAnotherProcess {
public:
    explicit HeldByAnotherProcess(const std::wstring& path) {
        start(path);
    }
    ~HeldByAnotherProcess() { release(); }
    HeldByAnotherProcess(const HeldByAnotherProcess&) = delete;
    HeldByAnotherProcess& operator=(const HeldByAnotherProcess&) = delete;

    bool holding() const { return holding_; }
    // Lets go of the file; returns once the holder has ended.
    void release();

private:
    void start(const std::wstring& path);
    HANDLE held_ = nullptr;
    HANDLE release_ = nullptr;
    HANDLE process_ = nullptr;
    bool holding_ = false;
};

// How a save is made to fail.
enum class FaultKind { failingStep, heldByAnotherProcess, missingDirectory };

struct Fault {
    const char* name;
    FaultKind kind;
    SaveStep step;
};

// Every fault, each with its name.
extern const Fault kFaults[7];

// Brings the fault about just before a save: the failing step is armed, the
// file at `filePath` is taken by another process (kept in `holder`), or
// `dataDirectory` (a buffer of MAX_PATH characters) is pointed at
// `missingDirectory`.
void raiseFault(const Fault& fault, const std::wstring& filePath, std::unique_ptr<HeldByAnotherProcess>* holder,
                wchar_t* dataDirectory, const std::wstring& missingDirectory);
