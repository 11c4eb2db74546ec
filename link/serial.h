// The serial port as the link sees it: open one port with the unit's line
// settings, and five blocking calls. Two backends: serial_win32.cpp (COMn)
// and serial_posix.cpp (a terminal device in a ports folder).
//
// Line: 9600 baud, 8 data bits, no parity, 1 stop bit, no handshake, DTR and
// RTS off. Time-outs (ms) as the Windows COMMTIMEOUTS give them: a read of
// n bytes returns after at most 10 + 5 n ms of silence with what it has, or
// 100 ms after the last byte received; a write of n bytes gives up after
// 100 + 5 n ms (a write cut short that way is not a failure).
//
// Threading: a port is used by one thread at a time (a probe until it
// publishes the port, then the link worker).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// HANDLE on Windows, file descriptor on POSIX; kNoPort is the platform's
// invalid value (INVALID_HANDLE_VALUE, -1).
using PortHandle = intptr_t;
constexpr PortHandle kNoPort = -1;

constexpr uint32_t kLineBaudRate = 9600;
constexpr uint32_t kReadIntervalTimeoutMs = 100;
constexpr uint32_t kReadTotalTimeoutMultiplierMs = 5;
constexpr uint32_t kReadTotalTimeoutConstantMs = 10;
constexpr uint32_t kWriteTotalTimeoutMultiplierMs = 5;
constexpr uint32_t kWriteTotalTimeoutConstantMs = 100;

// Opens port 1..256 exclusively and applies the line settings. False when
// the port is absent, held by another program, or refuses the settings.
bool openSerialPort(int32_t portNumber, PortHandle& port);
void closeSerialPort(PortHandle port);
// Discards what is pending in both directions.
void purgeSerialPort(PortHandle port);
// False only when the write call itself fails.
bool writeSerialPort(PortHandle port, const uint8_t* bytes, size_t count);
// Waits until the written bytes have left.
void flushSerialPort(PortHandle port);
// Reads up to `capacity` bytes within the read time-outs; `received` may be
// 0. False when the read call fails (port gone).
bool readSerialPort(PortHandle port, uint8_t* bytes, size_t capacity, size_t& received);

// POSIX only: port n is the terminal device "<folder>/comN" (lower case),
// the convention of a Wine prefix's dosdevices folder. The folder is
// $QUILL_PORTS when set, else kDefaultPortsFolder, until set here. Set it
// before the link worker starts; the Windows build ignores it.
constexpr const char* kDefaultPortsFolder = "/tmp/quill-ports";
void setSerialPortsFolder(const std::string& folder);
// The device name of a port: "\\.\COMn" on Windows, "<folder>/comn" on POSIX.
std::string serialPortName(int32_t portNumber);
