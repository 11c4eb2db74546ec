// File access shared by the command-line tools: whole files as bytes, "-"
// for standard input or output, and outputs replaced only once their new
// content is complete (configfile/safe_file.h).
#pragma once

#include "configfile/config_text.h"

#include <string>
#include <vector>

// Reads all of `path` ("-": standard input). On failure sets `error`.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Writes `bytes` to `path` ("-": standard output) with replaceFileSafely: a
// failed write never leaves a half-written or truncated output behind.
bool writeWholeFile(const std::string& path, const std::string& bytes, std::string& error);

// A configuration file as the program's open command takes it ("-":
// standard input): read, unsealed and its text parsed into `pairs`. False
// with a one-line `error` naming the file when the program would refuse it;
// `payload` keeps the unsealed text whenever unsealing worked.
bool readConfigFile(const std::string& path, std::string& payload, std::vector<ConfigPair>& pairs,
                    std::string& error);
