// Synchronized steps run on the main thread: directly there, and from a worker by a blocking
// queued call that returns once the step has run.
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>

#include "platform/Synchronizer.h"
#include "support/RunEvents.h"

TEST(Synchronizer, TheStepRunsOnTheMainThreadDirectlyOrWhileAWorkerWaits)
{
    MainThreadSynchronizer sync;
    bool ranDirectly = false;
    sync.Synchronize([&] { ranDirectly = IsMainThread(); });
    EXPECT_TRUE(ranDirectly);
    std::atomic<int> onMain{0};
    std::atomic<bool> sawResult{false}, done{false};
    QThread* worker = QThread::create([&] {
        int value = 0;
        for (int i = 0; i < 3; ++i)
            Synchronize([&] {
                if (IsMainThread())
                    ++onMain;
                value = i + 1;
            });
        sawResult = value == 3;   // each step had run when Synchronize returned
        done = true;
    });
    worker->start();
    EXPECT_TRUE(RunEventsUntil([&] { return done.load(); }));
    worker->wait();
    delete worker;
    EXPECT_EQ(onMain.load(), 3);
    EXPECT_TRUE(sawResult.load());
}
