// quillctl dump and restore: every register 0..252 of the unit, one request
// per register, the dump written and read as plain text.
#include "link/device_text.h"
#include "link/frame.h"
#include "link/link.h"
#include "tools/common/tool_io.h"
#include "tools/quillctl/progress_line.h"
#include "tools/quillctl/quillctl.h"

#include <ctime>

namespace {

const char* const kForceOption = "--force";

std::string localTimeText() {
    const std::time_t now = std::time(nullptr);
    char text[32] = "";
    if (const std::tm* local = std::localtime(&now)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
    return text;
}

std::string registerLabel(int32_t address) { return "register " + std::to_string(address); }

std::string identityText(int32_t identity) {
    return std::to_string(identity) + " (" + formatVersion(identity) + ")";
}

}  // namespace

bool prepareDump(const std::vector<std::string>& args, Plan& plan, std::string&) {
    plan.path = args.at(0);
    return true;
}

// restore IN.txt [--force]
bool prepareRestore(const std::vector<std::string>& args, Plan& plan, std::string& problem) {
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (arg == kForceOption)
            plan.force = true;
        else
            files.push_back(arg);
    }
    if (files.size() != 1) {
        problem = "restore writes one dump (and --force)";
        return false;
    }
    std::string text, reason;
    if (!readWholeFile(files[0], text, problem)) return false;
    if (text.size() > kMaxDumpFileBytes) {
        problem = files[0] + ": too large for a register dump";
        return false;
    }
    if (parseRegisterDump(text, plan.dump, reason)) return true;
    problem = files[0] + ": " + reason;
    return false;
}

int runDump(Plan& plan) {
    RegisterDump dump;
    dump.identity = plan.connection.deviceId;
    dump.time = localTimeText();
    ProgressDisplay display = startProgressDisplay(kDumpRegisters);
    for (int32_t r = 0; r < kDumpRegisters; ++r) {
        if (!submitRequest(plan.session, kOpRead, static_cast<uint8_t>(r), 0, &dump.values[r])) {
            endProgressDisplay(display);
            return failed("read stopped at " + registerLabel(r));
        }
        stepProgressDisplay(display, "reading " + registerLabel(r));
    }
    endProgressDisplay(display);
    std::string error;
    if (!writeWholeFile(plan.path, composeRegisterDump(dump), error)) return failed(error);
    return kExitOk;
}

// Each register written and read back before the next; the first failure
// ends the restore there (the registers before it hold the dump's values).
int runRestore(Plan& plan) {
    const int32_t identity = plan.connection.deviceId;
    if (identity != plan.dump.identity && !plan.force)
        return failed("the dump is of identity " + identityText(plan.dump.identity) + ", the unit is " +
                      identityText(identity) + ": nothing written (--force writes it anyway)");
    ProgressDisplay display = startProgressDisplay(kDumpRegisters);
    for (int32_t r = 0; r < kDumpRegisters; ++r) {
        if (!writeVerified(plan.session, static_cast<uint8_t>(r), plan.dump.values[r])) {
            endProgressDisplay(display);
            return failed("restore stopped at " + registerLabel(r) + ": the write failed or read back differently");
        }
        stepProgressDisplay(display, "writing " + registerLabel(r));
    }
    endProgressDisplay(display);
    return kExitOk;
}
