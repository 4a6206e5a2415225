#include "ScriptedPort.h"

#include <algorithm>
#include <cstring>

#include "line/Protocol.h"

ScriptedPort::ScriptedPort(VirtualClock& clock) : clock_(clock) {}

void ScriptedPort::Bind(TMVPort& port)
{
    port.Open = [this, &port] { return DoOpen(port); };
    port.Close = [this, &port] { return DoClose(port); };
    port.Purge = [this] { return DoPurge(); };
    port.SetState = [this](const TDCB* dcb) { return DoSetState(dcb); };
    port.Read = [this, &port](std::uint8_t* bytes, std::uint8_t* flags, std::uint32_t count,
                              std::uint32_t* read) { return DoRead(port, bytes, flags, count, read); };
    port.Write = [this](const std::uint8_t* bytes, std::uint32_t count, std::uint32_t* written) {
        return DoWrite(bytes, count, written);
    };
    port.GetInQueue = nullptr;   // the line engine never asks; a call would be a new need
}

void ScriptedPort::Schedule(std::uint32_t firstTick, const std::vector<std::uint8_t>& bytes)
{
    // Caller holds the mutex.
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint32_t tick =
            firstTick + static_cast<std::uint32_t>((static_cast<std::uint64_t>(i) * ByteTimeUs) / 1000);
        const auto at = std::upper_bound(line_.begin(), line_.end(), tick,
                                         [](std::uint32_t t, const Arrival& a) {
                                             return static_cast<std::int32_t>(t - a.Tick) < 0;
                                         });
        line_.insert(at, Arrival {tick, bytes[i]});
    }
}

void ScriptedPort::PlayAt(std::uint32_t tick, const std::vector<std::uint8_t>& bytes)
{
    std::lock_guard lock(mutex_);
    Schedule(tick, bytes);
}

void ScriptedPort::PlayAfter(std::uint32_t ms, const std::vector<std::uint8_t>& bytes)
{
    PlayAt(clock_.Now() + ms, bytes);
}

std::vector<ScriptedPort::Arrival> ScriptedPort::Timeline() const
{
    std::lock_guard lock(mutex_);
    return {line_.begin(), line_.end()};
}

void ScriptedPort::SetEcho(Echo echo) { std::lock_guard lock(mutex_); echo_ = echo; }
void ScriptedPort::FailOpen(int times, TPortRefusal why)
{
    std::lock_guard lock(mutex_);
    failOpens_ = times;
    refusal_ = why;
}

void ScriptedPort::HangUp() { std::lock_guard lock(mutex_); hungUp_ = true; }
void ScriptedPort::Restore() { std::lock_guard lock(mutex_); hungUp_ = false; }

std::vector<ScriptedPort::Call> ScriptedPort::Calls() const
{
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<ScriptedPort::Call> ScriptedPort::CallsOf(Op kind) const
{
    std::lock_guard lock(mutex_);
    std::vector<Call> out;
    for (const Call& c : calls_)
        if (c.Kind == kind)
            out.push_back(c);
    return out;
}

void ScriptedPort::ClearCalls() { std::lock_guard lock(mutex_); calls_.clear(); }

ScriptedPort::Call ScriptedPort::Begin(Op kind) const
{
    Call c {};
    c.Kind = kind;
    c.Tick = clock_.Now();
    c.Parity = parity_;
    return c;
}

bool ScriptedPort::DoOpen(TMVPort& port)
{
    std::lock_guard lock(mutex_);
    Call c = Begin(Op::Open);
    port.SetLost(false);
    c.Result = !hungUp_ && failOpens_ == 0 && !open_;
    port.Refusal = failOpens_ > 0 ? refusal_ : TPortRefusal::None;
    if (failOpens_ > 0)
        --failOpens_;
    if (c.Result) {
        open_ = true;
        parity_ = ParitySpace;
        port.Handle = nextHandle_++;
    } else if (!open_) {
        port.Handle = InvalidPortHandle;
    }
    Log(c);
    return c.Result;
}

bool ScriptedPort::DoClose(TMVPort& port)
{
    std::lock_guard lock(mutex_);
    Call c = Begin(Op::Close);
    c.Result = open_;
    open_ = false;
    port.Handle = InvalidPortHandle;
    port.SetLost(false);
    Log(c);
    return c.Result;
}

bool ScriptedPort::DoPurge()
{
    std::lock_guard lock(mutex_);
    Call c = Begin(Op::Purge);
    c.Result = open_ && !hungUp_;
    if (c.Result) {
        const std::uint32_t now = clock_.Now();
        while (!line_.empty() && TickReached(now, line_.front().Tick))
            line_.pop_front();
    }
    Log(c);
    return c.Result;
}

bool ScriptedPort::DoSetState(const TDCB* dcb)
{
    std::lock_guard lock(mutex_);
    Call c = Begin(Op::SetState);
    c.Result = dcb && open_ && !hungUp_;
    if (dcb)
        c.Parity = dcb->Parity;
    if (c.Result)
        parity_ = dcb->Parity;
    Log(c);
    return c.Result;
}

bool ScriptedPort::DoRead(TMVPort& port, std::uint8_t* bytes, std::uint8_t* flags,
                          std::uint32_t count, std::uint32_t* read)
{
    std::lock_guard lock(mutex_);
    Call c = Begin(Op::Read);
    c.Count = count;
    *read = 0;
    if (!open_ || hungUp_) {
        if (hungUp_)
            port.SetLost(true);
        c.Result = false;
        Log(c);
        return false;
    }
    const std::uint32_t deadline = c.Tick + ReadTimeoutMs;
    while (c.Bytes.size() < count && !line_.empty()) {
        const Arrival next = line_.front();
        if (!TickReached(deadline, next.Tick))
            break;
        if (!TickReached(clock_.Now(), next.Tick))
            clock_.Set(next.Tick);
        c.Bytes.push_back(next.Byte);
        line_.pop_front();
    }
    if (c.Bytes.size() < count)
        clock_.Set(deadline);
    *read = static_cast<std::uint32_t>(c.Bytes.size());
    if (*read > 0) {
        std::memcpy(bytes, c.Bytes.data(), *read);
        std::memset(flags, 0, *read);
    }
    c.Result = true;
    Log(c);
    return true;
}

bool ScriptedPort::DoWrite(const std::uint8_t* bytes, std::uint32_t count, std::uint32_t* written)
{
    Call c;
    {
        std::lock_guard lock(mutex_);
        c = Begin(Op::Write);
        c.Count = count;
        c.Bytes.assign(bytes, bytes + count);
        c.Result = open_ && !hungUp_;
        *written = c.Result ? count : 0;
        if (c.Result && echo_ == Echo::All) {
            const std::uint32_t first =
                c.Tick + EchoDelayMs + static_cast<std::uint32_t>((ByteTimeUs + 999) / 1000);
            Schedule(first, c.Bytes);
        }
        Log(c);
    }
    if (c.Result && OnWrite)
        OnWrite(c);
    return c.Result;
}

std::string ScriptedPort::Trace() const
{
    static const char* const names[] = {"Open", "Close", "Purge", "SetState", "Read", "Write"};
    auto hex = [](const std::vector<std::uint8_t>& bytes) {
        return FormatHex(bytes.data(), nullptr, static_cast<int>(bytes.size())).toStdString();
    };
    auto parity = [](std::uint8_t p) { return p == ParityMark ? "M" : p == ParitySpace ? "S" : "?"; };
    std::lock_guard lock(mutex_);
    std::string out;
    for (const Call& c : calls_) {
        if (!out.empty())
            out += ' ';
        out += names[static_cast<int>(c.Kind)];
        switch (c.Kind) {
        case Op::SetState: out += std::string("(") + parity(c.Parity) + ")"; break;
        case Op::Write: out += std::string("(") + parity(c.Parity) + ":" + hex(c.Bytes) + ")"; break;
        case Op::Read: out += "(" + std::to_string(c.Count) + ":" + hex(c.Bytes) + ")"; break;
        default: break;
        }
        if (!c.Result)
            out += "!";
    }
    return out;
}
