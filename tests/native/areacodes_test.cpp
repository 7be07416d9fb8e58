#include "calculators/areacodes/areacodes.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

const std::string kFourLines =
    "201 NJ Jersey City\r\n212 NY New York\r\n315 NY Syracuse\r\n415 CA San Francisco\r\n";
const std::string J = "201 NJ Jersey City", N = "212 NY New York", S = "315 NY Syracuse",
                  F = "415 CA San Francisco";

// Searches a copy of exactly the file's bytes, so that any read past their
// end shows up under the address sanitizer.
Lines search(int mode, const char* text, const std::string& file) {
    std::vector<char> bytes(file.begin(), file.end());
    return searchAreaCodes(mode, text, bytes.data(), bytes.size());
}

TEST(SearchAreaCodes, Searches) {
    const std::string zeroInside(
        "201 NJ Jersey City\r\n\0"
        "212 NY New York\r\n",
        38);
    struct {
        const char* name;
        int mode;
        const char* text;
        std::string file;
        Lines expected;
    } cases[] = {
        {"code 2", kAreaCodeMode, "2", kFourLines, {J, N}},
        {"code 21", kAreaCodeMode, "21", kFourLines, {N}},
        {"code 15", kAreaCodeMode, "15", kFourLines, {S, F}},
        {"state ny", kAreaStateMode, "ny", kFourLines, {N, S}},
        {"state NY", kAreaStateMode, "NY", kFourLines, {N, S}},
        {"state N", kAreaStateMode, "N", kFourLines, {J, N, S}},
        {"state looks at bytes 4 and 5 only", kAreaStateMode, "Ne", kFourLines, {}},
        {"city san", kAreaCityMode, "san", kFourLines, {F}},
        {"city empty lists all", kAreaCityMode, "", kFourLines, {J, N, S, F}},
        {"city Y", kAreaCityMode, "Y", kFourLines, {J, N, S}},
        {"no selection", -1, "", kFourLines, {}},
        {"only ASCII letters upper-cased",
         kAreaCityMode,
         "montr\xe9",
         "514 QC Montr\xe9\r\n"
         "514 QC MONTR\xc9\r\n",
         {"514 QC Montr\xe9"}},
        {"LF alone keeps the last character",
         kAreaCityMode,
         "",
         "201 NJ Jersey City\n415 CA San Francisco\n",
         {J, F}},
        {"last character of an LF line is searched",
         kAreaCityMode,
         "york",
         "212 NY New York\n",
         {N}},
        {"CR inside a line stays", kAreaCityMode, "", "201 NJ a\rb\r\n", {"201 NJ a\rb"}},
        {"unended last line not looked at",
         kAreaCityMode,
         "",
         "201 NJ Jersey City\r\n212 NY New York",
         {J}},
        {"blank lines are lines", kAreaCityMode, "", "\r\n\n", {"", ""}},
        {"zero byte ends the text", kAreaCityMode, "", zeroInside, {J}},
        {"state, empty line", kAreaStateMode, "N", "\n", {}},
        {"state, five bytes", kAreaStateMode, "N", "201 N\r\n", {}},
        {"state, five bytes and CR", kAreaStateMode, "N\r", "201 N\r\n", {}},
        {"state, five bytes, LF only", kAreaStateMode, "N", "201 N\n", {}},
        {"state, six bytes, LF only", kAreaStateMode, "J", "201 NJ\n", {"201 NJ"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, search(c.mode, c.text, c.file)) << c.name;
    }
    EXPECT_EQ(Lines{}, searchAreaCodes(kAreaCityMode, "", nullptr, 100)) << "no file bytes";
}

TEST(SearchAreaCodes, AcceptedTexts) {
    struct {
        int mode;
        const char* text;
        bool expected;
    } cases[] = {
        {kAreaCodeMode, "", false},     {kAreaCodeMode, "2", true},
        {kAreaCodeMode, "212", true},   {kAreaCodeMode, "2a", false},
        {kAreaCodeMode, "2123", false}, {kAreaCodeMode, " 2", false},
        {kAreaStateMode, "", false},    {kAreaStateMode, "N1", true},
        {kAreaStateMode, "NYC", false}, {kAreaCityMode, "", true},
        {kAreaCityMode, nullptr, true}, {-1, "2", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, acceptsAreaSearch(c.mode, c.text))
            << "mode " << c.mode << " text " << (c.text ? c.text : "(null)");
    }
}

TEST(SearchAreaCodes, LongLinesAndFiles) {
    // A line far beyond 499 bytes is searched and listed whole.
    const std::string longLine = "907 AK " + std::string(3000, 'x') + "Tail";
    EXPECT_EQ(Lines{longLine}, search(kAreaCityMode, "TAIL", longLine + "\r\n" + kFourLines));

    // Only the first 28000 bytes count: neither the line they cut nor the
    // lines after it are seen.
    std::string file;
    for (int i = 0; i < 1399; ++i) file += "000 XX filler line\r\n";  // 20 bytes each
    file += "000 XX short\r\n";                                       // ends at 27994
    file += J + "\r\n" + kFourLines;
    EXPECT_EQ(1400u, search(kAreaCityMode, "", file).size()) << "lines within the limit";
    EXPECT_EQ(Lines{}, search(kAreaCityMode, "jersey", file)) << "line cut by the limit";

    // The search text counts with its first 260 bytes only.
    const std::string wanted = std::string(260, 'x') + "no such text";
    EXPECT_EQ(Lines{longLine}, search(kAreaCityMode, wanted.c_str(), longLine + "\n"));
}

// The shipped list: the format the search relies on, within the size limit,
// every code once, ascending, and found by its own code alone.
TEST(AreaFile, ShippedListIsWellFormed) {
#ifdef QUANTREL_SOURCE_DIR
    std::string path = QUANTREL_SOURCE_DIR "/data/area.txt";
#else
    std::string path = __FILE__;
    path = path.substr(0, path.rfind("tests/native/")) + "data/area.txt";
#endif
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(nullptr, f) << "cannot open " << path;
    std::string file;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) file.append(chunk, n);
    std::fclose(f);

    ASSERT_LT(file.size(), kAreaFileLimit);
    Lines all = search(kAreaCityMode, "", file);
    EXPECT_GT(all.size(), 300u);
    std::size_t bytes = 0;
    std::string previous;
    for (const std::string& line : all) {
        bytes += line.size() + 2;
        bool shape = line.size() >= 8 && line.size() < 499 && line[3] == ' ' && line[6] == ' ' &&
                     line[7] != ' ';
        for (std::size_t i = 0; i < line.size(); ++i) {
            unsigned char ch = static_cast<unsigned char>(line[i]);
            shape = shape && ch >= ' ' && ch <= '~' && (i > 2 || std::isdigit(ch)) &&
                    (i < 4 || i > 5 || std::isupper(ch));
        }
        EXPECT_TRUE(shape) << "line \"" << line << "\"";
        std::string code = line.substr(0, 3);
        EXPECT_LT(previous, code) << "order or repeat at " << line;
        previous = code;
        EXPECT_EQ(Lines{line}, search(kAreaCodeMode, code.c_str(), file)) << "search " << code;
    }
    EXPECT_EQ(file.size(), bytes) << "every line ends with CR LF";
}

}  // namespace
