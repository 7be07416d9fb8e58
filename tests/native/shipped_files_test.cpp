// The files that ship beside the program: what the program opens in them is
// there, and they read with the program's own readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "calculators/areacodes/areacodes.h"
#include "currency/core/rates_format.h"

namespace {

std::string readSource(const std::string& path) {
    std::ifstream file(QUANTREL_SOURCE_DIR "/" + path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> matches(const std::string& text, const char* pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (std::sregex_iterator i(text.begin(), text.end(), re), end; i != end; ++i) found.push_back((*i)[1]);
    return found;
}

}  // namespace

// The About box's two topics and every link inside the help file lead to a
// name anchor, which every help viewer follows.
TEST(ShippedFiles, HelpTopicsAndLinksExist) {
    const std::string html = readSource("data/OVRQuantrel.htm");
    std::vector<std::string> topics = matches(readSource("shell/about_box.cpp"), "OVRQuantrel\\.htm#(\\w+)");
    EXPECT_EQ(2u, topics.size());
    for (const std::string& link : matches(html, "href=\"#([^\"]*)\"")) topics.push_back(link);
    for (const std::string& topic : topics) EXPECT_NE(std::string::npos, html.find("name=\"" + topic + "\"")) << topic;
}

// rates.txt saved as loaded gives the same bytes and the zero byte.
TEST(ShippedFiles, RatesReadWhole) {
    const std::string bytes = readSource("data/rates.txt");
    CurrencyTable table = {};
    parseRates(bytes.data(), bytes.size(), table);
    for (int i = 0; i < table.count; ++i) EXPECT_GT(table.entries[i].rate, 0.0) << table.entries[i].name;
    EXPECT_EQ(bytes + '\0', composeRates(table));
}

// area.txt: within the read limit, "ddd SS City" lines ended by CR LF, every
// code once and ascending.
TEST(ShippedFiles, AreaCodesWellFormed) {
    const std::string file = readSource("data/area.txt");
    EXPECT_LT(file.size(), kAreaFileLimit);
    const std::regex shape("[0-9]{3} [A-Z]{2} [!-~][ -~]*\r\n");
    std::string previous;
    size_t lines = 0;
    for (size_t at = 0, end; at < file.size(); at = end + 1, ++lines) {
        end = std::min(file.find('\n', at), file.size() - 1);
        EXPECT_TRUE(std::regex_match(file.begin() + at, file.begin() + end + 1, shape)) << "line at byte " << at;
        EXPECT_LT(previous, file.substr(at, 3)) << "codes ascending, at byte " << at;
        previous = file.substr(at, 3);
    }
    EXPECT_GT(lines, 300u);
}
