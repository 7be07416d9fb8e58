// quantrel.dat as bytes: slots, the program's form and the plug-in's form.
#include "currency/core/selection_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Record = std::vector<uint8_t>;

// Records live in heap blocks of exactly 100 bytes, so that the sanitizers
// catch any access past the record.
struct HeapRecord {
    std::unique_ptr<uint8_t[]> bytes{new uint8_t[kSelectionRecordSize]()};
    uint8_t* get() { return bytes.get(); }
    Record copy() const { return Record(bytes.get(), bytes.get() + kSelectionRecordSize); }
};

std::string slotText(const uint8_t* record, int slot) {
    return std::string(reinterpret_cast<const char*>(record) + slot * kSelectionSlotSize,
                       kSelectionSlotSize);
}

SelectionState workedState() {
    SelectionState state{};
    state.reserved = 0;
    state.currencyRow[0] = 2;
    state.currencyRow[1] = 5;
    state.currencyRow[2] = 0;
    state.currencyRow[3] = 7;
    state.metricCategory = 1;
    for (int i = 0; i < 4; ++i) state.metricUnit[i] = i;
    state.autoUpdate = 1;
    state.todayItem = 0;
    return state;
}

void expectSameState(const SelectionState& expected, const SelectionState& got) {
    EXPECT_EQ(expected.reserved, got.reserved);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(expected.currencyRow[i], got.currencyRow[i]) << "row " << i;
    EXPECT_EQ(expected.metricCategory, got.metricCategory);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(expected.metricUnit[i], got.metricUnit[i]) << "unit " << i;
    EXPECT_EQ(expected.autoUpdate, got.autoUpdate);
    EXPECT_EQ(expected.todayItem, got.todayItem);
}

}  // namespace

// ---- slots -----------------------------------------------------------------

TEST(SelectionSlot, EncodingIsDecimalAsciiThenZeroBytes) {
    struct Case {
        int32_t value;
        std::string bytes;
    };
    const Case cases[] = {
        {0, std::string("0\0\0", 3)},  {7, std::string("7\0\0", 3)},
        {42, std::string("42\0", 3)},  {99, std::string("99\0", 3)},
        {-1, std::string("-1\0", 3)},  {-9, std::string("-9\0", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        HeapRecord record;
        std::memset(record.get(), 0xAA, kSelectionRecordSize);
        writeSlot(record.get(), 4, c.value);
        EXPECT_EQ(c.bytes, slotText(record.get(), 4));
        EXPECT_EQ(c.value, readSlot(record.get(), 4));
        // The neighbours are untouched.
        EXPECT_EQ(std::string(3, '\xAA'), slotText(record.get(), 3));
        EXPECT_EQ(std::string(3, '\xAA'), slotText(record.get(), 5));
    }
}

TEST(SelectionSlot, EveryValueThatFitsRoundTripsInEverySlot) {
    for (int slot = 0; slot < kSelectionSlotCount; ++slot) {
        for (int32_t value = kSlotMinimum; value <= kSlotMaximum; ++value) {
            HeapRecord record;
            writeSlot(record.get(), slot, value);
            ASSERT_EQ(value, readSlot(record.get(), slot)) << "slot " << slot;
        }
    }
}

TEST(SelectionSlot, ValueThatDoesNotFitLeavesTheSlotZero) {
    const int32_t values[] = {100, 123, -10, -100, INT32_MAX, INT32_MIN};
    for (int32_t value : values) {
        SCOPED_TRACE(value);
        HeapRecord record;
        std::memset(record.get(), 0xAA, kSelectionRecordSize);
        writeSlot(record.get(), 11, value);
        EXPECT_EQ(std::string(3, '\0'), slotText(record.get(), 11));
        EXPECT_EQ(0, readSlot(record.get(), 11));
        EXPECT_EQ(std::string(3, '\xAA'), slotText(record.get(), 10));
        EXPECT_EQ(0xAA, record.get()[36]);  // padding untouched
    }
}

TEST(SelectionSlot, ReadingIsLenientAsStrtolIsButStaysInTheSlot) {
    struct Case {
        const char* comment;
        std::string bytes;  // the slot's three bytes
        int32_t expected;
    };
    const Case cases[] = {
        {"leading blank", std::string(" 5\0", 3), 5},
        {"plus sign", std::string("+7\0", 3), 7},
        {"trailing junk", std::string("5x\0", 3), 5},
        {"no digits", std::string("x5\0", 3), 0},
        {"all zero", std::string("\0\0\0", 3), 0},
        {"three digits, no zero byte", "123", 123},
        {"minus without digits", std::string("-\0\0", 3), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        HeapRecord record;
        std::memset(record.get(), '9', kSelectionRecordSize);  // digits all around
        std::memcpy(record.get() + 2 * kSelectionSlotSize, c.bytes.data(), kSelectionSlotSize);
        EXPECT_EQ(c.expected, readSlot(record.get(), 2));
    }
}

TEST(SelectionSlot, LastSlotFullOfDigitsDoesNotReadThePadding) {
    HeapRecord record;
    std::memset(record.get(), '8', kSelectionRecordSize);
    EXPECT_EQ(888, readSlot(record.get(), 11));
}

// ---- the program's form ----------------------------------------------------

TEST(ProgramSelections, WorkedRecordIsWrittenByteForByte) {
    // Reserved 0, rows 2 5 0 7, category 1, units 0 1 2 3, Auto Update on,
    // Today item off: twelve slots 0 2 5 0 7 1 0 1 2 3 1 0, each followed by
    // two zero bytes, then 64 zero bytes.
    HeapRecord record;
    std::memset(record.get(), 0xAA, kSelectionRecordSize);
    composeSelections(workedState(), SelectionForm::program, record.get());
    const char digits[] = "025071012310";
    Record expected(kSelectionRecordSize, 0);
    for (int slot = 0; slot < kSelectionSlotCount; ++slot) expected[slot * 3] = digits[slot];
    EXPECT_EQ(expected, record.copy());
}

TEST(ProgramSelections, RoundTripThroughTheRecord) {
    SelectionState state{};
    state.reserved = 42;
    state.currencyRow[0] = -1;
    state.currencyRow[1] = 99;
    state.currencyRow[2] = 0;
    state.currencyRow[3] = 13;
    state.metricCategory = 5;
    state.metricUnit[0] = 9;
    state.metricUnit[1] = -1;
    state.metricUnit[2] = 10;
    state.metricUnit[3] = 3;
    state.autoUpdate = 0;
    state.todayItem = 1;
    HeapRecord record;
    composeSelections(state, SelectionForm::program, record.get());
    SelectionState loaded{};
    loaded.autoUpdate = 1;  // the flag slot's 0 must turn it off
    parseSelections(record.get(), SelectionForm::program, loaded);
    expectSameState(state, loaded);
}

TEST(ProgramSelections, NoSelectionIsWrittenAsMinusOneAndReadBack) {
    SelectionState state{};
    state.currencyRow[2] = -1;
    HeapRecord record;
    composeSelections(state, SelectionForm::program, record.get());
    EXPECT_EQ(std::string("-1\0", 3), slotText(record.get(), kSlotCurrencyRow + 2));
    SelectionState loaded{};
    parseSelections(record.get(), SelectionForm::program, loaded);
    EXPECT_EQ(-1, loaded.currencyRow[2]);
}

TEST(ProgramSelections, FlagsAreWrittenAsOneOnlyForExactlyOne) {
    struct Case {
        int32_t flag;
        char written;
    };
    const Case cases[] = {{0, '0'}, {1, '1'}, {2, '0'}, {-1, '0'}, {7, '0'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flag);
        SelectionState state{};
        state.autoUpdate = c.flag;
        state.todayItem = c.flag;
        HeapRecord record;
        composeSelections(state, SelectionForm::program, record.get());
        EXPECT_EQ(std::string(1, c.written) + std::string(2, '\0'), slotText(record.get(), kSlotAutoUpdate));
        EXPECT_EQ(std::string(1, c.written) + std::string(2, '\0'), slotText(record.get(), kSlotTodayItem));
    }
}

TEST(ProgramSelections, FlagSlotHoldingSevenLeavesTheFlagAsItWas) {
    for (int32_t before : {0, 1}) {
        SCOPED_TRACE(before);
        HeapRecord record;
        writeSlot(record.get(), kSlotAutoUpdate, 7);
        writeSlot(record.get(), kSlotTodayItem, 7);
        SelectionState state{};
        state.autoUpdate = before;
        state.todayItem = before;
        parseSelections(record.get(), SelectionForm::program, state);
        EXPECT_EQ(before, state.autoUpdate);
        EXPECT_EQ(before, state.todayItem);
    }
}

TEST(ProgramSelections, FlagSlotsSetTheFlagsToZeroOrOne) {
    HeapRecord record;
    writeSlot(record.get(), kSlotAutoUpdate, 1);
    writeSlot(record.get(), kSlotTodayItem, 0);
    SelectionState state{};
    state.autoUpdate = 0;
    state.todayItem = 1;
    parseSelections(record.get(), SelectionForm::program, state);
    EXPECT_EQ(1, state.autoUpdate);
    EXPECT_EQ(0, state.todayItem);
}

TEST(ProgramSelections, ShortFileReadsZeroPastItsEnd) {
    // What the file layer hands over for a 20-byte file: its bytes, then
    // the zeros the record was filled with.
    HeapRecord full;
    composeSelections(workedState(), SelectionForm::program, full.get());
    HeapRecord shortRecord;
    std::memcpy(shortRecord.get(), full.get(), 20);
    SelectionState state{};
    state.metricUnit[3] = 3;
    state.autoUpdate = 1;
    state.todayItem = 1;
    parseSelections(shortRecord.get(), SelectionForm::program, state);
    EXPECT_EQ(7, state.currencyRow[3]);   // slot 4 ends at byte 15
    EXPECT_EQ(1, state.metricCategory);   // slot 5 starts at byte 15, inside the file
    EXPECT_EQ(0, state.metricUnit[3]);    // past the end: 0
    EXPECT_EQ(0, state.autoUpdate);       // a flag slot past the end turns the flag off
    EXPECT_EQ(0, state.todayItem);
}

TEST(ProgramSelections, ComposeClearsThePaddingTheRecordHeld) {
    HeapRecord record;
    std::memset(record.get(), 'z', kSelectionRecordSize);
    composeSelections(SelectionState{}, SelectionForm::program, record.get());
    for (size_t i = 36; i < kSelectionRecordSize; ++i) EXPECT_EQ(0, record.get()[i]) << "byte " << i;
}

// ---- the plug-in's form ----------------------------------------------------

TEST(PluginSelections, ReadsOnlySlotsZeroToFour) {
    HeapRecord record;
    composeSelections(workedState(), SelectionForm::program, record.get());
    SelectionState state{};
    state.metricCategory = -5;
    state.metricUnit[1] = -6;
    state.autoUpdate = 3;
    state.todayItem = 4;
    parseSelections(record.get(), SelectionForm::plugin, state);
    EXPECT_EQ(0, state.reserved);
    EXPECT_EQ(2, state.currencyRow[0]);
    EXPECT_EQ(5, state.currencyRow[1]);
    EXPECT_EQ(0, state.currencyRow[2]);
    EXPECT_EQ(7, state.currencyRow[3]);
    EXPECT_EQ(-5, state.metricCategory);
    EXPECT_EQ(-6, state.metricUnit[1]);
    EXPECT_EQ(3, state.autoUpdate);
    EXPECT_EQ(4, state.todayItem);
}

TEST(PluginSelections, WriteKeepsSlotsFiveToElevenAndThePaddingByteForByte) {
    // The file as read: the program's slots, odd bytes in the padding, and a
    // slot that is not in the slot encoding at all.
    HeapRecord record;
    composeSelections(workedState(), SelectionForm::program, record.get());
    for (size_t i = 36; i < kSelectionRecordSize; ++i) record.get()[i] = static_cast<uint8_t>(i * 7);
    std::memcpy(record.get() + kSlotMetricUnit * kSelectionSlotSize, "9x9", 3);
    Record before = record.copy();

    SelectionState state{};
    state.reserved = 11;
    state.currencyRow[0] = 3;
    state.currencyRow[1] = -1;
    state.currencyRow[2] = 99;
    state.currencyRow[3] = 4;
    state.metricCategory = 8;  // not the plug-in's: must not be written
    state.autoUpdate = 0;
    composeSelections(state, SelectionForm::plugin, record.get());
    Record after = record.copy();

    for (size_t i = 15; i < kSelectionRecordSize; ++i) EXPECT_EQ(before[i], after[i]) << "byte " << i;
    EXPECT_EQ(std::string("11\0", 3), slotText(record.get(), 0));
    EXPECT_EQ(std::string("3\0\0", 3), slotText(record.get(), 1));
    EXPECT_EQ(std::string("-1\0", 3), slotText(record.get(), 2));
    EXPECT_EQ(std::string("99\0", 3), slotText(record.get(), 3));
    EXPECT_EQ(std::string("4\0\0", 3), slotText(record.get(), 4));
}

TEST(PluginSelections, WriteOntoMissingFileGivesZerosPastSlotFour) {
    HeapRecord record;  // a missing file reads as zeros
    SelectionState state = workedState();
    composeSelections(state, SelectionForm::plugin, record.get());
    Record expected(kSelectionRecordSize, 0);
    const char digits[] = "02507";
    for (int slot = 0; slot < kPluginSlotCount; ++slot) expected[slot * 3] = digits[slot];
    EXPECT_EQ(expected, record.copy());
}

TEST(PluginSelections, ProgramReadsBackWhatThePluginWrote) {
    HeapRecord record;
    composeSelections(workedState(), SelectionForm::program, record.get());
    SelectionState plugin{};
    plugin.currencyRow[0] = 9;
    plugin.currencyRow[3] = 1;
    composeSelections(plugin, SelectionForm::plugin, record.get());

    SelectionState program{};
    parseSelections(record.get(), SelectionForm::program, program);
    SelectionState expected = workedState();
    expected.currencyRow[0] = 9;
    expected.currencyRow[1] = 0;
    expected.currencyRow[2] = 0;
    expected.currencyRow[3] = 1;
    expectSameState(expected, program);
}
