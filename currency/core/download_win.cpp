// The rate download: fetches rates.txt from the rates server with WinINet on
// a helper thread, checks what arrived, and replaces the data directory's
// rates.txt only with a whole rates table.
#include "currency/core/download.h"

#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "currency/core/currency_files.h"
#include "currency/core/file_io_win.h"

namespace {

constexpr const wchar_t* kUserAgent = L"Example";
constexpr const wchar_t* kRatesPath = L"/palmos/quantrel/data/rates.txt";
constexpr DWORD kOpenUrlFlags = 0x40000000;  // INTERNET_FLAG_RAW_DATA
constexpr DWORD kReadSize = 4096;
constexpr DWORD kServerNameLimit = 260;      // characters of RatesServer taken

DWORD networkTimeout = 30000;
DWORD transferDeadline = 60000;

// Where the helper thread is: a transfer abandoned at the deadline is
// reported as a time-out of the call it was waiting in.
enum Stage : int { opening, reading, finished };

enum class Outcome {
    complete,       // status 200 and the whole body
    noSession,      // InternetOpenW failed
    notOpened,      // InternetOpenUrlW failed
    badStatus,      // any status but 200
    readFailed,     // InternetReadFile failed, or the body ended short
    tooLarge,       // more than kRatesBodyLimit bytes announced or sent
};

// One transfer, shared by the waiting thread and the helper thread: whichever
// lets go last frees it, so a helper that outlives the deadline writes into
// memory that still exists, and its late result is dropped with it.
struct Transfer {
    std::wstring address;
    DWORD timeout = 0;
    std::atomic<int> stage{opening};
    Outcome outcome = Outcome::noSession;
    DWORD error = 0;   // the platform's last error of the failed call
    DWORD status = 0;  // HTTP status; 0 when the server gave none
    std::string body;
    // The helper's open WinINet handles, session first. At the deadline the
    // waiting thread closes them, so that the connection goes and a blocked
    // call of the helper returns; a handle opened after that is closed at once.
    std::mutex handlesLock;
    std::vector<HINTERNET> handles;
    bool abandoned = false;
};

// WinINet is loaded when the first download starts, not with the program:
// most runs never download, and the library adds to every start-up.
struct WinInet {
    decltype(&::InternetOpenW) openSession;
    decltype(&::InternetOpenUrlW) openUrl;
    decltype(&::InternetReadFile) read;
    decltype(&::InternetCloseHandle) close;
    decltype(&::HttpQueryInfoW) queryInfo;
    decltype(&::InternetSetOptionW) setOption;
};

template <typename Function>
bool loadFunction(HMODULE library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return *function != nullptr;
}

// The library's functions, or null when it cannot be loaded (the reason is
// then the last error). Loaded once, and kept for the rest of the run.
const WinInet* winInet() {
    static const WinInet* const loaded = []() -> const WinInet* {
        static WinInet functions = {};
        HMODULE library = LoadLibraryW(L"wininet.dll");
        if (library == nullptr) return nullptr;
        bool complete = loadFunction(library, "InternetOpenW", &functions.openSession) &&
                        loadFunction(library, "InternetOpenUrlW", &functions.openUrl) &&
                        loadFunction(library, "InternetReadFile", &functions.read) &&
                        loadFunction(library, "InternetCloseHandle", &functions.close) &&
                        loadFunction(library, "HttpQueryInfoW", &functions.queryInfo) &&
                        loadFunction(library, "InternetSetOptionW", &functions.setOption);
        return complete ? &functions : nullptr;
    }();
    return loaded;
}

// A WinINet handle of the helper, closed when the holder goes unless the
// waiting thread closed it at the deadline (a null handle then).
class InternetHolder {
public:
    InternetHolder(Transfer& transfer, HINTERNET handle) : transfer_(transfer), handle_(handle) {
        if (handle_ == nullptr) return;
        std::lock_guard<std::mutex> lock(transfer_.handlesLock);
        if (transfer_.abandoned) {
            winInet()->close(handle_);
            handle_ = nullptr;
            SetLastError(ERROR_INTERNET_TIMEOUT);
            return;
        }
        transfer_.handles.push_back(handle_);
    }
    ~InternetHolder() {
        if (handle_ == nullptr) return;
        std::lock_guard<std::mutex> lock(transfer_.handlesLock);
        auto held = std::find(transfer_.handles.begin(), transfer_.handles.end(), handle_);
        if (held == transfer_.handles.end()) return;  // closed at the deadline
        transfer_.handles.erase(held);
        winInet()->close(handle_);
    }
    InternetHolder(const InternetHolder&) = delete;
    InternetHolder& operator=(const InternetHolder&) = delete;
    HINTERNET get() const { return handle_; }

private:
    Transfer& transfer_;
    HINTERNET handle_;
};

// The deadline passed: the helper's handles are closed, the request before
// its session.
void abandon(Transfer& transfer) {
    std::lock_guard<std::mutex> lock(transfer.handlesLock);
    transfer.abandoned = true;
    for (auto handle = transfer.handles.rbegin(); handle != transfer.handles.rend(); ++handle)
        winInet()->close(*handle);
    transfer.handles.clear();
}

bool isServerCharacter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'.' ||
           c == L'-' || c == L'_' || c == L':' || c == L'[' || c == L']';
}

// A host or host:port only: nothing that could add a path, a query or user
// information to the address.
bool isServerName(const std::wstring& server) {
    if (server.empty()) return false;
    for (wchar_t c : server)
        if (!isServerCharacter(c)) return false;
    return true;
}

std::wstring ratesServer() {
    KeyHolder key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kQuelvindorKey, 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS)
        return kDefaultRatesServer;
    wchar_t value[kServerNameLimit + 1] = {};
    DWORD type = 0;
    DWORD size = kServerNameLimit * sizeof(wchar_t);
    if (RegQueryValueExW(key.get(), kRatesServerValue, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return kDefaultRatesServer;
    value[size / sizeof(wchar_t)] = L'\0';  // a stored string need not be terminated
    std::wstring server(value);
    return isServerName(server) ? server : kDefaultRatesServer;
}

// A numeric header of the answer; false when the answer has none.
bool queryNumber(HINTERNET request, DWORD info, DWORD* number) {
    DWORD size = sizeof *number;
    *number = 0;
    return winInet()->queryInfo(request, info | HTTP_QUERY_FLAG_NUMBER, number, &size, nullptr) != FALSE;
}

void setTimeouts(HINTERNET session, DWORD timeout) {
    winInet()->setOption(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    winInet()->setOption(session, INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof timeout);
    winInet()->setOption(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
}

void fail(Transfer& transfer, Outcome outcome, DWORD error) {
    transfer.outcome = outcome;
    transfer.error = error;
}

// The WinINet part: session, address, status, body. Touches no file.
void runTransfer(Transfer& transfer) {
    const WinInet* api = winInet();
    if (api == nullptr) return fail(transfer, Outcome::noSession, GetLastError());
    InternetHolder session(transfer, api->openSession(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (session.get() == nullptr) return fail(transfer, Outcome::noSession, GetLastError());
    setTimeouts(session.get(), transfer.timeout);

    InternetHolder request(
        transfer, api->openUrl(session.get(), transfer.address.c_str(), nullptr, 0, kOpenUrlFlags, 0));
    if (request.get() == nullptr) return fail(transfer, Outcome::notOpened, GetLastError());
    queryNumber(request.get(), HTTP_QUERY_STATUS_CODE, &transfer.status);
    if (transfer.status != HTTP_STATUS_OK) return fail(transfer, Outcome::badStatus, 0);
    DWORD announced = 0;
    bool hasLength = queryNumber(request.get(), HTTP_QUERY_CONTENT_LENGTH, &announced);
    if (hasLength && announced > kRatesBodyLimit) return fail(transfer, Outcome::tooLarge, 0);

    transfer.stage = reading;
    std::unique_ptr<char[]> buffer(new char[kReadSize]);
    for (;;) {
        DWORD got = 0;
        if (!api->read(request.get(), buffer.get(), kReadSize, &got))
            return fail(transfer, Outcome::readFailed, GetLastError());
        if (got == 0) break;
        if (transfer.body.size() + got > kRatesBodyLimit) return fail(transfer, Outcome::tooLarge, 0);
        transfer.body.append(buffer.get(), got);
    }
    // A connection that breaks off mid-body can end like a normal end of
    // data: only the announced length tells the two apart.
    if (hasLength && transfer.body.size() != announced)
        return fail(transfer, Outcome::readFailed, ERROR_INTERNET_CONNECTION_ABORTED);
    transfer.outcome = Outcome::complete;
}

DWORD WINAPI transferThread(void* parameter) {
    std::unique_ptr<std::shared_ptr<Transfer>> held(static_cast<std::shared_ptr<Transfer>*>(parameter));
    runTransfer(**held);
    (*held)->stage = finished;
    return 0;
}

// Runs the transfer on a helper thread and waits for it up to the deadline.
// False when the deadline passed first; the helper's connection is then
// closed, it finishes on its own and its result is dropped.
bool transferWithDeadline(const std::shared_ptr<Transfer>& transfer) {
    auto* helperShare = new std::shared_ptr<Transfer>(transfer);
    HANDLE thread = CreateThread(nullptr, 0, transferThread, helperShare, 0, nullptr);
    if (thread == nullptr) {
        // No thread to spare: transfer here, bounded by the time-outs alone.
        delete helperShare;
        runTransfer(*transfer);
        transfer->stage = finished;
        return true;
    }
    DWORD waited = WaitForSingleObject(thread, transferDeadline);
    CloseHandle(thread);
    if (waited == WAIT_OBJECT_0) return true;
    abandon(*transfer);
    return false;
}

bool holdsCurrencies(const std::string& body) {
    auto table = std::make_unique<CurrencyTable>();
    parseRates(body.data(), body.size(), *table);
    return table->count > 0;
}

// Where and whether a download tells how it went.
struct Reporter {
    HWND owner;
    DownloadMessages messages;
};

void report(const Reporter& to, const wchar_t* text, const wchar_t* caption) {
    if (to.messages == DownloadMessages::none) return;
    MessageBoxW(to.owner, text, caption, MB_OK | MB_ICONINFORMATION);
}

int reportError(const Reporter& to, const wchar_t* label, DWORD code) {
    wchar_t text[96];
    swprintf(text, sizeof text / sizeof text[0], L"%ls: %lx", label, static_cast<unsigned long>(code));
    report(to, text, L"Error");
    return 0;
}

int reportStatus(const Reporter& to, DWORD status) {
    wchar_t text[48];
    swprintf(text, sizeof text / sizeof text[0], L"HTTP Error: %lu", static_cast<unsigned long>(status));
    report(to, text, L"Error");
    return 0;
}

int reportInvalid(const Reporter& to) {
    report(to, L"Invalid rates file", L"Error");
    return 0;
}

}  // namespace

void setDownloadTimeLimits(DWORD networkTimeoutMs, DWORD deadlineMs) {
    networkTimeout = networkTimeoutMs;
    transferDeadline = deadlineMs;
}

std::wstring ratesAddress() { return L"http://" + ratesServer() + kRatesPath; }

int downloadRates(HWND owner, const wchar_t* dataDirectory, DownloadMessages messages) {
    const Reporter to = {owner, messages};
    auto transfer = std::make_shared<Transfer>();
    transfer->address = ratesAddress();
    transfer->timeout = networkTimeout;

    if (!transferWithDeadline(transfer)) {
        const wchar_t* label =
            transfer->stage == reading ? L"InternetReadFile Error" : L"InternetOpenUrl Error";
        return reportError(to, label, ERROR_INTERNET_TIMEOUT);
    }
    switch (transfer->outcome) {
    case Outcome::noSession:
    case Outcome::readFailed:
        return reportError(to, L"InternetReadFile Error", transfer->error);
    case Outcome::notOpened:
        return reportError(to, L"InternetOpenUrl Error", transfer->error);
    case Outcome::badStatus:
        return reportStatus(to, transfer->status);
    case Outcome::tooLarge:
        return reportInvalid(to);
    case Outcome::complete:
        break;
    }
    if (transfer->body.empty() || !holdsCurrencies(transfer->body)) return reportInvalid(to);
    std::wstring path = dataFilePath(dataDirectory, kRatesFileName);
    FileUpdateLock lock(path);
    if (!lock.held()) return reportError(to, L"CreateFile Error", ERROR_SHARING_VIOLATION);
    if (!replaceFileAtomically(path, transfer->body.data(), transfer->body.size()))
        return reportError(to, L"CreateFile Error", GetLastError());
    // The home-screen item reloads the new rates at its next refresh.
    setUpdatedFlag();
    report(to, L"Currency rates updated successfully!", L"Currency Sync");
    return 1;
}
