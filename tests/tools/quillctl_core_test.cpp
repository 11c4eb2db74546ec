// quillctl's pure parts: the register dump format (a bad dump must never
// reach a unit), how a file's pairs meet the rows read from a unit, and the
// bench's list, ports and receipts (a bad list must never reach a unit
// either; receipts decide what is programmed again).
#include "tools/quillctl/provision.h"
#include "tools/quillctl/receipts.h"
#include "tools/quillctl/register_dump.h"
#include "tools/quillctl/unit_list.h"

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

TEST(UnitList, ReadsQuotedCellsAndEndingsAndKeepsUnnamedFieldsOut) {
    UnitList list;
    std::string problem;
    ASSERT_TRUE(parseUnitList("\xEF\xBB\xBFLabel,k, T1 \r\n\"Main St, 4\",7,0612\r\n\r\n\"say \"\"hi\"\"\",,\n", list,
                              problem)) << problem;
    ASSERT_EQ(list.units.size(), 2u);
    EXPECT_EQ(list.units[0].label, "Main St, 4");
    EXPECT_EQ(list.units[1].label, "say \"hi\"");
    EXPECT_EQ(list.units[0].texts[0], "0612");
    EXPECT_EQ(list.units[0].texts[5], "7");
    EXPECT_EQ(list.units[1].line, 4);
    EXPECT_TRUE(list.named[0] && list.named[5] && !list.named[1] && !list.named[4]);
}

// Each fault is one message naming its line and column; nothing is taken.
TEST(UnitList, FaultsNameLineAndColumn) {
    const struct { std::string text; const char* problem; } cases[] = {
        {"", "line 1, column 1: the list is empty"},
        {"\n\r\n", "line 1, column 1: the list is empty"},
        {"label,T1\n", "line 2, column 1: no units below the header"},
        {"label,T5\nA,1\n", "line 1, column 2: unknown column 'T5' (label, T1, T2, T3, T4, H, K)"},
        {"label;T1\nA;1\n", "line 1, column 1: unknown column 'label;T1' (separate the columns with commas, not semicolons)"},
        {"label,T1,t1\nA,1,2\n", "line 1, column 3: column 't1' given twice"},
        {"T1,H\n1,123456\n", "line 1, column 1: no column 'label'"},
        {"label,T1\nA,1\nB\n", "line 3, column 2: 1 cells where the header names 2"},
        {"label,T1\nA,1,2\n", "line 2, column 3: 3 cells where the header names 2"},
        {"T1,label\n1,A\n2,\n", "line 3, column 2: no label"},
        {"label,T1\nA,1\nB,2\nA,3\n", "line 4, column 1: label 'A' is on line 2 too"},
        {"label\n\"A\nB\"\n", "line 2, column 1: the label is not one line of UTF-8 text"},
        {"label\nA\xC3\n", "line 2, column 1: the label is not one line of UTF-8 text"},
        {"label,T2\nA,06 12\n", "line 2, column 2: T2 '06 12' holds other characters than digits"},
        {"label,T4\nA,0123456789012345\n", "line 2, column 2: T4 takes at most 15 digits"},
        {"label,H\nA,12345\n", "line 2, column 2: H takes exactly 6 digits, or none"},
        {"label,K\nA,123\n", "line 2, column 2: K takes at most 2 digits"},
        {"label\nA\"B\n", "line 2, column 1: a quote inside a field that does not start with one"},
        {"label,T1\n\"A\"x,1\n", "line 2, column 1: text after the closing quote"},
        {"label,T1\nA,1\n\"B,2\n", "line 3, column 1: the quote is never closed"},
        {std::string("\xFF\xFEl\0a\0", 6), "line 1, column 1: the list is UTF-16 text; save it as CSV in UTF-8"},
    };
    for (const auto& c : cases) {
        UnitList list;
        std::string problem;
        EXPECT_FALSE(parseUnitList(c.text, list, problem)) << c.problem;
        EXPECT_EQ(problem, c.problem);
    }
}

TEST(UnitList, Ports) {
    std::vector<int32_t> ports;
    std::string problem;
    EXPECT_TRUE(parsePortList("3,4,7-9,256", ports, problem));
    EXPECT_EQ(ports, (std::vector<int32_t>{3, 4, 7, 8, 9, 256}));
    for (const char* bad : {"", "3,", "0", "257", "9-7", "3,2-4", "x", "3-", "-3", "1-2-3"})
        EXPECT_FALSE(parsePortList(bad, ports, problem)) << bad;
    EXPECT_EQ(problem, "PORTS '1-2-3': '1-2-3' is not a port 1..256 or a range such as 7-9");
}

// A label is programmed again unless a whole line says `programmed`; a torn
// last line lies outside the whole bytes; a foreign file is refused.
TEST(Receipts, WhatTheFileSays) {
    Receipt r{"Main St, 4", 3, 105, "1.05", "2026-12-06T14:03:22+01:00", "2026-12-06T14:03:53+01:00", 31.25,
              ReceiptResult::Programmed, -1, "2026-12-06 14-03-25 COM3 1.05.sqc"};
    const std::string line = composeReceipt(r);
    EXPECT_EQ(line, "\"Main St, 4\",COM3,105,1.05,2026-12-06T14:03:22+01:00,2026-12-06T14:03:53+01:00,31.2,programmed,,"
                    "2026-12-06 14-03-25 COM3 1.05.sqc\r\n");
    r.label = "B";
    r.result = ReceiptResult::Failed;
    r.stoppedRegister = 5;
    const std::string header = std::string(kReceiptsHeader) + "\r\n", failedLine = composeReceipt(r);
    std::set<std::string> programmed;
    size_t whole = 0;
    std::string problem;
    ASSERT_TRUE(readReceipts(header + line + failedLine + line.substr(0, 20), programmed, whole, problem)) << problem;
    EXPECT_EQ(programmed, (std::set<std::string>{"Main St, 4"}));
    EXPECT_EQ(whole, header.size() + line.size() + failedLine.size());
    EXPECT_TRUE(readReceipts("label,po", programmed, whole, problem) && whole == 0 && programmed.empty());
    EXPECT_FALSE(readReceipts("label,T1\nA,1\n", programmed, whole, problem));
    EXPECT_FALSE(readReceipts(header + "A,COM3,105\n", programmed, whole, problem));
    EXPECT_EQ(problem, "line 2, column 1: not a receipt line");
    EXPECT_EQ(defaultReceiptsPath("d/units.CSV"), "d/units-receipts.csv");
    EXPECT_EQ(defaultReceiptsPath("units.txt"), "units.txt-receipts.csv");
}

TEST(Receipts, LocalTimeCarriesItsOffset) {
    std::tm local = {}, utc = {};
    local.tm_year = 126, local.tm_mon = 0, local.tm_mday = 1, local.tm_hour = 0, local.tm_min = 30;
    utc.tm_year = 125, utc.tm_mon = 11, utc.tm_mday = 31, utc.tm_hour = 19, utc.tm_min = 0;
    EXPECT_EQ(isoLocalTime(local, utc), "2026-01-01T00:30:00+05:30");
    EXPECT_EQ(isoLocalTime(utc, local), "2025-12-31T19:00:00-05:30");
}

}  // namespace
