// Computer: one 32-bit integer shown in five notations (ASCII, binary,
// octal, decimal, hexadecimal), and the sizes and ranges of four data types.
// Portable: no windows.h. The screen reads a field's text, calls
// convertBases and writes the returned texts in the returned order.
#pragma once
#include <string>

#include "resources/quantrel/resource_ids.h"

// The five value edits, in the order the screen hooks them.
constexpr int kComputerValueFields[5] = {IDC_COMPUTER_ASCII, IDC_COMPUTER_BINARY, IDC_COMPUTER_OCTAL,
                                         IDC_COMPUTER_DECIMAL, IDC_COMPUTER_HEXADECIMAL};

// One field to be rewritten and its new 8-bit text.
struct BaseFieldText {
    int controlId = 0;
    std::string text;
};

// The fields a key release rewrites, in the order they are to be written.
// The ASCII field's text is a space followed by one 8-bit character (the
// lowest byte of the value), or the space alone when that byte is 0; the
// screen widens it through the system code page like every other text.
struct BaseConversion {
    int count = 0;
    BaseFieldText fields[5];
};

// Reads the value from the source field's text and yields the new texts of
// the fields it rewrites. A source id outside 1018..1022 rewrites nothing.
//   ASCII:   the 8-bit code of the first character, 0 for an empty text.
//   Others:  strtol rules in base 2, 8, 10 or 16 ("0x"/"0X" allowed in base
//            16); digits beyond 32 bits wrap, so the value is the low 32
//            bits of the number as written ("4294967295" reads as -1).
// The decimal field shows the value as a signed 32-bit number; binary,
// octal and hexadecimal show its 32-bit pattern in lower case.
BaseConversion convertBases(int sourceField, const char* text);

// The value convertBases reads from a field's text, as a 32-bit pattern.
unsigned int readFieldValue(int sourceField, const char* text);

// One row of the data-type table: the combo text and the fixed texts of
// 1014 (size in bytes), 1015 (min), 1016 (max) and 1017 (unsigned max).
struct DataTypeRow {
    const char* name;
    const char* size;
    const char* min;
    const char* max;
    const char* unsignedMax;
};

constexpr int kDataTypeCount = 4;

// The row for a combo index 0..3 (Boolean, Character, Short, Long), or
// nullptr for any other index (no selection: nothing changes).
const DataTypeRow* dataTypeRow(int index);
