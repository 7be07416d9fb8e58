// Hostile text for value fields, and what a screen shows afterwards. Shared
// by the screens' and the rates editor's tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A handful of representatives, one per kind of fault a field reading can
// have; the fuzz targets take the readers through the rest. Each is set as
// a field's whole text; a `typed` one is also typed key by key.
struct HostileInput {
    const char* name;
    std::wstring text;
    bool typed;
};
const std::vector<HostileInput>& hostileInputs();

// True when the text reads "nan" or "inf" in any letter case.
bool looksNotFinite(const std::wstring& text);

// The texts of the screen's controls, list lines and list-view cells that
// read "nan" or "inf", one per line, but the given field's (what the user
// typed is the user's); empty when there are none.
std::string notFiniteTexts(HWND dialog, int exceptId = -1);
