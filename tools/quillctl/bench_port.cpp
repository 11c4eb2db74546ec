// One port of the production bench: each unit that comes is read whole and
// backed up, gets the template's choices and its label's fields (every
// register read back), is read whole again and compared with what was
// meant, and gets its receipt. Then the port waits for the next unit.
//
// A link that loses a unit probes the port again at once and finds a unit
// still there within some tens of milliseconds (two requests and the
// pause after a pass, 100 ms); a port without a unit is probed again only
// after a second. So a unit found within kUnitAwayMs of the last loss may
// be the unit just done, lost for a moment (a refused request makes the
// link start over; so does a glitch on the line). The bench takes it for
// that unit, and writes nothing, when it also holds what that unit was left
// holding. Otherwise a unit that already holds everything a programmed
// label means is that label's unit, there again: nothing is written either.
// Without these a unit could get a second label, or a refusing unit be
// tried again and again while it stays plugged.
#include "tools/quillctl/bench_state.h"

#include "configfile/backup_files.h"
#include "link/device_text.h"
#include "tools/quillctl/bench_platform.h"
#include "tools/quillctl/receipts.h"

#include <chrono>

namespace {

constexpr int64_t kUnitAwayMs = 500;
constexpr size_t kNoLabel = static_cast<size_t>(-1);
// Work on a unit in steps: its read, its write, its check read.
constexpr int32_t kWalksPerUnit = 3;

constexpr const char* kWaitingForLabel = "waiting for a label";
constexpr const char* kStillThere = "still the unit just done: unplug it";
constexpr const char* kNoUnit = "no unit";

struct TakenUnit {
    uint32_t connection = 0;
    size_t label = kNoLabel;
    bool maybeSame = false;  // found soon after a loss, a unit done before it
};

enum class JobEnd { Programmed, Failed, Interrupted, Released };

struct JobOutcome {
    JobEnd end = JobEnd::Failed;
    std::string what;  // for the table and the events
    int32_t stoppedRegister = -1;
    UnitMemory memory;
};

struct UnitJob {
    TakenUnit taken;
    LinkSession session;
    LinkConnection connection;
    std::string started;
    int64_t startedMs = 0;
    FormValues read;
    std::string backup;
};

const ListedUnit& unitOf(const Bench& b, size_t label) {
    return b.plan.units.units[label];
}

// Under the lock: an event line for the log.
void note(Bench& b, const BenchPort& p, const std::string& label, const std::string& text) {
    const std::string who = label.empty() ? std::string() : " " + label + ":";
    b.events.push_back(localTimeNow() + " COM" + std::to_string(p.number) + who + " " + text);
}

void showState(Bench& b, BenchPort& p, const std::string& state, int32_t total = -1) {
    std::lock_guard<std::mutex> hold(b.lock);
    p.line.state = state;
    if (total >= 0) p.line.total = total;
    markChanged(b);
}

// A progress step; false asks the walk to stop there.
bool stepDone(Bench& b, BenchPort& p) {
    {
        std::lock_guard<std::mutex> hold(b.lock);
        ++p.line.done;
    }
    return !b.stopping.load();
}

size_t openLabel(const Bench& b) {
    for (size_t i = 0; i < b.labels.size(); ++i)
        if (b.labels[i] == LabelState::Open) return i;
    return kNoLabel;
}

bool portFinished(const Bench& b, const BenchPort& p) {
    return b.stopping.load() || !b.fatal.empty() || listDone(b) || (b.plan.once && p.unitsDone > 0);
}

// Under the lock.
void takeUnit(Bench& b, BenchPort& p, size_t label, TakenUnit& taken) {
    taken.connection = p.connection;
    taken.label = label;
    taken.maybeSame = p.memory.valid && p.publishedMs - p.closedMs < kUnitAwayMs;
    b.labels[label] = LabelState::Busy;
    p.taken = p.connection;
    p.busySinceMs = benchMs();
    // A unit that may be the one just done shows no label until it is not.
    p.line = PortLine{p.number, taken.maybeSame ? "" : unitOf(b, label).label, "reading", 0, 1};
    markChanged(b);
}

// Waits for a unit not yet taken up and a label for it; false once the
// port is done.
bool awaitUnit(Bench& b, BenchPort& p, TakenUnit& taken) {
    std::unique_lock<std::mutex> hold(b.lock);
    for (;;) {
        if (portFinished(b, p)) return false;
        const bool fresh = p.connection != 0 && p.connection != p.taken;
        const size_t label = fresh ? openLabel(b) : kNoLabel;
        if (label != kNoLabel) {
            takeUnit(b, p, label, taken);
            return true;
        }
        if (fresh && p.line.state != kWaitingForLabel) {
            p.line = PortLine{p.number, "", kWaitingForLabel};
            markChanged(b);
        }
        b.changed.wait(hold);
    }
}

FormValues wholeForm(Bench& b, int32_t deviceId) {
    std::lock_guard<std::mutex> hold(b.storeLock);
    return unitForm(b.plan.store, deviceId);
}

TransferResult readWhole(Bench& b, BenchPort& p, const UnitJob& job, const char* doing, FormValues& form) {
    form = wholeForm(b, job.connection.deviceId);
    showState(b, p, doing);
    return readForm(job.session, form, [&](const TransferStep&) { return stepDone(b, p); });
}

JobOutcome released(const std::string& what) {
    JobOutcome outcome;
    outcome.end = JobEnd::Released;
    outcome.what = what;
    return outcome;
}

JobOutcome stoppedAt(const std::string& doing, const TransferResult& result, const UnitMemory& memory) {
    JobOutcome outcome;
    outcome.end = result.status == TransferStatus::Stopped ? JobEnd::Interrupted : JobEnd::Failed;
    // A walk stops on request after a step it has done, and fails at the
    // step it could not do.
    const bool interrupted = outcome.end == JobEnd::Interrupted;
    outcome.what = (interrupted ? "interrupted " : "failed ") + doing + (interrupted ? " after " : " at ") +
                   describeStop(result);
    if (outcome.end == JobEnd::Failed) outcome.what += ": replace the unit";
    outcome.stoppedRegister = result.stoppedRegister;
    outcome.memory = memory;
    return outcome;
}

bool anyNamedText(const UnitList& list, const ListedUnit& unit) {
    for (size_t i = 0; i < kListFields; ++i)
        if (list.named[i] && !unit.texts[i].empty()) return true;
    return false;
}

// The programmed label whose whole meaning `read` holds already, empty when
// none. Labels without a field text to tell them apart are left out: a new
// unit could hold what they mean.
std::string heldLabel(Bench& b, const FormValues& read) {
    std::vector<size_t> programmed;
    {
        std::lock_guard<std::mutex> hold(b.lock);
        for (size_t i = 0; i < b.labels.size(); ++i)
            if (b.labels[i] == LabelState::Programmed) programmed.push_back(i);
    }
    const UnitList& list = b.plan.units;
    for (size_t i : programmed) {
        int32_t differing = 0;
        const FormValues meant = meantForm(read, b.plan.pairs, list, list.units[i]);
        if (anyNamedText(list, list.units[i]) && !firstDifference(read, expectedContents(read, meant), {}, differing))
            return list.units[i].label;
    }
    return std::string();
}

// The unit as read, as the window backs up a read.
bool saveBackup(Bench& b, BenchPort& p, UnitJob& job) {
    showState(b, p, "saving the backup");
    FormValues shown = job.read;
    settleReadSelections(shown);
    return backUpConfiguration(shown.rows, localMoment(), job.connection.portNumber,
                               formatDeviceVersion(job.connection), BackupKind::Read, &job.backup);
}

JobOutcome programUnit(Bench& b, BenchPort& p, UnitJob& job) {
    if (!saveBackup(b, p, job)) {
        JobOutcome outcome{JobEnd::Failed, "failed: the backup could not be saved", -1, rememberWhole(job.read)};
        return outcome;
    }
    const FormValues meant = meantForm(job.read, b.plan.pairs, b.plan.units, unitOf(b, job.taken.label));
    const FormValues expected = expectedContents(job.read, meant);
    {
        std::lock_guard<std::mutex> hold(b.lock);
        p.line.label = unitOf(b, job.taken.label).label;
        note(b, p, p.line.label, "writing (backup " + job.backup + ")");
    }
    showState(b, p, "writing", 2 * transferSteps(job.read) + transferSteps(meant));
    TransferResult result = writeForm(job.session, meant, [&](const TransferStep&) { return stepDone(b, p); });
    if (result.status != TransferStatus::Complete)
        return stoppedAt("writing", result, rememberWriteStopped(job.read, expected, stoppedCell(meant, result)));
    FormValues check;
    result = readWhole(b, p, job, "checking", check);
    if (result.status != TransferStatus::Complete)
        return stoppedAt("checking", result, rememberCheckStopped(expected, stoppedCell(check, result)));
    int32_t differing = 0;
    if (firstDifference(check, expected, {}, differing))
        return JobOutcome{JobEnd::Failed, "failed checking: register " + std::to_string(differing) +
                          " holds another value: replace the unit", differing, rememberWhole(check)};
    return JobOutcome{JobEnd::Programmed, "programmed: unplug it", -1, rememberWhole(check)};
}

JobOutcome workOnUnit(Bench& b, BenchPort& p, UnitJob& job) {
    if (job.session.connection != job.taken.connection) return released(kNoUnit);  // gone already
    showState(b, p, "reading", kWalksPerUnit * transferSteps(wholeForm(b, job.connection.deviceId)));
    const TransferResult result = readWhole(b, p, job, "reading", job.read);
    if (result.status == TransferStatus::Failed && job.taken.maybeSame) return released(kNoUnit);
    if (result.status != TransferStatus::Complete)
        return stoppedAt("reading", result, rememberBefore(job.read, stoppedCell(job.read, result)));
    if (job.taken.maybeSame && holdsRemembered(job.read, p.memory)) return released(kStillThere);
    const std::string held = heldLabel(b, job.read);
    if (!held.empty()) return released("holds " + held + " already: unplug it");
    return programUnit(b, p, job);
}

Receipt receiptOf(const Bench& b, const UnitJob& job, const JobOutcome& outcome) {
    Receipt r;
    r.label = unitOf(b, job.taken.label).label;
    r.port = job.connection.portNumber;
    r.identity = job.connection.deviceId;
    r.version = formatDeviceVersion(job.connection);
    r.started = job.started;
    r.ended = localTimeNow();
    r.seconds = static_cast<double>(benchMs() - job.startedMs) / 1000;
    r.result = outcome.end == JobEnd::Programmed ? ReceiptResult::Programmed
             : outcome.end == JobEnd::Failed     ? ReceiptResult::Failed
                                                 : ReceiptResult::Interrupted;
    r.stoppedRegister = outcome.stoppedRegister;
    r.backup = job.backup;
    return r;
}

// Under the lock. A receipt that did not go in ends the bench: a label
// programmed without one would be programmed again on the next run.
void recordOutcome(Bench& b, BenchPort& p, size_t label, const Receipt& receipt, const JobOutcome& outcome,
                   const std::string& error) {
    const bool programmed = outcome.end == JobEnd::Programmed;
    b.labels[label] = programmed ? LabelState::Programmed : LabelState::Open;
    if (programmed) ++b.tally.programmed;
    if (outcome.end == JobEnd::Failed) ++b.tally.failed;
    if (!error.empty()) {
        b.fatal += (b.fatal.empty() ? "" : "; ") + ("the receipt of " + receipt.label + " could not be written: " + error) +
                   (programmed ? " (the unit on COM" + std::to_string(p.number) + " is programmed)" : "");
        b.stopping.store(true);
    }
    ++p.unitsDone;
    p.memory = outcome.memory;
    p.busySinceMs = 0;
    p.line.state = outcome.what;
    p.line.total = 0;
    p.line.seconds = receipt.seconds;
    p.result = p.line;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, " (%.1f s)", receipt.seconds);
    note(b, p, receipt.label, outcome.what + seconds);
}

void finishJob(Bench& b, BenchPort& p, const UnitJob& job, const JobOutcome& outcome) {
    std::string error;
    Receipt receipt;
    if (outcome.end != JobEnd::Released) {
        receipt = receiptOf(b, job, outcome);
        std::lock_guard<std::mutex> append(b.receiptsLock);
        if (!appendReceipt(b.plan.receiptsPath, receipt, error) && error.empty()) error = "unknown error";
    }
    std::lock_guard<std::mutex> hold(b.lock);
    if (outcome.end != JobEnd::Released) {
        recordOutcome(b, p, job.taken.label, receipt, outcome, error);
    } else {
        b.labels[job.taken.label] = LabelState::Open;
        p.busySinceMs = 0;
        p.line = outcome.what == kStillThere ? p.result : PortLine{p.number, "", outcome.what};
        if (outcome.what != kNoUnit) note(b, p, "", outcome.what);
    }
    markChanged(b);
}

UnitJob beginJob(BenchPort& p, const TakenUnit& taken) {
    UnitJob job;
    job.taken = taken;
    job.session = currentSession(*p.link, &job.connection);
    job.started = localTimeNow();
    job.startedMs = benchMs();
    return job;
}

}  // namespace

int64_t benchMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void markChanged(Bench& b) {
    ++b.generation;
    b.changed.notify_all();
}

bool listDone(const Bench& b) {
    for (LabelState state : b.labels)
        if (state != LabelState::Programmed) return false;
    return true;
}

LinkObserver portObserver(Bench& b, BenchPort& p) {
    return [&b, &p](LinkChange change, const LinkConnection& c) {
        std::lock_guard<std::mutex> hold(b.lock);
        if (p.ending) return;  // the table keeps the port's last result
        const bool idle = p.busySinceMs == 0;
        if (change == LinkChange::Published) {
            p.connection = c.publication;
            p.publishedMs = benchMs();
            note(b, p, "", "unit found (" + formatDeviceVersion(c) + ")");
        } else {
            if (p.connection == c.publication) p.connection = 0;
            p.closedMs = benchMs();
            note(b, p, "", "unit gone");
        }
        if (idle) p.line = PortLine{p.number, "", change == LinkChange::Published ? "unit found" : kNoUnit};
        markChanged(b);
    };
}

// Each port stops its own link as it ends, so the links stop side by side
// (a stop waits out a pause of the link's scan).
void runPort(Bench& b, BenchPort& p) {
    TakenUnit taken;
    while (awaitUnit(b, p, taken)) {
        UnitJob job = beginJob(p, taken);
        finishJob(b, p, job, workOnUnit(b, p, job));
    }
    {
        std::lock_guard<std::mutex> hold(b.lock);
        p.ending = true;
    }
    stopLink(*p.link);
    std::lock_guard<std::mutex> hold(b.lock);
    p.running = false;
    markChanged(b);
}
