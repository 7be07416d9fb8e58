// The About box (template 103): three picture pieces slide into place, then
// the About picture shows, whose link lines open help topics or the maker's
// web site.
#pragma once
#include <windows.h>

// Where the animation's pieces are, program-wide, owned by the About box.
// The left and right pieces slide along the row at top 102, the top piece
// down the column at left 102.
struct AboutAnimation {
    int leftPieceLeft;   // picture 117: 0 to 22 by 2
    int topPieceTop;     // picture 118: 0 to 72 by 4
    int rightPieceLeft;  // picture 119: 240 to 192 by -3
    bool animationRunning;
};
extern AboutAnimation aboutAnimation;

// Opens the About box modally over the owner; returns when it closes.
void showAboutBox(HWND owner);

INT_PTR CALLBACK aboutBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
