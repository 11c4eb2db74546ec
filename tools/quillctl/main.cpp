// quillctl: the device link from a terminal. Every command goes through a
// link and submitRequest, the path the main window uses; the whole
// configurations through the window's walk. A command runs on the
// connection it began on: when the link loses it, the next request fails
// and the command exits 1 naming the register.
//
//   quillctl [--ports DIR] [--timeout S] COMMAND [ARGS...]
//
// Exit status: 0 success, 1 a failed request, no unit found or an output
// not written (one line on stderr), 2 usage error or bad input (nothing
// sent), 3 diff found differences; the bench 130 when stopped by Ctrl+C.
#include "link/device_text.h"
#include "link/frame.h"
#include "link/link.h"
#include "link/sync_event.h"
#include "tools/quillctl/quillctl.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double kDefaultFindSeconds = 10;
constexpr int32_t kLastRegister = 255;

const char* const kUsage =
    "usage: quillctl [--ports DIR] [--timeout S] COMMAND [ARGS...]\n"
    "\n"
    "  scan                      the connected unit: COM<n> <identity> <version>\n"
    "  get ADDR...               register values, one decimal per line\n"
    "  set ADDR VALUE            write a register, confirmed by reading it back\n"
    "  get-text BASE N           the digit string of N registers from BASE\n"
    "  set-text BASE N TEXT      write it (digits only, at most N-1 are kept)\n"
    "  get-bcd                   register 252 as two digits\n"
    "  set-bcd TEXT              write register 252 (\"\", one or two digits)\n"
    "\n"
    "  read-config OUT.sqc       the unit's choices as a configuration file\n"
    "  write-config IN.sqc       a configuration file's choices to the unit,\n"
    "                            every register read back\n"
    "  diff IN.sqc [--language NAME]\n"
    "                            the parameters whose choice on the unit differs\n"
    "                            from the file: caption, unit's, file's choice\n"
    "  dump OUT.txt              every register 0..252 as text (\"-\": stdout)\n"
    "  restore IN.txt [--force]  write a dump back, every register read back;\n"
    "                            a dump of another identity only with --force\n"
    "\n"
    "  bench TEMPLATE.sqc UNITS.csv PORTS [--receipts FILE] [--once]\n"
    "                            the production bench: on each port of PORTS\n"
    "                            (\"3,4,7-9\") every unit plugged gets the\n"
    "                            template's choices and the digit fields of\n"
    "                            the next label of UNITS.csv not yet programmed\n"
    "                            (header: label and any of T1 T2 T3 T4 H K),\n"
    "                            after a backup; a line per unit goes to the\n"
    "                            receipts (default UNITS-receipts.csv beside the\n"
    "                            list), which a new start goes on from. It ends\n"
    "                            when every label is programmed, with --once\n"
    "                            when every port has done one unit\n"
    "\n"
    "  --ports DIR   folder of the ports: port n is DIR/comn (default\n"
    "                $QUILL_PORTS, else /tmp/quill-ports; not used on Windows,\n"
    "                where the ports are COM1..COM256)\n"
    "  --timeout S   seconds to wait for the unit to be found (default 10)\n"
    "\n"
    "Exit status: 0 success, 1 failed request (naming the register), no unit\n"
    "found or output not written, 2 usage error or bad input (nothing is sent),\n"
    "3 diff found differences, 130 bench stopped by Ctrl+C (each port stops\n"
    "after its current step). On a terminal, standard error shows a progress\n"
    "bar while a whole configuration or dump goes over the link, and the\n"
    "bench's table; elsewhere the bench prints a line per event.\n";

bool parseNumber(const std::string& text, int64_t max, int64_t& value) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::strtoll(text.c_str(), nullptr, 10);
    return value <= max;
}

bool parseRegister(const std::string& text, uint8_t& address) {
    int64_t v = 0;
    if (!parseNumber(text, kLastRegister, v)) return false;
    address = static_cast<uint8_t>(v);
    return true;
}

bool parseField(const std::vector<std::string>& args, Plan& plan) {
    int64_t base = 0;
    int64_t length = 0;
    if (!parseNumber(args[0], kLastRegister, base) || !parseNumber(args[1], kLastRegister + 1, length)) return false;
    plan.base = static_cast<int32_t>(base);
    plan.length = static_cast<int32_t>(length);
    return fieldFitsRegisters(plan.base, plan.length);
}

}  // namespace

int failed(const std::string& reason) {
    std::fprintf(stderr, "quillctl: %s\n", reason.c_str());
    return kExitFailed;
}

namespace {

int runScan(Plan& plan) {
    const LinkConnection& c = plan.connection;
    std::printf("COM%d %d %s\n", static_cast<int>(c.portNumber), static_cast<int>(c.deviceId),
                formatDeviceVersion(c).c_str());
    return kExitOk;
}

int runGet(Plan& plan) {
    for (uint8_t address : plan.addresses) {
        uint8_t value = 0;
        if (!submitRequest(plan.session, kOpRead, address, 0, &value)) return failed("read of register " + std::to_string(address) + " failed");
        std::printf("%d\n", value);
        std::fflush(stdout);
    }
    return kExitOk;
}

int runSet(Plan& plan) {
    const uint8_t address = plan.addresses[0];
    if (!writeVerified(plan.session, address, plan.value))
        return failed("write of register " + std::to_string(address) + " failed or did not read back");
    return kExitOk;
}

int runGetText(Plan& plan) {
    std::string text;
    if (!readDigitString(plan.session, plan.base, plan.length, text)) return failed("read of the field failed");
    std::printf("%s\n", text.c_str());
    return kExitOk;
}

int runSetText(Plan& plan) {
    if (!writeDigitString(plan.session, plan.base, plan.text, plan.length))
        return failed("write of the field failed (digits only; stopped at the failing register)");
    return kExitOk;
}

int runGetBcd(Plan& plan) {
    std::string text;
    if (!readBcdPair(plan.session, text)) return failed("read of register 252 failed");
    std::printf("%s\n", text.c_str());
    return kExitOk;
}

int runSetBcd(Plan& plan) {
    if (!writeBcdPair(plan.session, plan.text)) return failed("write of register 252 failed (up to two digits)");
    return kExitOk;
}

struct Command {
    const char* name;
    const char* synopsis;  // the one line a wrong use of the command gets
    size_t minArgs;
    size_t maxArgs;
    bool (*parse)(const std::vector<std::string>& args, Plan& plan);
    // Instead of parse: also reads the inputs; a problem is bad input.
    bool (*prepare)(const std::vector<std::string>& args, Plan& plan, std::string& problem);
    int (*run)(Plan& plan);
    bool ownLinks = false;  // run makes its links itself: no unit is awaited first
};

bool noArguments(const std::vector<std::string>&, Plan&) { return true; }

const Command kCommands[] = {
    {"scan", "scan", 0, 0, noArguments, nullptr, runScan},
    {"get", "get ADDR... (registers 0..255)", 1, 256,
     [](const std::vector<std::string>& args, Plan& plan) {
         plan.addresses.resize(args.size());
         for (size_t i = 0; i < args.size(); ++i)
             if (!parseRegister(args[i], plan.addresses[i])) return false;
         return true;
     },
     nullptr, runGet},
    {"set", "set ADDR VALUE (each 0..255)", 2, 2,
     [](const std::vector<std::string>& args, Plan& plan) {
         plan.addresses.resize(1);
         return parseRegister(args[0], plan.addresses[0]) && parseRegister(args[1], plan.value);
     },
     nullptr, runSet},
    {"get-text", "get-text BASE N (a field within registers 0..255)", 2, 2, parseField, nullptr, runGetText},
    {"set-text", "set-text BASE N TEXT (a field within registers 0..255; TEXT up to N-1 digits)", 3, 3,
     [](const std::vector<std::string>& args, Plan& plan) {
         plan.text = args[2];
         return parseField(args, plan) && allDigits(plan.text) &&
                plan.text.size() < static_cast<size_t>(plan.length);
     },
     nullptr, runSetText},
    {"get-bcd", "get-bcd", 0, 0, noArguments, nullptr, runGetBcd},
    {"set-bcd", "set-bcd TEXT (\"\", one or two digits)", 1, 1,
     [](const std::vector<std::string>& args, Plan& plan) {
         plan.text = args[0];
         uint8_t value = 0;
         return plan.text.size() <= 2 && bcdFromText(plan.text, value);
     },
     nullptr, runSetBcd},
    {"read-config", "read-config OUT.sqc", 1, 1, nullptr, prepareReadConfig, runReadConfig},
    {"write-config", "write-config IN.sqc", 1, 1, nullptr, prepareWriteConfig, runWriteConfig},
    {"diff", "diff IN.sqc [--language NAME]", 1, 3, nullptr, prepareDiff, runDiff},
    {"dump", "dump OUT.txt", 1, 1, nullptr, prepareDump, runDump},
    {"restore", "restore IN.txt [--force]", 1, 2, nullptr, prepareRestore, runRestore},
    {"bench", "bench TEMPLATE.sqc UNITS.csv PORTS [--receipts FILE] [--once]", 3, 6, nullptr, prepareBench, runBench, true},
};

// A wrong command line gets one line of reason; the whole usage is --help's
// (and what a command line without a command gets).
int usage(const std::string& problem) {
    if (problem.empty())
        std::fputs(kUsage, stderr);
    else
        std::fprintf(stderr, "quillctl: %s\n", problem.c_str());
    return kExitUsage;
}

bool parseSeconds(const std::string& text, double& seconds) {
    char* end = nullptr;
    seconds = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && seconds >= 0;
}

// Splits off the options; false with `problem` for a bad one.
bool parseOptions(int argc, char** argv, std::vector<std::string>& words, double& findSeconds, std::string& problem) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg != "--ports" && arg != "--timeout") {
            words.push_back(arg);
            continue;
        }
        if (i + 1 >= argc) {
            problem = arg + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        if (arg == "--ports") {
            setSerialPortsFolder(value);
        } else if (!parseSeconds(value, findSeconds)) {
            problem = "bad --timeout '" + value + "'";
            return false;
        }
    }
    return true;
}

// The link's observer sets `found` when it publishes a unit; the wait is
// for that, not a poll.
bool awaitUnit(Link& link, SyncEvent& found, double seconds, Plan& plan) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        plan.session = currentSession(link, &plan.connection);
        if (plan.session.connection != 0) return true;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        waitForEvent(found, static_cast<uint32_t>(std::min<int64_t>(left.count(), UINT32_MAX)));
    }
}

std::string noUnitFound(double seconds) {
    char text[300];
    std::snprintf(text, sizeof text, "no unit found on %s .. %s within %g s", serialPortName(1).c_str(),
                  serialPortName(256).c_str(), seconds);
    return text;
}

const Command* findCommand(const std::string& name) {
    for (const auto& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words;
    double findSeconds = kDefaultFindSeconds;
    std::string problem;
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (!parseOptions(argc, argv, words, findSeconds, problem)) return usage(problem);
    if (words.empty()) return usage("");
    const Command* command = findCommand(words[0]);
    if (!command) return usage("unknown command '" + words[0] + "' (quillctl --help lists them)");
    const std::vector<std::string> args(words.begin() + 1, words.end());
    Plan plan;
    const bool counted = args.size() >= command->minArgs && args.size() <= command->maxArgs;
    const bool good = counted && (command->parse ? command->parse(args, plan) : command->prepare(args, plan, problem));
    if (!good && !problem.empty()) return usage(problem);
    if (!good) return usage(std::string("usage: quillctl ") + command->synopsis);
    if (command->ownLinks) return command->run(plan);
    // The link's threads outlive main (they end with the process): the
    // observer keeps its own share of what it sets.
    const auto found = std::make_shared<SyncEvent>(false);
    LinkOptions options;
    options.ports = allPorts();
    options.observer = [found](LinkChange change, const LinkConnection&) {
        if (change == LinkChange::Published) setEvent(*found);
    };
    const std::shared_ptr<Link> link = startLink(std::move(options));
    if (!link) return failed("cannot start the link");
    if (!awaitUnit(*link, *found, findSeconds, plan)) return failed(noUnitFound(findSeconds));
    return command->run(plan);
}
