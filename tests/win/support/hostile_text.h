// Hostile text for value fields, and what a screen shows afterwards. Shared
// by the program's and the home-screen item's screen tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

enum Drive : unsigned {
    kEntered = 1,    // the whole text set, then one key release
    kTypedOnce = 2,  // key by key, a key release after each character; the first field of a screen only
};

struct HostileInput {
    const char* name;
    std::wstring text;
    unsigned drives;
};

// A handful of representatives, one per kind of fault a field reading can
// have; the fuzz targets take the readers through the rest.
const std::vector<HostileInput>& hostileInputs();

// True when the text reads "nan" or "inf" in any letter case.
bool looksNotFinite(const std::wstring& text);

// The texts of the screen's controls, box and list items and list-view cells
// that read "nan" or "inf", one per line, except those of the fields listed
// (what the user typed is the user's); empty when there are none.
std::string notFiniteTexts(HWND dialog, const std::vector<int>& exceptIds = {});

// Drives the input into the field and returns the screen's texts but that
// field's that read "nan" or "inf".
std::string driveInto(HWND dialog, int field, const HostileInput& input, Drive drive);
