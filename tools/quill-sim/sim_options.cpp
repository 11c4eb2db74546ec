#include "tools/quill-sim/sim_options.h"

#include "tools/quill-sim/sim_state.h"

#include <cstring>
#include <sstream>

const char* const kSimUsage =
    "usage: quill-sim [OPTIONS] [LINK]\n"
    "\n"
    "A simulated Sorvane Quill alarm unit on a pseudo-terminal. It answers the\n"
    "5-byte frames of the configuration link like a unit: registers 0..255,\n"
    "the identity in registers 253 (low) and 254 (high), op 0 read, op 64\n"
    "choice count, op 128 write; other op codes are refused.\n"
    "\n"
    "LINK becomes a symbolic link to the pseudo-terminal, e.g.\n"
    "/tmp/quill-ports/com3 is port COM3 for quillctl and the link tests\n"
    "(ports folder $QUILL_PORTS, default /tmp/quill-ports). Once the unit\n"
    "answers, the terminal's path (/dev/pts/N) is printed on standard output,\n"
    "again whenever the unit comes back after vanishing (the number may\n"
    "change). Under Wine, register it as a COM port: value COM3 = /dev/pts/N\n"
    "under HKLM\\Software\\Wine\\Ports, then restart the Wine server.\n"
    "\n"
    "Unit:\n"
    "  --state FILE             registers and choice counts: loaded at start,\n"
    "                           rewritten on every change and at exit (created\n"
    "                           when missing; comments are not kept)\n"
    "  --identity N             identity 0..65535 (default 105, shown as 1.05)\n"
    "Line:\n"
    "  --baud N                 pace every byte by its wire time at N baud\n"
    "  --latency MS             think time before each reply\n"
    "  --ready-file FILE        write the terminal's path to FILE when ready\n"
    "  -v                       log every frame in hexadecimal on standard error\n"
    "  --log-times              start each logged line with the time in seconds\n"
    "                           since 1970 (to the microsecond)\n"
    "Faults (LIST: numbers separated by commas, decimal or 0x hex):\n"
    "  --refuse-address LIST    answer FE (refusal) for these registers\n"
    "  --refuse-op LIST         answer FE for these op codes\n"
    "  --refuse-write LIST      answer FE for writes to these registers (reads\n"
    "                           of them are answered)\n"
    "  --noise N                send N noise bytes before each reply\n"
    "  --split MS               send each reply in three writes, MS apart\n"
    "  --bad-checksum           replies carry a wrong checksum\n"
    "  --bad-checksum-at LIST   the same for these registers only\n"
    "  --mismatch               replies carry another op and address\n"
    "  --readback-differs LIST  a write to these registers stores value + 1\n"
    "  --silent-after N         answer N requests, then stay silent\n"
    "  --vanish-after N         close the line at request N + 1 (once)\n"
    "  --away MS                time away after vanishing (default 2000;\n"
    "                           0: until SIGUSR2)\n"
    "Signals:\n"
    "  SIGUSR1                  go silent / answer again\n"
    "  SIGUSR2                  vanish (line closed, link removed) / come back\n"
    "  SIGWINCH                 refuse the next request, once (a single bad reply)\n"
    "  SIGALRM                  a wrong checksum in the next reply, once (the link\n"
    "                           waits out its 5 s deadline, then finds the unit again)\n"
    "  SIGINT, SIGTERM, SIGHUP  end, with the state saved\n"
    "\n"
    "State file, one setting per line ('#' starts a comment):\n"
    "  identity 105\n"
    "  register ADDR VALUE      unlisted registers hold 0\n"
    "  count ADDR VALUE         choice count op 64 answers; unlisted: 0\n";

namespace {

constexpr int64_t kMaxByte = 255;
constexpr int64_t kMaxCount = 1000000000;
constexpr uint32_t kBitsPerCharacter = 10;  // start, 8 data, stop

bool parseByteList(const std::string& text, std::set<uint8_t>& values) {
    std::istringstream in(text);
    std::string item;
    int64_t v = 0;
    while (std::getline(in, item, ',')) {
        if (!parseSimNumber(item, kMaxByte, v)) return false;
        values.insert(static_cast<uint8_t>(v));
    }
    return !values.empty();
}

template <class T>
bool parseInto(const std::string& text, int64_t max, T& field) {
    int64_t v = 0;
    if (!parseSimNumber(text, max, v)) return false;
    field = static_cast<T>(v);
    return true;
}

struct OptionSpec {
    const char* name;
    bool takesValue;
    bool (*apply)(SimOptions& o, const std::string& value);
};

const OptionSpec kOptions[] = {
    {"--state", true, [](SimOptions& o, const std::string& v) { o.statePath = v; return !v.empty(); }},
    {"--identity", true, [](SimOptions& o, const std::string& v) { return parseInto(v, 65535, o.identity); }},
    {"--baud", true, [](SimOptions& o, const std::string& v) { return parseInto(v, 4000000, o.baud) && o.baud > 0; }},
    {"--latency", true, [](SimOptions& o, const std::string& v) { return parseInto(v, 600000, o.pacing.latencyMs); }},
    {"--ready-file", true, [](SimOptions& o, const std::string& v) { o.readyPath = v; return !v.empty(); }},
    {"-v", false, [](SimOptions& o, const std::string&) { return o.verbose = true; }},
    {"--log-times", false, [](SimOptions& o, const std::string&) { return o.logTimes = true; }},
    {"--help", false, [](SimOptions& o, const std::string&) { return o.help = true; }},
    {"--refuse-address", true, [](SimOptions& o, const std::string& v) { return parseByteList(v, o.faults.refuseAddresses); }},
    {"--refuse-op", true, [](SimOptions& o, const std::string& v) { return parseByteList(v, o.faults.refuseOps); }},
    {"--refuse-write", true, [](SimOptions& o, const std::string& v) { return parseByteList(v, o.faults.refuseWrites); }},
    {"--noise", true, [](SimOptions& o, const std::string& v) { return parseInto(v, 1000, o.faults.noiseBytes); }},
    {"--split", true, [](SimOptions& o, const std::string& v) { return parseInto(v, 600000, o.pacing.splitMs); }},
    {"--bad-checksum", false, [](SimOptions& o, const std::string&) { return o.faults.badChecksum = true; }},
    {"--bad-checksum-at", true, [](SimOptions& o, const std::string& v) { return parseByteList(v, o.faults.badChecksumAddresses); }},
    {"--mismatch", false, [](SimOptions& o, const std::string&) { return o.faults.mismatch = true; }},
    {"--readback-differs", true, [](SimOptions& o, const std::string& v) { return parseByteList(v, o.faults.readbackDiffers); }},
    {"--silent-after", true, [](SimOptions& o, const std::string& v) { return parseInto(v, kMaxCount, o.faults.silentAfter); }},
    {"--vanish-after", true, [](SimOptions& o, const std::string& v) { return parseInto(v, kMaxCount, o.faults.vanishAfter); }},
    {"--away", true, [](SimOptions& o, const std::string& v) { return parseInto(v, 3600000, o.awayMs); }},
};

const OptionSpec* findOption(const char* name) {
    for (const auto& spec : kOptions)
        if (std::strcmp(spec.name, name) == 0) return &spec;
    return nullptr;
}

}  // namespace

bool parseSimOptions(int argc, char** argv, SimOptions& options, std::string& problem) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.size() < 2 || arg[0] != '-') {
            if (!options.linkPath.empty()) problem = "more than one LINK given";
            options.linkPath = arg;
        } else if (const OptionSpec* spec = findOption(argv[i])) {
            if (spec->takesValue && i + 1 >= argc) {
                problem = arg + " needs a value";
                break;
            }
            const std::string value = spec->takesValue ? argv[++i] : std::string();
            if (!spec->apply(options, value)) problem = "bad value for " + arg + ": '" + value + "'";
        } else {
            problem = "unknown option " + arg;
        }
        if (!problem.empty()) return false;
    }
    if (options.baud) options.pacing.byteNanos = kBitsPerCharacter * 1000000000ull / options.baud;
    return problem.empty();
}
