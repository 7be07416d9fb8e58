// Support for tests that run under Wine: screens created from the real
// resources in-process and driven with messages, a scratch data directory
// and registry, and waiting on conditions instead of time.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/screen_frame.h"

// A fresh data directory (with its trailing separator) and a fresh registry:
// HKEY_LOCAL_MACHINE of this process is redirected to a scratch key for the
// holder's lifetime. Both are removed at the end.
class ScratchPlace {
public:
    ScratchPlace();
    ~ScratchPlace();
    ScratchPlace(const ScratchPlace&) = delete;
    ScratchPlace& operator=(const ScratchPlace&) = delete;
    const std::wstring& directory() const { return directory_; }
    std::wstring file(const wchar_t* name) const { return directory_ + name; }

private:
    std::wstring directory_;
    std::wstring registryPath_;
    HKEY machine_ = nullptr;
};

// Opens the screen modally from the running program's template, as the
// launcher does, handed `data`, and runs `driver` inside the screen's modal
// loop once it is up. Returns the dialog's result (-1 when it could not be
// created). The second closes the screen with Done after the driver.
INT_PTR runScreen(int templateId, DLGPROC screen, ScreenData data, const std::function<void(HWND)>& driver,
                  HWND owner = nullptr);
INT_PTR runScreenThenDone(int templateId, DLGPROC screen, ScreenData data, const std::function<void(HWND)>& driver);

// Sends `command` to `window` and runs `driver` on the screen it opens
// modally, from a timer inside that screen's own loop; Done then closes the
// screen. Returns whether a screen opened.
bool runOpenedBy(HWND window, int command, const std::function<void(HWND)>& driver);

// A choice made in a box, reported to the screen as the box does.
void chooseInBox(HWND dialog, int box, int index);
// The items of a combo box, or of a list box, joined by " | ".
std::wstring boxItems(HWND dialog, int box);
std::wstring listItems(HWND dialog, int list);

// The text of a list view's cell.
std::wstring cellText(HWND list, int row, int column);
// Starts an in-place edit of a row's rate in a rates list; the editor, or null.
HWND beginRateEdit(HWND list, int row);
// Edits the rate of a row of a rates list in place: the text set, then
// Enter; true once the editor has closed.
bool editRate(HWND list, int row, const std::wstring& text);

// Gives the field the focus as a tap does (its focus notifications run).
void focusField(HWND dialog, int fieldId);
// Types text into the field key by key: key down, character, key up, so the
// field's hooked key-release handling runs after each character.
void typeInto(HWND dialog, int fieldId, const std::wstring& text);
// Replaces the field's text, then releases one key in it (as typing the last
// character of `text` would).
void enterText(HWND dialog, int fieldId, const std::wstring& text);
// A key that changes no text (an arrow, shift) pressed and released.
void pressKey(HWND dialog, int fieldId, UINT virtualKey);
std::wstring fieldText(HWND dialog, int id);
void setFieldText(HWND dialog, int id, const std::wstring& text);
// Done, as the navigation bar's "ok" sends it.
void pressDone(HWND dialog);

// Dispatches this thread's messages until the condition holds or about
// `limitMs` passed; returns the condition's last value.
bool waitFor(const std::function<bool()>& condition, DWORD limitMs = 5000);
// Dispatches whatever is queued for this thread now.
void pumpMessages();

// Values under HKEY_LOCAL_MACHINE (the key is created when missing).
void setMachineNumber(const wchar_t* keyPath, const wchar_t* name, DWORD value);
void setMachineText(const wchar_t* keyPath, const wchar_t* name, const std::wstring& text);
// A number under HKEY_LOCAL_MACHINE, or -1 when it is missing or of another
// type; a string value, or "" likewise.
long machineNumber(const wchar_t* keyPath, const wchar_t* name);
std::wstring machineText(const wchar_t* keyPath, const wchar_t* name);
// The program's `Updated` value: its number, or -1 when it is missing or of
// another type.
long updatedFlag();

// The names of the plain files in a directory (its path ends with a separator).
std::vector<std::wstring> filesIn(const std::wstring& directory);

// quantrel.dat holding the slots given, from slot 0 on; the rest is zeros.
std::string selectionRecord(const std::vector<int>& slots);

// Whole files as bytes.
std::string readFileBytes(const std::wstring& path);
bool writeFileBytes(const std::wstring& path, const std::string& bytes);

// Writes the device screen to build/screenshots/<name>.bmp; the test run
// turns it into <name>.png.
bool saveScreenshot(const wchar_t* name);
