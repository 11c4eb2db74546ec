// What one link holds: its connection, its request slot, its events and its
// probe flags. Inside link/ only (and its tests); users reach a link
// through link.h.
//
// Ownership: the user's std::shared_ptr, the worker's and each running
// probe's share the link, so a probe that outlives a stopped link still
// finds it.
#pragma once

#include "link/link.h"
#include "link/sync_event.h"

#include <atomic>
#include <mutex>

struct LinkRequest {
    uint8_t op = 0;
    uint8_t address = 0;
    uint8_t data = 0;
    uint32_t connection = 0;    // the publication the request was made for
    bool pending = false;       // placed and not yet taken by the worker
    uint32_t sequence = 0;      // number of the latest request placed
    uint32_t doneSequence = 0;  // the request that `result` and `reply` belong to
    uint8_t result = 0;         // 1 when that request's transaction succeeded
    uint8_t reply = 0;          // that request's reply data byte
};

struct Link {
    explicit Link(LinkOptions given) : options(std::move(given)) {
        for (auto& flag : probeBusy) flag.store(0);
    }
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    const LinkOptions options;

    // Guards the connection and the slot together: a request is placed only
    // for the connection that is there, and closing the connection fails
    // the request waiting for it in the same step.
    std::mutex lock;
    LinkConnection connection;
    LinkRequest slot;

    // Held across a publication or a closing and its notification, so the
    // observer hears of them in the order they happened. Taken before `lock`.
    std::mutex changeLock;

    SyncEvent requestEvent{false};  // auto-reset: wakes the worker
    SyncEvent doneEvent{true};      // manual-reset: wakes the submitter
    SyncEvent workerEnded{true};    // set once the worker has ended
    std::atomic<bool> stopping{false};

    // Index portNumber - 1: set by the scan before it starts a probe of that
    // port, cleared by the probe as its last step.
    std::atomic<uint8_t> probeBusy[kPortCount];
};
