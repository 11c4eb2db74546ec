// What the production bench needs from the platform: the user's request to
// stop, the terminal it draws its table on, and the local time. One file
// per platform (bench_platform_posix.cpp, bench_platform_win32.cpp).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

// Calls `stop` on a thread of its own (never inside a signal handler) each
// time the user asks to stop: Ctrl+C or Ctrl+Break in a Windows console,
// SIGINT or SIGTERM elsewhere. Call it before the bench starts any thread:
// on POSIX the signals are blocked in every thread and one thread waits for
// them. False when it could not be set up.
bool watchStopRequests(std::function<void()> stop);

// The terminal the live table is drawn on: standard error when it is one,
// else standard output when that is; null when neither is, or when it
// takes no escape sequences (TERM=dumb; a Windows console where virtual
// terminal processing cannot be switched on).
std::FILE* liveTerminal();
// Whether standard output is a terminal.
bool outputIsTerminal();
// Columns of the terminal `out` (80 when it cannot tell).
int32_t terminalColumns(std::FILE* out);

// Now as "2026-12-06T14:03:22+01:00".
std::string localTimeNow();
