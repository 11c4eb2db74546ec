// The date of the printed report: a format from the definition table with
// the conversions of POSIX strftime, applied to the local time.
//
// The platform's own strftime is not used: the Windows runtime lacks %C, %D,
// %e, %F, %g, %G, %h, %n, %r, %R, %t, %T, %u and %V and ends the program on
// a conversion it does not know, while a translator may write any of them.
// This formatter gives the POSIX-locale result for every POSIX conversion on
// every platform:
//
//   %[flag][width][modifier]specifier
//   flag      0 or +, with width only for C, F, G and Y (+ adds a plus sign
//             when the year takes more than four characters, the century
//             more than two, padding included)
//   modifier  E before c C x X y Y, O before d e H I m M S u U V w W y; both
//             change nothing in the POSIX locale
//
// Anything else after a % (an unknown letter, a flag or width on another
// conversion, a modifier where none belongs, a % at the very end) is
// printed as it stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// A moment as the formatter needs it: the broken-down local time with its
// week and year days, the seconds since the Epoch, and the zone when known.
struct CalendarTime {
    std::tm fields{};
    int64_t epochSeconds = 0;
    bool zoneKnown = false;
    int32_t utcOffsetSeconds = 0;  // east of UTC positive
    std::string zoneName;          // empty when the platform names none
};

// The local time of `moment` with its offset from UTC and zone name.
CalendarTime localCalendarTime(std::time_t moment);

// The report keeps the date in 1000 characters: 999 and the terminator.
constexpr size_t kDateTextLimit = 999;

// `format` applied to `time`, cut to `limit` characters.
std::string formatDate(std::string_view format, const CalendarTime& time, size_t limit = kDateTextLimit);

// One conversion specification read from a format. `length` counts its
// characters from the %; `known` says whether it is one of POSIX's.
struct DateConversion {
    size_t length = 0;
    bool known = false;
    char flag = 0;      // 0, '0' or '+'
    int32_t width = -1;  // -1 when none is given
    char specifier = 0;
};

// The conversion that starts at format[at], which is a %.
DateConversion readDateConversion(std::string_view format, size_t at);

// The conversions of `format` that are not POSIX's, as written.
std::vector<std::string> unknownDateConversions(std::string_view format);
