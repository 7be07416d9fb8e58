#include "calculators/computer/computer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

const std::string X = "<not written>";

std::map<int, std::string> byField(const BaseConversion& c) {
    std::map<int, std::string> m;
    for (int i = 0; i < c.count; ++i) m[c.fields[i].controlId] = c.fields[i].text;
    return m;
}

std::string textOf(const std::map<int, std::string>& m, int id) {
    auto it = m.find(id);
    return it == m.end() ? X : it->second;
}

TEST(ConvertBases, FieldTexts) {
    const std::string ones(32, '1');
    struct {
        const char* name;
        int source;
        const char* text;
        std::string ascii, binary, octal, decimal, hex;  // X for the source field
    } cases[] = {
        {"A in ASCII", IDC_COMPUTER_ASCII, "A", " A", "1000001", "101", "65", "41"},
        {"first character only", IDC_COMPUTER_ASCII, "AB", " A", "1000001", "101", "65", "41"},
        {"empty ASCII", IDC_COMPUTER_ASCII, "", " ", "0", "0", "0", "0"},
        {"ASCII byte above 127", IDC_COMPUTER_ASCII, "\xe9", " \xe9", "11101001", "351", "233", "e9"},
        {"decimal 97", IDC_COMPUTER_DECIMAL, "97", " a", "1100001", "141", X, "61"},
        {"hex ff", IDC_COMPUTER_HEXADECIMAL, "ff", " \xff", "11111111", "377", "255", X},
        {"hex FF", IDC_COMPUTER_HEXADECIMAL, "FF", " \xff", "11111111", "377", "255", X},
        {"hex 0xff", IDC_COMPUTER_HEXADECIMAL, "0xff", " \xff", "11111111", "377", "255", X},
        {"hex 0x, no digit", IDC_COMPUTER_HEXADECIMAL, "0xg", " ", "0", "0", "0", X},
        {"binary 12", IDC_COMPUTER_BINARY, "12", " \x01", X, "1", "1", "1"},
        {"octal 9", IDC_COMPUTER_OCTAL, "9", " ", "0", X, "0", "0"},
        {"decimal -1", IDC_COMPUTER_DECIMAL, "-1", " \xff", ones, "37777777777", X, "ffffffff"},
        {"blanks and plus", IDC_COMPUTER_DECIMAL, " \t+66x", " B", "1000010", "102", X, "42"},
        {"no digits", IDC_COMPUTER_DECIMAL, "abc", " ", "0", "0", X, "0"},
        {"low byte 0", IDC_COMPUTER_DECIMAL, "256", " ", "100000000", "400", X, "100"},
        {"smallest signed", IDC_COMPUTER_DECIMAL, "-2147483648", " ", "1" + std::string(31, '0'), "20000000000", X,
         "80000000"},
        {"2^32-1 wraps to -1", IDC_COMPUTER_DECIMAL, "4294967295", " \xff", ones, "37777777777", X, "ffffffff"},
        {"2^32+65 wraps to 65", IDC_COMPUTER_DECIMAL, "4294967361", " A", "1000001", "101", X, "41"},
        {"top bit shows negative", IDC_COMPUTER_HEXADECIMAL, "80000000", " ", "1" + std::string(31, '0'), "20000000000",
         "-2147483648", X},
        {"long hex keeps low 32 bits", IDC_COMPUTER_HEXADECIMAL, "123456789a", " \x9a",
         "110100010101100111100010011010", "6425474232", "878082202", X},
        {"negative binary", IDC_COMPUTER_BINARY, "-10", " \xfe", X, "37777777776", "-2", "fffffffe"},
        {"null text", IDC_COMPUTER_OCTAL, nullptr, " ", "0", X, "0", "0"},
    };
    for (const auto& c : cases) {
        auto got = byField(convertBases(c.source, c.text));
        const std::pair<int, std::string> expected[] = {{IDC_COMPUTER_ASCII, c.ascii},
                                                        {IDC_COMPUTER_BINARY, c.binary},
                                                        {IDC_COMPUTER_OCTAL, c.octal},
                                                        {IDC_COMPUTER_DECIMAL, c.decimal},
                                                        {IDC_COMPUTER_HEXADECIMAL, c.hex}};
        for (const auto& e : expected) {
            EXPECT_EQ(e.second, textOf(got, e.first)) << c.name << ": field " << e.first;
        }
    }
}

TEST(ConvertBases, RewriteOrder) {
    struct {
        int source;
        std::vector<int> expected;
    } cases[] = {
        {IDC_COMPUTER_ASCII, {1018, 1021, 1019, 1020, 1022}},
        {IDC_COMPUTER_BINARY, {1018, 1021, 1020, 1022}},
        {IDC_COMPUTER_OCTAL, {1018, 1021, 1019, 1022}},
        {IDC_COMPUTER_DECIMAL, {1018, 1019, 1020, 1022}},
        {IDC_COMPUTER_HEXADECIMAL, {1018, 1021, 1019, 1020}},
        {1017, {}},
        {1023, {}},
    };
    for (const auto& c : cases) {
        BaseConversion got = convertBases(c.source, "1");
        std::vector<int> ids;
        for (int i = 0; i < got.count; ++i) ids.push_back(got.fields[i].controlId);
        EXPECT_EQ(c.expected, ids) << "source " << c.source;
    }
}

// A value written into any field and typed back gives the same texts in
// every other field; every byte survives ASCII -> decimal -> ASCII.
TEST(ConvertBases, RoundTrips) {
    const unsigned values[] = {0u,          1u,          8u,          65u,         255u,
                               256u,        0x8000u,     0x12345678u, 0x7fffffffu, 0x80000000u,
                               0xdeadbeefu, 0xfffffffeu, 0xffffffffu};
    const int numeric[] = {IDC_COMPUTER_BINARY, IDC_COMPUTER_OCTAL, IDC_COMPUTER_DECIMAL, IDC_COMPUTER_HEXADECIMAL};
    for (unsigned v : values) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%x", v);
        auto all = byField(convertBases(IDC_COMPUTER_HEXADECIMAL, hex));
        all[IDC_COMPUTER_HEXADECIMAL] = hex;
        for (int source : numeric) {
            EXPECT_EQ(v, readFieldValue(source, all[source].c_str())) << hex << " in " << source;
            auto again = byField(convertBases(source, all[source].c_str()));
            for (auto& [field, text] : again) {
                EXPECT_EQ(all[field], text) << hex << " via " << source << " into " << field;
            }
        }
    }
    for (int b = 1; b < 256; ++b) {
        const std::string typed(1, static_cast<char>(b));
        auto decimal = byField(convertBases(IDC_COMPUTER_ASCII, typed.c_str()))[IDC_COMPUTER_DECIMAL];
        EXPECT_EQ(" " + typed, byField(convertBases(IDC_COMPUTER_DECIMAL, decimal.c_str()))[IDC_COMPUTER_ASCII])
            << "byte " << b << " via decimal " << decimal;
    }
}

TEST(DataType, FixedRows) {
    const char* expected[][5] = {{"Boolean", "1", "0", "1", "1"},
                                 {"Character", "1", "-127", "127", "255"},
                                 {"Short", "2", "-32767", "32767", "65535"},
                                 {"Long", "4", "-2147483647", "2147483647", "4294967295"}};
    for (int i = 0; i < 4; ++i) {
        const DataTypeRow* row = dataTypeRow(i);
        ASSERT_NE(nullptr, row) << "index " << i;
        const char* got[] = {row->name, row->size, row->min, row->max, row->unsignedMax};
        for (int k = 0; k < 5; ++k)
            EXPECT_STREQ(expected[i][k], got[k]) << "row " << i << " column " << k;
    }
    for (int index : {-1, 4}) EXPECT_EQ(nullptr, dataTypeRow(index)) << "index " << index;
}

}  // namespace
