// The frame every calculator screen shares, proved on a small test screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"
#include "frame/screen_frame.h"
#include "tests/win/support/screen_checks.h"
#include "tests/win/support/win_test.h"

namespace {

const int kTemplate = 900;
const int kFirst = 901, kSecond = 902, kPlain = 903, kButton = 904;

std::vector<std::string> calls;  // the texts the computation was given
int savesSeen = 0;

void testCompute(HWND dialog, int field, const char* text) {
    calls.push_back(text);
    // Results are written into the other field: that must not recompute.
    SetDlgItemTextW(dialog, field == kFirst ? kSecond : kFirst, L"result");
}
void testSave(HWND) { ++savesSeen; }
void testInit(HWND dialog) { SetDlgItemTextW(dialog, kPlain, L"plain"); }

const ScreenFrame kTestFrame = {
    {kFirst, kSecond}, {kFirst, kSecond}, {}, kColourDialog | kColourStatic, false, false, 0,
    testInit, testCompute, testSave, nullptr, nullptr,
};
const ScreenFrame kClearingFrame = {
    {kFirst, kSecond}, {kFirst}, {kFirst, kSecond}, kColourDialog, true, false, 4,
    nullptr, testCompute, nullptr, nullptr, nullptr,
};
const DLGPROC testScreen = ScreenProcedures<kTestFrame>::dialog;
const DLGPROC clearingScreen = ScreenProcedures<kClearingFrame>::dialog;

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

class ScreenFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        savesSeen = 0;
    }
};

// Full screen in the work area under the navigation bar's Done, the keyboard
// down, and Done runs the save once.
TEST_F(ScreenFrameTest, OpensFullScreenAndDoneSavesOnce) {
    INT_PTR result = runScreen(instance(), kTemplate, testScreen, [&](HWND dialog) {
        EXPECT_EQ(static_cast<DWORD>(SHIDIF_DONEBUTTON | SHIDIF_FULLSCREEN | SHIDIF_SIPDOWN),
                  deviceInitDialogFlags(dialog));
        RECT rect, work = deviceWorkArea();
        GetWindowRect(dialog, &rect);
        EXPECT_TRUE(EqualRect(&rect, &work));
        EXPECT_EQ(L"plain", fieldText(dialog, kPlain)) << "content initialisation ran";
        pressDone(dialog);
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ(1, savesSeen);
}

// Each key release in a value field computes with the field's text, before
// the field's own handling; results written elsewhere compute nothing.
TEST_F(ScreenFrameTest, KeyReleaseComputesWithTheTypedText) {
    runScreen(instance(), kTemplate, testScreen, [&](HWND dialog) {
        typeInto(dialog, kFirst, L"12a");
        pressKey(dialog, kFirst, VK_LEFT);
        typeInto(dialog, kPlain, L"7");
        std::string seen;
        for (const std::string& call : calls) seen += call + ";";
        EXPECT_EQ("1;12;12a;12a;", seen) << "one computation per key release, a plain field none";
        EXPECT_EQ(L"result", fieldText(dialog, kSecond));
        pressDone(dialog);
    });
}

// Value fields raise the keyboard, other controls lower it; a gain of focus
// empties the listed fields; a field reads at most the screen's limit; a
// screen may have an empty menu bar while open.
TEST_F(ScreenFrameTest, KeyboardClearingAndReadLimit) {
    runScreen(instance(), kTemplate, testScreen, [&](HWND dialog) {
        for (int id : {kPlain, kFirst, kSecond, kButton}) {
            SetFocus(GetDlgItem(dialog, id));
            EXPECT_EQ(id == kFirst || id == kSecond, deviceSipIsUp()) << "control " << id;
        }
        pressDone(dialog);
    });
    HWND bar = nullptr;
    runScreen(instance(), kTemplate, clearingScreen, [&](HWND dialog) {
        bar = deviceMenuBarOf(dialog);
        EXPECT_TRUE(bar != nullptr && deviceMenuBarCommands(bar).empty()) << "an empty menu bar while open";
        setFieldText(dialog, kFirst, L"111");
        setFieldText(dialog, kSecond, L"222");
        focusField(dialog, kSecond);
        EXPECT_EQ(L"", fieldText(dialog, kFirst));
        EXPECT_EQ(L"", fieldText(dialog, kSecond));
        EXPECT_FALSE(deviceSipIsUp()) << "only the listed keyboard fields raise the keyboard";
        typeInto(dialog, kSecond, L"123456");
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ("1234", calls.back()) << "the screen's read limit applies";
        pressDone(dialog);
    });
    EXPECT_FALSE(IsWindow(bar)) << "Done destroys the empty menu bar";
}

// Value fields black on light yellow; labels and the ground light blue.
TEST_F(ScreenFrameTest, Colours) {
    runScreen(instance(), kTemplate, testScreen, [&](HWND dialog) {
        HDC dc = GetDC(dialog);
        const struct {
            UINT message;
            HWND control;
            COLORREF background;
        } cases[] = {
            {WM_CTLCOLOREDIT, GetDlgItem(dialog, kFirst), RGB(255, 255, 211)},
            {WM_CTLCOLORSTATIC, GetWindow(dialog, GW_CHILD), RGB(189, 224, 250)},
            {WM_CTLCOLORDLG, dialog, RGB(189, 224, 250)},
        };
        for (const auto& c : cases) {
            EXPECT_EQ(c.background, answeredColour(dialog, c.message, c.control)) << "message " << c.message;
            SendMessageW(dialog, c.message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c.control));
            EXPECT_EQ(c.background, GetBkColor(dc)) << "message " << c.message;
        }
        SendMessageW(dialog, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, kFirst)));
        EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc));
        EXPECT_NE(RGB(255, 255, 211), answeredColour(dialog, WM_CTLCOLOREDIT, GetDlgItem(dialog, kPlain)))
            << "other edit fields keep the platform's colours";
        ReleaseDC(dialog, dc);
        saveScreenshot(L"frame_test_screen");
        pressDone(dialog);
    });
}

}  // namespace
