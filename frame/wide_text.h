// Field texts: wide in the user interface, 8-bit (system code page) for
// reading numbers and for the files.
#pragma once
#include <windows.h>

#include <string>

// Field and path texts are read with this limit, in characters.
constexpr int kFieldTextLimit = 260;

std::string narrowText(const wchar_t* text);
std::wstring widenText(const char* text);
inline std::wstring widenText(const std::string& text) { return widenText(text.c_str()); }

// The control's text, at most `limit` characters, as 8-bit text.
std::string readFieldText(HWND control, int limit = kFieldTextLimit);
// Sets a dialog control's text from 8-bit text.
void writeFieldText(HWND dialog, int controlId, const std::string& text);
