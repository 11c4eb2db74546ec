#include "report/date_format.h"

#include <algorithm>

namespace {

// Specifiers, and the ones each modifier may precede.
constexpr std::string_view kSpecifiers = "aAbBcCdDeFgGhHIjmMnprRsStTuUVwWxXyYzZ%";
constexpr std::string_view kAfterE = "cCxXyY";
constexpr std::string_view kAfterO = "deHImMSuUVwWy";
constexpr std::string_view kWithWidth = "CFGY";
// Widths beyond the whole text could only be cut off again.
constexpr int32_t kWidestField = static_cast<int32_t>(kDateTextLimit) + 1;

const char* const kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

bool contains(std::string_view set, char c) { return c != 0 && set.find(c) != std::string_view::npos; }

int64_t floorMod(int64_t value, int64_t divisor) {
    const int64_t r = value % divisor;
    return r < 0 ? r + divisor : r;
}

// Names of a field outside its range print as "?", never read past the table.
std::string name(const char* const* names, int32_t count, int32_t index, bool abbreviated) {
    if (index < 0 || index >= count) return "?";
    const std::string full = names[index];
    return abbreviated ? full.substr(0, 3) : full;
}

std::string digits(int64_t value, int32_t minimum, char pad = '0') {
    const bool negative = value < 0;
    std::string text;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        text.insert(text.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude);
    const int32_t shown = static_cast<int32_t>(text.size()) + (negative ? 1 : 0);
    if (shown < minimum) text.insert(0, static_cast<size_t>(minimum - shown), pad);
    return negative ? "-" + text : text;
}

// A year or century under the flag rules: padded with zeros to the width
// (the sign counted), and with "+" when the flag asks for it and the field
// takes more than `plusBeyond` characters.
std::string yearField(int64_t value, char flag, int32_t width, int32_t plusBeyond) {
    if (flag != '+' || value < 0) return digits(value, width);
    const std::string plain = digits(value, 0);
    const int32_t taken = std::max(static_cast<int32_t>(plain.size()), width);
    if (taken <= plusBeyond) return digits(value, width);
    return "+" + digits(value, width - 1);
}

int64_t yearOf(const std::tm& t) { return static_cast<int64_t>(t.tm_year) + 1900; }

bool isLeap(int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

// Days from the Monday of ISO week 1 (the week with the year's first
// Thursday) to the day of the year `yday` falling on weekday `wday`.
int64_t isoWeekDays(int64_t yday, int64_t wday) {
    return yday - floorMod(yday - wday + 4 + 7 * 60, 7) + 3;
}

struct IsoWeek {
    int64_t year;
    int64_t week;
};

IsoWeek isoWeek(const std::tm& t) {
    int64_t year = yearOf(t);
    const int64_t wday = floorMod(t.tm_wday, 7);
    int64_t days = isoWeekDays(t.tm_yday, wday);
    if (days < 0) {
        --year;
        days = isoWeekDays(t.tm_yday + (isLeap(year) ? 366 : 365), wday);
    } else {
        const int64_t next = isoWeekDays(t.tm_yday - (isLeap(year) ? 366 : 365), wday);
        if (next >= 0) {
            ++year;
            days = next;
        }
    }
    return {year, days / 7 + 1};
}

// Week of the year with weeks starting on `firstDay` (0 Sunday, 1 Monday);
// days before the first such day are week 0.
int64_t weekOfYear(const std::tm& t, int32_t firstDay) {
    return (t.tm_yday + 7 - floorMod(t.tm_wday - firstDay, 7)) / 7;
}

std::string twelveHour(const std::tm& t) {
    const int64_t hour = floorMod(t.tm_hour, 12);
    return digits(hour == 0 ? 12 : hour, 2);
}

std::string zoneOffset(const CalendarTime& time) {
    if (!time.zoneKnown) return "";
    const int32_t minutes = time.utcOffsetSeconds / 60;
    const int32_t magnitude = minutes < 0 ? -minutes : minutes;
    return (minutes < 0 ? "-" : "+") + digits(magnitude / 60, 2) + digits(magnitude % 60, 2);
}

std::string convert(const DateConversion& c, const CalendarTime& time);

std::string expand(std::string_view format, const CalendarTime& time) {
    return formatDate(format, time, kDateTextLimit);
}

std::string dateConversion(const DateConversion& c, const CalendarTime& time) {
    const std::tm& t = time.fields;
    switch (c.specifier) {
    case 'C': return yearField(yearOf(t) / 100, c.flag, c.width < 0 ? 2 : c.width, 2);
    case 'y': return digits((yearOf(t) < 0 ? -yearOf(t) : yearOf(t)) % 100, 2);
    case 'Y': return yearField(yearOf(t), c.flag, c.width < 0 ? 0 : c.width, 4);
    case 'G': return yearField(isoWeek(t).year, c.flag, c.width < 0 ? 0 : c.width, 4);
    case 'g': {
        const int64_t year = isoWeek(t).year;
        return digits((year < 0 ? -year : year) % 100, 2);
    }
    case 'F': {
        const bool plain = c.flag == 0 && c.width < 0;
        const std::string year = plain ? yearField(yearOf(t), '+', 4, 4)
                                       : yearField(yearOf(t), c.flag ? c.flag : '0', std::max(c.width, 6) - 6, 4);
        return year + expand("-%m-%d", time);
    }
    case 'V': return digits(isoWeek(t).week, 2);
    case 'U': return digits(weekOfYear(t, 0), 2);
    case 'W': return digits(weekOfYear(t, 1), 2);
    case 'j': return digits(static_cast<int64_t>(t.tm_yday) + 1, 3);
    case 'm': return digits(static_cast<int64_t>(t.tm_mon) + 1, 2);
    case 'd': return digits(t.tm_mday, 2);
    case 'e': return digits(t.tm_mday, 2, ' ');
    case 'u': return digits(t.tm_wday == 0 ? 7 : t.tm_wday, 1);
    case 'w': return digits(t.tm_wday, 1);
    default: return convert(c, time);
    }
}

std::string convert(const DateConversion& c, const CalendarTime& time) {
    const std::tm& t = time.fields;
    switch (c.specifier) {
    case 'a': return name(kDayNames, 7, t.tm_wday, true);
    case 'A': return name(kDayNames, 7, t.tm_wday, false);
    case 'b':
    case 'h': return name(kMonthNames, 12, t.tm_mon, true);
    case 'B': return name(kMonthNames, 12, t.tm_mon, false);
    case 'c': return expand("%a %b %e %H:%M:%S %Y", time);
    case 'D':
    case 'x': return expand("%m/%d/%y", time);
    case 'T':
    case 'X': return expand("%H:%M:%S", time);
    case 'r': return expand("%I:%M:%S %p", time);
    case 'R': return expand("%H:%M", time);
    case 'H': return digits(t.tm_hour, 2);
    case 'I': return twelveHour(t);
    case 'M': return digits(t.tm_min, 2);
    case 'S': return digits(t.tm_sec, 2);
    case 'p': return floorMod(t.tm_hour, 24) < 12 ? "AM" : "PM";
    case 's': return digits(time.epochSeconds, 1);
    case 'n': return "\n";
    case 't': return "\t";
    case 'z': return zoneOffset(time);
    case 'Z': return time.zoneKnown ? time.zoneName : "";
    case '%': return "%";
    default: return "";
    }
}

// Seconds from 1970-01-01 of a date and time of day taken as UTC.
int64_t fieldSeconds(const std::tm& t) {
    // Days from the civil date (proleptic Gregorian), March-based years.
    const int64_t month = t.tm_mon + 1;
    const int64_t year = yearOf(t) - (month <= 2 ? 1 : 0);
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + t.tm_mday - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const int64_t days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec;
}

}  // namespace

DateConversion readDateConversion(std::string_view format, size_t at) {
    DateConversion c;
    size_t i = at + 1;
    if (i < format.size() && (format[i] == '0' || format[i] == '+')) c.flag = format[i++];
    for (; i < format.size() && format[i] >= '0' && format[i] <= '9'; ++i)
        c.width = std::min(kWidestField, (c.width < 0 ? 0 : c.width) * 10 + (format[i] - '0'));
    char modifier = 0;
    if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) modifier = format[i++];
    if (i >= format.size()) {
        c.length = format.size() - at;
        return c;
    }
    c.specifier = format[i];
    c.length = i + 1 - at;
    const bool modifierFits = modifier == 0 || contains(modifier == 'E' ? kAfterE : kAfterO, c.specifier);
    const bool widthFits = (c.flag == 0 && c.width < 0) || contains(kWithWidth, c.specifier);
    c.known = contains(kSpecifiers, c.specifier) && modifierFits && widthFits;
    return c;
}

std::string formatDate(std::string_view format, const CalendarTime& time, size_t limit) {
    std::string out;
    for (size_t i = 0; i < format.size() && out.size() < limit;) {
        if (format[i] != '%') {
            out += format[i++];
            continue;
        }
        const DateConversion c = readDateConversion(format, i);
        out += c.known ? dateConversion(c, time) : std::string(format.substr(i, c.length));
        i += c.length;
    }
    if (out.size() > limit) out.resize(limit);
    return out;
}

std::vector<std::string> unknownDateConversions(std::string_view format) {
    std::vector<std::string> unknown;
    for (size_t i = format.find('%'); i != std::string_view::npos; i = format.find('%', i)) {
        const DateConversion c = readDateConversion(format, i);
        if (!c.known) unknown.emplace_back(format.substr(i, c.length));
        i += c.length;
    }
    return unknown;
}

CalendarTime localCalendarTime(std::time_t moment) {
    CalendarTime time;
    time.epochSeconds = static_cast<int64_t>(moment);
    const std::tm* local = std::localtime(&moment);
    if (!local) return time;
    time.fields = *local;
    const std::tm* utc = std::gmtime(&moment);
    if (!utc) return time;
    const std::tm universal = *utc;
    time.zoneKnown = true;
    time.utcOffsetSeconds = static_cast<int32_t>(fieldSeconds(time.fields) - fieldSeconds(universal));
    // The zone's name is the one thing taken from the platform's strftime:
    // %Z is the one conversion every runtime knows.
    char zone[64] = {};
    if (std::strftime(zone, sizeof zone, "%Z", &time.fields) > 0) time.zoneName = zone;
    return time;
}
