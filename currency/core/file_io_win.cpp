#include "currency/core/file_io_win.h"

#include "currency/core/currency_files.h"

namespace {

SaveStep failingStep = SaveStep::none;

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
    FileHolder file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
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
                    !injectedFailure(SaveStep::replace) && !isReadOnly(path) &&
                    MoveFileExW(temporary.c_str(), path.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) {
        // The caller may report why the save failed: keep that reason, not
        // the outcome of removing the temporary file.
        DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        SetLastError(error);
    }
    return replaced;
}
