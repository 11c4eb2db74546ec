// One link worker per test program on a private ports folder; each test puts
// its unit on the next port, unplugs the previous one, and waits for the worker.
#pragma once

#include "link/link.h"
#include "tests/link/sim_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

class WorkerTest : public ::testing::Test {
protected:
    // The worker keeps running; the folder goes when the program ends.
    static void SetUpTestSuite() {
        static bool started = false;
        if (started) return;
        setSerialPortsFolder(folder().path);
        ASSERT_TRUE(started = startLinkWorker());
    }
    void TearDown() override { stopSim(sim); }

    static SimFolder& folder() {
        static SimFolder ports("quill-worker");
        return ports;
    }
    static void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    // Waits at most `timeoutMs` until `done` holds for the connection.
    template <class Done>
    static bool awaitConnection(Done done, int64_t timeoutMs) {
        for (const int64_t until = nowMs() + timeoutMs; nowMs() < until; sleepMs(2))
            if (done(linkConnection())) return true;
        return false;
    }

    // A unit on the next of the ports 3..9 (or none), the previous one unplugged.
    bool useUnit(const std::vector<std::string>& args, const std::string& stateText = "", int64_t timeoutMs = 15000) {
        static int32_t nextPort = 3;
        const int32_t port = nextPort;
        nextPort = nextPort == 9 ? 3 : nextPort + 1;
        SimProcess fresh;
        if (!startSim(folder().path, port, args, stateText, fresh)) return false;
        stopSim(sim);
        sim = fresh;
        return awaitConnection([&](const LinkConnection& c) { return c.portNumber == port; }, timeoutMs);
    }
    bool useNoUnit() {
        stopSim(sim);
        return awaitConnection([](const LinkConnection& c) { return c.portNumber == 0; }, 10000);
    }

    SimProcess sim;
};
