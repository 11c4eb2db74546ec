// sqctool: sealed files and definition tables from the command line.
//
//   sqctool seal IN OUT                 seal the bytes of IN
//   sqctool unseal IN OUT               unseal; a rejected IN leaves OUT untouched
//   sqctool defs dump FILE [--sealed]   parse a definition text, print JSON
//   sqctool defs dump --builtin         the same for the table built into sqctool
//   sqctool defs text FILE|--builtin [--sealed] [--language NAME] [--device ID] KEY INDEX
//                                       the text the program shows for KEY INDEX
//   sqctool defs lint FILE              check a definition source for translators
//   sqctool defs embed SOURCE OUT.cpp [--damage]
//                                       seal a definition source into C++ (build step)
//   sqctool config show FILE.sqc [--language NAME] [--device ID] [--raw]
//                                       check a configuration file, print its pairs
//   sqctool config make OUT.sqc N=INDEX...
//                                       write a configuration file as the program would
//   sqctool config diff A.sqc B.sqc     the parameters whose choices differ
//
// "-" stands for standard input or output. Exit status: 0 success, 1 rejected
// input (one line on stderr) or lint findings, 2 usage error.
#include "tools/sqctool/sqctool.h"

#ifdef SQCTOOL_BUILTIN_TABLE
#include "defs/definition_store.h"
#endif

#include <iterator>
#include <string>
#include <vector>

namespace {

const Command kCommands[] = {
    {"seal", runSeal},
    {"unseal", runUnseal},
    {"defs", runDefs},
    {"config", runConfig},
};

}  // namespace

int main(int argc, char** argv) {
#ifdef SQCTOOL_BUILTIN_TABLE
    setBuiltinDefinitionTable(SealedDefinitionTable);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    return dispatchCommand(kCommands, std::size(kCommands), args, "");
}
