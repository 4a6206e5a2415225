// The line log ring and the rule that keeps the line monitor's list at the newest records.
#include <gtest/gtest.h>

#include "LineEngineFixture.h"

namespace {

class LineLogTest : public LineEngineTest {
protected:
    void Append(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            AppendLineLog(host, &DeviceCatalogue[RowPressure6], ResultOk, QString::number(LineLogCount), "", true,
                          clock.Now());
    }
    void AddDevices(int n)
    {
        const int rows[] = {RowPressure6, RowLeveller44, RowLineProx5, RowGear50};
        for (int i = 0; i < n; ++i)
            AddDevice(rows[i], ModeReceive);
    }
};

}  // namespace

TEST_F(LineLogTest, RingKeepsOrderAcrossItsEnd)
{
    for (int i = 0; i < LineLogCapacity + 5; ++i) {
        if (LineLogCount >= LineLogCapacity)
            LineLogDropOldest();
        LineLogAdd(nullptr, 1, QString::number(i), QString());
    }
    EXPECT_EQ(LineLogCount, LineLogCapacity);
    EXPECT_EQ(LineLogFirst, 5);
    EXPECT_EQ(LineLogNext, 5);
    EXPECT_EQ(LineLogRecord(0).RequestText, "5");
    EXPECT_EQ(LineLogRecord(LineLogCapacity - 1).RequestText, QString::number(LineLogCapacity + 4));
    LineLogClear();
    EXPECT_EQ(LineLogCount, 0);
    EXPECT_EQ(LineLogFirst, 0);
    EXPECT_EQ(LineLogNext, 0);
}

TEST_F(LineLogTest, RecordTimeIsLocalDaysSinceTheEndOf1899)
{
    EXPECT_DOUBLE_EQ(DateTimeToDays(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(DateTimeToDays(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
    const double before = DateTimeToDays(QDateTime::currentDateTime());
    Append();
    const double after = DateTimeToDays(QDateTime::currentDateTime());
    EXPECT_GE(LineLogRecord(0).Time, before);
    EXPECT_LE(LineLogRecord(0).Time, after);
}

TEST_F(LineLogTest, The10001stRecordDropsTheOldestAndTheListStaysAtTheEnd)
{
    AddDevices(1);
    for (int i = 0; i < LineLogCapacity; ++i)
        LineLogAdd(nullptr, 6, QString::number(i), QString());
    host.listCount = LineLogCapacity;
    host.SetLineListItemIndex(LineLogCapacity - 1);   // showing the newest lines
    ASSERT_EQ(host.listTop, LineLogCapacity - 10);

    AppendLineLog(host, &DeviceCatalogue[RowPressure6], ResultOk, "46", "06 10 20 36", true, clock.Now());
    EXPECT_EQ(LineLogCount, LineLogCapacity);
    EXPECT_EQ(LineLogRecord(0).RequestText, "1");
    EXPECT_EQ(LineLogRecord(LineLogCapacity - 1).RequestText, "46");
    EXPECT_EQ(host.listCount, LineLogCapacity);
    EXPECT_EQ(host.listIndex, LineLogCapacity - 1);
    EXPECT_EQ(host.listTop, LineLogCapacity - 10);
    EXPECT_EQ(host.recordInfoShown, 1);
    EXPECT_EQ(host.listUpdates, 1);
    EXPECT_EQ(host.listUpdateDepth, 0);
}

TEST_F(LineLogTest, ListJumpsOnlyOnceAsManyRecordsAsActiveDevicesGatheredBelow)
{
    AddDevices(3);   // none answered yet: the three enabled devices are the active count
    Append(20);
    host.listTop = 10;
    host.listIndex = 12;
    host.recordInfoShown = 0;
    Append();   // 1 below the visible lines
    EXPECT_EQ(host.listIndex, 12);
    Append();   // 2
    EXPECT_EQ(host.listIndex, 12);
    EXPECT_EQ(host.recordInfoShown, 0);
    Append();   // 3: jump
    EXPECT_EQ(host.listIndex, 22);
    EXPECT_EQ(host.listTop, 13);
    EXPECT_EQ(host.recordInfoShown, 1);
}

TEST_F(LineLogTest, WhileAllRecordsFitTheListFollowsInStepsOfTheActiveCount)
{
    AddDevices(3);
    std::vector<int> shown;
    for (int i = 0; i < 7; ++i) {
        const int before = host.recordInfoShown;
        Append();
        shown.push_back(host.recordInfoShown - before);
    }
    // 10 visible lines, 3 active: (count - 10 mod 3) mod 3 == 0 at counts 1, 4, 7.
    EXPECT_EQ(shown, (std::vector<int>{1, 0, 0, 1, 0, 0, 1}));
}

TEST_F(LineLogTest, ActiveCountFollowsTheLineMode)
{
    AddDevices(4);
    host.devices[0]->AnswerCount = 1;
    host.devices[3]->SchemeObject->Mode = ModeDisabled;
    host.devices[1]->NextPollTick = clock.Now() + 1000;
    EXPECT_EQ(LineLogActiveCount(host, clock.Now()), 1);      // BI: devices that answered
    host.devices[0]->AnswerCount = 0;
    EXPECT_EQ(LineLogActiveCount(host, clock.Now()), 3);      // none: the enabled devices
    LineMode = LineModeSensors;
    EXPECT_EQ(LineLogActiveCount(host, clock.Now()), 2);      // enabled and due
    host.devices[0]->NextPollTick = clock.Now() + 1000;
    host.devices[2]->NextPollTick = clock.Now() + 1000;
    EXPECT_EQ(LineLogActiveCount(host, clock.Now()), 3);
    host.ClearDevices();
    EXPECT_EQ(LineLogActiveCount(host, clock.Now()), 0);
}

TEST_F(LineLogTest, FailedRecordWithoutAValidCodeStoresSix)
{
    AppendLineLog(host, nullptr, ResultNeedMore, "55", "", false, clock.Now());
    AppendLineLog(host, nullptr, 42, "56", "", false, clock.Now());
    AppendLineLog(host, nullptr, ResultOk, "57", "", false, clock.Now());
    AppendLineLog(host, &DeviceCatalogue[RowPressure6], ResultNoAnswer, "46", "", false, clock.Now());
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"r- 6 55 | ", "r- 6 56 | ", "r- 6 57 | ", "r7 4 46 | "}));
}

TEST_F(LineLogTest, NoDevicesAndAnEmptyListDoNotDivideByZero)
{
    host.listItemHeight = 0;
    host.listHeight = 0;
    Append(3);
    EXPECT_EQ(host.listIndex, 2);
}
