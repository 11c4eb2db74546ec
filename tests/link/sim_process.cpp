#include "tests/link/sim_process.h"

#include "tests/file_text.h"
#include "tools/quill-sim/sim_state.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Starts `args` with its standard output into a new pipe (returned in
// `output`) and its standard error into `errorPath`.
bool spawn(const std::vector<std::string>& args, const std::string& errorPath, pid_t& pid, int& output) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    output = pipeFds[0];
    return rc == 0;
}

}  // namespace

int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool startSim(const std::string& folder, int32_t port, const std::vector<std::string>& args,
              const std::string& stateText, SimProcess& sim) {
    const std::string name = folder + "/sim" + std::to_string(port);
    sim.logPath = name + ".log";
    sim.statePath = name + ".state";
    writeText(sim.statePath, stateText);
    std::vector<std::string> all = {QUILL_SIM_PATH, "-v", "--state", sim.statePath};
    all.insert(all.end(), args.begin(), args.end());
    all.push_back(folder + "/com" + std::to_string(port));
    return spawn(all, sim.logPath, sim.pid, sim.output) && awaitAnnouncement(sim, 10000);
}

// The announcement is one line: the terminal's path.
bool awaitAnnouncement(SimProcess& sim, int32_t timeoutMs) {
    char c = 0;
    for (const int64_t deadline = nowMs() + timeoutMs; nowMs() < deadline;) {
        pollfd p{sim.output, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(deadline - nowMs())) <= 0) continue;
        if (read(sim.output, &c, 1) != 1) return false;
        if (c == '\n') return true;
    }
    return false;
}

int runProgram(const std::vector<std::string>& argv, std::string& output, std::string& errors) {
    char errorPath[] = "/tmp/quill-run-XXXXXX";
    const int errorFd = mkstemp(errorPath);
    pid_t pid = -1;
    int out = -1, status = 0;
    if (errorFd < 0 || close(errorFd) != 0 || !spawn(argv, errorPath, pid, out)) return -1;
    char buffer[512];
    output.clear();
    for (ssize_t n; (n = read(out, buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<size_t>(n));
    close(out);
    waitpid(pid, &status, 0);
    errors = fileText(errorPath);
    unlink(errorPath);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool startProgram(const std::vector<std::string>& args, const std::string& outputPath, pid_t& pid) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0;
}

bool stopSim(SimProcess& sim) {
    if (sim.pid <= 0) return false;
    kill(sim.pid, SIGTERM);
    int status = 0;
    waitpid(sim.pid, &status, 0);
    close(sim.output);
    sim.pid = sim.output = -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

SimFolder::SimFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (mkdtemp(&pattern[0])) path = pattern;
}

SimFolder::~SimFolder() {
    for (auto& entry : units) stopSim(entry.second);
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
}

SimUnit simState(const SimProcess& sim) {
    SimUnit unit;
    std::vector<std::string> problems;
    parseSimState(fileText(sim.statePath), unit, problems);
    return unit;
}

// A received request is logged as "... -> 56 OP ADDRESS DATA ...".
std::vector<LinkFrame> simRequests(const SimProcess& sim) {
    std::vector<LinkFrame> frames;
    std::istringstream log(fileText(sim.logPath));
    unsigned start, op, address, data;
    for (std::string line; std::getline(log, line);) {
        const size_t at = line.find("-> ");
        if (at != std::string::npos &&
            std::sscanf(line.c_str() + at + 3, "%x %x %x %x", &start, &op, &address, &data) == 4)
            frames.push_back(LinkFrame{uint8_t(op), uint8_t(address), uint8_t(data)});
    }
    return frames;
}

int32_t countRequests(const SimProcess& sim, uint8_t op, uint8_t address) {
    int32_t n = 0;
    for (const auto& f : simRequests(sim)) n += (f.op == op && f.address == address) ? 1 : 0;
    return n;
}
