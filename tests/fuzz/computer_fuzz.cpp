// The Computer screen's base readers and writers with whatever was typed.
//
// Input: a byte picking the source field (one of the five, or another
// control), then the typed text up to its first zero byte. Checks:
//  - the value is the low 32 bits of the number as written: the digit run
//    found by hand, and strtoull's reading whenever the number fits 64 bits;
//  - the ASCII field comes first, the source field is not rewritten, every
//    text has its base's digits only (lower case, no leading zeros);
//  - each written text reads back in its own base as the same 32-bit pattern
//    (base to base round trip), and typing it gives the same texts again.
#include <cerrno>
#include <cstdlib>

#include "calculators/computer/computer.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

int baseOf(int field) {
    switch (field) {
        case kComputerBinaryField: return 2;
        case kComputerOctalField: return 8;
        case kComputerDecimalField: return 10;
        case kComputerHexadecimalField: return 16;
    }
    return 0;
}

int digitOf(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

// The number as written, modulo 2^32, and whether it fits 64 bits unsigned
// (so that strtoull can tell it too).
uint32_t lowBitsPlainly(const std::string& text, int base, bool* fits64) {
    size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos) i = text.size();
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (base == 16 && i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        digitOf(text[i + 2]) < 16) {
        i += 2;
    }
    uint64_t low = 0;
    unsigned __int128 whole = 0;
    *fits64 = true;
    for (; i < text.size() && digitOf(text[i]) < base; ++i) {
        low = (low * base + digitOf(text[i])) % (uint64_t{1} << 32);
        whole = whole * base + digitOf(text[i]);
        if (whole > UINT64_MAX) {
            *fits64 = false;
            whole = static_cast<unsigned __int128>(UINT64_MAX) + 1;
        }
    }
    uint32_t v = static_cast<uint32_t>(low);
    return negative ? 0u - v : v;
}

bool hasDigitsOfBase(const std::string& text, int base) {
    if (text.empty()) return false;
    if (text.size() > 1 && text[0] == '0') return false;
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') return false;
        if (digitOf(c) >= base) return false;
    }
    return true;
}

void checkTexts(const BaseConversion& out, int source, uint32_t value) {
    FUZZ_CHECK(out.count == 4 + (source == kComputerAsciiField), "%d fields rewritten for source %d", out.count,
               source);
    FUZZ_CHECK(out.fields[0].controlId == kComputerAsciiField, "the first field rewritten is %d",
               out.fields[0].controlId);
    std::string ascii = " ";
    if ((value & 0xff) != 0) ascii.push_back(static_cast<char>(value & 0xff));
    FUZZ_CHECK(out.fields[0].text == ascii, "ASCII field \"%s\" for %08x", shown(out.fields[0].text).c_str(), value);
    for (int n = 1; n < out.count; ++n) {
        const BaseFieldText& f = out.fields[n];
        const int base = baseOf(f.controlId);
        FUZZ_CHECK(base != 0 && f.controlId != source, "field %d rewrites control %d", n, f.controlId);
        std::string digits = f.text;
        if (base == 10 && !digits.empty() && digits[0] == '-') digits.erase(0, 1);
        FUZZ_CHECK(hasDigitsOfBase(digits, base) && (base != 10 || f.text != "-0"),
                   "control %d shows \"%s\" for %08x", f.controlId, shown(f.text).c_str(), value);
        const uint32_t back = readFieldValue(f.controlId, f.text.c_str());
        FUZZ_CHECK(back == value, "control %d shows \"%s\", which reads as %08x, not %08x", f.controlId,
                   f.text.c_str(), back, value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    static const int kControls[] = {kComputerAsciiField,   kComputerBinaryField,      kComputerOctalField,
                                    kComputerDecimalField, kComputerHexadecimalField, kDataTypeCombo,
                                    kComputerAsciiField - 1, kComputerHexadecimalField + 1};
    const int source = kControls[in.byte() % 8];
    const std::string typed = in.field();

    const uint32_t value = readFieldValue(source, typed.c_str());
    const BaseConversion out = convertBases(source, typed.c_str());
    const int base = baseOf(source);
    if (source == kComputerAsciiField) {
        FUZZ_CHECK(value == static_cast<unsigned char>(typed.c_str()[0]), "ASCII \"%s\" read as %08x",
                   shown(typed).c_str(), value);
    } else if (base == 0) {
        FUZZ_CHECK(out.count == 0, "control %d rewrote %d fields", source, out.count);
        return 0;
    } else {
        bool fits64 = false;
        const uint32_t expected = lowBitsPlainly(typed, base, &fits64);
        FUZZ_CHECK(value == expected, "\"%s\" in base %d read as %08x, expected %08x", shown(typed).c_str(), base,
                   value, expected);
        if (fits64) {
            errno = 0;
            const unsigned long long wide = std::strtoull(typed.c_str(), nullptr, base);
            FUZZ_CHECK(errno == 0 && static_cast<uint32_t>(wide) == value,
                       "\"%s\" in base %d: strtoull gives %llx, read as %08x", shown(typed).c_str(), base, wide,
                       value);
        }
    }
    checkTexts(out, source, value);

    // Typing any rewritten text into its own field shows the same value.
    for (int n = 1; n < out.count; ++n) {
        const BaseConversion again = convertBases(out.fields[n].controlId, out.fields[n].text.c_str());
        for (int m = 0; m < again.count; ++m) {
            for (int k = 0; k < out.count; ++k) {
                if (out.fields[k].controlId != again.fields[m].controlId) continue;
                FUZZ_CHECK(out.fields[k].text == again.fields[m].text,
                           "typing \"%s\" in %d shows \"%s\" in %d, not \"%s\"", out.fields[n].text.c_str(),
                           out.fields[n].controlId, again.fields[m].text.c_str(), again.fields[m].controlId,
                           out.fields[k].text.c_str());
            }
        }
    }
    return 0;
}
