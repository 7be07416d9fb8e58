// quantrel.dat on disk, in the program's and the plug-in's forms.
#include "currency/core/currency_files.h"
#include "currency/core/file_io_win.h"

namespace {

// Reads the file's first 100 bytes into a zeroed record (a shorter file
// leaves the rest zero).
ReadResult readRecord(const std::wstring& path, uint8_t* record) {
    size_t got = 0;
    for (size_t i = 0; i < kSelectionRecordSize; ++i) record[i] = 0;
    return readFileStart(path, reinterpret_cast<char*>(record), kSelectionRecordSize, &got);
}

}  // namespace

ReadResult loadSelections(const wchar_t* dataDirectory, SelectionState& state, SelectionForm form) {
    uint8_t record[kSelectionRecordSize];
    ReadResult result = readRecord(dataFilePath(dataDirectory, kSelectionFileName), record);
    if (result == ReadResult::ok) parseSelections(record, form, state);
    return result;
}

bool saveSelections(const wchar_t* dataDirectory, const SelectionState& state, SelectionForm form, SlotSet slots) {
    std::wstring path = dataFilePath(dataDirectory, kSelectionFileName);
    FileUpdateLock lock(path);
    if (!lock.held()) return false;
    // A file that exists but cannot be read now is left alone rather than
    // rewritten with zeros in the other screens' slots.
    uint8_t record[kSelectionRecordSize];
    ReadResult read = readRecord(path, record);
    if (read == ReadResult::failed) return false;
    if (read == ReadResult::missing && form == SelectionForm::program)
        composeSelections(SelectionState{}, SelectionForm::program, record);
    composeSlots(state, slots, record);
    return replaceFileAtomically(path, record, sizeof record);
}
