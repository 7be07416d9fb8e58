// Currency conversion through the base currency of a CurrencyTable.
// Portable: no windows.h. Both deliverables' currency calculators use these.
//
// A rate is the number of units of a currency per unit of the base currency,
// so converting A from currency s to currency d is
// fromBase(table, toBase(table, A, s), d) = rate(d) * (A / rate(s)).
#pragma once
#include "currency/core/rates_format.h"

// `amount` of currency `index` in the base currency: amount / rate, or 0 when
// the rate is 0. An index outside the table's 100 entries (-1 for a row with
// no selection, or anything else) gives 0 and reads nothing.
double toBase(const CurrencyTable& table, double amount, int index);

// `base` units of the base currency in currency `index`: rate * base. An
// index outside the table's 100 entries gives 0 and reads nothing.
double fromBase(const CurrencyTable& table, double base, int index);
