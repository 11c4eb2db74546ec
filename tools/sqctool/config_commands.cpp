// sqctool config: configuration files, read and written with the program's
// own text code and codec.
//
//   config show FILE.sqc [--language NAME] [--device ID] [--raw]
//       checks FILE as the program's open command would (exit 1 with the
//       reason when the program would show its error) and prints one line
//       per pair, "N=INDEX<tab>caption<tab>choice", texts from the built-in
//       table in UTF-8; --raw prints the unsealed text instead.
//   config make OUT.sqc N=INDEX...
//       writes the file the program would save with those selections
//       (N 1..999, INDEX -1 for none).
//   config diff A.sqc B.sqc [--language NAME] [--device ID]
//       "N<tab>A's index<tab>B's index<tab>caption" for every parameter
//       whose choice differs ("-" where a file has none); exit 0 either way.
#include "configfile/config_text.h"
#include "defs/definition_store.h"
#include "defs/sealed_codec.h"
#include "params/parameter_list.h"
#include "tools/common/tool_io.h"
#include "tools/sqctool/sqctool.h"
#include "tools/common/windows1250.h"

#include <iostream>
#include <iterator>
#include <map>

namespace {

using Selections = std::map<int32_t, int32_t>;  // parameter -> index, the later pair winning

const std::vector<std::string> kTableOptions = {"--language", "--device"};

bool readSelections(const std::string& path, Selections& selections, std::string& error) {
    std::string payload;
    std::vector<ConfigPair> pairs;
    if (!readConfigFile(path, payload, pairs, error)) return false;
    for (const ConfigPair& p : pairs) selections[p.param] = p.index;
    return true;
}

// The built-in table with --language and --device applied.
bool loadTable(DefsOptions options, DefinitionStore& store, std::string& error) {
    int32_t device = 0;
    if (options.hasDevice && !parseInt32(options.device, device)) {
        error = "--device takes a number";
        return false;
    }
    options.builtin = true;
    if (!loadStore(options, store, error)) return false;
    selectLanguageAndVariant(store, options, device);
    return true;
}

std::string caption(const DefinitionStore& store, int32_t n) {
    const Row* row = n >= 1 && n <= kMaxParamNumber ? findRow(store, parameterKey(n)) : nullptr;
    return row && !row->empty() ? windows1250ToUtf8(row->front()) : std::string();
}

// What the program's list would show for `index`, judged by the table's
// own choice counts (a unit may report other counts).
std::string choiceDescription(const DefinitionStore& store, int32_t n, int32_t index) {
    if (n < 1 || n > parameterListLength(store)) return "(not in the table: skipped)";
    if (!isParameterVisible(store, n)) return "(hidden: skipped)";
    const int32_t count = choiceCount(store, {}, n);
    int32_t selection = 0;
    if (!selectionForPair(index, count, selection)) return "(no choices: skipped)";
    if (selection == kNoSelection) return "(no selection)";
    const std::string text = windows1250ToUtf8(choiceText(store, n, selection));
    return index == selection ? text : text + " (past the list: the first choice)";
}

int runShow(const std::vector<std::string>& args) {
    DefsOptions options;
    std::string problem, payload, error;
    std::vector<std::string> allowed = kTableOptions;
    allowed.push_back("--raw");
    if (!parseDefsOptions(args, allowed, options, problem)) return usage(problem);
    if (options.positional.size() != 1) return usage("config show takes one FILE");
    std::vector<ConfigPair> pairs;
    const bool good = readConfigFile(options.positional[0], payload, pairs, error);
    if (options.raw && !payload.empty()) std::cout << payload;
    if (!good) return reject(error);
    if (options.raw) return kExitOk;
    DefinitionStore store;
    if (!loadTable(options, store, error)) return reject(error);
    for (const ConfigPair& p : pairs)
        std::cout << p.param << "=" << p.index << "\t" << caption(store, p.param) << "\t"
                  << choiceDescription(store, p.param, p.index) << "\n";
    return kExitOk;
}

// "N=INDEX" with N a parameter number and INDEX a choice or -1.
bool parseAssignment(const std::string& arg, int32_t& n, int32_t& index) {
    const size_t eq = arg.find('=');
    return eq != std::string::npos && parseInt32(arg.substr(0, eq), n) && parseInt32(arg.substr(eq + 1), index) &&
           n >= 1 && n <= kMaxParamNumber && index >= kNoSelection;
}

int runMake(const std::vector<std::string>& args) {
    if (args.empty()) return usage("config make takes OUT.sqc and N=INDEX pairs");
    std::vector<FormRow> rows;
    for (size_t i = 1; i < args.size(); ++i) {
        int32_t n = 0, index = 0;
        if (!parseAssignment(args[i], n, index)) return usage("'" + args[i] + "' is not N=INDEX (N 1..999, INDEX >= -1)");
        if (rows.size() < static_cast<size_t>(n)) rows.resize(n);
        if (rows[n - 1].hasList) return usage("parameter " + std::to_string(n) + " given twice");
        rows[n - 1] = FormRow{n, true, index};
    }
    std::string sealed, error;
    if (!sealBytes(composeConfigText(rows), sealed)) return reject("sealing failed");
    if (!writeWholeFile(args[0], sealed, error)) return reject(error);
    return kExitOk;
}

std::string indexOrDash(const Selections& s, int32_t n) {
    const auto it = s.find(n);
    return it == s.end() ? "-" : std::to_string(it->second);
}

int runDiff(const std::vector<std::string>& args) {
    DefsOptions options;
    std::string problem, error;
    if (!parseDefsOptions(args, kTableOptions, options, problem)) return usage(problem);
    if (options.positional.size() != 2) return usage("config diff takes two files");
    Selections a, b;
    if (!readSelections(options.positional[0], a, error) || !readSelections(options.positional[1], b, error))
        return reject(error);
    DefinitionStore store;
    if (!loadTable(options, store, error)) return reject(error);
    Selections all = a;
    all.insert(b.begin(), b.end());
    for (const auto& [n, unused] : all) {
        const std::string left = indexOrDash(a, n), right = indexOrDash(b, n);
        if (left != right) std::cout << n << "\t" << left << "\t" << right << "\t" << caption(store, n) << "\n";
    }
    return kExitOk;
}

const Command kSubcommands[] = {
    {"show", runShow},
    {"make", runMake},
    {"diff", runDiff},
};

}  // namespace

int runConfig(const std::vector<std::string>& args) {
    return dispatchCommand(kSubcommands, std::size(kSubcommands), args, "config");
}
