// Checks that screen tests share: typing while the edited field keeps its
// text, the colour a screen answers for a control, and a screenshot with the
// keyboard lowered.
#pragma once
#include <windows.h>

#include <string>

// Types `keys` one key at a time into the field (a backspace removes the
// last character) and expects, after each key release, the field to hold
// exactly the text typed so far: a screen never rewrites the edited field.
// No keys: releases End once and expects the text unchanged.
void typeKeepingText(HWND dialog, int id, const std::wstring& keys, const char* name);

// The colour of the brush the screen answers a colour request with, or
// CLR_INVALID when the answer is no brush.
COLORREF answeredColour(HWND dialog, UINT message, HWND control);

// The screen as the user sees it with the keyboard lowered: repainted where
// the panel was before the picture is taken.
void screenshotKeyboardDown(HWND dialog, const wchar_t* name);

// Expects every visible control of the screen within the device's 240 x 320
// pixels, every label, button and box text whole inside its control, in
// the font the control draws with, and every list's columns side by side
// without sideways scrolling.
void expectFitsTheDevice(HWND dialog, const char* name);
