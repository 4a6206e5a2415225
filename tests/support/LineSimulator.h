#pragma once
// The other end of a pty line, on its own thread (it takes the pty's master): the shared bus plus
// whatever devices a test plays on it. Every byte the port writes is heard (logged) and, as on
// the real bus, echoed back unless the echo is dropped or delayed. Times are real time, kept to
// the microsecond, so that a line paced at 9600 baud takes a character's 1146 us, not 2 ms.
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class PtyPair;

class LineSimulator {
public:
    enum class Echo { Immediate, Delayed, Dropped };

    explicit LineSimulator(PtyPair& pty);
    ~LineSimulator();
    LineSimulator(const LineSimulator&) = delete;
    LineSimulator& operator=(const LineSimulator&) = delete;

    void SetEcho(Echo echo, std::uint32_t delayMs = 0);
    // Bytes onto the line `afterMs` from now, all in one write.
    void Play(const std::vector<std::uint8_t>& bytes, std::uint32_t afterMs = 0);
    void Play(const std::vector<std::uint8_t>& bytes, std::chrono::microseconds after);
    // Closes the master `afterMs` from now: the port's next read sees the hang-up.
    void HangUp(std::uint32_t afterMs = 0);

    // Everything the port wrote so far, in order.
    std::vector<std::uint8_t> Heard() const;
    // Called on the simulator thread with each chunk the port wrote (after its echo is queued).
    // Replacing it waits for a call in progress: once it returns, the old one is never called
    // again, so its owner may go.
    using Listener = std::function<void(const std::vector<std::uint8_t>& bytes)>;
    void SetOnHeard(Listener listener);

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        Clock::time_point Due;
        std::vector<std::uint8_t> Bytes;
        bool HangUp;
    };

    void Run();
    void Schedule(Pending pending);
    void Wake();
    void DeliverDue();
    void Listen(std::chrono::nanoseconds timeout);
    std::chrono::nanoseconds TimeToNext() const;

    int master_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    mutable std::mutex mutex_;
    std::mutex listenerMutex_;   // held while the listener runs
    Listener onHeard_;
    std::vector<Pending> pending_;
    std::vector<std::uint8_t> heard_;
    Echo echo_ = Echo::Immediate;
    std::uint32_t echoDelayMs_ = 0;
    bool stop_ = false;
    std::thread thread_;
};
