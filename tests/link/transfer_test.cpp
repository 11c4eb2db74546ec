// The configuration walk against quill-sim: what a read brings into the
// form, what a write leaves in the unit's registers, and where a stop
// request ends it; faults part-way are the fault matrix's. The register
// rules (padding, read-back) are the worker tests'; here they are checked
// through whole forms, and the BCD pair's register is written only here.
#include "link/device_transfer.h"
#include "link/frame.h"
#include "params/text_fields.h"
#include "tests/link/worker_fixture.h"

namespace {

// Rows 1..5, row 3 hidden.
FormValues fiveRows() {
    FormValues form = emptyForm();
    for (int32_t n = 1; n <= 5; ++n) form.rows.push_back(FormRow{n, n != 3, -1, 0, false});
    return form;
}

TransferProgress counting(std::vector<TransferStep>& steps, size_t stopAfter = SIZE_MAX) {
    return [&steps, stopAfter](const TransferStep& step) {
        steps.push_back(step);
        return steps.size() < stopAfter;
    };
}

std::string digitsAt(const SimUnit& unit, int32_t base, int32_t length) {
    std::string text;
    for (int32_t i = 0; i < length; ++i) text += unit.registers[base + i] ? char(unit.registers[base + i]) : '.';
    return text;
}

// Every register the walk touches set to 7, the rows' counts 9, 0, -, 200, 9.
const char* const kSevens =
    "register 1 7\nregister 2 7\nregister 3 7\nregister 4 7\nregister 5 7\n"
    "count 1 9\ncount 2 0\ncount 4 200\ncount 5 9\n"
    "register 181 0x31\nregister 182 0x32\nregister 245 0x34\nregister 252 0x59\n";

TEST_F(WorkerTest, ReadFillsFieldsRowsAndCountsSkipsHiddenRowsAndStopsWhenAsked) {
    ASSERT_TRUE(useUnit({}, kSevens));
    FormValues form = fiveRows();
    form.fields[2].present = false;  // T3 without caption: its registers are not asked
    std::vector<TransferStep> steps;
    EXPECT_EQ(readForm(form, counting(steps)).status, TransferStatus::Complete);
    EXPECT_EQ(static_cast<int32_t>(steps.size()), transferSteps(form));
    EXPECT_EQ(steps.size(), 6u + 4u);
    const std::string texts[] = {"12", "", "", "", "4", "59"};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(form.fields[i].text, texts[i]) << i;
    EXPECT_EQ(countRequests(sim, kOpRead, 213), 0);
    const struct { int32_t selection, count; bool transferred; } rows[] = {
        {7, 9, true}, {7, 0, true}, {-1, 0, false}, {7, 200, true}, {7, 9, true}};
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(form.rows[k].selection, rows[k].selection) << k;
        EXPECT_EQ(form.rows[k].count, rows[k].count) << k;
        EXPECT_EQ(form.rows[k].transferred, rows[k].transferred) << k;
    }
    EXPECT_EQ(countRequests(sim, kOpRead, 3) + countRequests(sim, kOpChoiceCount, 3), 0) << "hidden row";

    // Asked to stop after the first row: nothing more is sent.
    form = fiveRows();
    steps.clear();
    const int32_t asked = countRequests(sim, kOpRead, 2);
    const TransferResult stopped = readForm(form, counting(steps, 7));
    EXPECT_EQ(stopped.status, TransferStatus::Stopped);
    EXPECT_EQ(stopped.stoppedParameter, 1);
    EXPECT_EQ(countRequests(sim, kOpRead, 2), asked) << "nothing asked after the stop";
    EXPECT_TRUE(form.rows[0].transferred);
}

TEST_F(WorkerTest, WriteStoresFieldsWithPaddingAndEveryListedRow) {
    ASSERT_TRUE(useUnit({}, kSevens));
    FormValues form = fiveRows();
    form.fields[0].text = "123456789012345";
    form.fields[1].text = "987";
    form.fields[5].text = "3";
    const int32_t selections[] = {0, 2, 1, -1, 255};  // row 3 hidden, row 4 without selection
    for (size_t k = 0; k < 5; ++k) form.rows[k].selection = selections[k];
    std::vector<TransferStep> steps;
    EXPECT_EQ(writeForm(form, counting(steps)).status, TransferStatus::Complete);
    EXPECT_EQ(steps.size(), 10u) << "a row without a selection still steps";
    const SimUnit unit = simState(sim);
    EXPECT_EQ(digitsAt(unit, 181, 16), "123456789012345.");
    EXPECT_EQ(digitsAt(unit, 197, 16), "987.............");
    EXPECT_EQ(digitsAt(unit, 245, 7), ".......");
    EXPECT_EQ(unit.registers[kBcdRegister], 0x30);
    const int expected[] = {0, 2, 7, 7, 255};
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(unit.registers[n], expected[n - 1]) << "register " << n;
    EXPECT_EQ(countRequests(sim, kOpWrite, 3) + countRequests(sim, kOpWrite, 4), 0);
}

TEST_F(WorkerTest, WriteRefusesUnwritableTextsBeforeAnyRequest) {
    ASSERT_TRUE(useUnit({}));
    const struct { size_t field; const char* text; } cases[] = {
        {0, "12a"}, {0, "1234567890123456"}, {4, "1234567"}, {5, "123"}, {5, "1 "}};
    for (const auto& c : cases) {
        FormValues form = fiveRows();
        form.fields[c.field].text = c.text;
        const size_t before = simRequests(sim).size();
        std::vector<TransferStep> steps;
        const TransferResult result = writeForm(form, counting(steps));
        EXPECT_EQ(result.status, TransferStatus::Rejected) << c.text;
        EXPECT_EQ(result.stoppedField, TextFieldLimits[c.field].controlId) << c.text;
        EXPECT_EQ(simRequests(sim).size(), before) << c.text;
        EXPECT_TRUE(steps.empty());
    }
}

}  // namespace
