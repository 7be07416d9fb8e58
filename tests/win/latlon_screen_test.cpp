// The Lat/Lon Calculator screen driven through its real template and
// procedure: worked coordinates typed key by key into either coordinate, the
// other coordinate left alone, and the degree sign typed on the soft
// keyboard panel surviving the way to the computation and back.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "calculators/latlon/latlon.h"
#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/launcher.h"
#include "shell/program.h"
#include "calculators/screens.h"
#include "tests/win/support/screen_checks.h"
#include "tests/win/support/win_test.h"

namespace {

const int kLatitudeFields[3] = {IDC_LATITUDE_DEGREES, IDC_LATITUDE_MINUTES, IDC_LATITUDE_SECONDS};
const int kLongitudeFields[3] = {IDC_LONGITUDE_DEGREES, IDC_LONGITUDE_MINUTES, IDC_LONGITUDE_SECONDS};

class LatLonScreenTest : public ::testing::Test {
protected:
    void SetUp() override { wcscpy(dataDirectory, scratch.directory().c_str()); }
    ScratchPlace scratch;
};

INT_PTR runLatLon(const std::function<void(HWND)>& driver) {
    return runScreen(GetModuleHandleW(nullptr), IDD_LATLON, latLonScreenProcedure, driver);
}

// Each case is typed into the latitude and, on another opening, into the
// longitude; the other coordinate holds texts that must stay.
TEST_F(LatLonScreenTest, CoordinatesTypedKeyByKey) {
    const struct {
        const char* name;
        int notation;  // the field typed into
        const wchar_t* typed;
        const wchar_t* shown[3];  // decimal degrees, degrees and minutes, degrees minutes seconds
    } cases[] = {
        {"worked: 45.5", kDecimalDegrees, L"45.5", {L"45.5", L"45\u00b030.00'", L"45\u00b030'0.00\""}},
        {"worked: 45 30 15 with marks", kDegreesMinutesSeconds, L"45\u00b030'15\"",
         {L"45.5042\u00b0", L"45\u00b030.25'", L"45\u00b030'15\""}},
        {"worked: 12.345678", kDecimalDegrees, L"12.345678",
         {L"12.345678", L"12\u00b020.74'", L"12\u00b020'44.44\""}},
        {"worked: 123 45 12.34 with marks", kDegreesMinutesSeconds, L"123\u00b045'12.34\"",
         {L"123.7534\u00b0", L"123\u00b045.21'", L"123\u00b045'12.34\""}},
        {"worked: -45.5", kDecimalDegrees, L"-45.5", {L"-45.5", L"-45\u00b0-30.00'", L"-45\u00b0-30'0.00\""}},
        {"worked: letters only", kDegreesMinutes, L"abc", {L"0.0000\u00b0", L"abc", L"0\u00b00'0.00\""}},
        {"degree sign typed after a decimal", kDecimalDegrees, L"45.5\u00b0",
         {L"45.5\u00b0", L"45\u00b030.00'", L"45\u00b030'0.00\""}},
        {"degrees and decimal minutes", kDegreesMinutes, L"45\u00b030.5'",
         {L"45.5083\u00b0", L"45\u00b030.5'", L"45\u00b030'30.00\""}},
        {"no carry just under a whole minute", kDecimalDegrees, L"45.99999",
         {L"45.99999", L"45\u00b060.00'", L"45\u00b059'59.96\""}},
        {"parts that cancel read as nothing left", kDegreesMinutes, L"1\u00b0-60'",
         {L"0.0000\u00b0", L"1\u00b0-60'", L"0\u00b00'0.00\""}},
        {"zero degrees show no sign", kDecimalDegrees, L"-0.5", {L"-0.5", L"0\u00b0-30.00'", L"0\u00b0-30'0.00\""}},
        {"an erased field reads 0", kDegreesMinutes, L"7\b", {L"0.0000\u00b0", L"", L"0\u00b00'0.00\""}},
        {"whole degrees beyond 32 bits show empty", kDecimalDegrees, L"3e9", {L"3e9", L"", L""}},
    };
    for (const auto& c : cases) {
        for (bool longitude : {false, true}) {
            const int* fields = longitude ? kLongitudeFields : kLatitudeFields;
            const int* others = longitude ? kLatitudeFields : kLongitudeFields;
            const char* coordinate = longitude ? "longitude" : "latitude";
            runLatLon([&](HWND dialog) {
                for (int n = 0; n < 3; ++n) setFieldText(dialog, others[n], L"keep");
                typeKeepingText(dialog, fields[c.notation], c.typed, c.name);
                for (int n = 0; n < 3; ++n) {
                    EXPECT_EQ(c.shown[n], fieldText(dialog, fields[n])) << c.name << ", " << coordinate << ": notation " << n;
                    EXPECT_EQ(L"keep", fieldText(dialog, others[n])) << c.name << ": the other coordinate was touched";
                }
                pressDone(dialog);
            });
        }
    }
}

// The keys of the soft keyboard panel: rows of twelve 20-pixel keys.
const wchar_t* const kPanelRows[] = {
    L"1234567890-\b",
    L"qwertyuiop.,",
    L"asdfghjkl\u00b0'\"",
};

bool tapPanelKey(wchar_t key) {
    HWND panel = deviceSoftKeyboard();
    for (int row = 0; row < 3; ++row) {
        const wchar_t* at = wcschr(kPanelRows[row], key);
        if (at == nullptr) continue;
        int column = static_cast<int>(at - kPanelRows[row]);
        SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(column * 20 + 10, row * 20 + 10));
        SendMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(column * 20 + 10, row * 20 + 10));
        return true;
    }
    return false;
}

// Typed on the panel, the degree sign reaches the field as U+00B0, the
// computation as the byte 0xB0, and comes back into the other fields.
TEST_F(LatLonScreenTest, DegreeSignTypedOnTheSoftKeyboard) {
    runLatLon([&](HWND dialog) {
        SetForegroundWindow(dialog);
        focusField(dialog, IDC_LONGITUDE_MINUTES);
        ASSERT_TRUE(deviceSipIsUp()) << "focus in a value field raises the keyboard";
        const std::wstring typed = L"-45\u00b030'";
        for (size_t n = 1; n <= typed.size(); ++n) {
            ASSERT_TRUE(tapPanelKey(typed[n - 1])) << "no key for character " << n;
            EXPECT_TRUE(waitFor([&] { return fieldText(dialog, IDC_LONGITUDE_MINUTES) == typed.substr(0, n); }))
                << "after key " << n << " expected " << testing::PrintToString(typed.substr(0, n)) << ", got "
                << testing::PrintToString(fieldText(dialog, IDC_LONGITUDE_MINUTES));
        }
        // Each part keeps its own sign: -45 + 0.5.
        EXPECT_TRUE(waitFor([&] { return fieldText(dialog, IDC_LONGITUDE_DEGREES) == L"-44.5000\u00b0"; }))
            << "got " << testing::PrintToString(fieldText(dialog, IDC_LONGITUDE_DEGREES));
        EXPECT_EQ(L"-44\u00b0-30'0.00\"", fieldText(dialog, IDC_LONGITUDE_SECONDS));
        typeInto(dialog, IDC_LATITUDE_SECONDS, L"51\u00b028'38\"");
        saveScreenshot(L"latlon_screen_keyboard");
        screenshotKeyboardDown(dialog, L"latlon_screen");
        pressDone(dialog);
    });
}

// All six edits raise the keyboard and are black on light yellow; the
// headings and labels sit on light blue.
TEST_F(LatLonScreenTest, ValueFieldsRaiseKeyboardAndTakeFieldColours) {
    runLatLon([&](HWND dialog) {
        for (int id : kLatLonValueFields) {
            EXPECT_EQ(L"", fieldText(dialog, id)) << "field " << id << " starts empty";
            focusField(dialog, id);
            EXPECT_TRUE(deviceSipIsUp()) << "field " << id;
            SetFocus(nullptr);
            EXPECT_FALSE(deviceSipIsUp()) << "field " << id << " lost the focus";
            EXPECT_EQ(RGB(255, 255, 211), answeredColour(dialog, WM_CTLCOLOREDIT, GetDlgItem(dialog, id)))
                << "field " << id;
        }
        EXPECT_EQ(L"Latitude", fieldText(dialog, IDC_LATITUDE_HEADING));
        EXPECT_EQ(L"Longitude", fieldText(dialog, IDC_LONGITUDE_HEADING));
        for (int id : {IDC_LATITUDE_HEADING, IDC_LONGITUDE_HEADING})
            EXPECT_EQ(RGB(189, 224, 250), answeredColour(dialog, WM_CTLCOLORSTATIC, GetDlgItem(dialog, id)))
                << "heading " << id;
        pressDone(dialog);
    });
}


}  // namespace
