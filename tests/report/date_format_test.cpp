#include "report/date_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// A Monday morning: 2026-12-07 09:05:03 UTC, day 340 of the year.
CalendarTime monday() {
    const std::time_t at = 1796634303;
    CalendarTime t;
    t.fields = *std::gmtime(&at);
    t.epochSeconds = at;
    return t;
}

// What is not the C library's (which the last test compares): POSIX's flags
// and widths, for years the two- and four-digit fields do not hold; the zone,
// the seconds and fields out of range; unknown conversions; the cut.
TEST(DateFormat, FlagsWidthsZoneUnknownConversionsAndTheCut) {
    const struct { int year; const char* format; const char* expected; } cases[] = {
        {2026, "%6Y|%06Y|%+6Y|%+4Y|%+Y", "002026|002026|+02026|2026|2026"},
        {2026, "%3C|%+3C|%+C", "020|+20|20"},
        {2026, "%12F|%+12F|%012F|%5F|%+F", "002026-12-07|+02026-12-07|002026-12-07|2026-12-07|2026-12-07"},
        {12345, "%Y|%+Y|%C|%+C|%y|%F", "12345|+12345|123|+123|45|+12345-12-07"},
        {270, "%Y|%+5Y|%C|%y|%F", "270|+0270|02|70|0270-12-07"},
        {5, "%Y|%C|%y|%F|%+3C", "5|00|05|0005-12-07|+00"},
        {-1, "%Y|%C|%y|%F|%6Y", "-1|00|01|-001-12-07|-00001"}};
    for (const auto& c : cases) {
        CalendarTime t = monday();
        t.fields.tm_year = c.year - 1900;
        EXPECT_EQ(formatDate(c.format, t), c.expected) << c.year << " " << c.format;
    }
    const struct { bool zoneKnown; int32_t offset; const char* name; const char* expected; } zones[] = {
        {true, 3600, "CET", "+0100 CET 1796634303"}, {true, -12600, "NST", "-0330 NST 1796634303"},
        {true, 0, "", "+0000  1796634303"}, {false, 3600, "CET", "  1796634303"}};
    CalendarTime t = monday();
    for (const auto& c : zones) {
        t.zoneKnown = c.zoneKnown;
        t.utcOffsetSeconds = c.offset;
        t.zoneName = c.name;
        EXPECT_EQ(formatDate("%z %Z %s", t), c.expected) << c.expected;
    }
    // Names of days and months outside their ranges are never looked up.
    t.fields.tm_wday = 9;
    t.fields.tm_mon = -1;
    EXPECT_EQ(formatDate("%a %A %b %B", t), "? ? ? ?");
    const struct { const char* format; const char* expected; std::vector<std::string> unknown; } unknowns[] = {
        {"%Q|%k|%P|%-d|%:z", "%Q|%k|%P|%-d|%:z", {"%Q", "%k", "%P", "%-", "%:"}},
        {"%5d|%05H|%+m", "%5d|%05H|%+m", {"%5d", "%05H", "%+m"}},  // widths only for C F G Y
        {"%Ed|%Oa|%EOY", "%Ed|%Oa|%EOY", {"%Ed", "%Oa", "%EO"}},  // modifiers where none belongs
        {"100%", "100%", {"%"}}, {"%E", "%E", {"%E"}}, {"%+12", "%+12", {"%+12"}}, {"%%Q %Y", "%Q 2026", {}}};
    for (const auto& c : unknowns) {
        EXPECT_EQ(formatDate(c.format, monday()), c.expected) << c.format;
        EXPECT_EQ(unknownDateConversions(c.format), c.unknown) << c.format;
    }
    std::string many;
    for (int i = 0; i < 100; ++i) many += "%c";
    const struct { std::string format; size_t limit; size_t size; } cut[] = {
        {many, kDateTextLimit, 999}, {"%999999999999Y", kDateTextLimit, 999}, {"%Y", 3, 3}, {"", 10, 0}};
    for (const auto& c : cut) EXPECT_EQ(formatDate(c.format, monday(), c.limit).size(), c.size) << c.format;
    EXPECT_EQ(formatDate("%Y-%m", monday(), 6), "2026-1");
}

#ifndef _WIN32
// TZ set for one test and put back when it ends, however it ends.
struct ZoneOf {
    explicit ZoneOf(const char* zone) : had(std::getenv("TZ")), saved(had ? std::getenv("TZ") : "") { set(zone); }
    ~ZoneOf() { set(had ? saved.c_str() : nullptr); }
    static void set(const char* zone) { zone ? setenv("TZ", zone, 1) : unsetenv("TZ"); tzset(); }
    const bool had;
    const std::string saved;
};

// glibc's strftime agrees with POSIX for every conversion without flags and
// width in years 1000 to 9999; local times in a zone with summer time also
// exercise the offset and zone name taken from the platform.
TEST(DateFormat, MatchesTheCLibraryInAZoneWithSummerTime) {
    const ZoneOf zone("CET-1CEST,M3.5.0,M10.5.0/3");
    const std::string format =
        "%a|%A|%b|%B|%c|%C|%d|%D|%e|%F|%g|%G|%h|%H|%I|%j|%m|%M|%n|%p|%r|%R|%s|%S|%t|%T|%u|%U|%V|%w|%W|%x|%X|%y|"
        "%Y|%z|%Z|%%|%Ec|%EC|%Ex|%EX|%Ey|%EY|%Od|%Oe|%OH|%OI|%Om|%OM|%OS|%Ou|%OU|%OV|%Ow|%OW|%Oy";
    for (int64_t moment = -2208988800LL; moment < 4102444800LL; moment += 86400LL * 13 + 3607) {
        const std::time_t t = static_cast<std::time_t>(moment);
        std::tm local{};
        localtime_r(&t, &local);
        char expected[1000];
        ASSERT_GT(std::strftime(expected, sizeof expected, format.c_str(), &local), 0u);
        ASSERT_EQ(formatDate(format, localCalendarTime(t)), expected) << moment;
    }
    // Half past midnight on 1 February and 1 March 2026 (CET): the local date
    // is a month on from the UTC one, so the offset spans a month end.
    for (const std::time_t t : {std::time_t{1769902200}, std::time_t{1772321400}})
        EXPECT_EQ(formatDate("%d %H:%M %z", localCalendarTime(t)), "01 00:30 +0100") << t;
}
#endif

}  // namespace
