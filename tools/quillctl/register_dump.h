// A register dump: every register 0..252 of a unit as plain text, digit
// fields included, with the unit's identity and the time of the dump. The
// configuration files carry the choices only; a dump is the complete copy.
#pragma once

#include <cstdint>
#include <string>

// Registers 0..252: everything below the identity (253, 254).
constexpr int32_t kDumpRegisters = 253;
// Dumps are a few KB; a larger file is refused unread.
constexpr size_t kMaxDumpFileBytes = 64 * 1024;

struct RegisterDump {
    int32_t identity = 0;  // register 254 * 256 + register 253
    std::string time;      // as written, for the reader; not checked
    uint8_t values[kDumpRegisters] = {};
};

// The dump as text, every line ending in a line feed.
std::string composeRegisterDump(const RegisterDump& dump);

// Reads a whole dump. False with a one-line `reason` (naming the line) when
// the header is missing or wrong, a line is not "ADDR VALUE", a register is
// out of 0..252 or given twice, a value is over 255, or a register is
// missing: nothing of a bad dump may reach a unit.
bool parseRegisterDump(const std::string& text, RegisterDump& dump, std::string& reason);
