// The program's process-wide records, alive for the whole run.
#pragma once
#include <windows.h>

#include "currency/core/rates_format.h"
#include "currency/core/selection_format.h"
#include "frame/screen_frame.h"
#include "platform/pocketpc/aygshell.h"

extern HINSTANCE programInstance;
// The program's folder with its trailing separator; data files are opened as
// dataDirectory directly followed by the file name.
extern wchar_t dataDirectory[MAX_PATH];
extern HWND menuBar;
extern HWND launcher;
extern SHACTIVATEINFO activationInfo;

// The program's one currency table and selection state.
extern CurrencyTable programRates;
extern SelectionState programSelections;

// Saves the slots of quantrel.dat that a screen's Done owns. Slots whose save
// failed are saved again when the main window goes; nothing else is saved
// then, so choices the program never made are never written over.
void saveProgramSelections(SlotSet slots);

// What every screen the launcher opens works on: the program's data
// directory, table and choices, and saveProgramSelections.
ScreenData programScreenData();

bool initInstance(HINSTANCE instance, int showCommand);
ATOM registerMainWindowClass(HINSTANCE instance, const wchar_t* className);
void computeDataDirectory();
void publishDataDirectory();
LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The launcher's dialog procedure (template 112).
INT_PTR CALLBACK launcherProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
