// The production bench while it runs: its labels, its ports with their
// links, what the table shows and the events not yet printed.
//
// Threads:
//   main          starts a link and a thread per port, shows the table or
//                 prints the events, ends when every port thread has ended
//   port threads  one per port: takes each unit that comes, works on it,
//                 writes its receipt (bench_port.cpp)
//   link threads  each link's observer tells its port of a unit found or
//                 lost
//   stop thread   the user's Ctrl+C sets `stopping` (bench_platform.h)
// Fields marked "lock" are guarded by `lock`; waits are on `changed`. No
// thread holds `lock` while it talks to a unit or calls into a link, so an
// observer never waits for a port that waits for its link.
#pragma once

#include "tools/quillctl/bench_board.h"
#include "tools/quillctl/bench_rules.h"
#include "tools/quillctl/quillctl.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

enum class LabelState { Open, Busy, Programmed };

constexpr int64_t kNeverMs = std::numeric_limits<int64_t>::min() / 2;

struct BenchPort {
    int32_t number = 0;
    std::shared_ptr<Link> link;
    // lock; set by the link's observer.
    uint32_t connection = 0;      // the unit's connection now, 0: no unit
    int64_t closedMs = kNeverMs;  // when the link last lost a unit here
    int64_t publishedMs = 0;      // when it found the one it has now
    // lock; the port thread's.
    uint32_t taken = 0;      // the connection last taken up
    int64_t busySinceMs = 0; // 0: no unit being worked on
    int32_t unitsDone = 0;   // units with a receipt from this port
    bool running = true;     // the port thread has not ended
    bool ending = false;     // the port is done: its link is being stopped
    PortLine line;
    PortLine result;         // the line of the last unit done, kept while
                             // the same unit is checked again
    // The port thread's own: what the last unit was left holding.
    UnitMemory memory;
};

struct Bench {
    explicit Bench(Plan& given) : plan(given) {}
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    Plan& plan;
    std::mutex storeLock;     // plan.store: making a unit's form selects its variant
    std::mutex receiptsLock;  // one append at a time
    std::atomic<bool> stopping{false};
    int64_t startMs = 0;

    std::mutex lock;
    std::condition_variable changed;    // with `generation`: something to show or to do
    uint64_t generation = 0;            // lock; counts the changes
    std::vector<LabelState> labels;     // lock; in list order
    std::deque<BenchPort> ports;        // the records stay where they are
    std::vector<std::string> events;    // lock; lines not yet printed
    BenchTally tally;                   // lock; programmed and failed by this run
    bool stopAsked = false;             // lock; the user asked to stop
    std::string fatal;                  // lock; a receipt that could not be written
};

// Under the lock: a change every waiting thread may want to see.
void markChanged(Bench& bench);

// Steady milliseconds.
int64_t benchMs();

// Told of the port's units found and lost (on the link's threads).
LinkObserver portObserver(Bench& bench, BenchPort& port);
// The port thread: takes units until the bench is done or stopped.
void runPort(Bench& bench, BenchPort& port);
// Under the lock: whether every label is programmed.
bool listDone(const Bench& bench);
