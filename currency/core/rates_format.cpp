#include "currency/core/rates_format.h"

#include <cmath>
#include <cstring>

#include "core/number_text.h"

namespace {

const char* findByte(const char* from, const char* end, char byte) {
    if (from >= end) return nullptr;
    return static_cast<const char*>(std::memchr(from, byte, static_cast<size_t>(end - from)));
}

// Length of the text in a field of `fieldSize` bytes, at most fieldSize - 1
// even when the field holds no terminator.
size_t fieldLength(const char* field, size_t fieldSize) {
    const char* zero = static_cast<const char*>(std::memchr(field, '\0', fieldSize - 1));
    return zero ? static_cast<size_t>(zero - field) : fieldSize - 1;
}

// Copies [from, to) into a field of `fieldSize` bytes, cut to fieldSize - 1
// characters, zero-filling the rest.
void copyField(char* field, size_t fieldSize, const char* from, const char* to) {
    size_t length = static_cast<size_t>(to - from);
    if (length > fieldSize - 1) length = fieldSize - 1;
    std::memset(field, 0, fieldSize);
    if (length > 0) std::memcpy(field, from, length);
}

// Reads one entry line (without its line feed) into `entry`; false when the
// line holds no currency (no tab, or nothing before it).
bool readEntryLine(const char* line, const char* lineEnd, CurrencyEntry& entry) {
    const char* tab = findByte(line, lineEnd, '\t');
    if (tab == nullptr || tab == line) return false;
    copyField(entry.name, sizeof entry.name, line, tab);
    // The rate text is copied out so that the reading stops at the line's
    // end: strtod would otherwise skip the line feed as white space and take
    // a number from the next line.
    std::string rateText(tab + 1, lineEnd);
    entry.rate = readDecimal(rateText.c_str());
    return true;
}

}  // namespace

void parseRates(const char* data, size_t size, CurrencyTable& table) {
    const char* end = data + size;
    if (const char* zero = findByte(data, end, '\0')) end = zero;

    const char* headerEnd = findByte(data, end, '\n');
    copyField(table.headerLine, sizeof table.headerLine, data, headerEnd ? headerEnd : end);

    int32_t count = 0;
    const char* line = headerEnd ? headerEnd + 1 : end;
    while (line < end && count < kCurrencyCapacity) {
        const char* lineEnd = findByte(line, end, '\n');
        if (lineEnd == nullptr) break;  // a last line without line feed is not read
        if (readEntryLine(line, lineEnd, table.entries[count])) ++count;
        line = lineEnd + 1;
    }
    table.count = count;
    for (int i = count; i < kCurrencyCapacity; ++i) {
        std::memset(table.entries[i].name, 0, sizeof table.entries[i].name);
        table.entries[i].rate = 0.0;
    }
}

std::string composeRates(const CurrencyTable& table) {
    int32_t count = table.count;
    if (count < 0) count = 0;
    if (count > kCurrencyCapacity) count = kCurrencyCapacity;

    std::string text;
    text.reserve(kRatesFileCapacity);
    text.append(table.headerLine, fieldLength(table.headerLine, sizeof table.headerLine));
    text.push_back('\n');
    for (int32_t i = 0; i < count; ++i) {
        const CurrencyEntry& entry = table.entries[i];
        text.append(entry.name, fieldLength(entry.name, sizeof entry.name));
        text.push_back('\t');
        text.append(formatText("%.4f", std::isfinite(entry.rate) ? entry.rate : 0.0));
        text.push_back('\n');
    }
    text.push_back('\0');
    return text;
}

RateEdit rateEditOf(const CurrencyTable& table, int32_t index, double rate) {
    RateEdit edit = {};
    edit.index = index;
    edit.rate = rate;
    if (index >= 0 && index < kCurrencyCapacity)
        copyField(edit.name, sizeof edit.name, table.entries[index].name,
                  table.entries[index].name + fieldLength(table.entries[index].name, kCurrencyNameSize));
    return edit;
}

int applyRateEdits(CurrencyTable& table, const RateEdit* edits, size_t count) {
    int applied = 0;
    for (size_t i = 0; i < count; ++i) {
        const RateEdit& edit = edits[i];
        if (edit.index < 0 || edit.index >= table.count || edit.index >= kCurrencyCapacity) continue;
        CurrencyEntry& entry = table.entries[edit.index];
        if (std::strncmp(entry.name, edit.name, kCurrencyNameSize) != 0) continue;
        entry.rate = edit.rate;
        ++applied;
    }
    return applied;
}
