// The Date Calculator with any two date-times and whatever was typed as days.
//
// Input: a byte saying how the two records are made (taken raw, which gives
// mostly invalid records, or folded into the calendar's ranges, which gives
// mostly valid ones with the odd 30 February), two records of eight 16-bit
// fields, then the days text up to its first zero byte. The checks compare
// with a calendar computed another way (days from civil dates, as in the
// proleptic Gregorian day count):
//  - ticks and back give the same record and its weekday;
//  - days between two dates, truncated toward zero, and its sign rule;
//  - weekday, day in year and week in year of every valid date, empty facts
//    for an invalid one;
//  - typed days: only the first 14 characters count, the end date is the
//    start moved by that many whole days with its time of day kept, within
//    the picker's years, and nothing moves outside the days allowed.
#include <cstdio>

#include "calculators/date/date_calc.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Days since 1 March of year 0 of the proleptic Gregorian calendar, counted
// by eras of 400 years from March on (so leap days fall at a year's end).
int64_t civilDays(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2;
    const int64_t era = year / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

bool leap(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool valid(const DateTime& d) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.year < 1601 || d.year > 30827 || d.month < 1 || d.month > 12 || d.day < 1) return false;
    const int length = kDays[d.month - 1] + (d.month == 2 && leap(d.year));
    return d.day <= length && d.hour < 24 && d.minute < 60 && d.second < 60 && d.millisecond < 1000;
}

int64_t dayNumber(const DateTime& d) { return civilDays(d.year, d.month, d.day); }

int64_t ticksOfDay(const DateTime& d) {
    return ((d.hour * 60 + d.minute) * 60 + d.second) * int64_t{10000000} + d.millisecond * int64_t{10000};
}

// 2000-03-01 was a Wednesday.
int weekdayPlainly(const DateTime& d) {
    int64_t w = (dayNumber(d) - civilDays(2000, 3, 1) + 3) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

int dayInYearPlainly(const DateTime& d) {
    return static_cast<int>(dayNumber(d) - civilDays(d.year, 1, 1) + 1);
}

// One week to begin with and one more for each Sunday from 31 December of
// the year before up to the date: counted as the Sundays in a run of days.
int weekInYearPlainly(const DateTime& d) {
    DateTime eve{};
    eve.year = static_cast<uint16_t>(d.year - 1);
    eve.month = 12;
    eve.day = 31;
    const int firstWeekday = weekdayPlainly(eve);
    const int span = dayInYearPlainly(d) + 1;  // 31 December through the date
    const int toFirstSunday = (7 - firstWeekday) % 7;
    const int sundays = toFirstSunday < span ? 1 + (span - 1 - toFirstSunday) / 7 : 0;
    return 1 + sundays;
}

std::string show(const DateTime& t) {
    char text[80];
    std::snprintf(text, sizeof text, "%u-%u-%u %u:%u:%u.%u", t.year, t.month, t.day, t.hour, t.minute, t.second,
                  t.millisecond);
    return text;
}

bool sameDateTime(const DateTime& a, const DateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second && a.millisecond == b.millisecond;
}

DateTime takeDate(FuzzInput& in, bool folded) {
    uint16_t f[8];
    for (uint16_t& v : f) v = in.uint16();
    DateTime d;
    d.year = folded ? static_cast<uint16_t>(1590 + f[0] % 8430) : f[0];  // 1590 to 10019
    d.month = folded ? static_cast<uint16_t>(1 + f[1] % 12) : f[1];
    d.dayOfWeek = f[2];  // never read
    d.day = folded ? static_cast<uint16_t>(1 + f[3] % 31) : f[3];
    d.hour = folded ? static_cast<uint16_t>(f[4] % 24) : f[4];
    d.minute = folded ? static_cast<uint16_t>(f[5] % 60) : f[5];
    d.second = folded ? static_cast<uint16_t>(f[6] % 60) : f[6];
    d.millisecond = folded ? static_cast<uint16_t>(f[7] % 1000) : f[7];
    return d;
}

void checkFacts(const DateTime& d, const DateFacts& facts) {
    if (!valid(d)) {
        FUZZ_CHECK(facts.weekday.empty() && facts.dayInYear.empty() && facts.weekInYear.empty(),
                   "facts of the invalid %s: %s %s %s", show(d).c_str(), facts.weekday.c_str(),
                   facts.dayInYear.c_str(), facts.weekInYear.c_str());
        return;
    }
    const int weekday = weekdayPlainly(d);
    FUZZ_CHECK(facts.weekday == kWeekdayNames[weekday], "%s is a %s, not a %s", show(d).c_str(),
               kWeekdayNames[weekday], facts.weekday.c_str());
    FUZZ_CHECK(facts.dayInYear == std::to_string(dayInYearPlainly(d)), "%s is day %d, not %s", show(d).c_str(),
               dayInYearPlainly(d), facts.dayInYear.c_str());
    FUZZ_CHECK(facts.weekInYear == std::to_string(weekInYearPlainly(d)), "%s is in week %d, not %s",
               show(d).c_str(), weekInYearPlainly(d), facts.weekInYear.c_str());
}

void checkTicks(const DateTime& d) {
    uint64_t ticks = 0x5a5a5a5a;
    const bool converted = dateTimeToTicks(d, &ticks);
    FUZZ_CHECK(converted == valid(d), "%s converts: %d", show(d).c_str(), converted);
    if (!converted) {
        FUZZ_CHECK(ticks == 0x5a5a5a5a, "a failed conversion of %s wrote its output", show(d).c_str());
        return;
    }
    const __int128 expected =
        static_cast<__int128>(dayNumber(d) - civilDays(1601, 1, 1)) * 864000000000 + ticksOfDay(d);
    FUZZ_CHECK(static_cast<__int128>(ticks) == expected, "%s is %llu ticks, not %llu", show(d).c_str(),
               static_cast<unsigned long long>(ticks), static_cast<unsigned long long>(expected));
    DateTime back{};
    FUZZ_CHECK(ticksToDateTime(ticks, &back) && sameDateTime(back, d) && back.dayOfWeek == weekdayPlainly(d),
               "%s to ticks and back gives %s, weekday %u", show(d).c_str(), show(back).c_str(), back.dayOfWeek);
}

// strtol in base 10 over the first 14 characters, held at 32 bits.
int32_t daysPlainly(const std::string& typed) {
    std::string text = typed.substr(0, kDateDaysTextLimit);
    size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos) return 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
    if (negative) value = -value;
    return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t how = in.byte();
    const DateTime start = takeDate(in, !(how & 1));
    const DateTime end = takeDate(in, !(how & 2));
    const std::string typed = in.field();

    checkTicks(start);
    checkTicks(end);

    const DatePickerChange change = datePickerChanged(start, end);
    const int32_t between = daysBetween(end, start);
    FUZZ_CHECK(daysBetween(start, end) == -between, "days from %s to %s: %d, back: %d", show(start).c_str(),
               show(end).c_str(), between, daysBetween(start, end));
    int64_t expected = 0;
    if (valid(start) && valid(end)) {
        const __int128 distance = static_cast<__int128>(dayNumber(end) - dayNumber(start)) * 864000000000 +
                                  (ticksOfDay(end) - ticksOfDay(start));
        expected = static_cast<int64_t>(distance / 864000000000);  // truncates toward zero
    }
    FUZZ_CHECK(between == expected, "days from %s to %s: %d, expected %lld", show(start).c_str(), show(end).c_str(),
               between, static_cast<long long>(expected));
    FUZZ_CHECK(change.daysText == std::to_string(between) + " days", "days text \"%s\" for %d",
               change.daysText.c_str(), between);
    checkFacts(start, change.startFacts);
    checkFacts(end, change.endFacts);

    const int32_t days = daysPlainly(typed);
    FUZZ_CHECK(readDaysText(typed.c_str()) == days, "\"%s\" read as %d days, expected %d", shown(typed).c_str(),
               readDaysText(typed.c_str()), days);
    const DaysTyped result = daysTyped(typed.c_str(), start, end);
    checkFacts(start, result.startFacts);
    checkFacts(result.setEnd ? result.newEnd : end, result.endFacts);
    const bool allowed = valid(start) && days >= -kDateMostDays && days <= kDateMostDays;
    if (result.setEnd) {
        const DateTime& e = result.newEnd;
        FUZZ_CHECK(allowed, "%d days from %s moved the end date", days, show(start).c_str());
        FUZZ_CHECK(valid(e) && dayNumber(e) >= civilDays(kPickerFirstYear, kPickerFirstMonth, kPickerFirstDay) &&
                       e.year <= kDateLastYear,
                   "end date %s", show(e).c_str());
        FUZZ_CHECK(dayNumber(e) - dayNumber(start) == days && ticksOfDay(e) == ticksOfDay(start),
                   "%d days from %s gave %s", days, show(start).c_str(), show(e).c_str());
        FUZZ_CHECK(e.dayOfWeek == weekdayPlainly(e), "%s given weekday %u", show(e).c_str(), e.dayOfWeek);
    } else if (allowed) {
        // Only a result outside the picker's years leaves the end as it is.
        const int64_t target = dayNumber(start) + days;
        FUZZ_CHECK(target < civilDays(kPickerFirstYear, kPickerFirstMonth, kPickerFirstDay) ||
                       target > civilDays(kDateLastYear, 12, 31),
                   "%d days from %s did not move the end date", days, show(start).c_str());
    }
    return 0;
}
