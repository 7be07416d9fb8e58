// Unshared reads and atomic replaces of the currency core's data files.
// Internal to currency/core (mingw only); callers use currency_files.h.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

#include "currency/core/currency_files.h"

// Closes a file handle when it goes out of scope.
class FileHolder {
public:
    explicit FileHolder(HANDLE handle) : handle_(handle) {}
    ~FileHolder() { close(); }
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    // Closes the handle held and holds `handle` instead.
    void reset(HANDLE handle) {
        close();
        handle_ = handle;
    }
    // Closes now; false when the platform reports a failure.
    bool close() {
        if (!isOpen()) return true;
        BOOL closed = CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE handle_;
};

// Closes a registry key when it goes out of scope.
class KeyHolder {
public:
    KeyHolder() = default;
    ~KeyHolder() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    KeyHolder(const KeyHolder&) = delete;
    KeyHolder& operator=(const KeyHolder&) = delete;
    HKEY* receive() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// The data directory directly followed by the file name (no separator added;
// a null directory counts as empty).
std::wstring dataFilePath(const wchar_t* dataDirectory, const wchar_t* fileName);

// Reads up to `capacity` bytes from the start of an existing file opened
// unshared; `*got` is the number read. missing: the file does not exist;
// failed: it exists but could not be opened or read. A file another opener
// holds is tried again for about half a second first.
ReadResult readFileStart(const std::wstring& path, char* buffer, size_t capacity, size_t* got);

// Replaces the file at `path` with `size` bytes, never destroying it on the
// way: writes a temporary file beside it (unshared), flushes and closes it,
// then moves it over `path` with MOVEFILE_REPLACE_EXISTING and
// MOVEFILE_WRITE_THROUGH. A read-only file at `path` is not replaced. On any
// failure the temporary file is deleted, the old file stays as it was, and
// the answer is false.
bool replaceFileAtomically(const std::wstring& path, const void* data, size_t size);

// Held while a data file is read, changed and written back: a mutex named
// after the file's path, shared by every process of the desktop session, so
// that the program and the plug-in never write between the other's read and
// write. held() is false when the other held it for over two seconds.
class FileUpdateLock {
public:
    explicit FileUpdateLock(const std::wstring& path);
    ~FileUpdateLock();
    FileUpdateLock(const FileUpdateLock&) = delete;
    FileUpdateLock& operator=(const FileUpdateLock&) = delete;
    bool held() const { return held_; }

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};
