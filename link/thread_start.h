// Threads that nobody joins: the probes of a port scan and a link's worker.
#pragma once

// Starts `entry(argument)` on a thread of its own that ends by itself: no
// handle is kept and nobody joins it. False when no thread could be started
// (`argument` is then still the caller's).
// Windows starts it with the system's own thread start (CreateThread): a
// scan starts and ends hundreds of probe threads a second, and the threads
// of the C++ runtime's MinGW build now and then start one with another
// thread's recycled start record (the probe runs with a null argument and
// the program crashes).
bool startDetachedThread(void (*entry)(void*), void* argument);
