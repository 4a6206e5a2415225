// Whatever the line brings, every byte read is handed off exactly once and in order, and the
// pending buffer never holds more than 16 bytes: seeded random streams of valid exchanges,
// damaged ones, noise and the echoes of emulated answers, at random gaps.
#include <gtest/gtest.h>
#include <random>
#include <sstream>

#include "LineEngineFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ParseHex(const QString& text)
{
    Bytes bytes;
    std::istringstream in(text.toStdString());
    std::string word;
    while (in >> word) {
        if (!word.empty() && word[0] == '\'')
            word.erase(0, 1);
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(word, nullptr, 16)));
    }
    return bytes;
}

Bytes Exchange(std::mt19937& rng, int row)
{
    const TFrameInfo& info = DeviceCatalogue[row];
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes requestBody(info.RequestLength > 1 ? info.RequestLength - 2 : 0);
    for (auto& b : requestBody)
        b = static_cast<std::uint8_t>(byte(rng));
    Bytes answerBody(info.AnswerLength - 2);
    for (auto& b : answerBody)
        b = static_cast<std::uint8_t>(byte(rng));
    Bytes m = Join(Request(row, requestBody), Answer(row, answerBody));
    switch (std::uniform_int_distribution<int>(0, 7)(rng)) {
    case 0: m.resize(std::uniform_int_distribution<std::size_t>(1, m.size())(rng)); break;      // cut
    case 1: m[std::uniform_int_distribution<std::size_t>(0, m.size() - 1)(rng)] ^= 0x10; break;  // damaged
    default: break;
    }
    return m;
}

struct Outcome {
    Bytes read;
    Bytes handedOff;
    int maxPending = 0;
    bool settled = false;   // the line fell quiet: the program does not answer its own echoes
};

Outcome RunStream(unsigned seed)
{
    std::mt19937 rng(seed);
    LineWorld w;
    // A few devices in every mode at random addresses.
    std::uniform_int_distribution<int> anyRow(0, DeviceCatalogueCount - 1);
    for (int i = 0; i < 4; ++i) {
        const int row = anyRow(rng);
        if (!w.host.byAddr[DeviceCatalogue[row].Address])
            w.AddDevice(row, static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 2)(rng)), i % 2 == 0);
    }
    w.line.EchoDelayMs = std::uniform_int_distribution<std::uint32_t>(0, 1)(rng) ? 0 : 50;
    if (seed % 5 == 0)
        w.line.SetEcho(ScriptedPort::Echo::None);
    std::uint32_t at = w.clock.Now();
    for (int i = 0; i < 40; ++i) {
        at += std::uniform_int_distribution<std::uint32_t>(0, 80)(rng);
        if (std::uniform_int_distribution<int>(0, 3)(rng) == 0) {
            Bytes noise(std::uniform_int_distribution<std::size_t>(1, 20)(rng));
            for (auto& b : noise)
                b = static_cast<std::uint8_t>(rng());
            w.line.PlayAt(at, noise);
        } else {
            w.line.PlayAt(at, Exchange(rng, anyRow(rng)));
        }
    }
    Outcome out;
    for (int pass = 0; pass < 20000; ++pass) {
        if (w.line.Timeline().empty() && w.engine.RxBytes.Count == 0) {
            out.settled = true;
            break;
        }
        w.engine.FramingPass();
        out.maxPending = std::max(out.maxPending, static_cast<int>(w.engine.PendingBytes.Count));
        EXPECT_EQ(w.engine.PendingBytes.Count, w.engine.PendingFlags.Count);
        EXPECT_EQ(w.engine.RxBytes.Count, w.engine.RxFlags.Count);
    }
    for (const auto& read : w.line.CallsOf(ScriptedPort::Op::Read))
        out.read.insert(out.read.end(), read.Bytes.begin(), read.Bytes.end());
    for (int i = 0; i < LineLogCount; ++i) {
        const TLineRecord& r = LineLogRecord(i);
        for (const QString* text : {&r.RequestText, &r.AnswerText}) {
            const Bytes bytes = ParseHex(*text);
            out.handedOff.insert(out.handedOff.end(), bytes.begin(), bytes.end());
        }
        EXPECT_GE(r.Result, 0);
        EXPECT_LE(r.Result, 6);
        if (!r.FrameInfo) {
            EXPECT_NE(r.Result, 0);
        }
    }
    // What is still held has not been handed off yet.
    for (const TRoundBuffer* held : {&w.engine.PendingBytes, &w.engine.RxBytes})
        for (int i = 0; i < held->Count; ++i)
            out.handedOff.push_back(held->At(i));
    return out;
}

}  // namespace

TEST(Conservation, EveryByteReadIsHandedOffOnceInOrder)
{
    int bytes = 0;
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        const Outcome out = RunStream(seed);
        ASSERT_EQ(out.handedOff, out.read) << "seed " << seed;
        ASSERT_LE(out.maxPending, PendingLimit) << "seed " << seed;
        ASSERT_TRUE(out.settled) << "seed " << seed;
        bytes += static_cast<int>(out.read.size());
    }
    EXPECT_GT(bytes, 2000 * 100);
}
