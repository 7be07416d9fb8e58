// The screens the launcher opens. A screen that is not part of the program
// is null: its button opens nothing.
#pragma once
#include <windows.h>

extern const DLGPROC areaCodesScreenProcedure;
extern const DLGPROC currencyScreenProcedure;
extern const DLGPROC loanScreenProcedure;
extern const DLGPROC tipScreenProcedure;
extern const DLGPROC computerScreenProcedure;
extern const DLGPROC metricScreenProcedure;
extern const DLGPROC dateScreenProcedure;
extern const DLGPROC latLonScreenProcedure;
