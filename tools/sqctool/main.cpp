// sqctool: sealed files and definition tables from the command line.
//
//   sqctool seal IN OUT                 seal the bytes of IN
//   sqctool unseal IN OUT               unseal; a rejected IN leaves OUT untouched
//   sqctool defs dump FILE [--sealed]   parse a definition text, print JSON
//
// "-" stands for standard input or output. Exit status: 0 success, 1 rejected
// input (one line on stderr), 2 usage error.
#include "tools/sqctool/sqctool.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct Command {
    const char* name;
    int (*run)(const std::vector<std::string>& args);
};

const Command kCommands[] = {
    {"seal", runSeal},
    {"unseal", runUnseal},
    {"defs", runDefs},
};

}  // namespace

int usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "sqctool: " << problem << "\n";
    std::cerr << "usage: sqctool seal IN OUT\n"
                 "       sqctool unseal IN OUT\n"
                 "       sqctool defs dump FILE [--sealed]\n"
                 "('-' is standard input or output)\n";
    return kExitUsage;
}

int reject(const std::string& reason) {
    std::cerr << "sqctool: " << reason << "\n";
    return kExitRejected;
}

int main(int argc, char** argv) {
    if (argc < 2) return usage("");
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& c : kCommands)
        if (std::strcmp(argv[1], c.name) == 0) return c.run(args);
    return usage(std::string("unknown command '") + argv[1] + "'");
}
