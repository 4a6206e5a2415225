// Whatever the line brings, every byte read is handed off exactly once and in order, and the
// pending buffer never holds more than 16 bytes: seeded random streams of valid exchanges,
// damaged ones, noise and the echoes of emulated answers, at random gaps. On a hostile line
// (echoes late, cut, spaced, corrupted or missing) no address gets more emulated answers than
// the master sent it requests, also while the main thread is slow to run each step.
#include <gtest/gtest.h>
#include <random>
#include <tuple>

#include "line/LineEngine.h"
#include "support/HostileLine.h"

struct MainThreadCase {
    const char* name;
    THostileSetup setup;
    unsigned seeds;
};

class HostileLine : public ::testing::TestWithParam<std::tuple<bool, MainThreadCase>> {};

TEST_P(HostileLine, AnswersNeverOutnumberRequestsAndEveryByteIsHandedOffOnce)
{
    THostileSetup setup = std::get<1>(GetParam()).setup;
    setup.LineEchoes = std::get<0>(GetParam());
    const unsigned seeds = std::get<1>(GetParam()).seeds;
    int answers = 0, requests = 0, worst = -1000, overAnswered = 0;
    std::size_t bytes = 0;
    unsigned firstBroken = 0;   // the first seed that breaks an invariant
    for (unsigned seed = 1; seed <= seeds; ++seed) {
        std::mt19937 rng(seed);
        const THostileOutcome out = RunHostileLine([&rng](std::uint32_t n) { return rng() % n; }, setup);
        const bool kept = out.Settled && out.WorstExcess() <= 0 && out.HandedOff == out.Read &&
                          out.MaxPending <= PendingLimit && out.Consistent;
        if (!kept && firstBroken == 0)
            firstBroken = seed;
        for (int a = 0; a < 64; ++a)
            answers += out.Answers[a], requests += out.Requests[a];
        worst = std::max(worst, out.WorstExcess());
        overAnswered += out.WorstExcess() > 0;
        bytes += out.Read.size();
    }
    std::printf("hostile line, %s, echo known %d: %d answers to %d requests, %d of %u runs over-answered, "
                "worst excess %d, %zu bytes\n",
                std::get<1>(GetParam()).name, setup.LineEchoes, answers, requests, overAnswered, seeds, worst, bytes);
    EXPECT_EQ(firstBroken, 0u) << "the first seed that breaks an invariant";
    EXPECT_GT(answers, static_cast<int>(seeds / 2));
    EXPECT_GT(bytes, seeds * 50u);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(BothEchoStartStates, HostileLine, ::testing::Combine(::testing::Bool(), ::testing::Values(
    MainThreadCase{"Prompt", {}, 2000},
    MainThreadCase{"Steps5ms", {false, true, 5, false}, 300},
    MainThreadCase{"Steps10ms", {false, true, 10, false}, 300},
    MainThreadCase{"Steps25ms", {false, true, 25, false}, 300},
    MainThreadCase{"Stalls", {false, true, 0, true}, 600})),
    [](const auto& info) { return std::string(std::get<1>(info.param).name) + (std::get<0>(info.param) ? "EchoKnown" : "EchoUnknown"); });
// clang-format on
