// Screens the launcher can open. Each calculator's screen file defines its
// own procedure; those listed here are not part of the program yet.
#include "shell/screens.h"

const DLGPROC areaCodesScreenProcedure = nullptr;
const DLGPROC currencyScreenProcedure = nullptr;
const DLGPROC loanScreenProcedure = nullptr;
const DLGPROC tipScreenProcedure = nullptr;
const DLGPROC computerScreenProcedure = nullptr;
const DLGPROC metricScreenProcedure = nullptr;
const DLGPROC dateScreenProcedure = nullptr;
const DLGPROC latLonScreenProcedure = nullptr;
