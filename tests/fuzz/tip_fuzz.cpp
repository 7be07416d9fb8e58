// Tip Calculator recomputed from whatever its fields hold.
//
// Input: a byte picking the edited control (one of the six value fields or
// another control), then the texts of Bill, Tip Percent, Split and Split
// Amount, each ended by a zero byte. Checks:
//  - every field but the edited one is written; money texts are empty or
//    "%.2f", the split a whole 32-bit number, never "nan" or "inf";
//  - only the first kTipTextLimit characters of each field take part;
//  - the split shown is the typed split truncated towards zero;
//  - tip = bill x percent / 100, share x split = total,
//    and with a split of 0 the share is the typed split amount.
#include <algorithm>
#include <cmath>

#include "calculators/tip/tip.h"
#include "shell/number_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::string cut(const std::string& text) { return text.substr(0, kTipTextLimit); }

bool near(double a, double b) {
    return std::fabs(a - b) <= 1e-12 * std::max(std::fabs(a), std::fabs(b));
}

bool isIntegerText(const std::string& text) {
    size_t from = !text.empty() && text[0] == '-' ? 1 : 0;
    return from < text.size() && text.find_first_not_of("0123456789", from) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    static const int kControls[] = {kTipBillField,  kTipPercentField, kTipAmountField,     kTipTotalField,
                                    kTipSplitField, kTipSplitAmountField, kTipDialog};
    const int edited = kControls[in.byte() % 7];
    TipTexts texts;
    texts.bill = in.field();
    texts.percent = in.field();
    texts.split = in.field();
    texts.splitAmount = in.field();

    const TipResult r = recomputeTip(texts, edited);
    for (int n = 0; n < 6; ++n) {
        const TipOutput& f = r.fields[n];
        FUZZ_CHECK(f.id == kTipValueFields[n], "field %d is control %d", n, f.id);
        FUZZ_CHECK(f.write == (f.id != edited), "control %d write flag %d after a key release in %d", f.id, f.write,
                   edited);
        FUZZ_CHECK(!showsNonFinite(f.text), "control %d shows \"%s\"", f.id, shown(f.text).c_str());
        const bool shape = f.id == kTipSplitField ? isIntegerText(f.text) : f.text.empty() || isFixedPointText(f.text, 2);
        FUZZ_CHECK(shape, "control %d shows \"%s\"", f.id, shown(f.text).c_str());
    }

    const TipTexts cutTexts{cut(texts.bill), cut(texts.percent), cut(texts.split), cut(texts.splitAmount)};
    const TipResult c = recomputeTip(cutTexts, edited);
    for (int n = 0; n < 6; ++n) {
        FUZZ_CHECK(c.fields[n].text == r.fields[n].text, "characters past %d changed control %d: \"%s\", cut \"%s\"",
                   kTipTextLimit, r.fields[n].id, shown(r.fields[n].text).c_str(), shown(c.fields[n].text).c_str());
    }

    const double bill = readDecimal(cutTexts.bill.c_str());
    const double percent = readDecimal(cutTexts.percent.c_str());
    const double split = readDecimal(cutTexts.split.c_str());
    const double splitAmount = readDecimal(cutTexts.splitAmount.c_str());
    const TipValues& v = r.values;

    const double shownSplit = readDecimal(r.fields[4].text.c_str());
    FUZZ_CHECK(shownSplit == v.split, "split %d shown as \"%s\"", v.split, r.fields[4].text.c_str());
    const bool held = std::fabs(split) >= 2147483647.0;
    FUZZ_CHECK(std::fabs(shownSplit) <= std::fabs(split) && (held || std::fabs(split - shownSplit) < 1) &&
                   (shownSplit == 0 || (shownSplit < 0) == (split < 0)),
               "split %.17g shown as %d", split, v.split);

    if (std::isnormal(v.tip) && std::isnormal(percent / 100)) {
        FUZZ_CHECK(near(v.tip, bill * (percent / 100)), "tip %.17g on %.17g at %.17g%%", v.tip, bill, percent);
    }
    if (split == 0) {
        FUZZ_CHECK(v.share == splitAmount, "share %.17g with no split, typed %.17g", v.share, splitAmount);
    } else if (std::isnormal(v.share) && std::isnormal(v.share * split)) {
        FUZZ_CHECK(near(v.share * split, v.total), "share %.17g x %.17g is not %.17g", v.share, split, v.total);
    }
    return 0;
}
