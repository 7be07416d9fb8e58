// Tip Calculator: the tip on a bill from a percentage, the bill with the tip,
// and each person's share of it. Portable: no windows.h. The screen reads its
// six edits, calls recomputeTip and writes back the texts marked for writing.
#pragma once
#include <cstdint>
#include <string>

// Dialog template and control ids of the Tip Calculator screen; all six
// value controls are edits.
constexpr int kTipDialog = 109;
constexpr int kTipBillField = 1061;         // B, the bill (input)
constexpr int kTipPercentField = 1062;      // T, the tip in percent of the bill (input)
constexpr int kTipAmountField = 1063;       // the tip (output only)
constexpr int kTipTotalField = 1019;        // bill plus tip (output only)
constexpr int kTipSplitField = 1020;        // S, the number of people (input)
constexpr int kTipSplitAmountField = 1018;  // each person's share (input only while S is 0)

// The six value edits, in the order the screen hooks them.
constexpr int kTipValueFields[6] = {kTipBillField,  kTipPercentField, kTipAmountField,
                                    kTipTotalField, kTipSplitField,   kTipSplitAmountField};

// The edits whose focus raises and lowers the soft keyboard.
constexpr int kTipKeyboardFields[4] = {kTipBillField, kTipPercentField, kTipAmountField,
                                       kTipSplitField};

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
