#pragma once
// Millisecond tick counts: unsigned 32-bit values that wrap after about 49.7 days, compared with
// wrap-around arithmetic only. The source is injectable so that the line engine can run on a
// virtual clock in tests.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

class ITickSource {
public:
    virtual ~ITickSource() = default;
    virtual std::uint32_t Now() const = 0;
    // Waits about ms milliseconds (a virtual clock just moves on).
    virtual void Sleep(std::uint32_t ms) = 0;
    // Waits up to ms milliseconds for `done` to hold, and not at all when it holds already.
    // Whoever may make it hold notifies `wake` under the mutex `lock` holds, so no change is
    // missed between the test and the wait. A virtual clock moves on by ms instead: on one
    // thread nothing else can end the wait.
    virtual void WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, std::uint32_t ms,
                         const std::function<bool()>& done) = 0;
};

// The steady clock in milliseconds, started far from 0 so that a tick count of 0 ("never")
// is never close to the present.
class SystemTickSource final : public ITickSource {
public:
    std::uint32_t Now() const override;
    void Sleep(std::uint32_t ms) override;
    void WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, std::uint32_t ms,
                 const std::function<bool()>& done) override;
};

ITickSource& SystemTicks();

// The program's tick source (the system one unless a test installed another).
ITickSource& Ticks();
void SetTicks(ITickSource* source);   // nullptr restores the system source
inline std::uint32_t GetTickCount() { return Ticks().Now(); }

// Milliseconds from `since` to `now`, across a wrap.
constexpr std::uint32_t TicksElapsed(std::uint32_t since, std::uint32_t now) { return now - since; }
// True when `now` is at or past `due`, for intervals under about 24.8 days.
constexpr bool TickReached(std::uint32_t now, std::uint32_t due)
{
    return static_cast<std::int32_t>(now - due) >= 0;
}
