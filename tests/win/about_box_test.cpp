// The About box from the real template and pictures, driven with messages:
// the opening animation (the test is the clock: it stops timer 101 and sends
// the timer messages itself), the taps on its hot spots, and closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/about_box.h"
#include "shell/program.h"
#include "tests/win/support/screen_checks.h"
#include "tests/win/support/win_test.h"

namespace {

const std::vector<Piece> kAboutPicture = {{IDB_ABOUT, 0, 0}};

void tick(HWND box) { SendMessageW(box, WM_TIMER, IDT_ABOUT_ANIMATION, 0); }
void tap(HWND box, int x, int y) { SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }

// What the taps started, as "[program command line]" each.
std::wstring started() {
    std::wstring text;
    for (const StartedProgram& p : deviceStartedPrograms()) text += L"[" + p.program + L" " + p.commandLine + L"]";
    deviceClearStartedPrograms();
    return text;
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        programInstance = GetModuleHandleW(nullptr);
        deviceSetProgramsStarted(false);
        deviceClearStartedPrograms();
    }
    static INT_PTR runAbout(const std::function<void(HWND)>& driver) {
        return runScreen(IDD_ABOUT, aboutBoxProcedure, ScreenData{}, [&](HWND box) {
            driver(box);
            pressDone(box);
        });
    }
};

// Three pieces slide in and stop one after the other; the nineteenth timer
// message shows the About picture and stops the timer.
TEST_F(AboutBoxTest, AnimationEndsOnTheAboutPicture) {
    runAbout([](HWND box) {
        KillTimer(box, IDT_ABOUT_ANIMATION);
        for (int n = 1; n <= 18; ++n) {
            tick(box);
            if (n == 1 || n == 11 || n == 18) {
                EXPECT_TRUE(showsScene(box, {{IDB_ABOUT_LEFT, std::min(2 * n, 22), 102},
                                             {IDB_ABOUT_TOP, 102, std::min(4 * n, 72)},
                                             {IDB_ABOUT_RIGHT, std::max(240 - 3 * n, 192), 102}}))
                    << "timer message " << n;
            }
            if (n == 9) saveScreenshot(L"about_animation");
        }
        tick(box);
        EXPECT_FALSE(aboutAnimation.animationRunning);
        EXPECT_TRUE(showsScene(box, kAboutPicture));
        saveScreenshot(L"about_box");
    });
}

// A tap during the animation only ends it; on the picture, the three link
// lines start help at their topics or the browser at the web address.
TEST_F(AboutBoxTest, TapsStartWhatTheirLineSays) {
    wchar_t address[260] = L"";
    LoadStringW(programInstance, IDS_WEB_ADDRESS, address, 260);
    const std::wstring contact = L"[PegHelp.exe OVRQuantrel.htm#contact_us]";
    const std::wstring web = L"[iexplore.exe " + std::wstring(address) + L"]";
    const struct {
        POINT at;
        std::wstring started;
    } taps[] = {{{65, 187}, contact}, {{177, 197}, contact},
                {{178, 190}, L""},    {{100, 198}, L""},
                {{64, 190}, L""},     {{120, 207}, L"[PegHelp.exe OVRQuantrel.htm#trademarks_copyrights]"},
                {{100, 215}, L""},    {{100, 225}, web},
                {{188, 228}, web},    {{100, 229}, L""}};
    runAbout([&](HWND box) {
        EXPECT_EQ(static_cast<DWORD>(SHIDIF_DONEBUTTON | SHIDIF_FULLSCREEN | SHIDIF_SIPDOWN),
                  deviceInitDialogFlags(box));
        tick(box);
        tap(box, 100, 190);
        EXPECT_EQ(L"", started()) << "a tap during the animation";
        EXPECT_TRUE(showsScene(box, kAboutPicture));
        EXPECT_FALSE(KillTimer(box, IDT_ABOUT_ANIMATION)) << "timer 101 still running";
        for (const auto& t : taps) {
            tap(box, t.at.x, t.at.y);
            EXPECT_EQ(t.started, started()) << "tap at (" << t.at.x << ", " << t.at.y << ")";
        }
    });
}

}  // namespace
