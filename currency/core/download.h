// Downloading rates.txt from the rates server.
#pragma once
#include <windows.h>

// Downloads the rates file over HTTP and replaces rates.txt in the data
// directory when the transfer is complete and valid. Reports success and
// failure in message boxes owned by `owner` unless silentDownload is set.
// Returns 1 on success, 0 on failure.
int downloadRates(HWND owner);

// While set, downloadRates shows no message at all.
extern int silentDownload;
