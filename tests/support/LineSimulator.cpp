#include "LineSimulator.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include "ScriptedPort.h"

LineSimulator::LineSimulator()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    // NOLINTNEXTLINE(concurrency-mt-unsafe): a test opens its ptys on its one thread
    const char* slave = master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0 ? ptsname(master_) : nullptr;
    if (slave) {
        portName_ = QString::fromLocal8Bit(slave).remove(QStringLiteral("/dev/"));
        // Terminal settings made through the master apply to the slave: raw from the start, so
        // that nothing the line plays is echoed before the port opens.
        termios t{};
        if (tcgetattr(master_, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(master_, TCSANOW, &t);
        }
        keeper_ = open(slave, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    }
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
        wake_[0] = wake_[1] = -1;
    thread_ = std::thread([this] {
        // A line keeps its characters' times to the microsecond: the kernel's default slack
        // would let every paced delivery come up to 50 us late, as no UART does.
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
        while (!stop_) {
            DeliverDue();
            Listen();
        }
    });
}

LineSimulator::~LineSimulator()
{
    stop_ = true;
    Schedule({Clock::now(), {}, false});   // wakes the thread
    thread_.join();
    for (int fd : {master_, keeper_, wake_[0], wake_[1]})
        if (fd >= 0)
            close(fd);
}

void LineSimulator::SetEcho(Echo echo, std::uint32_t delayMs)
{
    std::lock_guard lock(mutex_);
    echo_ = echo;
    echoDelayMs_ = delayMs;
}

void LineSimulator::SetDevices(std::vector<BusDevice> devices, std::uint32_t byteTimeUs)
{
    std::lock_guard lock(mutex_);
    devices_ = std::move(devices);
    byteTimeUs_ = byteTimeUs;
}

void LineSimulator::SetByteByByte(bool on)
{
    std::lock_guard lock(mutex_);
    byteByByte_ = on;
}

double LineSimulator::CpuSeconds()
{
    clockid_t clock{};
    timespec t{};
    if (pthread_getcpuclockid(thread_.native_handle(), &clock) != 0 || clock_gettime(clock, &t) != 0)
        return 0;
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void LineSimulator::QueuePaced(Clock::time_point now, std::size_t before, const std::vector<std::uint8_t>& bytes)
{
    if (!byteByByte_) {
        Queue({now + WireTime(before + bytes.size()), bytes, false});
        return;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i)
        Queue({now + WireTime(before + i + 1), {bytes[i]}, false});
}

void LineSimulator::Play(const std::vector<std::uint8_t>& bytes, std::chrono::microseconds after)
{
    Schedule({Clock::now() + after, bytes, false});
}

void LineSimulator::HangUp() { Schedule({Clock::now(), {}, true}); }

std::vector<std::uint8_t> LineSimulator::Heard() const
{
    std::lock_guard lock(mutex_);
    return heard_;
}

void LineSimulator::Schedule(Pending pending)
{
    {
        std::lock_guard lock(mutex_);
        Queue(std::move(pending));
    }
    const char b = 1;
    [[maybe_unused]] const ssize_t n = write(wake_[1], &b, 1);
}

void LineSimulator::Queue(Pending pending)
{
    // Stable by due time, so that bytes played for the same moment keep their order.
    const auto at = std::upper_bound(pending_.begin(), pending_.end(), pending.Due,
                                     [](Clock::time_point due, const Pending& p) { return due < p.Due; });
    pending_.insert(at, std::move(pending));
}

void LineSimulator::DeliverDue()
{
    std::vector<Pending> due;
    {
        std::lock_guard lock(mutex_);
        const auto end = std::find_if(pending_.begin(), pending_.end(), [](const Pending& p) { return p.Due > Clock::now(); });
        due.assign(std::make_move_iterator(pending_.begin()), std::make_move_iterator(end));
        pending_.erase(pending_.begin(), end);
    }
    for (const Pending& p : due) {
        if (master_ >= 0 && p.HangUp) {
            close(master_);
            master_ = -1;
        }
        for (std::size_t done = 0; master_ >= 0 && done < p.Bytes.size();) {
            const ssize_t n = write(master_, p.Bytes.data() + done, p.Bytes.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (n < 0 && errno != EINTR && errno != EAGAIN)
                break;
        }
    }
}

void LineSimulator::Listen()
{
    constexpr std::chrono::nanoseconds idle = std::chrono::milliseconds(50);
    std::chrono::nanoseconds wait = idle;
    {
        std::lock_guard lock(mutex_);
        if (!pending_.empty())
            wait = std::clamp<std::chrono::nanoseconds>(pending_.front().Due - Clock::now(), {}, idle);
    }
    // ppoll to the nanosecond: poll's own timeout would round a wait to whole milliseconds.
    const timespec t{0, static_cast<long>(wait.count())};
    pollfd fds[2] = {{wake_[0], POLLIN, 0}, {master_, POLLIN, 0}};
    // Once hung up only commands (the stop, more plays to drop) are left to wait for.
    const int ready = ppoll(fds, master_ >= 0 ? 2 : 1, &t, nullptr);
    char drain[64];
    while (read(wake_[0], drain, sizeof drain) > 0) {
    }
    if (ready <= 0 || master_ < 0)
        return;
    if (!(fds[1].revents & POLLIN)) {
        if (fds[1].revents & (POLLHUP | POLLERR))   // no slave open: do not spin on it
            ppoll(fds, 1, &t, nullptr);
        return;
    }
    std::vector<std::uint8_t> chunk(256);
    const ssize_t n = read(master_, chunk.data(), chunk.size());
    if (n <= 0)
        return;
    chunk.resize(static_cast<std::size_t>(n));
    std::lock_guard lock(mutex_);
    heard_.insert(heard_.end(), chunk.begin(), chunk.end());
    const auto now = Clock::now();
    if (echo_ != Echo::Dropped)
        Queue({now + std::chrono::milliseconds(echo_ == Echo::Delayed ? echoDelayMs_ : 0), chunk, false});
    if (byteTimeUs_ > 0)
        QueuePaced(now, 0, chunk);
    AnswerRequests(chunk);
}

void LineSimulator::AnswerRequests(const std::vector<std::uint8_t>& bytes)
{
    unanswered_.insert(unanswered_.end(), bytes.begin(), bytes.end());
    while (!unanswered_.empty()) {
        const auto device = std::find_if(devices_.begin(), devices_.end(), [this](const BusDevice& d) {
            return DeviceCatalogue[d.Row].WireAddress == unanswered_.front();
        });
        const auto rq = device == devices_.end() ? 1 : DeviceCatalogue[device->Row].RequestLength;
        if (unanswered_.size() < static_cast<std::size_t>(rq))
            return;   // the body comes in the next write
        unanswered_.erase(unanswered_.begin(), unanswered_.begin() + rq);
        if (device == devices_.end())
            continue;
        ++Requests;
        if (device->Changing && !device->Body.empty())
            ++device->Body.front();
        Bytes answer = Answer(device->Row, device->Body);
        if (device->Fault == BusFault::BadCheck)
            answer.back() ^= 0x5A;
        if (device->Fault == BusFault::Cut)
            answer.pop_back();
        // Paced: the answer follows the request's echo, character by character.
        if (device->Fault != BusFault::Silent)
            QueuePaced(Clock::now(), bytes.size(), answer);
    }
}
