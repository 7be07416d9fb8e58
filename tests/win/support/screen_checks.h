// Checks that the program's and the home-screen item's tests share: a
// screen fitting the device, and the pictures a window shows.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Expects every visible control of the screen within the device's 240 x 320
// pixels, every label, button and box text whole inside its control, in
// the font the control draws with, and every list's columns side by side
// without sideways scrolling.
void expectFitsTheDevice(HWND dialog, const char* name);

// A picture of the program's resources at a place in a window.
struct Piece {
    int pictureId, left, top;
};

// Whether the window's client area, up to the device's size, shows exactly
// the pictures at their places on white.
::testing::AssertionResult showsScene(HWND window, const std::vector<Piece>& pieces);
