// Tip Calculator: the tip on a bill from a percentage, the bill with the tip,
// and each person's share of it. Portable: no windows.h. The screen reads its
// six edits, calls recomputeTip and writes back the texts marked for writing.
#pragma once
#include <cstdint>
#include <string>

#include "resources/quantrel/resource_ids.h"

// The six value edits, in the order the screen hooks them.
constexpr int kTipValueFields[6] = {IDC_TIP_BILL,  IDC_TIP_PERCENT, IDC_TIP_AMOUNT,
                                    IDC_TIP_TOTAL, IDC_TIP_SPLIT,   IDC_TIP_SPLIT_AMOUNT};

// The edits whose focus raises and lowers the soft keyboard.
constexpr int kTipKeyboardFields[4] = {IDC_TIP_BILL, IDC_TIP_PERCENT, IDC_TIP_AMOUNT, IDC_TIP_SPLIT};

// Characters of each field that take part; the rest of a longer text is not read.
constexpr int kTipTextLimit = 15;

// The 8-bit texts of the four fields that are read.
struct TipTexts {
    std::string bill;
    std::string percent;
    std::string split;
    std::string splitAmount;
};

// One field to rewrite: its control id, whether it is to be written at all,
// and the text.
struct TipOutput {
    int id;
    bool write;
    std::string text;
};

struct TipValues {
    double bill;
    double percent;
    double tip;
    double total;
    int32_t split;  // the split as shown: truncated to a 32-bit integer
    double share;
};

// The six fields in the order Bill Amount, Tip Percent, Tip Amount, Total,
// Split, Split Amount.
struct TipResult {
    TipValues values;
    TipOutput fields[6];
};

// The computation on plain numbers: the share divides by split as given
// (fractions included); a split of exactly 0 keeps splitAmount as the share.
TipValues computeTip(double bill, double percent, double split, double splitAmount);

// A split count as the Split field shows it: truncated towards zero, clamped
// to the 32-bit range.
int32_t tipSplitCount(double split);

// The recompute after a key release in editedId. The edited field is never
// written; a value without a finite answer is written as empty text.
TipResult recomputeTip(const TipTexts& texts, int editedId);
