// The line monitor under a fast line, in a shown window with a 61-device scheme open and
// recording on. Prints the main thread's CPU microseconds per record (the append plus the
// repaints it causes, amortised) for records that come 5 000 a second, with the log empty,
// half full and full, and how many records a second the window
// takes in when a worker thread hands it 5 000 a second, each in a blocking main-thread step,
// as the receive thread does.
#include <QListView>
#include <QToolButton>
#include <atomic>
#include <chrono>
#include <thread>

#include "WindowBench.h"
#include "line/LineLog.h"
#include "platform/Ticks.h"

namespace {

std::vector<int> Rows;

// One exchange of the scheme's n-th device; every tenth one fails.
void AppendRecord(TMirvane2Form& form, long n)
{
    static const QString request = QStringLiteral("81 12 '93");
    static const QString answer = QStringLiteral("01 22 00 4A 17");
    const TFrameInfo* row = &DeviceCatalogue[Rows[static_cast<std::size_t>(n) % Rows.size()]];
    const bool good = n % 10 != 0;
    AppendLineLog(form, row, good ? 0 : 4, request, good ? answer : QString(), good, GetTickCount());
}

// Fills the log straight to `fill` records, the newest selected, and lets the window settle.
void FillTo(TMirvane2Form& form, int fill)
{
    LineLogClear();
    for (int i = 0; i < fill; ++i)
        LineLogAdd(&DeviceCatalogue[Rows[static_cast<std::size_t>(i) % Rows.size()]], 0, QStringLiteral("81"),
                   QStringLiteral("01 00"));
    form.SetLineListCount(LineLogCount);
    form.SetLineListItemIndex(LineLogCount - 1);
    RunLoop(50);
}

// Main-thread CPU microseconds per record over `count` appends that come 5 000 a second,
// each followed by one event-loop pass: the append and its share of the repaints.
double PerRecordUs(TMirvane2Form& form, int fill, int count)
{
    FillTo(form, fill);
    const double cpu0 = ThreadCpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const auto start = std::chrono::steady_clock::now();
    for (long n = 0; n < count; ++n) {
        AppendRecord(form, n);
        QCoreApplication::processEvents();
        std::this_thread::sleep_until(start + std::chrono::microseconds(200 * (n + 1)));
    }
    RunLoop(50);   // the last records shown
    return (ThreadCpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpu0) * 1e6 / count;
}

struct Absorbed {
    double perSecond;
    double mainCpuShare;
};

// A worker hands the window 5 000 records a second for `seconds`, each in a blocking step,
// from an empty log on.
Absorbed Feed(TMirvane2Form& form, double seconds)
{
    FillTo(form, 0);
    constexpr double offered = 5000;
    std::atomic<long> done{0};
    std::atomic<bool> stop{false};
    std::thread feeder([&] {
        const auto start = std::chrono::steady_clock::now();
        for (long n = 0; !stop; ++n) {
            std::this_thread::sleep_until(start + std::chrono::microseconds(static_cast<long>(n * 1e6 / offered)));
            if (stop)
                break;
            QMetaObject::invokeMethod(
                &form, [&form, n, &done] { AppendRecord(form, n); ++done; },
                Qt::BlockingQueuedConnection);
        }
    });
    const double cpu0 = ThreadCpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    QElapsedTimer clock;
    clock.start();
    const long done0 = done;
    RunLoop(static_cast<int>(seconds * 1000));
    const double wall = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const long taken = done - done0;
    const double cpu = ThreadCpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpu0;
    stop = true;
    // The feeder may wait in a blocking step: serve it until it has ended.
    std::atomic<bool> joined{false};
    std::thread joiner([&] { feeder.join(); joined = true; });
    RunEventsUntil([&joined] { return joined.load(); });
    joiner.join();
    return {static_cast<double>(taken) / wall, cpu / wall};
}

}   // namespace

int main(int argc, char** argv)
{
    // NOLINTNEXTLINE(concurrency-mt-unsafe): before QApplication, no other thread yet
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    WindowBench bench;
    Rows = FirstRowOfEachAddress();
    TMirvane2Form& form = bench.NewWindow();
    bench.OpenScheme();
    form.RightPanelButtonClick(form.ShowRightButton);     // the monitor on screen
    form.LineDataButtonClick(form.LineDataStartButton);   // recording on
    RunLoop(50);
    std::printf("monitor list: %d x %d px\n", form.LineDataListBox->viewport()->width(), form.LineDataListBox->viewport()->height());

    const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    const struct {
        const char* name;
        int fill;
    } fills[] = {{"empty", 0}, {"half full", LineLogCapacity / 2}, {"full", LineLogCapacity}};
    double empty = 0;
    std::printf("line monitor, %d records at 5000/s, one per event-loop pass (goal <= 50 us, full <= 2 x empty)\n", count);
    for (const auto& f : fills) {
        const double us = PerRecordUs(form, f.fill, count);
        if (f.fill == 0)
            empty = us;
        std::printf("  log %-9s (%5d records): %8.1f us per record (%.2f x empty)\n", f.name, f.fill, us, us / empty);
    }
    const Absorbed a = Feed(form, 3.0);
    std::printf("fed 5000 records/s from a worker (from an empty log, 3 s): %.0f records/s absorbed, main thread %.0f %% of a core (goal >= 5000)\n",
                a.perSecond, a.mainCpuShare * 100);
    LineLogClear();
    bench.form.reset();
    return 0;
}
