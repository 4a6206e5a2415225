#include "ScriptedPort.h"

#include <algorithm>
#include <utility>

void ScriptedPort::Bind(TMVPort& port)
{
    port.Open = [this, &port] {
        Call& c = Begin(Op::Open);
        c.Result = !hungUp_ && failOpens_ == 0;
        port.Refusal = failOpens_ > 0 ? refusal_ : TPortRefusal::None;
        failOpens_ = std::max(failOpens_ - 1, 0);
        open_ = c.Result;
        parity_ = ParitySpace;
        port.Handle = c.Result ? 100 : InvalidPortHandle;
        port.SetLost(false);
        return c.Result;
    };
    port.Close = [this, &port] {
        Call& c = Begin(Op::Close);
        c.Result = std::exchange(open_, false);
        port.Handle = InvalidPortHandle;
        port.SetLost(false);
        return c.Result;
    };
    port.Purge = [this] {
        Call& c = Begin(Op::Purge);
        c.Result = Usable();
        while (c.Result && !line_.empty() && TickReached(c.Tick, line_.front().Tick))
            line_.pop_front();
        return c.Result;
    };
    port.SetState = [this](const TDCB* dcb) {
        Call& c = Begin(Op::SetState);
        c.Parity = dcb->Parity;
        c.Result = Usable();
        if (c.Result)
            parity_ = dcb->Parity;
        return c.Result;
    };
    port.Read = [this, &port](std::uint8_t* bytes, std::uint8_t* flags, std::uint32_t count, std::uint32_t* read) {
        Call& c = Begin(Op::Read);
        c.Count = count;
        c.Result = Usable();
        if (hungUp_)
            port.SetLost(true);
        const std::uint32_t deadline = c.Tick + ComTimeouts.ReadTotalTimeoutConstant;
        while (c.Result && c.Bytes.size() < count && !line_.empty() && TickReached(deadline, line_.front().Tick)) {
            if (!TickReached(clock_.Now(), line_.front().Tick))
                clock_.Set(line_.front().Tick);
            c.Bytes.push_back(line_.front().Byte);
            line_.pop_front();
        }
        if (c.Result && c.Bytes.size() < count)
            clock_.Set(deadline);
        *read = static_cast<std::uint32_t>(c.Bytes.size());
        std::copy(c.Bytes.begin(), c.Bytes.end(), bytes);
        std::fill_n(flags, *read, 0);
        return c.Result;
    };
    port.Write = [this](const std::uint8_t* bytes, std::uint32_t count, std::uint32_t* written) {
        Call& c = Begin(Op::Write);
        c.Count = count;
        c.Bytes.assign(bytes, bytes + count);
        c.Result = Usable();
        *written = c.Result ? count : 0;
        const Call write = c;   // the log may grow while a test answers
        if (write.Result && Echoes)
            PlayAt(write.Tick + EchoDelayMs + WireTimeMs(1), write.Bytes);
        if (write.Result && OnWrite)
            OnWrite(write);
        return write.Result;
    };
    port.GetInQueue = nullptr;   // the line engine never asks; a call would be a new need
}

void ScriptedPort::PlayAt(std::uint32_t tick, const Bytes& bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint32_t at = tick + static_cast<std::uint32_t>(i * LineByteTimeUs / 1000);
        const auto place = std::upper_bound(line_.begin(), line_.end(), at, [](std::uint32_t t, const Arrival& a) {
            return static_cast<std::int32_t>(t - a.Tick) < 0;
        });
        line_.insert(place, Arrival{at, bytes[i]});
    }
}

std::vector<ScriptedPort::Call> ScriptedPort::CallsOf(Op kind) const
{
    std::vector<Call> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out), [kind](const Call& c) { return c.Kind == kind; });
    return out;
}

std::string ScriptedPort::Trace() const
{
    static const char* const names[] = {"Open", "Close", "Purge", "SetState", "Read", "Write"};
    auto hex = [](const Bytes& bytes) { return FormatHex(bytes.data(), nullptr, static_cast<int>(bytes.size())).toStdString(); };
    auto parity = [](std::uint8_t p) { return p == ParityMark ? "M" : p == ParitySpace ? "S"
                                                                                       : "?"; };
    std::string out;
    for (const Call& c : calls_) {
        if (!out.empty())
            out += ' ';
        out += names[static_cast<int>(c.Kind)];
        if (c.Kind == Op::SetState)
            out += std::string("(") + parity(c.Parity) + ")";
        if (c.Kind == Op::Write)
            out += std::string("(") + parity(c.Parity) + ":" + hex(c.Bytes) + ")";
        if (c.Kind == Op::Read)
            out += "(" + std::to_string(c.Count) + ":" + hex(c.Bytes) + ")";
        if (!c.Result)
            out += "!";
    }
    return out;
}
