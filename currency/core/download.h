// Downloading rates.txt from the rates server.
#pragma once
#include <windows.h>

#include <string>

#include "currency/core/rates_format.h"

// Whether a download tells the user how it went: "Currency Sync." does, the
// automatic download does not.
enum class DownloadMessages { shown, none };

// Downloads the rates file over HTTP and replaces rates.txt in the data
// directory (trailing separator included; rates.txt is appended directly)
// when the transfer is complete and valid. Reports success and failure in
// message boxes owned by `owner` when messages are shown. Returns 1 on
// success, 0 on failure.
//
// The transfer runs on a helper thread while the calling thread waits for it,
// up to a deadline: the call stays synchronous for its caller, and a stalled
// server cannot hold the program for good. rates.txt is replaced (through a
// temporary file, see replaceFileAtomically) only when the server answered
// with status 200, the body arrived whole (as long as Content-Length says,
// when sent), holds at most kRatesBodyLimit bytes and at least one currency.
// On every failure rates.txt stays as it was. Neither the caller's currency
// table nor `Updated` is touched.
//
// Messages (OK button, information icon, owned by `owner`):
//   "Currency rates updated successfully!"  caption "Currency Sync"
//   "InternetReadFile Error: <code>"        no session, or a read failed or broke off
//   "InternetOpenUrl Error: <code>"         the address could not be opened
//   "HTTP Error: <status>"                  any status but 200 (0: no answer)
//   "Invalid rates file"                    empty, too large, or no currency in it
//   "CreateFile Error: <code>"              rates.txt could not be replaced
// with the caption "Error" for every failure; <code> is the platform's error
// code in lower-case hexadecimal, <status> is decimal.
int downloadRates(HWND owner, const wchar_t* dataDirectory, DownloadMessages messages);

// The address fetched: http://<server>/palmos/quantrel/data/rates.txt, where
// <server> is the string value RatesServer under HKEY_LOCAL_MACHINE
// Software\Orvandel\quelvindor ("host" or "host:port"), or
// kDefaultRatesServer when the value is missing, empty, not a string, or holds
// anything but letters, digits and . - _ : [ ].
std::wstring ratesAddress();

constexpr const wchar_t* kDefaultRatesServer = L"rates.orvandel.example";
constexpr const wchar_t* kRatesServerValue = L"RatesServer";
// The largest body taken: what the rates reader reads whole, so that no
// accepted file is loaded cut short.
constexpr size_t kRatesBodyLimit = kRatesFileCapacity;

// Time limits of a download: the connect and receive time-outs given to
// WinINet (30 s; Wine ignores them) and the deadline of the whole transfer
// (60 s), after which the transfer is abandoned and reported as timed out.
// Tests shorten them.
void setDownloadTimeLimits(DWORD networkTimeoutMs, DWORD deadlineMs);
