#pragma once
// A port on a scripted line: Bind() rebinds a TMVPort's six line operations to a timeline of
// incoming bytes on a VirtualClock. Nothing sleeps: a Read that has to wait moves the clock.
//
// Timeline: PlayAt/PlayAfter space a message's bytes one byte time (ByteTimeUs, rounded down to
// whole ms) apart. Read(count) takes what has arrived and, while short, moves the clock to the
// next arrival within ReadTimeoutMs of its start; else to start + ReadTimeoutMs. A Read that gets
// all `count` bytes leaves the clock at the last byte's arrival.
//
// Echo: byte i of a Write at tick t comes back at t + EchoDelayMs + ceil(ByteTimeUs / 1000) +
// floor(i * ByteTimeUs / 1000), unless SetEcho(Echo::None). OnWrite lets a test answer a write.
// Write takes no time on the clock (the driver buffers it).
//
// Faults: FailOpen(n, why) fails the next n opens, the port telling why; HangUp() makes the device vanish (Read fails and
// the port reports Lost(), Write and Open fail) until Restore().
//
// Every operation is logged as a Call; Parity is the line's parity at the call (SetState: the
// parity asked for). A mutex guards the timeline so a test thread may add bytes during a Read.
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "VirtualClock.h"
#include "line/Port.h"

class ScriptedPort {
public:
    enum class Op { Open, Close, Purge, SetState, Read, Write };
    enum class Echo { All, None };

    struct Call {
        Op Kind;
        std::uint32_t Tick;                 // clock when the call began
        bool Result;
        std::uint8_t Parity;
        std::uint32_t Count;                // Read/Write: count asked
        std::vector<std::uint8_t> Bytes;    // Write: bytes sent; Read: bytes delivered
    };

    struct Arrival {
        std::uint32_t Tick;
        std::uint8_t Byte;
    };

    explicit ScriptedPort(VirtualClock& clock);

    void Bind(TMVPort& port);

    void PlayAt(std::uint32_t tick, const std::vector<std::uint8_t>& bytes);
    void PlayAfter(std::uint32_t ms, const std::vector<std::uint8_t>& bytes);
    // Bytes still to arrive or unread, in order.
    std::vector<Arrival> Timeline() const;

    void SetEcho(Echo echo);
    std::uint32_t EchoDelayMs = 0;
    std::uint32_t ByteTimeUs = 1146;        // 11 bits at 9600 baud
    std::uint32_t ReadTimeoutMs = 40;
    std::function<void(const Call& write)> OnWrite;

    void FailOpen(int times, TPortRefusal why = TPortRefusal::None);
    void HangUp();
    void Restore();

    std::vector<Call> Calls() const;
    std::vector<Call> CallsOf(Op kind) const;
    void ClearCalls();
    // The log as text, e.g. "Open SetState(M) Write(M:81) Read(3:81 12 93)"; a failed call ends in "!".
    std::string Trace() const;

private:
    bool DoOpen(TMVPort& port);
    bool DoClose(TMVPort& port);
    bool DoPurge();
    bool DoSetState(const TDCB* dcb);
    bool DoRead(TMVPort& port, std::uint8_t* bytes, std::uint8_t* flags, std::uint32_t count,
                std::uint32_t* read);
    bool DoWrite(const std::uint8_t* bytes, std::uint32_t count, std::uint32_t* written);
    void Log(Call call) { calls_.push_back(std::move(call)); }
    void Schedule(std::uint32_t firstTick, const std::vector<std::uint8_t>& bytes);
    Call Begin(Op kind) const;

    VirtualClock& clock_;
    mutable std::mutex mutex_;
    std::deque<Arrival> line_;              // sorted by tick
    std::vector<Call> calls_;
    Echo echo_ = Echo::All;
    int failOpens_ = 0;
    TPortRefusal refusal_ = TPortRefusal::None;
    bool hungUp_ = false;
    bool open_ = false;
    std::uint8_t parity_ = ParitySpace;
    std::intptr_t nextHandle_ = 100;
};
