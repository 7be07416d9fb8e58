#include "core/number_text.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the decimal number at the start of `text`: white space,
// sign, digits, "." and fraction, then an exponent only when digits follow
// its "e". 0 when no digit comes before the exponent. Hexadecimal ("0x1A"
// reads as the 0 before the "x"), "inf" and "nan" are not decimal numbers.
size_t decimalLength(const char* text) {
    size_t at = 0;
    while (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r')) ++at;
    if (text[at] == '+' || text[at] == '-') ++at;
    size_t digits = 0;
    while (isDigit(text[at])) ++at, ++digits;
    if (text[at] == '.') {
        ++at;
        while (isDigit(text[at])) ++at, ++digits;
    }
    if (digits == 0) return 0;
    if (text[at] == 'e' || text[at] == 'E') {
        size_t exponent = at + 1;
        if (text[exponent] == '+' || text[exponent] == '-') ++exponent;
        if (isDigit(text[exponent])) {
            while (isDigit(text[exponent])) ++exponent;
            at = exponent;
        }
    }
    return at;
}

}  // namespace

bool tryReadDecimal(const char* text, double* value) {
    *value = 0.0;
    if (text == nullptr) return false;
    size_t length = decimalLength(text);
    if (length == 0) return false;
    // strtod rounds the decimal digits exactly; it is handed only them.
    std::string number(text, length);
    double v = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(v)) return false;
    *value = v;
    return true;
}

double readDecimal(const char* text) {
    double v;
    tryReadDecimal(text, &v);
    return v;
}

int32_t readInteger(const char* text, int base) {
    if (text == nullptr) return 0;
    errno = 0;
    long long v = std::strtoll(text, nullptr, base);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

std::string formatText(const char* format, ...) {
    char small[128];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string out;
    if (n < 0) {
        va_end(again);
        return out;
    }
    if (static_cast<size_t>(n) < sizeof small) {
        out.assign(small, static_cast<size_t>(n));
    } else {
        std::vector<char> big(static_cast<size_t>(n) + 1);
        std::vsnprintf(big.data(), big.size(), format, again);
        out.assign(big.data(), static_cast<size_t>(n));
    }
    va_end(again);
    return out;
}
