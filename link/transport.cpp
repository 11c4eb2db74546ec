#include "link/transport.h"

#include "link/clock.h"
#include "link/device_text.h"
#include "link/frame.h"
#include "link/link_state.h"
#include "link/thread_start.h"

namespace {

bool connectionPublished(Link& link) {
    return linkConnection(link).portHandle != kNoPort;
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

int32_t probesInFlight(Link& link) {
    int32_t count = 0;
    for (auto& flag : link.probeBusy) {
        if (flag.load(std::memory_order_acquire) && ++count == kMaxProbesInFlight) break;
    }
    return count;
}

// What a probe thread is given: its own share of the link, so that it may
// outlive a link that was stopped.
struct ProbeJob {
    std::shared_ptr<Link> link;
    int32_t portNumber;
};

// Thread entry: opens the port and identifies the unit there; publishes the
// connection when one answers with a non-zero identity, else closes the
// port. Clears its probeBusy flag last, whatever happened.
void probePort(void* argument) {
    const std::unique_ptr<ProbeJob> job(static_cast<ProbeJob*>(argument));
    Link& link = *job->link;
    PortHandle port = kNoPort;
    if (openSerialPort(job->portNumber, port)) {
        const int32_t deviceId = readIdentity(port);
        if (deviceId == 0 || !publishConnection(link, port, job->portNumber, deviceId)) closeSerialPort(port);
    }
    link.probeBusy[job->portNumber - 1].store(0, std::memory_order_release);
}

void startProbe(const std::shared_ptr<Link>& link, int32_t portNumber) {
    auto& flag = link->probeBusy[portNumber - 1];
    flag.store(1, std::memory_order_release);
    auto* job = new ProbeJob{link, portNumber};
    if (!startDetachedThread(probePort, job)) {
        delete job;
        flag.store(0, std::memory_order_release);  // tried again in the next pass
    }
}

bool keepScanning(Link& link) {
    return !connectionPublished(link) && !link.stopping.load();
}

// The pass holds the fine timer resolution: the 1 ms pauses between probe
// starts are otherwise a whole scheduler tick on Windows (15.6 ms), and a
// pass over 256 absent ports would take 4 s instead of a quarter of one.
void probePass(const std::shared_ptr<Link>& link) {
    const FineSleeps fine;
    for (const int32_t portNumber : link->options.ports) {
        if (!keepScanning(*link)) return;
        if (portNumber < 1 || portNumber > kPortCount) continue;
        while (probesInFlight(*link) >= kMaxProbesInFlight) sleepMilliseconds(kThrottlePauseMs);
        if (probeBusy(*link, portNumber)) continue;  // still probing it from an earlier pass
        startProbe(link, portNumber);
        sleepMilliseconds(kProbeStartSpacingMs);
    }
}

void tellObserver(const Link& link, LinkChange change, const LinkConnection& connection) {
    if (link.options.observer) link.options.observer(change, connection);
}

}  // namespace

std::vector<int32_t> allPorts() {
    std::vector<int32_t> ports;
    for (int32_t n = 1; n <= kPortCount; ++n) ports.push_back(n);
    return ports;
}

std::shared_ptr<Link> makeLink(LinkOptions options) {
    return std::make_shared<Link>(std::move(options));
}

LinkConnection linkConnection(Link& link) {
    std::lock_guard<std::mutex> hold(link.lock);
    return link.connection;
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

bool publishConnection(Link& link, PortHandle port, int32_t portNumber, int32_t deviceId) {
    std::lock_guard<std::mutex> ordered(link.changeLock);
    LinkConnection published;
    {
        std::lock_guard<std::mutex> hold(link.lock);
        if (link.connection.portHandle != kNoPort || link.stopping.load()) return false;
        link.connection.portHandle = port;
        link.connection.portNumber = portNumber;
        link.connection.deviceId = deviceId;
        ++link.connection.publication;
        published = link.connection;
    }
    tellObserver(link, LinkChange::Published, published);
    return true;
}

// A request still waiting in the slot was made for the connection that is
// going: it fails now, unsent, instead of waiting out its time or being
// served on the next connection. Under the link's lock.
void failWaitingRequest(Link& link) {
    LinkRequest& r = link.slot;
    if (!r.pending) return;
    r.pending = false;
    r.result = 0;
    r.doneSequence = r.sequence;
    setEvent(link.doneEvent);
}

void closeConnection(Link& link) {
    std::lock_guard<std::mutex> ordered(link.changeLock);
    LinkConnection closed;
    {
        std::lock_guard<std::mutex> hold(link.lock);
        closed = link.connection;
        link.connection.portHandle = kNoPort;
        link.connection.portNumber = 0;
        link.connection.deviceId = 0;
        failWaitingRequest(link);
    }
    if (closed.portHandle == kNoPort) return;
    closeSerialPort(closed.portHandle);
    tellObserver(link, LinkChange::Closed, closed);
}

bool probeBusy(Link& link, int32_t portNumber) {
    return link.probeBusy[portNumber - 1].load(std::memory_order_acquire) != 0;
}

bool scanPorts(const std::shared_ptr<Link>& link) {
    closeConnection(*link);
    for (;;) {
        probePass(link);
        sleepMilliseconds(kAfterPassPauseMs);
        if (connectionPublished(*link)) return true;
        if (link->stopping.load()) return false;
        sleepMilliseconds(kBetweenPassesPauseMs);
        if (connectionPublished(*link)) return true;
        if (link->stopping.load()) return false;
    }
}
