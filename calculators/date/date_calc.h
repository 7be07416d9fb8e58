// Date Calculator: days between two dates, the end date a number of days
// after a start date, and three facts of each date (weekday, day in the
// year, week in the year).
// Portable: no windows.h. Dates are counted on the platform's file-time
// scale, 100-nanosecond ticks since 1 January 1601 00:00 (Gregorian
// calendar). The screen copies the pickers' date-times into DateTime records
// (the same eight fields in the same order), calls datePickerChanged or
// daysTyped, and writes the returned texts and end date.
#pragma once
#include <cstdint>
#include <string>

#include "resources/quantrel/resource_ids.h"

// A date-time as the date pickers deliver and accept it: eight 16-bit
// fields in this order. dayOfWeek is 0 (Sunday) to 6 (Saturday); it is
// filled in by ticksToDateTime and not read by anything here.
struct DateTime {
    uint16_t year;
    uint16_t month;  // 1 to 12
    uint16_t dayOfWeek;
    uint16_t day;  // 1 to 31
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t millisecond;
};

constexpr uint64_t kTicksPerSecond = 10000000u;
constexpr uint64_t kTicksPerDay = 86400u * kTicksPerSecond;

// The number of days that may be typed: days x 86,400 seconds must fit in a
// signed 32-bit number.
constexpr int32_t kDateMostDays = 24855;
// Dates are valid from 1601, where the tick scale begins, to 9999.
constexpr int kDateFirstYear = 1601;
constexpr int kDateLastYear = 9999;
// The end dates the calculator produces lie where the date picker accepts
// them: from 14 September 1752 to the end of 9999.
constexpr int kPickerFirstYear = 1752;
constexpr int kPickerFirstMonth = 9;
constexpr int kPickerFirstDay = 14;
// The days field is read from its first 14 characters.
constexpr int kDateDaysTextLimit = 14;

extern const char* const kWeekdayNames[7];  // "Sunday" .. "Saturday"

// Gregorian leap years: divisible by 4, centuries only when divisible by 400.
bool isLeapYear(int year);

// Date-time to ticks since 1601, and back (filling dayOfWeek). They fail,
// leaving the output alone, for a record that is no valid date-time (month,
// day, hour, minute, second or millisecond out of range) or a year outside
// 1601 to 30827, the range of the platform's own conversion.
bool dateTimeToTicks(const DateTime& date, uint64_t* ticks);
bool ticksToDateTime(uint64_t ticks, DateTime* date);

// Signed whole days from start to end, time of day included, truncated
// toward zero (10:00 on the 10th to 10:00:01 on the 5th is -4). Exact over
// the whole range of dates; 0 when either record is not a valid date-time.
int32_t daysBetween(const DateTime& end, const DateTime& start);

// The date-time `days` whole days after start (before it when negative), time
// of day unchanged, dayOfWeek filled in. Fails, leaving *end alone, when days
// lies outside -kDateMostDays..kDateMostDays, when start is not valid, or when the
// result falls outside the picker's dates (14 September 1752 to 9999).
bool addDays(const DateTime& start, int32_t days, DateTime* end);

// Day of the week of the calendar date (0 = Sunday), computed from the date
// itself; -1 for an invalid date.
int weekdayOf(const DateTime& date);

// 1 for 1 January, up to 366 for 31 December of a leap year; 0 for an
// invalid date.
int dayInYear(const DateTime& date);

// 1 plus the number of Sundays among the days from the last day of the
// previous year up to the date itself; 0 for an invalid date.
int weekInYear(const DateTime& date);

// The three fact texts of a date: the weekday name, the day in the year
// ("%d") and the week in the year ("%d"). All three empty for an invalid date.
struct DateFacts {
    std::string weekday;
    std::string dayInYear;
    std::string weekInYear;
};
DateFacts dateFacts(const DateTime& date);

// The three fields a fact group is written into, in the order weekday, day in
// year, week in year: which = 1 for the start date (1083, 1082, 1081), 2 for
// the end date (1084, 1085, 1086); nullptr for any other value.
const int* dateFactFields(int which);

// The number in the days field: its first 14 characters read as a decimal
// integer (white space, sign, digits; no digits gives 0; held at the 32-bit
// limits).
int32_t readDaysText(const char* text);

// A picker's date changed: the days field's new text ("%d days") and the
// facts of both dates.
struct DatePickerChange {
    std::string daysText;
    DateFacts startFacts;
    DateFacts endFacts;
};
DatePickerChange datePickerChanged(const DateTime& start, const DateTime& end);

// A key release in the days field. When the typed number gives an end date,
// setEnd is true and newEnd holds it; otherwise (a number beyond +-24,855 or
// a date outside the picker's years) the end picker is left as it is. The
// end facts are those of the end date shown afterwards. The days field
// itself is not rewritten.
struct DaysTyped {
    bool setEnd = false;
    DateTime newEnd{};
    DateFacts startFacts;
    DateFacts endFacts;
};
DaysTyped daysTyped(const char* daysText, const DateTime& start, const DateTime& currentEnd);
