// Whatever the line brings, every byte read is handed off exactly once and in order, and the
// pending buffer never holds more than 16 bytes: seeded random streams of valid exchanges,
// damaged ones, noise and the echoes of emulated answers, at random gaps. On a hostile line
// (echoes late, cut, spaced, corrupted or missing) no address gets more emulated answers than
// the master sent it requests.
#include <random>

#include "LineFixture.h"
#include "support/HostileLine.h"

int Uniform(std::mt19937& rng, int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

Bytes RandomBytes(std::mt19937& rng, int count)
{
    Bytes bytes(static_cast<std::size_t>(count));
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(rng());
    return bytes;
}

Bytes ParseHex(QString text)
{
    Bytes bytes;
    for (const QString& word : text.remove('\'').split(' ', Qt::SkipEmptyParts))
        bytes.push_back(static_cast<std::uint8_t>(word.toUInt(nullptr, 16)));
    return bytes;
}

// An exchange of a row, sometimes cut or damaged.
Bytes Exchange(std::mt19937& rng, int row)
{
    const TFrameInfo& info = DeviceCatalogue[row];
    Bytes m = Join(Request(row, RandomBytes(rng, std::max(info.RequestLength - 2, 0))),
                   Answer(row, RandomBytes(rng, info.AnswerLength - 2)));
    const int size = static_cast<int>(m.size()), damage = Uniform(rng, 0, 7);
    if (damage == 0)
        m.resize(static_cast<std::size_t>(Uniform(rng, 1, size)));
    if (damage == 1)
        m[static_cast<std::size_t>(Uniform(rng, 0, size - 1))] ^= 0x10;
    return m;
}

struct Outcome {
    Bytes read, handedOff;
    int maxPending = 0;
    bool settled = false;   // the line fell quiet: the program does not answer its own echoes
};

Outcome RunStream(unsigned seed)
{
    std::mt19937 rng(seed);
    LineWorld w;
    for (int i = 0; i < 4; ++i) {   // a few devices in every mode at random addresses
        const int row = Uniform(rng, 0, DeviceCatalogueCount - 1);
        if (!w.host.byAddr[DeviceCatalogue[row].Address])
            w.AddDevice(row, static_cast<std::uint8_t>(Uniform(rng, 0, 2)));
    }
    w.line.EchoDelayMs = Uniform(rng, 0, 1) ? 0 : 50;
    if (seed % 5 == 0)
        w.line.SetEcho(ScriptedPort::Echo::None);
    std::uint32_t at = w.clock.Now();
    for (int i = 0; i < 40; ++i) {
        at += static_cast<std::uint32_t>(Uniform(rng, 0, 80));
        w.line.PlayAt(at, Uniform(rng, 0, 3) == 0 ? RandomBytes(rng, Uniform(rng, 1, 20))
                                                  : Exchange(rng, Uniform(rng, 0, DeviceCatalogueCount - 1)));
    }
    Outcome out;
    for (int pass = 0; pass < 20000 && !out.settled; ++pass) {
        out.settled = w.line.Timeline().empty() && w.engine.RxBytes.Count == 0;
        w.engine.FramingPass();
        out.maxPending = std::max(out.maxPending, static_cast<int>(w.engine.PendingBytes.Count));
        EXPECT_EQ(w.engine.PendingBytes.Count, w.engine.PendingFlags.Count);
        EXPECT_EQ(w.engine.RxBytes.Count, w.engine.RxFlags.Count);
    }
    for (const auto& read : w.line.CallsOf(ScriptedPort::Op::Read))
        out.read.insert(out.read.end(), read.Bytes.begin(), read.Bytes.end());
    for (int i = 0; i < LineLogCount; ++i) {
        const TLineRecord& r = LineLogRecord(i);
        for (const QString* text : {&r.RequestText, &r.AnswerText})
            out.handedOff = Join(out.handedOff, ParseHex(*text));
        EXPECT_TRUE(r.Result >= 0 && r.Result <= 6 && (r.FrameInfo || r.Result != 0)) << r.Result;
    }
    // What is still held has not been handed off yet.
    for (const TRoundBuffer* held : {&w.engine.PendingBytes, &w.engine.RxBytes})
        for (int i = 0; i < held->Count; ++i)
            out.handedOff.push_back(held->At(i));
    return out;
}

TEST(Conservation, EveryByteReadIsHandedOffOnceInOrder)
{
    std::size_t bytes = 0;
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        const Outcome out = RunStream(seed);
        ASSERT_EQ(out.handedOff, out.read) << "seed " << seed;
        ASSERT_LE(out.maxPending, PendingLimit) << "seed " << seed;
        ASSERT_TRUE(out.settled) << "seed " << seed;
        bytes += out.read.size();
    }
    EXPECT_GT(bytes, 2000u * 100);
}

class HostileLine : public ::testing::TestWithParam<bool> {};

TEST_P(HostileLine, AnswersNeverOutnumberRequestsAndEveryByteIsHandedOffOnce)
{
    int answers = 0, requests = 0, worst = -1000;
    for (unsigned seed = 1; seed <= 1500; ++seed) {
        std::mt19937 rng(seed);
        const THostileOutcome out = RunHostileLine([&rng](std::uint32_t n) { return rng() % n; }, GetParam());
        ASSERT_TRUE(out.Settled) << "seed " << seed;
        ASSERT_LE(out.WorstExcess(), 0) << "seed " << seed;
        ASSERT_EQ(out.HandedOff, out.Read) << "seed " << seed;
        ASSERT_LE(out.MaxPending, PendingLimit) << "seed " << seed;
        for (int a = 0; a < 64; ++a)
            answers += out.Answers[a], requests += out.Requests[a];
        worst = std::max(worst, out.WorstExcess());
    }
    std::printf("hostile line, echo known %d: %d answers to %d requests, worst excess %d\n", GetParam(), answers,
                requests, worst);
    EXPECT_GT(answers, 1500);
}

INSTANTIATE_TEST_SUITE_P(BothEchoStartStates, HostileLine, ::testing::Bool());
