// The hostile line: see HostileLine.h.
#include "HostileLine.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "FakeHost.h"
#include "ScriptedPort.h"
#include "line/LineEngine.h"
#include "line/LineLog.h"
#include "model/DeviceInfo.h"
#include "model/LineMode.h"
#include "platform/Synchronizer.h"

namespace {
// The longest a framing pass takes on a prompt main thread: two reads.
constexpr std::uint32_t PassMs = 80;
// Addresses whose wire byte is the plain address: an answer's first byte reads as a request.
constexpr std::uint8_t PlainWireAddresses[] = {5, 11, 14, 18, 23, 25, 28, 35, 38, 40, 45, 49, 52, 58};
// Addresses shared by rows of different lengths: an exchange is told by what it takes.
constexpr std::uint8_t SharedAddresses[] = {3, 4, 13, 28, 45, 46, 50, 51, 53};

int RowAmong(const THostileDraw& draw, const std::uint8_t* addresses, std::size_t count)
{
    const auto& rows = FrameInfoVectors[addresses[draw(static_cast<std::uint32_t>(count))]];
    return static_cast<int>(rows[draw(static_cast<std::uint32_t>(rows.size()))] - DeviceCatalogue);
}

int RowAt(const THostileDraw& draw)
{
    switch (draw(4)) {
    case 0: return RowAmong(draw, PlainWireAddresses, std::size(PlainWireAddresses));
    case 1: return RowAmong(draw, SharedAddresses, std::size(SharedAddresses));
    default: return static_cast<int>(draw(DeviceCatalogueCount));
    }
}

struct THostileWorld {
    THostileWorld(const THostileDraw& d, const THostileSetup& s) : draw(d), setup(s) {}

    void AddDevices()
    {
        for (int i = 0, count = 2 + static_cast<int>(draw(5)); i < count; ++i) {
            const int row = RowAt(draw);
            const std::uint8_t address = DeviceCatalogue[row].Address;
            if (host.byAddr[address])
                continue;
            const auto mode = static_cast<std::uint8_t>(draw(4) == 0 ? ModeDisabled : draw(2) ? ModeEmulate
                                                                                              : ModeReceive);
            objects.push_back(std::make_unique<TSchemeObject>(QStringLiteral("d"), static_cast<std::uint32_t>(row), mode));
            const Bytes answer = Random(static_cast<int>(objects.back()->Answer.size()));
            std::copy(answer.begin(), answer.end(), objects.back()->Answer.begin());
            host.devices.push_back(std::make_unique<TDeviceInfo>(objects.back().get(), &handlers, &host));
            host.byAddr[address] = host.devices.back().get();
        }
    }

    // The echo of one emulated answer, as the line brings it back: its last byte at most 60 ms
    // later than a prompt echo would bring it.
    void Echo(const ScriptedPort::Call& write)
    {
        Bytes bytes = write.Bytes;
        const std::uint32_t latest = write.Tick + 1 + WireTimeMs(static_cast<int>(bytes.size())) + 60;
        std::uint32_t at = write.Tick + 1 + (setup.LateEchoes ? 35 + draw(26) : 0);
        switch (silentLine ? 0 : 1 + draw(6)) {
        case 0: return;   // a line without echo
        case 1:
            if (draw(3) == 0)
                return;
            break;                                                                         // dropped now and then
        case 2: at += draw(61); break;                                                     // late
        case 3: break;                                                                     // whole (spaced below)
        case 4: bytes.resize(draw(static_cast<std::uint32_t>(bytes.size())) + 1); break;   // cut
        case 5: bytes.erase(bytes.begin(), bytes.begin() + draw(static_cast<std::uint32_t>(bytes.size()))); break;
        default:   // corrupted
            for (int n = 1 + static_cast<int>(draw(static_cast<std::uint32_t>(bytes.size()))); n > 0; --n)
                bytes[draw(static_cast<std::uint32_t>(bytes.size()))] = Corruption();
        }
        std::vector<std::uint32_t> ticks;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            ticks.push_back(std::min(at, latest));
            at += 1 + draw(2) + (draw(4) == 0 ? draw(12) : 0);   // spaced now and then
        }
        // Two senders at once garble each other: a byte of the master's inside the echo's span
        // leaves nothing of the echo (the master's byte is kept, the harder case).
        for (const ScriptedPort::Arrival& a : line.Timeline())
            if (!ticks.empty() && !TickReached(ticks.front(), a.Tick + 2) && TickReached(ticks.back() + 2, a.Tick))
                return;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            line.PlayAt(ticks[i], {bytes[i]});
    }

    std::uint8_t Corruption()
    {
        switch (draw(3)) {
        case 0: return PlainWireAddresses[draw(std::size(PlainWireAddresses))];
        case 1:
            if (!host.devices.empty())
                return DeviceCatalogue[AnyDeviceRow()].WireAddress;
            [[fallthrough]];
        default: return static_cast<std::uint8_t>(draw(256));
        }
    }

    // The master's traffic: noise now and then, else requests, answered by the devices that
    // are not emulated, now and then cut or damaged. After bytes that an emulated
    // device may answer, the master waits for that answer as a master does, but not for its
    // echo, which may come back 60 ms late.
    //
    // A scheme device's whole exchange is surely framed from its first byte only once the
    // framing is done with everything before it. On a prompt main thread that is so when the
    // bytes before it were whole exchanges of that kind, each taken as it came; else only when
    // they had time enough: every byte a pass of two reads at most, and every answer its echo
    // on top. Anywhere else a valid exchange that noise or lag makes of its first bytes and
    // those before them may leave the rest of its bytes to be framed one by one.
    void PlayMaster()
    {
        std::uint32_t at = clock.Now();
        std::uint32_t settled = at;   // by when the framing surely waits at a message boundary
        const bool prompt = setup.StepMs == 0 && !setup.Stalls;
        for (int i = 0, count = 12 + static_cast<int>(draw(25)); i < count; ++i) {
            at += draw(4) == 0 ? draw(12) : draw(6) == 0 ? 1000 + draw(2000)
                                                         : draw(150);   // now and then a pause
            const Bytes m = draw(4) == 0 ? Random(1 + static_cast<int>(draw(20))) : MasterExchange();
            const bool aligned = prompt && TickReached(at, settled);
            const bool taken = aligned && wholeExchange;
            const int answerable = CountRequests(m, aligned);
            line.PlayAt(at, m);
            const auto size = static_cast<std::uint32_t>(m.size());
            settled = taken ? at + size * 2
                            : std::max(settled, at) + size * PassMs +
                                  static_cast<std::uint32_t>(answerable) * (EchoWindowMs(MaxAnswerLength) + MaxAnswerLength * PassMs);
            at += size * 2 + (answerable > 0 ? WireTimeMs(MaxAnswerLength) + 2 : 0);
        }
    }

    // Devices that the program does not emulate answer now and then: those it listens to, the
    // disabled ones, and, at a free address, one the scheme does not hold, also of another row
    // of a shared address than the scheme's device there.
    Bytes MasterExchange()
    {
        const int row = !host.devices.empty() && draw(3) != 0 ? AnyDeviceRow() : RowAt(draw);
        const TFrameInfo& info = DeviceCatalogue[row];
        Bytes m = Request(row, Body(info.RequestLength - 2));
        const TDeviceInfo* device = host.byAddr[info.Address];
        const bool emulated = device && device->SchemeObject->Mode == ModeEmulate;
        const bool answered = !emulated && draw(4) != 0;
        if (answered)
            m = Join(m, Answer(row, Body(info.AnswerLength - 2)));
        const auto size = static_cast<std::uint32_t>(m.size());
        switch (draw(8)) {
        case 0: m.resize(draw(size) + 1); break;   // cut short
        case 1: m[draw(size)] ^= 0x10; break;      // damaged
        default:
            // One request, whatever its body holds; and a device's own exchange taken whole,
            // none at all, whatever its request's and answer's bodies hold.
            if (emulated && DeviceCatalogue[row].WireAddress == m[0])
                wholeRequest = true;
            else if (answered && device && static_cast<int>(device->SchemeObject->Type) == row)
                wholeExchange = true;
            break;
        }
        return m;
    }

    // A request body: random, with now and then the wire byte of a device's row in it.
    Bytes Body(int count)
    {
        Bytes body = Random(count);
        for (auto& b : body)
            if (!host.devices.empty() && draw(6) == 0)
                b = DeviceCatalogue[AnyDeviceRow()].WireAddress;
        return body;
    }

    int AnyDeviceRow() { return static_cast<int>(host.devices[draw(static_cast<std::uint32_t>(host.devices.size()))]->SchemeObject->Type); }

    Bytes Random(int count)
    {
        Bytes bytes(static_cast<std::size_t>(std::max(count, 0)));
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(draw(256));
        return bytes;
    }

    // A whole request to an emulated device counts once, and a scheme device's whole exchange
    // framed from its first byte none. Elsewhere every byte of the master's side that reads as
    // the request of an emulated device counts: a byte of noise or in a damaged message may be
    // one, and the framing cannot tell. Returns the requests counted.
    int CountRequests(const Bytes& bytes, bool aligned)
    {
        if (std::exchange(wholeExchange, false) && aligned)
            return 0;
        if (std::exchange(wholeRequest, false)) {
            ++out.Requests[AddressOf(bytes[0])];
            return 1;
        }
        int counted = 0;
        for (std::uint8_t b : bytes) {
            const TDeviceInfo* device = host.byAddr[AddressOf(b)];
            if (device && device->SchemeObject->Mode == ModeEmulate && DeviceCatalogue[device->SchemeObject->Type].WireAddress == b) {
                ++out.Requests[AddressOf(b)];
                ++counted;
            }
        }
        return counted;
    }

    void Run()
    {
        host.lineLogOn = true;
        LineLogClear();
        line.Echoes = false;
        silentLine = draw(5) == 0;
        line.OnWrite = [this](const ScriptedPort::Call& write) {
            ++out.Answers[write.Bytes.empty() ? 0 : write.Bytes[0] & 0x3F];
            Echo(write);
        };
        AddDevices();
        TLineEngine engine(host, clock, sync);
        line.Bind(engine.Port);
        engine.Port.Open();
        engine.PortOpened();
        engine.LineEchoes = setup.LineEchoes;
        PlayMaster();
        for (int pass = 0; pass < 20000 && !out.Settled; ++pass) {
            out.Settled = line.Timeline().empty() && engine.RxBytes.Count == 0;
            if (!out.Settled)
                engine.FramingPass();
            out.MaxPending = std::max(out.MaxPending, static_cast<int>(engine.PendingBytes.Count));
            out.Consistent = out.Consistent && engine.PendingBytes.Count == engine.PendingFlags.Count &&
                             engine.RxBytes.Count == engine.RxFlags.Count;
        }
        for (const auto& read : line.CallsOf(ScriptedPort::Op::Read))
            out.Read.insert(out.Read.end(), read.Bytes.begin(), read.Bytes.end());
        out.LogOverflowed = LineLogCount >= LineLogCapacity;
        for (int i = 0; i < LineLogCount; ++i) {
            const TLineRecord& r = LineLogRecord(i);
            out.Consistent = out.Consistent && r.Result >= 0 && r.Result <= 6 && (r.FrameInfo || r.Result != 0);
        }
        out.HandedOff = LineLogBytes();
        for (const TRoundBuffer* held : {&engine.PendingBytes, &engine.RxBytes})
            for (int i = 0; i < held->Count; ++i)
                out.HandedOff.push_back(held->At(i));
        LineLogClear();
    }

    const THostileDraw& draw;
    const THostileSetup& setup;
    VirtualClock clock;
    ScopedTicks scopedTicks{clock};
    ScriptedPort line{clock};
    SlowSynchronizer sync{clock, [this] {
                              return setup.StepMs + (setup.Stalls && draw(10) == 0 ? 5 + draw(21) : 0);
                          }};
    FakeHost host;
    TFrameHandlers handlers = host.Handlers();
    std::vector<std::unique_ptr<TSchemeObject>> objects;
    bool silentLine = false;
    bool wholeRequest = false;    // the message being played is a whole request to an emulated device
    bool wholeExchange = false;   // ... a scheme device's whole exchange, which it does not emulate
    THostileOutcome out;
};
}

int THostileOutcome::WorstExcess() const
{
    int worst = -1000;
    for (int a = 0; a < 64; ++a)
        if (Answers[a] > 0)
            worst = std::max(worst, Answers[a] - Requests[a]);
    return worst;
}

std::vector<std::uint8_t> LineLogBytes()
{
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < LineLogCount; ++i)
        for (const QString* text : {&LineLogRecord(i).RequestText, &LineLogRecord(i).AnswerText})
            for (const QString& word : text->split(' ', Qt::SkipEmptyParts))
                bytes.push_back(static_cast<std::uint8_t>(QStringView(word).mid(word.startsWith('\'') ? 1 : 0).toUInt(nullptr, 16)));
    return bytes;
}

THostileOutcome RunHostileLine(const THostileDraw& draw, const THostileSetup& setup)
{
    const int mode = LineMode.load();
    LineMode = LineModeMaster;
    THostileOutcome out;
    {
        THostileWorld world(draw, setup);
        world.Run();
        out = world.out;
        world.host.ClearDevices();
    }
    LineMode = mode;
    return out;
}
