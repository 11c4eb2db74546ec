// What quillctl's commands share: the exit statuses, the checked command
// line with the inputs already read, and the commands on whole
// configurations. A command's prepare step checks everything that can be
// checked before the link starts: bad input never sends anything.
#pragma once

#include "configfile/config_text.h"
#include "defs/definition_store.h"
#include "link/link.h"
#include "tools/quillctl/register_dump.h"
#include "tools/quillctl/unit_list.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;     // a request failed, no unit, an output not written
constexpr int kExitUsage = 2;      // usage error or bad input: nothing was sent
constexpr int kExitDifferent = 3;  // diff: the unit and the file differ
constexpr int kExitInterrupted = 130;  // bench: stopped by Ctrl+C (128 + SIGINT, as shells report it)

struct Plan {
    // Register commands.
    std::vector<uint8_t> addresses;  // get: registers; set: the register
    uint8_t value = 0;
    int32_t base = 0;
    int32_t length = 0;
    std::string text;
    // Whole configurations.
    std::string path;               // the file read or written
    std::vector<ConfigPair> pairs;  // write-config, diff: the file's pairs
    DefinitionStore store;          // read-config, write-config, diff: the built-in table
    RegisterDump dump;              // restore: the registers to write
    bool force = false;             // restore: to a unit of another identity too
    // The bench (bench_command.cpp); `pairs` is its template's.
    UnitList units;
    std::vector<int32_t> ports;
    std::string receiptsPath;
    bool once = false;
    std::set<std::string> programmed;  // labels with a `programmed` receipt
    // Set once a unit is found: every request of the command goes to that
    // connection, so none reaches a unit the link finds after losing it.
    LinkConnection connection;
    LinkSession session;
};

// One line "quillctl: reason" on standard error; returns kExitFailed.
int failed(const std::string& reason);

// The built-in definition table into `store`; false with `problem`.
bool loadTable(DefinitionStore& store, std::string& problem);

// Each prepare returns false with a one-line `problem` (empty: show usage).
bool prepareReadConfig(const std::vector<std::string>& args, Plan& plan, std::string& problem);
bool prepareWriteConfig(const std::vector<std::string>& args, Plan& plan, std::string& problem);
bool prepareDiff(const std::vector<std::string>& args, Plan& plan, std::string& problem);
bool prepareDump(const std::vector<std::string>& args, Plan& plan, std::string& problem);
bool prepareRestore(const std::vector<std::string>& args, Plan& plan, std::string& problem);
bool prepareBench(const std::vector<std::string>& args, Plan& plan, std::string& problem);

int runReadConfig(Plan& plan);
int runWriteConfig(Plan& plan);
int runDiff(Plan& plan);
int runDump(Plan& plan);
int runRestore(Plan& plan);
// The bench makes its own links, one per port: no unit is awaited first.
int runBench(Plan& plan);
