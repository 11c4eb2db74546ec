// quillctl's pure parts: the register dump format (a bad dump must never
// reach a unit), and how a file's pairs meet the rows read from a unit.
#include "tools/quillctl/provision.h"
#include "tools/quillctl/register_dump.h"

#include <gtest/gtest.h>

namespace {

std::string dumpText(const std::string& header, const std::string& changedLine = "", int32_t changedRegister = -1) {
    std::string text = header + "\n";
    for (int32_t r = 0; r < kDumpRegisters; ++r)
        text += r == changedRegister ? changedLine : std::to_string(r) + " " + std::to_string(255 - r) + "\n";
    return text;
}

const char* const kHeader = "quill-dump identity 105 version 1.05 time 2026-12-06 14:03:22";

// Rows 1..4 as read from a unit: row 3 hidden; row 4's unit offers no
// choice; row 2 holds 7, beyond the unit's 5 choices.
FormValues readRows() {
    FormValues form;
    form.rows = {{1, true, 1, 4, true}, {2, true, 7, 5, true}, {3, false, -1, 0, false}, {4, true, 2, 0, true}};
    return form;
}

TEST(QuillctlCore, DumpsReadOrRefusedPairsOpenedAndTheirDifferences) {
    RegisterDump written, edited;
    std::string reason;
    ASSERT_TRUE(parseRegisterDump(dumpText(kHeader), written, reason)) << reason;
    EXPECT_EQ(composeRegisterDump(written), dumpText(kHeader));
    EXPECT_TRUE(parseRegisterDump("# copied\r\n\r\n" + dumpText("quill-dump identity 105\r", "0\t255\r\n", 0), edited,
                                  reason)) << reason;
    EXPECT_EQ(std::string(edited.values, edited.values + kDumpRegisters),
              std::string(written.values, written.values + kDumpRegisters));
    const struct { std::string text; const char* reason; } cases[] = {
        {dumpText("quill-dump identity 65536"), "line 1: not a quill-dump header"},
        {"0 0\n", "line 1: not a quill-dump header"}, {"", "line 0: no quill-dump header"},
        {dumpText(kHeader, "12 256\n", 12), "line 14: value 256 is over 255"},
        {dumpText(kHeader, "12 -1\n", 12), "line 14: not ADDR VALUE"},
        {dumpText(kHeader, "12 9999999999\n", 12), "line 14: not ADDR VALUE"},
        {dumpText(kHeader, "12 1 2\n", 12), "line 14: not ADDR VALUE"},
        {dumpText(kHeader, "253 1\n", 12), "line 14: register 253 is not in 0..252"},
        {dumpText(kHeader, "11 1\n", 12), "line 14: register 11 given twice"},
        {dumpText(kHeader, "", 12), "register 12 is missing"}};
    for (const auto& c : cases) {
        EXPECT_FALSE(parseRegisterDump(c.text, edited, reason)) << c.reason;
        EXPECT_EQ(reason, c.reason);
    }
    // Selections after opening the pairs (-1: nothing written) and the rows
    // reported as differing.
    const struct { const char* what; std::vector<ConfigPair> pairs; std::vector<int32_t> selections, differing; } opened[] =
        {{"unnamed rows are left alone", {{1, 3}}, {3, -1, -1, -1}, {1}},
        {"same value: written, no difference", {{1, 1}}, {1, -1, -1, -1}, {}},
        {"past the unit's choices: the first", {{1, 4}, {2, 9}}, {0, 0, -1, -1}, {1, 2}},
        {"the later pair wins; -1 writes nothing", {{1, 3}, {1, -1}, {2, 1}, {2, 3}}, {-1, 3, -1, -1}, {2}},
        {"hidden, no choices, unknown rows skipped", {{3, 1}, {4, 1}, {5, 1}, {0, 1}, {-7, 1}}, {-1, -1, -1, -1}, {}}};
    for (const auto& c : opened) {
        FormValues form = readRows();
        openPairs(c.pairs, form);
        std::vector<int32_t> selections, differing;
        for (const FormRow& row : form.rows) selections.push_back(row.selection);
        for (const RowDifference& d : differences(readRows(), c.pairs)) differing.push_back(d.number);
        EXPECT_EQ(selections, c.selections) << c.what;
        EXPECT_EQ(differing, c.differing) << c.what;
    }
}

}  // namespace
