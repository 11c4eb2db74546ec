// The link worker and the request slot.
//
// The slot is a record behind a mutex plus two events: requestEvent
// (auto-reset) wakes the worker, doneEvent (manual-reset) wakes the
// submitter. Each request gets a sequence number, and the reply byte stays
// in the slot until the submitter copies it out after its own wait. So a
// request the submitter gave up on can neither write into the submitter's
// storage later nor be taken for the completion of the next request:
//   - given up before the worker took it: withdrawn, never sent;
//   - given up while in flight: its completion no longer matches the slot's
//     sequence (or nobody collects it) and is dropped.
#include "link/link.h"

#include "link/frame.h"
#include "link/sync_event.h"
#include "link/transport.h"

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// After this long without a request the worker polls the unit's identity.
constexpr uint32_t kIdlePollMs = 333;

struct LinkRequest {
    uint8_t op = 0;
    uint8_t address = 0;
    uint8_t data = 0;
    bool pending = false;       // placed and not yet taken by the worker
    uint32_t sequence = 0;      // number of the latest request placed
    uint32_t doneSequence = 0;  // the request that `result` and `reply` belong to
    uint8_t result = 0;         // 1 when that request's transaction succeeded
    uint8_t reply = 0;          // that request's reply data byte
};

// Never destroyed: the worker runs until the process ends.
struct WorkerState {
    std::mutex slotLock;
    LinkRequest slot;  // guarded by slotLock
    SyncEvent requestEvent{false};
    SyncEvent doneEvent{true};
    std::atomic<bool> started{false};
};

WorkerState& worker() {
    static WorkerState* state = new WorkerState;
    return *state;
}

// Submitter side. doneEvent is cleared under the slot lock, and the worker
// sets it only under the same lock for the request still in the slot, so no
// completion of an older request can set it after this.
uint32_t placeRequest(uint8_t op, uint8_t address, uint8_t data) {
    WorkerState& w = worker();
    std::lock_guard<std::mutex> hold(w.slotLock);
    LinkRequest& r = w.slot;
    r.op = op;
    r.address = address;
    r.data = data;
    r.result = 0;
    r.pending = true;
    resetEvent(w.doneEvent);
    return ++r.sequence;
}

bool collectResult(uint32_t sequence, uint8_t* replyTarget) {
    WorkerState& w = worker();
    std::lock_guard<std::mutex> hold(w.slotLock);
    LinkRequest& r = w.slot;
    if (r.doneSequence != sequence) {
        r.pending = false;  // withdrawn: if not yet taken, it is never sent
        return false;
    }
    if (r.result == 1 && replyTarget) *replyTarget = r.reply;
    return r.result == 1;
}

// Worker side.
bool takeRequest(LinkFrame& request, uint32_t& sequence) {
    WorkerState& w = worker();
    std::lock_guard<std::mutex> hold(w.slotLock);
    LinkRequest& r = w.slot;
    if (!r.pending) return false;
    r.pending = false;
    request.op = r.op;
    request.address = r.address;
    request.data = r.data;
    sequence = r.sequence;
    return true;
}

void completeRequest(uint32_t sequence, bool ok, uint8_t reply) {
    WorkerState& w = worker();
    std::lock_guard<std::mutex> hold(w.slotLock);
    LinkRequest& r = w.slot;
    if (r.sequence != sequence) return;  // a newer request is waiting
    r.result = ok ? 1 : 0;
    r.reply = reply;
    r.doneSequence = sequence;
    setEvent(w.doneEvent);
}

// False when the transaction failed and the link must be re-established.
bool serveRequest(PortHandle port) {
    LinkFrame request;
    uint32_t sequence = 0;
    if (!takeRequest(request, sequence)) return true;  // withdrawn before it was taken
    uint8_t reply = 0;
    const bool ok = transact(port, request.op, request.address, request.data, &reply);
    completeRequest(sequence, ok, reply);
    return ok;
}

// Serves the published connection until a transaction fails or the unit's
// identity changes (unplugged, silent or exchanged).
void serveConnection() {
    const LinkConnection connection = linkConnection();
    for (;;) {
        if (waitForEvent(worker().requestEvent, kIdlePollMs)) {
            if (!serveRequest(connection.portHandle)) return;
        } else if (readIdentity(connection.portHandle) != connection.deviceId) {
            return;
        }
    }
}

void runLinkWorker() {
    for (;;) {
        scanPorts();
        serveConnection();
    }
}

}  // namespace

bool startLinkWorker() {
    WorkerState& w = worker();
    if (w.started.exchange(true)) return true;
    try {
        std::thread(runLinkWorker).detach();
    } catch (const std::system_error&) {
        w.started.store(false);
        return false;
    }
    return true;
}

bool submitRequest(uint8_t op, uint8_t address, uint8_t data, uint8_t* replyTarget) {
    WorkerState& w = worker();
    const uint32_t sequence = placeRequest(op, address, data);
    setEvent(w.requestEvent);
    waitForEvent(w.doneEvent, kRequestWaitMs);
    return collectResult(sequence, replyTarget);
}
