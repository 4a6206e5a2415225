#include "platform/Ticks.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {
// Where the counts start: a day past zero, so that "0 = never" is far behind the present
// and the first wrap comes after about 48 days of running.
constexpr std::uint32_t StartOffset = 24u * 60u * 60u * 1000u;

const auto Epoch = std::chrono::steady_clock::now();
std::atomic<ITickSource*> Installed{nullptr};
}

std::uint32_t SystemTickSource::Now() const
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - Epoch)
                        .count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms) + StartOffset);
}

void SystemTickSource::Sleep(std::uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SystemTickSource::WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, std::uint32_t ms,
                               const std::function<bool()>& done)
{
    wake.wait_for(lock, std::chrono::milliseconds(ms), done);
}

ITickSource& SystemTicks()
{
    static SystemTickSource source;
    return source;
}

ITickSource& Ticks()
{
    ITickSource* source = Installed.load(std::memory_order_acquire);
    return source ? *source : SystemTicks();
}

void SetTicks(ITickSource* source)
{
    Installed.store(source, std::memory_order_release);
}
