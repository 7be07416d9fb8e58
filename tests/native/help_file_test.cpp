// The help file that ships beside the program: the topics the About box opens,
// a section for each calculator, links that lead somewhere, and the same web
// address as the program's string resource.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace {

std::string readSource(const std::string& relative) {
    std::ifstream file(std::string(QUANTREL_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string helpFile() { return readSource("data/OVRQuantrel.htm"); }

// Names a fragment can lead to: name="..." and id="..." attributes.
std::set<std::string> anchors(const std::string& html) {
    std::set<std::string> found;
    static const std::regex attribute("\\b(?:name|id)=\"([^\"]+)\"");
    for (std::sregex_iterator i(html.begin(), html.end(), attribute), end; i != end; ++i) found.insert((*i)[1]);
    return found;
}

std::string withoutTags(const std::string& html) { return std::regex_replace(html, std::regex("<[^>]*>"), ""); }

// The texts of the section headings, tags removed.
std::set<std::string> headings(const std::string& html) {
    std::set<std::string> found;
    static const std::regex heading("<h2[^>]*>([\\s\\S]*?)</h2>");
    for (std::sregex_iterator i(html.begin(), html.end(), heading), end; i != end; ++i)
        found.insert(withoutTags((*i)[1]));
    return found;
}

// From the heading that holds the anchor to the next heading.
std::string section(const std::string& html, const std::string& anchor) {
    size_t at = html.find("name=\"" + anchor + "\"");
    if (at == std::string::npos) return "";
    size_t start = html.rfind("<h2", at);
    size_t next = html.find("<h2", at);
    return html.substr(start, next == std::string::npos ? std::string::npos : next - start);
}

TEST(HelpFile, HasTheTopicsTheAboutBoxOpens) {
    std::string html = helpFile();
    ASSERT_FALSE(html.empty()) << "data/OVRQuantrel.htm";
    std::set<std::string> names = anchors(html);
    for (const char* topic : {"contact_us", "trademarks_copyrights"}) {
        EXPECT_EQ(1u, names.count(topic)) << "topic " << topic;
        EXPECT_TRUE(html.find(std::string("name=\"") + topic + "\"") != std::string::npos)
            << "topic " << topic << " as a name anchor, which every help viewer follows";
    }
}

TEST(HelpFile, HasASectionPerCalculatorAndForTheTodayItem) {
    std::set<std::string> titles = headings(helpFile());
    for (const char* title : {"Area Codes", "Currency Exchange", "Edit Currency Value", "Loan Payments",
                              "Tip Calculator", "Computer", "Metric Conversion", "Date Calculator",
                              "Lat/Lon Calculator", "Zentavo on the Today screen", "Contact us",
                              "Trademarks and copyrights"}) {
        EXPECT_EQ(1u, titles.count(title)) << "section heading \"" << title << "\"";
    }
}

TEST(HelpFile, CurrencySectionExplainsEveryOption) {
    std::string text = withoutTags(section(helpFile(), "currency_exchange"));
    for (const char* option : {"Edit ...", "Currency Sync.", "Auto Update", "Zentavo"})
        EXPECT_TRUE(text.find(option) != std::string::npos) << "option " << option;
}

TEST(HelpFile, EveryLinkInsideTheFileLeadsToAnAnchor) {
    std::string html = helpFile();
    std::set<std::string> names = anchors(html);
    static const std::regex link("href=\"#([^\"]*)\"");
    int links = 0;
    for (std::sregex_iterator i(html.begin(), html.end(), link), end; i != end; ++i, ++links)
        EXPECT_EQ(1u, names.count((*i)[1])) << "link to #" << (*i)[1];
    EXPECT_GE(links, 14) << "a contents list at the top";
}

TEST(HelpFile, ContactSectionGivesTheProgramsWebAddress) {
    std::smatch match;
    std::string rc = readSource("resources/quantrel/Quantrel.rc");
    ASSERT_TRUE(std::regex_search(rc, match, std::regex("IDS_WEB_ADDRESS\\s+\"([^\"]+)\"")))
        << "IDS_WEB_ADDRESS in Quantrel.rc";
    const std::string address = match[1];
    EXPECT_EQ(0u, address.find("http://")) << address;
    std::string contact = section(helpFile(), "contact_us");
    EXPECT_TRUE(contact.find("href=\"" + address + "\"") != std::string::npos) << "link to " << address;
    EXPECT_TRUE(withoutTags(contact).find(address) != std::string::npos) << "address shown as text: " << address;
}

// The file declares ISO 8859-1 and writes every other character as an entity,
// so that any viewer shows it alike.
TEST(HelpFile, IsPlainAsciiText) {
    std::string html = helpFile();
    for (size_t i = 0; i < html.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(html[i]);
        ASSERT_TRUE(c < 0x80 && (c >= 0x20 || c == '\n' || c == '\r' || c == '\t'))
            << "byte " << static_cast<int>(c) << " at offset " << i;
    }
}

}  // namespace
