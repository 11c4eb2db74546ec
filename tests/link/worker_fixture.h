// One link over ports 3..9 per test program on a private ports folder; each
// test puts its unit on the next port, unplugs the previous one, and waits
// for the link. The link's notifications are kept in order.
#pragma once

#include "link/link.h"
#include "tests/link/sim_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

struct Notification {
    LinkChange change;
    uint32_t publication;
    int32_t portNumber;
    bool operator==(const Notification& o) const {
        return change == o.change && publication == o.publication && portNumber == o.portNumber;
    }
};

class WorkerTest : public ::testing::Test {
protected:
    // What the tests of a program share: the ports folder, the notifications
    // heard and the link. At the end the link stops first: its last
    // notification still finds the list.
    struct Shared {
        ~Shared() { if (link) stopLink(*link); }
        SimFolder ports{"quill-worker"};
        std::mutex lock;
        std::vector<Notification> heard;
        std::shared_ptr<Link> link;
    };
    static Shared& shared() {
        static Shared s;
        return s;
    }
    static void SetUpTestSuite() {
        if (shared().link) return;
        setSerialPortsFolder(shared().ports.path);
        LinkOptions options;
        for (int32_t n = 3; n <= 9; ++n) options.ports.push_back(n);
        options.observer = [](LinkChange change, const LinkConnection& c) {
            std::lock_guard<std::mutex> hold(shared().lock);
            shared().heard.push_back(Notification{change, c.publication, c.portNumber});
        };
        ASSERT_TRUE(shared().link = startLink(std::move(options)));
    }
    void TearDown() override { stopSim(sim); }

    static LinkConnection connection() { return linkConnection(*shared().link); }
    // A session on the link's connection now.
    static LinkSession session() { return currentSession(*shared().link); }
    // The notifications since the last call.
    static std::vector<Notification> takeNotifications() {
        std::vector<Notification> taken;
        std::lock_guard<std::mutex> hold(shared().lock);
        taken.swap(shared().heard);
        return taken;
    }
    static void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    // Waits at most `timeoutMs` until `done` holds for the connection.
    template <class Done>
    static bool awaitConnection(Done done, int64_t timeoutMs) {
        for (const int64_t until = nowMs() + timeoutMs; nowMs() < until; sleepMs(2))
            if (done(connection())) return true;
        return false;
    }

    // A unit on the next of the ports 3..9 (or none), the previous one unplugged.
    bool useUnit(const std::vector<std::string>& args, const std::string& stateText = "", int64_t timeoutMs = 15000) {
        static int32_t nextPort = 3;
        const int32_t port = nextPort;
        nextPort = nextPort == 9 ? 3 : nextPort + 1;
        SimProcess fresh;
        if (!startSim(shared().ports.path, port, args, stateText, fresh)) return false;
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
