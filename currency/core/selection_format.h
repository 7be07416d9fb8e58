// The selection record quantrel.dat and its in-memory mirror, as bytes.
// Portable: no windows.h. The Win32 side (currency_files.h) reads and writes
// the file; both deliverables and the native tests share this.
//
// The record is 100 bytes: twelve 3-byte slots, then 64 zero bytes. A slot
// holds its value in decimal ASCII (a minus sign for negatives, no padding)
// from its first byte, followed by a zero byte; the rest of the slot is zero.
// So a slot holds -9 to 99.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t kSelectionRecordSize = 100;
constexpr int kSelectionSlotCount = 12;
constexpr size_t kSelectionSlotSize = 3;
constexpr int32_t kSlotMinimum = -9;
constexpr int32_t kSlotMaximum = 99;

// The slots, by the field they hold.
enum SelectionSlot : int {
    kSlotReserved = 0,
    kSlotCurrencyRow = 1,      // 1 to 4: currencyRow[0] to [3]
    kSlotMetricCategory = 5,
    kSlotMetricUnit = 6,       // 6 to 9: metricUnit[0] to [3]
    kSlotAutoUpdate = 10,
    kSlotTodayItem = 11,
};

// A set of slots, bit n for slot n. Each save writes only the slots of the
// screen that saves; every other byte of the file keeps what it holds.
using SlotSet = uint16_t;
constexpr SlotSet slotRange(int first, int count) {
    return static_cast<SlotSet>(((1u << count) - 1u) << first);
}
constexpr SlotSet kAllSlots = slotRange(0, kSelectionSlotCount);
// The plug-in's calculator: reserved and the four currency rows.
constexpr int kPluginSlotCount = 5;
constexpr SlotSet kPluginSlots = slotRange(kSlotReserved, kPluginSlotCount);
// Currency Exchange: the four rows, Auto Update and the Today item.
constexpr SlotSet kCurrencyScreenSlots =
    slotRange(kSlotCurrencyRow, 4) | slotRange(kSlotAutoUpdate, 1) | slotRange(kSlotTodayItem, 1);
// Metric Conversion: the category and the four units.
constexpr SlotSet kMetricScreenSlots = slotRange(kSlotMetricCategory, 5);

// One per deliverable, process-wide, all zero at start.
struct SelectionState {
    int32_t reserved;        // no use of its own; carried from the file back into it
    int32_t currencyRow[4];  // table indexes of the four currency rows; -1: no selection
    int32_t metricCategory;
    int32_t metricUnit[4];
    int32_t autoUpdate;      // 1: download rates on the launcher's timer
    int32_t todayItem;       // 1: the Today item is registered as enabled
};

// Which deliverable reads or writes the record.
enum class SelectionForm {
    program,  // all twelve slots
    plugin,   // slots 0 to 4 only; the rest of the file is kept byte for byte
};

// The value a slot holds: its bytes read as strtol reads decimal text, but
// never past the slot's own three bytes (no digits gives 0).
int32_t readSlot(const uint8_t* record, int slot);

// Writes `value` into a slot: decimal ASCII, a zero byte, the rest zero. A
// value outside -9 to 99 does not fit; the slot is then all zero bytes and
// reads back as 0, the field's default.
void writeSlot(uint8_t* record, int slot, int32_t value);

// Overlays a record onto `state`.
// program: slots 0 to 9 into their fields; slots 10 and 11 set their flag to
//   0 or 1 when they hold 0 or 1, and leave it as it was for any other value.
// plugin: slots 0 to 4 only; the other fields are left alone.
void parseSelections(const uint8_t* record, SelectionForm form, SelectionState& state);

// Writes `state` into a record of kSelectionRecordSize bytes.
// program: the whole record anew: slots 0 to 9 from their fields, slot 10
//   as 1 when autoUpdate is 1 and 0 otherwise, slot 11 likewise from
//   todayItem, then zero padding.
// plugin: rewrites slots 0 to 4 only, in place; slots 5 to 11 and the
//   padding keep the bytes the record held (read from the file beforehand).
void composeSelections(const SelectionState& state, SelectionForm form, uint8_t* record);

// Writes the slots of `slots` from `state` into the record in place, as
// composeSelections writes them (the two flags as 1 or 0); every other byte
// keeps what the record held.
void composeSlots(const SelectionState& state, SlotSet slots, uint8_t* record);
