// The serial port on Windows: "\\.\COMn" opened for synchronous I/O with
// share mode 0, so a port that another program holds cannot be opened.
#include "link/serial.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HANDLE handleOf(PortHandle port) {
    return reinterpret_cast<HANDLE>(port);
}

// Only the fields of the line settings change; flow-control details such as
// fOutX, fInX and the XON/XOFF characters keep what the port reported.
void fillLineSettings(DCB& dcb) {
    dcb.BaudRate = kLineBaudRate;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = 1;
    dcb.fParity = 0;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = 0;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fAbortOnError = 0;
}

void applyTimeouts(HANDLE h) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadIntervalTimeoutMs;
    timeouts.ReadTotalTimeoutMultiplier = kReadTotalTimeoutMultiplierMs;
    timeouts.ReadTotalTimeoutConstant = kReadTotalTimeoutConstantMs;
    timeouts.WriteTotalTimeoutMultiplier = kWriteTotalTimeoutMultiplierMs;
    timeouts.WriteTotalTimeoutConstant = kWriteTotalTimeoutConstantMs;
    SetCommTimeouts(h, &timeouts);  // a port that rejects them still works, slower
}

}  // namespace

void setSerialPortsFolder(const std::string&) {}

std::string serialPortName(int32_t portNumber) {
    char name[30];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", static_cast<int>(portNumber));
    return name;
}

bool openSerialPort(int32_t portNumber, PortHandle& port) {
    const std::string name = serialPortName(portNumber);
    HANDLE h = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DCB dcb;
    std::memset(&dcb, 0, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    GetCommState(h, &dcb);  // on failure the zeroed record is used
    fillLineSettings(dcb);
    if (!SetCommState(h, &dcb)) {
        CloseHandle(h);
        return false;
    }
    applyTimeouts(h);
    port = reinterpret_cast<PortHandle>(h);
    return true;
}

void closeSerialPort(PortHandle port) {
    CloseHandle(handleOf(port));
}

void purgeSerialPort(PortHandle port) {
    PurgeComm(handleOf(port), PURGE_TXCLEAR | PURGE_RXCLEAR);
}

bool writeSerialPort(PortHandle port, const uint8_t* bytes, size_t count) {
    DWORD written = 0;
    return WriteFile(handleOf(port), bytes, static_cast<DWORD>(count), &written, nullptr) != 0;
}

void flushSerialPort(PortHandle port) {
    FlushFileBuffers(handleOf(port));
}

bool readSerialPort(PortHandle port, uint8_t* bytes, size_t capacity, size_t& received) {
    DWORD got = 0;
    const bool ok = ReadFile(handleOf(port), bytes, static_cast<DWORD>(capacity), &got, nullptr) != 0;
    received = ok ? got : 0;
    return ok;
}
