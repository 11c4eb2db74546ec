// The text inside a configuration file. Any form composes to a text that
// parses back to its rows with a list, in order; any bytes are refused (no
// pairs, a reason) or give pairs whose last values survive being composed and
// parsed again; a text ends at its first NUL.
// Input: mode(1) | rows as (hasList, selection: 1+4 bytes)... or raw bytes
#include "configfile/config_text.h"
#include "tests/fuzz/fuzz_check.h"

#include <map>
#include <vector>

namespace {

constexpr int32_t kMaxRows = 999;

void composedFormsParseBack(FuzzInput& in) {
    std::vector<FormRow> rows;
    while (in.size >= 5 && rows.size() < static_cast<size_t>(kMaxRows)) {
        const bool hasList = in.byte() & 1;
        const int32_t selection = static_cast<int32_t>(in.word() % 300) - 1;  // -1 .. 298
        rows.push_back(FormRow{static_cast<int32_t>(rows.size()) + 1, hasList, selection});
    }
    std::vector<ConfigPair> pairs;
    std::string reason;
    FUZZ_CHECK(parseConfigText(composeConfigText(rows), pairs, reason), "a composed text is refused");
    size_t next = 0;
    for (const FormRow& row : rows) {
        if (!row.hasList) continue;
        FUZZ_CHECK(next < pairs.size(), "a row with a list is missing");
        FUZZ_CHECK(pairs[next].param == row.number, "pairs out of order");
        FUZZ_CHECK(pairs[next++].index == row.selection, "a selection changed");
    }
    FUZZ_CHECK(next == pairs.size(), "a pair without a row");
}

// The last value of every parameter 1..999 a text names: what applying it
// leaves in the lists.
std::map<int32_t, int32_t> lastValues(const std::vector<ConfigPair>& pairs) {
    std::map<int32_t, int32_t> values;
    for (const ConfigPair& p : pairs)
        if (p.param >= 1 && p.param <= kMaxRows && p.index >= kNoSelection) values[p.param] = p.index;
    return values;
}

void bytesParseConsistently(const std::string& bytes) {
    std::vector<ConfigPair> pairs;
    std::string reason;
    const bool ok = parseConfigText(bytes, pairs, reason);
    FUZZ_CHECK(ok || (pairs.empty() && !reason.empty()), "a refusal with pairs or without a reason");
    if (!ok) return;
    const size_t nul = bytes.find('\0');
    if (nul != std::string::npos) {
        std::vector<ConfigPair> cut;
        FUZZ_CHECK(parseConfigText(bytes.substr(0, nul), cut, reason), "the text before the NUL is refused");
        FUZZ_CHECK(cut.size() == pairs.size(), "the bytes after a NUL count");
    }
    const std::map<int32_t, int32_t> values = lastValues(pairs);
    if (values.empty()) return;
    std::vector<FormRow> rows(static_cast<size_t>(values.rbegin()->first));
    for (const auto& [param, index] : values) rows[param - 1] = FormRow{param, true, index};
    std::vector<ConfigPair> again;
    FUZZ_CHECK(parseConfigText(composeConfigText(rows), again, reason), "the recomposed text is refused");
    FUZZ_CHECK(lastValues(again) == values, "the recomposed text applies other values");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    if (in.byte() & 1) composedFormsParseBack(in);
    else bytesParseConsistently(in.rest());
    return 0;
}
