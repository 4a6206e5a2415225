#pragma once
// A tick source that moves only when told: Sleep, Advance and a wait that is not over at once
// move it forward; and a synchronizer that costs time on it.
#include <atomic>
#include <cstdint>
#include <functional>
#include <utility>

#include "platform/Synchronizer.h"
#include "platform/Ticks.h"

class VirtualClock final : public ITickSource {
public:
    explicit VirtualClock(std::uint32_t start = 100000) : now_(start) {}
    std::uint32_t Now() const override { return now_.load(); }
    void Sleep(std::uint32_t ms) override { Advance(ms); }
    void WaitFor(std::unique_lock<std::mutex>&, std::condition_variable&, std::uint32_t ms,
                 const std::function<bool()>& done) override
    {
        if (!done())
            Advance(ms);
    }
    void Advance(std::uint32_t ms) { now_.fetch_add(ms); }
    void Set(std::uint32_t tick) { now_.store(tick); }

private:
    std::atomic<std::uint32_t> now_;
};

// Installs a clock as the program's tick source for the lifetime of the guard.
class ScopedTicks {
public:
    explicit ScopedTicks(ITickSource& source) { SetTicks(&source); }
    ~ScopedTicks() { SetTicks(nullptr); }
    ScopedTicks(const ScopedTicks&) = delete;
    ScopedTicks& operator=(const ScopedTicks&) = delete;
};

// A main thread that takes its time: every synchronized step first moves the clock on by what
// Cost says, as a busy window keeps the receive thread waiting, then runs.
class SlowSynchronizer final : public ISynchronizer {
public:
    SlowSynchronizer(VirtualClock& clock, std::function<std::uint32_t()> cost) : clock_(clock), cost_(std::move(cost)) {}
    void Synchronize(const std::function<void()>& step) override
    {
        clock_.Advance(cost_());
        step();
    }

private:
    VirtualClock& clock_;
    std::function<std::uint32_t()> cost_;
};
