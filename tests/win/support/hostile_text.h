// Hostile text for value fields, and what a screen shows afterwards: very
// long texts, control characters, a lone minus, numbers beyond the range of a
// double, "nan" and "inf" spelt out, minus zero, and characters above 127
// both as wide characters and through the system code page. Shared by the
// program's and the home-screen item's screen tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

enum Drive : unsigned {
    kTyped = 1,      // key by key: a key release after every character
    kEntered = 2,    // the whole text set, then one key release
    // Typed key by key into the first field of each screen only: the hook is
    // the same for all fields of a screen, and a long text typed into every
    // field would take most of the run; every field takes it set whole.
    kTypedOnce = 4,
};

struct HostileInput {
    const char* name;
    std::wstring text;
    unsigned drives;
};

// The inputs, each with the ways it is driven into a field.
const std::vector<HostileInput>& hostileInputs();

// One text the screen shows and where it is.
struct ShownText {
    std::string where;
    std::wstring text;
};

// Every text of the screen's controls, the items of its boxes and lists and
// the cells of its list views, except the fields listed.
std::vector<ShownText> shownTexts(HWND dialog, const std::vector<int>& exceptIds);

// The text with everything outside printable ASCII as \uXXXX, cut at 80.
std::string printable(const std::wstring& text);

// True when the text reads "nan" or "inf" in any letter case.
bool looksNotFinite(const std::wstring& text);

// The texts of the screen that read "nan" or "inf", one per line; empty when
// there are none.
std::string notFiniteTexts(HWND dialog, const std::vector<int>& exceptIds = {});

// Drives the input into the field (key by key, or set whole and one key
// released) and returns the texts of the screen but that field that read
// "nan" or "inf", one per line; empty when there are none.
std::string driveInto(HWND dialog, int field, const HostileInput& input, Drive drive);

// Names the case in progress, and reports it if the process goes down.
LONG WINAPI reportCrash(EXCEPTION_POINTERS* exception);
void startCase(const std::string& name);
