// The device link as its users see it: a link is an object over the ports
// it may use (the program: COM1..COM256; a production bench: one port
// each). Each link has its own worker, request slot, connection and
// notifications; several run side by side and share nothing.
//
// Threads of one link:
//   its user               makes the link, then places requests, one at a
//                          time (one submitter per link)
//   its worker             owns the connected port: scans for the unit,
//                          serves one request at a time, and after 333 ms
//                          without a request polls the unit's identity; any
//                          failed transaction or changed identity makes it
//                          close the port and scan again
//   probe threads          short-lived, started by the scan, one per port
//
// A request belongs to a connection. A command takes the connection that
// is there when it begins (a LinkSession) and every request it makes is
// for that connection only: once the link has closed it, the link refuses
// such a request at once and sends nothing, also one that was waiting in
// the slot while the connection closed. So no command that began on one
// connection ever reaches the unit the link finds next.
//
// Requests wait at most 5000 ms each. Nothing here pumps window messages:
// the window's progress step is called by the user between requests, never
// inside one, so a command nested in that dispatch finds the slot free. The
// multi-request operations below never call back between their own
// requests: a register is never left written but unverified while another
// command runs.
#pragma once

#include "link/serial.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

constexpr int32_t kPortCount = 256;  // COM1..COM256

// The connection state of one link, read as a copy.
struct LinkConnection {
    PortHandle portHandle = kNoPort;  // used only by the link's worker
    int32_t portNumber = 0;           // COM port 1..256 of the unit, 0 = none
    int32_t deviceId = 0;             // register 254 * 256 + register 253, 0 = none
    // Connections this link has published, this one included: the number of
    // the connection while there is one, of the last one after it closed.
    uint32_t publication = 0;
};

enum class LinkChange {
    Published,  // a unit was found: the connection given is the new one
    Closed,     // the link gave the connection up: the connection given is the one gone
};

// Told of every connection published or closed, in the order they happen,
// on one of the link's own threads (never the user's). It must return
// promptly and must not wait for the link (a window posts itself a message).
using LinkObserver = std::function<void(LinkChange change, const LinkConnection& connection)>;

struct LinkOptions {
    std::vector<int32_t> ports;  // the port numbers 1..256 it may use, probed in this order
    LinkObserver observer;       // may be empty
};

// COM1..COM256, the program's ports.
std::vector<int32_t> allPorts();

// One link: its worker, request slot, connection and probes (link_state.h).
struct Link;

// Longest wait of the submitter for one request.
constexpr uint32_t kRequestWaitMs = 5000;

// Makes a link and starts its worker, which begins with a scan of the
// link's ports. Null when the worker could not be started. The link runs
// until stopLink or the end of the process.
std::shared_ptr<Link> startLink(LinkOptions options);

// Ends the worker: a transaction under way finishes first (at most its
// 5000 ms), the connection is closed (the observer hears of it) and every
// request is refused from then on. Probes still running end by themselves
// and publish nothing. Returns when the worker has ended.
void stopLink(Link& link);

// A consistent snapshot: the port number and identity always belong to the
// same connection (or are both 0). Any thread.
LinkConnection linkConnection(Link& link);

// The version text of the connected unit ("1.05" for 105), empty when no
// unit is connected.
std::string formatDeviceVersion(const LinkConnection& connection);

// Where a command's requests go: a link and the connection it began on.
struct LinkSession {
    Link* link = nullptr;
    uint32_t connection = 0;  // LinkConnection::publication; 0: none, every request refused
};

// A session on the connection the link holds now (connection 0 when none),
// and that connection in `connection` when given.
LinkSession currentSession(Link& link, LinkConnection* connection = nullptr);

// One register request through the slot: op 0 read, 64 choice count, 128
// write. On success the reply's data byte is stored into `replyTarget` (when
// given). Fails at once, unsent, when the session's connection is not (or
// no longer) the link's; after kRequestWaitMs without an answer; and at
// once on a refusal (after which the worker scans again). A request given
// up on is withdrawn: if the worker has not taken it yet it is never sent,
// and a late answer is dropped, never stored into `replyTarget` or taken
// for the answer of a later request.
bool submitRequest(const LinkSession& session, uint8_t op, uint8_t address, uint8_t data, uint8_t* replyTarget);

// Writes `value` and confirms it by reading the register back.
bool writeVerified(const LinkSession& session, uint8_t address, uint8_t value);

// A digit-string field of `length` registers from `base` (up to length - 1
// characters, NUL-terminated). The read stops at the first 0 byte and does
// not read the last register; on failure `text` holds what was read so far.
// The write rewrites the whole field, each register verified, and stops
// before the first non-digit character of `text` (positions before it are
// written). Characters beyond length - 1 are ignored. Both fail without a
// request when the field would run past register 255.
bool readDigitString(const LinkSession& session, int32_t base, int32_t length, std::string& text);
bool writeDigitString(const LinkSession& session, int32_t base, const std::string& text, int32_t length);

// Register 252 as two digit characters ("59" for 0x59), and back: "" writes
// 0x00, "7" writes 0x70; a non-digit among the first two characters fails
// before anything is sent.
bool readBcdPair(const LinkSession& session, std::string& text);
bool writeBcdPair(const LinkSession& session, const std::string& text);
