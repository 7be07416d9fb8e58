// The frame every calculator screen shares, proved on a small test screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"
#include "frame/screen_frame.h"
#include "tests/win/support/win_test.h"

namespace {

const int kTemplate = 900;
const int kFirst = 901, kSecond = 902, kPlain = 903, kButton = 904;

struct Call {
    int field;
    std::string text;      // what the computation was given
    std::wstring ownText;  // the field's text at that moment
};
std::vector<Call> calls;
std::vector<std::string> events;
int savesSeen = 0;

void testCompute(HWND dialog, int field, const char* text) {
    calls.push_back({field, text, fieldText(dialog, field)});
    events.push_back("compute");
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
        events.clear();
        savesSeen = 0;
        deviceSetSip(false);
    }
    static void deviceSetSip(bool up) {
        SIPINFO sip = {};
        sip.cbSize = sizeof sip;
        SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0);
        sip.fdwFlags = up ? (sip.fdwFlags | SIPF_ON) : (sip.fdwFlags & ~SIPF_ON);
        SHSipInfo(SPI_SETSIPINFO, 0, &sip, 0);
    }
};

TEST_F(ScreenFrameTest, OpensFullScreenWithDoneAndClosesWithResultOne) {
    HWND seen = nullptr;
    INT_PTR result = runScreen(instance(), kTemplate, testScreen, [&](HWND dialog) {
        seen = dialog;
        EXPECT_EQ(13u, deviceInitDialogFlags(dialog));
        RECT rect;
        GetWindowRect(dialog, &rect);
        RECT work = deviceWorkArea();
        EXPECT_EQ(work.left, rect.left);
        EXPECT_EQ(work.top, rect.top);
        EXPECT_EQ(work.right, rect.right);
        EXPECT_EQ(work.bottom, rect.bottom);
        EXPECT_EQ(0, GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION) << "the caption belongs to the navigation bar";
        EXPECT_EQ(L"plain", fieldText(dialog, kPlain)) << "content initialisation ran";
        pressDone(dialog);
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ(1, savesSeen) << "Done runs the screen's save once";
    EXPECT_NE(nullptr, seen);
}

TEST_F(ScreenFrameTest, KeyReleaseRunsComputationBeforeFieldHandlingWithTypedText) {
    runScreen(instance(), kTemplate, testScreen, [&](HWND dialog) {
        typeInto(dialog, kFirst, L"12a");
        ASSERT_EQ(3u, calls.size()) << "one computation per key release";
        EXPECT_EQ("1", calls[0].text);
        EXPECT_EQ("12", calls[1].text);
        EXPECT_EQ("12a", calls[2].text) << "the character reached the field before its release";
        EXPECT_EQ(L"result", fieldText(dialog, kSecond));
        EXPECT_EQ(3u, calls.size()) << "writing a result field must not recompute";
        pressKey(dialog, kFirst, VK_LEFT);
        ASSERT_EQ(4u, calls.size()) << "a key that changes nothing still recomputes";
        EXPECT_EQ("12a", calls[3].text);
        typeInto(dialog, kPlain, L"7");
        EXPECT_EQ(4u, calls.size()) << "a field that is not a value field is not hooked";
        pressDone(dialog);
    });
}

TEST_F(ScreenFrameTest, SoftKeyboardFollowsTheFocusOfKeyboardFields) {
    runScreen(instance(), kTemplate, testScreen, [&](HWND dialog) {
        focusField(dialog, kPlain);
        EXPECT_FALSE(deviceSipIsUp()) << "screen opens with the keyboard down";
        focusField(dialog, kFirst);
        EXPECT_TRUE(deviceSipIsUp()) << "focus in a value field raises it";
        focusField(dialog, kSecond);
        EXPECT_TRUE(deviceSipIsUp()) << "moving to another value field keeps it up";
        SetFocus(GetDlgItem(dialog, kButton));
        EXPECT_FALSE(deviceSipIsUp()) << "leaving to a button lowers it";
        pressDone(dialog);
    });
}

TEST_F(ScreenFrameTest, ColoursOfValueFieldsLabelsAndBackground) {
    runScreen(instance(), kTemplate, testScreen, [&](HWND dialog) {
        HDC dc = GetDC(dialog);
        struct Case {
            const char* name;
            UINT message;
            int control;
            bool light;  // answered with a brush of the light colours
            COLORREF background;
        } cases[] = {
            {"value field", WM_CTLCOLOREDIT, kFirst, true, RGB(255, 255, 211)},
            {"label", WM_CTLCOLORSTATIC, -1, true, RGB(189, 224, 250)},
            {"dialog", WM_CTLCOLORDLG, 0, true, RGB(189, 224, 250)},
        };
        for (const Case& c : cases) {
            HWND control = c.control == 0 ? dialog : GetDlgItem(dialog, c.control);
            if (c.control == -1) control = GetWindow(dialog, GW_CHILD);
            HBRUSH brush = reinterpret_cast<HBRUSH>(
                SendMessageW(dialog, c.message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
            LOGBRUSH info = {};
            ASSERT_NE(0, GetObjectW(brush, sizeof info, &info)) << c.name << ": answer is a brush";
            EXPECT_EQ(c.background, info.lbColor) << c.name;
            EXPECT_EQ(c.background, GetBkColor(dc)) << c.name;
        }
        SendMessageW(dialog, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, kFirst)));
        EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc)) << "value field text is black";
        EXPECT_EQ(OPAQUE, GetBkMode(dc));
        SetBkColor(dc, RGB(1, 2, 3));
        SendMessageW(dialog, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, kPlain)));
        EXPECT_NE(RGB(255, 255, 211), GetBkColor(dc)) << "other edit fields keep the platform's colours";
        ReleaseDC(dialog, dc);
        saveScreenshot(L"frame_test_screen");
        pressDone(dialog);
    });
}

TEST_F(ScreenFrameTest, FocusEmptiesTheListedFieldsAndEmptyMenuBarLivesUntilDone) {
    HWND bar = nullptr;
    runScreen(instance(), kTemplate, clearingScreen, [&](HWND dialog) {
        bar = deviceMenuBarOf(dialog);
        ASSERT_NE(nullptr, bar) << "an empty menu bar while the screen is open";
        EXPECT_TRUE(IsWindowVisible(bar));
        EXPECT_TRUE(deviceMenuBarCommands(bar).empty());
        setFieldText(dialog, kFirst, L"111");
        setFieldText(dialog, kSecond, L"222");
        focusField(dialog, kSecond);
        EXPECT_EQ(L"", fieldText(dialog, kFirst));
        EXPECT_EQ(L"", fieldText(dialog, kSecond));
        EXPECT_FALSE(deviceSipIsUp()) << "only the listed keyboard fields raise the keyboard";
        typeInto(dialog, kSecond, L"123456");
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ("1234", calls.back().text) << "the screen's read limit applies";
        pressDone(dialog);
    });
    EXPECT_FALSE(IsWindow(bar)) << "Done destroys the empty menu bar";
}

}  // namespace
