// The Area Codes screen driven through its real template, searching an
// area.txt written into a scratch data directory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"
#include "calculators/screens.h"
#include "tests/win/support/win_test.h"

namespace {

const int kAreaCode = 0, kState = 1, kCity = 2;

const char kFourLines[] =
    "201 NJ Jersey City\r\n"
    "212 NY New York\r\n"
    "315 NY Syracuse\r\n"
    "415 CA San Francisco\r\n";

using Lines = std::vector<std::wstring>;
const Lines kAllFour = {L"201 NJ Jersey City", L"212 NY New York", L"315 NY Syracuse", L"415 CA San Francisco"};

Lines listed(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_AREA_RESULTS);
    Lines lines;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::vector<wchar_t> buffer(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1);
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        lines.emplace_back(buffer.data());
    }
    return lines;
}

std::string show(const Lines& lines) {
    std::string out = "[";
    for (const std::wstring& line : lines) out += (out.size() > 1 ? " | " : "") + std::string(line.begin(), line.end());
    return out + "]";
}

void chooseMode(HWND dialog, int mode) {
    HWND combo = GetDlgItem(dialog, IDC_AREA_MODE);
    SendMessageW(combo, CB_SETCURSEL, mode, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_AREA_MODE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

// Taps into the search field (which empties it) and types the text key by key.
void search(HWND dialog, int mode, const std::wstring& text) {
    chooseMode(dialog, mode);
    SetFocus(GetDlgItem(dialog, IDC_AREA_MODE));
    focusField(dialog, IDC_AREA_SEARCH);
    typeInto(dialog, IDC_AREA_SEARCH, text);
}

class AreaCodesScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        wcscpy(dataDirectory, place.directory().c_str());
        ASSERT_TRUE(writeFileBytes(place.file(L"area.txt"), kFourLines));
        deviceCaptureMessageBoxes(true);
        deviceClearMessageBoxes();
    }
    void TearDown() override {
        EXPECT_TRUE(deviceMessageBoxes().empty()) << "the screen shows no messages";
        deviceCaptureMessageBoxes(false);
    }
    static INT_PTR run(const std::function<void(HWND)>& driver) {
        // A fatal failure leaves the driver early: the screen is closed all the
        // same, so that the test ends instead of waiting.
        return runScreen(GetModuleHandleW(nullptr), IDD_AREA_CODES, areaCodesScreenProcedure, programScreenData(),
                         [&](HWND dialog) {
                             driver(dialog);
                             if (::testing::Test::HasFatalFailure()) pressDone(dialog);
                         });
    }
    ScratchPlace place;
};

TEST_F(AreaCodesScreenTest, OpensInAreaCodeModeWithAnEmptyList) {
    INT_PTR result = run([&](HWND dialog) {
        EXPECT_EQ(13u, deviceInitDialogFlags(dialog));
        HWND combo = GetDlgItem(dialog, IDC_AREA_MODE);
        const wchar_t* modes[] = {L"Area Code", L"State", L"City"};
        ASSERT_EQ(3, SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < 3; ++i) {
            wchar_t item[32] = L"";
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            EXPECT_STREQ(modes[i], item) << "mode " << i;
        }
        EXPECT_EQ(kAreaCode, SendMessageW(combo, CB_GETCURSEL, 0, 0));
        EXPECT_EQ(L"", fieldText(dialog, IDC_AREA_SEARCH));
        EXPECT_TRUE(listed(dialog).empty());
        pressDone(dialog);
    });
    EXPECT_EQ(1, result);
}

TEST_F(AreaCodesScreenTest, SearchesListMatchingLinesInFileOrder) {
    struct Case {
        const char* name;
        int mode;
        const wchar_t* typed;
        Lines expected;
    } cases[] = {
        {"code 2", kAreaCode, L"2", {L"201 NJ Jersey City", L"212 NY New York"}},
        {"code 21", kAreaCode, L"21", {L"212 NY New York"}},
        {"code 15", kAreaCode, L"15", {L"315 NY Syracuse", L"415 CA San Francisco"}},
        {"code 999", kAreaCode, L"999", {}},
        {"state ny", kState, L"ny", {L"212 NY New York", L"315 NY Syracuse"}},
        {"state NY", kState, L"NY", {L"212 NY New York", L"315 NY Syracuse"}},
        {"state N", kState, L"N", {L"201 NJ Jersey City", L"212 NY New York", L"315 NY Syracuse"}},
        {"state looks at bytes 4 and 5 only", kState, L"Sa", {}},
        {"city san", kCity, L"san", {L"415 CA San Francisco"}},
        {"city Y", kCity, L"Y", {L"201 NJ Jersey City", L"212 NY New York", L"315 NY Syracuse"}},
        {"city by code digits", kCity, L"41", {L"415 CA San Francisco"}},
    };
    run([&](HWND dialog) {
        for (const Case& c : cases) {
            search(dialog, c.mode, c.typed);
            EXPECT_EQ(show(c.expected), show(listed(dialog))) << c.name;
            EXPECT_EQ(1000, SendDlgItemMessageW(dialog, IDC_AREA_RESULTS, LB_GETHORIZONTALEXTENT, 0, 0)) << c.name;
        }
        pressDone(dialog);
    });
}

TEST_F(AreaCodesScreenTest, TextTheModeRefusesKeepsTheEarlierResults) {
    struct Case {
        const char* name;
        int mode;
        const wchar_t* typed;  // the last key makes the text unacceptable
        Lines kept;
    } cases[] = {
        {"letter in a code", kAreaCode, L"2a", {L"201 NJ Jersey City", L"212 NY New York"}},
        {"fourth digit", kAreaCode, L"2121", {L"212 NY New York"}},
        {"third letter of a state", kState, L"NYC", {L"212 NY New York", L"315 NY Syracuse"}},
    };
    run([&](HWND dialog) {
        for (const Case& c : cases) {
            search(dialog, c.mode, c.typed);
            EXPECT_EQ(show(c.kept), show(listed(dialog))) << c.name;
        }
        pressDone(dialog);
    });
}

TEST_F(AreaCodesScreenTest, EmptyCityTextListsEveryLine) {
    run([&](HWND dialog) {
        search(dialog, kCity, L"san");
        typeInto(dialog, IDC_AREA_SEARCH, L"\b\b\b");
        EXPECT_EQ(L"", fieldText(dialog, IDC_AREA_SEARCH));
        EXPECT_EQ(show(kAllFour), show(listed(dialog))) << "after the last backspace";
        // An empty text is no code and no state: the list stays as it was.
        chooseMode(dialog, kAreaCode);
        pressKey(dialog, IDC_AREA_SEARCH, VK_LEFT);
        EXPECT_EQ(show(kAllFour), show(listed(dialog))) << "empty text in code mode";
        pressDone(dialog);
    });
}

TEST_F(AreaCodesScreenTest, ChoosingAModeSearchesNothingUntilTheNextKey) {
    run([&](HWND dialog) {
        const Lines states = {L"201 NJ Jersey City", L"212 NY New York", L"315 NY Syracuse"};
        search(dialog, kState, L"N");
        chooseMode(dialog, kCity);
        EXPECT_EQ(show(states), show(listed(dialog))) << "the choice alone";
        pressKey(dialog, IDC_AREA_SEARCH, VK_RIGHT);
        EXPECT_EQ(show(kAllFour), show(listed(dialog))) << "the next key searches N as a city text";
        pressDone(dialog);
    });
}

TEST_F(AreaCodesScreenTest, FocusEmptiesTheFieldAndKeepsTheList) {
    run([&](HWND dialog) {
        search(dialog, kState, L"ny");
        SetFocus(GetDlgItem(dialog, IDC_AREA_MODE));
        EXPECT_FALSE(deviceSipIsUp()) << "leaving the field lowers the keyboard";
        focusField(dialog, IDC_AREA_SEARCH);
        EXPECT_TRUE(deviceSipIsUp()) << "the field's focus raises the keyboard";
        EXPECT_EQ(L"", fieldText(dialog, IDC_AREA_SEARCH));
        EXPECT_EQ(show({L"212 NY New York", L"315 NY Syracuse"}), show(listed(dialog)));
        pressDone(dialog);
    });
}

TEST_F(AreaCodesScreenTest, FileIsReadAfreshAtEverySearch) {
    run([&](HWND dialog) {
        search(dialog, kAreaCode, L"2");
        ASSERT_EQ(2u, listed(dialog).size());
        ASSERT_TRUE(writeFileBytes(place.file(L"area.txt"), "202 DC Washington\r\n"));
        pressKey(dialog, IDC_AREA_SEARCH, VK_LEFT);
        EXPECT_EQ(show({L"202 DC Washington"}), show(listed(dialog))) << "same text, new file";
        pressDone(dialog);
    });
}

TEST_F(AreaCodesScreenTest, MissingOrLockedFileEmptiesTheListSilently) {
    struct Case {
        const char* name;
        int mode;
        const wchar_t* typed;
    } cases[] = {{"code", kAreaCode, L"2"}, {"state", kState, L"N"}, {"city", kCity, L"a"}};
    run([&](HWND dialog) {
        for (const Case& c : cases) {
            // Held open by another without sharing: the screen cannot open it.
            search(dialog, c.mode, c.typed);
            ASSERT_FALSE(listed(dialog).empty()) << c.name << ": results before the file is locked";
            HANDLE holder = CreateFileW(place.file(L"area.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                        nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, holder) << c.name;
            pressKey(dialog, IDC_AREA_SEARCH, VK_LEFT);
            EXPECT_EQ("[]", show(listed(dialog))) << c.name << ": locked file";
            CloseHandle(holder);
            // The screen's own open is closed again: the file can be replaced.
            ASSERT_TRUE(writeFileBytes(place.file(L"area.txt"), kFourLines)) << c.name;
        }
        for (const Case& c : cases) {
            search(dialog, c.mode, c.typed);
            ASSERT_FALSE(listed(dialog).empty()) << c.name << ": results before the file is removed";
            ASSERT_TRUE(DeleteFileW(place.file(L"area.txt").c_str())) << c.name;
            pressKey(dialog, IDC_AREA_SEARCH, VK_LEFT);
            EXPECT_EQ("[]", show(listed(dialog))) << c.name << ": missing file";
            ASSERT_TRUE(writeFileBytes(place.file(L"area.txt"), kFourLines)) << c.name;
        }
        pressDone(dialog);
    });
}

TEST_F(AreaCodesScreenTest, LinesOutsideTheFormatAreShownWhole) {
    // A line ended by a line feed alone, a short line, a code page letter and
    // an unended last line.
    ASSERT_TRUE(writeFileBytes(place.file(L"area.txt"),
                               "416 ON Toronto\n"
                               "9\r\n"
                               "514 QC Montr\xe9" "al\r\n"
                               "604 BC Vancouver"));
    wchar_t accented[2] = {};
    MultiByteToWideChar(CP_ACP, 0, "\xe9", 1, accented, 1);
    const std::wstring montreal = std::wstring(L"514 QC Montr") + accented + L"al";
    run([&](HWND dialog) {
        search(dialog, kCity, L"");
        pressKey(dialog, IDC_AREA_SEARCH, VK_LEFT);
        EXPECT_EQ(show({L"416 ON Toronto", L"9", montreal}), show(listed(dialog)))
            << "LF-only line keeps its last letter; the unended last line is not looked at";
        search(dialog, kState, L"O");
        EXPECT_EQ(show({L"416 ON Toronto"}), show(listed(dialog))) << "the short line never matches a state";
        pressDone(dialog);
    });
}

TEST_F(AreaCodesScreenTest, OnlyTheFirst28000BytesAreSearched) {
    std::string file;
    while (file.size() + 20 <= 28000) file += "100 AA Filler line\r\n";
    file += "999 ZZ Beyond the limit\r\n";
    ASSERT_TRUE(writeFileBytes(place.file(L"area.txt"), file));
    run([&](HWND dialog) {
        search(dialog, kState, L"AA");
        EXPECT_EQ(1400u, listed(dialog).size()) << "every line inside the limit";
        search(dialog, kAreaCode, L"999");
        EXPECT_EQ("[]", show(listed(dialog))) << "the line past 28000 bytes";
        pressDone(dialog);
    });
}

TEST_F(AreaCodesScreenTest, Screenshot) {
    run([&](HWND dialog) {
        search(dialog, kCity, L"y");
        EXPECT_EQ(3u, listed(dialog).size());
        EXPECT_TRUE(saveScreenshot(L"areacodes_screen"));
        pressDone(dialog);
    });
}

}  // namespace
