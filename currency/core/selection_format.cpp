#include "currency/core/selection_format.h"

#include <cstdio>
#include <cstring>

#include "core/number_text.h"

namespace {

bool isSlot(int slot) { return slot >= 0 && slot < kSelectionSlotCount; }

uint8_t* slotBytes(uint8_t* record, int slot) { return record + slot * kSelectionSlotSize; }

void readFlag(const uint8_t* record, int slot, int32_t& flag) {
    int32_t value = readSlot(record, slot);
    if (value == 0 || value == 1) flag = value;
}

}  // namespace

int32_t readSlot(const uint8_t* record, int slot) {
    if (!isSlot(slot)) return 0;
    // A slot whose three bytes hold no zero byte would run into the next slot
    // (or past the record, for the last one) under strtol: read a terminated
    // copy instead.
    char text[kSelectionSlotSize + 1] = {};
    std::memcpy(text, record + slot * kSelectionSlotSize, kSelectionSlotSize);
    return readInteger(text, 10);
}

void writeSlot(uint8_t* record, int slot, int32_t value) {
    if (!isSlot(slot)) return;
    uint8_t* bytes = slotBytes(record, slot);
    std::memset(bytes, 0, kSelectionSlotSize);
    if (value < kSlotMinimum || value > kSlotMaximum) return;
    char text[kSelectionSlotSize + 1] = {};
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    std::memcpy(bytes, text, kSelectionSlotSize);
}

void parseSelections(const uint8_t* record, SelectionForm form, SelectionState& state) {
    state.reserved = readSlot(record, kSlotReserved);
    for (int row = 0; row < 4; ++row) state.currencyRow[row] = readSlot(record, kSlotCurrencyRow + row);
    if (form == SelectionForm::plugin) return;

    state.metricCategory = readSlot(record, kSlotMetricCategory);
    for (int row = 0; row < 4; ++row) state.metricUnit[row] = readSlot(record, kSlotMetricUnit + row);
    readFlag(record, kSlotAutoUpdate, state.autoUpdate);
    readFlag(record, kSlotTodayItem, state.todayItem);
}

void composeSelections(const SelectionState& state, SelectionForm form, uint8_t* record) {
    if (form == SelectionForm::program) std::memset(record, 0, kSelectionRecordSize);
    composeSlots(state, form == SelectionForm::program ? kAllSlots : kPluginSlots, record);
}

void composeSlots(const SelectionState& state, SlotSet slots, uint8_t* record) {
    const int32_t values[kSelectionSlotCount] = {
        state.reserved,       state.currencyRow[0], state.currencyRow[1], state.currencyRow[2],
        state.currencyRow[3], state.metricCategory, state.metricUnit[0],  state.metricUnit[1],
        state.metricUnit[2],  state.metricUnit[3],  state.autoUpdate == 1 ? 1 : 0,
        state.todayItem == 1 ? 1 : 0,
    };
    for (int slot = 0; slot < kSelectionSlotCount; ++slot)
        if (slots & (1u << slot)) writeSlot(record, slot, values[slot]);
}
