// A file held open for reading and writing with no sharing, as the other
// deliverable holds it while it reads or writes it.
#pragma once
#include <windows.h>

#include <string>

class HeldFile {
public:
    explicit HeldFile(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldFile() { release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool holding() const { return handle_ != INVALID_HANDLE_VALUE; }
    void release() {
        if (holding()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};
