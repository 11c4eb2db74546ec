// The stored window placement, as any program or person may have left it in
// the registry, and the centring of a dialog on a window placed by it.
// Properties: a value is used exactly when it has 88 or 89 characters, the
// first 88 hexadecimal, and a length field of 44; what is used writes back
// as the same digits (upper case, a hidden show state made normal) and
// reads again as the same record; the centred origin of a dialog on the
// stored rectangle is the exact one, limited to the screen coordinate range,
// whatever the coordinates.
//
// Input: dialog rectangle(16) | stored text...
#include "app/dialog_rules.h"
#include "app/placement_text.h"
#include "tests/fuzz/fuzz_check.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>

namespace {

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

int32_t clamped(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// The centre in exact arithmetic: every term fits 64 bits.
int32_t exactCentre(int32_t parentLow, int32_t parentHigh, int32_t low, int32_t high) {
    const int64_t room = (int64_t{parentHigh} - parentLow) - (int64_t{high} - low);
    return clamped(int64_t{parentLow} + room / 2);
}

void checkCentring(const ScreenRect& dialog, const PlacementRecord& stored) {
    const ScreenRect parent{stored.left, stored.top, stored.right, stored.bottom};
    const ScreenPoint p = centredOrigin(dialog, parent);
    FUZZ_CHECK(p.x == exactCentre(parent.left, parent.right, dialog.left, dialog.right), "wrong centred x");
    FUZZ_CHECK(p.y == exactCentre(parent.top, parent.bottom, dialog.top, dialog.bottom), "wrong centred y");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input{data, size};
    // A braced list reads its words left to right.
    const ScreenRect dialog{static_cast<int32_t>(input.word()), static_cast<int32_t>(input.word()),
                            static_cast<int32_t>(input.word()), static_cast<int32_t>(input.word())};
    const std::string text = input.rest();

    PlacementRecord record;
    const bool used = decodePlacementText(text, record);
    const bool wellFormed = (text.size() == 88 || text.size() == 89) &&
                            std::all_of(text.begin(), text.begin() + std::min<size_t>(88, text.size()), isHex);
    FUZZ_CHECK(!used || wellFormed, "a malformed value was used");
    if (!used) {
        if (wellFormed) FUZZ_CHECK(text.compare(0, 8, "2C000000") != 0 && text.compare(0, 8, "2c000000") != 0,
                                   "a value with length 44 was ignored");
        checkCentring(dialog, PlacementRecord{44, 0, 1, 0, 0, 0, 0, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
        return 0;
    }
    FUZZ_CHECK(record.length == 44 && record.showCmd != kShowCmdHide, "a used record with length or state wrong");

    const std::string written = encodePlacementText(record);
    std::string expected = text.substr(0, 88);
    std::transform(expected.begin(), expected.end(), expected.begin(), [](unsigned char c) { return std::toupper(c); });
    if (expected.compare(16, 8, "00000000") == 0) expected.replace(16, 8, "01000000");
    FUZZ_CHECK(written == expected, "the record does not write back as it was read");
    PlacementRecord again;
    FUZZ_CHECK(decodePlacementText(written, again) && std::memcmp(&again, &record, sizeof record) == 0,
               "the written value does not read as the same record");

    checkCentring(dialog, record);
    return 0;
}
