// quantrel.dat from anywhere, in both forms: the 100-byte record, then a byte
// per field to write. Parsing sets each field of the form from its slot, a
// flag only from 0 or 1; composing writes what reads back (0 for a value that
// does not fit, a flag as 1 only for 1), zero-pads the program's form and
// keeps bytes 15 to 99 in the plug-in's.
#include <cstring>
#include <vector>

#include "currency/core/selection_format.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    std::vector<uint8_t> file(kSelectionRecordSize);
    for (uint8_t& b : file) b = in.byte();

    constexpr int32_t kJunk = 0x5a5a5a5a;
    int32_t wanted[kSelectionSlotCount], got[kSelectionSlotCount];
    static_assert(sizeof wanted == sizeof(SelectionState), "twelve fields in slot order");
    for (int32_t& v : wanted) v = in.byte();
    for (int32_t& v : wanted) v = v == 0x80 ? INT32_MIN : static_cast<int8_t>(v);
    for (SelectionForm form : {SelectionForm::program, SelectionForm::plugin}) {
        const int owned = form == SelectionForm::program ? kSelectionSlotCount : kPluginSlotCount;
        SelectionState state;
        std::memset(&state, 0x5a, sizeof state);
        parseSelections(file.data(), form, state);
        std::memcpy(got, &state, sizeof got);
        for (int slot = 0; slot < kSelectionSlotCount; ++slot) {
            const int32_t inFile = readSlot(file.data(), slot);
            const bool taken = slot < owned && (slot < kSlotAutoUpdate || inFile == 0 || inFile == 1);
            FUZZ_CHECK(got[slot] == (taken ? inFile : kJunk));
        }

        std::memcpy(&state, wanted, sizeof state);
        std::vector<uint8_t> written = file;
        composeSelections(state, form, written.data());
        for (size_t i = owned * kSelectionSlotSize; i < kSelectionRecordSize; ++i)
            FUZZ_CHECK(written[i] == (form == SelectionForm::program ? 0 : file[i]));
        for (int slot = 0; slot < owned; ++slot) {
            const int32_t v = slot < kSlotAutoUpdate ? wanted[slot] : wanted[slot] == 1;
            FUZZ_CHECK(readSlot(written.data(), slot) == (v >= kSlotMinimum && v <= kSlotMaximum ? v : 0));
        }
    }
    return 0;
}
