// Every fault the simulated unit can show, in a read and in a write: the walk
// ends where the fault is (or shrugs off what a line may carry), and after a
// write exactly the registers before the fault hold the new values. A
// register's fault strikes at the first field, a middle row and the last row,
// a line's once; a bad checksum and silence wait out 5 s, so one place each.
#include "link/device_transfer.h"
#include "tests/link/worker_fixture.h"

namespace {

constexpr int32_t kRows = 5;
constexpr uint8_t kOld = 7, kNew = 2, kOldDigit = '9';

// Where a fault strikes: its register, the steps before it, and the row the
// walk stops at (0: the first field).
struct Position { const char* where; int32_t reg; size_t stepsBefore; int32_t stoppedParameter; };
constexpr Position kFirst{"at the first field", 181, 0, 0}, kRow1{"at row 1", 1, 6, 1},
    kMiddle{"in the middle", 3, 6 + 2, 3}, kLast{"at the last row", kRows, 6 + kRows - 1, kRows};

enum Outcome { Completes, FailsThere };
enum Faulted { Old, New, NewPlusOne };  // the faulted register after a write that failed there

struct Case {
    const char* name;
    std::vector<std::string> args;  // "@" stands for the position's register
    int signal;                     // sent before the walk's request at the position, or 0
    std::vector<Position> at;
    Outcome read, write;
    Faulted faulted;
};

const Case kCases[] = {
    {"refusal", {"--refuse-address", "@"}, 0, {kFirst, kMiddle, kLast}, FailsThere, FailsThere, Old},
    {"refused choice count", {"--refuse-op", "64"}, 0, {kRow1}, FailsThere, Completes, New},
    {"read-back", {"--readback-differs", "@"}, 0, {kFirst, kMiddle, kLast}, Completes, FailsThere, NewPlusOne},
    {"vanishing", {"--away", "0"}, SIGUSR2, {kFirst, kMiddle, kLast}, FailsThere, FailsThere, Old},
    {"noise, every kind of byte", {"--noise", "9"}, 0, {kMiddle}, Completes, Completes, New},
    {"split replies", {"--split", "2"}, 0, {kMiddle}, Completes, Completes, New},
    {"mismatched replies", {"--mismatch"}, 0, {kMiddle}, Completes, Completes, New},
    {"bad checksum", {"--bad-checksum-at", "@"}, 0, {kFirst}, FailsThere, FailsThere, New},
    {"silence", {}, SIGUSR1, {kMiddle}, FailsThere, FailsThere, Old}};

std::string oldUnit() {
    std::string state;
    for (int32_t n = 1; n <= kRows; ++n)
        state += "register " + std::to_string(n) + " " + std::to_string(kOld) + "\ncount " + std::to_string(n) + " 9\n";
    for (int32_t r = 181; r < 252; ++r)
        state += "register " + std::to_string(r) + " " + std::to_string(kOldDigit) + "\n";
    return state;
}

// Rows 1..kRows: for a write with the new values, for a read without selections.
FormValues formFor(bool write) {
    FormValues form = emptyForm();
    if (write) form.fields[0].text = "1234";
    for (int32_t n = 1; n <= kRows; ++n) form.rows.push_back(FormRow{n, true, write ? kNew : -1, 0, false});
    return form;
}

// After a write that stopped at `at` (or completed): the registers before it
// new, those after it old, the faulted one as the fault leaves it.
void expectWritten(const SimUnit& unit, const Case& c, const Position& at, bool failed, const std::string& what) {
    const auto faulted = [&](int oldValue, int newValue) {
        return c.faulted == Old ? oldValue : c.faulted == New ? newValue : newValue + 1;
    };
    const int32_t stop = failed ? at.stoppedParameter : kRows + 1;
    for (int32_t n = 1; n <= kRows; ++n) {
        const int expected = n == stop ? faulted(kOld, kNew) : (stop == 0 || n > stop) ? kOld : kNew;
        EXPECT_EQ(unit.registers[n], expected) << what << " register " << n;
    }
    EXPECT_EQ(unit.registers[181], stop == 0 ? faulted(kOldDigit, '1') : '1') << what;
    EXPECT_EQ(unit.registers[182], stop == 0 ? kOldDigit : '2') << what;
    EXPECT_EQ(unit.registers[185], stop == 0 ? kOldDigit : 0) << what;
}

TEST_F(WorkerTest, EveryFaultWhereItStrikes) {
    for (const Case& c : kCases) {
        for (size_t i = 0; i < 2 * c.at.size(); ++i) {  // each position, in a read and in a write
            const Position& at = c.at[i / 2];
            const bool write = i % 2 == 1;
            const std::string what = std::string(c.name) + " " + at.where + (write ? " write" : " read");
            std::vector<std::string> args = c.args;
            for (std::string& a : args)
                if (a == "@") a = std::to_string(at.reg);
            ASSERT_TRUE(useUnit(args, oldUnit())) << what;
            FormValues form = formFor(write);
            size_t steps = 0;  // the signal goes before the walk's step at the position
            const TransferProgress strike = [&](const TransferStep&) {
                if (c.signal && steps++ == at.stepsBefore) {
                    signalSim(sim, c.signal);
                    sleepMs(100);
                }
                return true;
            };
            strike(TransferStep{});
            const LinkSession s = session();
            const TransferResult result = write ? writeForm(s, form, strike) : readForm(s, form, strike);
            const bool failed = (write ? c.write : c.read) == FailsThere;
            EXPECT_EQ(result.status, failed ? TransferStatus::Failed : TransferStatus::Complete) << what;
            EXPECT_EQ(result.stoppedParameter, failed ? at.stoppedParameter : 0) << what;
            EXPECT_EQ(result.stoppedRegister, failed ? at.reg : -1) << what;
            if (write) {
                expectWritten(simState(sim), c, at, failed, what);
            } else if (!failed) {
                EXPECT_EQ(form.fields[0].text, std::string(15, char(kOldDigit))) << what;
                EXPECT_EQ(form.rows[kRows - 1].selection, kOld) << what;
            }
        }
    }
}

}  // namespace
