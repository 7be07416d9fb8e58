// quantrel.dat from anywhere, in both forms: the program's (all twelve
// slots) and the plug-in's (slots 0 to 4, the rest kept byte for byte).
//
// The input is a 100-byte record (shorter inputs are padded with zero bytes),
// then twelve 32-bit values for a state to write. Checks:
//  - each slot reads as strtol reads its own three bytes, never more;
//  - parsing sets exactly the fields of its form, flags only to 0 or 1;
//  - composing writes each slot as decimal text and zero bytes, or all zero
//    for a value that does not fit; the plug-in form leaves bytes 15 to 99
//    alone and the program form zero-pads;
//  - what is composed parses back to the fitting values (0 for the others),
//    and parse-compose is a fixed point from its second round on.
#include <memory>

#include "currency/core/selection_format.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using Record = std::vector<uint8_t>;

constexpr int32_t kJunk = 0x5a5a5a5a;

// strtol's decimal reading, done by hand over one slot's three bytes.
int32_t slotValuePlainly(const uint8_t* slot) {
    size_t i = 0;
    auto at = [&](size_t n) -> int { return n < kSelectionSlotSize ? slot[n] : 0; };
    while (at(i) == ' ' || (at(i) >= '\t' && at(i) <= '\r')) ++i;
    bool negative = false;
    if (at(i) == '+' || at(i) == '-') negative = at(i++) == '-';
    int32_t value = 0;
    while (at(i) >= '0' && at(i) <= '9') value = value * 10 + (at(i++) - '0');
    return negative ? -value : value;
}

bool fits(int32_t value) { return value >= kSlotMinimum && value <= kSlotMaximum; }

// The bytes a slot must hold for `value`.
Record slotBytesFor(int32_t value) {
    Record bytes(kSelectionSlotSize, 0);
    if (!fits(value)) return bytes;
    std::string text = std::to_string(value);
    std::memcpy(bytes.data(), text.data(), text.size());
    return bytes;
}

SelectionState junkState() {
    SelectionState s;
    s.reserved = kJunk;
    for (int32_t& v : s.currencyRow) v = kJunk;
    s.metricCategory = kJunk;
    for (int32_t& v : s.metricUnit) v = kJunk;
    s.autoUpdate = kJunk;
    s.todayItem = kJunk;
    return s;
}

// The state's fields in slot order.
std::vector<int32_t> slotsOf(const SelectionState& s) {
    return {s.reserved,      s.currencyRow[0], s.currencyRow[1], s.currencyRow[2],
            s.currencyRow[3], s.metricCategory, s.metricUnit[0],  s.metricUnit[1],
            s.metricUnit[2],  s.metricUnit[3],  s.autoUpdate,     s.todayItem};
}

// A record in a heap block of exactly 100 bytes.
struct HeapRecord {
    std::unique_ptr<uint8_t[]> bytes{new uint8_t[kSelectionRecordSize]};
    explicit HeapRecord(const Record& from) { std::memcpy(bytes.get(), from.data(), kSelectionRecordSize); }
    uint8_t* get() { return bytes.get(); }
    Record copy() const { return Record(bytes.get(), bytes.get() + kSelectionRecordSize); }
};

void checkSlots(HeapRecord& record) {
    for (int slot = 0; slot < kSelectionSlotCount; ++slot) {
        int32_t got = readSlot(record.get(), slot);
        int32_t expected = slotValuePlainly(record.get() + slot * kSelectionSlotSize);
        FUZZ_CHECK(got == expected, "slot %d reads %d, its bytes say %d", slot, got, expected);
    }
    // Slots that do not exist read as 0 and are never written.
    Record before = record.copy();
    FUZZ_CHECK(readSlot(record.get(), -1) == 0 && readSlot(record.get(), kSelectionSlotCount) == 0,
               "a slot outside 0..11 read as a value");
    writeSlot(record.get(), -1, 5);
    writeSlot(record.get(), kSelectionSlotCount, 5);
    FUZZ_CHECK(record.copy() == before, "writing a slot outside 0..11 changed the record");
}

void checkParse(HeapRecord& record, SelectionForm form) {
    SelectionState state = junkState();
    parseSelections(record.get(), form, state);
    std::vector<int32_t> got = slotsOf(state);
    const int owned = form == SelectionForm::program ? 10 : kPluginSlotCount;
    for (int slot = 0; slot < kSelectionSlotCount; ++slot) {
        int32_t inFile = readSlot(record.get(), slot);
        int32_t expected = inFile;
        if (slot >= owned) {
            // Not this form's field, or a flag given a value other than 0 or 1.
            bool flagSet = form == SelectionForm::program && (inFile == 0 || inFile == 1);
            expected = flagSet ? inFile : kJunk;
        }
        FUZZ_CHECK(got[slot] == expected, "form %d: slot %d holds %d, parsed as %d, expected %d",
                   static_cast<int>(form), slot, inFile, got[slot], expected);
    }
}

void checkCompose(const SelectionState& state, const Record& fileBefore, SelectionForm form) {
    HeapRecord record(fileBefore);
    composeSelections(state, form, record.get());
    Record after = record.copy();
    std::vector<int32_t> values = slotsOf(state);
    values[kSlotAutoUpdate] = state.autoUpdate == 1 ? 1 : 0;
    values[kSlotTodayItem] = state.todayItem == 1 ? 1 : 0;
    const int written = form == SelectionForm::program ? kSelectionSlotCount : kPluginSlotCount;
    for (int slot = 0; slot < written; ++slot) {
        Record expected = slotBytesFor(values[slot]);
        Record got(after.begin() + slot * kSelectionSlotSize, after.begin() + (slot + 1) * kSelectionSlotSize);
        FUZZ_CHECK(got == expected, "form %d: slot %d for %d holds %02x %02x %02x",
                   static_cast<int>(form), slot, values[slot], got[0], got[1], got[2]);
        FUZZ_CHECK(readSlot(record.get(), slot) == (fits(values[slot]) ? values[slot] : 0),
                   "slot %d for %d reads back as %d", slot, values[slot], readSlot(record.get(), slot));
    }
    const size_t keptFrom = written * kSelectionSlotSize;
    for (size_t i = keptFrom; i < kSelectionRecordSize; ++i) {
        uint8_t expected = form == SelectionForm::program ? 0 : fileBefore[i];
        FUZZ_CHECK(after[i] == expected, "form %d: byte %zu is %02x, expected %02x",
                   static_cast<int>(form), i, after[i], expected);
    }

    // Parse then compose: a slot that did not fit (all zero) comes back as
    // "0"; from then on the record no longer changes.
    SelectionState back = junkState();
    parseSelections(record.get(), form, back);
    HeapRecord again(after);
    composeSelections(back, form, again.get());
    const Record settled = again.copy();
    SelectionState backAgain = junkState();
    parseSelections(again.get(), form, backAgain);
    FUZZ_CHECK(slotsOf(backAgain) == slotsOf(back), "form %d: parse-compose-parse changed a value",
               static_cast<int>(form));
    composeSelections(backAgain, form, again.get());
    FUZZ_CHECK(again.copy() == settled, "form %d: a second parse-compose changed the record",
               static_cast<int>(form));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    Record file(kSelectionRecordSize, 0);
    for (uint8_t& b : file) b = in.byte();

    HeapRecord record(file);
    checkSlots(record);
    checkParse(record, SelectionForm::program);
    checkParse(record, SelectionForm::plugin);
    FUZZ_CHECK(record.copy() == file, "parsing changed the record");

    // Fields written as the user left them: any 32-bit values. Small values
    // are made likely, so that most slots fit.
    SelectionState state;
    int32_t* fields[] = {&state.reserved,       &state.currencyRow[0], &state.currencyRow[1],
                         &state.currencyRow[2], &state.currencyRow[3], &state.metricCategory,
                         &state.metricUnit[0],  &state.metricUnit[1],  &state.metricUnit[2],
                         &state.metricUnit[3],  &state.autoUpdate,     &state.todayItem};
    for (int32_t* field : fields) {
        int32_t raw = in.int32();
        *field = (raw & 0x100) ? raw : static_cast<int8_t>(raw & 0xff);
    }
    checkCompose(state, file, SelectionForm::program);
    checkCompose(state, file, SelectionForm::plugin);

    // What the file held, written back by each form, is kept as read.
    for (SelectionForm form : {SelectionForm::program, SelectionForm::plugin}) {
        SelectionState read = junkState();
        parseSelections(record.get(), form, read);
        checkCompose(read, file, form);
    }
    return 0;
}
