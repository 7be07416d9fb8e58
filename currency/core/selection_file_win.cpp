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

void loadSelections(const wchar_t* dataDirectory, SelectionState& state, SelectionForm form) {
    uint8_t record[kSelectionRecordSize];
    if (readRecord(dataFilePath(dataDirectory, kSelectionFileName), record) != ReadResult::ok) return;
    parseSelections(record, form, state);
}

void saveSelections(const wchar_t* dataDirectory, const SelectionState& state, SelectionForm form) {
    std::wstring path = dataFilePath(dataDirectory, kSelectionFileName);
    uint8_t record[kSelectionRecordSize] = {};
    if (form == SelectionForm::plugin) {
        // Read, change, write: the program's slots 5 to 11 and the padding
        // are carried over. A file that exists but cannot be read now (the
        // program holds it) is left alone rather than rewritten with zeros.
        if (readRecord(path, record) == ReadResult::failed) return;
    }
    composeSelections(state, form, record);
    replaceFileAtomically(path, record, sizeof record);
}
