// Sensor diagnostics as the user runs it: the real window (frames, grid, line monitor) with a
// scheme of 61 received devices, its own receive thread polling them over a pty whose simulated
// bus paces every character at 9600 baud (11 bits, 1146 us) and echoes what the program writes.
// For each way of running it prints the engine's CPU (the whole program but the simulator)
// per poll as a share of that poll's line time, and the poll cycle against its wire-time floor.
//
//     poll_bench [seconds] [way ...]     the ways by their numbers, 1 to 4 (default: all)
#include <QToolButton>
#include <cstdlib>
#include <pthread.h>

#include "WindowBench.h"
#include "line/Protocol.h"
#include "model/Host.h"
#include "ui/ReceiveControl.h"
#include "ui/StatusBar.h"

namespace {

// The program's receive thread, which tells the bench its CPU clock on its first pass.
class TBenchReceiveThread final : public TWindowReceiveThread {
public:
    explicit TBenchReceiveThread(THost& host) : TWindowReceiveThread(host)
    {
        OnPass = [this] {
            if (!clockSet.load()) {
                pthread_getcpuclockid(pthread_self(), &clock);
                clockSet = true;
            }
        };
    }

    std::atomic<bool> clockSet{false};
    clockid_t clock{};
};

struct Way {
    const char* name;
    bool byteByByte;
    bool changing;
    bool monitor;
    double goalPercent;
};

struct Figures {
    double seconds = 0;
    long polls = 0;
    double engineCpu = 0;    // the process but the simulator
    double receiveCpu = 0;   // the receive thread alone
    double mainCpu = 0;      // the main thread alone
    QString period;
};

double CycleFloorSeconds()
{
    int chars = 0;
    for (int row : FirstRowOfEachAddress())
        chars += DeviceCatalogue[row].RequestLength + DeviceCatalogue[row].AnswerLength;
    return chars * LineByteTimeUs / 1e6;
}

Figures Run(WindowBench& bench, const Way& way, int seconds)
{
    LineSimulator line;
    line.SetEcho(LineSimulator::Echo::Dropped);   // the paced bus echoes every character itself
    std::vector<BusDevice> devices;
    for (int row : FirstRowOfEachAddress())
        devices.push_back({row, std::vector<std::uint8_t>(static_cast<std::size_t>(DeviceCatalogue[row].AnswerLength - 2), 0x21),
                           BusFault::None, way.changing});
    line.SetDevices(devices, LineByteTimeUs);
    line.SetByteByByte(way.byteByByte);

    // A window that starts polling the pty, the display refreshed on every exchange.
    bench.WriteSettings(QStringLiteral("[SETUP]\nPort=1,0,%1,2\nMode=1\n[VIEW]\nUpdateTime=0\n").arg(line.PortName()));
    TBenchReceiveThread* thread = nullptr;
    SetReceiveThreadFactory([&thread]() -> IReceiveThread* {
        thread = new TBenchReceiveThread(*Host());
        return thread;
    });
    bench.ports.PortOpen = true;   // settings can only switch the port off
    bench.ports.PortAutoDetect = false;
    TMirvane2Form& form = bench.NewWindow();
    bench.OpenScheme(ModeReceive);
    if (way.monitor) {
        form.RightPanelButtonClick(form.ShowRightButton);
        form.LineDataButtonClick(form.LineDataStartButton);
    }
    RunLoop(2000);   // connected and settled
    Figures f;
    if (!thread || !thread->clockSet.load()) {
        std::printf("  the receive thread did not run (%s; port: %s)\n", thread ? "made" : "not made",
                    form.StatusBar->PanelText(2).toUtf8().constData());
        return f;
    }
    const long polls0 = line.Requests;
    const double process0 = ProcessCpuSeconds() - line.CpuSeconds();
    const double receive0 = ThreadCpuSeconds(thread->clock);
    const double main0 = ThreadCpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    QElapsedTimer wall;
    wall.start();
    RunLoop(seconds * 1000);
    f.seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    f.polls = line.Requests - polls0;
    f.engineCpu = ProcessCpuSeconds() - line.CpuSeconds() - process0;
    f.receiveCpu = ThreadCpuSeconds(thread->clock) - receive0;
    f.mainCpu = ThreadCpuSeconds(CLOCK_THREAD_CPUTIME_ID) - main0;
    f.period = form.StatusBar->PanelText(1);
    form.LineDataButtonClick(form.LineDataStopButton);
    bench.CloseWindow();
    SetReceiveThreadFactory({});
    return f;
}

}   // namespace

int main(int argc, char** argv)
{
    BenchApplicationSetup();
    QApplication app(argc, argv);
    WindowBench bench;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const int devices = static_cast<int>(FirstRowOfEachAddress().size());
    const double floor = CycleFloorSeconds();
    const double pollLine = floor / devices;
    std::printf("real window, %d received devices, pty bus paced at %u us a character; floor of one cycle %.2f ms, "
                "mean line time of a poll %.2f ms\n",
                devices, LineByteTimeUs, floor * 1e3, pollLine * 1e3);
    const Way ways[] = {
        {"answers whole", false, false, false, 2},
        {"byte by byte", true, false, false, 2},
        {"byte by byte, answers changing", true, true, false, 2},
        {"byte by byte, changing, monitor recording", true, true, true, 5},
    };
    std::vector<const Way*> chosen;
    for (int i = 2; i < argc; ++i)
        if (const int n = std::atoi(argv[i]); n >= 1 && n <= static_cast<int>(std::size(ways)))
            chosen.push_back(&ways[n - 1]);
    if (chosen.empty())
        for (const Way& way : ways)
            chosen.push_back(&way);
    for (const Way* chosenWay : chosen) {
        const Way& way = *chosenWay;
        const Figures f = Run(bench, way, seconds);
        if (f.polls == 0)
            continue;
        const double perPoll = f.engineCpu / static_cast<double>(f.polls);
        const double cycle = static_cast<double>(devices) * f.seconds / static_cast<double>(f.polls);
        std::printf("%s (%.1f s, %ld polls)\n", way.name, f.seconds, f.polls);
        const auto us = [&f](double seconds) { return seconds / static_cast<double>(f.polls) * 1e6; };
        std::printf("  engine CPU per poll: %.0f us (receive thread %.0f us, main thread %.0f us) = %.2f %% of its line time "
                    "(goal <= %.0f %%)\n",
                    perPoll * 1e6, us(f.receiveCpu), us(f.mainCpu), perPoll / pollLine * 100, way.goalPercent);
        std::printf("  cycle: %.2f ms = %.3f x the floor (goal <= 1.05 x); shown: %s\n", cycle * 1e3, cycle / floor,
                    f.period.toUtf8().constData());
    }
    return 0;
}
