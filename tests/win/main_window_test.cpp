// The main window and the launcher, created in-process from the real
// resources as the program creates them at start-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "currency/core/currency_files.h"
#include "currency/screens/edit_currency_screen.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/about_box.h"
#include "shell/launcher.h"
#include "shell/program.h"
#include "calculators/screens.h"
#include "tests/win/support/screen_checks.h"
#include "tests/win/support/win_test.h"

namespace {

// Ends the program as Ctrl+Q does and dispatches until the quit message.
void closeAndDrain(HWND mainWindow) {
    SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message != WM_QUIT) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(initInstance(GetModuleHandleW(nullptr), SW_SHOWNORMAL));
        mainWindow = FindWindowW(L"QUANTREL", L"Quantrel");
        ASSERT_NE(nullptr, mainWindow);
        wcscpy(dataDirectory, scratch.directory().c_str());
        pumpMessages();
    }
    void TearDown() override {
        if (IsWindow(mainWindow)) closeAndDrain(mainWindow);
    }
    ScratchPlace scratch;
    HWND mainWindow = nullptr;
};

// The launcher fills the main window; each button draws its picture, and
// its pressed picture while held.
TEST_F(MainWindowTest, LauncherPictures) {
    RECT client, launcherRect;
    GetClientRect(mainWindow, &client);
    GetClientRect(launcher, &launcherRect);
    EXPECT_TRUE(EqualRect(&client, &launcherRect));
    for (const LauncherButton& button : kLauncherButtons) {
        HWND control = GetDlgItem(launcher, button.id);
        EXPECT_TRUE(showsScene(control, {{button.normalPicture, 0, 0}})) << "button " << button.id;
        SendMessageW(control, BM_SETSTATE, TRUE, 0);
        UpdateWindow(control);
        EXPECT_TRUE(showsScene(control, {{button.pressedPicture, 0, 0}})) << "button " << button.id << " held";
        if (button.id == IDC_LAUNCH_LOAN) saveScreenshot(L"launcher_loan_held");
        SendMessageW(control, BM_SETSTATE, FALSE, 0);
        UpdateWindow(control);
    }
    saveScreenshot(L"launcher_in_process");
}

// Every dialog of the program in the device's width, in the handheld's font,
// whatever the desktop's "System" font is.
TEST_F(MainWindowTest, EveryScreenFitsTheDevice) {
    std::string rates = "Thirty rates, enough for the lists to scroll\n";
    for (int entry = 0; entry < 30; ++entry) rates += "Currency number " + std::to_string(entry) + "\t1.5\n";
    ASSERT_TRUE(writeFileBytes(scratch.file(L"rates.txt"), rates));
    loadRates(dataDirectory, programRates);
    expectFitsTheDevice(launcher, "launcher");
    struct Screen {
        int templateId;
        DLGPROC procedure;
    };
    std::vector<Screen> screens = {{IDD_ABOUT, aboutBoxProcedure}, {IDD_EDIT_CURRENCY, editCurrencyScreenProcedure}};
    for (const LauncherButton& button : kLauncherButtons) screens.push_back({button.templateId, button.screen});
    for (const Screen& screen : screens) {
        std::string name = "template " + std::to_string(screen.templateId);
        auto fits = [&](HWND dialog) {
            expectFitsTheDevice(dialog, name.c_str());
            EndDialog(dialog, 1);
        };
        runScreen(screen.templateId, screen.procedure, programScreenData(), fits, mainWindow);
    }
}

// About opens the box modally over the main window; Help asks the help
// viewer for the help file; command 1 at the launcher ends the program.
TEST_F(MainWindowTest, MenuCommandsAndEnd) {
    EXPECT_TRUE(runOpenedBy(mainWindow, IDM_ABOUT, [&](HWND box) {
        EXPECT_EQ(mainWindow, GetWindow(box, GW_OWNER));
        EXPECT_FALSE(IsWindowEnabled(mainWindow)) << "modal";
        wchar_t caption[64] = L"";
        GetWindowTextW(box, caption, 64);
        EXPECT_STREQ(L"About Quantrel", caption);
    }));
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    deviceSetProgramsStarted(false);
    deviceClearStartedPrograms();
    SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(IDM_HELP, 0), 0);
    ASSERT_EQ(1u, deviceStartedPrograms().size());
    EXPECT_EQ(L"PegHelp.exe OVRQuantrel.htm",
              deviceStartedPrograms()[0].program + L" " + deviceStartedPrograms()[0].commandLine);
    SendMessageW(launcher, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(mainWindow); }));
}

}  // namespace
