// The receive thread at rest: the process's CPU share while it listens to a silent line, and
// how long termination takes while idle, detecting and paused.
#include <algorithm>

#include "ReceiveBench.h"

namespace {

struct Latency {
    double min, median, max;
};

template <typename Setup>
Latency Terminations(int runs, Setup setup)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        BenchScheme scheme;
        LineSimulator line;
        setup(scheme, line);
        ms.push_back(scheme.Stop());
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2], ms.back()};
}

void Print(const char* what, const Latency& l)
{
    std::printf("  %-10s min %.1f ms, median %.1f ms, max %.1f ms\n", what, l.min, l.median, l.max);
}

}   // namespace

int main(int argc, char** argv)
{
    BenchApplicationSetup();
    QApplication app(argc, argv);
    {
        BenchScheme scheme;
        LineSimulator line;
        scheme.Start(LineModeMaster, {false, line.PortName(), {}});
        RunLoop(500);
        const double cpu0 = ProcessCpuSeconds();
        const double recv0 = ThreadCpuSeconds(scheme.threadClock);
        QElapsedTimer wall;
        wall.start();
        RunLoop(10000);
        const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        const double share = (ProcessCpuSeconds() - cpu0) / seconds;
        const double threadShare = (ThreadCpuSeconds(scheme.threadClock) - recv0) / seconds;
        std::printf("idle cost: listening to a silent line for %.1f s\n", static_cast<double>(wall.nsecsElapsed()) / 1e9);
        std::printf("  process CPU share: %.3f %% of one core (target under 0.5 %%; simulator thread included)\n", share * 100);
        std::printf("  receive thread alone: %.3f %% of one core\n", threadShare * 100);
        scheme.Stop();
    }
    constexpr int runs = 7;
    std::printf("termination latency, Terminate to termination handler (%d runs each)\n", runs);
    Print("idle", Terminations(runs, [](BenchScheme& s, LineSimulator& line) {
              s.Start(LineModeMaster, {false, line.PortName(), {}});
              RunLoop(300);
          }));
    Print("detecting", Terminations(runs, [](BenchScheme& s, LineSimulator& line) {
              line.SetEcho(LineSimulator::Echo::Dropped);
              s.Start(LineModeMaster, {true, line.PortName(), {"ttyMissing9"}});
              RunLoop(300);
          }));
    Print("paused", Terminations(runs, [](BenchScheme& s, LineSimulator& line) {
              s.AddDevice(7);
              s.Start(LineModeSensors, {false, line.PortName(), {}});
              RunLoop(200);
              s.thread->Pause();
              RunLoop(200);
          }));
    return 0;
}
