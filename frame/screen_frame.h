// The frame every calculator screen shares: a modal full-screen dialog with
// a Done button, value fields hooked so that each key release recomputes,
// the soft keyboard raised while a value field has the focus, and the
// screens' colours. What differs between screens is data (ScreenFrame); each
// screen supplies its content initialisation, computation and save hooks.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <vector>

#include "currency/core/rates_format.h"
#include "currency/core/selection_format.h"
#include "platform/pocketpc/aygshell.h"

// Which colour requests a screen answers with the light-blue background.
enum ScreenColours : unsigned {
    kColourDialog = 1,
    kColourStatic = 2,
    kColourButton = 4,
};

constexpr COLORREF kFieldTextColour = RGB(0, 0, 0);
constexpr COLORREF kFieldBackgroundColour = RGB(255, 255, 211);
constexpr COLORREF kScreenBackgroundColour = RGB(189, 224, 250);

// The shell's dialog flags of every screen: Done, full screen, keyboard down.
constexpr DWORD kScreenInitFlags = SHIDIF_DONEBUTTON | SHIDIF_FULLSCREEN | SHIDIF_SIPDOWN;

struct ScreenFrame {
    std::vector<int> valueFields;     // the first one gives fieldBaseProcedure
    std::vector<int> keyboardFields;  // focus raises and lowers the soft keyboard
    std::vector<int> clearedOnFocus;  // a gain of focus in one empties them all
    unsigned colours;                 // ScreenColours answered with light blue
    bool emptyMenuBar;                // an empty menu bar while the screen is open
    bool alsoDefaultProcessing;       // other messages also to default processing
    int readLimit;                    // characters of a field converted for reading

    // Hooks of the screen; any may be null.
    void (*initContent)(HWND dialog);
    // A key was released in a value field; `text` is its 8-bit text.
    void (*compute)(HWND dialog, int fieldId, const char* text);
    void (*save)(HWND dialog);
    // The screen's own commands (combo boxes, buttons); returns the result.
    INT_PTR (*command)(HWND dialog, int controlId, int code);
    // The screen's own other messages; sets *handled when it took one.
    INT_PTR (*message)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, bool* handled);
};

// What a screen works on, handed to it as the dialog's creation parameter
// (the last argument of DialogBoxParam) and kept in the frame's state while
// the screen is open. A screen that needs none of it may be opened with 0.
struct ScreenData {
    const wchar_t* dataDirectory;           // the data files' folder, with its trailing separator
    CurrencyTable* rates;                   // the currency table the screen shows and edits
    SelectionState* selections;             // the stored choices the screen reads and changes
    void (*saveSelections)(SlotSet slots);  // writes the slots the screen's Done owns
};

// The data the open screen was handed (all null when it was handed none).
const ScreenData& screenDataOf(HWND dialog);

// Per screen, alive for the whole run.
struct ScreenFrameState {
    WNDPROC fieldBaseProcedure;
    HWND menuBar;
    ScreenData data;
};

INT_PTR screenDialogProcedure(const ScreenFrame& frame, ScreenFrameState& state, WNDPROC fieldProcedure, HWND dialog,
                              UINT message, WPARAM wParam, LPARAM lParam);
LRESULT screenFieldProcedure(const ScreenFrame& frame, ScreenFrameState& state, HWND field, UINT message, WPARAM wParam,
                             LPARAM lParam);

// The two procedures of one screen, bound to its frame data:
//   const DLGPROC loanScreenProcedure = ScreenProcedures<kLoanFrame>::dialog;
template <const ScreenFrame& Frame>
struct ScreenProcedures {
    static ScreenFrameState state;
    static LRESULT CALLBACK field(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return screenFieldProcedure(Frame, state, window, message, wParam, lParam);
    }
    static INT_PTR CALLBACK dialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return screenDialogProcedure(Frame, state, field, window, message, wParam, lParam);
    }
};
template <const ScreenFrame& Frame>
ScreenFrameState ScreenProcedures<Frame>::state = {};
