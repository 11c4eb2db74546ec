// The commands of sqctool, each taking the arguments after its name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kExitOk = 0;
constexpr int kExitRejected = 1;
constexpr int kExitUsage = 2;

int usage(const std::string& problem);
int reject(const std::string& reason);

// A command or subcommand: its name and what runs it.
struct Command {
    const char* name;
    int (*run)(const std::vector<std::string>& args);
};

// Runs the entry of `commands` called args[0] with the arguments after it;
// a usage error naming `what` when there is none.
int dispatchCommand(const Command* commands, size_t count, const std::vector<std::string>& args, const std::string& what);

int runSeal(const std::vector<std::string>& args);
int runUnseal(const std::vector<std::string>& args);
int runDefs(const std::vector<std::string>& args);
// "config": configuration files as the program reads and writes them.
int runConfig(const std::vector<std::string>& args);

// The table built into this sqctool (laid out like SealedDefinitionTable),
// or none: the build's bootstrap sqctool, which seals that very table, has
// none. Set by main before any command runs.
void setBuiltinDefinitionTable(const unsigned char* table);

// "defs embed": the definition source (UTF-8) converted to Windows-1250,
// sealed, and written as a C++ source that defines SealedDefinitionTable.
int runEmbed(const std::vector<std::string>& args);

// The options of the defs subcommands. Each subcommand names the options it
// takes; anything else is a usage error.
struct DefsOptions {
    std::vector<std::string> positional;
    bool sealed = false;
    bool builtin = false;
    bool damage = false;
    bool raw = false;
    bool hasLanguage = false;
    std::string language;
    bool hasDevice = false;
    std::string device;
};

bool parseDefsOptions(const std::vector<std::string>& args, const std::vector<std::string>& allowed,
                      DefsOptions& options, std::string& problem);

// A whole decimal signed 32-bit number, nothing else.
bool parseInt32(const std::string& s, int32_t& value);

struct DefinitionStore;
// The definitions FILE or --builtin names, loaded as the program loads its
// table; false with the start-up error otherwise.
bool loadStore(const DefsOptions& options, DefinitionStore& store, std::string& error);
// --language (warning on stderr when the table lacks it) and --device
// (already parsed into `device`).
void selectLanguageAndVariant(DefinitionStore& store, const DefsOptions& options, int32_t device);
