// The calculators' computations: one table per computation, in the texts
// the screens show.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "calculators/areacodes/areacodes.h"
#include "calculators/computer/computer.h"
#include "calculators/date/date_calc.h"
#include "calculators/latlon/latlon.h"
#include "calculators/loan/loan.h"
#include "calculators/metric/metric.h"
#include "calculators/tip/tip.h"
#include "core/number_text.h"

using namespace std::string_literals;

namespace {

// A recompute's fields as "text|text|...", "-" for a field not written.
template <typename Result>
std::string shown(const Result& r) {
    std::string out;
    for (const auto& f : r.fields) out += (&f == r.fields ? "" : "|") + (f.write ? f.text : "-");
    return out;
}

// Texts written with "d" for the degree sign and "s" for the seconds mark.
std::string deg(std::string text) {
    for (char& ch : text) ch = ch == 'd' ? kDegreeSign : ch == 's' ? kSecondsMark : ch;
    return text;
}

// The five fields as "ascii|binary|octal|decimal|hex", "-" where not written.
std::string bases(int source, const char* text) {
    BaseConversion c = convertBases(source, text);
    std::string out;
    for (int id = IDC_COMPUTER_ASCII; id <= IDC_COMPUTER_HEXADECIMAL; ++id) {
        std::string field = "-";
        for (int i = 0; i < c.count; ++i)
            if (c.fields[i].controlId == id) field = c.fields[i].text;
        out += (id == IDC_COMPUTER_ASCII ? "" : "|") + field;
    }
    return out;
}

using Lines = std::vector<std::string>;

// What a key release lists: {"-"} when the text starts no search; the search
// runs over a copy of exactly the file's bytes, so that the sanitizers see any
// read past them.
Lines search(int mode, const char* text, const std::string& file) {
    std::vector<char> bytes(file.begin(), file.end());
    return acceptsAreaSearch(mode, text) ? searchAreaCodes(mode, text, bytes.data(), bytes.size()) : Lines{"-"};
}

// "yyyy-mm-dd hh:mm:ss.mmm" to a record, and back; the record's weekday is
// wrong on purpose: nothing may read it.
DateTime at(const char* text) {
    int v[7] = {};
    std::sscanf(text, "%d-%d-%d %d:%d:%d.%d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]);
    return DateTime{uint16_t(v[0]), uint16_t(v[1]), 9, uint16_t(v[2]), uint16_t(v[3]), uint16_t(v[4]),
                    uint16_t(v[5]), uint16_t(v[6])};
}

std::string show(const DateTime& t) {
    return formatText("%04u-%02u-%02u %02u:%02u:%02u.%03u", t.year, t.month, t.day, t.hour, t.minute, t.second,
                      t.millisecond);
}

}  // namespace

TEST(Number, ReadDecimal) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"1.5x", 1.5}, {" \t-1e2", -100}, {"3e+", 3},   {"0x1A", 0}, {"0x1p4", 0},
                 {"inf", 0},    {"nan", 0},        {"1e999", 0}, {".", 0},    {"", 0}};
    for (const auto& c : cases) EXPECT_EQ(c.value, readDecimal(c.text)) << c.text;
}

// Loan Payments and Tip Calculator: four texts read, six fields shown.
TEST(LoanAndTip, Recompute) {
    struct Row {
        const char* name;
        std::string in[4];  // loan: amount, interest, payment, months; tip: bill, percent, split, split amount
        int edited;         // the field, counted from 0
        const char* shown;
    };
    const Row loan[] = {
        // Amount|Interest|Payment|Months|Total Payments|Total Interest
        {"36 months at 6%", {"10000", "6", "", "36"}, 3, "10000.00|6.00|304.22|-|10951.90|951.90"},
        {"payment solves 36 months", {"10000", "6", "304.22", ""}, 2, "10000.00|6.00|-|36.00|10951.92|951.92"},
        {"empty months count as one", {"10000", "6", "", ""}, 0, "-|6.00|10050.00|1.00|10050.00|50.00"},
        {"zero rate", {"10000", "0", "", "10"}, 3, "10000.00|0.00|1000.00|-|10000.00|0.00"},
        {"12.5 months are 13", {"1000", "12", "", "12.5"}, 1, "1000.00|-|82.41|13.00|1071.39|71.39"},
        {"12.49 months are 12", {"1000", "12", "", "12.49"}, 1, "1000.00|-|88.85|12.00|1066.19|66.19"},
        {"15 characters read", {"000000000000001e5", "0", "", "1"}, 3, "1.00|0.00|1.00|-|1.00|0.00"},
        {"A x (1 + r) pays in one month", {"1000", "12", "1010", "7"}, 2, "1000.00|12.00|-|1.00|1010.00|10.00"},
        {"solve rounds to no month", {"1000", "12", "5000", "5"}, 2, "1000.00|12.00|-|||"},
        {"P = A x r never pays off", {"1000", "12", "10", "5"}, 2, "1000.00|12.00|-|||"},
        {"solve at zero rate", {"1000", "0", "100", "5"}, 2, "1000.00|0.00|-|||"},
        {"months beyond 32 bits", {"1000", "6", "", "1e10"}, 0, "-|6.00||2147483647.00||"},
    };
    const Row tip[] = {
        // Bill|Percent|Tip|Total|Split|Split Amount
        {"two people", {"50", "15", "2", "9"}, 0, "-|15.00|7.50|57.50|2|28.75"},
        {"rounded in the text only", {"84.37", "20", "3", "9"}, 0, "-|20.00|16.87|101.24|3|33.75"},
        {"no split keeps the split amount", {"40", "15", "", "12.34"}, 0, "-|15.00|6.00|46.00|0|12.34"},
        {"fractional split", {"10", "15", "2.5", "9"}, 4, "10.00|15.00|1.50|11.50|-|4.60"},
        {"typed tip does not feed", {"20", "10", "2", ""}, 2, "20.00|10.00|-|22.00|2|11.00"},
        {"split amount ignored under a split", {"30", "0", "3", "99"}, 5, "30.00|0.00|0.00|30.00|3|-"},
        {"15 characters read", {"000000000000001e5", "", "", ""}, 1, "1.00|-|0.00|1.00|0|0.00"},
        {"split beyond 32 bits", {"100", "0", "-1e10", ""}, 0, "-|0.00|0.00|100.00|-2147483648|-0.00"},
        {"share beyond the largest number", {"100", "0", "1e-320", ""}, 0, "-|0.00|0.00|100.00|0|"},
    };
    for (const Row& c : loan)
        EXPECT_EQ(c.shown, shown(recomputeLoan({c.in[0], c.in[1], c.in[2], c.in[3]}, kLoanValueFields[c.edited])))
            << c.name;
    for (const Row& c : tip)
        EXPECT_EQ(c.shown, shown(recomputeTip({c.in[0], c.in[1], c.in[2], c.in[3]}, kTipValueFields[c.edited])))
            << c.name;
}

TEST(Metric, Recompute) {
    const std::string pad(258, ' ');
    const struct {
        const char* name;
        int category, units[4], edited;  // the edited row, or -1 for the first unit box
        std::string typed;
        const char* shown;
    } cases[] = {
        {"boiling water", kMetricTemperature, {0, 1, 2, 3}, 0, "100", "-|212.000000|373.150000|80.000000"},
        {"body temperature", kMetricTemperature, {0, 1, 2, 3}, 1, "98.6", "37.000000|-|310.150000|29.600000"},
        {"Kelvin and Reaumur", kMetricTemperature, {3, 1, 2, 0}, 2, "0", "-218.520000|-459.670000|-|-273.150000"},
        {"a foot of inches", kMetricLength, {0, 1, 2, 3}, 0, "12", "-|1.000000|0.333333|0.000189"},
        {"a mile of yards", kMetricLength, {2, 3, 6, 7}, 0, "1760", "-|1.000000|1609.344000|1.609344"},
        {"an acre of square yards", kMetricArea, {2, 3, 1, 0}, 0, "4840", "-|0.999965|43560.020839|6272251.419715"},
        {"a hectare", kMetricArea, {6, 5, 4, 3}, 0, "1", "-|10000.000000|100000000.000000|2.470966"},
        {"a long ton", kMetricWeight, {0, 1, 2, 3}, 3, "1", "35840.000032|2240.000000|1.120000|-"},
        {"a ton of pounds", kMetricWeight, {1, 0, 2, 5}, 0, "2000", "-|32000.000028|1.000000|907.184740"},
        {"a U.S. gallon", kMetricUsLiquid, {0, 1, 2, 3}, 3, "1", "128.001353|7.998732|3.999789|-"},
        {"U.S. litres", kMetricUsLiquid, {3, 5, 4, 3}, 0, "1", "-|3.785000|3785.000000|1.000000"},
        {"a British gallon", kMetricBritishLiquid, {0, 1, 2, 3}, 3, "1", "159.996621|7.999296|4.000000|-"},
        {"British litres", kMetricBritishLiquid, {3, 5, 4, 3}, 0, "1", "-|4.546000|4546.000000|1.000000"},
        {"no selection gives 0", kMetricArea, {6, -1, 7, 3}, 0, "1", "-|0.000000|0.000000|2.470966"},
        {"edited row without selection", kMetricLength, {-1, 1, 2, 3}, 0, "1", "-|0.000000|0.000000|0.000000"},
        {"category beyond the six", 6, {0, 1, 2, 3}, 1, "5", "0.000000|-|0.000000|0.000000"},
        {"beyond the largest number", kMetricArea, {6, 0, 5, 3}, 0, "1e305", "-|||"},
        {"259 characters read", kMetricLength, {0, 1, 2, 3}, 0, pad + "79", "-|0.583333|0.194444|0.000110"},
        {"a unit box is no value field", kMetricLength, {0, 1, 2, 3}, -1, "3", "-|-|-|-"},
    };
    for (const auto& c : cases) {
        const int edited = c.edited < 0 ? IDC_METRIC_UNIT_1 : kMetricRows[c.edited].valueField;
        EXPECT_EQ(c.shown, shown(recomputeMetric(c.category, c.units, edited, c.typed))) << c.name;
    }
    // The unit lists end where their names do.
    EXPECT_STREQ("Reaumur", metricUnitName(kMetricTemperature, metricUnitCount(kMetricTemperature) - 1));
    EXPECT_EQ(nullptr, metricUnitName(kMetricTemperature, metricUnitCount(kMetricTemperature)));
}

// A text typed into either coordinate, shown in its two other notations. Each
// part keeps its sign; parts that cancel leave the number after the last mark;
// a later part replaces an earlier one; the seconds mark ends the text.
TEST(LatLon, Recompute) {
    const std::string pad(257, ' ');
    const struct {
        std::string typed;
        int edited;  // 0 degrees, 1 minutes, 2 seconds
        const char* shown;
    } cases[] = {
        {"45.5", 0, "-|45d30.00'|45d30'0.00s"},
        {"45d30'15s", 1, "45.5042d|-|45d30'15.00s"},
        {"45d30.5'", 2, "45.5083d|45d30.50'|-"},
        {"-45.5", 0, "-|-45d-30.00'|-45d-30'0.00s"},
        {"-45d30'", 2, "-44.5000d|-44d-30.00'|-"},
        {"1d-60'7", 0, "-|7d0.00'|7d0'0.00s"},
        {"45 30", 0, "-|45d0.00'|45d0'0.00s"},
        {"10d20d", 1, "20.0000d|-|20d0'0.00s"},
        {"45d30'15s12d", 0, "-|45d30.25'|45d30'15.00s"},
        {"abc xyz", 0, "-|0d0.00'|0d0'0.00s"},
        {"45.99999", 0, "-|45d60.00'|45d59'59.96s"},
        {"-0.5", 0, "-|0d-30.00'|0d-30'0.00s"},
        {"-2147483648.5", 0, "-|-2147483648d-30.00'|-2147483648d-30'0.00s"},
        {"2147483648d", 1, "2147483648.0000d|-|"},
        {pad + "4'", 0, "-|0d4.00'|0d4'0.00s"},
        {" " + pad + "4'", 0, "-|4d0.00'|4d0'0.00s"},
    };
    for (const int* group : {&kLatLonValueFields[0], &kLatLonValueFields[3]})
        for (const auto& c : cases) {
            LatLonResult r = recomputeLatLon(group[c.edited], deg(c.typed));
            EXPECT_EQ(deg(c.shown), shown(r)) << c.typed;
            for (int n = 0; n < 3; ++n) EXPECT_EQ(group[n], r.fields[n].id) << c.typed;
        }
    EXPECT_EQ("-|-|-", shown(recomputeLatLon(IDC_LATITUDE_HEADING, "45")));
}

TEST(Computer, Bases) {
    const std::string ones(32, '1'), top = "1" + std::string(31, '0');
    const struct {
        int source;
        const char* text;
        std::string shown;
    } cases[] = {
        {IDC_COMPUTER_ASCII, "AB", " A|1000001|101|65|41"},
        {IDC_COMPUTER_ASCII, "", " |0|0|0|0"},
        {IDC_COMPUTER_ASCII, "\xe9", " \xe9|11101001|351|233|e9"},
        {IDC_COMPUTER_HEXADECIMAL, "0xFF", " \xff|11111111|377|255|-"},
        {IDC_COMPUTER_HEXADECIMAL, "0xg", " |0|0|0|-"},
        {IDC_COMPUTER_HEXADECIMAL, "80000000", " |" + top + "|20000000000|-2147483648|-"},
        {IDC_COMPUTER_HEXADECIMAL, "123456789a", " \x9a|110100010101100111100010011010|6425474232|878082202|-"},
        {IDC_COMPUTER_BINARY, "-10", " \xfe|-|37777777776|-2|fffffffe"},
        {IDC_COMPUTER_BINARY, "12", " \x01|-|1|1|1"},
        {IDC_COMPUTER_OCTAL, nullptr, " |0|-|0|0"},
        {IDC_COMPUTER_DECIMAL, " \t+66x", " B|1000010|102|-|42"},
        {IDC_COMPUTER_DECIMAL, "256", " |100000000|400|-|100"},
        {IDC_COMPUTER_DECIMAL, "4294967295", " \xff|" + ones + "|37777777777|-|ffffffff"},
        {IDC_COMPUTER_DECIMAL, "4294967361", " A|1000001|101|-|41"},
        {1017, "1", "-|-|-|-|-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, bases(c.source, c.text)) << c.source << " " << (c.text ? c.text : "");
    const DataTypeRow* row = dataTypeRow(1);
    ASSERT_NE(nullptr, row);
    EXPECT_EQ("Character 1 -127 127 255"s,
              std::string(row->name) + " " + row->size + " " + row->min + " " + row->max + " " + row->unsignedMax);
    EXPECT_EQ(nullptr, dataTypeRow(4));
}

TEST(AreaCodes, Search) {
    const std::string file = "201 NJ Jersey City\r\n212 NY New York\r\n315 NY Syracuse\r\n415 CA San Francisco\r\n";
    const std::string J = "201 NJ Jersey City", N = "212 NY New York", S = "315 NY Syracuse",
                      F = "415 CA San Francisco", zero = J + "\r\n" + '\0' + N + "\r\n", M = "514 QC Montr\xe9";
    const struct {
        const char* name;
        int mode;
        const char* text;
        std::string file;
        Lines found;
    } cases[] = {
        {"code 2", kAreaCodeMode, "2", file, {J, N}},
        {"code 15", kAreaCodeMode, "15", file, {S, F}},
        {"code: digits only", kAreaCodeMode, "2a", file, {"-"}},
        {"code: three at most", kAreaCodeMode, "2123", file, {"-"}},
        {"code: one at least", kAreaCodeMode, "", file, {"-"}},
        {"state ny", kAreaStateMode, "ny", file, {N, S}},
        {"state: bytes 4 and 5 only", kAreaStateMode, "Ne", file, {}},
        {"state: two at most", kAreaStateMode, "NYC", file, {"-"}},
        {"city san", kAreaCityMode, "san", file, {F}},
        {"city: empty lists all", kAreaCityMode, "", file, {J, N, S, F}},
        {"city: no text", kAreaCityMode, nullptr, file, {}},
        {"no mode", -1, "", file, {"-"}},
        {"only ASCII upper-cased", kAreaCityMode, "montr\xe9", M + "\r\n514 QC MONTR\xc9\r\n", {M}},
        {"LF alone keeps the last character", kAreaCityMode, "york", "212 NY New York\n", {N}},
        {"CR inside a line stays", kAreaCityMode, "", "201 NJ a\rb\r\n", {"201 NJ a\rb"}},
        {"unended last line", kAreaCityMode, "", "201 NJ Jersey City\r\n212 NY New York", {J}},
        {"blank lines are lines", kAreaCityMode, "", "\r\n\n", {"", ""}},
        {"zero byte ends the text", kAreaCityMode, "", zero, {J}},
        {"state: five bytes and CR", kAreaStateMode, "N", "201 N\r\n", {}},
        {"state: five bytes", kAreaStateMode, "N", "201 N\n", {}},
        {"state: six bytes", kAreaStateMode, "J", "201 NJ\n", {"201 NJ"}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.found, search(c.mode, c.text, c.file)) << c.name;
    EXPECT_EQ(Lines{}, searchAreaCodes(kAreaCityMode, "", nullptr, 100)) << "no file bytes";

    // A line far beyond 499 bytes is listed whole; the search text counts
    // with its first 260 bytes only.
    const std::string longLine = "907 AK " + std::string(3000, 'x');
    EXPECT_EQ(Lines{longLine}, search(kAreaCityMode, (std::string(260, 'x') + "no").c_str(), longLine + "\n" + file));
    // Only the first 28000 bytes count: the line they cut is not seen.
    std::string big;
    while (big.size() < 27980) big += "000 XX filler line\r\n";  // 20 bytes each
    big += "000 XX short\r\n" + file;
    EXPECT_EQ(1400u, search(kAreaCityMode, "", big).size());
    EXPECT_EQ(Lines{}, search(kAreaCityMode, "jersey", big));
}

// Days from start to end, time of day included, truncated toward zero.
TEST(Date, DaysBetween) {
    const struct {
        const char *start, *end, *days;
    } cases[] = {{"2004-01-01 8", "2004-03-01 8", "60 days"}, {"2004-01-10 10", "2004-01-05 10:00:01", "-4 days"},
                 {"2004-01-10 10", "2004-01-11 9", "0 days"}, {"2100-02-28", "2100-03-01", "1 days"},
                 {"1950-01-01", "2050-01-01", "36525 days"},  {"9999-12-31", "1601-01-01", "-3067670 days"},
                 {"2004-01-01", "2004-02-30", "0 days"}};
    for (const auto& c : cases) {
        DatePickerChange change = datePickerChanged(at(c.start), at(c.end));
        EXPECT_EQ(c.days, change.daysText) << c.start << " to " << c.end;
        EXPECT_EQ(-daysBetween(at(c.end), at(c.start)), daysBetween(at(c.start), at(c.end))) << c.start;
        EXPECT_EQ(dateFacts(at(c.end)).dayInYear, change.endFacts.dayInYear) << c.end;
    }
}

// The week turns on Sunday and starts at 2 when 31 December or 1 January is
// a Sunday; centuries; a record that is no date gives no facts.
TEST(Date, Facts) {
    const struct {
        const char *date, *facts;  // weekday, day in year, week in year
    } cases[] = {{"2004-01-03", "Saturday 3 1"},
                 {"2004-01-04", "Sunday 4 2"},
                 {"2007-01-01", "Monday 1 2"},
                 {"2006-01-01", "Sunday 1 2"},
                 {"2100-03-01", "Monday 60 10"},
                 {"2000-03-01", "Wednesday 61 10"},
                 {"2006-12-31", "Sunday 365 54"},
                 {"1776-07-04", "Thursday 186 28"},
                 {"9999-12-31", "Friday 365 53"},
                 {"2100-02-29", "  "},
                 {"2004-04-31", "  "},
                 {"2004-13-01", "  "},
                 {"1600-12-31", "  "},
                 {"2004-01-01 24", "  "},
                 {"2004-01-01 0:0:0.1000", "  "}};
    for (const auto& c : cases) {
        DateFacts f = dateFacts(at(c.date));
        EXPECT_EQ(c.facts, f.weekday + " " + f.dayInYear + " " + f.weekInYear) << c.date;
    }
}

// The days field typed: the end date it sets (none beyond 24855 days, or
// outside the picker's dates), and the facts of the end shown then.
TEST(Date, DaysTyped) {
    const struct {
        const char *start, *typed, *end;  // and the end's weekday
    } cases[] = {
        {"2004-01-31 10:20:30.400", "30", "2004-03-01 10:20:30.400 Monday"},
        {"2004-01-31 10:20:30.400", "12abc", "2004-02-12 10:20:30.400 Thursday"},
        {"2004-01-31 10:20:30.400", "x", "2004-01-31 10:20:30.400 Saturday"},
        {"2004-01-31 10:20:30.400", " \t+000000000030", "2004-02-03 10:20:30.400 Tuesday"},  // 14 characters read
        {"2004-01-01", "24855", "2072-01-19 00:00:00.000 Tuesday"},
        {"2004-01-01", "24856", "kept Sunday"},
        {"2004-01-01", "-24856", "kept Sunday"},
        {"2004-01-01", "4294967326", "kept Sunday"},
        {"2100-02-28", "1", "2100-03-01 00:00:00.000 Monday"},
        {"2000-02-28", "1", "2000-02-29 00:00:00.000 Tuesday"},
        {"1752-09-20", "-6", "1752-09-14 00:00:00.000 Thursday"},
        {"1752-09-20", "-7", "kept Sunday"},
        {"9999-12-30", "1", "9999-12-31 00:00:00.000 Friday"},
        {"9999-12-30", "2", "kept Sunday"},
        {"2004-02-30", "1", "kept Sunday"},
    };
    for (const auto& c : cases) {
        DaysTyped t = daysTyped(c.typed, at(c.start), at("2004-06-06 10:20:30.400"));
        EXPECT_EQ(c.end, (t.setEnd ? show(t.newEnd) : "kept") + " " + t.endFacts.weekday) << c.start << " " << c.typed;
        EXPECT_EQ(dateFacts(at(c.start)).weekday, t.startFacts.weekday) << c.start;
    }
}
