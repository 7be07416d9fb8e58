// Tip Calculator computation: see tip.h.
#include "calculators/tip/tip.h"

#include <cmath>

#include "core/number_text.h"

namespace {

// The double nearest one hundredth: percent to fraction.
const double percentFactor = 0.01;

double readField(const std::string& text) {
    return readDecimal(text.substr(0, kTipTextLimit).c_str());
}

// "%.2f", or empty text for a value that has no finite answer.
std::string money(double value) {
    return std::isfinite(value) ? formatText("%.2f", value) : std::string();
}

}  // namespace

int32_t tipSplitCount(double split) {
    if (std::isnan(split)) return 0;
    if (split >= 2147483647.0) return INT32_MAX;
    if (split <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(split);
}

TipValues computeTip(double bill, double percent, double split, double splitAmount) {
    TipValues v;
    v.bill = bill;
    v.percent = percent;
    v.tip = (percent * percentFactor) * bill;
    v.total = v.tip + bill;
    v.split = tipSplitCount(split);
    v.share = split != 0.0 ? v.total / split : splitAmount;
    return v;
}

TipResult recomputeTip(const TipTexts& texts, int editedId) {
    TipResult r;
    r.values = computeTip(readField(texts.bill), readField(texts.percent), readField(texts.split),
                          readField(texts.splitAmount));
    const TipValues& v = r.values;
    r.fields[0] = {IDC_TIP_BILL, editedId != IDC_TIP_BILL, money(v.bill)};
    r.fields[1] = {IDC_TIP_PERCENT, editedId != IDC_TIP_PERCENT, money(v.percent)};
    r.fields[2] = {IDC_TIP_AMOUNT, editedId != IDC_TIP_AMOUNT, money(v.tip)};
    r.fields[3] = {IDC_TIP_TOTAL, editedId != IDC_TIP_TOTAL, money(v.total)};
    r.fields[4] = {IDC_TIP_SPLIT, editedId != IDC_TIP_SPLIT, formatText("%d", static_cast<int>(v.split))};
    r.fields[5] = {IDC_TIP_SPLIT_AMOUNT, editedId != IDC_TIP_SPLIT_AMOUNT, money(v.share)};
    return r;
}
