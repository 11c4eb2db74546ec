// sqctool defs: definition tables.
//
//   defs dump FILE [--sealed] | --builtin       the parsed table as JSON
//   defs text FILE [--sealed] | --builtin [--language NAME] [--device ID] KEY INDEX
//                                                the bytes text(KEY, INDEX) gives
//   defs lint FILE                              check a UTF-8 source (exit 1 on findings)
//   defs embed SOURCE OUT.cpp [--damage]        the build step behind the built-in table
//
// FILE is taken byte for byte (a source in UTF-8 gives UTF-8 texts); the
// built-in table is Windows-1250, as the program shows it.
#include "defs/definition_parser.h"
#include "defs/definition_store.h"
#include "defs/sealed_codec.h"
#include "tools/sqctool/defs_json.h"
#include "tools/sqctool/defs_lint.h"
#include "tools/sqctool/sqctool.h"
#include "tools/common/tool_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <iterator>

namespace {

const unsigned char* builtinTable = nullptr;

const char* const kValueOptions[] = {"--language", "--device"};

// Loads FILE as definition text, unsealing it first when asked.
bool readDefinitionFile(const std::string& path, bool sealed, std::string& text, std::string& error) {
    std::string bytes;
    if (!readWholeFile(path, bytes, error)) return false;
    if (!sealed) {
        text = bytes;
        return true;
    }
    if (!unsealBytes(bytes, text)) {
        error = path + ": not a sealed file, or damaged";
        return false;
    }
    return true;
}

// The text the program would parse: a file, or the built-in table up to its
// first NUL (where the program's load stops).
bool readTableText(const DefsOptions& options, std::string& text, std::string& error) {
    if (!options.builtin) return readDefinitionFile(options.positional.at(0), options.sealed, text, error);
    if (!builtinTable) {
        error = "this sqctool has no built-in table";
        return false;
    }
    if (!unsealDefinitionTable(builtinTable, text)) {
        error = std::string("built-in table: ") + kDecryptError;
        return false;
    }
    text.resize(std::min(text.size(), text.find('\0')));
    return true;
}

// The positional count a table-reading command needs: FILE first unless
// --builtin stands for it.
bool tableArgumentsFit(const DefsOptions& options, size_t others) {
    return options.positional.size() == others + (options.builtin ? 0 : 1) && !(options.builtin && options.sealed);
}

int runDump(const std::vector<std::string>& args) {
    DefsOptions options;
    std::string problem, text, error;
    if (!parseDefsOptions(args, {"--sealed", "--builtin"}, options, problem)) return usage(problem);
    if (!tableArgumentsFit(options, 0)) return usage("defs dump takes one FILE or --builtin");
    if (!readTableText(options, text, error)) return reject(error);
    std::cout << definitionsToJson(parseDefinitions(text));
    return kExitOk;
}

int runText(const std::vector<std::string>& args) {
    DefsOptions options;
    std::string problem, error;
    const std::vector<std::string> allowed = {"--sealed", "--builtin", "--language", "--device"};
    if (!parseDefsOptions(args, allowed, options, problem)) return usage(problem);
    if (!tableArgumentsFit(options, 2)) return usage("defs text takes FILE (or --builtin), KEY and INDEX");
    int32_t index = 0, device = 0;
    if (!parseInt32(options.positional.back(), index)) return usage("INDEX must be a number");
    if (options.hasDevice && !parseInt32(options.device, device)) return usage("--device takes a number");
    DefinitionStore store;
    if (!loadStore(options, store, error)) return reject(error);
    selectLanguageAndVariant(store, options, device);
    const std::string& key = options.positional[options.positional.size() - 2];
    if (!writeWholeFile("-", text(store, key, index) + "\n", error)) return reject(error);
    return kExitOk;
}

int runLint(const std::vector<std::string>& args) {
    DefsOptions options;
    std::string problem, source, error;
    if (!parseDefsOptions(args, {}, options, problem)) return usage(problem);
    if (options.positional.size() != 1) return usage("defs lint takes one FILE");
    const std::string& path = options.positional[0];
    if (!readWholeFile(path, source, error)) return reject(error);
    const std::vector<LintFinding> findings = lintDefinitionSource(source);
    for (const LintFinding& f : findings)
        std::cout << path << ":" << f.line << ": " << (f.note ? "note: " : "") << f.message << "\n";
    const auto notes = std::count_if(findings.begin(), findings.end(), [](const LintFinding& f) { return f.note; });
    std::cerr << path << ": " << findings.size() - notes << " findings, " << notes << " notes\n";
    return hasFailures(findings) ? kExitRejected : kExitOk;
}

const Command kSubcommands[] = {
    {"dump", runDump},
    {"text", runText},
    {"lint", runLint},
    {"embed", runEmbed},
};

bool takesValue(const std::string& option) {
    return std::find(std::begin(kValueOptions), std::end(kValueOptions), option) != std::end(kValueOptions);
}

void setOption(DefsOptions& options, const std::string& name, const std::string& value) {
    if (name == "--sealed") options.sealed = true;
    if (name == "--builtin") options.builtin = true;
    if (name == "--damage") options.damage = true;
    if (name == "--raw") options.raw = true;
    if (name == "--language") {
        options.hasLanguage = true;
        options.language = value;
    }
    if (name == "--device") {
        options.hasDevice = true;
        options.device = value;
    }
}

}  // namespace

bool parseInt32(const std::string& s, int32_t& value) {
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(s.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX) return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

bool loadStore(const DefsOptions& options, DefinitionStore& store, std::string& error) {
    std::string text;
    if (!readTableText(options, text, error)) return false;
    loadDefinitionText(store, text);
    error = startupError(store);
    return error.empty();
}

void selectLanguageAndVariant(DefinitionStore& store, const DefsOptions& options, int32_t device) {
    if (options.hasLanguage) selectLanguage(store, options.language);
    if (options.hasLanguage && !store.selectedLanguage)
        std::cerr << "sqctool: no language '" << options.language << "'; the first language answers\n";
    if (options.hasDevice) selectVariant(store, device);
}

void setBuiltinDefinitionTable(const unsigned char* table) { builtinTable = table; }

bool parseDefsOptions(const std::vector<std::string>& args, const std::vector<std::string>& allowed,
                      DefsOptions& options, std::string& problem) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 3 || a.compare(0, 2, "--") != 0) {
            options.positional.push_back(a);
            continue;
        }
        if (std::find(allowed.begin(), allowed.end(), a) == allowed.end()) {
            problem = "unknown option '" + a + "'";
            return false;
        }
        if (takesValue(a) && i + 1 == args.size()) {
            problem = a + " needs a value";
            return false;
        }
        setOption(options, a, takesValue(a) ? args[++i] : std::string());
    }
    return true;
}

int runDefs(const std::vector<std::string>& args) {
    return dispatchCommand(kSubcommands, std::size(kSubcommands), args, "defs");
}
