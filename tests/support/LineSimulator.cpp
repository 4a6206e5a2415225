#include "LineSimulator.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "PtyPair.h"

LineSimulator::LineSimulator(PtyPair& pty) : master_(pty.ReleaseMaster())
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_ = fds[0];
        wakeWrite_ = fds[1];
    }
    thread_ = std::thread([this] { Run(); });
}

LineSimulator::~LineSimulator()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    Wake();
    thread_.join();
    if (master_ >= 0)
        close(master_);
    if (wakeRead_ >= 0)
        close(wakeRead_);
    if (wakeWrite_ >= 0)
        close(wakeWrite_);
}

void LineSimulator::SetEcho(Echo echo, std::uint32_t delayMs)
{
    std::lock_guard lock(mutex_);
    echo_ = echo;
    echoDelayMs_ = delayMs;
}

void LineSimulator::Play(const std::vector<std::uint8_t>& bytes, std::uint32_t afterMs)
{
    Schedule({Clock::now() + std::chrono::milliseconds(afterMs), bytes, false});
}

void LineSimulator::HangUp(std::uint32_t afterMs)
{
    Schedule({Clock::now() + std::chrono::milliseconds(afterMs), {}, true});
}

std::vector<std::uint8_t> LineSimulator::Heard() const
{
    std::lock_guard lock(mutex_);
    return heard_;
}

void LineSimulator::Schedule(Pending pending)
{
    {
        std::lock_guard lock(mutex_);
        // Stable by due time, so that bytes played for the same moment keep their order.
        const auto at = std::upper_bound(pending_.begin(), pending_.end(), pending.Due,
                                         [](Clock::time_point due, const Pending& p) { return due < p.Due; });
        pending_.insert(at, std::move(pending));
    }
    Wake();
}

void LineSimulator::Wake()
{
    if (wakeWrite_ >= 0) {
        const char b = 1;
        [[maybe_unused]] const ssize_t n = write(wakeWrite_, &b, 1);
    }
}

int LineSimulator::MsToNext() const
{
    // Caller holds the mutex.
    constexpr int idleMs = 50;
    if (pending_.empty())
        return idleMs;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(pending_.front().Due - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, idleMs));
}

void LineSimulator::DeliverDue()
{
    std::vector<Pending> due;
    {
        std::lock_guard lock(mutex_);
        const auto now = Clock::now();
        auto end = pending_.begin();
        while (end != pending_.end() && end->Due <= now)
            ++end;
        due.assign(std::make_move_iterator(pending_.begin()), std::make_move_iterator(end));
        pending_.erase(pending_.begin(), end);
    }
    for (const Pending& p : due) {
        if (master_ < 0)
            return;
        if (p.HangUp) {
            close(master_);
            master_ = -1;
            std::lock_guard lock(mutex_);
            pending_.clear();
            return;
        }
        std::size_t done = 0;
        while (done < p.Bytes.size()) {
            const ssize_t n = write(master_, p.Bytes.data() + done, p.Bytes.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (n < 0 && errno != EINTR && errno != EAGAIN)
                break;
        }
    }
}

void LineSimulator::Listen(int timeoutMs)
{
    pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {master_, POLLIN, 0}};
    // Once hung up only commands (the stop, more plays to drop) are left to wait for.
    const int ready = poll(fds, master_ >= 0 ? 2 : 1, timeoutMs);
    char drain[64];
    while (read(wakeRead_, drain, sizeof drain) > 0) {
    }
    if (ready <= 0 || master_ < 0)
        return;
    if (!(fds[1].revents & POLLIN)) {
        if (fds[1].revents & (POLLHUP | POLLERR)) {   // no slave open: do not spin on it
            pollfd w {wakeRead_, POLLIN, 0};
            poll(&w, 1, timeoutMs);
        }
        return;
    }
    std::vector<std::uint8_t> chunk(256);
    const ssize_t n = read(master_, chunk.data(), chunk.size());
    if (n <= 0)
        return;
    chunk.resize(static_cast<std::size_t>(n));
    Echo echo;
    std::uint32_t delay;
    {
        std::lock_guard lock(mutex_);
        heard_.insert(heard_.end(), chunk.begin(), chunk.end());
        echo = echo_;
        delay = echoDelayMs_;
    }
    if (echo != Echo::Dropped)
        Schedule({Clock::now() + std::chrono::milliseconds(echo == Echo::Delayed ? delay : 0), chunk, false});
    std::lock_guard lock(heardMutex_);
    if (onHeard_)
        onHeard_(chunk);
}

void LineSimulator::SetOnHeard(HeardHandler handler)
{
    std::lock_guard lock(heardMutex_);
    onHeard_ = std::move(handler);
}

void LineSimulator::Run()
{
    for (;;) {
        int timeout;
        {
            std::lock_guard lock(mutex_);
            if (stop_)
                return;
            timeout = MsToNext();
        }
        DeliverDue();
        Listen(timeout);
    }
}
