#include "defs/definition_parser.h"
#include "defs/sealed_codec.h"
#include "tools/sqctool/defs_json.h"
#include "tools/sqctool/sqctool.h"
#include "tools/sqctool/tool_io.h"

#include <iostream>

namespace {

// Loads FILE as definition text, unsealing it first when asked.
bool loadDefinitionText(const std::string& path, bool sealed, std::string& text, std::string& error) {
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

int runDump(const std::vector<std::string>& args) {
    std::string path;
    bool sealed = false;
    for (const auto& a : args) {
        if (a == "--sealed") sealed = true;
        else if (path.empty()) path = a;
        else return usage("defs dump takes one FILE");
    }
    if (path.empty()) return usage("defs dump needs a FILE");
    std::string text, error;
    if (!loadDefinitionText(path, sealed, text, error)) return reject(error);
    std::cout << definitionsToJson(parseDefinitions(text));
    return kExitOk;
}

}  // namespace

int runDefs(const std::vector<std::string>& args) {
    if (args.empty()) return usage("defs needs a subcommand");
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "dump") return runDump(rest);
    return usage("unknown defs subcommand '" + args[0] + "'");
}
