// rates.txt on disk: unshared, bounded read; atomic replace on save; the
// read, change, write of edited rates.
#include <memory>
#include <vector>

#include "currency/core/currency_files.h"
#include "currency/core/file_io_win.h"

ReadResult loadRates(const wchar_t* dataDirectory, CurrencyTable& table) {
    std::vector<char> buffer(kRatesFileCapacity);
    size_t got = 0;
    ReadResult result =
        readFileStart(dataFilePath(dataDirectory, kRatesFileName), buffer.data(), buffer.size(), &got);
    if (result == ReadResult::ok) parseRates(buffer.data(), got, table);
    return result;
}

bool saveRates(const wchar_t* dataDirectory, const CurrencyTable& table) {
    std::string text = composeRates(table);
    return replaceFileAtomically(dataFilePath(dataDirectory, kRatesFileName), text.data(), text.size());
}

bool saveRateEdits(const wchar_t* dataDirectory, const RateEdit* edits, size_t count, CurrencyTable& table) {
    FileUpdateLock lock(dataFilePath(dataDirectory, kRatesFileName));
    if (!lock.held()) return false;
    auto current = std::make_unique<CurrencyTable>();
    ReadResult read = loadRates(dataDirectory, *current);
    if (read == ReadResult::failed) return false;
    bool changed = applyRateEdits(*current, edits, count) > 0;
    bool written = (changed || read == ReadResult::missing) && saveRates(dataDirectory, *current);
    if (written || !changed) table = *current;
    return written;
}
