// The hand-off of settled exchanges to the device objects: statistics, due time, texts,
// images, slots, grid cells 7 to 9 and the watchdog.
#include <gtest/gtest.h>

#include "LineEngineFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class HandOffTest : public LineEngineTest {
protected:
    // Hands off a good exchange of a row, as the framing leaves it.
    void Good(int row, const Bytes& bytes, const Bytes& flags = {})
    {
        Place(row, bytes, flags);
        engine.Result = ResultOk;
        engine.ShowExchange();
    }
    void Failed(int row, int code, const Bytes& bytes)
    {
        Place(row, bytes, {});
        engine.Result = code;
        engine.ShowFailedExchange();
    }
    void Place(int row, const Bytes& bytes, const Bytes& flags)
    {
        engine.CurFrame = &DeviceCatalogue[row];
        engine.CurAddress = DeviceCatalogue[row].Address;
        engine.FrameLength = static_cast<std::int32_t>(bytes.size());
        engine.FrameFlags.fill(0);
        std::copy(bytes.begin(), bytes.end(), engine.FrameBytes.begin());
        std::copy(flags.begin(), flags.end(), engine.FrameFlags.begin());
    }
    static QString Cell(const TDeviceInfo& d, int column) { return d.GridCell(column); }

    const Bytes pressure = Join(Request(RowPressure6), Answer(RowPressure6, {0x10, 0x20}));
    const Bytes pressureBadAnswer = {0x46, 0x06, 0x10, 0x20, 0x37};
};

}  // namespace

TEST_F(HandOffTest, ColumnSevenIsTheShareOfTheLastTenExchangesInSensorDiagnostics)
{
    LineMode = LineModeSensors;
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    // Over the line: seven good exchanges, then three with a wrong answer check byte.
    for (int i = 0; i < 10; ++i)
        line.PlayAfter(10 + i * 100, i < 7 ? pressure : pressureBadAnswer);
    line.PlayAfter(1100, pressure);   // lets the last failure complete
    RunUntilQuiet();
    ASSERT_EQ(LineLogCount, 11);
    EXPECT_EQ(LineLogRecord(9).Result, ResultAnswerCheck);
    // The eleventh pushes the first out of the ten.
    EXPECT_EQ(Cell(d, 7), "7");
    EXPECT_EQ(d.AnswerCount, 7);
    EXPECT_EQ(d.AnswerHistory->Count, 10);
}

TEST_F(HandOffTest, TenFailuresInARowSilenceTheDeviceAndResetStatisticsOnce)
{
    LineMode = LineModeSensors;
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    Good(RowPressure6, pressure);
    Good(RowPressure6, pressure);
    EXPECT_EQ(d.NextPollTick, 0u);
    int resets = 0;
    for (int i = 0; i < 10; ++i) {
        clock.Advance(100);
        const std::uint32_t before = d.NextPollTick;
        Failed(RowPressure6, ResultNoAnswer, Request(RowPressure6));
        if (d.AnswerCount != 0) {
            EXPECT_EQ(d.NextPollTick, before) << "a failure does not move a device that still answers";
        }
        resets += engine.ResetStats.exchange(false);
    }
    EXPECT_EQ(Cell(d, 7), "0");
    EXPECT_EQ(d.NextPollTick, clock.Now() + 5000);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(Cell(d, 9), "Нет ответа");
}

TEST_F(HandOffTest, DisplayRefreshesAtMostOncePerUpdateTime)
{
    host.updateTime = 250;
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    Good(RowPressure6, pressure);
    EXPECT_EQ(d.AnswerText, "06 10 20 36");
    EXPECT_EQ(d.SchemeObject->Answer[1], 0x10);
    SlotLog.clear();

    clock.Advance(100);
    Good(RowPressure6, Join(Request(RowPressure6), Answer(RowPressure6, {0x11, 0x20})));
    EXPECT_EQ(d.AnswerText, "06 10 20 36");   // texts and frame stay
    EXPECT_EQ(d.SchemeObject->Answer[1], 0x10);
    EXPECT_TRUE(SlotLog.empty());
    EXPECT_EQ(Cell(d, 7), "2");               // statistics move
    EXPECT_EQ(Cell(d, 8), "0.10");

    // A failure makes the next good exchange show at once.
    clock.Advance(10);
    Failed(RowPressure6, ResultAnswerCheck, pressureBadAnswer);
    EXPECT_EQ(Cell(d, 9), "КС ответа");
    clock.Advance(10);
    Good(RowPressure6, Join(Request(RowPressure6), Answer(RowPressure6, {0x12, 0x20})));
    EXPECT_EQ(d.SchemeObject->Answer[1], 0x12);
    EXPECT_EQ(Cell(d, 9), "");
}

TEST_F(HandOffTest, ColumnEightIsTheMeanIntervalInSecondsUnlessStaticInBiDiagnostics)
{
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    Good(RowPressure6, pressure);
    EXPECT_EQ(Cell(d, 8), "");   // no interval yet
    clock.Advance(100);
    Good(RowPressure6, pressure);
    clock.Advance(305);
    Good(RowPressure6, pressure);
    EXPECT_EQ(Cell(d, 8), "0.20");   // (100 + 305) / 2 ms, rounded half away from zero
    EXPECT_EQ(d.IntervalSum, 405);

    d.SchemeObject->Static = 1;
    d.SetGridCell(8, "x");
    clock.Advance(100);
    Good(RowPressure6, pressure);
    EXPECT_EQ(Cell(d, 8), "x");
    LineMode = LineModeSensors;
    Good(RowPressure6, pressure);
    EXPECT_NE(Cell(d, 8), "x");
}

TEST_F(HandOffTest, GridCellsAreWrittenOnlyWhenTheirTextChanges)
{
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    Good(RowPressure6, pressure);
    const auto writes = gridRows.back()->Writes;
    for (int i = 0; i < 99; ++i)
        Good(RowPressure6, pressure);   // BI column 7 counts on; 9 stays empty
    EXPECT_EQ(gridRows.back()->Writes[9], writes[9]);
    EXPECT_EQ(gridRows.back()->Writes[7], writes[7] + 99);
    EXPECT_EQ(Cell(d, 7), "0");          // the counter wraps at 100
}

TEST_F(HandOffTest, BiDiagnosticsCopiesTheMastersRequestAndTheReceivedAnswer)
{
    TDeviceInfo& d = AddDevice(RowLeveller44, ModeReceive);
    SlotLog.clear();
    Good(RowLeveller44, Join(Request(RowLeveller44, {0x07}), Answer(RowLeveller44, {0x02, 0x04})));
    EXPECT_EQ(d.SchemeObject->Request[1], 0x07);
    EXPECT_EQ(d.SchemeObject->Answer[1], 0x02);
    EXPECT_EQ(d.SchemeObject->Answer[2], 0x04);
    EXPECT_EQ(d.SchemeObject->Answer[3], 0x00);   // the check byte is not copied
    std::vector<std::string> calls;
    for (const TSlotCall& c : SlotLog) {
        EXPECT_TRUE(c.updating) << c.slot;
        calls.push_back(c.slot);
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"RequestToGrid", "RequestToFrame", "AnswerToGrid", "AnswerToFrame"}));
    EXPECT_EQ(Cell(d, 2), "7");
    EXPECT_TRUE(d.TimerActive());   // the watchdog restarts with every exchange
    EXPECT_FALSE(UpdatingControls);
}

TEST_F(HandOffTest, EmulatedDeviceGetsOnlyTheRequestCopied)
{
    TDeviceInfo& d = AddDevice(RowLeveller44, ModeEmulate);
    d.SchemeObject->Answer[1] = 0x55;
    Good(RowLeveller44, Join(Request(RowLeveller44, {0x07}), Answer(RowLeveller44, {0x02, 0x04})));
    EXPECT_EQ(d.SchemeObject->Request[1], 0x07);
    EXPECT_EQ(d.SchemeObject->Answer[1], 0x55);
}

TEST_F(HandOffTest, AnswerOnlyDeviceInBiDiagnosticsShowsNoValueInColumnTwo)
{
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    Good(RowPressure6, pressure);
    EXPECT_EQ(Cell(d, 2), "-");
}

TEST_F(HandOffTest, SensorDiagnosticsNeitherCopiesTheRequestNorStartsTheWatchdog)
{
    LineMode = LineModeSensors;
    TDeviceInfo& d = AddDevice(RowLeveller44, ModeReceive);
    Good(RowLeveller44, Join(Request(RowLeveller44, {0x07}), Answer(RowLeveller44, {0x02, 0x04})));
    EXPECT_EQ(d.SchemeObject->Request[1], 0x00);
    EXPECT_EQ(d.SchemeObject->Answer[1], 0x02);
    EXPECT_FALSE(d.TimerActive());
}

TEST_F(HandOffTest, AnotherRowOfTheAddressCountsAsNoAnswerOfTheDevice)
{
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    auto* frame = dynamic_cast<TTestAnswerFrame*>(d.Frame.data());
    frame->ValueEdit->SetText("12");
    Good(RowTension6, pressure);
    EXPECT_EQ(Cell(d, 9), "Другой датчик");
    EXPECT_EQ(d.AnswerCount, 0);
    EXPECT_EQ(frame->ValueEdit->Text(), "");   // the answer editors are cleared
    EXPECT_EQ(d.AnswerText, "06 10 20 36");
    EXPECT_EQ(DeviceCatalogue[RowTension6].LastSeenTick, clock.Now());
}

TEST_F(HandOffTest, DisabledDeviceKeepsStatisticsButShowsNothing)
{
    TDeviceInfo& d = AddDevice(RowPressure6, ModeDisabled);
    Good(RowPressure6, pressure);
    EXPECT_EQ(d.AnswerCount, 1);
    EXPECT_EQ(d.LastAnswerTick, clock.Now());
    EXPECT_EQ(d.AnswerText, "");
    EXPECT_EQ(Cell(d, 7), "");
    EXPECT_FALSE(d.TimerActive());
}

TEST_F(HandOffTest, ExchangeWithoutDeviceReachesOnlyTheRowAndTheLog)
{
    DeviceCatalogue[RowPressure6].LastSeenTick = 0;
    Good(RowPressure6, pressure);
    EXPECT_EQ(DeviceCatalogue[RowPressure6].LastSeenTick, clock.Now());
    EXPECT_EQ(LogTexts(), std::vector<std::string>{"r7 0 46 | 06 10 20 36"});
}

TEST_F(HandOffTest, FailureOfAnotherRowOrUnrecognisedByteReachesOnlyTheLog)
{
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    Failed(RowTension6, ResultAnswerCheck, pressureBadAnswer);
    engine.CurFrame = nullptr;
    engine.FrameBytes[0] = 0x55;
    engine.FrameLength = 1;
    engine.Result = ResultNeedMore;   // as a push-out from a full pending buffer may leave it
    engine.ShowFailedExchange();
    EXPECT_EQ(d.AnswerHistory->Count, 0);
    EXPECT_EQ(d.ExchangeCounter, 0);
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"r21 2 46 | 06 10 20 37", "r- 6 55 | "}));
}

TEST_F(HandOffTest, SixteenByteRequestWithAnApostropheStaysWhole)
{
    LineMode = LineModeSensors;
    TDeviceInfo& d = AddDevice(RowTerminal62, ModeReceive);
    host.current = &d;
    Bytes body(14);
    for (int i = 0; i < 14; ++i)
        body[i] = static_cast<std::uint8_t>(0x30 + i);
    Bytes flags(21, 0);
    flags[0] = FlagPollEcho;
    Good(RowTerminal62, Join(Request(RowTerminal62, body), Answer(RowTerminal62, {1, 2, 3})), flags);
    ASSERT_EQ(d.RequestText.size(), 48);
    EXPECT_TRUE(d.RequestText.startsWith("'BE 30 31"));
    EXPECT_EQ(host.hexOut->Text(), d.RequestText);
    EXPECT_EQ(host.hexIn->Text(), "3E 01 02 03 3E");
    EXPECT_EQ(LineLogRecord(0).RequestText, d.RequestText);
}

TEST_F(HandOffTest, SelectedDeviceFieldsFollowOnlyTheSelectedDevice)
{
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    AddDevice(RowLeveller44, ModeReceive);
    host.current = &d;
    Good(RowLeveller44, Join(Request(RowLeveller44, {0x07}), Answer(RowLeveller44, {0x02, 0x04})));
    EXPECT_EQ(host.hexOut->Text(), "");
    Good(RowPressure6, pressure);
    EXPECT_EQ(host.hexOut->Text(), "46");
    EXPECT_EQ(host.hexIn->Text(), "06 10 20 36");
}

TEST_F(HandOffTest, NothingIsLoggedWhileRecordingIsOff)
{
    host.lineLogOn = false;
    Good(RowPressure6, pressure);
    Failed(RowPressure6, ResultNoAnswer, Request(RowPressure6));
    EXPECT_EQ(LineLogCount, 0);
}
