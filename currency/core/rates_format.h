// The currency table and its persistent form, rates.txt, as bytes.
// Portable: no windows.h. The Win32 side (currency_files.h) opens the file
// and hands the bytes here; both deliverables and the native tests share it.
//
// rates.txt is 8-bit text: a header line kept byte for byte (a trailing
// carriage return included), then one "name TAB rate LF" line per currency.
// Only lines ended by a line feed are read. The writer puts "%.4f" rates,
// only line feeds, and one zero byte after the text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

constexpr int kCurrencyCapacity = 100;          // entries in a CurrencyTable
constexpr size_t kCurrencyNameSize = 104;       // 103 characters + terminator
constexpr size_t kHeaderLineSize = 260;         // 259 characters + terminator

// Longest text "%.4f" gives for a finite double: "-", the 309 digits of
// DBL_MAX, ".", four decimals.
constexpr size_t kMaxRateTextLength = 315;

// Largest text composeRates can give, its zero byte included: a header of
// 259 characters and 100 entries with 103-character names and the longest
// rate texts. The reader takes a file up to this size, so every table the
// writer saves reads back whole; a larger file is read as far as this goes.
constexpr size_t kRatesFileCapacity =
    (kHeaderLineSize - 1) + 1 +
    kCurrencyCapacity * ((kCurrencyNameSize - 1) + 1 + kMaxRateTextLength + 1) + 1;

struct CurrencyEntry {
    char name[kCurrencyNameSize];  // empty: no currency here
    double rate;                   // units of this currency per unit of the base
};

// One per deliverable, process-wide; all zero at start. Entries past `count`
// are all zero after every load (no stale currency survives a shorter file).
struct CurrencyTable {
    CurrencyEntry entries[kCurrencyCapacity];
    int32_t count;
    char headerLine[kHeaderLineSize];
};

// Fills `table` from the bytes of a rates file. The text ends at the first
// zero byte or at `size`, whichever comes first; nothing past it is read.
// - Header: the bytes before the first line feed, cut to 259 characters; a
//   text without any line feed is all header and gives no entries.
// - Each further line ended by a line feed: the name before its first tab
//   (cut to 103 characters) and the rate after it, read as strtod reads it
//   ("abc" gives 0, "1.5x" gives 1.5, a non-finite value such as "inf" or
//   "1e999" gives 0). A line with an empty name, or with no tab at all, is
//   skipped and does not count. Lines past the 100th entry are ignored.
// - A last line without its own line feed is not read.
// - `count` becomes the number of entries read; entries past it are cleared.
void parseRates(const char* data, size_t size, CurrencyTable& table);

// The bytes of rates.txt for `table` (the caller owns the string): the
// header line, a line feed, then for entries 0 to count-1 the name, a tab,
// the rate as "%.4f" and a line feed, then one zero byte, which is part of
// the returned size. `count` is taken within 0 to 100; names and the header
// are taken up to their terminator or field size. A non-finite rate, which
// no reader stores, is written as 0.0000, the value it would read back as.
// Never cut: the result is at most kRatesFileCapacity bytes.
std::string composeRates(const CurrencyTable& table);

// A rate the user accepted for one entry, with the name the entry had when
// it was edited: the edit belongs to that currency, not to the position.
struct RateEdit {
    int32_t index;
    char name[kCurrencyNameSize];
    double rate;
};

// The edit of entry `index` of `table` to `rate`, naming the entry's
// current name.
RateEdit rateEditOf(const CurrencyTable& table, int32_t index, double rate);

// Sets the rate of every edit whose entry in `table` still bears the edited
// name (the table may have been replaced since: a download, the other
// deliverable's save); the others are dropped. Later edits of one entry win.
// Returns the number of edits applied.
int applyRateEdits(CurrencyTable& table, const RateEdit* edits, size_t count);
