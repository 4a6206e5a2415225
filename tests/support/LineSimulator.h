#pragma once
// A pseudo-terminal pair standing in for a serial port, and on its own thread the other end of
// the line: the shared bus plus the devices a test puts on it. The slave is what the port opens
// (its name "pts/N" is a valid port name); the simulator keeps one slave descriptor of its own
// open, so that the master never sees a hang-up while the port is closed between connections.
//
// Every byte the port writes is heard (logged) and, as on the real bus, echoed back unless the
// echo is dropped or delayed. Times are real time, kept to the microsecond, so that a line paced
// at 9600 baud takes a character's 1146 us, not 2 ms.
#include <QString>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// A device on the line: it answers each request of its catalogue row it hears, at once, with its
// own body, or with a fault.
// clang-format off
enum class BusFault { None, BadCheck, Cut, Silent };
// clang-format on
struct BusDevice {
    int Row;
    std::vector<std::uint8_t> Body;   // the answer's data bytes
    BusFault Fault = BusFault::None;
    bool Changing = false;   // the body's first byte counts up with every answer
};

class LineSimulator {
public:
    // clang-format off
    enum class Echo { Immediate, Delayed, Dropped };
    // clang-format on

    LineSimulator();
    ~LineSimulator();
    LineSimulator(const LineSimulator&) = delete;
    LineSimulator& operator=(const LineSimulator&) = delete;

    bool Ok() const { return keeper_ >= 0; }   // the pair was made
    QString PortName() const { return portName_; }

    void SetEcho(Echo echo, std::uint32_t delayMs = 0);
    // byteTimeUs > 0 paces the line: the devices echo every byte themselves, one character time
    // after it went out (drop the line's own echo), and an answer takes its characters' time
    // too. 1146 us is an 11-bit character at 9600 baud.
    void SetDevices(std::vector<BusDevice> devices, std::uint32_t byteTimeUs = 0);
    // A paced line delivers every character on its own, as a UART does, instead of each message
    // whole once its last character is through.
    void SetByteByByte(bool on);
    // The simulator thread's CPU seconds so far, so that a benchmark can leave it out.
    double CpuSeconds();
    // Bytes onto the line `after` from now, all in one write.
    void Play(const std::vector<std::uint8_t>& bytes, std::chrono::microseconds after = {});
    // Closes the master: the port's next read sees the hang-up.
    void HangUp();

    // Everything the port wrote so far, in order.
    std::vector<std::uint8_t> Heard() const;
    std::atomic<long> Requests{0};   // whole requests the devices heard

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        Clock::time_point Due;
        std::vector<std::uint8_t> Bytes;
        bool HangUp;
    };

    void Schedule(Pending pending);   // and wakes the thread
    void Queue(Pending pending);      // the caller holds the mutex
    // Bytes whose characters begin `before` characters from now, paced (the caller holds the mutex).
    void QueuePaced(Clock::time_point now, std::size_t before, const std::vector<std::uint8_t>& bytes);
    void DeliverDue();
    void Listen();
    // The devices answer what they heard; the caller holds the mutex.
    void AnswerRequests(const std::vector<std::uint8_t>& bytes);
    std::chrono::microseconds WireTime(std::size_t bytes) const { return std::chrono::microseconds(bytes * byteTimeUs_); }

    int master_ = -1;
    int keeper_ = -1;
    QString portName_;
    int wake_[2] = {-1, -1};   // a byte in the pipe ends the wait for the line
    mutable std::mutex mutex_;
    std::vector<Pending> pending_;
    std::vector<std::uint8_t> heard_;
    std::vector<std::uint8_t> unanswered_;   // the start of a request whose body is still to come
    std::vector<BusDevice> devices_;
    std::uint32_t byteTimeUs_ = 0;
    bool byteByByte_ = false;
    Echo echo_ = Echo::Immediate;
    std::uint32_t echoDelayMs_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
