// Frames a long recorded line (valid exchanges of every catalogue row mixed with noise, damaged
// and cut messages) and prints how many bytes the engine frames and hands off per CPU second,
// against the 872 bytes per second that 9600 baud with 11-bit characters can carry.
//
// The recorded stream is served by an in-memory port: every read gets what it asks for at
// once, so the figure is the engine's own cost, not the line's: framing and classification
// alone, and then as the program runs it, the engine on its own thread handing every exchange
// to the real window (61 received devices with their frames and grid rows, the line monitor
// recording with its decoding panel shown) in blocking main-thread steps.
#include <QApplication>
#include <QToolButton>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "WindowBench.h"
#include "line/LineEngine.h"
#include "line/LineLog.h"
#include "model/DeviceInfo.h"
#include "model/LineMode.h"
#include "platform/Synchronizer.h"
#include "platform/Ticks.h"
#include "support/FakeHost.h"
#include "support/VirtualClock.h"

namespace {
constexpr double LineBytesPerSecond = 9600.0 / 11.0;   // about 872

std::vector<std::uint8_t> RecordedStream(std::size_t bytes, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> s;
    s.reserve(bytes + 32);
    while (s.size() < bytes) {
        const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
        if (kind == 0) {   // noise burst
            for (int n = std::uniform_int_distribution<int>(1, 8)(rng); n > 0; --n)
                s.push_back(static_cast<std::uint8_t>(rng()));
            continue;
        }
        const TFrameInfo& row = DeviceCatalogue[std::uniform_int_distribution<int>(0, DeviceCatalogueCount - 1)(rng)];
        std::vector<std::uint8_t> m{row.WireAddress};
        for (int i = 1; i + 1 < row.RequestLength; ++i)
            m.push_back(static_cast<std::uint8_t>(rng()));
        if (row.RequestLength > 1)
            m.push_back(CheckByteOf(m.data(), static_cast<int>(m.size())));
        const std::size_t answerAt = m.size();
        m.push_back(row.Address);
        for (int i = 1; i + 1 < row.AnswerLength; ++i)
            m.push_back(static_cast<std::uint8_t>(rng()));
        m.push_back(CheckByteOf(m.data() + answerAt, row.AnswerLength - 1));
        if (kind == 1)
            m[std::uniform_int_distribution<std::size_t>(0, m.size() - 1)(rng)] ^= 0x01;   // damaged
        else if (kind == 2)
            m.resize(std::uniform_int_distribution<std::size_t>(1, m.size())(rng));   // cut
        s.insert(s.end(), m.begin(), m.end());
    }
    return s;
}

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Result {
    double seconds;
    std::size_t bytes;
};

// Serves the stream to the engine's port, every read at once; `advance` moves a clock on.
template <typename Advance>
void ServeStream(TLineEngine& engine, const std::vector<std::uint8_t>& stream, std::size_t& next, Advance advance)
{
    engine.Port.Read = [&stream, &next, advance](std::uint8_t* bytes, std::uint8_t* flags, std::uint32_t count, std::uint32_t* read) {
        const std::size_t n = std::min<std::size_t>(count, stream.size() - next);
        std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(next), n, bytes);
        std::fill_n(flags, n, 0);
        next += n;
        *read = static_cast<std::uint32_t>(n);
        advance(n);
        return true;
    };
    engine.Port.SetState = [](const TDCB*) { return true; };
}

// The bare framing: no devices, no log, everything on one thread.
Result FrameAlone(const std::vector<std::uint8_t>& stream)
{
    VirtualClock clock;
    ScopedTicks ticks(clock);
    DirectSynchronizer sync;
    FakeHost host;
    host.lineLogOn = false;
    LineLogClear();
    TLineEngine engine(host, clock, sync);
    std::size_t next = 0;
    ServeStream(engine, stream, next, [&clock](std::size_t n) { clock.Advance(n > 0 ? 1 : 40); });
    const double start = CpuSeconds();
    while (next < stream.size() || engine.RxBytes.Count > 0)
        engine.FramingPass();
    return {CpuSeconds() - start, stream.size()};
}

// The engine on a thread of its own, its steps run by the real window.
Result FrameThroughWindow(const std::vector<std::uint8_t>& stream)
{
    WindowBench bench;
    TMirvane2Form& form = bench.NewWindow();
    bench.OpenScheme(ModeReceive);
    form.RightPanelButtonClick(form.ShowRightButton);
    form.DataInfoButtonClick(form.ShowInfoButton);
    form.LineDataButtonClick(form.LineDataStartButton);
    RunLoop(50);
    MainThreadSynchronizer sync;
    TLineEngine engine(form, Ticks(), sync);
    std::size_t next = 0;
    ServeStream(engine, stream, next, [](std::size_t) {});
    std::atomic<bool> done{false};
    const double start = CpuSeconds();
    std::thread worker([&] {
        while (next < stream.size() || engine.RxBytes.Count > 0)
            engine.FramingPass();
        done = true;
    });
    RunLoop(24 * 3600 * 1000, [&done] { return done.load(); });
    worker.join();
    const double seconds = CpuSeconds() - start;
    form.LineDataButtonClick(form.LineDataStopButton);
    LineLogClear();
    bench.CloseWindow();
    return {seconds, stream.size()};
}
}

int main(int argc, char** argv)
{
    // NOLINTNEXTLINE(concurrency-mt-unsafe): before QApplication, no other thread yet
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const std::size_t size = argc > 1 ? static_cast<std::size_t>(std::atol(argv[1])) : 4'000'000;
    const auto stream = RecordedStream(size, 12345);
    std::printf("recorded stream: %zu bytes (%.1f hours of a busy line)\n", stream.size(),
                static_cast<double>(stream.size()) / LineBytesPerSecond / 3600.0);
    const auto print = [](const char* name, const Result& r) {
        const double rate = static_cast<double>(r.bytes) / r.seconds;
        std::printf("%-58s %8.3f s CPU  %12.0f bytes/s  %8.0f x line rate\n", name, r.seconds, rate, rate / LineBytesPerSecond);
    };
    print("framing only (no devices, log off)", FrameAlone(stream));
    // The window takes far longer per exchange: a part of the stream is enough.
    const std::vector<std::uint8_t> part(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(stream.size(), 200'000)));
    std::printf("goal: framing + hand-off through the window >= 20 x line rate (the engine at most 5 %% of the line's time)\n");
    print("framing + hand-off through the window (61 devices, monitor)", FrameThroughWindow(part));
    return 0;
}
