#include "calculators/computer/computer.h"

#include <cstdint>

#include "core/number_text.h"

namespace {

int baseOfField(int field) {
    switch (field) {
        case IDC_COMPUTER_BINARY:
            return 2;
        case IDC_COMPUTER_OCTAL:
            return 8;
        case IDC_COMPUTER_DECIMAL:
            return 10;
        case IDC_COMPUTER_HEXADECIMAL:
            return 16;
        default:
            return 0;
    }
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// strtol's reading in one base, but accumulated modulo 2^32 in unsigned
// arithmetic: a number too long for 32 bits keeps its low 32 bits instead of
// being held at the limit, and nothing can overflow.
uint32_t readWrapped(const char* text, int base) {
    const char* p = text;
    while (isBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    if (base == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && digitValue(p[2]) < 16) {
        p += 2;
    }
    uint32_t value = 0;
    for (int d; (d = digitValue(*p)) < base; ++p) {
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
    }
    return negative ? 0u - value : value;
}

std::string binaryText(uint32_t v) {
    if (v == 0) return "0";
    char digits[33];
    int n = 32;
    digits[n] = '\0';
    while (v != 0) {
        digits[--n] = static_cast<char>('0' + (v & 1u));
        v >>= 1;
    }
    return std::string(digits + n);
}

std::string asciiText(uint32_t v) {
    std::string text = " ";
    unsigned char low = static_cast<unsigned char>(v & 0xffu);
    if (low != 0) text.push_back(static_cast<char>(low));
    return text;
}

// The signed reading of a 32-bit pattern, without relying on an
// implementation-defined conversion.
int32_t asSigned(uint32_t v) {
    return v <= 0x7fffffffu ? static_cast<int32_t>(v) : -static_cast<int32_t>(~v) - 1;
}

std::string textInField(int field, uint32_t v) {
    switch (field) {
        case IDC_COMPUTER_ASCII:
            return asciiText(v);
        case IDC_COMPUTER_BINARY:
            return binaryText(v);
        case IDC_COMPUTER_OCTAL:
            return formatText("%o", static_cast<unsigned>(v));
        case IDC_COMPUTER_DECIMAL:
            return formatText("%d", static_cast<int>(asSigned(v)));
        case IDC_COMPUTER_HEXADECIMAL:
            return formatText("%x", static_cast<unsigned>(v));
        default:
            return std::string();
    }
}

}  // namespace

unsigned int readFieldValue(int sourceField, const char* text) {
    if (text == nullptr) text = "";
    if (sourceField == IDC_COMPUTER_ASCII) return static_cast<unsigned char>(text[0]);
    int base = baseOfField(sourceField);
    return base == 0 ? 0u : readWrapped(text, base);
}

BaseConversion convertBases(int sourceField, const char* text) {
    // The ASCII field is always rewritten first, even when it is the source;
    // the numeric fields follow in this order, the source skipped.
    static const int kRewriteOrder[] = {IDC_COMPUTER_ASCII, IDC_COMPUTER_DECIMAL, IDC_COMPUTER_BINARY,
                                        IDC_COMPUTER_OCTAL, IDC_COMPUTER_HEXADECIMAL};
    BaseConversion out;
    if (sourceField < IDC_COMPUTER_ASCII || sourceField > IDC_COMPUTER_HEXADECIMAL) return out;
    uint32_t v = readFieldValue(sourceField, text);
    for (int field : kRewriteOrder) {
        if (field == sourceField && field != IDC_COMPUTER_ASCII) continue;
        out.fields[out.count].controlId = field;
        out.fields[out.count].text = textInField(field, v);
        ++out.count;
    }
    return out;
}

const DataTypeRow* dataTypeRow(int index) {
    // Fixed texts; each signed range is kept symmetric on purpose.
    static const DataTypeRow kRows[kDataTypeCount] = {
        {"Boolean", "1", "0", "1", "1"},
        {"Character", "1", "-127", "127", "255"},
        {"Short", "2", "-32767", "32767", "65535"},
        {"Long", "4", "-2147483647", "2147483647", "4294967295"},
    };
    if (index < 0 || index >= kDataTypeCount) return nullptr;
    return &kRows[index];
}
