#include "report/date_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

CalendarTime at(int year, int month, int day, int hour, int minute, int second, int wday, int yday) {
    CalendarTime t;
    t.fields.tm_year = year - 1900;
    t.fields.tm_mon = month - 1;
    t.fields.tm_mday = day;
    t.fields.tm_hour = hour;
    t.fields.tm_min = minute;
    t.fields.tm_sec = second;
    t.fields.tm_wday = wday;
    t.fields.tm_yday = yday;
    return t;
}

// A Monday morning; the first of a year in the previous ISO year's week 53;
// the end of a leap year in the next ISO year's week 1, at noon; a Sunday
// with a leap second in the previous ISO year's week 52.
const CalendarTime kTimes[] = {
    at(2026, 12, 7, 9, 5, 3, 1, 340),
    at(2021, 1, 1, 0, 0, 0, 5, 0),
    at(2024, 12, 30, 12, 30, 59, 1, 364),
    at(2023, 1, 1, 23, 59, 60, 0, 0),
};

// ---- POSIX conversions against known times ----
// The languages' formats and the boundaries of weeks, week-based years and
// the 12-hour clock; every conversion is compared with the C library below.

TEST(DateFormat, LanguageFormatsAndBoundariesAtKnownTimes) {
    struct Case { const char* format; const char* expected[4]; };
    const Case cases[] = {
        // The three languages' formats.
        {"%Y-%m-%d", {"2026-12-07", "2021-01-01", "2024-12-30", "2023-01-01"}},
        {"%d.%m.%Y", {"07.12.2026", "01.01.2021", "30.12.2024", "01.01.2023"}},
        {"%a %A %b %h %B", {"Mon Monday Dec Dec December", "Fri Friday Jan Jan January", "Mon Monday Dec Dec December",
                            "Sun Sunday Jan Jan January"}},
        {"%c", {"Mon Dec  7 09:05:03 2026", "Fri Jan  1 00:00:00 2021", "Mon Dec 30 12:30:59 2024",
                "Sun Jan  1 23:59:60 2023"}},
        {"%G %g %V", {"2026 26 50", "2020 20 53", "2025 25 01", "2022 22 52"}},
        {"%H %I %p", {"09 09 AM", "00 12 AM", "12 12 PM", "23 11 PM"}},
        {"%u %w", {"1 1", "5 5", "1 1", "7 0"}},
        {"%U %W", {"49 49", "00 00", "52 53", "01 00"}},
    };
    for (const Case& c : cases)
        for (int i = 0; i < 4; ++i) EXPECT_EQ(formatDate(c.format, kTimes[i]), c.expected[i]) << c.format << " #" << i;
}

// POSIX's flags and widths, for years the two-digit and four-digit fields
// do not hold.
TEST(DateFormat, FlagsAndWidthsOfYearsAndCenturies) {
    struct Case { int year; const char* format; const char* expected; };
    const Case cases[] = {
        {2026, "%6Y|%06Y|%+6Y|%+4Y|%+Y", "002026|002026|+02026|2026|2026"},
        {2026, "%3C|%+3C|%+C", "020|+20|20"},
        {2026, "%12F|%+12F|%012F|%5F|%+F", "002026-12-07|+02026-12-07|002026-12-07|2026-12-07|2026-12-07"},
        {12345, "%Y|%+Y|%C|%+C|%y|%F", "12345|+12345|123|+123|45|+12345-12-07"},
        {270, "%Y|%+5Y|%C|%y|%F", "270|+0270|02|70|0270-12-07"},
        {5, "%Y|%C|%y|%F|%+3C", "5|00|05|0005-12-07|+00"},
        {-1, "%Y|%C|%y|%F|%6Y", "-1|00|01|-001-12-07|-00001"},
    };
    for (const Case& c : cases) {
        CalendarTime t = kTimes[0];
        t.fields.tm_year = c.year - 1900;
        EXPECT_EQ(formatDate(c.format, t), c.expected) << c.year << " " << c.format;
    }
}

TEST(DateFormat, ZoneSecondsAndFieldsOutOfRange) {
    CalendarTime t = kTimes[0];
    t.epochSeconds = 1796634303;
    struct Case { bool zoneKnown; int32_t offset; const char* name; const char* expected; };
    const Case cases[] = {
        {true, 3600, "CET", "+0100 CET 1796634303"},
        {true, -12600, "NST", "-0330 NST 1796634303"},
        {true, 0, "", "+0000  1796634303"},
        {false, 3600, "CET", "  1796634303"},
    };
    for (const Case& c : cases) {
        t.zoneKnown = c.zoneKnown;
        t.utcOffsetSeconds = c.offset;
        t.zoneName = c.name;
        EXPECT_EQ(formatDate("%z %Z %s", t), c.expected) << c.expected;
    }
    // Names of days and months outside their ranges are never looked up.
    t.fields.tm_wday = 9;
    t.fields.tm_mon = -1;
    EXPECT_EQ(formatDate("%a %A %b %B", t), "? ? ? ?");
}

// ---- what is not POSIX's ----

TEST(DateFormat, UnknownConversionsPrintAsTheyStand) {
    struct Case { const char* format; const char* expected; std::vector<std::string> unknown; };
    const Case cases[] = {
        {"%Q|%k|%P|%-d|%:z", "%Q|%k|%P|%-d|%:z", {"%Q", "%k", "%P", "%-", "%:"}},
        {"%5d|%05H|%+m", "%5d|%05H|%+m", {"%5d", "%05H", "%+m"}},  // widths only for C F G Y
        {"%Ed|%Oa|%EOY", "%Ed|%Oa|%EOY", {"%Ed", "%Oa", "%EO"}},  // modifiers where none belongs
        {"100%", "100%", {"%"}},
        {"%E", "%E", {"%E"}},
        {"%+12", "%+12", {"%+12"}},
        {"%%Q %Y", "%Q 2026", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatDate(c.format, kTimes[0]), c.expected) << c.format;
        EXPECT_EQ(unknownDateConversions(c.format), c.unknown) << c.format;
    }
}

TEST(DateFormat, TextIsCutToTheReportBuffer) {
    std::string many;
    for (int i = 0; i < 100; ++i) many += "%c";
    struct Case { std::string format; size_t limit; size_t size; };
    const Case cases[] = {
        {many, kDateTextLimit, 999}, {"%999999999999Y", kDateTextLimit, 999}, {"%Y", 3, 3}, {"", 10, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(formatDate(c.format, kTimes[0], c.limit).size(), c.size) << c.format;
    EXPECT_EQ(formatDate("%Y-%m", kTimes[0], 6), "2026-1");
}

// ---- the platform's strftime where it is POSIX's ----

#ifndef _WIN32
// TZ set for one test and put back when it ends, however it ends.
class ZoneOf {
public:
    explicit ZoneOf(const char* zone) {
        const char* now = std::getenv("TZ");
        had_ = now != nullptr;
        if (had_) saved_ = now;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneOf() {
        if (had_) setenv("TZ", saved_.c_str(), 1); else unsetenv("TZ");
        tzset();
    }
private:
    bool had_ = false;
    std::string saved_;
};

// glibc's strftime agrees with POSIX for every conversion without flags
// and width in years 1000 to 9999; local times in a zone with summer time
// also exercise the offset and zone name taken from the platform.
TEST(DateFormat, MatchesTheCLibraryInAZoneWithSummerTime) {
    const ZoneOf zone("CET-1CEST,M3.5.0,M10.5.0/3");
    const std::string format =
        "%a|%A|%b|%B|%c|%C|%d|%D|%e|%F|%g|%G|%h|%H|%I|%j|%m|%M|%n|%p|%r|%R|%s|%S|%t|%T|%u|%U|%V|%w|%W|%x|%X|%y|"
        "%Y|%z|%Z|%%|%Ec|%EC|%Ex|%EX|%Ey|%EY|%Od|%Oe|%OH|%OI|%Om|%OM|%OS|%Ou|%OU|%OV|%Ow|%OW|%Oy";
    int compared = 0;
    for (int64_t moment = -2208988800LL; moment < 4102444800LL; moment += 86400LL * 13 + 3607) {
        const std::time_t t = static_cast<std::time_t>(moment);
        std::tm local{};
        localtime_r(&t, &local);
        char expected[1000];
        ASSERT_GT(std::strftime(expected, sizeof expected, format.c_str(), &local), 0u);
        ASSERT_EQ(formatDate(format, localCalendarTime(t)), expected) << moment;
        ++compared;
    }
    EXPECT_GT(compared, 5000);
    // Half past midnight on 1 February and 1 March 2026 (CET): the local
    // date is a month on from the UTC one, so the offset spans a month end.
    for (const std::time_t t : {std::time_t{1769902200}, std::time_t{1772321400}})
        EXPECT_EQ(formatDate("%d %H:%M %z", localCalendarTime(t)), "01 00:30 +0100") << t;
}
#endif

}  // namespace
