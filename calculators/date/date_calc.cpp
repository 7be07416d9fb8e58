#include "calculators/date/date_calc.h"

#include "core/number_text.h"

const char* const kWeekdayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};

namespace {

// The platform's date-time conversion covers these years.
constexpr int kLastConvertibleYear = 30827;

const int kMonthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

int monthLength(int year, int month) {
    return (month == 2 && isLeapYear(year)) ? 29 : kMonthLengths[month - 1];
}

bool isValidDate(const DateTime& d, int lastYear) {
    return d.year >= kDateFirstYear && d.year <= lastYear && d.month >= 1 && d.month <= 12 &&
           d.day >= 1 && d.day <= monthLength(d.year, d.month) && d.hour < 24 && d.minute < 60 &&
           d.second < 60 && d.millisecond < 1000;
}

bool isBeforePickerStart(const DateTime& d) {
    if (d.year != kPickerFirstYear) return d.year < kPickerFirstYear;
    if (d.month != kPickerFirstMonth) return d.month < kPickerFirstMonth;
    return d.day < kPickerFirstDay;
}

// Days from 1 January 1601 to the given date (proleptic Gregorian). 1601
// starts a 400-year cycle, so whole cycles, centuries and leap cycles fall
// out of plain division.
int64_t daysSince1601(int year, int month, int day) {
    int64_t y = year - 1601;
    int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m) days += monthLength(year, m);
    return days + day - 1;
}

}  // namespace

bool isLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool dateTimeToTicks(const DateTime& date, uint64_t* ticks) {
    if (!isValidDate(date, kLastConvertibleYear)) return false;
    uint64_t days = static_cast<uint64_t>(daysSince1601(date.year, date.month, date.day));
    uint64_t seconds = date.hour * 3600u + date.minute * 60u + date.second;
    *ticks = days * kTicksPerDay + seconds * kTicksPerSecond + date.millisecond * 10000u;
    return true;
}

bool ticksToDateTime(uint64_t ticks, DateTime* date) {
    uint64_t days = ticks / kTicksPerDay;
    uint64_t rest = ticks % kTicksPerDay;
    // Whole 400-year cycles of 146,097 days, then years within the cycle.
    uint64_t cycles = days / 146097u;
    uint64_t year = 1601 + cycles * 400;
    if (year > kLastConvertibleYear) return false;
    int64_t left = static_cast<int64_t>(days % 146097u);
    while (true) {
        int64_t length = isLeapYear(static_cast<int>(year)) ? 366 : 365;
        if (left < length) break;
        left -= length;
        ++year;
    }
    if (year > kLastConvertibleYear) return false;
    int month = 1;
    while (left >= monthLength(static_cast<int>(year), month)) {
        left -= monthLength(static_cast<int>(year), month);
        ++month;
    }
    DateTime out;
    out.year = static_cast<uint16_t>(year);
    out.month = static_cast<uint16_t>(month);
    out.day = static_cast<uint16_t>(left + 1);
    // 1 January 1601 was a Monday.
    out.dayOfWeek = static_cast<uint16_t>((days + 1) % 7);
    out.hour = static_cast<uint16_t>(rest / (3600 * kTicksPerSecond));
    out.minute = static_cast<uint16_t>(rest / (60 * kTicksPerSecond) % 60);
    out.second = static_cast<uint16_t>(rest / kTicksPerSecond % 60);
    out.millisecond = static_cast<uint16_t>(rest / 10000u % 1000);
    *date = out;
    return true;
}

int32_t daysBetween(const DateTime& end, const DateTime& start) {
    uint64_t endTicks, startTicks;
    if (!dateTimeToTicks(end, &endTicks) || !dateTimeToTicks(start, &startTicks)) return 0;
    // The unsigned distance in whole days, then the sign: truncation toward
    // zero. Counted in 64 bits, so spans of 68 years and more stay exact;
    // the whole convertible range is far below 2^31 days.
    bool forward = endTicks >= startTicks;
    uint64_t distance = forward ? endTicks - startTicks : startTicks - endTicks;
    int32_t days = static_cast<int32_t>(distance / kTicksPerDay);
    return forward ? days : -days;
}

bool addDays(const DateTime& start, int32_t days, DateTime* end) {
    if (days < -kDateMostDays || days > kDateMostDays) return false;
    uint64_t ticks;
    if (!dateTimeToTicks(start, &ticks)) return false;
    // Within +-24,855 days the seconds fit in 32 bits; the ticks in 64.
    int64_t delta = static_cast<int64_t>(days * 86400) * static_cast<int64_t>(kTicksPerSecond);
    if (delta < 0 && static_cast<uint64_t>(-delta) > ticks) return false;
    DateTime result;
    if (!ticksToDateTime(ticks + static_cast<uint64_t>(delta), &result)) return false;
    if (result.year > kDateLastYear || isBeforePickerStart(result)) return false;
    *end = result;
    return true;
}

int weekdayOf(const DateTime& date) {
    if (!isValidDate(date, kLastConvertibleYear)) return -1;
    return static_cast<int>((daysSince1601(date.year, date.month, date.day) + 1) % 7);
}

int dayInYear(const DateTime& date) {
    if (!isValidDate(date, kLastConvertibleYear)) return 0;
    int days = date.day;
    for (int m = 1; m < date.month; ++m) days += monthLength(date.year, m);
    return days;
}

int weekInYear(const DateTime& date) {
    int weekday = weekdayOf(date);
    if (weekday < 0) return 0;
    // Walk back from the date over day-in-year + 1 days, to the last day of
    // the previous year, counting one week more for every Sunday.
    int week = 1;
    for (int steps = dayInYear(date) + 1; steps > 0; --steps) {
        if (weekday == 0) {
            ++week;
            weekday = 6;
        } else {
            --weekday;
        }
    }
    return week;
}

DateFacts dateFacts(const DateTime& date) {
    DateFacts facts;
    int weekday = weekdayOf(date);
    if (weekday < 0) return facts;
    facts.weekday = kWeekdayNames[weekday];
    facts.dayInYear = formatText("%d", dayInYear(date));
    facts.weekInYear = formatText("%d", weekInYear(date));
    return facts;
}

const int* dateFactFields(int which) {
    static const int kStartFields[3] = {IDC_DATE_START_WEEKDAY, IDC_DATE_START_DAY_IN_YEAR,
                                        IDC_DATE_START_WEEK_IN_YEAR};
    static const int kEndFields[3] = {IDC_DATE_END_WEEKDAY, IDC_DATE_END_DAY_IN_YEAR, IDC_DATE_END_WEEK_IN_YEAR};
    if (which == 1) return kStartFields;
    if (which == 2) return kEndFields;
    return nullptr;
}

int32_t readDaysText(const char* text) {
    if (text == nullptr) return 0;
    char cut[kDateDaysTextLimit + 1];
    int length = 0;
    while (length < kDateDaysTextLimit && text[length] != '\0') {
        cut[length] = text[length];
        ++length;
    }
    cut[length] = '\0';
    return readInteger(cut, 10);
}

DatePickerChange datePickerChanged(const DateTime& start, const DateTime& end) {
    DatePickerChange change;
    change.daysText = formatText("%d days", static_cast<int>(daysBetween(end, start)));
    change.startFacts = dateFacts(start);
    change.endFacts = dateFacts(end);
    return change;
}

DaysTyped daysTyped(const char* daysText, const DateTime& start, const DateTime& currentEnd) {
    DaysTyped typed;
    typed.setEnd = addDays(start, readDaysText(daysText), &typed.newEnd);
    typed.startFacts = dateFacts(start);
    typed.endFacts = dateFacts(typed.setEnd ? typed.newEnd : currentEnd);
    return typed;
}
