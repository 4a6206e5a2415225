// Opening a scheme: one device per address, the progress slit, and termination.
#include <QPointer>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <vector>

#include "frames/Registration.h"
#include "model/OpenSchemeThread.h"
#include "support/FakeHost.h"
#include "support/RunEvents.h"
#include "support/TestFrames.h"

namespace {

// Rows 7 to 10 lie at four different addresses; rows 1 and 4 share address 50.
class OpenSchemeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterFrameClasses();
        bound = BindTestAnswerFrames({7, 8, 9, 10, 1, 4});
        handlers = host.Handlers();
    }
    void TearDown() override { host.ClearDevices(); }

    void Add(std::initializer_list<int> rows)
    {
        for (int row : rows)
            scheme.Objects.push_back(std::make_unique<TSchemeObject>("Датчик", row, ModeReceive));
    }
    TOpenSchemeThread* Make(TOpenSchemeThread* walk)
    {
        walk->Scheme = &scheme;
        walk->MainWindow = &host;
        walk->Handlers = &handlers;
        walk->OnTerminate = [this](TOpenSchemeThread* t) { terminations.push_back(t->Terminated()); };
        return walk;
    }
    // Starts the walk and runs the event loop until it has ended.
    void Run()
    {
        thread.reset(Make(new TOpenSchemeThread));
        thread->Resume();
        EXPECT_TRUE(terminations.empty()) << "the end is never reported inside Resume";
        EXPECT_TRUE(RunEventsUntil([this] { return thread->Finished(); }));
    }

    FakeHost host;
    TFrameHandlers handlers;
    TDeviceScheme scheme{"Схема 1"};
    std::vector<std::unique_ptr<ScopedFrameClass>> bound;
    std::unique_ptr<TOpenSchemeThread> thread;
    std::vector<bool> terminations;   // Terminated() as each end was reported
};

}   // namespace

TEST_F(OpenSchemeTest, BuildsOneDevicePerAddressWithItsFrameAndProgress)
{
    Add({1, 4, 7, 8, 9, 10});
    Run();
    ASSERT_EQ(host.devices.size(), 5u) << "the second object at address 50 gives no device";
    for (std::size_t i = 0; i < 5; ++i) {
        TDeviceInfo* d = host.devices[i].get();
        EXPECT_EQ(d->SchemeObject, scheme.Objects[i == 0 ? 0 : i + 1].get());
        EXPECT_EQ(host.byAddr[d->FrameInfo->Address], d);
        EXPECT_EQ(d->Frame->parentWidget(), host.SchemePanel());
    }
    // W0 = 300; the progress still advanced over the object without a device (300 + 36 skipped).
    EXPECT_EQ(host.redraws, (std::vector<int>{300 + 20, 300 + 53, 300 + 70, 300 + 86, 300 + 103}));
    EXPECT_EQ(terminations, std::vector<bool>{false});
}

TEST_F(OpenSchemeTest, TerminationBetweenObjectsKeepsTheDevicesMadeSoFar)
{
    Add({7, 8, 9, 10});
    host.OnRedraw = [this] {
        if (host.devices.size() == 2)
            thread->Terminate();
    };
    Run();
    EXPECT_EQ(host.devices.size(), 2u);
    EXPECT_EQ(terminations, std::vector<bool>{true});
}

TEST_F(OpenSchemeTest, AStepQueuedByADestroyedWalkDoesNothingAndAFreedWalkDeletesItself)
{
    Add({7});
    auto* destroyed = Make(new TOpenSchemeThread);
    destroyed->Resume();
    delete destroyed;   // its queued step goes with it
    RunEventsFor(50);
    EXPECT_TRUE(host.devices.empty());

    QPointer<TOpenSchemeThread> freed = Make(new TOpenSchemeThread);
    freed->FreeOnTerminate = true;
    freed->Resume();
    EXPECT_TRUE(RunEventsUntil([&] { return freed.isNull(); }));
    EXPECT_EQ(host.devices.size(), 1u);
}

TEST_F(OpenSchemeTest, AFailingStepEndsTheWalkAsItsEndDoesAndTheFailureGoesOn)
{
    Add({7, 8, 9, 10});
    for (std::size_t failAt = 1; failAt <= 4; ++failAt) {
        host.ClearDevices();
        host.redraws.clear();
        host.progressX = -1;
        terminations.clear();
        host.OnRedraw = [this, failAt] {
            if (host.redraws.size() == failAt)
                throw std::runtime_error("no frame");
        };
        thread.reset(Make(new TOpenSchemeThread));
        for (std::size_t step = 1; step < failAt; ++step)
            thread->Execute();
        EXPECT_THROW(thread->Execute(), std::runtime_error) << failAt;
        EXPECT_TRUE(thread->Finished()) << failAt;
        EXPECT_EQ(terminations, std::vector<bool>{false}) << failAt;
        EXPECT_EQ(host.devices.size(), failAt) << "the devices made so far stay";
        thread->Execute();   // a step still queued does nothing
        EXPECT_EQ(terminations.size(), 1u) << failAt;
    }
}
