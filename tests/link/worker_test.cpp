// The link worker against quill-sim: verified writes, refusals, digit strings,
// a changed or vanished unit, and the walk over a whole form (faults part-way
// are the fault matrix's). None waits out a 5000 ms limit.
#include "link/device_transfer.h"
#include "link/frame.h"
#include "params/text_fields.h"
#include "tests/link/worker_fixture.h"

#include <algorithm>

namespace {

// Registers as text: '.' for 0, '~' for the marker 0x77 (untouched).
std::string registersText(const SimUnit& unit, int32_t base, int32_t length) {
    std::string text(unit.registers + base, unit.registers + base + length);
    std::replace(text.begin(), text.end(), '\0', '.');
    std::replace(text.begin(), text.end(), '\x77', '~');
    return text;
}

// A refusal makes the worker scan again. Digit-string reads stop at the
// first zero and never ask for the last register; writes rewrite the whole
// field and stop before the first non-digit.
TEST_F(WorkerTest, VerifiedWritesARefusalDigitStringsAndAUnitChangedOrGoneIsFoundAgain) {
    std::string state = "register 181 0x30\nregister 182 0x31\nregister 183 0x32\nregister 184 0x33\n";
    for (int32_t r = 213; r < 252; ++r) state += "register " + std::to_string(r) + (r < 245 ? " 0x77\n" : " 0x39\n");
    ASSERT_TRUE(useUnit({"--readback-differs", "9", "--refuse-address", "100", "--away", "300"}, state));
    const LinkConnection c = connection();
    const LinkSession s = session();
    EXPECT_EQ(c.deviceId, 105);
    EXPECT_TRUE(writeVerified(s, 12, 3));
    EXPECT_FALSE(writeVerified(s, 9, 5)) << "the read-back differs from the value written";
    EXPECT_EQ(simState(sim).registers[12], 3);
    EXPECT_EQ(simState(sim).registers[9], 6);
    EXPECT_EQ(connection().publication, c.publication) << "a read-back mismatch keeps the connection";
    uint8_t value = 0xEE;
    const int64_t began = nowMs();
    EXPECT_FALSE(submitRequest(s, kOpRead, 100, 0, &value));
    EXPECT_LT(nowMs() - began, 2000);
    EXPECT_EQ(value, 0xEE);
    ASSERT_TRUE(awaitConnection([&](const LinkConnection& now) { return now.publication > c.publication; }, 5000))
        << "the scan finds the unit again";
    EXPECT_FALSE(submitRequest(s, kOpWrite, 12, 4, nullptr)) << "the old connection's session is refused";
    EXPECT_EQ(countRequests(sim, kOpWrite, 12), 1) << "and nothing of it sent";
    EXPECT_TRUE(submitRequest(session(), kOpRead, 253, 0, &value)) << "a new session is served";
    EXPECT_EQ(value, 105);
    const struct { int32_t base, length; const char* text; } reads[] = {
        {181, 16, "0123"}, {197, 16, ""}, {245, 7, "999999"}};
    for (const auto& r : reads) {
        std::string text = "stale";
        EXPECT_TRUE(readDigitString(session(), r.base, r.length, text));
        EXPECT_EQ(text, r.text);
    }
    EXPECT_EQ(countRequests(sim, kOpRead, 197), 1);
    EXPECT_EQ(countRequests(sim, kOpRead, 198), 0);
    EXPECT_EQ(countRequests(sim, kOpRead, 251), 0) << "the field's last register holds its NUL";
    // The registers afterwards, and one that must see no write request (0: none does).
    const struct { int32_t base, length; const char* text; bool ok; const char* registers; int32_t unsent; } writes[] =
        {{213, 16, "", true, "................", 0}, {229, 16, "12a4", false, "12~~~~~~~~~~~~~~", 231},
        {250, 7, "1", false, "", 250}, {245, 7, "1234567", true, "123456.", 0}};  // 250 + 7 runs past register 255
    for (const auto& w : writes) {
        EXPECT_EQ(writeDigitString(session(), w.base, w.text, w.length), w.ok) << w.text;
        EXPECT_EQ(registersText(simState(sim), w.base, *w.registers ? w.length : 0), w.registers) << w.text;
        EXPECT_EQ(countRequests(sim, kOpWrite, uint8_t(w.unsent)), 0) << w.text;
    }
    // A changed identity or a vanished unit is found again.
    EXPECT_TRUE(writeVerified(session(), kIdentityLowRegister, 106));
    EXPECT_TRUE(awaitConnection([](const LinkConnection& c) { return c.deviceId == 106; }, 5000))
        << "the idle poll sees the new identity and the scan publishes it";
    const LinkConnection before = connection();
    signalSim(sim, SIGUSR2);  // the adapter is pulled: the port disappears
    ASSERT_TRUE(awaitAnnouncement(sim, 5000));
    const auto back = [&](const LinkConnection& c) {
        return c.publication > before.publication && c.portNumber == before.portNumber;
    };
    EXPECT_TRUE(awaitConnection(back, 8000));
    EXPECT_TRUE(submitRequest(session(), kOpRead, 254, 0, &value));
}

// The walk's form: rows 1..5, row 3 hidden.
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

// Every register the walk touches set to 7, the rows' counts 9, 0, -, 200, 9.
const char* const kSevens =
    "register 1 7\nregister 2 7\nregister 3 7\nregister 4 7\nregister 5 7\n"
    "count 1 9\ncount 2 0\ncount 4 200\ncount 5 9\n"
    "register 181 0x31\nregister 182 0x32\nregister 245 0x34\nregister 252 0x59\n";

TEST_F(WorkerTest, ReadFillsFieldsRowsAndCountsStopsWhenAskedAndWriteStoresWhatItMay) {
    ASSERT_TRUE(useUnit({}, kSevens));
    FormValues form = fiveRows();
    form.fields[2].present = false;  // T3 without caption: its registers are not asked
    std::vector<TransferStep> steps;
    EXPECT_EQ(readForm(session(), form, counting(steps)).status, TransferStatus::Complete);
    EXPECT_EQ(static_cast<int32_t>(steps.size()), transferSteps(form));
    EXPECT_EQ(steps.size(), 6u + 4u);
    const std::string texts[] = {"12", "", "", "", "4", "59"};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(form.fields[i].text, texts[i]) << i;
    EXPECT_EQ(countRequests(sim, kOpRead, 213), 0);
    const int32_t counts[] = {9, 0, 0, 200, 9};  // row 3 is hidden
    for (size_t k = 0; k < 5; ++k)
        EXPECT_EQ(std::make_tuple(form.rows[k].selection, form.rows[k].count, form.rows[k].transferred),
                  std::make_tuple(k == 2 ? -1 : 7, counts[k], k != 2)) << k;
    EXPECT_EQ(countRequests(sim, kOpRead, 3) + countRequests(sim, kOpChoiceCount, 3), 0) << "hidden row";
    // Asked to stop after the first row: nothing more is sent.
    form = fiveRows();
    steps.clear();
    const int32_t asked = countRequests(sim, kOpRead, 2);
    const TransferResult stopped = readForm(session(), form, counting(steps, 7));
    EXPECT_EQ(stopped.status, TransferStatus::Stopped);
    EXPECT_EQ(stopped.stoppedParameter, 1);
    EXPECT_EQ(countRequests(sim, kOpRead, 2), asked) << "nothing asked after the stop";
    EXPECT_TRUE(form.rows[0].transferred);
    // A write stores the fields with padding and every listed row; the BCD
    // pair's register is written only here.
    form = fiveRows();
    form.fields[0].text = "123456789012345";
    form.fields[1].text = "987";
    form.fields[5].text = "3";
    const int32_t selections[] = {0, 2, 1, -1, 255};  // row 3 hidden, row 4 without selection
    for (size_t k = 0; k < 5; ++k) form.rows[k].selection = selections[k];
    steps.clear();
    EXPECT_EQ(writeForm(session(), form, counting(steps)).status, TransferStatus::Complete);
    EXPECT_EQ(steps.size(), 10u) << "a row without a selection still steps";
    const SimUnit unit = simState(sim);
    EXPECT_EQ(registersText(unit, 181, 16), "123456789012345.");
    EXPECT_EQ(registersText(unit, 197, 16), "987.............");
    EXPECT_EQ(registersText(unit, 245, 7), ".......");
    EXPECT_EQ(unit.registers[kBcdRegister], 0x30);
    EXPECT_EQ(registersText(unit, 1, 5), ".\x02\x07\x07\xFF");  // rows 3 and 4 keep their 7
    // Texts the fields cannot take: refused before any request.
    const struct { size_t field; const char* text; } cases[] = {
        {0, "12a"}, {0, "1234567890123456"}, {4, "1234567"}, {5, "123"}, {5, "1 "}};
    for (const auto& c : cases) {
        FormValues form = fiveRows();
        form.fields[c.field].text = c.text;
        const size_t before = simRequests(sim).size();
        steps.clear();
        const TransferResult result = writeForm(session(), form, counting(steps));
        EXPECT_EQ(result.status, TransferStatus::Rejected) << c.text;
        EXPECT_EQ(result.stoppedField, TextFieldLimits[c.field].controlId) << c.text;
        EXPECT_EQ(simRequests(sim).size(), before) << c.text;
        EXPECT_TRUE(steps.empty());
    }
}

}  // namespace
