// The dialog procedures of the eight screens the launcher opens.
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
