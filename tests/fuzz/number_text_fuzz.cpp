// The decimal and integer readers every screen and file reader goes through.
//
// Input: a byte picking the base for readInteger, then the text (up to its
// first zero byte, as a field or a file gives it). Checks:
//  - readDecimal always gives a finite number, 0 when tryReadDecimal finds
//    none, and the same number tryReadDecimal gives;
//  - a finite number printed with "%.17g" reads back exactly, and printed
//    with the screens' "%.2f", "%.4f" and "%f" reads back within half the
//    last decimal, never showing "nan" or "inf";
//  - readInteger agrees with a hand-written strtol (white space, sign,
//    "0x"/"0" prefixes, digits of the base, held at the 32-bit limits) and
//    gives 0 for a base strtol does not take.
#include <cfloat>
#include <cmath>

#include "shell/number_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int digitOf(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

int32_t readIntegerPlainly(const char* p, int base) {
    if (base != 0 && (base < 2 || base > 36)) return 0;
    while (isCSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if ((base == 0 || base == 16) && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && digitOf(p[2]) < 16) {
        p += 2;
        base = 16;
    } else if (base == 0) {
        base = p[0] == '0' ? 8 : 10;
    }
    int64_t magnitude = 0;
    for (int d; (d = digitOf(*p)) < base; ++p) {
        magnitude = magnitude * base + d;
        if (magnitude > (int64_t{1} << 32)) magnitude = int64_t{1} << 32;  // past any 32-bit value
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

void checkPrinted(double value, const char* format, double halfLastDecimal) {
    std::string text = formatText(format, value);
    FUZZ_CHECK(!showsNonFinite(text), "%.17g printed with %s as \"%s\"", value, format, text.c_str());
    double back = readDecimal(text.c_str());
    FUZZ_CHECK(std::fabs(back - value) <= halfLastDecimal * (1 + 1e-9) + std::fabs(value) * DBL_EPSILON,
               "%.17g printed with %s as \"%s\" reads back as %.17g", value, format, text.c_str(), back);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t pick = in.byte();
    // Mostly the bases the system uses, now and then any other.
    static const int kBases[] = {10, 0, 16, 8, 2, 36};
    const int base = (pick & 0x80) ? static_cast<int8_t>(pick << 1) / 2 : kBases[pick % 6];
    const std::string text = in.field();

    double tried = -1.0;
    const bool found = tryReadDecimal(text.c_str(), &tried);
    const double value = readDecimal(text.c_str());
    FUZZ_CHECK(std::isfinite(value), "\"%s\" read as %g", shown(text).c_str(), value);
    FUZZ_CHECK(value == tried || (value == 0 && !found), "\"%s\": readDecimal %.17g, tryReadDecimal %.17g",
               shown(text).c_str(), value, tried);
    if (!found) FUZZ_CHECK(tried == 0.0, "\"%s\": no number, yet %.17g", shown(text).c_str(), tried);
    FUZZ_CHECK(readDecimal(nullptr) == 0.0 && !tryReadDecimal(nullptr, &tried) && tried == 0.0,
               "a null text read as a number");

    if (found) {
        std::string exact = formatText("%.17g", value);
        FUZZ_CHECK(readDecimal(exact.c_str()) == value, "%.17g printed as \"%s\" reads back as %.17g", value,
                   exact.c_str(), readDecimal(exact.c_str()));
        checkPrinted(value, "%.2f", 0.005);
        checkPrinted(value, "%.4f", 0.00005);
        checkPrinted(value, "%f", 0.0000005);
    }

    const int32_t integer = readInteger(text.c_str(), base);
    const int32_t expected = readIntegerPlainly(text.c_str(), base);
    FUZZ_CHECK(integer == expected, "\"%s\" in base %d: readInteger %d, expected %d", shown(text).c_str(), base,
               integer, expected);
    FUZZ_CHECK(readInteger(nullptr, base) == 0, "a null text read as an integer");
    return 0;
}
