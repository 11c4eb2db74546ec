// Below the request slot: single transactions on a port, the probe of one
// port, and the scan that finds the unit. Used by the link worker and the
// probe threads (and by tests); the user-interface thread uses link.h.
#pragma once

#include "link/link.h"
#include "link/serial.h"

#include <cstdint>

// A transaction waits this long for its reply, counted from the request.
constexpr uint32_t kReplyDeadlineMs = 5000;

constexpr int32_t kPortCount = 256;           // COM1..COM256
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

// Thread entry: opens port portIndex + 1 and identifies the unit there;
// publishes the connection when one answers with a non-zero identity, else
// closes the port. Clears its probeBusy flag last, whatever happened.
void probePort(int32_t portIndex);

// Closes the connection, then probes all ports, pass after pass, until a
// probe publishes a unit. Link worker only.
void scanPorts();

// Publishes a connection unless one is already published (another probe was
// first): false then, and the caller still owns `port`.
bool publishConnection(PortHandle port, int32_t portNumber, int32_t deviceId);
// Clears the connection and closes its port, if any.
void closeConnection();

// Whether a probe of port portIndex + 1 is still running.
bool probeBusy(int32_t portIndex);
