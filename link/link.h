// The device link as the rest of the program uses it.
//
// Threads:
//   user-interface thread  startLinkWorker once, then the blocking requests
//                          below; it is the only submitter (one request at a
//                          time), and it learns about the connection only by
//                          reading linkConnection()
//   link worker            owns the connected port: scans for the unit,
//                          serves one request at a time, and after 333 ms
//                          without a request polls the unit's identity; any
//                          failed transaction or changed identity makes it
//                          close the port and scan again
//   probe threads          short-lived, started by the scan, one per port
//
// Requests wait at most 5000 ms each. Nothing here pumps window messages:
// the window's progress step (advance the bar, dispatch pending messages) is
// called by the user-interface code between requests, never inside one, so
// a command nested in that dispatch finds the request slot free. The
// multi-request operations below never dispatch messages between their own
// requests: a register is never left written but unverified while another
// command runs.
#pragma once

#include "link/serial.h"

#include <cstdint>
#include <string>

// The connection state; one instance inside the link, read as a copy.
struct LinkConnection {
    PortHandle portHandle = kNoPort;  // used only by the link worker
    int32_t portNumber = 0;           // COM port 1..256 of the unit, 0 = none
    int32_t deviceId = 0;             // register 254 * 256 + register 253, 0 = none
    uint32_t publication = 0;         // connections published since start-up
};

// Longest wait of the submitter for one request.
constexpr uint32_t kRequestWaitMs = 5000;

// A consistent snapshot: the port number and identity always belong to the
// same connection (or are both 0). Any thread.
LinkConnection linkConnection();

// The version text of the connected unit ("1.05" for 105), empty when no
// unit is connected.
std::string formatDeviceVersion(const LinkConnection& connection);

// Starts the link worker, which begins with a scan of all ports. Further
// calls do nothing. The worker is never stopped; it ends with the process.
// False only when the thread could not be started.
bool startLinkWorker();

// One register request through the slot: op 0 read, 64 choice count, 128
// write. On success the reply's data byte is stored into `replyTarget` (when
// given). Fails after kRequestWaitMs without an answer, and at once on a
// refusal (after which the worker scans again). A request given up on is
// withdrawn: if the worker has not taken it yet it is never sent, and a late
// answer is dropped, never stored into `replyTarget` or taken for the answer
// of a later request.
bool submitRequest(uint8_t op, uint8_t address, uint8_t data, uint8_t* replyTarget);

// Writes `value` and confirms it by reading the register back.
bool writeVerified(uint8_t address, uint8_t value);

// A digit-string field of `length` registers from `base` (up to length - 1
// characters, NUL-terminated). The read stops at the first 0 byte and does
// not read the last register; on failure `text` holds what was read so far.
// The write rewrites the whole field, each register verified, and stops
// before the first non-digit character of `text` (positions before it are
// written). Characters beyond length - 1 are ignored. Both fail without a
// request when the field would run past register 255.
bool readDigitString(int32_t base, int32_t length, std::string& text);
bool writeDigitString(int32_t base, const std::string& text, int32_t length);

// Register 252 as two digit characters ("59" for 0x59), and back: "" writes
// 0x00, "7" writes 0x70; a non-digit among the first two characters fails
// before anything is sent.
bool readBcdPair(std::string& text);
bool writeBcdPair(const std::string& text);
