#include "currency/core/conversion.h"

namespace {

bool isEntry(int index) { return index >= 0 && index < kCurrencyCapacity; }

}  // namespace

double toBase(const CurrencyTable& table, double amount, int index) {
    if (!isEntry(index)) return 0.0;
    double rate = table.entries[index].rate;
    return rate != 0.0 ? amount / rate : 0.0;
}

double fromBase(const CurrencyTable& table, double base, int index) {
    if (!isEntry(index)) return 0.0;
    return table.entries[index].rate * base;
}
