// The About box: an opening animation driven by timer 101, then the About
// picture with its hot spots. Everything is drawn on white; the pictures are
// loaded for each drawing and released after it.
#include "shell/about_box.h"

#include <windowsx.h>

#include "platform/pocketpc/aygshell.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"

AboutAnimation aboutAnimation;

namespace {

const UINT kFramePeriod = 25;  // milliseconds
const RECT kScreenArea = {0, 0, DEVICE_SCREEN_WIDTH, DEVICE_SCREEN_HEIGHT};
const int kPieceRow = 102;     // top of the left and right pieces, left of the top piece
const int kAddressLength = 260;

// One sliding piece: it moves by `step` while the new value stays on the near
// side of `bound`, so it comes to rest at `rest`.
struct SlidingPiece {
    int pictureId;
    int AboutAnimation::*position;
    bool horizontal;
    int start;
    int step;
    int bound;
    int rest;
};

const SlidingPiece kPieces[] = {
    {IDB_ABOUT_LEFT, &AboutAnimation::leftPieceLeft, true, 0, 2, 24, 22},
    {IDB_ABOUT_TOP, &AboutAnimation::topPieceTop, false, 0, 4, 76, 72},
    {IDB_ABOUT_RIGHT, &AboutAnimation::rightPieceLeft, true, 240, -3, 189, 192},
};

// The link lines of the About picture. Right and bottom edges are exclusive;
// a command line of null is the maker's web address (string resource).
struct HotSpot {
    RECT area;
    const wchar_t* program;
    const wchar_t* commandLine;
};

const HotSpot kHotSpots[] = {
    {{65, 187, 178, 198}, L"PegHelp.exe", L"OVRQuantrel.htm#contact_us"},
    {{44, 202, 196, 213}, L"PegHelp.exe", L"OVRQuantrel.htm#trademarks_copyrights"},
    {{52, 221, 189, 229}, L"iexplore.exe", nullptr},
};

struct Placement {
    int pictureId;
    int left;
    int top;
};

HBRUSH whiteBrush() { return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)); }

// Fills the screen area white and draws the pictures at their own size. The
// scene is composed off screen, so a frame never shows half drawn; a picture
// that does not load leaves its place white.
void drawScene(HDC target, const Placement* placements, int count) {
    const int width = kScreenArea.right, height = kScreenArea.bottom;
    HDC scene = CreateCompatibleDC(target);
    HBITMAP canvas = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ oldCanvas = SelectObject(scene, canvas);
    FillRect(scene, &kScreenArea, whiteBrush());
    HDC source = CreateCompatibleDC(target);
    for (int i = 0; i < count; ++i) {
        HBITMAP picture = LoadBitmapW(programInstance, MAKEINTRESOURCEW(placements[i].pictureId));
        if (picture == nullptr) continue;
        BITMAP size;
        GetObjectW(picture, sizeof size, &size);
        HGDIOBJ oldPicture = SelectObject(source, picture);
        BitBlt(scene, placements[i].left, placements[i].top, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, oldPicture);
        DeleteObject(picture);
    }
    DeleteDC(source);
    BitBlt(target, 0, 0, width, height, scene, 0, 0, SRCCOPY);
    SelectObject(scene, oldCanvas);
    DeleteObject(canvas);
    DeleteDC(scene);
}

Placement piecePlacement(const SlidingPiece& piece) {
    int position = aboutAnimation.*piece.position;
    return piece.horizontal ? Placement{piece.pictureId, position, kPieceRow}
                            : Placement{piece.pictureId, kPieceRow, position};
}

// What the box shows now: the pieces where they are, or the About picture.
void drawCurrent(HDC target) {
    if (aboutAnimation.animationRunning) {
        Placement pieces[3];
        for (int i = 0; i < 3; ++i) pieces[i] = piecePlacement(kPieces[i]);
        drawScene(target, pieces, 3);
    } else {
        const Placement about = {IDB_ABOUT, 0, 0};
        drawScene(target, &about, 1);
    }
}

void drawNow(HWND dialog) {
    HDC dc = GetDC(dialog);
    drawCurrent(dc);
    ReleaseDC(dialog, dc);
}

void paintFinalPicture(HWND dialog) {
    drawNow(dialog);
    UpdateWindow(dialog);
}

bool piecesAtRest() {
    for (const SlidingPiece& piece : kPieces)
        if (aboutAnimation.*piece.position != piece.rest) return false;
    return true;
}

void advance(const SlidingPiece& piece) {
    int next = aboutAnimation.*piece.position + piece.step;
    if (piece.step > 0 ? next < piece.bound : next > piece.bound) aboutAnimation.*piece.position = next;
}

void startAnimation(HWND dialog) {
    for (const SlidingPiece& piece : kPieces) aboutAnimation.*piece.position = piece.start;
    SetTimer(dialog, IDT_ABOUT_ANIMATION, kFramePeriod, nullptr);
    aboutAnimation.animationRunning = true;
}

// Puts the soft keyboard down if it is up.
void lowerSoftKeyboard() {
    SIPINFO sip = {};
    sip.cbSize = sizeof sip;
    if (!SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0) || (sip.fdwFlags & SIPF_ON) == 0) return;
    sip.fdwFlags &= ~SIPF_ON;
    SHSipInfo(SPI_SETSIPINFO, 0, &sip, 0);
}

// The pictures fill the whole box, and the web-address line lies where the
// template puts the OK button: the button stays hidden, so that the line
// takes the taps and no control that cannot be seen closes the box. Done in
// the navigation bar closes it.
INT_PTR onInitDialog(HWND dialog) {
    ShowWindow(GetDlgItem(dialog, IDC_ABOUT_OK), SW_HIDE);
    lowerSoftKeyboard();
    startAnimation(dialog);
    SHINITDLGINFO init = {SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_FULLSCREEN | SHIDIF_SIPDOWN};
    SHInitDialog(&init);
    SetForegroundWindow(dialog);
    SHFullScreen(dialog, SHFS_SHOWTASKBAR | SHFS_HIDESIPBUTTON);
    return TRUE;
}

// A timer message that comes after the final picture is up (one already
// queued when a tap stopped the timer) moves no piece and draws nothing.
INT_PTR onTimer(HWND dialog) {
    if (!aboutAnimation.animationRunning) return 0;
    if (piecesAtRest()) {
        SendMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
        return 0;
    }
    for (const SlidingPiece& piece : kPieces) advance(piece);
    drawNow(dialog);
    return 0;
}

void startHotSpotProgram(const HotSpot& spot) {
    if (spot.commandLine != nullptr) {
        SHStartProgram(spot.program, spot.commandLine);
        return;
    }
    wchar_t address[kAddressLength] = L"";
    LoadStringW(programInstance, IDS_WEB_ADDRESS, address, kAddressLength);
    SHStartProgram(spot.program, address);
}

// The first tap ends the animation and opens nothing, wherever it lands.
INT_PTR onTapRelease(HWND dialog, POINT at) {
    if (aboutAnimation.animationRunning) {
        KillTimer(dialog, IDT_ABOUT_ANIMATION);
        aboutAnimation.animationRunning = false;
        paintFinalPicture(dialog);
        return 0;
    }
    for (const HotSpot& spot : kHotSpots)
        if (PtInRect(&spot.area, at)) startHotSpotProgram(spot);
    return 0;
}

// Coming back from the help viewer or the browser shows the picture at once.
INT_PTR onActivate(HWND dialog) {
    if (aboutAnimation.animationRunning) return 0;
    SHFullScreen(dialog, SHFS_SHOWTASKBAR | SHFS_HIDESIPBUTTON);
    paintFinalPicture(dialog);
    return 0;
}

INT_PTR onPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    drawCurrent(dc);
    EndPaint(dialog, &paint);
    return TRUE;
}

// The full-screen state is given back after the box is hidden: hiding it
// deactivates it, and that activation notice would hide the keyboard button
// again.
INT_PTR onCommand(HWND dialog, int command) {
    if (command != IDOK && command != IDC_ABOUT_OK) return 0;
    KillTimer(dialog, IDT_ABOUT_ANIMATION);
    EndDialog(dialog, 1);
    SHFullScreen(dialog, SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON | SHFS_SHOWSTARTICON);
    return TRUE;
}

}  // namespace

void showAboutBox(HWND owner) {
    deviceDialogBox(programInstance, MAKEINTRESOURCEW(IDD_ABOUT), owner, aboutBoxProcedure, 0);
}

INT_PTR CALLBACK aboutBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(dialog);
    case WM_TIMER:
        return onTimer(dialog);
    case WM_LBUTTONUP:
        return onTapRelease(dialog, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_ACTIVATE:
        return onActivate(dialog);
    case WM_PAINT:
        return onPaint(dialog);
    case WM_COMMAND:
        return onCommand(dialog, LOWORD(wParam));
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<INT_PTR>(whiteBrush());
    }
    return 0;
}
