// A link's worker and its request slot.
//
// The slot is a record under the link's lock plus two events: requestEvent
// (auto-reset) wakes the worker, doneEvent (manual-reset) wakes the
// submitter. Each request carries the connection it was made for and gets
// a sequence number, and the reply byte stays in the slot until the
// submitter copies it out after its own wait. So:
//   - a request for a connection that is not the link's is refused at once,
//     unsent; one waiting while its connection closes fails with the close;
//   - a request given up on before the worker took it is withdrawn, never
//     sent;
//   - a request given up on while in flight completes into a slot whose
//     sequence no longer matches (or that nobody collects), and is dropped:
//     it neither writes into the submitter's storage later nor counts as the
//     completion of the next request.
#include "link/link.h"

#include "link/frame.h"
#include "link/link_state.h"
#include "link/thread_start.h"
#include "link/transport.h"

namespace {

// After this long without a request the worker polls the unit's identity.
constexpr uint32_t kIdlePollMs = 333;

// Submitter side. doneEvent is cleared under the link's lock, and the
// worker sets it only under the same lock for the request still in the
// slot, so no completion of an older request can set it after this.
bool placeRequest(Link& link, uint32_t connection, uint8_t op, uint8_t address, uint8_t data, uint32_t& sequence) {
    std::lock_guard<std::mutex> hold(link.lock);
    const LinkConnection& now = link.connection;
    if (connection == 0 || now.portHandle == kNoPort || now.publication != connection) return false;
    LinkRequest& r = link.slot;
    r.op = op;
    r.address = address;
    r.data = data;
    r.connection = connection;
    r.result = 0;
    r.pending = true;
    resetEvent(link.doneEvent);
    sequence = ++r.sequence;
    return true;
}

bool collectResult(Link& link, uint32_t sequence, uint8_t* replyTarget) {
    std::lock_guard<std::mutex> hold(link.lock);
    LinkRequest& r = link.slot;
    if (r.doneSequence != sequence) {
        r.pending = false;  // withdrawn: if not yet taken, it is never sent
        return false;
    }
    if (r.result == 1 && replyTarget) *replyTarget = r.reply;
    return r.result == 1;
}

// Worker side.
bool takeRequest(Link& link, LinkRequest& request) {
    std::lock_guard<std::mutex> hold(link.lock);
    LinkRequest& r = link.slot;
    if (!r.pending) return false;
    r.pending = false;
    request = r;
    return true;
}

void completeRequest(Link& link, uint32_t sequence, bool ok, uint8_t reply) {
    std::lock_guard<std::mutex> hold(link.lock);
    LinkRequest& r = link.slot;
    if (r.sequence != sequence) return;  // a newer request is waiting
    r.result = ok ? 1 : 0;
    r.reply = reply;
    r.doneSequence = sequence;
    setEvent(link.doneEvent);
}

// False when the transaction failed and the link must be re-established.
// A request made for another connection than the one served is refused
// unsent (placing it checks that already; this holds it here as well).
bool serveRequest(Link& link, const LinkConnection& served) {
    LinkRequest request;
    if (!takeRequest(link, request)) return true;  // withdrawn before it was taken
    if (request.connection != served.publication) {
        completeRequest(link, request.sequence, false, 0);
        return true;
    }
    uint8_t reply = 0;
    const bool ok = transact(served.portHandle, request.op, request.address, request.data, &reply);
    completeRequest(link, request.sequence, ok, reply);
    return ok;
}

// Serves the published connection until a transaction fails, the unit's
// identity changes (unplugged, silent or exchanged) or the link stops.
void serveConnection(Link& link) {
    const LinkConnection connection = linkConnection(link);
    while (!link.stopping.load()) {
        if (waitForEvent(link.requestEvent, kIdlePollMs)) {
            if (link.stopping.load() || !serveRequest(link, connection)) return;
        } else if (readIdentity(connection.portHandle) != connection.deviceId) {
            return;
        }
    }
}

// Thread entry; the argument is the worker's own share of the link.
void runLinkWorker(void* argument) {
    const std::unique_ptr<std::shared_ptr<Link>> share(static_cast<std::shared_ptr<Link>*>(argument));
    const std::shared_ptr<Link>& link = *share;
    while (scanPorts(link)) serveConnection(*link);
    closeConnection(*link);
    setEvent(link->workerEnded);
}

}  // namespace

std::shared_ptr<Link> startLink(LinkOptions options) {
    std::shared_ptr<Link> link = makeLink(std::move(options));
    auto* share = new std::shared_ptr<Link>(link);
    if (!startDetachedThread(runLinkWorker, share)) {
        delete share;
        return nullptr;
    }
    return link;
}

void stopLink(Link& link) {
    link.stopping.store(true);
    setEvent(link.requestEvent);
    waitForEvent(link.workerEnded, UINT32_MAX);
}

LinkSession currentSession(Link& link, LinkConnection* connection) {
    const LinkConnection now = linkConnection(link);
    if (connection) *connection = now;
    return LinkSession{&link, now.portNumber != 0 ? now.publication : 0};
}

bool submitRequest(const LinkSession& session, uint8_t op, uint8_t address, uint8_t data, uint8_t* replyTarget) {
    if (!session.link) return false;
    Link& link = *session.link;
    uint32_t sequence = 0;
    if (!placeRequest(link, session.connection, op, address, data, sequence)) return false;
    setEvent(link.requestEvent);
    waitForEvent(link.doneEvent, kRequestWaitMs);
    return collectResult(link, sequence, replyTarget);
}
