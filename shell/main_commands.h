// The main window's commands: close, help, About.
#pragma once
#include <windows.h>

// Handles a command of the main window; false when it is left to the
// platform's default processing.
bool onMainCommand(HWND window, int command);
// Ends the program as command 1 does.
void closeProgram(HWND mainWindow);
