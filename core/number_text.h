// Reading numbers from field and file texts, and formatting results.
// Portable: no windows.h. Both deliverables and the native tests use these,
// so that every build reads and prints the same digits.
#pragma once
#include <cstdint>
#include <string>

// Reads a decimal number the way the C runtime's strtod does in the "C"
// locale: leading white space, optional sign, digits, fraction, exponent;
// reading stops at the first character that does not fit. Decimal only:
// hexadecimal text reads as the "0" before its "x". Text without a number
// gives 0. A result that is not finite ("inf", "nan", "1e999") is
// taken as no number and gives 0 as well, so no screen ever shows "inf".
double readDecimal(const char* text);

// As readDecimal, but tells whether the text held a finite number at all.
bool tryReadDecimal(const char* text, double* value);

// Reads an integer the way a 32-bit C runtime's strtol does (the handheld's
// long is 32 bits): base 0, 2..36; out-of-range values are clamped to
// INT32_MIN/INT32_MAX. Text without a number gives 0.
int32_t readInteger(const char* text, int base);

// printf-style formatting into a new string (the caller owns it).
std::string formatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
