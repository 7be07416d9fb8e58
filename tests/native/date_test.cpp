#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "calculators/date/date_calc.h"

namespace {

// dayOfWeek is deliberately wrong: nothing may read it.
DateTime D(int y, int m, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    DateTime t{};
    t.year = static_cast<uint16_t>(y);
    t.month = static_cast<uint16_t>(m);
    t.dayOfWeek = 9;
    t.day = static_cast<uint16_t>(d);
    t.hour = static_cast<uint16_t>(h);
    t.minute = static_cast<uint16_t>(mi);
    t.second = static_cast<uint16_t>(s);
    t.millisecond = static_cast<uint16_t>(ms);
    return t;
}

std::string show(const DateTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u (dow %u)", t.year, t.month,
                  t.day, t.hour, t.minute, t.second, t.millisecond, t.dayOfWeek);
    return text;
}

bool sameDateTime(const DateTime& a, const DateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second && a.millisecond == b.millisecond;
}

uint64_t ticksOf(const DateTime& t) {
    uint64_t ticks = 0;
    EXPECT_TRUE(dateTimeToTicks(t, &ticks)) << show(t);
    return ticks;
}

TEST(DateTicks, KnownPoints) {
    struct {
        const char* name;
        DateTime date;
        uint64_t ticks;
    } cases[] = {
        {"start of the scale", D(1601, 1, 1), 0u},
        {"one tick is 100 ns: 1 ms", D(1601, 1, 1, 0, 0, 0, 1), 10000u},
        {"second day", D(1601, 1, 2), kTicksPerDay},
        {"400 years are 146097 days", D(2001, 1, 1), 146097u * kTicksPerDay},
        {"Unix epoch", D(1970, 1, 1), 116444736000000000u},
        {"last instant of 1999", D(1999, 12, 31, 23, 59, 59, 999), 125911583999990000u},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.ticks, ticksOf(c.date)) << c.name;
        DateTime back{};
        ASSERT_TRUE(ticksToDateTime(c.ticks, &back)) << c.name;
        EXPECT_TRUE(sameDateTime(c.date, back))
            << c.name << ": expected " << show(c.date) << " got " << show(back);
    }
}

TEST(DateTicks, InvalidRecordsAreRefused) {
    struct {
        const char* name;
        DateTime date;
    } cases[] = {
        {"year before 1601", D(1600, 12, 31)},
        {"year after 30827", D(30828, 1, 1)},
        {"month 13", D(2004, 13, 1)},
        {"31 April", D(2004, 4, 31)},
        {"29 February 2100", D(2100, 2, 29)},
        {"hour 24", D(2004, 1, 1, 24)},
        {"millisecond 1000", D(2004, 1, 1, 0, 0, 0, 1000)},
    };
    for (const auto& c : cases) {
        uint64_t ticks = 12345;
        EXPECT_FALSE(dateTimeToTicks(c.date, &ticks)) << c.name;
        EXPECT_EQ(12345u, ticks) << c.name << ": output touched";
        EXPECT_EQ(0, daysBetween(c.date, D(2004, 1, 1))) << c.name;
        EXPECT_EQ("", dateFacts(c.date).weekday) << c.name;
    }
}

// Day after day, in stretches spread over 1601 to 9999 (century ends, leap
// days, the last days of the range): each day converts to ticks and back
// unchanged, the next calendar day lies exactly one day of ticks later, and
// the weekday goes round in sevens.
TEST(DateTicks, RoundTripDayByDay) {
    const int firstYears[] = {1601, 1699, 1899, 1999, 2099, 2399, 5000, 9990};
    for (int firstYear : firstYears) {
        DateTime day = D(firstYear, 1, 1, 13, 14, 15, 16);
        uint64_t ticks = ticksOf(day);
        int weekday = weekdayOf(day);
        ASSERT_GE(weekday, 0) << show(day);
        while (day.year <= firstYear + 2 && day.year <= 9999) {
            DateTime back{};
            ASSERT_TRUE(ticksToDateTime(ticks, &back)) << show(day);
            ASSERT_TRUE(sameDateTime(day, back))
                << "expected " << show(day) << " got " << show(back);
            ASSERT_EQ(weekday, back.dayOfWeek) << show(back);
            ASSERT_EQ(weekday, weekdayOf(day)) << show(day);
            ASSERT_EQ(ticks, ticksOf(back)) << show(back);
            // The next calendar day, found by hand.
            uint64_t unused;
            if (dateTimeToTicks(D(day.year, day.month, day.day + 1), &unused)) {
                ++day.day;
            } else if (day.month < 12) {
                ++day.month;
                day.day = 1;
            } else {
                ++day.year;
                day.month = 1;
                day.day = 1;
            }
            ticks += kTicksPerDay;
            weekday = (weekday + 1) % 7;
        }
    }
}

TEST(DaysBetween, Cases) {
    struct {
        const char* name;
        DateTime end, start;
        int32_t days;
        const char* text;
    } cases[] = {
        {"Thursday to Monday", D(2004, 3, 1, 8), D(2004, 1, 1, 8), 60, "60 days"},
        {"backwards whole days", D(2004, 1, 5, 10), D(2004, 1, 10, 10), -5, "-5 days"},
        {"backwards, a second short", D(2004, 1, 5, 10, 0, 1), D(2004, 1, 10, 10), -4, "-4 days"},
        {"23 hours", D(2004, 1, 11, 9), D(2004, 1, 10, 10), 0, "0 days"},
        {"one day", D(2004, 1, 2), D(2004, 1, 1), 1, "1 days"},
        {"same instant", D(2004, 1, 1), D(2004, 1, 1), 0, "0 days"},
        {"leap day counts", D(2004, 3, 1), D(2004, 2, 28), 2, "2 days"},
        {"no leap day in 2100", D(2100, 3, 1), D(2100, 2, 28), 1, "1 days"},
        {"100 years, beyond 2^31 seconds", D(2050, 1, 1), D(1950, 1, 1), 36525, "36525 days"},
        {"whole picker range", D(9999, 12, 31), D(1601, 1, 1), 3067670, "3067670 days"},
        {"whole picker range back", D(1601, 1, 1), D(9999, 12, 31), -3067670, "-3067670 days"},
        {"just under 2^31 seconds", D(2072, 1, 19, 3, 14, 7), D(2004, 1, 1), 24855, "24855 days"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.days, daysBetween(c.end, c.start)) << c.name;
        EXPECT_EQ(-c.days, daysBetween(c.start, c.end)) << c.name << " (dates swapped)";
        DatePickerChange change = datePickerChanged(c.start, c.end);
        EXPECT_EQ(c.text, change.daysText) << c.name;
        EXPECT_EQ(dateFacts(c.start).dayInYear, change.startFacts.dayInYear) << c.name;
        EXPECT_EQ(dateFacts(c.end).dayInYear, change.endFacts.dayInYear) << c.name;
    }
}

TEST(AddDays, Cases) {
    const DateTime start = D(2004, 1, 31, 10, 20, 30, 400);
    struct {
        const char* name;
        DateTime from;
        int32_t days;
        bool ok;
        DateTime expected;
    } cases[] = {
        {"30 days over February", start, 30, true, D(2004, 3, 1, 10, 20, 30, 400)},
        {"-30 days", start, -30, true, D(2004, 1, 1, 10, 20, 30, 400)},
        {"0 days", start, 0, true, start},
        {"largest count", D(2004, 1, 1), 24855, true, D(2072, 1, 19)},
        {"smallest count", D(2004, 1, 1), -24855, true, D(1935, 12, 14)},
        {"one beyond the largest", D(2004, 1, 1), 24856, false, {}},
        {"one beyond the smallest", D(2004, 1, 1), -24856, false, {}},
        {"32-bit extreme", D(2004, 1, 1), INT32_MAX, false, {}},
        {"32-bit extreme negative", D(2004, 1, 1), INT32_MIN, false, {}},
        {"before the picker's first day", D(1752, 9, 20), -7, false, {}},
        {"the picker's first day", D(1752, 9, 20), -6, true, D(1752, 9, 14)},
        {"from 1601, a date the picker refuses", D(1601, 1, 5), 10, false, {}},
        {"after 9999", D(9999, 12, 30), 2, false, {}},
        {"last day of 9999", D(9999, 12, 30), 1, true, D(9999, 12, 31)},
        {"invalid start", D(2004, 2, 30), 1, false, {}},
    };
    for (const auto& c : cases) {
        DateTime got = D(1111, 1, 1);
        bool ok = addDays(c.from, c.days, &got);
        EXPECT_EQ(c.ok, ok) << c.name;
        const DateTime& expected = c.ok ? c.expected : D(1111, 1, 1);
        EXPECT_TRUE(sameDateTime(expected, got))
            << c.name << ": expected " << show(expected) << " got " << show(got);
        if (ok) {
            EXPECT_EQ(weekdayOf(got), got.dayOfWeek) << c.name << ": weekday filled in";
            EXPECT_EQ(c.days, daysBetween(got, c.from)) << c.name << ": distance back";
        }
    }
}

// Start + n days - n days is the start again, to the millisecond.
TEST(AddDays, RoundTrip) {
    const DateTime starts[] = {D(2004, 2, 29, 23, 59, 59, 999), D(1601, 1, 1), D(9999, 12, 31, 1),
                               D(1900, 2, 28, 12), D(2100, 3, 1, 6, 30)};
    const int32_t counts[] = {1,    -1,    7,     28,     29,    365,   366,
                              1461, -1461, 10000, -10000, 24855, -24855};
    for (const DateTime& start : starts) {
        for (int32_t n : counts) {
            DateTime there{}, back{};
            if (!addDays(start, n, &there)) continue;  // beyond the picker's years
            ASSERT_TRUE(addDays(there, -n, &back)) << show(start) << " + " << n;
            EXPECT_TRUE(sameDateTime(start, back))
                << show(start) << " + " << n << " - " << n << " gave " << show(back);
        }
    }
}

TEST(DateFacts, Cases) {
    struct {
        const char* name;
        DateTime date;
        const char *weekday, *dayInYear, *weekInYear;
    } cases[] = {
        {"Thursday 1 January 2004", D(2004, 1, 1), "Thursday", "1", "1"},
        {"Monday 1 March 2004", D(2004, 3, 1), "Monday", "61", "10"},
        {"Saturday 3 January 2004", D(2004, 1, 3), "Saturday", "3", "1"},
        {"Sunday 4 January 2004", D(2004, 1, 4), "Sunday", "4", "2"},
        {"Monday 1 January 2007", D(2007, 1, 1), "Monday", "1", "2"},
        {"Saturday 6 January 2007", D(2007, 1, 6), "Saturday", "6", "2"},
        {"Sunday 7 January 2007", D(2007, 1, 7), "Sunday", "7", "3"},
        {"Sunday 1 January 2006", D(2006, 1, 1), "Sunday", "1", "2"},
        {"1 March 2100, not a leap year", D(2100, 3, 1), "Monday", "60", "10"},
        {"1 March 2005", D(2005, 3, 1), "Tuesday", "60", "10"},
        {"1 March 2000, a leap year", D(2000, 3, 1), "Wednesday", "61", "10"},
        {"31 December 2004", D(2004, 12, 31), "Friday", "366", "53"},
        {"31 December 2100", D(2100, 12, 31), "Friday", "365", "53"},
        {"Sunday 31 December 2006", D(2006, 12, 31), "Sunday", "365", "54"},
        {"4 July 1776", D(1776, 7, 4), "Thursday", "186", "28"},
        {"11 September 2001", D(2001, 9, 11), "Tuesday", "254", "38"},
        {"31 December 9999", D(9999, 12, 31), "Friday", "365", "53"},
    };
    for (const auto& c : cases) {
        DateFacts f = dateFacts(c.date);
        EXPECT_EQ(c.weekday, f.weekday) << c.name;
        EXPECT_EQ(c.dayInYear, f.dayInYear) << c.name;
        EXPECT_EQ(c.weekInYear, f.weekInYear) << c.name;
    }
}

// Through each year the day in year counts 1, 2, 3 ... and the week goes up
// by one exactly on Sundays; it starts at 2 when 1 January or 31 December of
// the year before was a Sunday, else at 1.
TEST(DateFacts, WeekAndDayInvariants) {
    for (int year : {1753, 1900, 2000, 2004, 2005, 2006, 2007, 2100, 9999}) {
        const int length = isLeapYear(year) ? 366 : 365;
        DateTime day = D(year, 1, 1);
        int firstWeekday = weekdayOf(day);
        int expectedWeek = (firstWeekday == 0 || firstWeekday == 1) ? 2 : 1;
        for (int count = 1; count <= length; ++count) {
            if (count > 1 && weekdayOf(day) == 0) ++expectedWeek;
            ASSERT_EQ(year, day.year) << "day " << count << " of " << year;
            ASSERT_EQ(count, dayInYear(day)) << show(day);
            ASSERT_EQ(expectedWeek, weekInYear(day)) << show(day);
            if (count < length) {
                ASSERT_TRUE(addDays(day, 1, &day)) << show(day);
            }
        }
        EXPECT_TRUE(day.month == 12 && day.day == 31) << year << " ends on " << show(day);
    }
}

TEST(DateFacts, FieldGroups) {
    const int* start = dateFactFields(1);
    const int* end = dateFactFields(2);
    ASSERT_NE(nullptr, start);
    ASSERT_NE(nullptr, end);
    EXPECT_EQ((std::vector<int>{1083, 1082, 1081}), std::vector<int>(start, start + 3));
    EXPECT_EQ((std::vector<int>{1084, 1085, 1086}), std::vector<int>(end, end + 3));
    for (int which : {0, 3, -1}) EXPECT_EQ(nullptr, dateFactFields(which)) << which;
}

TEST(DaysField, Reading) {
    struct {
        const char* text;
        int32_t days;
    } cases[] = {
        {"30", 30},
        {"-30", -30},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {" \t+7", 7},
        {"- 5", 0},
        {"60 days", 60},
        {"000000000000030", 3},  // 15 characters: the 0 at the end is cut
        {"12345678901234567890", INT32_MAX},
        {"-1234567890123", INT32_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.days, readDaysText(c.text)) << "text \"" << c.text << "\"";
    }
    EXPECT_EQ(0, readDaysText(nullptr)) << "null text";
}

TEST(DaysField, KeyRelease) {
    const DateTime start = D(2004, 1, 31, 10, 20, 30, 400);
    const DateTime shownEnd = D(2004, 6, 6, 10, 20, 30, 400);
    struct {
        const char* name;
        const char* text;
        bool setEnd;
        DateTime end;
        const char* endWeekday;
    } cases[] = {
        {"30 days", "30", true, D(2004, 3, 1, 10, 20, 30, 400), "Monday"},
        {"-30 days", "-30", true, D(2004, 1, 1, 10, 20, 30, 400), "Thursday"},
        {"12abc", "12abc", true, D(2004, 2, 12, 10, 20, 30, 400), "Thursday"},
        {"no number is 0 days", "x", true, start, "Saturday"},
        {"20 digits, cut to 14", "00000000000000000030", true, start, "Saturday"},
        {"too many days keeps the end", "24856", false, shownEnd, "Sunday"},
        {"far too many days keeps the end", "99999999999999", false, shownEnd, "Sunday"},
    };
    for (const auto& c : cases) {
        DaysTyped t = daysTyped(c.text, start, shownEnd);
        EXPECT_EQ(c.setEnd, t.setEnd) << c.name;
        if (t.setEnd) {
            EXPECT_TRUE(sameDateTime(c.end, t.newEnd))
                << c.name << ": expected " << show(c.end) << " got " << show(t.newEnd);
        }
        EXPECT_EQ("Saturday", t.startFacts.weekday) << c.name;
        EXPECT_EQ("31", t.startFacts.dayInYear) << c.name;
        EXPECT_EQ("5", t.startFacts.weekInYear) << c.name;
        EXPECT_EQ(c.endWeekday, t.endFacts.weekday) << c.name;
        EXPECT_EQ(dateFacts(c.end).dayInYear, t.endFacts.dayInYear) << c.name;
    }
}

}  // namespace
