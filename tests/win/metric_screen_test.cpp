// The Metric Conversion screen driven through its real template and
// procedure: worked conversions typed key by key, the category change, and
// the category kept in the selection file across openings.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "calculators/metric/metric.h"
#include "currency/core/currency_files.h"
#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/launcher.h"
#include "shell/program.h"
#include "calculators/screens.h"
#include "tests/win/support/screen_checks.h"
#include "tests/win/support/win_test.h"

namespace {

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

int selectionOf(HWND dialog, int box) {
    return static_cast<int>(SendDlgItemMessageW(dialog, box, CB_GETCURSEL, 0, 0));
}

std::vector<std::string> itemsOf(HWND dialog, int box) {
    std::vector<std::string> items;
    int count = static_cast<int>(SendDlgItemMessageW(dialog, box, CB_GETCOUNT, 0, 0));
    for (int n = 0; n < count; ++n) {
        wchar_t text[64] = {};
        SendDlgItemMessageW(dialog, box, CB_GETLBTEXT, n, reinterpret_cast<LPARAM>(text));
        items.push_back(narrow(text));
    }
    return items;
}

// A selection made in a box, reported to the screen as the box does.
void chooseInBox(HWND dialog, int box, int index) {
    SendDlgItemMessageW(dialog, box, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(box, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, box)));
}




// A selection record: the slots' texts, each followed by zero bytes, then
// the zero padding.
std::string selectionRecord(const std::vector<std::string>& slots) {
    std::string record(kSelectionRecordSize, '\0');
    for (size_t n = 0; n < slots.size(); ++n) record.replace(n * kSelectionSlotSize, slots[n].size(), slots[n]);
    return record;
}

class MetricScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        wcscpy(dataDirectory, scratch.directory().c_str());
        programSelections = SelectionState{};
    }
    ScratchPlace scratch;
};

INT_PTR runMetric(const std::function<void(HWND)>& driver) {
    return runScreen(GetModuleHandleW(nullptr), IDD_METRIC, metricScreenProcedure, programScreenData(), driver);
}

TEST_F(MetricScreenTest, ConversionsTypedKeyByKey) {
    const struct {
        const char* name;
        int category;
        int row;  // 0 to 3
        const wchar_t* typed;
        const wchar_t* rows[4];  // the typed row shows what was typed
        const wchar_t* screenshot;
    } cases[] = {
        {"worked: 100 Celsius", kMetricTemperature, 0, L"100",
         {L"100", L"212.000000", L"373.150000", L"80.000000"}, L"metric_screen"},
        {"12abc converts 12", kMetricArea, 2, L"12abc",
         {L"15551.036578", L"108.000052", L"12abc", L"0.002479"}, L"metric_screen_area"},
    };
    for (const auto& c : cases) {
        runMetric([&](HWND dialog) {
            chooseInBox(dialog, IDC_METRIC_CATEGORY, c.category);
            typeKeepingText(dialog, kMetricRows[c.row].valueField, c.typed, c.name);
            for (int row = 0; row < kMetricRowCount; ++row)
                EXPECT_EQ(narrow(c.rows[row]), narrow(fieldText(dialog, kMetricRows[row].valueField)))
                    << c.name << ": row " << row + 1;
            if (c.screenshot != nullptr) {
                screenshotKeyboardDown(dialog, c.screenshot);
                SendDlgItemMessageW(dialog, IDC_METRIC_UNIT_2, CB_SHOWDROPDOWN, TRUE, 0);
                saveScreenshot((std::wstring(c.screenshot) + L"_units").c_str());
                SendDlgItemMessageW(dialog, IDC_METRIC_UNIT_2, CB_SHOWDROPDOWN, FALSE, 0);
            }
            pressDone(dialog);
        });
    }
}

// Each category empties the four fields and gives every unit box the
// category's list (its length here; Length's names in full), rows 1 to 4
// on its first four units.
TEST_F(MetricScreenTest, CategoryChangeEmptiesFieldsAndRefillsUnitBoxes) {
    const size_t unitCounts[kMetricCategoryCount] = {4, 7, 8, 6, 6, 6};
    const std::vector<std::string> lengths = {"Inches",      "Feet",        "Yards",  "Miles",
                                              "Millimeters", "Centimeters", "Meters", "Kilometers"};
    runMetric([&](HWND dialog) {
        EXPECT_EQ(
            (std::vector<std::string>{"Temperature", "Area", "Length", "Weight", "U.S. Liquid", "British Liquid"}),
            itemsOf(dialog, IDC_METRIC_CATEGORY));
        for (int category : {2, 5, 0, 3, 1, 4, 2}) {
            typeInto(dialog, IDC_METRIC_VALUE_1, L"7");
            for (int row = 0; row < kMetricRowCount; ++row)
                chooseInBox(dialog, kMetricRows[row].unitBox, 3 - row);
            chooseInBox(dialog, IDC_METRIC_CATEGORY, category);
            EXPECT_EQ(category, programSelections.metricCategory) << "category " << category;
            for (int row = 0; row < kMetricRowCount; ++row) {
                EXPECT_EQ(L"", fieldText(dialog, kMetricRows[row].valueField))
                    << "category " << category << ": row " << row + 1 << " not emptied";
                std::vector<std::string> units = itemsOf(dialog, kMetricRows[row].unitBox);
                EXPECT_EQ(unitCounts[category], units.size()) << "category " << category << ": row " << row + 1;
                if (category == kMetricLength) {
                    EXPECT_EQ(lengths, units) << "row " << row + 1;
                }
                EXPECT_EQ(row, selectionOf(dialog, kMetricRows[row].unitBox))
                    << "category " << category << ": row " << row + 1 << " selection";
            }
        }
        pressDone(dialog);
    });
}

// A unit box's change converts nothing by itself; the next key release
// converts with the new unit.
TEST_F(MetricScreenTest, UnitChangeTakesEffectAtTheNextKey) {
    runMetric([&](HWND dialog) {
        chooseInBox(dialog, IDC_METRIC_CATEGORY, kMetricLength);
        typeInto(dialog, IDC_METRIC_VALUE_1, L"12");
        ASSERT_EQ(L"1.000000", fieldText(dialog, IDC_METRIC_VALUE_2));
        chooseInBox(dialog, IDC_METRIC_UNIT_2, 6);  // Meters
        EXPECT_EQ(L"1.000000", fieldText(dialog, IDC_METRIC_VALUE_2)) << "no conversion on a unit change";
        pressKey(dialog, IDC_METRIC_VALUE_1, VK_END);
        EXPECT_EQ(L"0.304800", fieldText(dialog, IDC_METRIC_VALUE_2));
        EXPECT_EQ(6, programSelections.metricUnit[1]) << "units are read at each recompute";
        chooseInBox(dialog, IDC_METRIC_UNIT_3, 2);  // the same unit in rows 3 and 4 ...
        chooseInBox(dialog, IDC_METRIC_UNIT_4, 2);
        pressKey(dialog, IDC_METRIC_VALUE_1, VK_END);
        EXPECT_EQ(fieldText(dialog, IDC_METRIC_VALUE_3), fieldText(dialog, IDC_METRIC_VALUE_4))
            << "... gives the same number";
        pressDone(dialog);
    });
}

// Text typed into a unit box's edit part leaves the box without a list
// selection: that row converts as no unit (0), and the missing selection is
// kept as -1.
TEST_F(MetricScreenTest, TextTypedInAUnitBoxConvertsAsNoUnit) {
    runMetric([&](HWND dialog) {
        chooseInBox(dialog, IDC_METRIC_CATEGORY, kMetricLength);
        HWND unitEdit = FindWindowExW(GetDlgItem(dialog, IDC_METRIC_UNIT_2), nullptr, L"Edit", nullptr);
        ASSERT_NE(nullptr, unitEdit) << "row 2's unit box has an edit part";
        SetFocus(unitEdit);
        for (wchar_t key : std::wstring(L"Feet")) SendMessageW(unitEdit, WM_CHAR, key, 1);
        if (selectionOf(dialog, IDC_METRIC_UNIT_2) != CB_ERR) {
            pressDone(dialog);
            GTEST_SKIP() << "the platform keeps the list selection while text is typed";
        }
        typeInto(dialog, IDC_METRIC_VALUE_1, L"12");
        EXPECT_EQ(L"0.000000", fieldText(dialog, IDC_METRIC_VALUE_2)) << "no unit converts to 0";
        EXPECT_EQ(L"0.333333", fieldText(dialog, IDC_METRIC_VALUE_3)) << "the other rows convert as before";
        EXPECT_EQ(-1, programSelections.metricUnit[1]);
        pressDone(dialog);
    });
    EXPECT_EQ(selectionRecord({"0", "0", "0", "0", "0", "2", "0", "-1", "2", "3", "0", "0"}),
              readFileBytes(scratch.file(L"quantrel.dat")));
}

// Done writes every slot of the selection file from memory; a new run opens
// on the stored category with the unit boxes back on the first four units.
TEST_F(MetricScreenTest, CategoryKeptInSelectionFileAcrossOpenings) {
    runMetric([&](HWND dialog) {
        EXPECT_EQ(kMetricTemperature, selectionOf(dialog, IDC_METRIC_CATEGORY)) << "a first run opens on Temperature";
        chooseInBox(dialog, IDC_METRIC_CATEGORY, kMetricLength);
        chooseInBox(dialog, IDC_METRIC_UNIT_2, 6);  // Meters
        typeInto(dialog, IDC_METRIC_VALUE_1, L"12");
        EXPECT_EQ(L"0.304800", fieldText(dialog, IDC_METRIC_VALUE_2));
        pressDone(dialog);
    });
    const std::string saved =
        selectionRecord({"0", "0", "0", "0", "0", "2", "0", "6", "2", "3", "0", "0"});
    EXPECT_EQ(saved, readFileBytes(scratch.file(L"quantrel.dat"))) << "quantrel.dat after Done";

    programSelections = SelectionState{};  // a new run: only the file remembers
    runMetric([&](HWND dialog) {
        EXPECT_EQ(kMetricLength, selectionOf(dialog, IDC_METRIC_CATEGORY)) << "opens on the stored category";
        for (int row = 0; row < kMetricRowCount; ++row) {
            EXPECT_EQ(row, selectionOf(dialog, kMetricRows[row].unitBox)) << "row " << row + 1;
            EXPECT_EQ(L"", fieldText(dialog, kMetricRows[row].valueField)) << "row " << row + 1;
        }
        EXPECT_EQ(6, programSelections.metricUnit[1]) << "the stored units are loaded, not applied";
        pressDone(dialog);
    });
    EXPECT_EQ(saved, readFileBytes(scratch.file(L"quantrel.dat")))
        << "without a recompute the loaded units are saved back";
}

// A stored category outside the list: no category, empty unit boxes, and
// every conversion gives 0.
TEST_F(MetricScreenTest, StoredCategoryOutsideTheListConvertsToZero) {
    ASSERT_TRUE(writeFileBytes(scratch.file(L"quantrel.dat"),
                               selectionRecord({"0", "0", "0", "0", "0", "9", "0", "1", "2", "3", "0", "0"})));
    runMetric([&](HWND dialog) {
        EXPECT_EQ(CB_ERR, selectionOf(dialog, IDC_METRIC_CATEGORY));
        for (int row = 0; row < kMetricRowCount; ++row)
            EXPECT_TRUE(itemsOf(dialog, kMetricRows[row].unitBox).empty()) << "row " << row + 1;
        typeInto(dialog, IDC_METRIC_VALUE_2, L"5");
        for (int id : {IDC_METRIC_VALUE_1, IDC_METRIC_VALUE_3, IDC_METRIC_VALUE_4})
            EXPECT_EQ(L"0.000000", fieldText(dialog, id)) << "field " << id;
        pressDone(dialog);
    });
}

}  // namespace
