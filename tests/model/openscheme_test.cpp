// Opening a scheme: one device per address, the progress slit, and termination.
#include <QPointer>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "frames/Registration.h"
#include "model/OpenSchemeThread.h"
#include "support/FakeHost.h"
#include "support/RunEvents.h"
#include "support/TestFrames.h"

namespace {

// Rows at four different addresses, and two rows sharing address 50.
constexpr int RowsApart[] = {7, 8, 9, 10};
constexpr int SharedA = 1;
constexpr int SharedB = 4;

class OpenSchemeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterFrameClasses();
        for (int row : {7, 8, 9, 10, SharedA, SharedB})
            bound.push_back(std::make_unique<ScopedFrameClass>(row, CreateTestAnswerFrame));
        handlers = host.Handlers();
    }
    void TearDown() override { host.ClearDevices(); }

    void Add(int row) { scheme.Objects.push_back(std::make_unique<TSchemeObject>("Датчик", row, ModeReceive)); }

    // Starts the walk and runs the event loop until it has ended.
    TOpenSchemeThread& Run()
    {
        thread = std::make_unique<TOpenSchemeThread>();
        thread->Scheme = &scheme;
        thread->MainWindow = &host;
        thread->Handlers = &handlers;
        thread->OnTerminate = [this](TOpenSchemeThread* t) {
            ++terminations;
            terminatedFlag = t->Terminated();
        };
        thread->Resume();
        EXPECT_TRUE(RunEventsUntil([this] { return thread->Finished(); }));
        return *thread;
    }

    FakeHost host;
    TFrameHandlers handlers;
    TDeviceScheme scheme{"Схема 1"};
    std::vector<std::unique_ptr<ScopedFrameClass>> bound;
    std::unique_ptr<TOpenSchemeThread> thread;
    int terminations = 0;
    bool terminatedFlag = false;
};

}  // namespace

TEST(OpenSchemeProgress, PositionsFollowTheStatusBarPanels)
{
    struct Case {
        int w0, w1, index, count, x;
    };
    const Case cases[] = {
        {0, 106, 0, 4, 28}, {0, 106, 1, 4, 53}, {0, 106, 2, 4, 78}, {0, 106, 3, 4, 103},
        {500, 106, 3, 4, 603}, {10, 106, 0, 1, 113}, {0, 106, 0, 3, 36},  // 100 / 3 + 3.5 = 36.8
        {0, 6, 0, 2, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TOpenSchemeThread::ProgressPosition(c.w0, c.w1, c.index, c.count), c.x)
            << c.w0 << " " << c.w1 << " " << c.index << "/" << c.count;
}

TEST_F(OpenSchemeTest, BuildsOneDevicePerObjectWithItsFrameAndProgress)
{
    for (int row : RowsApart)
        Add(row);
    host.w0 = 300;
    Run();
    ASSERT_EQ(host.devices.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        TDeviceInfo* d = host.devices[i].get();
        EXPECT_EQ(d->SchemeObject, scheme.Objects[i].get());
        EXPECT_EQ(host.byAddr[d->FrameInfo->Address], d);
        ASSERT_TRUE(d->Frame);
        EXPECT_EQ(d->Frame->parentWidget(), host.SchemePanel());
        EXPECT_EQ(d->TimerWindow, &host);
    }
    EXPECT_EQ(host.redraws, (std::vector<int>{328, 353, 378, 403}));
    EXPECT_EQ(host.progressX, 403);
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(terminatedFlag);
}

TEST_F(OpenSchemeTest, TwoObjectsAtOneAddressGiveOneDevice)
{
    Add(SharedA);
    Add(SharedB);
    Add(7);
    Run();
    ASSERT_EQ(host.devices.size(), 2u);
    EXPECT_EQ(host.devices[0]->SchemeObject, scheme.Objects[0].get());
    EXPECT_EQ(host.byAddr[50], host.devices[0].get());
    EXPECT_EQ(host.devices[1]->SchemeObject, scheme.Objects[2].get());
    // The progress still advanced over the object without a device.
    EXPECT_EQ(host.redraws, (std::vector<int>{300 + 36, 300 + 103}));   // 300 + 70 skipped
    EXPECT_EQ(thread->ProgressX, 300 + 103);
}

TEST_F(OpenSchemeTest, AnAddressTakenBeforeTheWalkIsLeftAlone)
{
    Add(7);
    TSchemeObject earlier("Раньше", 7, ModeReceive);
    host.devices.push_back(std::make_unique<TDeviceInfo>(&earlier, &handlers, &host));
    host.byAddr[DeviceCatalogue[7].Address] = host.devices.back().get();
    Run();
    EXPECT_EQ(host.devices.size(), 1u);
    EXPECT_TRUE(host.redraws.empty());
}

TEST_F(OpenSchemeTest, AnEmptySchemeEndsAtOnce)
{
    Run();
    EXPECT_TRUE(host.devices.empty());
    EXPECT_TRUE(host.redraws.empty());
    EXPECT_EQ(terminations, 1);
}

TEST_F(OpenSchemeTest, NoSchemeEndsAtOnceAndTheEndIsNeverInsideResume)
{
    TOpenSchemeThread t;
    t.MainWindow = &host;
    int ends = 0;
    t.OnTerminate = [&](TOpenSchemeThread*) { ++ends; };
    t.Resume();
    EXPECT_EQ(ends, 0);   // the termination handler runs from the event loop
    EXPECT_TRUE(RunEventsUntil([&] { return t.Finished(); }));
    EXPECT_EQ(ends, 1);
}

TEST_F(OpenSchemeTest, TerminationBetweenObjectsKeepsTheDevicesMadeSoFar)
{
    for (int row : RowsApart)
        Add(row);
    host.OnRedraw = [this] {
        if (host.devices.size() == 2)
            thread->Terminate();
    };
    Run();
    EXPECT_EQ(host.devices.size(), 2u);
    EXPECT_EQ(host.devices[1]->SchemeObject, scheme.Objects[1].get());
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(terminatedFlag);
}

TEST_F(OpenSchemeTest, APendingStepOfATerminatedWalkDoesNothing)
{
    for (int row : RowsApart)
        Add(row);
    thread = std::make_unique<TOpenSchemeThread>();
    thread->Scheme = &scheme;
    thread->MainWindow = &host;
    thread->Handlers = &handlers;
    thread->Resume();
    thread->Terminate();   // another scheme selected before the first step ran
    scheme.Objects.clear();   // and the old scheme's objects are gone
    EXPECT_TRUE(RunEventsUntil([this] { return thread->Finished(); }));
    EXPECT_TRUE(host.devices.empty());

    // A direct AddDevice after termination adds nothing either.
    TSchemeObject object("x", 7, ModeReceive);
    thread->CurObject = &object;
    thread->CurFrameInfo = &DeviceCatalogue[7];
    thread->AddDevice();
    EXPECT_TRUE(host.devices.empty());
}

TEST_F(OpenSchemeTest, ADestroyedWalkRunsNoQueuedStepAndFreesItselfOnTermination)
{
    Add(7);
    auto* t = new TOpenSchemeThread;
    t->Scheme = &scheme;
    t->MainWindow = &host;
    t->Handlers = &handlers;
    t->Resume();
    delete t;   // its queued step goes with it
    RunEventsFor(50);
    EXPECT_TRUE(host.devices.empty());

    QPointer<TOpenSchemeThread> freed = new TOpenSchemeThread;
    freed->Scheme = &scheme;
    freed->MainWindow = &host;
    freed->Handlers = &handlers;
    freed->FreeOnTerminate = true;
    freed->Resume();
    EXPECT_TRUE(RunEventsUntil([&] { return freed.isNull(); }));
    EXPECT_EQ(host.devices.size(), 1u);
}
