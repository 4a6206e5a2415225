#pragma once
// A port on a scripted line for deterministic tests of the line engine.
//
// Bind() rebinds the seven operations of a TMVPort to a timeline of incoming bytes on a
// VirtualClock. Nothing sleeps: a Read that has to wait moves the clock instead.
//
//   VirtualClock clock;
//   ScriptedPort line(clock);
//   TMVPort port("ttyS1");
//   line.Bind(port);
//   line.PlayAt(clock.Now() + 5, {0x81, 0x12, 0x93});   // bytes reach the port at that tick
//   line.PlayAfter(20, {0x05});                          // ... or that many ms from now
//
// Timeline. Every byte has an arrival tick: PlayAt/PlayAfter space a message's bytes one byte
// time (ByteTimeUs, rounded down to whole ms) apart, the first at the given tick; ByteTimeUs = 0
// makes them arrive together. Read(count) starts at Now(): it takes the bytes that
// have arrived, and while fewer than `count` came it moves the clock to the next arrival, as
// long as that is within ReadTimeoutMs of the start; otherwise it moves the clock to start +
// ReadTimeoutMs and returns what it has (with both time-outs 40 ms the deadline never moves).
// A Read that gets all `count` bytes leaves the clock at the last byte's arrival.
//
// Echo. Every written byte is on the shared line and comes back: byte i of a Write that starts
// at tick t arrives at t + EchoDelayMs + ceil(ByteTimeUs / 1000) + floor(i * ByteTimeUs / 1000).
// SetEcho(Echo::None) drops the echo; EchoDelayMs delays it; OnWrite lets a test play a device's
// answer (or anything else) in reply to what was written, e.g.
//   line.OnWrite = [&](const ScriptedPort::Call& w) {
//       if (w.Parity == ParityMark) line.PlayAfter(3, answer); };
// Write itself takes no time on the clock (the driver buffers it).
//
// Faults. FailOpen(n) makes the next n opens fail; HangUp() makes the device vanish: Read
// returns false with 0 bytes and the port reports Lost(), Write returns false, and Open fails
// until Restore(). FailSetState/FailWrite/FailPurge make those operations return false.
//
// Call log. Every operation appends a Call with its tick, arguments and result; Parity is the
// parity the line was set to by the last SetState (ParitySpace before any), so each Write can be
// checked for the ninth bit it went out with.
//
// The object may be driven from one thread at a time; a mutex guards the timeline so that a
// test thread may add bytes while another reads.
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
    enum class Op { Open, Close, Purge, SetState, Read, Write, GetInQueue };
    enum class Echo { All, None };

    struct Call {
        Op Kind;
        std::uint32_t Tick;                 // clock when the call began
        std::uint32_t EndTick;              // clock when it returned
        bool Result;
        std::uint8_t Parity;                // SetState: the parity asked for; others: line parity
        std::uint8_t ByteSize;              // SetState only
        std::uint8_t StopBits;              // SetState only
        std::uint32_t Count;                // Read/Write: count asked; GetInQueue: count given
        std::vector<std::uint8_t> Bytes;    // Write: bytes sent; Read: bytes delivered
    };

    struct Arrival {
        std::uint32_t Tick;
        std::uint8_t Byte;
    };

    explicit ScriptedPort(VirtualClock& clock);

    // Binds the seven operations of `port` to this line (its name stays).
    void Bind(TMVPort& port);

    // Incoming bytes.
    void PlayAt(std::uint32_t tick, const std::vector<std::uint8_t>& bytes);
    // The same, the first byte arriving `ms` from now.
    void PlayAfter(std::uint32_t ms, const std::vector<std::uint8_t>& bytes);
    // Bytes that arrived and were not read yet (at Now()).
    std::uint32_t Pending() const;
    // Bytes still to arrive or unread, in order.
    std::vector<Arrival> Timeline() const;

    // Echo rule.
    void SetEcho(Echo echo);
    std::uint32_t EchoDelayMs = 0;
    std::uint32_t ByteTimeUs = 1146;        // 11 bits at 9600 baud
    std::uint32_t ReadTimeoutMs = 40;
    std::function<void(const Call& write)> OnWrite;

    // Faults.
    void FailOpen(int times);
    void HangUp();
    void Restore();
    bool FailSetState = false;
    bool FailWrite = false;
    bool FailPurge = false;

    // State seen by the port.
    bool IsOpen() const;
    std::uint8_t LineParity() const;

    // Call log.
    std::vector<Call> Calls() const;
    std::vector<Call> CallsOf(Op kind) const;
    void ClearCalls();
    // Compact text of the log, e.g. "Open SetState(M) Write(M:81) Read(3:81 12 93)", for
    // readable expectations; a call that returned false ends with "!".
    std::string Trace() const;

private:
    bool DoOpen(TMVPort& port);
    bool DoClose(TMVPort& port);
    bool DoPurge();
    bool DoSetState(const TDCB* dcb);
    bool DoRead(TMVPort& port, std::uint8_t* bytes, std::uint8_t* flags, std::uint32_t count,
                std::uint32_t* read);
    bool DoWrite(const std::uint8_t* bytes, std::uint32_t count, std::uint32_t* written);
    bool DoGetInQueue(std::uint32_t* count);
    void Log(Call call);
    void Schedule(std::uint32_t firstTick, const std::vector<std::uint8_t>& bytes);
    Call Begin(Op kind) const;

    VirtualClock& clock_;
    mutable std::mutex mutex_;
    std::deque<Arrival> line_;              // sorted by tick
    std::vector<Call> calls_;
    Echo echo_ = Echo::All;
    int failOpens_ = 0;
    bool hungUp_ = false;
    bool open_ = false;
    std::uint8_t parity_ = ParitySpace;
    std::intptr_t nextHandle_ = 100;
};
