// The program's rate download: the currency core's download into the
// program's own data directory.
#include "currency/core/download.h"
#include "shell/program.h"

int downloadRates(HWND owner) { return downloadRatesTo(owner, dataDirectory); }
