// The calculators' computations, in the texts the screens show.
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

namespace {

// A row: what a computation shows, what it should show, and why if not plain.
struct Row {
    std::string got, want;
    const char* why = "";
};

// A recompute's fields as "text|text|...", "-" for a field not written.
template <typename Result>
std::string shown(const Result& r) {
    std::string out;
    for (const auto& f : r.fields) out += (&f == r.fields ? "" : "|") + (f.write ? f.text : "-");
    return out;
}

// Loan Payments: Amount|Interest|Payment|Months|Total Payments|Total Interest.
// Tip Calculator: Bill|Percent|Tip|Total|Split|Split Amount, from bill,
// percent, split and split amount. The edited field is counted from 0; for
// Metric Conversion the edited row, or -1 for the first unit box.
std::string loan(const LoanTexts& texts, int edited) { return shown(recomputeLoan(texts, kLoanValueFields[edited])); }
std::string tip(const TipTexts& texts, int edited) { return shown(recomputeTip(texts, kTipValueFields[edited])); }
std::string metric(int category, std::vector<int> units, int edited, const std::string& typed) {
    const int field = edited < 0 ? IDC_METRIC_UNIT_1 : kMetricRows[edited].valueField;
    return shown(recomputeMetric(category, units.data(), field, typed));
}

// A text typed into a field of either coordinate (0 degrees, 1 minutes, 2
// seconds), and the coordinate's three fields in order, written with "d" for
// the degree sign and "s" for the seconds mark. Each part keeps its sign; parts
// that cancel leave the number after the last mark; a later part replaces an
// earlier one; the seconds mark ends the text.
std::string latLon(int edited, std::string typed) {
    for (char& ch : typed) ch = ch == 'd' ? kDegreeSign : ch == 's' ? kSecondsMark : ch;
    std::string out[2];
    for (int first : {0, 3}) {
        const LatLonResult r = recomputeLatLon(kLatLonValueFields[first + edited], typed);
        for (int n = 0; n < 3; ++n) EXPECT_EQ(kLatLonValueFields[first + n], r.fields[n].id) << typed;
        out[first / 3] = shown(r);
        for (char& ch : out[first / 3]) ch = ch == kDegreeSign ? 'd' : ch == kSecondsMark ? 's' : ch;
    }
    EXPECT_EQ(out[0], out[1]) << typed;
    return out[0];
}

// The five fields as "ascii|binary|octal|decimal|hex", "-" where not written.
std::string bases(int source, const char* text) {
    BaseConversion c = convertBases(source, text);
    std::string out[5] = {"-", "-", "-", "-", "-"};
    for (int i = 0; i < c.count; ++i) out[c.fields[i].controlId - IDC_COMPUTER_ASCII] = c.fields[i].text;
    return out[0] + "|" + out[1] + "|" + out[2] + "|" + out[3] + "|" + out[4];
}

// The lines a key release lists as "line|line|...", "-" when the text starts no
// search. The search runs over a copy of exactly the file's bytes, so that the
// sanitizers see any read past them; which lines a file holds is the fuzz
// target's to prove.
const char kAreaFile[] = "201 NJ Jersey City\r\n212 NY New York\r\n315 NY Syracuse\r\n415 CA San Francisco\r\n";
std::string area(int mode, const char* text, const std::string& file = kAreaFile) {
    if (!acceptsAreaSearch(mode, text)) return "-";
    const std::vector<char> bytes(file.begin(), file.end());
    std::string out;
    for (const std::string& line : searchAreaCodes(mode, text, bytes.data(), bytes.size())) out += "|" + line;
    return out.empty() ? out : out.substr(1);
}

// "yyyy-mm-dd hh:mm:ss.mmm" to a record; its weekday is wrong on purpose:
// nothing may read it.
DateTime at(const char* text) {
    int v[7] = {};
    std::sscanf(text, "%d-%d-%d %d:%d:%d.%d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]);
    return DateTime{uint16_t(v[0]), uint16_t(v[1]), 9, uint16_t(v[2]), uint16_t(v[3]), uint16_t(v[4]),
                    uint16_t(v[5]), uint16_t(v[6])};
}

// A picker changed: the days between them, time of day included, truncated
// toward zero, and the end's weekday, day and week in the year. The week turns
// on Sunday and starts at 2 when 31 December or 1 January is a Sunday; a
// record that is no date counts 0 days and has no facts.
std::string picked(const char* start, const char* end) {
    const DatePickerChange c = datePickerChanged(at(start), at(end));
    return c.daysText + " " + c.endFacts.weekday + " " + c.endFacts.dayInYear + " " + c.endFacts.weekInYear;
}

// Days typed with the end picker at 2004-06-06: the end date set ("kept" for
// none: beyond 24855 days or outside the picker's dates) and the weekday of the
// end shown then; the start's facts stay its own.
std::string typed(const char* start, const char* days) {
    const DaysTyped t = daysTyped(days, at(start), at("2004-06-06 10:20:30.400"));
    EXPECT_EQ(dateFacts(at(start)).weekday, t.startFacts.weekday) << start;
    if (!t.setEnd) return "kept " + t.endFacts.weekday;
    const DateTime& e = t.newEnd;
    return formatText("%04u-%02u-%02u %02u:%02u:%02u.%03u %s", e.year, e.month, e.day, e.hour, e.minute, e.second,
                      e.millisecond, t.endFacts.weekday.c_str());
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

// What each calculator shows.
TEST(Calculators, Fields) {
    const std::string pad(257, ' '), top = "1" + std::string(31, '0'), longLine = "907 AK " + std::string(3000, 'x');
    const Row rows[] = {
        {loan({"10000", "6", "", "36"}, 3), "10000.00|6.00|304.22|-|10951.90|951.90"},
        {loan({"10000", "6", "304.22", ""}, 2), "10000.00|6.00|-|36.00|10951.92|951.92", "payment solves months"},
        {loan({"10000", "6", "", ""}, 0), "-|6.00|10050.00|1.00|10050.00|50.00", "empty months count as one"},
        {loan({"10000", "0", "", "10"}, 3), "10000.00|0.00|1000.00|-|10000.00|0.00", "zero rate"},
        {loan({"1000", "12", "", "12.5"}, 1), "1000.00|-|82.41|13.00|1071.39|71.39", "12.5 months are 13"},
        {loan({"1000", "12", "", "12.49"}, 1), "1000.00|-|88.85|12.00|1066.19|66.19", "12.49 months are 12"},
        {loan({"000000000000001e5", "0", "", "1"}, 3), "1.00|0.00|1.00|-|1.00|0.00", "15 characters read"},
        {loan({"1000", "12", "1010", "7"}, 2), "1000.00|12.00|-|1.00|1010.00|10.00", "A x (1 + r) pays in a month"},
        {loan({"1000", "12", "5000", "5"}, 2), "1000.00|12.00|-|||", "solve rounds to no month"},
        {loan({"1000", "12", "10", "5"}, 2), "1000.00|12.00|-|||", "P = A x r never pays off"},
        {loan({"1000", "0", "100", "5"}, 2), "1000.00|0.00|-|||", "solve at zero rate"},
        {loan({"1000", "6", "", "1e10"}, 0), "-|6.00||2147483647.00||", "months beyond 32 bits"},
        {tip({"84.37", "20", "3", "9"}, 0), "-|20.00|16.87|101.24|3|33.75", "rounded in the text only"},
        {tip({"40", "15", "", "12.34"}, 0), "-|15.00|6.00|46.00|0|12.34", "no split keeps the split amount"},
        {tip({"10", "15", "2.5", "9"}, 4), "10.00|15.00|1.50|11.50|-|4.60", "fractional split"},
        {tip({"20", "10", "2", ""}, 2), "20.00|10.00|-|22.00|2|11.00", "typed tip does not feed"},
        {tip({"30", "0", "3", "99"}, 5), "30.00|0.00|0.00|30.00|3|-", "split amount ignored under a split"},
        {tip({"000000000000001e5", "", "", ""}, 1), "1.00|-|0.00|1.00|0|0.00", "15 characters read"},
        {tip({"100", "0", "-1e10", ""}, 0), "-|0.00|0.00|100.00|-2147483648|-0.00", "split beyond 32 bits"},
        {tip({"100", "0", "1e-320", ""}, 0), "-|0.00|0.00|100.00|0|", "share beyond the largest number"},
        {metric(kMetricTemperature, {0, 1, 2, 3}, 0, "100"), "-|212.000000|373.150000|80.000000"},
        {metric(kMetricTemperature, {0, 1, 2, 3}, 1, "98.6"), "37.000000|-|310.150000|29.600000"},
        {metric(kMetricTemperature, {3, 1, 2, 0}, 2, "0"), "-218.520000|-459.670000|-|-273.150000"},
        {metric(kMetricLength, {0, 1, 2, 3}, 0, "12"), "-|1.000000|0.333333|0.000189"},
        {metric(kMetricLength, {2, 3, 6, 7}, 0, "1760"), "-|1.000000|1609.344000|1.609344"},
        {metric(kMetricArea, {2, 3, 1, 0}, 0, "4840"), "-|0.999965|43560.020839|6272251.419715"},
        {metric(kMetricArea, {6, 5, 4, 3}, 0, "1"), "-|10000.000000|100000000.000000|2.470966"},
        {metric(kMetricWeight, {0, 1, 2, 3}, 3, "1"), "35840.000032|2240.000000|1.120000|-"},
        {metric(kMetricWeight, {1, 0, 2, 5}, 0, "2000"), "-|32000.000028|1.000000|907.184740"},
        {metric(kMetricUsLiquid, {0, 1, 2, 3}, 3, "1"), "128.001353|7.998732|3.999789|-"},
        {metric(kMetricUsLiquid, {3, 5, 4, 3}, 0, "1"), "-|3.785000|3785.000000|1.000000"},
        {metric(kMetricBritishLiquid, {0, 1, 2, 3}, 3, "1"), "159.996621|7.999296|4.000000|-"},
        {metric(kMetricBritishLiquid, {3, 5, 4, 3}, 0, "1"), "-|4.546000|4546.000000|1.000000"},
        {metric(kMetricArea, {6, -1, 7, 3}, 0, "1"), "-|0.000000|0.000000|2.470966", "no selection gives 0"},
        {metric(kMetricLength, {-1, 1, 2, 3}, 0, "1"), "-|0.000000|0.000000|0.000000", "edited row unselected"},
        {metric(6, {0, 1, 2, 3}, 1, "5"), "0.000000|-|0.000000|0.000000", "category beyond the six"},
        {metric(kMetricArea, {6, 0, 5, 3}, 0, "1e305"), "-|||", "beyond the largest number"},
        {metric(kMetricLength, {0, 1, 2, 3}, 0, " " + pad + "79"), "-|0.583333|0.194444|0.000110",
         "259 characters read"},
        {metric(kMetricLength, {0, 1, 2, 3}, -1, "3"), "-|-|-|-", "a unit box is no value field"},
        {latLon(0, "45.5"), "-|45d30.00'|45d30'0.00s"},
        {latLon(1, "45d30'15s"), "45.5042d|-|45d30'15.00s"},
        {latLon(2, "45d30.5'"), "45.5083d|45d30.50'|-"},
        {latLon(2, "-45d30'"), "-44.5000d|-44d-30.00'|-"},
        {latLon(0, "1d-60'7"), "-|7d0.00'|7d0'0.00s"},
        {latLon(0, "45 30"), "-|45d0.00'|45d0'0.00s"},
        {latLon(1, "10d20d"), "20.0000d|-|20d0'0.00s"},
        {latLon(0, "45d30'15s12d"), "-|45d30.25'|45d30'15.00s"},
        {latLon(0, "abc xyz"), "-|0d0.00'|0d0'0.00s"},
        {latLon(0, "45.99999"), "-|45d60.00'|45d59'59.96s"},
        {latLon(0, "-0.5"), "-|0d-30.00'|0d-30'0.00s"},
        {latLon(0, "-2147483648.5"), "-|-2147483648d-30.00'|-2147483648d-30'0.00s"},
        {latLon(1, "2147483648d"), "2147483648.0000d|-|"},
        {latLon(0, pad + "4'"), "-|0d4.00'|0d4'0.00s", "259 characters read"},
        {latLon(0, " " + pad + "4'"), "-|4d0.00'|4d0'0.00s", "259 characters read"},
        {shown(recomputeLatLon(IDC_LATITUDE_HEADING, "45")), "-|-|-", "a heading is no value field"},
        {bases(IDC_COMPUTER_ASCII, "AB"), " A|1000001|101|65|41"},
        {bases(IDC_COMPUTER_ASCII, ""), " |0|0|0|0"},
        {bases(IDC_COMPUTER_ASCII, "\xe9"), " \xe9|11101001|351|233|e9"},
        {bases(IDC_COMPUTER_HEXADECIMAL, "0xFF"), " \xff|11111111|377|255|-"},
        {bases(IDC_COMPUTER_HEXADECIMAL, "0xg"), " |0|0|0|-"},
        {bases(IDC_COMPUTER_HEXADECIMAL, "80000000"), " |" + top + "|20000000000|-2147483648|-"},
        {bases(IDC_COMPUTER_HEXADECIMAL, "123456789a"), " \x9a|110100010101100111100010011010|6425474232|878082202|-"},
        {bases(IDC_COMPUTER_BINARY, "-10"), " \xfe|-|37777777776|-2|fffffffe"},
        {bases(IDC_COMPUTER_OCTAL, nullptr), " |0|-|0|0"},
        {bases(IDC_COMPUTER_DECIMAL, " \t+66x"), " B|1000010|102|-|42"},
        {bases(1017, "1"), "-|-|-|-|-"},
        {area(kAreaCodeMode, "15"), "315 NY Syracuse|415 CA San Francisco"},
        {area(kAreaCodeMode, "2a"), "-", "code: digits only"},
        {area(kAreaCodeMode, "2123"), "-", "code: three at most"},
        {area(kAreaCodeMode, ""), "-", "code: one at least"},
        {area(kAreaStateMode, "ny"), "212 NY New York|315 NY Syracuse"},
        {area(kAreaStateMode, "Ne"), "", "state: bytes 4 and 5 only"},
        {area(kAreaStateMode, "NYC"), "-", "state: two at most"},
        {area(kAreaStateMode, "J", "201 NJ\n"), "201 NJ", "state: six bytes"},
        {area(kAreaCityMode, "san"), "415 CA San Francisco"},
        {area(kAreaCityMode, nullptr), "", "city: no text"},
        {area(-1, ""), "-", "no mode"},
        {area(kAreaCityMode, "montr\xe9", "514 QC Montr\xe9\r\n514 QC MONTR\xc9\r\n"), "514 QC Montr\xe9",
         "only ASCII upper-cased"},
        {area(kAreaCityMode, (std::string(260, 'x') + "no").c_str(), longLine + "\n"), longLine, "260 bytes read"},
        {picked("2004-01-01 8", "2004-03-01 8"), "60 days Monday 61 10"},
        {picked("2004-01-10 10", "2004-01-05 10:00:01"), "-4 days Monday 5 2"},
        {picked("2004-01-10 10", "2004-01-11 9"), "0 days Sunday 11 3"},
        {picked("2100-02-28", "2100-03-01"), "1 days Monday 60 10"},
        {picked("2000-02-28", "2000-03-01"), "2 days Wednesday 61 10"},
        {picked("1601-01-01", "9999-12-31"), "3067670 days Friday 365 53"},
        {picked("2004-01-01", "2004-01-03"), "2 days Saturday 3 1"},
        {picked("2004-01-01", "2004-01-04"), "3 days Sunday 4 2"},
        {picked("2007-01-02", "2007-01-01"), "-1 days Monday 1 2"},
        {picked("2006-01-02", "2006-01-01"), "-1 days Sunday 1 2"},
        {picked("2006-12-30", "2006-12-31"), "1 days Sunday 365 54"},
        {picked("2004-01-01", "2100-02-29"), "0 days   "},
        {picked("2004-01-01", "2004-13-01"), "0 days   "},
        {picked("2004-01-01", "1600-12-31"), "0 days   "},
        {picked("2004-01-01", "2004-01-01 0:0:0.1000"), "0 days   "},
        {typed("2004-01-31 10:20:30.400", "30"), "2004-03-01 10:20:30.400 Monday"},
        {typed("2004-01-31 10:20:30.400", "x"), "2004-01-31 10:20:30.400 Saturday"},
        {typed("2004-01-31 10:20:30.400", " \t+000000000030"), "2004-02-03 10:20:30.400 Tuesday", "14 read"},
        {typed("2004-01-01", "24855"), "2072-01-19 00:00:00.000 Tuesday"},
        {typed("2004-01-01", "24856"), "kept Sunday"},
        {typed("2004-01-01", "-24856"), "kept Sunday"},
        {typed("2004-01-01", "4294967326"), "kept Sunday"},
        {typed("1752-09-20", "-6"), "1752-09-14 00:00:00.000 Thursday"},
        {typed("1752-09-20", "-7"), "kept Sunday"},
        {typed("9999-12-30", "1"), "9999-12-31 00:00:00.000 Friday"},
        {typed("2004-02-30", "1"), "kept Sunday"},
    };
    for (const Row& r : rows) EXPECT_EQ(r.want, r.got) << r.why;
    EXPECT_TRUE(searchAreaCodes(kAreaCityMode, "", nullptr, 100).empty()) << "no file bytes";
}
