// The line monitor in a shown window with a 61-device scheme open, the devices listened to
// ("Диагностика БИ", every device in "Приём", so that each record reaches a device, its grid row
// and its frame), recording on and the decoding panel shown. Records vary as a line's do: every
// device in turn, its answer's values changing, every tenth exchange failed.
//
// Prints the main thread's CPU per record at the line's own pace (about 120 records a second)
// with the log empty, half full and full; and what the window absorbs when a worker offers it
// more records than it can take, each in a blocking main-thread step as the receive thread
// hands them over.
#include <QTableView>
#include <QToolButton>
#include <atomic>
#include <chrono>
#include <thread>

#include "WindowBench.h"
#include "line/LineEngine.h"
#include "line/LineLog.h"
#include "line/Protocol.h"
#include "platform/Synchronizer.h"
#include "platform/Ticks.h"

namespace {

std::vector<int> Rows;

// The hex text of n bytes from `seed` on, the first byte the row's address.
QString HexText(std::uint8_t first, int count, unsigned seed)
{
    std::uint8_t bytes[16] = {first};
    std::uint8_t flags[16] = {};
    for (int i = 1; i < count && i < 16; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed * 37 + static_cast<unsigned>(i) * 11);
    return FormatHex(bytes, flags, std::min(count, 16));
}

// The n-th exchange on a line of the scheme's devices polled in turn, handed off as the receive
// thread hands it: device statistics, grid row, frame, selected-device texts and the record.
void AppendRecord(TLineEngine& engine, long n)
{
    const std::size_t k = static_cast<std::size_t>(n) % Rows.size();
    TFrameInfo& row = DeviceCatalogue[Rows[k]];
    const auto seed = static_cast<unsigned>(n / static_cast<long>(Rows.size()));
    const bool good = n % 10 != 3;
    const int rq = row.RequestLength;
    const int an = row.AnswerLength;
    auto& bytes = engine.FrameBytes;
    bytes.fill(0);
    engine.FrameFlags.fill(0);
    bytes[0] = row.WireAddress;
    if (rq > 1)
        bytes[static_cast<std::size_t>(rq - 1)] = CheckByteOf(bytes.data(), rq - 1);
    bytes[static_cast<std::size_t>(rq)] = row.Address;
    for (int i = 1; i + 1 < an; ++i)
        bytes[static_cast<std::size_t>(rq + i)] = static_cast<std::uint8_t>(seed * 37 + static_cast<unsigned>(i) * 11);
    bytes[static_cast<std::size_t>(rq + an - 1)] = CheckByteOf(bytes.data() + rq, an - 1);
    engine.CurAddress = row.Address;
    engine.CurFrame = &row;
    engine.Result = good ? ResultOk : ResultNoAnswer;
    engine.FrameLength = good ? rq + an : rq;
    if (good)
        engine.ShowExchange();
    else
        engine.ShowFailedExchange();
}

// Fills the log straight to `fill` records, the newest selected, and lets the window settle.
void FillTo(TMirvane2Form& form, int fill)
{
    LineLogClear();
    for (long i = 0; i < fill; ++i) {
        const TFrameInfo& row = DeviceCatalogue[Rows[static_cast<std::size_t>(i) % Rows.size()]];
        LineLogAdd(&row, 0, HexText(row.WireAddress, row.RequestLength, 0), HexText(row.Address, row.AnswerLength, static_cast<unsigned>(i)));
    }
    form.SetLineListCount(LineLogCount);
    form.SetLineListItemIndex(LineLogCount - 1);
    RunLoop(50);
}

// Main-thread CPU microseconds per record at `perSecond`, the event loop running between them:
// the record and every repaint it causes.
double PerRecordUs(TMirvane2Form& form, TLineEngine& engine, int fill, int count, double perSecond)
{
    FillTo(form, fill);
    const double cpu0 = ThreadCpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const auto start = std::chrono::steady_clock::now();
    for (long n = 0; n < count; ++n) {
        AppendRecord(engine, n);
        const auto next = start + std::chrono::microseconds(static_cast<long>(static_cast<double>(n + 1) * 1e6 / perSecond));
        RunLoop(static_cast<int>(std::max<long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(next - std::chrono::steady_clock::now()).count())));
    }
    RunLoop(50);   // the last records shown
    return (ThreadCpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpu0) * 1e6 / count;
}

struct Absorbed {
    double perSecond;
    double mainCpuShare;
};

// A worker hands the window records as fast as it takes them for `seconds`, each in a
// blocking step, from an empty log on.
Absorbed Flood(TMirvane2Form& form, TLineEngine& engine, double seconds)
{
    FillTo(form, 0);
    std::atomic<long> done{0};
    std::atomic<bool> stop{false};
    std::thread feeder([&] {
        for (long n = 0; !stop; ++n)
            QMetaObject::invokeMethod(
                &form, [&engine, n, &done] { AppendRecord(engine, n); ++done; }, Qt::BlockingQueuedConnection);
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
    bench.OpenScheme(ModeReceive);
    form.RightPanelButtonClick(form.ShowRightButton);     // the monitor on screen
    form.DataInfoButtonClick(form.ShowInfoButton);        // and its decoding panel
    form.LineDataButtonClick(form.LineDataStartButton);   // recording on
    DirectSynchronizer direct;
    TLineEngine engine(form, Ticks(), direct);
    RunLoop(50);
    std::printf("monitor list: %d x %d px, decoding panel %s\n", form.LineDataListBox->viewport()->width(),
                form.LineDataListBox->viewport()->height(), form.InfoMemo->isVisible() ? "shown" : "hidden");

    const int count = argc > 1 ? std::atoi(argv[1]) : 600;
    const struct {
        const char* name;
        int fill;
    } fills[] = {{"empty", 0}, {"half full", LineLogCapacity / 2}, {"full", LineLogCapacity}};
    double pollLineUs = 0;
    for (int row : Rows)
        pollLineUs += (DeviceCatalogue[row].RequestLength + DeviceCatalogue[row].AnswerLength) * double(LineByteTimeUs);
    pollLineUs /= static_cast<double>(Rows.size());
    std::printf("the line's pace, 120 records/s, %d records: main-thread CPU per record (goal: with the receive thread "
                "<= %.0f us, 5 %% of a poll's mean line time of %.2f ms)\n",
                count, pollLineUs * 0.05, pollLineUs / 1000);
    for (const auto& f : fills)
        std::printf("  log %-9s (%5d records): %8.1f us per record\n", f.name, f.fill, PerRecordUs(form, engine, f.fill, count, 120));
    const Absorbed a = Flood(form, engine, 3.0);
    std::printf("offered more than it takes (a worker without pause, 3 s from an empty log): %.0f records/s absorbed, "
                "main thread %.0f %% of a core (goal >= 5000)\n",
                a.perSecond, a.mainCpuShare * 100);
    LineLogClear();
    bench.CloseWindow();
    return 0;
}
