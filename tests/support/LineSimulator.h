#pragma once
// The other end of a pty line, on its own thread (it takes the pty's master): the shared bus plus
// whatever devices a test plays on it. Every byte the port writes is heard (logged) and, as on
// the real bus, echoed back unless the echo is dropped or delayed. Times are real milliseconds.
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
    // Closes the master `afterMs` from now: the port's next read sees the hang-up.
    void HangUp(std::uint32_t afterMs = 0);

    // Everything the port wrote so far, in order.
    std::vector<std::uint8_t> Heard() const;
    // Called on the simulator thread with each chunk the port wrote (after its echo is queued).
    // Setting it waits for a call in progress, so that its target may go once it is reset.
    using HeardHandler = std::function<void(const std::vector<std::uint8_t>& bytes)>;
    void SetOnHeard(HeardHandler handler);

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
    void Listen(int timeoutMs);
    int MsToNext() const;

    int master_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    mutable std::mutex mutex_;
    std::mutex heardMutex_;   // held while onHeard_ is set or called
    HeardHandler onHeard_;
    std::vector<Pending> pending_;
    std::vector<std::uint8_t> heard_;
    Echo echo_ = Echo::Immediate;
    std::uint32_t echoDelayMs_ = 0;
    bool stop_ = false;
    std::thread thread_;
};
