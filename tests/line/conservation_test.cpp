// Whatever the line brings, every byte read is handed off exactly once and in order, and the
// pending buffer never holds more than 16 bytes: seeded random streams of valid exchanges,
// damaged ones, noise and the echoes of emulated answers, at random gaps. On a hostile line
// (echoes late, cut, spaced, corrupted or missing) no address gets more emulated answers than
// the master sent it requests.
#include <gtest/gtest.h>
#include <random>

#include "line/LineEngine.h"
#include "support/HostileLine.h"

class HostileLine : public ::testing::TestWithParam<bool> {};

TEST_P(HostileLine, AnswersNeverOutnumberRequestsAndEveryByteIsHandedOffOnce)
{
    int answers = 0, requests = 0, worst = -1000;
    std::size_t bytes = 0;
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        std::mt19937 rng(seed);
        const THostileOutcome out = RunHostileLine([&rng](std::uint32_t n) { return rng() % n; }, GetParam());
        ASSERT_TRUE(out.Settled) << "seed " << seed;
        ASSERT_LE(out.WorstExcess(), 0) << "seed " << seed;
        ASSERT_EQ(out.HandedOff, out.Read) << "seed " << seed;
        ASSERT_LE(out.MaxPending, PendingLimit) << "seed " << seed;
        ASSERT_TRUE(out.Consistent) << "seed " << seed;
        for (int a = 0; a < 64; ++a)
            answers += out.Answers[a], requests += out.Requests[a];
        worst = std::max(worst, out.WorstExcess());
        bytes += out.Read.size();
    }
    std::printf("hostile line, echo known %d: %d answers to %d requests, worst excess %d, %zu bytes\n", GetParam(),
                answers, requests, worst, bytes);
    EXPECT_GT(answers, 2000);
    EXPECT_GT(bytes, 2000u * 100);
}

INSTANTIATE_TEST_SUITE_P(BothEchoStartStates, HostileLine, ::testing::Bool());
