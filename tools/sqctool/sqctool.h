// The commands of sqctool, each taking the arguments after its name.
#pragma once

#include <string>
#include <vector>

constexpr int kExitOk = 0;
constexpr int kExitRejected = 1;
constexpr int kExitUsage = 2;

int usage(const std::string& problem);
int reject(const std::string& reason);

int runSeal(const std::vector<std::string>& args);
int runUnseal(const std::vector<std::string>& args);
int runDefs(const std::vector<std::string>& args);
