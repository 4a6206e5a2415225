#include <gtest/gtest.h>

#include <deque>
#include <numeric>
#include <random>
#include <vector>

#include "model/RoundBuffer.h"

namespace {
std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    return std::vector<std::uint8_t>(values.begin(), values.end());
}

std::vector<std::uint8_t> Take(TRoundBuffer& ring, int n)
{
    std::vector<std::uint8_t> out(n);
    ring.Get(out.data(), n);
    return out;
}
}

TEST(RoundBuffer, StartsEmptyWithItsCapacity)
{
    TRoundBuffer ring(10);
    EXPECT_EQ(ring.Size, 10);
    EXPECT_EQ(ring.Count, 0);
    EXPECT_EQ(ring.ReadPos, 0);
    EXPECT_EQ(ring.WritePos, 0);
    EXPECT_EQ(ring.Free(), 10);
}

TEST(RoundBuffer, GivesBytesBackInTheOrderPut)
{
    TRoundBuffer ring(8);
    const auto in = Bytes({1, 2, 3, 4, 5});
    ring.Put(in.data(), 5);
    EXPECT_EQ(ring.Count, 5);
    EXPECT_EQ(Take(ring, 2), Bytes({1, 2}));
    EXPECT_EQ(Take(ring, 3), Bytes({3, 4, 5}));
    EXPECT_EQ(ring.Count, 0);
}

TEST(RoundBuffer, PutEndingAtTheEndOfTheBlockWrapsWritePosToZero)
{
    TRoundBuffer ring(6);
    const auto in = Bytes({1, 2, 3, 4, 5, 6});
    ring.Put(in.data(), 6);
    EXPECT_EQ(ring.WritePos, 0);
    EXPECT_EQ(ring.Count, 6);
    EXPECT_EQ(ring.Free(), 0);
    EXPECT_EQ(Take(ring, 6), in);
    EXPECT_EQ(ring.ReadPos, 0);
}

TEST(RoundBuffer, CopiesAcrossTheEndInTwoPieces)
{
    TRoundBuffer ring(5);
    const auto first = Bytes({1, 2, 3, 4});
    ring.Put(first.data(), 4);
    Take(ring, 3);
    const auto second = Bytes({5, 6, 7});
    ring.Put(second.data(), 3);  // 5 lands at index 4, 6 and 7 at 0 and 1
    EXPECT_EQ(ring.WritePos, 2);
    EXPECT_EQ(ring.Data[0], 6);
    std::vector<std::uint8_t> peeked(4);
    ring.Peek(peeked.data(), 4);
    EXPECT_EQ(peeked, Bytes({4, 5, 6, 7}));
    EXPECT_EQ(ring.Count, 4) << "Peek does not take";
    EXPECT_EQ(Take(ring, 4), Bytes({4, 5, 6, 7}));
}

TEST(RoundBuffer, PeeksAtAnOffsetAndReadsSingleBytes)
{
    TRoundBuffer ring(4);
    const auto in = Bytes({9, 8, 7});
    ring.Put(in.data(), 3);
    Take(ring, 2);
    const auto more = Bytes({6, 5, 4});
    ring.Put(more.data(), 3);  // held: 7 6 5 4, starting at index 2
    std::vector<std::uint8_t> out(2);
    ring.Peek(out.data(), 2, 1);
    EXPECT_EQ(out, Bytes({6, 5}));
    ring.Peek(out.data(), 2, 2);
    EXPECT_EQ(out, Bytes({5, 4}));
    EXPECT_EQ(ring.At(0), 7);
    EXPECT_EQ(ring.At(3), 4);
    EXPECT_EQ(ring.Count, 4);
}

TEST(RoundBuffer, ClearDropsWhatIsHeld)
{
    TRoundBuffer ring(4);
    const auto in = Bytes({1, 2, 3});
    ring.Put(in.data(), 3);
    ring.Clear();
    EXPECT_EQ(ring.Count, 0);
    EXPECT_EQ(ring.ReadPos, ring.WritePos);
    ring.Put(in.data(), 3);
    EXPECT_EQ(Take(ring, 3), in);
}

TEST(RoundBuffer, AFullRingDropsItsOldestByteBeforeAPut)
{
    TRoundBuffer ring(3);
    for (std::uint8_t b = 1; b <= 5; ++b) {
        if (ring.Free() == 0) {
            std::uint8_t dropped = 0;
            ring.Get(&dropped, 1);
        }
        ring.Put(&b, 1);
    }
    EXPECT_EQ(Take(ring, 3), Bytes({3, 4, 5}));
}

TEST(RoundBuffer, AgreesWithAQueueOverRandomTraffic)
{
    std::mt19937 random(42);
    for (int size : {1, 2, 7, 10, 400}) {
        TRoundBuffer ring(size);
        std::deque<std::uint8_t> model;
        std::uint8_t next = 0;
        for (int step = 0; step < 5000; ++step) {
            const int op = static_cast<int>(random() % 4);
            std::vector<std::uint8_t> buf(size);
            if (op == 0 && ring.Free() > 0) {
                const int n = 1 + static_cast<int>(random() % ring.Free());
                for (int i = 0; i < n; ++i)
                    model.push_back(buf[i] = next++);
                ring.Put(buf.data(), n);
            } else if (op == 1 && ring.Count > 0) {
                const int n = 1 + static_cast<int>(random() % ring.Count);
                ring.Get(buf.data(), n);
                for (int i = 0; i < n; ++i) {
                    ASSERT_EQ(buf[i], model.front());
                    model.pop_front();
                }
            } else if (op == 2 && ring.Count > 0) {
                const int offset = static_cast<int>(random() % ring.Count);
                const int n = static_cast<int>(random() % (ring.Count - offset + 1));
                ring.Peek(buf.data(), n, offset);
                for (int i = 0; i < n; ++i)
                    ASSERT_EQ(buf[i], model[offset + i]);
                ASSERT_EQ(ring.At(offset), model[offset]);
            } else if (op == 3 && random() % 50 == 0) {
                ring.Clear();
                model.clear();
            }
            ASSERT_EQ(ring.Count, static_cast<int>(model.size()));
            ASSERT_EQ(ring.WritePos, (ring.ReadPos + ring.Count) % size);
        }
    }
}

// A caller that breaks the contract stops a debug build at once; a release build keeps the
// ring's bookkeeping and the bytes around it intact.
TEST(RoundBufferDeathTest, BrokenPreconditionsAreCaught)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TRoundBuffer ring(4);
    std::vector<std::uint8_t> big(8, 0xAA);
    EXPECT_DEBUG_DEATH(ring.Put(big.data(), 5), "");
    EXPECT_LE(ring.Count, ring.Size);
    ring.Clear();
    std::vector<std::uint8_t> out(8, 0x55);
    EXPECT_DEBUG_DEATH(ring.Get(out.data(), 1), "");
    EXPECT_EQ(ring.Count, 0);
    EXPECT_EQ(out[0], 0x55);
    const std::uint8_t one = 1;
    ring.Put(&one, 1);
    EXPECT_DEBUG_DEATH(ring.Peek(out.data(), 2, 0), "");
    EXPECT_DEBUG_DEATH(ring.Peek(out.data(), 1, 1), "");
    EXPECT_DEBUG_DEATH(ring.At(1), "");
    EXPECT_EQ(ring.Count, 1);
}
