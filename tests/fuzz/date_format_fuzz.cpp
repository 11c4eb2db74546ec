// The report's date formatter on any format a translator may write and any
// moment: the text keeps its limit, is the same every time, and shows a
// format without % and every conversion called unknown as written.
// Input: seconds since the Epoch(4) | offset(2) | limit(2) | format...
#include "report/date_format.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    CalendarTime time = localCalendarTime(static_cast<std::time_t>(static_cast<int32_t>(in.word())));
    time.utcOffsetSeconds = static_cast<int16_t>(in.byte() | in.byte() << 8) * 60 % (24 * 3600);
    const size_t limit = (in.byte() | in.byte() << 8) % 1200;
    const std::string format = in.rest();
    const std::string text = formatDate(format, time, limit);
    FUZZ_CHECK(text.size() <= limit, "the text runs past its limit");
    FUZZ_CHECK(text == formatDate(format, time, limit), "the same format gives another text");
    if (format.find('%') == std::string::npos)
        FUZZ_CHECK(text == format.substr(0, limit), "a text without conversions changed");
    // No conversion gives more than its width (at most 1000) and a little:
    // this limit never cuts.
    const std::string whole = formatDate(format, time, (format.size() + 1) * 1100);
    for (const std::string& unknown : unknownDateConversions(format))
        FUZZ_CHECK(whole.find(unknown) != std::string::npos, "an unknown conversion is not printed as written");
    return 0;
}
