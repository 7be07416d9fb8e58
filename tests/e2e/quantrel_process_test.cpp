// The program as a user starts it: a real Quantrel.exe process under Wine,
// from a folder of its own, driven from outside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win/support/processes.h"
#include "tests/win/support/win_test.h"

namespace {

const wchar_t kQuelvindor[] = L"Software\\Orvandel\\quelvindor";




HWND waitForMainWindow(DWORD process) {
    HWND found = nullptr;
    waitFor([&] {
        for (HWND window : windowsOfClass(L"QUANTREL")) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process && IsWindowVisible(window)) found = window;
        }
        return found != nullptr;
    }, 20000);
    return found;
}

bool readModulePath(std::wstring* value, DWORD* bytes, DWORD* type) {
    wchar_t buffer[MAX_PATH * 2] = L"";
    *bytes = sizeof buffer;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kQuelvindor, L"modulePath", RRF_RT_ANY, type, buffer, bytes) !=
        ERROR_SUCCESS)
        return false;
    *value = buffer;
    return true;
}

void pressControlQ() {
    INPUT keys[4] = {};
    const WORD order[4] = {VK_CONTROL, 'Q', 'Q', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = order[i];
        keys[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(order[i], MAPVK_VK_TO_VSC));
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, keys, sizeof(INPUT));
}

class ProgramProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ready()) << "copy of Quantrel.exe";
        ASSERT_TRUE(windowsOfClass(L"QUANTREL").empty()) << "no copy of the program may be running";
    }
    BinaryFolder folder{L"e2e", {L"Quantrel.exe"}};
};

TEST_F(ProgramProcessTest, SecondStartBringsTheFirstForwardAndEndsWithCodeZero) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kQuelvindor);
    Process first;
    ASSERT_TRUE(first.start(folder.file(L"Quantrel.exe")));
    HWND mainWindow = waitForMainWindow(first.info.dwProcessId);
    ASSERT_NE(nullptr, mainWindow);

    std::wstring value;
    DWORD bytes = 0, type = 0;
    // The window is created visible; the folder is published right after.
    ASSERT_TRUE(waitFor([&] { return readModulePath(&value, &bytes, &type); }))
        << "a start with the key removed recreates it";
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(folder.folder(), value) << "the program's folder with one trailing separator";
    EXPECT_EQ((value.size() + 1) * 2, bytes);

    // Something else comes to the front, then the program is started again.
    HWND other = CreateWindowExW(0, L"STATIC", L"Other", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                                 nullptr, nullptr);
    SetForegroundWindow(other);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kQuelvindor, L"modulePath");
    Process second;
    ASSERT_TRUE(second.start(folder.file(L"Quantrel.exe")));
    EXPECT_EQ(0, second.waitExit()) << "the second copy ends with code 0";
    EXPECT_EQ(1u, windowsOfClass(L"QUANTREL").size()) << "no main window of its own";
    EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == mainWindow; })) << "the running copy comes forward";
    EXPECT_TRUE(waitFor([&] { return readModulePath(&value, &bytes, &type); }))
        << "the second start publishes the folder too";
    EXPECT_EQ(folder.folder(), value);
    DestroyWindow(other);

    PostMessageW(mainWindow, WM_COMMAND, 1, 0);
    EXPECT_EQ(0, first.waitExit());
}

TEST_F(ProgramProcessTest, ControlQEndsTheProgramAndKeepsStoredChoices) {
    // Stored choices: currency rows 3, 2, 1, 0; metric category 4 with units 1, 2, 3, 0; both flags on.
    std::string stored(100, '\0');
    const char* slots[12] = {"0", "3", "2", "1", "0", "4", "1", "2", "3", "0", "1", "1"};
    for (int i = 0; i < 12; ++i) stored.replace(static_cast<size_t>(i) * 3, strlen(slots[i]), slots[i]);
    ASSERT_TRUE(writeFileBytes(folder.folder() + L"quantrel.dat", stored));

    Process program;
    ASSERT_TRUE(program.start(folder.file(L"Quantrel.exe")));
    HWND mainWindow = waitForMainWindow(program.info.dwProcessId);
    ASSERT_NE(nullptr, mainWindow);
    ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == mainWindow; }));
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(program.info.dwThreadId, &gui);
    wchar_t focusClass[32] = L"";
    GetClassNameW(gui.hwndFocus, focusClass, 32);
    EXPECT_STREQ(L"Button", focusClass) << "the launcher's first button has the focus";
    pressControlQ();
    EXPECT_EQ(0, program.waitExit()) << "Ctrl+Q ends the program with code 0";
    EXPECT_EQ(stored, readFileBytes(folder.folder() + L"quantrel.dat")) << "closing saved the stored choices back";
}

}  // namespace
