#include "frame/screen_frame.h"

#include <algorithm>
#include <string>

#include "frame/wide_text.h"
#include "platform/pocketpc/aygshell.h"

namespace {

// Sent to itself by a screen that was activated, once the activation is over.
const UINT kSettleFocusMessage = WM_APP + 0x3F0;

bool contains(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

HBRUSH fieldBrush() {
    static HBRUSH brush = CreateSolidBrush(kFieldBackgroundColour);
    return brush;
}

HBRUSH backgroundBrush() {
    static HBRUSH brush = CreateSolidBrush(kScreenBackgroundColour);
    return brush;
}

void initialiseScreen(const ScreenFrame& frame, ScreenFrameState& state, WNDPROC fieldProcedure, HWND dialog) {
    if (frame.initContent != nullptr) frame.initContent(dialog);
    if (!frame.valueFields.empty()) {
        HWND first = GetDlgItem(dialog, frame.valueFields.front());
        state.fieldBaseProcedure =
            first != nullptr ? reinterpret_cast<WNDPROC>(GetWindowLongPtrW(first, GWLP_WNDPROC)) : nullptr;
    }
    for (int id : frame.valueFields) {
        HWND field = GetDlgItem(dialog, id);
        if (field != nullptr) SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(fieldProcedure));
    }
    state.menuBar = nullptr;
    if (frame.emptyMenuBar) {
        SHMENUBARINFO bar = {};
        bar.cbSize = sizeof bar;
        bar.hwndParent = dialog;
        bar.dwFlags = SHCMBF_EMPTYBAR;
        if (SHCreateMenuBar(&bar)) state.menuBar = bar.hwndMB;
    }
    SHINITDLGINFO init = {};
    init.dwMask = SHIDIM_FLAGS;
    init.hDlg = dialog;
    init.dwFlags = kScreenInitFlags;
    SHInitDialog(&init);
    if (state.menuBar != nullptr) ShowWindow(state.menuBar, SW_SHOWNOACTIVATE);
}

INT_PTR closeWithDone(const ScreenFrame& frame, ScreenFrameState& state, HWND dialog) {
    if (frame.save != nullptr) frame.save(dialog);
    if (state.menuBar != nullptr) {
        DestroyWindow(state.menuBar);
        state.menuBar = nullptr;
    }
    EndDialog(dialog, 1);
    return 1;
}

// Once a screen is active: the desktop's activation of a screen shown after
// its controls got the focus can leave the focus on the screen itself, and
// another window's activation handling can have lowered the keyboard. The
// focus goes to the screen's first control, as at opening, and the keyboard
// is up whenever a keyboard field has the focus.
void settleFocus(const ScreenFrame& frame, HWND dialog) {
    if (GetActiveWindow() != dialog) return;
    HWND focus = GetFocus();
    if (focus == nullptr || focus == dialog) {
        HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
        if (first != nullptr) SetFocus(first);
        focus = GetFocus();
    }
    if (focus != nullptr && GetParent(focus) == dialog && contains(frame.keyboardFields, GetDlgCtrlID(focus)))
        SHSipPreference(dialog, SIP_UP);
}

void onFocusGained(const ScreenFrame& frame, HWND dialog, int id) {
    if (contains(frame.keyboardFields, id)) SHSipPreference(dialog, SIP_UP);
    if (contains(frame.clearedOnFocus, id))
        for (int cleared : frame.clearedOnFocus) SetDlgItemTextW(dialog, cleared, L"");
}

INT_PTR onCommand(const ScreenFrame& frame, ScreenFrameState& state, HWND dialog, int id, int code) {
    if (id == IDOK) return closeWithDone(frame, state, dialog);
    if (contains(frame.valueFields, id)) {
        if (code == EN_SETFOCUS) onFocusGained(frame, dialog, id);
        if (code == EN_KILLFOCUS && contains(frame.keyboardFields, id)) SHSipPreference(dialog, SIP_DOWN);
        return 0;
    }
    return frame.command != nullptr ? frame.command(dialog, id, code) : 0;
}

// A value field is black on light yellow; the platform answers every other
// edit field. The brush is returned as the answer (the dialog manager takes
// a colour request's answer as the brush) and also set as the message result.
INT_PTR onEditColour(const ScreenFrame& frame, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT answer = DefWindowProcW(dialog, message, wParam, lParam);
    HWND field = reinterpret_cast<HWND>(lParam);
    if (!contains(frame.valueFields, GetDlgCtrlID(field))) return static_cast<INT_PTR>(answer);
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, kFieldTextColour);
    SetBkColor(dc, kFieldBackgroundColour);
    SetBkMode(dc, OPAQUE);
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(fieldBrush()));
    return reinterpret_cast<INT_PTR>(fieldBrush());
}

INT_PTR onBackgroundColour(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    SetBkColor(reinterpret_cast<HDC>(wParam), kScreenBackgroundColour);
    (void)dialog;
    (void)message;
    (void)lParam;
    return reinterpret_cast<INT_PTR>(backgroundBrush());
}

}  // namespace

const ScreenData& screenDataOf(HWND dialog) {
    static const ScreenData none = {};
    const ScreenData* data = reinterpret_cast<const ScreenData*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return data != nullptr ? *data : none;
}

INT_PTR screenDialogProcedure(const ScreenFrame& frame, ScreenFrameState& state, WNDPROC fieldProcedure, HWND dialog,
                              UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            state.data = lParam != 0 ? *reinterpret_cast<const ScreenData*>(lParam) : ScreenData{};
            SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state.data));
            initialiseScreen(frame, state, fieldProcedure, dialog);
            return 1;
        case WM_COMMAND:
            return onCommand(frame, state, dialog, LOWORD(wParam), HIWORD(wParam));
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) PostMessageW(dialog, kSettleFocusMessage, 0, 0);
            break;
        case kSettleFocusMessage:
            settleFocus(frame, dialog);
            return 1;
        case WM_CTLCOLOREDIT:
            return onEditColour(frame, dialog, message, wParam, lParam);
        case WM_CTLCOLORDLG:
            if (frame.colours & kColourDialog) return onBackgroundColour(dialog, message, wParam, lParam);
            break;
        case WM_CTLCOLORSTATIC:
            // A read-only value field asks as a static text does.
            if (contains(frame.valueFields, GetDlgCtrlID(reinterpret_cast<HWND>(lParam))))
                return onEditColour(frame, dialog, message, wParam, lParam);
            if (frame.colours & kColourStatic) return onBackgroundColour(dialog, message, wParam, lParam);
            break;
        case WM_CTLCOLORBTN:
            if (frame.colours & kColourButton) return onBackgroundColour(dialog, message, wParam, lParam);
            break;
    }
    if (frame.message != nullptr) {
        bool handled = false;
        INT_PTR result = frame.message(dialog, message, wParam, lParam, &handled);
        if (handled) return result;
    }
    // Closing through the default processing would destroy the modal screen
    // under the dialog manager; only Done closes a screen.
    if (frame.alsoDefaultProcessing && message != WM_CLOSE && message != WM_INITDIALOG)
        DefWindowProcW(dialog, message, wParam, lParam);
    return 0;
}

LRESULT screenFieldProcedure(const ScreenFrame& frame, ScreenFrameState& state, HWND field, UINT message, WPARAM wParam,
                             LPARAM lParam) {
    if (message == WM_KEYUP && frame.compute != nullptr) {
        int limit = frame.readLimit > 0 ? frame.readLimit : kFieldTextLimit;
        std::string text = readFieldText(field, limit);
        frame.compute(GetParent(field), GetDlgCtrlID(field), text.c_str());
    }
    if (state.fieldBaseProcedure != nullptr)
        return CallWindowProcW(state.fieldBaseProcedure, field, message, wParam, lParam);
    return 0;
}
