#pragma once
// The other end of a pty line, on its own thread: the shared bus plus whatever devices or master
// a test plays on it.
//
//   PtyPair pty;
//   LineSimulator line(pty);               // takes the master; the port opens pty.PortName()
//   line.Play({0x81, 0x12}, 10);           // bytes onto the line 10 ms from now
//   line.SetEcho(LineSimulator::Echo::Delayed, 150);   // a late echo
//   line.OnHeard = [&](const std::vector<std::uint8_t>& b) { line.Play(answer, 2); };
//   line.WaitHeard(3, 1000);               // until the port wrote 3 bytes (or 1 s passed)
//   line.HangUp();                         // the device vanishes: the master closes
//
// Every byte the port writes is heard (logged) and, as on the real bus, echoed back unless the
// echo is dropped or delayed. Times are real milliseconds of the steady clock; tests keep their
// windows generous.
#include <chrono>
#include <condition_variable>
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
    bool HungUp() const;

    // Everything the port wrote so far, in order.
    std::vector<std::uint8_t> Heard() const;
    // Waits until at least `count` bytes were heard; false after `timeoutMs`.
    bool WaitHeard(std::size_t count, std::uint32_t timeoutMs) const;
    // Called on the simulator thread with each chunk the port wrote (after its echo is queued).
    // Set it before the port writes anything.
    std::function<void(const std::vector<std::uint8_t>& bytes)> OnHeard;

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
    mutable std::condition_variable heardChanged_;
    std::vector<Pending> pending_;
    std::vector<std::uint8_t> heard_;
    Echo echo_ = Echo::Immediate;
    std::uint32_t echoDelayMs_ = 0;
    bool stop_ = false;
    bool hungUp_ = false;
    std::thread thread_;
};
