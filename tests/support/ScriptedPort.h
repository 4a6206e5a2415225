#pragma once
// A port on a scripted line, for one thread: Bind() rebinds a TMVPort's six line operations to a
// timeline of incoming bytes on a VirtualClock, and logs every call (Parity: the line's parity
// at the call; for SetState the parity asked for). Nothing sleeps: a Read moves the clock to each
// byte's arrival, and when short to the port's read time-out after it began.
//
// PlayAt/PlayAfter space a message's bytes one byte time (LineByteTimeUs, rounded down to whole
// ms) apart. Byte i of a Write at tick t comes back at t + EchoDelayMs + WireTimeMs(1) +
// floor(i * LineByteTimeUs / 1000), unless Echoes is off; OnWrite lets a test answer a write.
// FailOpen(n, why) fails the next n opens, the port telling why; HangUp() makes the device
// vanish (Read fails and the port reports Lost(), Write and Open fail) until Restore().
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "VirtualClock.h"
#include "line/Port.h"
#include "line/Protocol.h"
#include "model/Catalogue.h"

using Bytes = std::vector<std::uint8_t>;

// The messages a test plays: the address byte (wire for a request, plain for an answer), the
// body and the check byte, which a one-byte request has not.
inline Bytes Message(std::uint8_t address, const Bytes& body, bool check)
{
    Bytes m(body.size() + 1, address);
    std::copy(body.begin(), body.end(), m.begin() + 1);
    if (check)
        m.push_back(CheckByteOf(m.data(), static_cast<int>(m.size())));
    return m;
}
inline Bytes Request(int row, const Bytes& body = {})
{
    return Message(DeviceCatalogue[row].WireAddress, body, DeviceCatalogue[row].RequestLength > 1);
}
inline Bytes Answer(int row, const Bytes& body) { return Message(DeviceCatalogue[row].Address, body, true); }
inline Bytes Join(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ScriptedPort {
public:
    // clang-format off
    enum class Op { Open, Close, Purge, SetState, Read, Write };
    // clang-format on

    struct Call {
        Op Kind;
        std::uint32_t Tick;   // clock when the call began
        bool Result;
        std::uint8_t Parity;
        std::uint32_t Count;               // Read/Write: count asked
        std::vector<std::uint8_t> Bytes;   // Write: bytes sent; Read: bytes delivered
    };

    struct Arrival {
        std::uint32_t Tick;
        std::uint8_t Byte;
    };

    explicit ScriptedPort(VirtualClock& clock) : clock_(clock) {}

    void Bind(TMVPort& port);

    void PlayAt(std::uint32_t tick, const Bytes& bytes);
    void PlayAfter(std::uint32_t ms, const Bytes& bytes) { PlayAt(clock_.Now() + ms, bytes); }
    // Bytes still to arrive or unread, in order.
    const std::deque<Arrival>& Timeline() const { return line_; }

    bool Echoes = true;
    std::uint32_t EchoDelayMs = 0;
    std::function<void(const Call& write)> OnWrite;

    void FailOpen(int times, TPortRefusal why = TPortRefusal::None)
    {
        failOpens_ = times;
        refusal_ = why;
    }
    void HangUp() { hungUp_ = true; }
    void Restore() { hungUp_ = false; }

    std::vector<Call> CallsOf(Op kind) const;
    void ClearCalls() { calls_.clear(); }
    // The log as text, e.g. "Open SetState(M) Write(M:81) Read(3:81 12 93)"; a failed call ends in "!".
    std::string Trace() const;

private:
    Call& Begin(Op kind) { return calls_.emplace_back(Call{kind, clock_.Now(), false, parity_, 0, {}}); }
    bool Usable() const { return open_ && !hungUp_; }

    VirtualClock& clock_;
    std::deque<Arrival> line_;   // sorted by tick
    std::vector<Call> calls_;
    int failOpens_ = 0;
    TPortRefusal refusal_ = TPortRefusal::None;
    bool hungUp_ = false;
    bool open_ = false;
    std::uint8_t parity_ = ParitySpace;
};
