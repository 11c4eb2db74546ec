// The link's cases bound to the 5000 ms limits: a request waiting while its
// connection is lost, answers that come after the submitter gave up, a
// unit gone silent and back.
#include "link/frame.h"
#include "tests/link/worker_fixture.h"


namespace {

// One bad reply to the idle poll: the worker waits out its 5000 ms deadline,
// then closes the connection and finds the unit again. A write placed
// meanwhile was made for the connection that went: it fails with the close,
// and nothing of it reaches the unit on the new connection.
TEST_F(WorkerTest, ARequestWaitingWhileItsConnectionIsLostIsNeverSentOnTheNext) {
    ASSERT_TRUE(useUnit({}, "register 7 5\n"));
    const LinkConnection before = connection();
    const LinkSession s = session();
    takeNotifications();
    signalSim(sim, SIGALRM);  // the next reply carries a wrong checksum
    sleepMs(1500);            // the idle poll has met it and waits out its deadline
    uint8_t target = 0x77;
    const int64_t began = nowMs();
    EXPECT_FALSE(submitRequest(s, kOpWrite, 7, 99, &target));
    EXPECT_LT(nowMs() - began, 4500) << "refused when the connection closed, not at the submitter's limit";
    ASSERT_TRUE(awaitConnection([&](const LinkConnection& c) { return c.portNumber == before.portNumber; }, 5000));
    const std::vector<Notification> expected = {{LinkChange::Closed, before.publication, before.portNumber},
                                                {LinkChange::Published, before.publication + 1, before.portNumber}};
    EXPECT_EQ(takeNotifications(), expected);
    uint8_t value = 0;
    EXPECT_FALSE(submitRequest(s, kOpRead, 7, 0, &value)) << "the old session stays refused";
    ASSERT_TRUE(submitRequest(session(), kOpRead, 7, 0, &value));
    EXPECT_EQ(value, 5);
    EXPECT_EQ(countRequests(sim, kOpWrite, 7), 0);
    EXPECT_EQ(target, 0x77);
    // Without a unit a session has no connection: refused at once.
    ASSERT_TRUE(useNoUnit());
    const int64_t alone = nowMs();
    EXPECT_FALSE(submitRequest(session(), kOpRead, 7, 0, &value));
    EXPECT_LT(nowMs() - alone, 100);
}

// Timeline with 2000 ms per reply (the identity poll takes 4000 ms):
//   0      A served                     2000  A done
//   2333   poll starts                  2833  B placed (worker busy)
//   6333   poll done, B taken           7833  submitter gives up on B
//   8333   B's answer comes, dropped    7833  C placed, taken at 8333
//   10333  C's answer comes (within C's 5000 ms)
TEST_F(WorkerTest, AnAnswerAfterTheSubmitterGaveUpIsNeverTakenForTheNextOne) {
    ASSERT_TRUE(useUnit({"--latency", "2000"}, "register 20 21\nregister 30 31\nregister 40 41\n", 20000));
    const LinkSession s = session();
    uint8_t a = 0, b = 0x77, c = 0x77;
    ASSERT_TRUE(submitRequest(s, kOpRead, 20, 0, &a));
    EXPECT_EQ(a, 21);
    sleepMs(833);
    EXPECT_FALSE(submitRequest(s, kOpRead, 30, 0, &b));
    EXPECT_TRUE(submitRequest(s, kOpRead, 40, 0, &c));
    EXPECT_EQ(c, 41) << "C got another request's answer";
    sleepMs(100);
    EXPECT_EQ(b, 0x77) << "B's late answer was written into the given-up storage";
    EXPECT_EQ(countRequests(sim, kOpRead, 30), 1) << "B was sent (taken before the give-up)";
}

TEST_F(WorkerTest, ASilentUnitIsDroppedAndFoundAgain) {
    ASSERT_TRUE(useUnit({}));
    const int32_t port = connection().portNumber;
    signalSim(sim, SIGUSR1);  // cable pulled: the port stays, the line goes quiet
    const int64_t began = nowMs();
    EXPECT_TRUE(awaitConnection([](const LinkConnection& c) { return c.portNumber == 0; }, 9000));
    EXPECT_LE(nowMs() - began, 7000) << "at most 333 ms to the next poll plus its 5000 ms";
    signalSim(sim, SIGUSR1);
    EXPECT_TRUE(awaitConnection([&](const LinkConnection& c) { return c.portNumber == port; }, 15000));
}

}  // namespace
