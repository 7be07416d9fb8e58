// The eight calculator screens through their real templates and procedures:
// one table of how each is wired (launcher button, what shows at opening,
// the frame's keyboard, colour and clearing rules on its fields), hostile
// text in every value field, one worked row per computing screen, and what
// the other screens do beyond the frame. The computations' rows are native.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "calculators/metric/metric.h"
#include "calculators/screens.h"
#include "currency/core/currency_files.h"
#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/launcher.h"
#include "shell/program.h"
#include "tests/win/support/held_file.h"
#include "tests/win/support/hostile_text.h"
#include "tests/win/support/win_test.h"

using namespace std::string_literals;

namespace {

struct Text {
    int field;
    std::wstring text;
};

struct Screen {
    const char* name;
    int button;  // on the launcher
    int templateId;
    const DLGPROC* procedure;
    int focusedAtOpening;
    std::vector<Text> atOpening;
    std::vector<int> valueFields;  // each raises the keyboard
    std::vector<int> noKeyboard;   // controls that lower it
    std::vector<int> emptiedOnFocus;
};

const Screen kScreens[] = {
    {"Loan Payments", IDC_LAUNCH_LOAN, IDD_LOAN, &loanScreenProcedure, IDC_LOAN_AMOUNT,
     {{IDC_LOAN_AMOUNT, L""}, {IDC_LOAN_TOTAL_PAYMENTS, L""}, {IDC_LOAN_TOTAL_INTEREST, L""}},
     {IDC_LOAN_AMOUNT, IDC_LOAN_INTEREST, IDC_LOAN_PAYMENT, IDC_LOAN_MONTHS}, {}, {}},
    {"Tip Calculator", IDC_LAUNCH_TIP, IDD_TIP, &tipScreenProcedure, IDC_TIP_BILL,
     {{IDC_TIP_BILL, L""}, {IDC_TIP_SPLIT_AMOUNT, L""}},
     {IDC_TIP_BILL, IDC_TIP_PERCENT, IDC_TIP_AMOUNT, IDC_TIP_SPLIT}, {IDC_TIP_TOTAL, IDC_TIP_SPLIT_AMOUNT}, {}},
    {"Lat/Lon Calculator", IDC_LAUNCH_LATLON, IDD_LATLON, &latLonScreenProcedure, IDC_LATITUDE_DEGREES,
     {{IDC_LATITUDE_HEADING, L"Latitude"}, {IDC_LONGITUDE_HEADING, L"Longitude"}, {IDC_LATITUDE_DEGREES, L""}},
     {IDC_LATITUDE_DEGREES, IDC_LATITUDE_MINUTES, IDC_LATITUDE_SECONDS, IDC_LONGITUDE_DEGREES, IDC_LONGITUDE_MINUTES,
      IDC_LONGITUDE_SECONDS},
     {}, {}},
    {"Computer", IDC_LAUNCH_COMPUTER, IDD_COMPUTER, &computerScreenProcedure, IDC_COMPUTER_ASCII,
     {{IDC_COMPUTER_ASCII, L""}, {IDC_COMPUTER_TYPE_SIZE, L"1"}, {IDC_COMPUTER_TYPE_UNSIGNED_MAX, L"1"}},
     {IDC_COMPUTER_ASCII, IDC_COMPUTER_BINARY, IDC_COMPUTER_OCTAL, IDC_COMPUTER_DECIMAL, IDC_COMPUTER_HEXADECIMAL},
     {IDC_COMPUTER_TYPE},
     {IDC_COMPUTER_ASCII, IDC_COMPUTER_BINARY, IDC_COMPUTER_OCTAL, IDC_COMPUTER_DECIMAL, IDC_COMPUTER_HEXADECIMAL}},
    {"Metric Conversion", IDC_LAUNCH_METRIC, IDD_METRIC, &metricScreenProcedure, IDC_METRIC_CATEGORY,
     {{IDC_METRIC_VALUE_1, L""}},
     {IDC_METRIC_VALUE_1, IDC_METRIC_VALUE_2, IDC_METRIC_VALUE_3, IDC_METRIC_VALUE_4},
     {IDC_METRIC_CATEGORY, IDC_METRIC_UNIT_4}, {}},
    {"Currency Exchange", IDC_LAUNCH_CURRENCY, IDD_CURRENCY, &currencyScreenProcedure, IDC_CURRENCY_BOX_1,
     {{IDC_CURRENCY_AMOUNT_1, L""}},
     {IDC_CURRENCY_AMOUNT_1, IDC_CURRENCY_AMOUNT_2, IDC_CURRENCY_AMOUNT_3, IDC_CURRENCY_AMOUNT_4},
     {IDC_CURRENCY_EDIT}, {}},
    {"Area Codes", IDC_LAUNCH_AREA, IDD_AREA_CODES, &areaCodesScreenProcedure, IDC_AREA_MODE,
     {{IDC_AREA_SEARCH, L""}}, {IDC_AREA_SEARCH}, {IDC_AREA_MODE}, {IDC_AREA_SEARCH}},
    {"Date Calculator", IDC_LAUNCH_DATE, IDD_DATE, &dateScreenProcedure, IDC_DATE_START,
     {{IDC_DATE_DAYS, L""}, {IDC_DATE_START_WEEKDAY, L""}, {IDC_DATE_END_WEEKDAY, L""}}, {IDC_DATE_DAYS},
     {IDC_DATE_START}, {IDC_DATE_DAYS}},
};

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        wcscpy(dataDirectory, scratch.directory().c_str());
        programSelections = SelectionState{};
        programRates = CurrencyTable{};
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_DATE_CLASSES};  // as the main window does
        InitCommonControlsEx(&classes);
    }
    static INT_PTR open(const Screen& screen, const std::function<void(HWND)>& driver) {
        return runScreenThenDone(screen.templateId, *screen.procedure, programScreenData(), driver);
    }
    static const Screen& screen(int button) {
        for (const Screen& s : kScreens)
            if (s.button == button) return s;
        return kScreens[0];
    }
    ScratchPlace scratch;
};

// The colour of the brush the screen answers a colour request with.
COLORREF answeredColour(HWND dialog, UINT message, HWND control) {
    HDC dc = GetDC(dialog);
    LOGBRUSH brush = {};
    GetObjectW(reinterpret_cast<HBRUSH>(
                   SendMessageW(dialog, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control))),
               sizeof brush, &brush);
    ReleaseDC(dialog, dc);
    return brush.lbColor;
}

// Each launcher button opens its screen, full screen under the navigation
// bar's Done. What shows at opening is the same at every opening; value
// fields have their colours; the keyboard follows the fields; the listed
// fields are emptied by a gain of focus in any of them.
TEST_F(ScreensTest, Wiring) {
    ASSERT_TRUE(initInstance(GetModuleHandleW(nullptr), SW_SHOWNORMAL));
    HWND mainWindow = FindWindowW(L"QUANTREL", L"Quantrel");
    wcscpy(dataDirectory, scratch.directory().c_str());
    for (const Screen& s : kScreens) {
        SCOPED_TRACE(s.name);
        for (int opening = 1; opening <= 2; ++opening) {
            bool opened = runOpenedBy(launcher, s.button, [&](HWND dialog) {
                for (const Text& shown : s.atOpening)
                    EXPECT_EQ(shown.text, fieldText(dialog, shown.field)) << "opening " << opening;
                HWND first = GetDlgItem(dialog, s.focusedAtOpening);  // a combo box's edit part counts as the box
                EXPECT_TRUE(GetFocus() == first || IsChild(first, GetFocus())) << "the first control";
                EXPECT_EQ(s.focusedAtOpening == s.valueFields.front(), deviceSipIsUp()) << "the keyboard at opening";
                typeInto(dialog, s.valueFields.front(), L"1");
                if (opening == 2) return;
                EXPECT_EQ(static_cast<DWORD>(SHIDIF_DONEBUTTON | SHIDIF_FULLSCREEN | SHIDIF_SIPDOWN),
                          deviceInitDialogFlags(dialog));
                // Value fields black on light yellow, the ground light blue.
                HWND field = GetDlgItem(dialog, s.valueFields.front());
                HDC dc = GetDC(dialog);
                SendMessageW(dialog, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(field));
                EXPECT_EQ(RGB(255, 255, 211), GetBkColor(dc));
                EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc));
                ReleaseDC(dialog, dc);
                EXPECT_EQ(RGB(255, 255, 211), answeredColour(dialog, WM_CTLCOLOREDIT, field));
                EXPECT_EQ(RGB(189, 224, 250), answeredColour(dialog, WM_CTLCOLORDLG, dialog));
                for (int id : s.valueFields) {
                    SetFocus(nullptr);
                    focusField(dialog, id);
                    EXPECT_TRUE(deviceSipIsUp()) << "field " << id << " raises the keyboard";
                }
                for (int id : s.noKeyboard) {
                    focusField(dialog, id);
                    EXPECT_FALSE(deviceSipIsUp()) << "control " << id << " lowers the keyboard";
                }
                for (int target : s.emptiedOnFocus) {
                    typeInto(dialog, s.emptiedOnFocus.front(), L"1");
                    SetFocus(nullptr);
                    focusField(dialog, target);
                    for (int id : s.emptiedOnFocus)
                        EXPECT_EQ(L"", fieldText(dialog, id)) << "focus in " << target << ", field " << id;
                }
            });
            EXPECT_TRUE(opened);
        }
    }
    SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(mainWindow); }));
}

// Every value field takes hostile text, set whole, and typed key by key into
// the first field: afterwards no text of the screen reads "nan" or "inf".
// The rates reach past the range of a double from ordinary amounts.
TEST_F(ScreensTest, HostileText) {
    ASSERT_TRUE(writeFileBytes(scratch.file(kRatesFileName),
                               "Hostile\nTiny\t1e-300\nHuge\t1e300\nZero\t0\nNegative\t-2.5\nCaf\xe9 \xb0\x80\t1.5\n"s));
    ASSERT_TRUE(writeFileBytes(scratch.file(kSelectionFileName), selectionRecord({0, 0, 1, 2, 3})));
    ASSERT_TRUE(writeFileBytes(scratch.file(L"area.txt"), "201 NJ Bayonne\n418 QC Qu\xe9" "bec\n\xb0\xe9\x80 \x01\n"));
    deviceCaptureMessageBoxes(true);
    deviceClearMessageBoxes();
    for (const Screen& s : kScreens) {
        SCOPED_TRACE(s.name);
        open(s, [&](HWND dialog) {
            if (s.templateId == IDD_AREA_CODES) chooseInBox(dialog, IDC_AREA_MODE, 2);
            for (int field : s.valueFields) {
                for (const HostileInput& input : hostileInputs()) {
                    for (bool typed : {false, true}) {
                        if (typed && (!input.typed || field != s.valueFields.front())) continue;
                        setFieldText(dialog, field, L"");
                        typed ? typeInto(dialog, field, input.text) : enterText(dialog, field, input.text);
                        EXPECT_EQ("", notFiniteTexts(dialog, field)) << "field " << field << ", " << input.name;
                    }
                }
            }
        });
    }
    EXPECT_TRUE(deviceMessageBoxes().empty()) << "no screen reports bad input in a message";
    deviceCaptureMessageBoxes(false);
}

// Each step empties its field and types into it key by key; the typed field
// keeps exactly what was typed, the others show what the screen wrote, and
// the screen is pictured with the keyboard lowered.
TEST_F(ScreensTest, WorkedRowsTypedKeyByKey) {
    const struct {
        const char* name;
        int button;
        std::vector<Text> typed;
        std::vector<Text> shown;
        const wchar_t* screenshot;
    } rows[] = {
        {"30-year mortgage", IDC_LAUNCH_LOAN,
         {{IDC_LOAN_AMOUNT, L"200000"}, {IDC_LOAN_MONTHS, L"360"}, {IDC_LOAN_INTEREST, L"7.5"}},
         {{IDC_LOAN_AMOUNT, L"200000.00"}, {IDC_LOAN_PAYMENT, L"1398.43"}, {IDC_LOAN_MONTHS, L"360.00"},
          {IDC_LOAN_TOTAL_PAYMENTS, L"503434.45"}, {IDC_LOAN_TOTAL_INTEREST, L"303434.45"}},
         L"loan_screen"},
        {"20% of 84.37 split by 3", IDC_LAUNCH_TIP,
         {{IDC_TIP_PERCENT, L"20"}, {IDC_TIP_SPLIT, L"3"}, {IDC_TIP_BILL, L"84.37"}},
         {{IDC_TIP_PERCENT, L"20.00"}, {IDC_TIP_AMOUNT, L"16.87"}, {IDC_TIP_TOTAL, L"101.24"},
          {IDC_TIP_SPLIT, L"3"}, {IDC_TIP_SPLIT_AMOUNT, L"33.75"}},
         L"tip_screen"},
        // The degree sign reaches the computation as the byte 0xB0 and comes back.
        {"longitude in degrees, minutes and seconds", IDC_LAUNCH_LATLON,
         {{IDC_LONGITUDE_SECONDS, L"123\u00b045'12.34\""}},
         {{IDC_LONGITUDE_DEGREES, L"123.7534\u00b0"}, {IDC_LONGITUDE_MINUTES, L"123\u00b045.21'"},
          {IDC_LATITUDE_DEGREES, L""}},
         L"latlon_screen"},
        {"97 in decimal", IDC_LAUNCH_COMPUTER, {{IDC_COMPUTER_DECIMAL, L"97"}},
         {{IDC_COMPUTER_ASCII, L" a"}, {IDC_COMPUTER_BINARY, L"1100001"}, {IDC_COMPUTER_OCTAL, L"141"},
          {IDC_COMPUTER_HEXADECIMAL, L"61"}},
         L"computer_screen"},
        {"100 Celsius", IDC_LAUNCH_METRIC, {{IDC_METRIC_VALUE_1, L"100"}},
         {{IDC_METRIC_VALUE_2, L"212.000000"}, {IDC_METRIC_VALUE_3, L"373.150000"}, {IDC_METRIC_VALUE_4, L"80.000000"}},
         L"metric_screen"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        open(screen(row.button), [&](HWND dialog) {
            for (const Text& step : row.typed) {
                setFieldText(dialog, step.field, L"");
                for (size_t typed = 1; typed <= step.text.size(); ++typed) {
                    typeInto(dialog, step.field, step.text.substr(typed - 1, 1));
                    EXPECT_EQ(step.text.substr(0, typed), fieldText(dialog, step.field)) << "the typed field";
                }
            }
            for (const Text& shown : row.shown) EXPECT_EQ(shown.text, fieldText(dialog, shown.field));
            pumpMessages();  // what the typing left queued may raise the keyboard again
            SHSipPreference(dialog, SIP_DOWN);
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            saveScreenshot(row.screenshot);
        });
    }
}

// The frame hands a computation the first characters of the field, as many
// as the screen's read limit says.
std::string computedText;
void recordText(HWND, int, const char* text) { computedText = text; }
const ScreenFrame kFourCharacters = {
    {IDC_LOAN_AMOUNT}, {}, {}, 0, false, false, 4, nullptr, recordText, nullptr, nullptr, nullptr,
};

TEST_F(ScreensTest, FrameReadsUpToTheScreensLimit) {
    runScreenThenDone(IDD_LOAN, ScreenProcedures<kFourCharacters>::dialog, ScreenData{}, [](HWND dialog) {
        typeInto(dialog, IDC_LOAN_AMOUNT, L"123456");
        EXPECT_EQ("1234", computedText);
    });
}

// A new category empties the four fields and gives every unit box the
// category's units, rows 1 to 4 on its first four; a unit chosen converts at
// the next key release; the category is what a new run opens on.
TEST_F(ScreensTest, MetricCategoryAndUnits) {
    const Screen& metric = screen(IDC_LAUNCH_METRIC);
    open(metric, [&](HWND dialog) {
        EXPECT_EQ(L"Temperature | Area | Length | Weight | U.S. Liquid | British Liquid",
                  boxItems(dialog, IDC_METRIC_CATEGORY));
        typeInto(dialog, IDC_METRIC_VALUE_1, L"7");
        chooseInBox(dialog, IDC_METRIC_CATEGORY, kMetricLength);
        for (int row = 0; row < kMetricRowCount; ++row) {
            EXPECT_EQ(L"", fieldText(dialog, kMetricRows[row].valueField)) << "row " << row + 1;
            EXPECT_EQ(L"Inches | Feet | Yards | Miles | Millimeters | Centimeters | Meters | Kilometers",
                      boxItems(dialog, kMetricRows[row].unitBox));
            EXPECT_EQ(row, SendDlgItemMessageW(dialog, kMetricRows[row].unitBox, CB_GETCURSEL, 0, 0));
        }
        typeInto(dialog, IDC_METRIC_VALUE_1, L"12");
        chooseInBox(dialog, IDC_METRIC_UNIT_2, 6);  // Meters
        EXPECT_EQ(L"1.000000", fieldText(dialog, IDC_METRIC_VALUE_2)) << "no conversion on a unit change";
        pressKey(dialog, IDC_METRIC_VALUE_1, VK_END);
        EXPECT_EQ(L"0.304800", fieldText(dialog, IDC_METRIC_VALUE_2));
    });
    programSelections = SelectionState{};  // a new run: only the file remembers
    open(metric, [&](HWND dialog) {
        EXPECT_EQ(kMetricLength, SendDlgItemMessageW(dialog, IDC_METRIC_CATEGORY, CB_GETCURSEL, 0, 0));
    });
}

// Area Codes searches area.txt afresh at each key in the chosen mode (the
// searches' own rows live in the native tests); text the mode refuses keeps
// the results, and a file that cannot be read empties the list.
TEST_F(ScreensTest, AreaCodesSearches) {
    const std::wstring file = scratch.file(L"area.txt");
    const char lines[] = "201 NJ Jersey City\r\n212 NY New York\r\n315 NY Syracuse\r\n415 CA San Francisco\r\n";
    const struct {
        int mode;  // Area Code, State, City
        const wchar_t* typed;
        const wchar_t* listed;
        int fileState;  // 0 as written, 1 held by another opener, 2 removed
    } cases[] = {
        {0, L"2a", L"201 NJ Jersey City | 212 NY New York", 0},
        {2, L"y", L"", 1},
        {0, L"2", L"", 2},
        {2, L"y", L"201 NJ Jersey City | 212 NY New York | 315 NY Syracuse", 0},
    };
    open(screen(IDC_LAUNCH_AREA), [&](HWND dialog) {
        for (const auto& c : cases) {
            ASSERT_TRUE(writeFileBytes(file, lines));
            HeldFile holder(c.fileState == 1 ? file : L"");
            if (c.fileState == 2) DeleteFileW(file.c_str());
            chooseInBox(dialog, IDC_AREA_MODE, c.mode);
            SetFocus(nullptr);
            focusField(dialog, IDC_AREA_SEARCH);
            typeInto(dialog, IDC_AREA_SEARCH, c.typed);
            holder.release();
            EXPECT_EQ(c.listed, listItems(dialog, IDC_AREA_RESULTS)) << "mode " << c.mode << ", " << c.typed;
        }
        saveScreenshot(L"areacodes_screen");
    });
}

SYSTEMTIME at(WORD year, WORD month, WORD day) { return SYSTEMTIME{year, month, 0, day, 10, 0, 0, 0}; }

void setPicker(HWND dialog, int id, SYSTEMTIME time) {
    SendDlgItemMessageW(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

std::wstring pickerDate(HWND dialog, int id) {
    SYSTEMTIME time = {};
    SendDlgItemMessageW(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return std::to_wstring(time.wYear) + L"-" + std::to_wstring(time.wMonth) + L"-" + std::to_wstring(time.wDay);
}

// The notification a picker sends its dialog when the user changes its date.
void notifyDateChange(HWND dialog, int id) {
    NMDATETIMECHANGE change = {};
    change.nmhdr.hwndFrom = GetDlgItem(dialog, id);
    change.nmhdr.idFrom = static_cast<UINT_PTR>(id);
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = GDT_VALID;
    SendDlgItemMessageW(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&change.st));
    SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
}

// Watches for the tap-and-hold menu from inside its modal loop, notes its
// entries and closes it at once.
std::wstring menuSeen;
void CALLBACK watchForMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu == nullptr || !IsWindowVisible(menu) || !menuSeen.empty()) return;
    HMENU items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(items); ++i) {
        wchar_t text[32] = L"";
        GetMenuStringW(items, static_cast<UINT>(i), text, 32, MF_BYPOSITION);
        menuSeen += std::wstring(text) + L" " + std::to_wstring(GetMenuItemID(items, i)) + L";";
    }
    EndMenu();
}

// A change of either picker shows the days between them and the facts of
// both dates. Holding the stylus on the screen opens Cut, Copy and Paste,
// which act on the days field as a whole; the days it then holds move the
// end picker.
TEST_F(ScreensTest, DateCalculator) {
    const int facts[6] = {IDC_DATE_START_WEEKDAY, IDC_DATE_START_DAY_IN_YEAR, IDC_DATE_START_WEEK_IN_YEAR,
                          IDC_DATE_END_WEEKDAY,   IDC_DATE_END_DAY_IN_YEAR,   IDC_DATE_END_WEEK_IN_YEAR};
    const wchar_t* shown[6] = {L"Saturday", L"10", L"2", L"Monday", L"61", L"10"};
    open(screen(IDC_LAUNCH_DATE), [&](HWND dialog) {
        setPicker(dialog, IDC_DATE_START, at(2004, 1, 10));
        setPicker(dialog, IDC_DATE_END, at(2004, 3, 1));
        notifyDateChange(dialog, IDC_DATE_END);
        EXPECT_EQ(L"51 days", fieldText(dialog, IDC_DATE_DAYS));
        for (int n = 0; n < 6; ++n) EXPECT_EQ(shown[n], fieldText(dialog, facts[n])) << n;
        saveScreenshot(L"date_screen");
        menuSeen.clear();
        UINT_PTR timer = SetTimer(nullptr, 0, 10, watchForMenu);
        // The device counts a right press as a held stylus.
        PostMessageW(dialog, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 150));
        PostMessageW(dialog, WM_RBUTTONUP, 0, MAKELPARAM(20, 150));
        EXPECT_TRUE(waitFor([] { return !menuSeen.empty(); }));
        KillTimer(nullptr, timer);
        EXPECT_EQ(L"Cut " + std::to_wstring(IDM_DATE_CUT) + L";Copy " + std::to_wstring(IDM_DATE_COPY) + L";Paste " +
                      std::to_wstring(IDM_DATE_PASTE) + L";",
                  menuSeen);
        if (OpenClipboard(dialog)) {  // nothing on the clipboard but what Copy puts there
            EmptyClipboard();
            CloseClipboard();
        }
        setPicker(dialog, IDC_DATE_START, at(2004, 1, 31));
        setFieldText(dialog, IDC_DATE_DAYS, L"12");
        SendMessageW(dialog, WM_COMMAND, IDM_DATE_COPY, 0);
        setFieldText(dialog, IDC_DATE_DAYS, L"");
        SendMessageW(dialog, WM_COMMAND, IDM_DATE_PASTE, 0);
        EXPECT_EQ(L"12", fieldText(dialog, IDC_DATE_DAYS)) << "copied, then pasted";
        EXPECT_EQ(L"2004-2-12", pickerDate(dialog, IDC_DATE_END)) << "the pasted days are read";
        SendMessageW(dialog, WM_COMMAND, IDM_DATE_CUT, 0);
        EXPECT_EQ(L"", fieldText(dialog, IDC_DATE_DAYS));
        EXPECT_EQ(L"2004-1-31", pickerDate(dialog, IDC_DATE_END)) << "an emptied field is 0 days";
    });
}

}  // namespace
