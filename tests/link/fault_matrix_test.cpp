// Every fault the simulated unit can show, at the first register of a walk,
// at a row in the middle and at the last row, in a read and in a write:
// the walk ends where the fault is (or shrugs off the faults a line may
// carry), and after a write exactly the registers before the fault hold
// the new values. Faults that make the walk wait out the 5 s reply limit
// (a bad checksum, silence) make this the slow part of the link tests.
#include "link/device_transfer.h"
#include "link/frame.h"
#include "tests/link/worker_fixture.h"

#include <csignal>
#include <string>
#include <vector>

namespace {

constexpr int32_t kRows = 5;
constexpr uint8_t kOld = 7, kNew = 2;
constexpr uint8_t kOldDigit = '9';
const char* const kNewT1 = "1234";

// Where a fault strikes: its register, and how many steps come before it.
struct Position {
    const char* name;
    int32_t reg;
    size_t stepsBefore;
    int32_t stoppedParameter;  // 0: in the first field
};
const Position kPositions[] = {
    {"first", 181, 0, 0},
    {"middle", 3, 6 + 2, 3},
    {"last", kRows, 6 + kRows - 1, kRows},
};

enum class Outcome { Completes, FailsThere };
// How the faulted register itself ends after a write.
enum class Faulted { Old, New, NewPlusOne };

struct Fault {
    const char* name;
    std::vector<std::string> args;  // "@" stands for the register
    int signal;                     // sent before the walk's request at the position, or 0
    Outcome read, write;
    Faulted faulted;
};

const Fault kFaults[] = {
    {"refusal", {"--refuse-address", "@"}, 0, Outcome::FailsThere, Outcome::FailsThere, Faulted::Old},
    {"noise", {"--noise", "3"}, 0, Outcome::Completes, Outcome::Completes, Faulted::New},
    {"split", {"--split", "2"}, 0, Outcome::Completes, Outcome::Completes, Faulted::New},
    {"bad checksum", {"--bad-checksum-at", "@"}, 0, Outcome::FailsThere, Outcome::FailsThere, Faulted::New},
    {"mismatch", {"--mismatch"}, 0, Outcome::Completes, Outcome::Completes, Faulted::New},
    {"read-back", {"--readback-differs", "@"}, 0, Outcome::Completes, Outcome::FailsThere, Faulted::NewPlusOne},
    {"silence", {}, SIGUSR1, Outcome::FailsThere, Outcome::FailsThere, Faulted::Old},
    {"vanishing", {"--away", "0"}, SIGUSR2, Outcome::FailsThere, Outcome::FailsThere, Faulted::Old},
};

std::string oldUnit() {
    std::string state;
    for (int32_t n = 1; n <= kRows; ++n)
        state += "register " + std::to_string(n) + " " + std::to_string(kOld) + "\ncount " + std::to_string(n) +
                 " 9\n";
    for (int32_t r = 181; r < 252; ++r) state += "register " + std::to_string(r) + " " + std::to_string(kOldDigit) + "\n";
    return state;
}

std::vector<std::string> argsAt(const Fault& fault, const Position& at) {
    std::vector<std::string> args = fault.args;
    for (std::string& a : args)
        if (a == "@") a = std::to_string(at.reg);
    return args;
}

// A form of rows 1..kRows: for a write with the new values, for a read
// without selections.
FormValues formFor(bool write) {
    FormValues form = emptyForm();
    if (write) form.fields[0].text = kNewT1;
    for (int32_t n = 1; n <= kRows; ++n) form.rows.push_back(FormRow{n, true, write ? kNew : -1, 0, false});
    return form;
}

// How the faulted register ends after a write, from its old and new value.
int faultedValue(const Fault& fault, int oldValue, int newValue) {
    return fault.faulted == Faulted::Old ? oldValue : fault.faulted == Faulted::New ? newValue : newValue + 1;
}

// Registers 1..kRows after a write that stopped at `at` (or completed).
void expectRows(const SimUnit& unit, const Fault& fault, const Position& at, bool failed, const std::string& what) {
    for (int32_t n = 1; n <= kRows; ++n) {
        int expected = kNew;
        if (failed && n == at.stoppedParameter) expected = faultedValue(fault, kOld, kNew);
        else if (failed && (at.stoppedParameter == 0 || n > at.stoppedParameter)) expected = kOld;
        EXPECT_EQ(unit.registers[n], expected) << what << " register " << n;
    }
}

// T1 after a write: untouched when the fault struck at its first register
// (which itself ends as the fault leaves it), new otherwise.
void expectFirstField(const SimUnit& unit, const Fault& fault, const Position& at, bool failed,
                      const std::string& what) {
    const bool untouched = failed && at.stoppedParameter == 0;
    EXPECT_EQ(unit.registers[181], untouched ? faultedValue(fault, kOldDigit, '1') : '1') << what;
    EXPECT_EQ(unit.registers[182], untouched ? kOldDigit : '2') << what;
    if (!untouched) {
        EXPECT_EQ(unit.registers[185], 0) << what;
    }
}

TEST_F(WorkerTest, EveryFaultAtTheFirstAMiddleAndTheLastRegister) {
    for (const Fault& fault : kFaults) {
        for (const Position& at : kPositions) {
            for (const bool write : {false, true}) {
                const std::string what = std::string(fault.name) + " at " + at.name + (write ? " write" : " read");
                ASSERT_TRUE(useUnit(argsAt(fault, at), oldUnit())) << what;
                FormValues form = formFor(write);
                size_t steps = 0;
                const auto strike = [&] {
                    if (fault.signal && steps == at.stepsBefore) {
                        signalSim(sim, fault.signal);
                        sleepMs(100);
                    }
                };
                const TransferProgress progress = [&](const TransferStep&) {
                    ++steps;
                    strike();
                    return true;
                };
                strike();
                const TransferResult result = write ? writeForm(form, progress) : readForm(form, progress);
                const bool failed = (write ? fault.write : fault.read) == Outcome::FailsThere;
                EXPECT_EQ(result.status, failed ? TransferStatus::Failed : TransferStatus::Complete) << what;
                if (failed) {
                    EXPECT_EQ(result.stoppedParameter, at.stoppedParameter) << what;
                    EXPECT_EQ(result.stoppedRegister, at.reg) << what;
                }
                if (write) {
                    const SimUnit unit = simState(sim);
                    expectRows(unit, fault, at, failed, what);
                    expectFirstField(unit, fault, at, failed, what);
                } else if (!failed) {
                    EXPECT_EQ(form.fields[0].text, std::string(15, char(kOldDigit))) << what;
                    EXPECT_EQ(form.rows[kRows - 1].selection, kOld) << what;
                }
            }
        }
    }
}

}  // namespace
