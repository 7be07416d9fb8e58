// rates.txt on disk: unshared, bounded read; atomic replace on save.
#include <vector>

#include "currency/core/currency_files.h"
#include "currency/core/file_io_win.h"

void loadRates(const wchar_t* dataDirectory, CurrencyTable& table) {
    std::vector<char> buffer(kRatesFileCapacity);
    size_t got = 0;
    if (readFileStart(dataFilePath(dataDirectory, kRatesFileName), buffer.data(), buffer.size(),
                      &got) != ReadResult::ok)
        return;
    parseRates(buffer.data(), got, table);
}

bool saveRates(const wchar_t* dataDirectory, const CurrencyTable& table) {
    std::string text = composeRates(table);
    return replaceFileAtomically(dataFilePath(dataDirectory, kRatesFileName), text.data(), text.size());
}
