// What the link benchmarks share: quill-sim in a fresh ports folder, the
// link connected to it, and the wire time of a request with its
// reply (10 characters of 10 bits) at the line's 9600 baud.
#pragma once

#include "link/link.h"
#include "tests/link/sim_process.h"

#include <chrono>
#include <cstdio>
#include <thread>

constexpr double kRoundTripSeconds = 2.0 * kFrameSize * 10 / kLineBaudRate;

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// quill-sim on port 1 of its own folder, which the link scans.
struct BenchUnit {
    SimFolder folder{"quill-bench"};
    SimProcess& sim = folder.units[1];

    // Starts the unit; false (with a message) when it does not start.
    bool start(const std::vector<std::string>& args, const std::string& state) {
        setSerialPortsFolder(folder.path);
        if (folder.start(1, args, state)) return true;
        std::printf("quill-sim did not start\n");
        return false;
    }
    // Starts a link over port 1 and waits until it serves the unit: the first
    // request waits out the pause after the scan, start-up that no figure
    // measures. `session` then goes to that connection.
    bool connectWorker() {
        link = startLink(LinkOptions{{1}, nullptr});
        for (int i = 0; link && i < 1000 && linkConnection(*link).portNumber == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!link) return false;
        session = currentSession(*link);
        uint8_t value = 0;
        return submitRequest(session, 0, kIdentityLowRegister, 0, &value);
    }

    std::shared_ptr<Link> link;
    LinkSession session;
};
