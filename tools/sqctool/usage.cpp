#include "tools/sqctool/sqctool.h"

#include <iostream>

int usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "sqctool: " << problem << "\n";
    std::cerr << "usage: sqctool seal IN OUT\n"
                 "       sqctool unseal IN OUT\n"
                 "       sqctool defs dump FILE [--sealed] | --builtin\n"
                 "       sqctool defs text FILE [--sealed] | --builtin [--language NAME] [--device ID] KEY INDEX\n"
                 "       sqctool defs lint FILE\n"
                 "       sqctool defs embed SOURCE OUT.cpp [--damage]\n"
                 "       sqctool config show FILE.sqc [--language NAME] [--device ID] [--raw]\n"
                 "       sqctool config make OUT.sqc N=INDEX...\n"
                 "       sqctool config diff A.sqc B.sqc [--language NAME] [--device ID]\n"
                 "('-' is standard input or output)\n";
    return kExitUsage;
}

int reject(const std::string& reason) {
    std::cerr << "sqctool: " << reason << "\n";
    return kExitRejected;
}

int dispatchCommand(const Command* commands, size_t count, const std::vector<std::string>& args, const std::string& what) {
    if (args.empty()) return usage(what.empty() ? "" : what + " needs a subcommand");
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (size_t i = 0; i < count; ++i)
        if (args[0] == commands[i].name) return commands[i].run(rest);
    return usage("unknown " + (what.empty() ? "command" : what + " subcommand") + " '" + args[0] + "'");
}
