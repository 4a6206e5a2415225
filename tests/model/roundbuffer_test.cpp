#include <deque>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "model/RoundBuffer.h"

// Small rings wrap on almost every put: what comes out, peeked at any offset or taken, is what
// a plain queue gives.
TEST(RoundBuffer, AgreesWithAQueueOverRandomTraffic)
{
    std::mt19937 random(42);
    for (int size : {1, 2, 7, 400}) {
        TRoundBuffer ring(size);
        std::deque<std::uint8_t> model;
        std::uint8_t next = 0;
        std::vector<std::uint8_t> buf(size);
        for (int step = 0; step < 5000; ++step) {
            const int op = static_cast<int>(random() % 4);
            if (op == 0 && ring.Free() > 0) {
                const int n = 1 + static_cast<int>(random() % ring.Free());
                for (int i = 0; i < n; ++i)
                    model.push_back(buf[i] = next++);
                ring.Put(buf.data(), n);
            } else if (op == 1 && ring.Count > 0) {
                const int n = 1 + static_cast<int>(random() % ring.Count);
                ring.Get(buf.data(), n);
                for (int i = 0; i < n; ++i, model.pop_front())
                    ASSERT_EQ(buf[i], model.front());
            } else if (op == 2 && ring.Count > 0) {
                const int offset = static_cast<int>(random() % ring.Count);
                const int n = static_cast<int>(random() % (ring.Count - offset + 1));
                ring.Peek(buf.data(), n, offset);
                for (int i = 0; i < n; ++i)
                    ASSERT_EQ(buf[i], model[offset + i]);
            } else if (op == 3 && random() % 50 == 0) {
                ring.Clear();
                model.clear();
            }
            ASSERT_EQ(ring.Count, static_cast<int>(model.size()));
            ASSERT_EQ(ring.WritePos, (ring.ReadPos + ring.Count) % size);
        }
    }
}

// A caller that breaks the contract stops a checked (debug) build at once; the configured
// builds have the checks off and must keep the ring's bookkeeping and the bytes around it whole.
TEST(RoundBufferDeathTest, BrokenPreconditionsAreCaughtOrKeepTheRingWhole)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TRoundBuffer ring(4);
    std::vector<std::uint8_t> bytes{1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_DEBUG_DEATH(ring.Put(bytes.data(), 5), "");
#ifdef NDEBUG
    EXPECT_EQ(ring.Count, 4);   // only what fits
    EXPECT_EQ(ring.WritePos, 0);
    std::vector<std::uint8_t> held(4, 0);
    ring.Peek(held.data(), 4);
    EXPECT_EQ(held, (std::vector<std::uint8_t>{1, 2, 3, 4}));
#endif
    ring.Clear();
    bytes.assign(8, 0x55);
    EXPECT_DEBUG_DEATH(ring.Get(bytes.data(), 1), "");
    EXPECT_EQ(bytes[0], 0x55);
    EXPECT_EQ(ring.Count, 0);
    ring.Put(bytes.data(), 1);
    EXPECT_DEBUG_DEATH(ring.Peek(bytes.data() + 1, 1, 1), "");
    EXPECT_EQ(bytes[1], 0x55);
    EXPECT_DEBUG_DEATH(ring.At(1), "");
#ifdef NDEBUG
    EXPECT_EQ(ring.At(1), 0);
#endif
    EXPECT_EQ(ring.Count, 1);
}
