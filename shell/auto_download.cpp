// The launcher's six-hourly timer. The automatic rate download runs here
// when Auto Update is on.
#include "currency/core/download.h"
#include "shell/program.h"

// Only an Auto Update of exactly 1, as held in memory, downloads; the
// download then shows no message whatever happens.
void autoDownload(HWND owner) {
    if (programSelections.autoUpdate != 1) return;
    silentDownload = 1;
    downloadRates(owner);
    silentDownload = 0;
}
