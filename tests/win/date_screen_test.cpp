// The Date Calculator screen driven through its real template: the pickers'
// date-change notification, the days field's key releases, the facts of both
// dates and the tap-and-hold menu.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"
#include "calculators/screens.h"
#include "tests/win/support/win_test.h"

namespace {

const int kStartFacts[3] = {IDC_DATE_START_WEEKDAY, IDC_DATE_START_DAY_IN_YEAR, IDC_DATE_START_WEEK_IN_YEAR};
const int kEndFacts[3] = {IDC_DATE_END_WEEKDAY, IDC_DATE_END_DAY_IN_YEAR, IDC_DATE_END_WEEK_IN_YEAR};

struct Facts {
    const wchar_t* weekday;
    const wchar_t* dayInYear;
    const wchar_t* weekInYear;
};

SYSTEMTIME at(WORD year, WORD month, WORD day, WORD hour = 10, WORD minute = 0, WORD second = 0,
              WORD millisecond = 0) {
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = millisecond;
    return time;
}

void setPicker(HWND dialog, int id, SYSTEMTIME time) {
    ASSERT_TRUE(SendDlgItemMessageW(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time)));
}

SYSTEMTIME picker(HWND dialog, int id) {
    SYSTEMTIME time = {};
    EXPECT_EQ(GDT_VALID, SendDlgItemMessageW(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)));
    return time;
}

std::string show(const SYSTEMTIME& t) {
    char text[64];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond, t.wMilliseconds);
    return text;
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::string showFacts(HWND dialog, const int* fields) {
    return narrow(fieldText(dialog, fields[0]) + L" / " + fieldText(dialog, fields[1]) + L" / " +
                  fieldText(dialog, fields[2]));
}
std::string showFacts(const Facts& facts) {
    return narrow(std::wstring(facts.weekday) + L" / " + facts.dayInYear + L" / " + facts.weekInYear);
}

// The notification a picker sends its dialog when the user changes its date.
LRESULT notifyDateChange(HWND dialog, int id, UINT code = DTN_DATETIMECHANGE) {
    NMDATETIMECHANGE change = {};
    change.nmhdr.hwndFrom = GetDlgItem(dialog, id);
    change.nmhdr.idFrom = static_cast<UINT_PTR>(id);
    change.nmhdr.code = code;
    change.dwFlags = GDT_VALID;
    change.st = picker(dialog, id);
    return SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
}

// A tap into the days field, the focus coming from elsewhere.
void tapIntoDays(HWND dialog) {
    SetFocus(GetDlgItem(dialog, IDC_DATE_START));
    focusField(dialog, IDC_DATE_DAYS);
}

class DateScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The main window registers the date classes at start-up.
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_DATE_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&classes));
        wcscpy(dataDirectory, place.directory().c_str());
    }
    static INT_PTR run(const std::function<void(HWND)>& driver) {
        // A fatal failure leaves the driver early: the screen is closed all the
        // same, so that the test ends instead of waiting.
        return runScreen(GetModuleHandleW(nullptr), IDD_DATE, dateScreenProcedure, [&](HWND dialog) {
            driver(dialog);
            if (::testing::Test::HasFatalFailure()) pressDone(dialog);
        });
    }
    ScratchPlace place;
};

TEST_F(DateScreenTest, OpensWithTodayInBothPickersAndEmptyFacts) {
    INT_PTR result = run([&](HWND dialog) {
        EXPECT_EQ(13u, deviceInitDialogFlags(dialog));
        for (int id : {IDC_DATE_START, IDC_DATE_END}) {
            wchar_t className[32] = L"";
            GetClassNameW(GetDlgItem(dialog, id), className, 32);
            EXPECT_STREQ(DATETIMEPICK_CLASSW, className) << "control " << id;
            SYSTEMTIME today = {};
            GetLocalTime(&today);
            SYSTEMTIME shown = picker(dialog, id);
            // The picker starts at the current date; only a midnight passing
            // during the test could make the day differ.
            EXPECT_EQ(today.wYear * 10000 + today.wMonth * 100 + today.wDay,
                      shown.wYear * 10000 + shown.wMonth * 100 + shown.wDay)
                << "picker " << id;
        }
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(L"", fieldText(dialog, kStartFacts[i])) << "start fact " << kStartFacts[i];
            EXPECT_EQ(L"", fieldText(dialog, kEndFacts[i])) << "end fact " << kEndFacts[i];
        }
        EXPECT_EQ(L"", fieldText(dialog, IDC_DATE_DAYS));
        pressDone(dialog);
    });
    EXPECT_EQ(1, result);
}

TEST_F(DateScreenTest, DateChangeShowsDaysAndFactsOfBothDates) {
    struct Case {
        const char* name;
        SYSTEMTIME start, end;
        int changed;  // the picker that notifies
        const wchar_t* days;
        Facts startFacts, endFacts;
    } cases[] = {
        {"Thursday to Monday",
         at(2004, 1, 1),
         at(2004, 3, 1),
         IDC_DATE_END,
         L"60 days",
         {L"Thursday", L"1", L"1"},
         {L"Monday", L"61", L"10"}},
        {"five days back",
         at(2004, 1, 10),
         at(2004, 1, 5),
         IDC_DATE_START,
         L"-5 days",
         {L"Saturday", L"10", L"2"},
         {L"Monday", L"5", L"2"}},
        {"truncated toward zero",
         at(2004, 1, 10),
         at(2004, 1, 5, 10, 0, 1),
         IDC_DATE_END,
         L"-4 days",
         {L"Saturday", L"10", L"2"},
         {L"Monday", L"5", L"2"}},
        {"no singular",
         at(2004, 1, 1),
         at(2004, 1, 2),
         IDC_DATE_START,
         L"1 days",
         {L"Thursday", L"1", L"1"},
         {L"Friday", L"2", L"1"}},
        {"Saturday and Sunday of 2007",
         at(2007, 1, 6),
         at(2007, 1, 7),
         IDC_DATE_END,
         L"1 days",
         {L"Saturday", L"6", L"2"},
         {L"Sunday", L"7", L"3"}},
        {"2100 is no leap year; span over 2^31 seconds",
         at(2006, 1, 1),
         at(2100, 3, 1),
         IDC_DATE_END,
         L"34392 days",
         {L"Sunday", L"1", L"2"},
         {L"Monday", L"60", L"10"}},
    };
    run([&](HWND dialog) {
        for (const Case& c : cases) {
            setPicker(dialog, IDC_DATE_START, c.start);
            setPicker(dialog, IDC_DATE_END, c.end);
            EXPECT_EQ(0, notifyDateChange(dialog, c.changed)) << c.name;
            EXPECT_EQ(narrow(c.days), narrow(fieldText(dialog, IDC_DATE_DAYS))) << c.name;
            EXPECT_EQ(showFacts(c.startFacts), showFacts(dialog, kStartFacts)) << c.name;
            EXPECT_EQ(showFacts(c.endFacts), showFacts(dialog, kEndFacts)) << c.name;
        }
        pressDone(dialog);
    });
}

TEST_F(DateScreenTest, OtherNotificationsChangeNothing) {
    run([&](HWND dialog) {
        setPicker(dialog, IDC_DATE_START, at(2004, 1, 1));
        setPicker(dialog, IDC_DATE_END, at(2004, 3, 1));
        setFieldText(dialog, IDC_DATE_DAYS, L"7");
        notifyDateChange(dialog, IDC_DATE_START, DTN_DROPDOWN);
        notifyDateChange(dialog, IDC_DATE_END, NM_SETFOCUS);
        notifyDateChange(dialog, IDC_DATE_DAYS);  // the right code from another control
        EXPECT_EQ(L"7", fieldText(dialog, IDC_DATE_DAYS));
        EXPECT_EQ(L"", fieldText(dialog, kStartFacts[0]));
        pressDone(dialog);
    });
}

TEST_F(DateScreenTest, PickerChangedByTheUserNotifiesTheScreen) {
    run([&](HWND dialog) {
        setPicker(dialog, IDC_DATE_START, at(2004, 1, 1));
        setPicker(dialog, IDC_DATE_END, at(2004, 3, 1));
        HWND end = GetDlgItem(dialog, IDC_DATE_END);
        SetFocus(end);
        // A tap on the picker's first field selects it; the up key steps it.
        RECT box;
        GetClientRect(end, &box);
        LPARAM firstField = MAKELPARAM(6, (box.bottom - box.top) / 2);
        SendMessageW(end, WM_LBUTTONDOWN, MK_LBUTTON, firstField);
        SendMessageW(end, WM_LBUTTONUP, 0, firstField);
        SendMessageW(end, WM_KEYDOWN, VK_UP, 0);
        SYSTEMTIME changed = picker(dialog, IDC_DATE_END);
        ASSERT_NE(show(at(2004, 3, 1)), show(changed)) << "the picker took the key";
        EXPECT_NE(L"", fieldText(dialog, IDC_DATE_DAYS)) << "the change reached the screen";
        EXPECT_NE(L"", fieldText(dialog, kEndFacts[0]));
        pressDone(dialog);
    });
}

TEST_F(DateScreenTest, TypedDaysSetTheEndPicker) {
    const SYSTEMTIME start = at(2004, 1, 31, 10, 20, 30, 456);
    const SYSTEMTIME marker = at(2010, 6, 15, 8);
    const Facts startFacts = {L"Saturday", L"31", L"5"};
    const Facts markerFacts = {L"Tuesday", L"166", L"25"};
    struct Case {
        const char* name;
        const wchar_t* typed;
        SYSTEMTIME end;  // the marker when the end must stay
        Facts endFacts;
    } cases[] = {
        {"30 days", L"30", at(2004, 3, 1, 10, 20, 30, 456), {L"Monday", L"61", L"10"}},
        {"30 days back", L"-30", at(2004, 1, 1, 10, 20, 30, 456), {L"Thursday", L"1", L"1"}},
        {"number in front of letters", L"12abc", at(2004, 2, 12, 10, 20, 30, 456), {L"Thursday", L"43", L"7"}},
        {"no number is 0 days", L"abc", start, startFacts},
        {"only the first 14 characters", L"00000000000030999999", at(2004, 3, 1, 10, 20, 30, 456),
         {L"Monday", L"61", L"10"}},
        {"largest number of days", L"24855", at(2072, 2, 18, 10, 20, 30, 456), {L"Thursday", L"49", L"8"}},
        {"too many days leave the end", L"24856", marker, markerFacts},
        {"too many days back leave the end", L"-24856", marker, markerFacts},
        {"20 digits leave the end", L"12345678901234567890", marker, markerFacts},
    };
    run([&](HWND dialog) {
        for (const Case& c : cases) {
            setPicker(dialog, IDC_DATE_START, start);
            setPicker(dialog, IDC_DATE_END, marker);
            tapIntoDays(dialog);
            enterText(dialog, IDC_DATE_DAYS, c.typed);  // the whole text, one key release
            EXPECT_EQ(show(c.end), show(picker(dialog, IDC_DATE_END))) << c.name;
            EXPECT_EQ(show(start), show(picker(dialog, IDC_DATE_START))) << c.name << ": the start stays";
            EXPECT_EQ(showFacts(startFacts), showFacts(dialog, kStartFacts)) << c.name;
            EXPECT_EQ(showFacts(c.endFacts), showFacts(dialog, kEndFacts)) << c.name;
            EXPECT_EQ(narrow(c.typed), narrow(fieldText(dialog, IDC_DATE_DAYS)))
                << c.name << ": the field is not rewritten";
        }
        pressDone(dialog);
    });
}

TEST_F(DateScreenTest, EachKeyUpdatesTheEndAndAPickerChangeRewritesTheDays) {
    run([&](HWND dialog) {
        setPicker(dialog, IDC_DATE_START, at(2004, 1, 31));
        setFieldText(dialog, IDC_DATE_DAYS, L"99");
        SetFocus(GetDlgItem(dialog, IDC_DATE_START));
        EXPECT_FALSE(deviceSipIsUp());
        focusField(dialog, IDC_DATE_DAYS);
        EXPECT_TRUE(deviceSipIsUp()) << "the days field raises the keyboard";
        EXPECT_EQ(L"", fieldText(dialog, IDC_DATE_DAYS)) << "and is emptied";
        typeInto(dialog, IDC_DATE_DAYS, L"3");
        EXPECT_EQ(show(at(2004, 2, 3)), show(picker(dialog, IDC_DATE_END))) << "after the first digit";
        typeInto(dialog, IDC_DATE_DAYS, L"0");
        EXPECT_EQ(show(at(2004, 3, 1)), show(picker(dialog, IDC_DATE_END))) << "after the second digit";
        typeInto(dialog, IDC_DATE_DAYS, L"\b\b");
        EXPECT_EQ(show(at(2004, 1, 31)), show(picker(dialog, IDC_DATE_END))) << "an emptied field is 0 days";
        typeInto(dialog, IDC_DATE_DAYS, L"30");
        notifyDateChange(dialog, IDC_DATE_START);
        EXPECT_EQ(L"30 days", fieldText(dialog, IDC_DATE_DAYS)) << "the computed text replaces the typed number";
        SetFocus(GetDlgItem(dialog, IDC_DATE_END));
        EXPECT_FALSE(deviceSipIsUp()) << "leaving the days field lowers the keyboard";
        pressDone(dialog);
    });
}

// Watches for the tap-and-hold menu from inside its modal loop and closes it
// at once, so that no test ever waits on it.
struct MenuSeen {
    bool seen = false;
    std::vector<UINT> commands;
    std::vector<std::wstring> texts;
    RECT place = {};
};
MenuSeen* watched = nullptr;

void CALLBACK watchForMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (watched == nullptr || menu == nullptr || !IsWindowVisible(menu)) return;
    watched->seen = true;
    GetWindowRect(menu, &watched->place);
    HMENU items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(items); ++i) {
        wchar_t text[32] = L"";
        GetMenuStringW(items, static_cast<UINT>(i), text, 32, MF_BYPOSITION);
        watched->commands.push_back(GetMenuItemID(items, i));
        watched->texts.push_back(text);
    }
    EndMenu();
}

class MenuWatch {
public:
    explicit MenuWatch(MenuSeen* seen) : timer_(SetTimer(nullptr, 0, 10, watchForMenu)) { watched = seen; }
    ~MenuWatch() {
        KillTimer(nullptr, timer_);
        watched = nullptr;
    }

private:
    UINT_PTR timer_;
};

TEST_F(DateScreenTest, HoldingOnTheSurfaceOpensTheEditMenuUnderTheStylus) {
    run([&](HWND dialog) {
        MenuSeen seen;
        MenuWatch watch(&seen);
        POINT tap = {20, 150};  // below the "End Date" label, left of the pickers
        // The device counts a right press as a held stylus.
        PostMessageW(dialog, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(tap.x, tap.y));
        PostMessageW(dialog, WM_RBUTTONUP, 0, MAKELPARAM(tap.x, tap.y));
        ASSERT_TRUE(waitFor([&] { return seen.seen; })) << "the menu opened";
        EXPECT_EQ((std::vector<UINT>{IDM_DATE_CUT, IDM_DATE_COPY, IDM_DATE_PASTE}), seen.commands);
        ASSERT_EQ(3u, seen.texts.size());
        EXPECT_EQ(L"Cut", seen.texts[0]);
        EXPECT_EQ(L"Copy", seen.texts[1]);
        EXPECT_EQ(L"Paste", seen.texts[2]);
        ClientToScreen(dialog, &tap);
        EXPECT_EQ(tap.x, seen.place.left) << "menu under the stylus";
        EXPECT_EQ(tap.y, seen.place.top) << "menu under the stylus";
        pressDone(dialog);
    });
}

TEST_F(DateScreenTest, ShortTapOpensNoMenu) {
    run([&](HWND dialog) {
        MenuSeen seen;
        MenuWatch watch(&seen);
        // The stylus is lifted before the hold is recognised.
        PostMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(20, 150));
        SendMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 150));
        pumpMessages();
        EXPECT_FALSE(seen.seen);
        pressDone(dialog);
    });
}

bool putOnClipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    bool put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return put;
}

std::wstring clipboardText(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) return L"<clipboard not opened>";
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(memory));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return text;
}

void command(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

TEST_F(DateScreenTest, MenuCommandsActOnTheDaysField) {
    run([&](HWND dialog) {
        setPicker(dialog, IDC_DATE_START, at(2004, 1, 31));
        setPicker(dialog, IDC_DATE_END, at(2004, 3, 1));
        setFieldText(dialog, IDC_DATE_DAYS, L"30 days");
        command(dialog, IDM_DATE_COPY);
        EXPECT_EQ(L"30 days", clipboardText(dialog)) << "Copy takes the whole field";
        EXPECT_EQ(L"30 days", fieldText(dialog, IDC_DATE_DAYS)) << "Copy leaves the field";

        ASSERT_TRUE(putOnClipboard(dialog, L"12"));
        command(dialog, IDM_DATE_PASTE);
        EXPECT_EQ(L"12", fieldText(dialog, IDC_DATE_DAYS)) << "Paste replaces the field";
        EXPECT_EQ(show(at(2004, 2, 12)), show(picker(dialog, IDC_DATE_END))) << "the pasted days are read";
        EXPECT_EQ(L"Thursday", fieldText(dialog, kEndFacts[0]));

        command(dialog, IDM_DATE_CUT);
        EXPECT_EQ(L"12", clipboardText(dialog)) << "Cut takes the whole field";
        EXPECT_EQ(L"", fieldText(dialog, IDC_DATE_DAYS));
        EXPECT_EQ(show(at(2004, 1, 31)), show(picker(dialog, IDC_DATE_END))) << "an emptied field is 0 days";
        pressDone(dialog);
    });
}

TEST_F(DateScreenTest, Screenshot) {
    run([&](HWND dialog) {
        setPicker(dialog, IDC_DATE_START, at(2004, 1, 1));
        setPicker(dialog, IDC_DATE_END, at(2004, 3, 1));
        notifyDateChange(dialog, IDC_DATE_END);
        EXPECT_EQ(L"60 days", fieldText(dialog, IDC_DATE_DAYS));
        EXPECT_TRUE(saveScreenshot(L"date_screen"));
        pressDone(dialog);
    });
}

}  // namespace
