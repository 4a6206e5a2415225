// Sensor diagnostics over a pty: how fast the receive thread polls a scheme of 61 devices that
// answer at once, what each poll costs against its time on a real 9600-baud line (the display
// refreshed on every exchange, refresh 0), and the poll cycle on a line paced at 9600 baud, to
// the microsecond, against that cycle's wire-time floor.
#include <atomic>

#include "ReceiveBench.h"
#include "line/Protocol.h"
#include "platform/Synchronizer.h"

namespace {

constexpr double CharSeconds = 11.0 / 9600.0;   // start, 8 data, parity, stop

// Counts the steps the receive thread has the main thread run: each is a thread switch there and
// back, the larger part of the engine's cost per poll.
class CountingSynchronizer final : public ISynchronizer {
public:
    void Synchronize(const std::function<void()>& step) override
    {
        ++Steps;
        inner_.Synchronize(step);
    }
    std::atomic<long> Steps{0};

private:
    MainThreadSynchronizer inner_;
};

CountingSynchronizer Counting;

struct Figures {
    double seconds;
    long polls;
    long steps;
    double processCpu;
    double receiveCpu;
    double mainCpu;
    QString period;
};

Figures Run(int seconds, std::uint32_t byteTimeUs)
{
    BenchScheme scheme;
    std::vector<BusDevice> simulated;
    for (int row : FirstRowOfEachAddress()) {
        scheme.AddDevice(row);
        simulated.push_back({row, std::vector<std::uint8_t>(static_cast<std::size_t>(DeviceCatalogue[row].AnswerLength - 2), 0x21)});
    }
    LineSimulator line;
    if (byteTimeUs > 0)
        line.SetEcho(LineSimulator::Echo::Dropped);
    line.SetDevices(simulated, byteTimeUs);
    clockid_t mainClock{};
    pthread_getcpuclockid(pthread_self(), &mainClock);

    scheme.Start(LineModeSensors, {false, line.PortName(), {}});
    RunLoop(1000);   // connected and settled
    const long polls0 = line.Requests;
    const long steps0 = Counting.Steps.load();
    const double cpu0 = ProcessCpuSeconds();
    const double recv0 = scheme.threadClockSet ? ThreadCpuSeconds(scheme.threadClock) : 0;
    const double main0 = ThreadCpuSeconds(mainClock);
    QElapsedTimer wall;
    wall.start();
    RunLoop(seconds * 1000);
    Figures f;
    f.seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    f.polls = line.Requests - polls0;
    f.steps = Counting.Steps.load() - steps0;
    f.processCpu = ProcessCpuSeconds() - cpu0;
    f.receiveCpu = (scheme.threadClockSet ? ThreadCpuSeconds(scheme.threadClock) : 0) - recv0;
    f.mainCpu = ThreadCpuSeconds(mainClock) - main0;
    f.period = scheme.host.statusTexts[1];
    scheme.Stop();
    return f;
}

// The line time of one cycle over the scheme: every request and answer, 11 bits a character.
double CycleWireSeconds()
{
    double chars = 0;
    for (int row : FirstRowOfEachAddress())
        chars += DeviceCatalogue[row].RequestLength + DeviceCatalogue[row].AnswerLength;
    return chars * CharSeconds;
}

}   // namespace

int main(int argc, char** argv)
{
    BenchApplicationSetup();
    QApplication app(argc, argv);
    SetSynchronizer(&Counting);
    const int devices = static_cast<int>(FirstRowOfEachAddress().size());
    const double cycleWire = CycleWireSeconds();
    const double pollWire = cycleWire / devices;

    const Figures fast = Run(5, 0);
    const double perPoll = fast.processCpu / static_cast<double>(fast.polls);
    const double enginePerPoll = (fast.receiveCpu + fast.mainCpu) / static_cast<double>(fast.polls);
    std::printf("poll throughput (%d devices, pty answering at once, %.1f s)\n", devices, fast.seconds);
    std::printf("  polls per second:              %.0f\n", static_cast<double>(fast.polls) / fast.seconds);
    std::printf("  process CPU per poll:          %.1f us (simulator included)\n", perPoll * 1e6);
    std::printf("  engine CPU per poll:           %.1f us (receive thread %.1f us + main-thread steps %.1f us)\n",
                enginePerPoll * 1e6, fast.receiveCpu / static_cast<double>(fast.polls) * 1e6,
                fast.mainCpu / static_cast<double>(fast.polls) * 1e6);
    std::printf("  main-thread steps per poll:    %.2f\n", static_cast<double>(fast.steps) / static_cast<double>(fast.polls));
    std::printf("  mean 9600-baud line time/poll: %.2f ms\n", pollWire * 1e3);
    std::printf("  engine share of line time:     %.2f %% (refresh 0; goal <= 2 %%)\n", enginePerPoll / pollWire * 100);
    std::printf("  shown: %s\n", fast.period.toUtf8().constData());

    const Figures paced = Run(15, LineByteTimeUs);   // long enough for the period to show
    const double measuredCycle = static_cast<double>(devices) * paced.seconds / static_cast<double>(paced.polls);
    std::printf("cycle against the wire (line paced to the us at 9600 baud, 11-bit characters, %.1f s)\n", paced.seconds);
    std::printf("  wire-time floor of one cycle:  %.1f ms\n", cycleWire * 1e3);
    std::printf("  measured cycle:                %.1f ms (%.3f x the floor; goal <= 1.05 x)\n", measuredCycle * 1e3, measuredCycle / cycleWire);
    std::printf("  shown: %s\n", paced.period.toUtf8().constData());
    SetSynchronizer(nullptr);
    return 0;
}
