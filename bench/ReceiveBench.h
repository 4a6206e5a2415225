#pragma once
// What the receive-thread benchmarks share: an application, a fake window with a scheme, a pty
// line with simulated devices, a receive thread that runs until told, CPU clocks.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <memory>
#include <pthread.h>
#include <sys/resource.h>

#include "line/LineLog.h"
#include "line/ReceiveThread.h"
#include "model/LineMode.h"
#include "support/FakeHost.h"
#include "support/LineSimulator.h"
#include "support/TestFrames.h"

inline double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return s(usage.ru_utime) + s(usage.ru_stime);
}

inline double ThreadCpuSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

// Runs the event loop for ms, or until done() holds (checked every millisecond).
template <typename Done>
inline void RunLoop(int ms, Done done)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(1);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop for ms without waking it otherwise (asleep while it has nothing to do,
// so that a thread's CPU time counts only the work).
inline void RunLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A scheme of devices in a fake window and a receive thread on a port.
struct BenchScheme {
    BenchScheme()
    {
        host.lineLogOn = true;
    }
    ~BenchScheme()
    {
        if (thread && !ended)
            Stop();
        host.ClearDevices();
    }

    void AddDevice(int row)
    {
        const bool request = DeviceCatalogue[row].RequestLength > 1;
        bound.push_back(std::make_unique<ScopedFrameClass>(row, request ? CreateTestRequestFrame : CreateTestAnswerFrame));
        objects.push_back(std::make_unique<TSchemeObject>(QStringLiteral("Датчик"), static_cast<std::uint32_t>(row), ModeReceive));
        TFrameHandlers handlers = host.Handlers();
        auto& device = *host.devices.emplace_back(std::make_unique<TDeviceInfo>(objects.back().get(), &handlers, &host));
        host.byAddr[DeviceCatalogue[row].Address] = &device;
        gridRows.push_back(std::make_unique<TStringsRow>());
        device.GridRow = gridRows.back().get();
    }

    void Start(int mode, const TPortSettings& settings)
    {
        LineMode = mode;
        host.SetPortSettings(settings);
        thread = new TReceiveThread(host);
        thread->SetOnTerminate([this] { ended = true; });
        thread->OnPass = [this] {
            if (!threadClockSet) {
                pthread_getcpuclockid(pthread_self(), &threadClock);
                threadClockSet = true;
            }
        };
        thread->Resume();
    }

    // Milliseconds from Terminate to the termination handler.
    double Stop()
    {
        QElapsedTimer clock;
        clock.start();
        thread->Terminate();
        RunLoop(5000, [this] { return ended; });
        const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        RunLoop(20);
        thread = nullptr;
        return ms;
    }

    FakeHost host;
    std::vector<std::unique_ptr<TSchemeObject>> objects;
    std::vector<std::unique_ptr<TStringsRow>> gridRows;
    std::vector<std::unique_ptr<ScopedFrameClass>> bound;
    TReceiveThread* thread = nullptr;
    bool ended = false;
    std::atomic<bool> threadClockSet{false};
    clockid_t threadClock{};
};

// The first catalogue row of every address that has rows.
inline std::vector<int> FirstRowOfEachAddress()
{
    std::vector<int> rows;
    for (int address = 0; address < LineAddressCount; ++address)
        if (!FrameInfoVectors[address].empty())
            rows.push_back(static_cast<int>(FrameInfoVectors[address].front() - DeviceCatalogue));
    return rows;
}

inline void BenchApplicationSetup()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
