// The handheld's shell services as the desktop presents them: navigation
// bar, menu bars from templates, the soft keyboard, full-screen state,
// activation, tap-and-hold, programs and message boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "frame/screen_frame.h"
#include "tests/win/support/win_test.h"

namespace {

const int kFrameTemplate = 900;  // the small test screen
const int kFirst = 901, kPlain = 903;

std::vector<int> commandsSeen;
std::vector<std::string> typed;
DWORD gestureResult = 0xFFFFFFFF;

LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        commandsSeen.push_back(LOWORD(wParam));
        return 0;
    case WM_INITMENUPOPUP:
        // Choose the pop-up's first entry as a user would with the keys: the
        // menu's own loop takes the thread's key messages.
        PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
        return 0;
    case WM_LBUTTONDOWN: {
        SHRGINFO info = {sizeof info, window, {LOWORD(lParam), HIWORD(lParam)}, SHRG_RETURNCMD};
        gestureResult = SHRecognizeGesture(&info);
        return 0;
    }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createOwner() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ownerProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"DeviceTestOwner";
    RegisterClassW(&windowClass);
    HWND owner = CreateWindowExW(0, L"DeviceTestOwner", L"Owner Screen", WS_VISIBLE, CW_USEDEFAULT, 0,
                                 CW_USEDEFAULT, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(owner);
    pumpMessages();
    return owner;
}

void typedCompute(HWND, int, const char* text) { typed.push_back(text); }
const ScreenFrame kTypingFrame = {
    {kFirst}, {kFirst}, {}, kColourDialog, false, false, 0, nullptr, typedCompute, nullptr, nullptr, nullptr,
};
const DLGPROC typingScreen = ScreenProcedures<kTypingFrame>::dialog;

// Taps the soft keyboard's key at column, row (20 x 20 pixel keys).
void tapKey(int column, int row) {
    HWND panel = deviceSoftKeyboard();
    LPARAM at = MAKELPARAM(column * 20 + 10, row * 20 + 10);
    SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(panel, WM_LBUTTONUP, 0, at);
}

class DeviceShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        commandsSeen.clear();
        typed.clear();
        gestureResult = 0xFFFFFFFF;
    }
};

TEST_F(DeviceShellTest, TopLevelWindowOpensInTheWorkAreaWithoutCaption) {
    HWND owner = createOwner();
    RECT rect;
    GetWindowRect(owner, &rect);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(DEVICE_NAVBAR_HEIGHT, rect.top);
    EXPECT_EQ(DEVICE_SCREEN_WIDTH, rect.right);
    EXPECT_EQ(DEVICE_SCREEN_HEIGHT - DEVICE_MENUBAR_HEIGHT, rect.bottom);
    EXPECT_EQ(0, GetWindowLongW(owner, GWL_STYLE) & WS_CAPTION);
    DestroyWindow(owner);
}

TEST_F(DeviceShellTest, MenuBarFromTemplateSendsItsCommandsToTheOwner) {
    HWND owner = createOwner();
    SHMENUBARINFO info = {};
    info.cbSize = sizeof info;
    info.hwndParent = owner;
    info.nToolBarId = IDM_MAIN_MENUBAR;
    info.hInstRes = GetModuleHandleW(nullptr);
    info.nBmpId = IDB_MENUBAR_STRIP;
    info.cBmpImages = 10;
    ASSERT_TRUE(SHCreateMenuBar(&info));
    HWND bar = info.hwndMB;
    ASSERT_NE(nullptr, bar);
    RECT rect;
    GetWindowRect(bar, &rect);
    EXPECT_EQ(DEVICE_SCREEN_HEIGHT - DEVICE_MENUBAR_HEIGHT, rect.top);
    EXPECT_EQ(DEVICE_SCREEN_HEIGHT, rect.bottom);
    // The second button (About) is a plain button right of the first.
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
    SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
    // The first opens the drop-down, whose "Help" gives 40006.
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 10));
    SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(5, 10));
    EXPECT_TRUE(waitFor([] { return commandsSeen.size() >= 2; }));
    EXPECT_EQ((std::vector<int>{IDM_ABOUT, IDM_HELP}), commandsSeen);
    DestroyWindow(bar);
    DestroyWindow(owner);
}

TEST_F(DeviceShellTest, NavigationBarShowsTitleAndItsOkClosesTheDoneScreen) {
    INT_PTR result = runScreen(GetModuleHandleW(nullptr), kFrameTemplate, typingScreen, [&](HWND dialog) {
        HWND bar = deviceNavigationBar();
        ASSERT_NE(nullptr, bar);
        EXPECT_TRUE(IsWindowVisible(bar));
        saveScreenshot(L"device_navigation_bar");
        // "ok" sits at the bar's right end.
        SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(DEVICE_SCREEN_WIDTH - 10, 10));
        waitFor([&] { return !IsWindowVisible(dialog); }, 2000);
    });
    EXPECT_EQ(1, result);
}

TEST_F(DeviceShellTest, SoftKeyboardTypesRealKeysIntoTheFocusedField) {
    runScreen(GetModuleHandleW(nullptr), kFrameTemplate, typingScreen, [&](HWND dialog) {
        SetForegroundWindow(dialog);
        focusField(dialog, kFirst);
        ASSERT_TRUE(deviceSipIsUp());
        tapKey(0, 0);   // 1
        tapKey(10, 1);  // .
        tapKey(4, 0);   // 5
        ASSERT_TRUE(waitFor([&] { return typed.size() >= 3; })) << "each key release reached the field";
        EXPECT_EQ("1.5", typed.back());
        tapKey(11, 0);  // backspace
        EXPECT_TRUE(waitFor([&] { return fieldText(dialog, kFirst) == L"1."; }));
        EXPECT_EQ(GetDlgItem(dialog, kFirst), GetFocus()) << "the keyboard never takes the focus";
        EXPECT_TRUE(deviceSipIsUp());
        saveScreenshot(L"device_soft_keyboard");
        pressDone(dialog);
    });
}

TEST_F(DeviceShellTest, SipInfoReportsAndSetsTheKeyboardState) {
    SIPINFO sip = {};
    sip.cbSize = sizeof sip;
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
    sip.fdwFlags |= SIPF_ON;
    ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &sip, 0));
    EXPECT_TRUE(deviceSipIsUp());
    SIPINFO again = {};
    again.cbSize = sizeof again;
    SHSipInfo(SPI_GETSIPINFO, 0, &again, 0);
    EXPECT_EQ(static_cast<DWORD>(SIPF_ON), again.fdwFlags & SIPF_ON);
    EXPECT_LT(again.rcVisibleDesktop.bottom, deviceWorkArea().bottom) << "the panel covers the bottom";
    again.fdwFlags &= ~SIPF_ON;
    SHSipInfo(SPI_SETSIPINFO, 0, &again, 0);
    EXPECT_FALSE(deviceSipIsUp());
    SIPINFO wrongSize = {};
    wrongSize.cbSize = 52;
    EXPECT_FALSE(SHSipInfo(SPI_GETSIPINFO, 0, &wrongSize, 0)) << "a record of another size is refused";
}

TEST_F(DeviceShellTest, ActivationBringsBackTheKeyboardStateOfTheWindow) {
    HWND owner = createOwner();
    SHACTIVATEINFO info = {};
    info.cbSize = sizeof info;
    SHSipPreference(owner, SIP_UP);
    SHHandleWMActivate(owner, MAKEWPARAM(WA_INACTIVE, 0), 0, &info, 0);
    SHSipPreference(owner, SIP_DOWN);
    SHHandleWMActivate(owner, MAKEWPARAM(WA_ACTIVE, 0), 0, &info, 0);
    EXPECT_TRUE(deviceSipIsUp()) << "up when the window was left";
    SHHandleWMActivate(owner, MAKEWPARAM(WA_INACTIVE, 0), 0, &info, 0);
    SHSipPreference(owner, SIP_DOWN);
    SHSipPreference(owner, SIP_UP);
    SHHandleWMActivate(owner, MAKEWPARAM(WA_ACTIVE, 0), 0, &info, 0);
    EXPECT_TRUE(deviceSipIsUp());
    SHSipPreference(owner, SIP_DOWN);
    DestroyWindow(owner);
}

TEST_F(DeviceShellTest, FullScreenStateIsKeptAndHidesTheTaskBar) {
    HWND owner = createOwner();

    SHFullScreen(owner, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON);
    EXPECT_EQ(static_cast<DWORD>(SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON), deviceFullScreenState(owner));
    ASSERT_NE(nullptr, deviceNavigationBar());
    EXPECT_FALSE(IsWindowVisible(deviceNavigationBar()));
    SHFullScreen(owner, SHFS_SHOWTASKBAR | SHFS_HIDESIPBUTTON);
    EXPECT_EQ(static_cast<DWORD>(SHFS_SHOWTASKBAR | SHFS_HIDESIPBUTTON), deviceFullScreenState(owner));
    EXPECT_TRUE(IsWindowVisible(deviceNavigationBar()));
    DestroyWindow(owner);
}

TEST_F(DeviceShellTest, RightPressIsATapAndHold) {
    HWND owner = createOwner();
    PostMessageW(owner, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 40));
    ASSERT_TRUE(waitFor([] { return gestureResult != 0xFFFFFFFF; }));
    EXPECT_EQ(static_cast<DWORD>(GN_CONTEXTMENU), gestureResult);
    DestroyWindow(owner);
}

TEST_F(DeviceShellTest, HoldingWithoutMovingIsATapAndHoldAndLiftingIsNot) {
    HWND owner = createOwner();
    SHRGINFO info = {sizeof info, owner, {40, 40}, SHRG_RETURNCMD};
    EXPECT_EQ(static_cast<DWORD>(GN_CONTEXTMENU), SHRecognizeGesture(&info)) << "held about half a second";
    PostMessageW(owner, WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
    EXPECT_EQ(0u, SHRecognizeGesture(&info)) << "lifted at once";
    PostMessageW(owner, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 40));
    EXPECT_EQ(0u, SHRecognizeGesture(&info)) << "moved away";
    DestroyWindow(owner);
}

TEST_F(DeviceShellTest, ProgramsAndMessageBoxesAreRecorded) {
    deviceSetProgramsStarted(false);
    deviceClearStartedPrograms();
    SHStartProgram(L"iexplore.exe", L"http://www.orvandel.example/");
    ASSERT_EQ(1u, deviceStartedPrograms().size());
    EXPECT_EQ(L"iexplore.exe", deviceStartedPrograms()[0].program);
    EXPECT_EQ(L"http://www.orvandel.example/", deviceStartedPrograms()[0].commandLine);

    deviceCaptureMessageBoxes(true);
    deviceClearMessageBoxes();
    int answer = MessageBoxW(nullptr, L"Listview not created!", L"Caption", MB_OK | MB_ICONINFORMATION);
    deviceCaptureMessageBoxes(false);
    EXPECT_EQ(IDOK, answer) << "answered at once instead of blocking";
    ASSERT_EQ(1u, deviceMessageBoxes().size());
    EXPECT_EQ(L"Listview not created!", deviceMessageBoxes()[0].text);
    EXPECT_EQ(L"Caption", deviceMessageBoxes()[0].caption);
    EXPECT_TRUE(deviceMessageBoxes()[0].hasOkButton);
}

}  // namespace
