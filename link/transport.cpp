#include "link/transport.h"

#include "link/clock.h"
#include "link/device_text.h"
#include "link/frame.h"
#include "link/thread_start.h"

#include <atomic>
#include <mutex>

namespace {

// Shared by the link worker, the probe threads and the user-interface
// thread. Never destroyed: probe threads are detached and may still run
// while the process exits.
struct TransportState {
    std::mutex connectionLock;
    LinkConnection connection;  // guarded by connectionLock
    // Set by the scan before it starts a probe, cleared by that probe.
    std::atomic<uint8_t> probeBusy[kPortCount];
};

TransportState& transport() {
    static TransportState* state = [] {
        auto* s = new TransportState;
        for (auto& flag : s->probeBusy) flag.store(0);
        return s;
    }();
    return *state;
}

bool connectionPublished() {
    return linkConnection().portHandle != kNoPort;
}

// Waits for the rest of the deadline without reading: a complete frame with
// a wrong checksum is never accepted, and nothing more is read for it.
bool waitOutDeadline(uint32_t deadline) {
    sleepMilliseconds(ticksLeft(tickCount(), deadline));
    return false;
}

bool awaitReply(PortHandle port, uint8_t* replyTarget) {
    ReplyBuffer buffer;
    const uint32_t deadline = tickCount() + kReplyDeadlineMs;
    for (;;) {
        size_t got = 0;
        const size_t room = static_cast<size_t>(kFrameSize - buffer.count);
        if (!readSerialPort(port, buffer.bytes + buffer.count, room, got)) return false;
        buffer.count += static_cast<int32_t>(got);
        LinkFrame reply;
        switch (resynchronise(buffer, reply)) {
        case ReplyStatus::Accepted:
            if (replyTarget) *replyTarget = reply.data;
            return true;
        case ReplyStatus::Refused:
            return false;
        case ReplyStatus::BadChecksum:
            return waitOutDeadline(deadline);
        case ReplyStatus::Incomplete:
            break;
        }
        if (tickReached(tickCount(), deadline)) return false;
    }
}

int32_t probesInFlight() {
    int32_t count = 0;
    for (auto& flag : transport().probeBusy) {
        if (flag.load(std::memory_order_acquire) && ++count == kMaxProbesInFlight) break;
    }
    return count;
}

void startProbe(int32_t portIndex) {
    auto& flag = transport().probeBusy[portIndex];
    flag.store(1, std::memory_order_release);
    if (!startDetachedThread(probePort, portIndex))
        flag.store(0, std::memory_order_release);  // tried again in the next pass
}

// The pass holds the fine timer resolution: the 1 ms pauses between probe
// starts are otherwise a whole scheduler tick on Windows (15.6 ms), and a
// pass over 256 absent ports would take 4 s instead of a quarter of one.
void probePass() {
    const FineSleeps fine;
    for (int32_t i = 0; i < kPortCount && !connectionPublished(); ++i) {
        while (probesInFlight() >= kMaxProbesInFlight) sleepMilliseconds(kThrottlePauseMs);
        if (probeBusy(i)) continue;  // still probing it from an earlier pass
        startProbe(i);
        sleepMilliseconds(kProbeStartSpacingMs);
    }
}

}  // namespace

LinkConnection linkConnection() {
    TransportState& s = transport();
    std::lock_guard<std::mutex> hold(s.connectionLock);
    return s.connection;
}

std::string formatDeviceVersion(const LinkConnection& connection) {
    return connection.portNumber != 0 ? formatVersion(connection.deviceId) : std::string();
}

bool transact(PortHandle port, uint8_t op, uint8_t address, uint8_t data, uint8_t* replyTarget) {
    purgeSerialPort(port);
    LinkFrame request;
    request.op = op;
    request.address = address;
    request.data = data;
    uint8_t bytes[kFrameSize];
    encodeFrame(request, bytes);
    // A write cut short by its time-out is not noticed here; it simply gets
    // no reply and fails at the deadline.
    if (!writeSerialPort(port, bytes, kFrameSize)) return false;
    flushSerialPort(port);
    return awaitReply(port, replyTarget);
}

int32_t readIdentity(PortHandle port) {
    uint8_t low = 0;
    uint8_t high = 0;
    if (!transact(port, kOpRead, kIdentityLowRegister, 0, &low)) return 0;
    if (!transact(port, kOpRead, kIdentityHighRegister, 0, &high)) return 0;
    return high * 256 + low;
}

bool publishConnection(PortHandle port, int32_t portNumber, int32_t deviceId) {
    TransportState& s = transport();
    std::lock_guard<std::mutex> hold(s.connectionLock);
    if (s.connection.portHandle != kNoPort) return false;
    s.connection.portHandle = port;
    s.connection.portNumber = portNumber;
    s.connection.deviceId = deviceId;
    ++s.connection.publication;
    return true;
}

void closeConnection() {
    TransportState& s = transport();
    PortHandle port;
    {
        std::lock_guard<std::mutex> hold(s.connectionLock);
        port = s.connection.portHandle;
        s.connection.portHandle = kNoPort;
        s.connection.portNumber = 0;
        s.connection.deviceId = 0;
    }
    if (port != kNoPort) closeSerialPort(port);
}

bool probeBusy(int32_t portIndex) {
    return transport().probeBusy[portIndex].load(std::memory_order_acquire) != 0;
}

void probePort(int32_t portIndex) {
    PortHandle port = kNoPort;
    if (openSerialPort(portIndex + 1, port)) {
        const int32_t deviceId = readIdentity(port);
        if (deviceId == 0 || !publishConnection(port, portIndex + 1, deviceId)) closeSerialPort(port);
    }
    transport().probeBusy[portIndex].store(0, std::memory_order_release);
}

void scanPorts() {
    closeConnection();
    for (;;) {
        probePass();
        sleepMilliseconds(kAfterPassPauseMs);
        if (connectionPublished()) return;
        sleepMilliseconds(kBetweenPassesPauseMs);
        if (connectionPublished()) return;
    }
}
