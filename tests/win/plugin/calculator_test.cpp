// The plug-in's currency calculator: what it opens with, which fields raise
// the keyboard, the worked row, the slots it saves and a save that fails,
// and hostile text. The conversions themselves are the currency rows' and
// tested with them.
#include <gtest/gtest.h>

#include <algorithm>

#include "currency/core/currency_files.h"
#include "currency/core/selection_format.h"
#include "platform/pocketpc/device_test.h"
#include "resources/zentavo/zentavo_ids.h"
#include "tests/win/support/hostile_text.h"
#include "tests/win/support/win_test.h"
#include "todayplugin/plugin.h"

namespace {

const int kBoxes[] = {IDC_CALC_BOX_1, IDC_CALC_BOX_2, IDC_CALC_BOX_3, IDC_CALC_BOX_4};
const int kAmounts[] = {IDC_CALC_AMOUNT_1, IDC_CALC_AMOUNT_2, IDC_CALC_AMOUNT_3, IDC_CALC_AMOUNT_4};

// Rows 3, 2, 1, 0; the program's slots and reserved hold choices of their own.
std::string storedSelections() {
    uint8_t record[kSelectionRecordSize] = {};
    const int slots[kSelectionSlotCount] = {7, 3, 2, 1, 0, 4, 12, 1, 2, -2, 1, 1};
    for (int slot = 0; slot < kSelectionSlotCount; ++slot) writeSlot(record, slot, slots[slot]);
    return std::string(reinterpret_cast<const char*>(record), sizeof record);
}

class Calculator : public ::testing::Test {
protected:
    void SetUp() override {
        setMachineText(kQuelvindorKey, kModulePathValue, place.directory());
        readDataDirectory();
        writeFileBytes(place.file(kRatesFileName),
                       "Rates\nBase\t1\nDouble\t2\nHalf\t0.5\nHundred\t100\nTiny\t1e-300\nHuge\t1e300\nZero\t0\n");
        writeFileBytes(place.file(kSelectionFileName), storedSelections());
        pluginState.table.count = 0;  // opening must read rates.txt itself
    }
    INT_PTR open(const std::function<void(HWND)>& driver) {
        return runScreen(GetModuleHandleW(nullptr), IDD_CALCULATOR, calculatorProcedure, calculatorData(), driver);
    }
    ScratchPlace place;
};

TEST_F(Calculator, OpensOnTheStoredRowsConvertsAndSavesOnlyItsSlots) {
    INT_PTR result = open([&](HWND dialog) {
        wchar_t title[64] = L"";
        GetWindowTextW(dialog, title, 64);
        EXPECT_STREQ(L"Currency calculator", title);
        const int stored[4] = {3, 2, 1, 0};
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(7, SendDlgItemMessageW(dialog, kBoxes[r], CB_GETCOUNT, 0, 0)) << "row " << r + 1;
            EXPECT_EQ(stored[r], SendDlgItemMessageW(dialog, kBoxes[r], CB_GETCURSEL, 0, 0)) << "row " << r + 1;
            EXPECT_EQ(L"", fieldText(dialog, kAmounts[r])) << "row " << r + 1;
            SetFocus(nullptr);
            focusField(dialog, kAmounts[r]);
            EXPECT_TRUE(deviceSipIsUp()) << "amount " << r + 1 << " raises the keyboard";
            focusField(dialog, kBoxes[r]);
            EXPECT_FALSE(deviceSipIsUp()) << "box " << r + 1 << " lowers it";
            SendDlgItemMessageW(dialog, kBoxes[r], CB_SETCURSEL, static_cast<WPARAM>(r), 0);
        }
        // The worked row: Base, Double, Half and Hundred, 10 typed into row 2.
        typeInto(dialog, IDC_CALC_AMOUNT_2, L"10");
        const wchar_t* shown[4] = {L"5.00", L"10", L"2.50", L"500.00"};
        for (int r = 0; r < 4; ++r) EXPECT_EQ(shown[r], fieldText(dialog, kAmounts[r])) << "row " << r + 1;
        saveScreenshot(L"plugin_calculator");
        pressDone(dialog);
    });
    EXPECT_EQ(1, result);
    std::string after = readFileBytes(place.file(kSelectionFileName));
    ASSERT_EQ(kSelectionRecordSize, after.size());
    const uint8_t* record = reinterpret_cast<const uint8_t*>(after.data());
    EXPECT_EQ(7, readSlot(record, kSlotReserved)) << "reserved is carried back";
    for (int r = 0; r < 4; ++r) EXPECT_EQ(r, readSlot(record, kSlotCurrencyRow + r)) << "row " << r + 1;
    EXPECT_EQ(storedSelections().substr(15), after.substr(15)) << "slots 5 to 11 and the padding keep their bytes";
}

// A write that breaks off leaves quantrel.dat and the data directory as
// they were and the choice in the item; the next Done writes it.
TEST_F(Calculator, DoneWhoseWriteBreaksOffKeepsTheFileAndTheChoice) {
    auto chooseDouble = [&](SaveStep failAt) {
        open([&](HWND dialog) {
            SendDlgItemMessageW(dialog, IDC_CALC_BOX_1, CB_SETCURSEL, 1, 0);
            typeInto(dialog, IDC_CALC_AMOUNT_2, L"1");
            failSavesAt(failAt);
            pressDone(dialog);
        });
        failSavesAt(SaveStep::none);
    };
    chooseDouble(SaveStep::write);
    EXPECT_EQ(storedSelections(), readFileBytes(place.file(kSelectionFileName)));
    std::vector<std::wstring> files = filesIn(place.directory());
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::wstring>{kSelectionFileName, kRatesFileName}), files) << "no temporary file left";
    EXPECT_EQ(1, pluginSelections.currencyRow[0]);
    chooseDouble(SaveStep::none);  // opening reads quantrel.dat again: the user chooses again
    std::string after = readFileBytes(place.file(kSelectionFileName));
    EXPECT_EQ(1, readSlot(reinterpret_cast<const uint8_t*>(after.data()), kSlotCurrencyRow));
}

// Rows on Tiny, Huge, Zero and Base: ordinary amounts convert past the
// range of a double. No field or box may then read nan or inf.
TEST_F(Calculator, TakesHostileTextWithoutShowingNanOrInf) {
    deviceCaptureMessageBoxes(true);
    deviceClearMessageBoxes();
    INT_PTR result = open([&](HWND dialog) {
        const int rows[4] = {4, 5, 6, 0};
        for (int r = 0; r < 4; ++r)
            SendDlgItemMessageW(dialog, kBoxes[r], CB_SETCURSEL, static_cast<WPARAM>(rows[r]), 0);
        for (const HostileInput& input : hostileInputs()) {
            for (Drive drive : {kTyped, kEntered}) {
                if (!(input.drives & (drive == kTyped ? kTyped | kTypedOnce : kEntered))) continue;
                for (int amount : kAmounts) setFieldText(dialog, amount, L"");
                EXPECT_EQ("", driveInto(dialog, IDC_CALC_AMOUNT_1, input, drive))
                    << input.name << (drive == kTyped ? ", typed" : ", set whole");
            }
        }
        pressDone(dialog);
    });
    deviceCaptureMessageBoxes(false);
    EXPECT_EQ(1, result) << "Done still closes the calculator";
    EXPECT_TRUE(deviceMessageBoxes().empty()) << "no message about bad input";
}

}  // namespace
