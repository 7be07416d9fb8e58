#include "currency/core/file_io_win.h"

#include <cwchar>

#include "currency/core/currency_files.h"

namespace {

SaveStep failingStep = SaveStep::none;

// The other deliverable holds a data file only for one read or replace, a
// few milliseconds; a file held longer than this is given up on.
constexpr DWORD kHeldFileWait = 500;
constexpr DWORD kHeldFileRetry = 10;
constexpr DWORD kUpdateLockWait = 2000;

// Runs `attempt` until it succeeds or fails for a reason other than a
// sharing violation, or the held-file wait has passed.
template <typename Attempt>
bool retryWhileShared(Attempt attempt) {
    DWORD start = GetTickCount();
    for (;;) {
        if (attempt()) return true;
        if (GetLastError() != ERROR_SHARING_VIOLATION || GetTickCount() - start >= kHeldFileWait) return false;
        Sleep(kHeldFileRetry);
    }
}

// True when the test seam makes `step` fail; sets the last error as a real
// failure of that step would leave something there.
bool injectedFailure(SaveStep step) {
    if (failingStep != step) return false;
    SetLastError(ERROR_WRITE_FAULT);
    return true;
}

std::wstring temporaryPathFor(const std::wstring& path) {
    // One name per process: the program and the plug-in may save the same
    // file at once, and neither must take over the other's half-written copy.
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
}

bool writeAll(HANDLE file, const char* data, size_t size) {
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

bool writeTemporary(const std::wstring& temporary, const char* data, size_t size) {
    if (injectedFailure(SaveStep::createTemporary)) return false;
    FileHolder file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) return false;
    if (failingStep == SaveStep::write) {
        // A write that breaks off midway.
        writeAll(file.get(), data, size / 2);
        injectedFailure(SaveStep::write);
        return false;
    }
    if (!writeAll(file.get(), data, size)) return false;
    if (injectedFailure(SaveStep::flush) || !FlushFileBuffers(file.get())) return false;
    if (injectedFailure(SaveStep::close)) return false;
    return file.close();
}

// A read-only target is kept as the user protected it. Windows refuses to
// move a file over it; Wine replaces it, so the check is made here for both.
bool isReadOnly(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return false;
    SetLastError(ERROR_ACCESS_DENIED);
    return true;
}

}  // namespace

void failSavesAt(SaveStep step) { failingStep = step; }

std::wstring dataFilePath(const wchar_t* dataDirectory, const wchar_t* fileName) {
    std::wstring path = dataDirectory != nullptr ? dataDirectory : L"";
    path += fileName;
    return path;
}

ReadResult readFileStart(const std::wstring& path, char* buffer, size_t capacity, size_t* got) {
    *got = 0;
    FileHolder file(INVALID_HANDLE_VALUE);
    retryWhileShared([&] {
        file.reset(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
        return file.isOpen();
    });
    if (!file.isOpen()) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? ReadResult::missing : ReadResult::failed;
    }
    while (*got < capacity) {
        DWORD want = static_cast<DWORD>(capacity - *got);
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer + *got, want, &read, nullptr)) return ReadResult::failed;
        if (read == 0) break;
        *got += read;
    }
    return ReadResult::ok;
}

bool replaceFileAtomically(const std::wstring& path, const void* data, size_t size) {
    std::wstring temporary = temporaryPathFor(path);
    bool replaced = writeTemporary(temporary, static_cast<const char*>(data), size) &&
                    !injectedFailure(SaveStep::replace) && !isReadOnly(path) && retryWhileShared([&] {
                        return MoveFileExW(temporary.c_str(), path.c_str(),
                                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
                    });
    if (!replaced) {
        // The caller may report why the save failed: keep that reason, not
        // the outcome of removing the temporary file.
        DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        SetLastError(error);
    }
    return replaced;
}

namespace {

// The mutex's name: the path folded to lower case (the desktop's paths are
// case-blind) and hashed, as a path may be longer than a name may be.
std::wstring lockNameFor(const std::wstring& path) {
    unsigned long long hash = 14695981039346656037ull;
    for (wchar_t c : path) {
        wchar_t folded = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c == L'/' ? L'\\' : c;
        hash = (hash ^ static_cast<unsigned long long>(folded)) * 1099511628211ull;
    }
    wchar_t name[64];
    swprintf(name, 64, L"Local\\QuantrelData.%016llx", hash);
    return name;
}

}  // namespace

FileUpdateLock::FileUpdateLock(const std::wstring& path) {
    mutex_ = CreateMutexW(nullptr, FALSE, lockNameFor(path).c_str());
    if (mutex_ == nullptr) return;
    // An owner that ended while holding it has finished nothing: the file
    // is whole either way, since every write is an atomic replace.
    DWORD waited = WaitForSingleObject(mutex_, kUpdateLockWait);
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

FileUpdateLock::~FileUpdateLock() {
    if (held_) ReleaseMutex(mutex_);
    if (mutex_ != nullptr) CloseHandle(mutex_);
}
