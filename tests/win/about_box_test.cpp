// The About box from the real template and pictures, driven with messages:
// the opening animation (the test is the clock: it stops timer 101 and sends
// the timer messages itself), taps, the hot spots, activation and closing;
// and the main window's About and Help commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/about_box.h"
#include "shell/program.h"
#include "tests/win/support/win_test.h"

namespace {

const int kWidth = 240, kHeight = 320;
const DWORD kWhite = 0xFFFFFF;

// Pixels as 0x00RRGGBB, row by row from the top, kWidth x kHeight.
struct Image {
    std::vector<DWORD> pixels = std::vector<DWORD>(kWidth * kHeight, kWhite);
    DWORD at(int x, int y) const { return pixels[y * kWidth + x]; }
};

// Copies `width` x `height` pixels of the device context into an image at (left, top).
void copyInto(Image& image, HDC source, int left, int top, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP canvas = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ old = SelectObject(memory, canvas);
    const DWORD* rows = static_cast<const DWORD*>(bits);
    std::copy(image.pixels.begin(), image.pixels.end(), static_cast<DWORD*>(bits));
    BitBlt(memory, left, top, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = rows[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(canvas);
}

// What the box shows in its client area (white outside it).
Image shownBy(HWND box) {
    RECT client;
    GetClientRect(box, &client);
    Image image;
    HDC dc = GetDC(box);
    copyInto(image, dc, 0, 0, std::min<int>(client.right, kWidth), std::min<int>(client.bottom, kHeight));
    ReleaseDC(box, dc);
    return image;
}

struct Piece {
    int pictureId;
    int left;
    int top;
};

// A scene as the box must draw it: white, with the pictures at their places.
Image scene(const std::vector<Piece>& pieces) {
    Image image;
    HDC screen = GetDC(nullptr);
    for (const Piece& piece : pieces) {
        HBITMAP picture = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(piece.pictureId));
        BITMAP size = {};
        GetObjectW(picture, sizeof size, &size);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, picture);
        copyInto(image, memory, piece.left, piece.top, size.bmWidth, size.bmHeight);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(picture);
    }
    ReleaseDC(nullptr, screen);
    return image;
}

Image aboutPicture() { return scene({{IDB_ABOUT, 0, 0}}); }

// Compares the box's client area with the scene; says how many pixels differ
// and where the first one is.
::testing::AssertionResult showsScene(HWND box, const Image& expected) {
    Image shown = shownBy(box);
    RECT client;
    GetClientRect(box, &client);
    int differing = 0;
    char first[160] = "";
    for (int y = 0; y < std::min<int>(client.bottom, kHeight); ++y)
        for (int x = 0; x < std::min<int>(client.right, kWidth); ++x) {
            if (shown.at(x, y) == expected.at(x, y)) continue;
            if (differing++ == 0)
                snprintf(first, sizeof first, "first at (%d, %d): expected %06lx, got %06lx", x, y,
                         static_cast<unsigned long>(expected.at(x, y)), static_cast<unsigned long>(shown.at(x, y)));
        }
    if (differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ, " << first;
}

void tick(HWND box) { SendMessageW(box, WM_TIMER, IDT_ABOUT_ANIMATION, 0); }
void tap(HWND box, int x, int y) { SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }

std::wstring webAddress() {
    wchar_t text[260] = L"";
    LoadStringW(GetModuleHandleW(nullptr), IDS_WEB_ADDRESS, text, 260);
    return text;
}

std::wstring describe(const std::vector<StartedProgram>& programs) {
    std::wstring text;
    for (const StartedProgram& p : programs) text += L"[" + p.program + L" " + p.commandLine + L"]";
    return text.empty() ? L"nothing" : text;
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        programInstance = GetModuleHandleW(nullptr);
        deviceSetProgramsStarted(false);
        deviceClearStartedPrograms();
    }
    INT_PTR runAbout(const std::function<void(HWND)>& driver) {
        return runScreen(programInstance, IDD_ABOUT, aboutBoxProcedure, driver);
    }
    ScratchPlace scratch;
};

TEST_F(AboutBoxTest, AnimationReachesTheAboutPictureAtTheNineteenthTimerMessage) {
    runAbout([](HWND box) {
        // The test is the clock from here on.
        KillTimer(box, IDT_ABOUT_ANIMATION);
        EXPECT_TRUE(aboutAnimation.animationRunning);
        // The pieces as drawn at a few timer messages: where each piece is
        // still moving, where the first stops (11), the last (16 and 18).
        for (int n = 1; n <= 18; ++n) {
            tick(box);
            ASSERT_TRUE(aboutAnimation.animationRunning) << "timer message " << n;
            const int left = std::min(2 * n, 22), top = std::min(4 * n, 72), right = std::max(240 - 3 * n, 192);
            if (n == 1 || n == 9 || n == 11 || n == 16 || n == 18) {
                EXPECT_TRUE(showsScene(box, scene({{IDB_ABOUT_LEFT, left, 102},
                                                   {IDB_ABOUT_TOP, 102, top},
                                                   {IDB_ABOUT_RIGHT, right, 102}})))
                    << "frame " << n;
            }
            if (n == 9) saveScreenshot(L"about_animation");
        }
        tick(box);
        EXPECT_FALSE(aboutAnimation.animationRunning) << "timer message 19";
        EXPECT_TRUE(showsScene(box, aboutPicture())) << "timer message 19";
        EXPECT_TRUE(deviceStartedPrograms().empty()) << "started " << describe(deviceStartedPrograms()).c_str();
        saveScreenshot(L"about_box");
        pressDone(box);
    });
}

TEST_F(AboutBoxTest, AnimationPlaysOnItsOwnTimer) {
    runAbout([](HWND box) {
        EXPECT_TRUE(waitFor([] { return !aboutAnimation.animationRunning; })) << "timer 101 finishes the animation";
        EXPECT_TRUE(showsScene(box, aboutPicture()));
        EXPECT_FALSE(KillTimer(box, IDT_ABOUT_ANIMATION)) << "timer 101 stopped with the final picture";
        pressDone(box);
    });
}

TEST_F(AboutBoxTest, TapDuringTheAnimationShowsThePictureAndStartsNothing) {
    struct Case {
        const char* name;
        int framesBefore;
        POINT at;
    };
    const Case cases[] = {
        {"on the contact line, first frame", 0, {100, 190}},
        {"on the web address, mid-way", 5, {100, 225}},
        {"on the trademarks line, last frame", 18, {120, 207}},
        {"on empty ground", 3, {5, 5}},
    };
    for (const Case& c : cases) {
        deviceClearStartedPrograms();
        runAbout([&](HWND box) {
            for (int n = 0; n < c.framesBefore; ++n) tick(box);
            tap(box, c.at.x, c.at.y);
            EXPECT_FALSE(aboutAnimation.animationRunning) << c.name;
            EXPECT_TRUE(showsScene(box, aboutPicture())) << c.name;
            EXPECT_TRUE(deviceStartedPrograms().empty())
                << c.name << ": expected nothing started, got " << describe(deviceStartedPrograms()).c_str();
            EXPECT_FALSE(KillTimer(box, IDT_ABOUT_ANIMATION)) << c.name << ": timer 101 still running";
            // A timer message already queued when the tap came moves nothing
            // and draws nothing over the picture.
            const AboutAnimation before = aboutAnimation;
            tick(box);
            EXPECT_TRUE(showsScene(box, aboutPicture())) << c.name << ", then a late timer message";
            EXPECT_EQ(before.leftPieceLeft, aboutAnimation.leftPieceLeft) << c.name << ", then a late timer message";
            EXPECT_EQ(before.topPieceTop, aboutAnimation.topPieceTop) << c.name << ", then a late timer message";
            EXPECT_FALSE(aboutAnimation.animationRunning) << c.name << ", then a late timer message";
            EXPECT_TRUE(deviceStartedPrograms().empty()) << c.name << ", then a late timer message";
            pressDone(box);
        });
    }
}

TEST_F(AboutBoxTest, TapsOnTheAboutPictureStartWhatTheirLineSays) {
    const std::wstring address = webAddress();
    ASSERT_EQ(0u, address.find(L"http://")) << "web address string: " << std::string(address.begin(), address.end());
    struct Case {
        const char* name;
        POINT at;
        const wchar_t* program;  // null: nothing starts
        std::wstring commandLine;
    };
    const Case cases[] = {
        {"contact line", {100, 190}, L"PegHelp.exe", L"OVRQuantrel.htm#contact_us"},
        {"contact line, top left corner", {65, 187}, L"PegHelp.exe", L"OVRQuantrel.htm#contact_us"},
        {"contact line, last pixel", {177, 197}, L"PegHelp.exe", L"OVRQuantrel.htm#contact_us"},
        {"contact line, right edge is outside", {178, 190}, nullptr, L""},
        {"contact line, bottom edge is outside", {100, 198}, nullptr, L""},
        {"left of the contact line", {64, 190}, nullptr, L""},
        {"trademarks line", {120, 207}, L"PegHelp.exe", L"OVRQuantrel.htm#trademarks_copyrights"},
        {"between trademarks and web address", {100, 215}, nullptr, L""},
        {"web address", {100, 225}, L"iexplore.exe", address},
        {"web address, last pixel", {188, 228}, L"iexplore.exe", address},
        {"web address, bottom edge is outside", {100, 229}, nullptr, L""},
        {"title", {120, 30}, nullptr, L""},
    };
    runAbout([&](HWND box) {
        tap(box, 0, 0);  // ends the animation
        ASSERT_FALSE(aboutAnimation.animationRunning);
        for (const Case& c : cases) {
            deviceClearStartedPrograms();
            tap(box, c.at.x, c.at.y);
            const std::vector<StartedProgram>& started = deviceStartedPrograms();
            std::wstring expected = c.program == nullptr ? L"nothing" : L"[" + std::wstring(c.program) + L" " +
                                                                            c.commandLine + L"]";
            EXPECT_EQ(expected, describe(started)) << c.name << " at (" << c.at.x << ", " << c.at.y << ")";
        }
        pressDone(box);
    });
}

TEST_F(AboutBoxTest, OpensFullScreenWithTheKeyboardDown) {
    SIPINFO sip = {};
    sip.cbSize = sizeof sip;
    sip.fdwFlags = SIPF_ON;
    SHSipInfo(SPI_SETSIPINFO, 0, &sip, 0);
    ASSERT_TRUE(deviceSipIsUp());
    runAbout([](HWND box) {
        EXPECT_FALSE(deviceSipIsUp());
        EXPECT_EQ(static_cast<DWORD>(SHIDIF_DONEBUTTON | SHIDIF_FULLSCREEN | SHIDIF_SIPDOWN),
                  deviceInitDialogFlags(box));
        EXPECT_EQ(static_cast<DWORD>(SHFS_SHOWTASKBAR | SHFS_HIDESIPBUTTON), deviceFullScreenState(box));
        EXPECT_EQ(box, GetForegroundWindow());
        RECT rect, work = deviceWorkArea();
        GetWindowRect(box, &rect);
        EXPECT_TRUE(EqualRect(&rect, &work)) << "box at " << rect.left << "," << rect.top << "-" << rect.right << ","
                                             << rect.bottom;
        wchar_t caption[64] = L"";
        GetWindowTextW(box, caption, 64);
        EXPECT_STREQ(L"About Quantrel", caption);
        EXPECT_EQ(L"OK", fieldText(box, IDC_ABOUT_OK));
        // Taps anywhere on the link lines reach the box itself: no control,
        // seen or unseen, lies over them.
        const RECT lines[] = {{65, 187, 178, 198}, {44, 202, 196, 213}, {52, 221, 189, 229}};
        for (const RECT& line : lines)
            for (int y = line.top; y < line.bottom; ++y)
                for (int x = line.left; x < line.right; ++x)
                    ASSERT_EQ(box, ChildWindowFromPointEx(box, POINT{x, y}, CWP_SKIPINVISIBLE))
                        << "tap at (" << x << ", " << y << ") goes to control "
                        << GetDlgCtrlID(ChildWindowFromPointEx(box, POINT{x, y}, CWP_SKIPINVISIBLE));
        for (UINT request : {WM_CTLCOLORDLG, WM_CTLCOLORBTN}) {
            HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(box, request, 0, 0));
            LOGBRUSH colour = {};
            ASSERT_NE(0, GetObjectW(brush, sizeof colour, &colour)) << "request " << request;
            EXPECT_EQ(RGB(255, 255, 255), colour.lbColor) << "request " << request;
        }
        pressDone(box);
    });
}

TEST_F(AboutBoxTest, DoneAndOkCloseTheBoxWithTheTimerStopped) {
    for (int command : {IDOK, IDC_ABOUT_OK}) {
        for (bool animating : {true, false}) {
            INT_PTR result = runAbout([&](HWND box) {
                if (!animating) tap(box, 0, 0);
                SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                EXPECT_TRUE(IsWindowVisible(box)) << "command 2 leaves the box open";
                SendMessageW(box, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
                EXPECT_FALSE(KillTimer(box, IDT_ABOUT_ANIMATION))
                    << "command " << command << (animating ? " during" : " after") << " the animation";
                EXPECT_EQ(static_cast<DWORD>(SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON | SHFS_SHOWSTARTICON),
                          deviceFullScreenState(box))
                    << "command " << command;
            });
            EXPECT_EQ(1, result) << "command " << command;
        }
    }
}

TEST_F(AboutBoxTest, ActivationRepaintsTheAboutPictureOnceTheAnimationIsOver) {
    runAbout([](HWND box) {
        auto scribble = [box] {
            HDC dc = GetDC(box);
            RECT area = {0, 0, kWidth, kHeight};
            FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            ReleaseDC(box, dc);
        };
        // While the pieces slide, activation changes nothing.
        SHFullScreen(box, SHFS_SHOWSIPBUTTON);
        SendMessageW(box, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
        EXPECT_EQ(static_cast<DWORD>(SHFS_SHOWSIPBUTTON), deviceFullScreenState(box)) << "during the animation";
        EXPECT_TRUE(aboutAnimation.animationRunning);

        tap(box, 0, 0);
        for (WORD state : {WA_ACTIVE, WA_INACTIVE, WA_CLICKACTIVE}) {
            scribble();
            SHFullScreen(box, SHFS_SHOWSIPBUTTON);
            SendMessageW(box, WM_ACTIVATE, MAKEWPARAM(state, 0), 0);
            EXPECT_TRUE(showsScene(box, aboutPicture())) << "activation state " << state;
            EXPECT_EQ(static_cast<DWORD>(SHFS_SHOWTASKBAR | SHFS_HIDESIPBUTTON), deviceFullScreenState(box))
                << "activation state " << state;
        }
        pressDone(box);
    });
}

// ---- the main window's commands ----------------------------------------

HWND mainWindowOf() { return FindWindowW(L"QUANTREL", L"Quantrel"); }

// Inspects the About box from inside its modal loop, then closes it with OK.
struct Probe {
    HWND mainWindow = nullptr;
    HWND box = nullptr;
    HWND owner = nullptr;
    bool mainWindowEnabled = true;
} probe;

const UINT kProbeMessage = WM_APP + 7;

LRESULT CALLBACK probeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kProbeMessage) return DefWindowProcW(window, message, wParam, lParam);
    probe.box = FindWindowW(nullptr, L"About Quantrel");
    if (probe.box == nullptr) return 0;
    probe.owner = GetWindow(probe.box, GW_OWNER);
    probe.mainWindowEnabled = IsWindowEnabled(probe.mainWindow) != FALSE;
    SendMessageW(probe.box, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_OK, BN_CLICKED), 0);
    return 0;
}

class MainCommandsTest : public AboutBoxTest {
protected:
    void SetUp() override {
        AboutBoxTest::SetUp();
        ASSERT_EQ(nullptr, mainWindowOf());
        ASSERT_TRUE(initInstance(GetModuleHandleW(nullptr), SW_SHOWNORMAL));
        mainWindow = mainWindowOf();
        ASSERT_NE(nullptr, mainWindow);
        wcscpy(dataDirectory, scratch.directory().c_str());
        pumpMessages();
    }
    void TearDown() override {
        if (!IsWindow(mainWindow)) return;
        SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        EXPECT_TRUE(waitFor([&] { return !IsWindow(mainWindow); }));
    }
    HWND mainWindow = nullptr;
};

TEST_F(MainCommandsTest, AboutCommandOpensTheBoxModallyOverTheMainWindow) {
    WNDCLASSW probeClass = {};
    probeClass.lpfnWndProc = probeProcedure;
    probeClass.hInstance = GetModuleHandleW(nullptr);
    probeClass.lpszClassName = L"AboutProbe";
    RegisterClassW(&probeClass);
    HWND prober = CreateWindowExW(0, L"AboutProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    probe = Probe();
    probe.mainWindow = mainWindow;
    // Dispatched by the box's modal loop once the box is up.
    PostMessageW(prober, kProbeMessage, 0, 0);
    LRESULT result = SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), 0);
    EXPECT_EQ(0, result);
    ASSERT_NE(nullptr, probe.box) << "no About box while the command ran";
    EXPECT_EQ(mainWindow, probe.owner);
    EXPECT_FALSE(probe.mainWindowEnabled) << "modal: the main window is disabled while the box is open";
    EXPECT_FALSE(IsWindow(probe.box)) << "the command returns when the box has closed";
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    DestroyWindow(prober);
}

// Moves the help file away from beside the program for the holder's life.
class HelpFileAway {
public:
    HelpFileAway() {
        wchar_t path[MAX_PATH];
        DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring program(path, length);
        file_ = program.substr(0, program.find_last_of(L"\\/") + 1) + L"OVRQuantrel.htm";
        aside_ = file_ + L".away";
        moved_ = MoveFileExW(file_.c_str(), aside_.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    }
    ~HelpFileAway() {
        if (moved_) MoveFileExW(aside_.c_str(), file_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    bool helpFileMissing() const { return GetFileAttributesW(file_.c_str()) == INVALID_FILE_ATTRIBUTES; }

private:
    std::wstring file_, aside_;
    bool moved_ = false;
};

TEST_F(MainCommandsTest, HelpCommandStartsTheHelpViewerEvenWithoutTheHelpFile) {
    HelpFileAway away;
    ASSERT_TRUE(away.helpFileMissing());
    LRESULT result = SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(IDM_HELP, 0), 0);
    EXPECT_EQ(0, result);
    EXPECT_EQ(L"[PegHelp.exe OVRQuantrel.htm]", describe(deviceStartedPrograms()));
}

}  // namespace
