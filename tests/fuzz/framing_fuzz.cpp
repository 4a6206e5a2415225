// Feeds the framing arbitrary bytes at arbitrary times, with a scheme of up to four devices in
// any mode and an echo that is whole, late or missing. Whatever comes, every byte read is
// handed off once and in order (or still held), the buffers stay within their bounds, and
// the line falls quiet: the program never goes on answering its own echoes.
//
// Input: byte 0 the line (bits 0-1 echo: at once, 50 ms late, none, 41-60 ms late; bit 2
// sensor diagnostics; bits 4-6 mod 5 the main thread: every step at once, or taking 5, 10 or
// 25 ms, or stalling now and then), bytes 1-4 the devices (row = b mod 86, mode = b div 86),
// then pairs of (gap in ms, byte).
//
// The same input then drives one hostile-line stream (support/HostileLine.h; bit 3 of byte 0:
// the connection starts known to echo; a slow main thread meets echoes 35-60 ms late): no
// address gets more emulated answers than the master's requests, and every byte read is
// handed off once.
#include <QApplication>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "line/LineEngine.h"
#include "line/LineLog.h"
#include "model/DeviceInfo.h"
#include "model/LineMode.h"
#include "platform/Synchronizer.h"
#include "support/FakeHost.h"
#include "support/HostileLine.h"
#include "support/ScriptedPort.h"
#include "support/VirtualClock.h"

namespace {
void Require(bool condition, const char* what = "")
{
    if (!condition) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "framing_fuzz";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        // NOLINTNEXTLINE(concurrency-mt-unsafe): before QApplication, no other thread yet
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        new QApplication(argc, argv);
    }
}

// Draws from the input, over and over (a stream needs more draws than short inputs hold).
THostileDraw InputDraw(const std::uint8_t* data, std::size_t size)
{
    return [data, size, at = std::size_t{0}](std::uint32_t n) mutable {
        std::uint32_t value = 0;
        for (int i = 0; i < 3; ++i, ++at)
            value = value << 8 | data[at % size];
        return value % n;
    };
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5)
        return 0;
    EnsureApplication();
    const int slow = (data[0] >> 4 & 7) % 5;
    const std::uint32_t stepMs = std::array<std::uint32_t, 5>{0, 5, 10, 25, 0}[static_cast<std::size_t>(slow)];
    VirtualClock clock;
    ScopedTicks ticks(clock);
    ScriptedPort line(clock);
    std::size_t stall = 0;   // the fifth kind stalls on every eleventh step
    SlowSynchronizer sync(clock, [&] { return slow == 4 ? (++stall % 11 == 0 ? 20u : 0u) : stepMs; });
    FakeHost host;
    host.lineLogOn = true;
    LineLogClear();
    LineMode = (data[0] & 4) ? LineModeSensors : LineModeMaster;
    switch (data[0] & 3) {
    case 1: line.EchoDelayMs = 50; break;
    case 2: line.Echoes = false; break;
    case 3: line.EchoDelayMs = 41 + data[1] % 20; break;
    default: break;
    }
    std::vector<std::unique_ptr<TSchemeObject>> objects;
    TFrameHandlers handlers = host.Handlers();
    for (int i = 1; i <= 4; ++i) {
        const std::uint32_t row = data[i] % DeviceCatalogueCount;
        const std::uint8_t address = DeviceCatalogue[row].Address;
        if (host.byAddr[address])
            continue;
        objects.push_back(std::make_unique<TSchemeObject>(QStringLiteral("d"), row, static_cast<std::uint8_t>(data[i] / 86)));
        host.devices.push_back(std::make_unique<TDeviceInfo>(objects.back().get(), &handlers, &host));
        host.byAddr[address] = host.devices.back().get();
    }

    {
        TLineEngine engine(host, clock, sync);
        line.Bind(engine.Port);
        engine.Port.Open();
        engine.PortOpened();
        std::uint32_t at = clock.Now();
        for (std::size_t i = 5; i + 1 < size; i += 2) {
            at += data[i] % 128;
            line.PlayAt(at, {data[i + 1]});
        }
        bool settled = false;
        for (int pass = 0; pass < 200000 && !settled; ++pass) {
            settled = line.Timeline().empty() && engine.RxBytes.Count == 0;
            if (!settled)
                engine.FramingPass();
            Require(engine.RxBytes.Count <= LineBufferSize && engine.RxBytes.Count == engine.RxFlags.Count);
            Require(engine.PendingBytes.Count <= PendingLimit && engine.PendingBytes.Count == engine.PendingFlags.Count);
        }
        Require(settled);

        std::vector<std::uint8_t> read;
        for (const auto& call : line.CallsOf(ScriptedPort::Op::Read))
            read.insert(read.end(), call.Bytes.begin(), call.Bytes.end());
        for (int i = 0; i < LineLogCount; ++i) {
            const TLineRecord& record = LineLogRecord(i);
            Require(record.Result >= 0 && record.Result < 7);
            Require(record.FrameInfo || record.Result != 0);
        }
        std::vector<std::uint8_t> handedOff = LineLogBytes();
        for (const TRoundBuffer* held : {&engine.PendingBytes, &engine.RxBytes})
            for (int i = 0; i < held->Count; ++i)
                handedOff.push_back(held->At(i));
        if (LineLogCount < LineLogCapacity)
            Require(handedOff == read);
    }
    host.ClearDevices();
    LineLogClear();
    LineMode = LineModeMaster;

    const THostileSetup setup{(data[0] & 8) != 0, slow != 0, stepMs, slow == 4};
    const THostileOutcome hostile = RunHostileLine(InputDraw(data, size), setup);
    Require(hostile.Settled, "the hostile line fell quiet");
    Require(hostile.WorstExcess() <= 0, "no more answers than requests");
    Require(hostile.MaxPending <= PendingLimit, "pending within its limit");
    Require(hostile.LogOverflowed || hostile.HandedOff == hostile.Read, "every byte handed off once");
    return 0;
}

// The offscreen platform's font library leaks a few bytes once per process; not ours.
// NOLINTNEXTLINE(bugprone-reserved-identifier): the name the leak sanitizer looks up
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\nleak:libfreetype\n"; }
