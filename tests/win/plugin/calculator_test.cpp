// The plug-in's currency calculator on the shared screen frame: what it
// opens with, the conversions it shows, and the selection slots it saves.
#include <gtest/gtest.h>

#include "currency/core/selection_format.h"
#include "platform/pocketpc/device_test.h"
#include "tests/win/support/screen_checks.h"
#include "tests/win/plugin/plugin_host.h"

using namespace plugin_test;

namespace {

// The worked example: entries 0 to 3 at 1, 2, 0.5 and 100.
const std::vector<std::pair<std::string, std::string>> kExampleRates = {
    {"Base", "1.0"}, {"Double", "2.0"}, {"Half", "0.5"}, {"Hundred", "100.0"}, {"Nothing", "0"}, {"Three", "3"}, {"Tiny", "1e-300"}};

const int kBoxes[] = {IDC_CALC_BOX_1, IDC_CALC_BOX_2, IDC_CALC_BOX_3, IDC_CALC_BOX_4};
const int kAmounts[] = {IDC_CALC_AMOUNT_1, IDC_CALC_AMOUNT_2, IDC_CALC_AMOUNT_3, IDC_CALC_AMOUNT_4};

std::string selectionRecord(const int rows[4], const std::vector<std::pair<int, int>>& otherSlots) {
    uint8_t record[kSelectionRecordSize] = {};
    for (int r = 0; r < 4; ++r) writeSlot(record, kSlotCurrencyRow + r, rows[r]);
    for (const auto& slot : otherSlots) writeSlot(record, slot.first, slot.second);
    return std::string(reinterpret_cast<const char*>(record), sizeof record);
}

class Calculator : public ::testing::Test {
protected:
    void SetUp() override {
        setModulePath(place.directory());
        readDataDirectory();
        writeFileBytes(place.file(L"rates.txt"), ratesText(kExampleRates));
        const int rows[4] = {0, 1, 2, 3};
        writeFileBytes(place.file(L"quantrel.dat"), selectionRecord(rows, {}));
    }
    INT_PTR open(const std::function<void(HWND)>& driver) {
        return runScreen(GetModuleHandleW(nullptr), IDD_CALCULATOR, calculatorProcedure, calculatorData(), driver);
    }
    static std::wstring boxText(HWND dialog, int box) {
        HWND control = GetDlgItem(dialog, box);
        LRESULT selected = SendMessageW(control, CB_GETCURSEL, 0, 0);
        if (selected == CB_ERR) return L"(none)";
        wchar_t text[128] = L"";
        SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
        return text;
    }
    ScratchPlace place;
};

TEST_F(Calculator, OpensWithTheTableAndTheStoredRows) {
    const int rows[4] = {3, 2, 1, 0};
    writeFileBytes(place.file(L"quantrel.dat"), selectionRecord(rows, {}));
    INT_PTR result = open([&](HWND dialog) {
        EXPECT_EQ(L"Currency calculator", [&] { wchar_t t[64] = L""; GetWindowTextW(dialog, t, 64); return std::wstring(t); }());
        EXPECT_EQ(13u, deviceInitDialogFlags(dialog)) << "Done, full screen, keyboard down";
        expectFitsTheDevice(dialog, "calculator");
        HWND bar = deviceMenuBarOf(dialog);
        EXPECT_NE(nullptr, bar) << "an empty menu bar";
        EXPECT_TRUE(deviceMenuBarCommands(bar).empty());
        const wchar_t* expected[] = {L"Hundred", L"Half", L"Double", L"Base"};
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(7, SendDlgItemMessageW(dialog, kBoxes[r], CB_GETCOUNT, 0, 0)) << "row " << r + 1;
            EXPECT_EQ(expected[r], boxText(dialog, kBoxes[r])) << "row " << r + 1;
            EXPECT_EQ(L"", fieldText(dialog, kAmounts[r])) << "amounts start empty";
        }
        pressDone(dialog);
    });
    EXPECT_EQ(1, result);
}

TEST_F(Calculator, ConvertsAsTheCurrencyExchangeScreenDoes) {
    struct Case {
        const char* name;
        int rows[4];
        int typedRow;
        const wchar_t* typed;
        const wchar_t* results[4];  // the typed row keeps its text
    };
    const Case cases[] = {
        {"worked example: 10 into row 2", {0, 1, 2, 3}, 1, L"10", {L"5.00", L"10", L"2.50", L"500.00"}},
        {"text without a number counts as 0", {0, 1, 2, 3}, 0, L"abc", {L"abc", L"0.00", L"0.00", L"0.00"}},
        {"number read up to the text", {0, 1, 2, 3}, 0, L"12abc", {L"12abc", L"24.00", L"6.00", L"1200.00"}},
        {"exponent", {0, 1, 2, 3}, 3, L"1e2", {L"1.00", L"2.00", L"0.50", L"1e2"}},
        {"same currency twice", {1, 1, 0, 2}, 2, L"3", {L"6.00", L"6.00", L"3", L"1.50"}},
        {"zero rate in the typed row", {4, 1, 2, 3}, 0, L"5", {L"5", L"0.00", L"0.00", L"0.00"}},
        {"rounding as %.2f: thirds", {5, 0, 1, 3}, 0, L"1", {L"1", L"0.33", L"0.67", L"33.33"}},
        {"result too large for a double shows nothing", {6, 0, 1, 3}, 0, L"1e300", {L"1e300", L"", L"", L""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFileBytes(place.file(L"quantrel.dat"), selectionRecord(c.rows, {}));
        open([&](HWND dialog) {
            typeInto(dialog, kAmounts[c.typedRow], c.typed);
            for (int r = 0; r < 4; ++r) EXPECT_EQ(c.results[r], fieldText(dialog, kAmounts[r])) << "row " << r + 1;
            pressDone(dialog);
        });
    }
}

TEST_F(Calculator, RowWithoutSelectionShowsNothingAndReadsNothing) {
    open([&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_CALC_BOX_3, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        typeInto(dialog, IDC_CALC_AMOUNT_1, L"4");
        EXPECT_EQ(L"8.00", fieldText(dialog, IDC_CALC_AMOUNT_2));
        EXPECT_EQ(L"", fieldText(dialog, IDC_CALC_AMOUNT_3)) << "a row without a currency has no amount";
        typeInto(dialog, IDC_CALC_AMOUNT_3, L"9");
        EXPECT_EQ(L"0.00", fieldText(dialog, IDC_CALC_AMOUNT_1)) << "a typed row without a currency gives 0.00";
        pressDone(dialog);
    });
    std::string saved = readFileBytes(place.file(L"quantrel.dat"));
    EXPECT_EQ(-1, readSlot(reinterpret_cast<const uint8_t*>(saved.data()), kSlotCurrencyRow + 2));
}

TEST_F(Calculator, DoneRewritesOnlyThePluginSlots) {
    const int rows[4] = {0, 1, 2, 3};
    std::string before = selectionRecord(rows, {{kSlotReserved, 7}, {kSlotMetricCategory, 4}, {kSlotMetricUnit, 12},
                                                {kSlotMetricUnit + 3, -2}, {kSlotAutoUpdate, 1}, {kSlotTodayItem, 1}});
    writeFileBytes(place.file(L"quantrel.dat"), before);
    open([&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_CALC_BOX_1, CB_SETCURSEL, 3, 0);
        SendDlgItemMessageW(dialog, IDC_CALC_BOX_4, CB_SETCURSEL, 4, 0);
        typeInto(dialog, IDC_CALC_AMOUNT_2, L"1");
        // Chosen after the last key release: not kept.
        SendDlgItemMessageW(dialog, IDC_CALC_BOX_2, CB_SETCURSEL, 0, 0);
        saveScreenshot(L"plugin_calculator");
        pressDone(dialog);
    });
    std::string after = readFileBytes(place.file(L"quantrel.dat"));
    ASSERT_EQ(kSelectionRecordSize, after.size());
    const uint8_t* record = reinterpret_cast<const uint8_t*>(after.data());
    EXPECT_EQ(7, readSlot(record, kSlotReserved)) << "reserved is carried back";
    const int expected[4] = {3, 1, 2, 4};
    for (int r = 0; r < 4; ++r) EXPECT_EQ(expected[r], readSlot(record, kSlotCurrencyRow + r)) << "row " << r + 1;
    EXPECT_EQ(before.substr(15), after.substr(15)) << "slots 5 to 11 and the padding keep their bytes";
}

TEST_F(Calculator, MissingSelectionFileIsCreatedWithThePluginSlots) {
    DeleteFileW(place.file(L"quantrel.dat").c_str());
    open([&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_CALC_BOX_1, CB_SETCURSEL, 2, 0);
        typeInto(dialog, IDC_CALC_AMOUNT_1, L"2");
        pressDone(dialog);
    });
    std::string after = readFileBytes(place.file(L"quantrel.dat"));
    ASSERT_EQ(kSelectionRecordSize, after.size());
    EXPECT_EQ(2, readSlot(reinterpret_cast<const uint8_t*>(after.data()), kSlotCurrencyRow));
    EXPECT_EQ(std::string(kSelectionRecordSize - 15, '\0'), after.substr(15)) << "the program's slots stay zero";
}

TEST_F(Calculator, OpeningReloadsRatesEditedSinceTheLastOpening) {
    open([&](HWND dialog) { pressDone(dialog); });
    writeFileBytes(place.file(L"rates.txt"), ratesText({{"Base", "1"}, {"Double", "4"}, {"Half", "0.5"}, {"Hundred", "100"}}));
    open([&](HWND dialog) {
        typeInto(dialog, IDC_CALC_AMOUNT_1, L"1");
        EXPECT_EQ(L"4.00", fieldText(dialog, IDC_CALC_AMOUNT_2)) << "the new rate of Double is in force";
        EXPECT_EQ(4, SendDlgItemMessageW(dialog, IDC_CALC_BOX_1, CB_GETCOUNT, 0, 0)) << "a removed currency is gone";
        pressDone(dialog);
    });
}

}  // namespace
