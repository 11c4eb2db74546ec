// Below the request slot: single transactions on a port, the probe of one
// port, and the scan that finds the unit on one link's ports. Used by the
// link worker and the probe threads (and by tests); the link's users use
// link.h.
#pragma once

#include "link/link.h"
#include "link/serial.h"

#include <cstdint>
#include <memory>

// A transaction waits this long for its reply, counted from the request.
constexpr uint32_t kReplyDeadlineMs = 5000;

constexpr int32_t kMaxProbesInFlight = 20;
constexpr uint32_t kProbeStartSpacingMs = 1;  // between two probe starts
constexpr uint32_t kThrottlePauseMs = 100;    // while 20 probes run
constexpr uint32_t kAfterPassPauseMs = 100;
constexpr uint32_t kBetweenPassesPauseMs = 1000;

// One request frame out, one reply frame back. On success stores the reply's
// data byte into `replyTarget` (when given). Fails at once when the port
// fails or the unit refuses (FE), otherwise when no acceptable reply has
// come kReplyDeadlineMs after the request.
bool transact(PortHandle port, uint8_t op, uint8_t address, uint8_t data, uint8_t* replyTarget);

// The identity of the unit on `port` (registers 254 * 256 + 253), 0 when
// either read fails.
int32_t readIdentity(PortHandle port);

// A link without its worker: the tests drive its scan themselves.
std::shared_ptr<Link> makeLink(LinkOptions options);

// Closes the link's connection, then probes its ports, pass after pass,
// until a probe publishes a unit: true then. False, with nothing
// published, once the link is stopping. The link's worker only.
bool scanPorts(const std::shared_ptr<Link>& link);

// Publishes a connection unless one is already published (another probe was
// first) or the link is stopping: false then, and the caller still owns
// `port`. Tells the observer.
bool publishConnection(Link& link, PortHandle port, int32_t portNumber, int32_t deviceId);
// Clears the connection, fails the request waiting in the slot for it,
// closes its port and tells the observer; nothing when there is none.
void closeConnection(Link& link);

// Whether a probe of port `portNumber` is still running.
bool probeBusy(Link& link, int32_t portNumber);
