#include <gtest/gtest.h>
#include <thread>

#include "platform/Ticks.h"
#include "support/VirtualClock.h"

TEST(Ticks, SystemCountStartsFarFromZeroAndMovesForward)
{
    const std::uint32_t first = SystemTicks().Now();
    EXPECT_GT(first, 60u * 60u * 1000u);   // "never" (0) is hours behind the present
    SystemTicks().Sleep(5);
    EXPECT_GE(TicksElapsed(first, SystemTicks().Now()), 5u);
}

TEST(Ticks, WrapAroundArithmetic)
{
    const std::uint32_t beforeWrap = 0xFFFFFF00u, afterWrap = 0x00000100u;
    EXPECT_EQ(TicksElapsed(beforeWrap, afterWrap), 0x200u);
    EXPECT_TRUE(TickReached(afterWrap, beforeWrap));
    EXPECT_FALSE(TickReached(beforeWrap, afterWrap));
    EXPECT_TRUE(TickReached(5000, 5000));
    EXPECT_FALSE(TickReached(4999, 5000));
    EXPECT_TRUE(TickReached(0x00000010u, 0xFFFFFFF0u + 0x10u));   // due time itself wrapped
}

TEST(Ticks, VirtualClockStandsInForTheSystemOne)
{
    VirtualClock clock(0xFFFFFFF0u);
    {
        ScopedTicks installed(clock);
        EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
        Ticks().Sleep(0x20);
        EXPECT_EQ(GetTickCount(), 0x10u);
    }
    EXPECT_NE(GetTickCount(), clock.Now());
}

TEST(Ticks, WaitEndsOnceItsConditionHolds)
{
    std::mutex mutex;
    std::condition_variable wake;
    bool done = false;
    std::thread setter([&] {
        std::lock_guard lock(mutex);
        done = true;
        wake.notify_all();
    });
    std::unique_lock lock(mutex);
    SystemTicks().WaitFor(lock, wake, 3600000, [&] { return done; });   // only `done` ends an hour
    EXPECT_TRUE(done);
    lock.unlock();
    setter.join();
}
