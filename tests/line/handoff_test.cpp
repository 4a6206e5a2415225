// The hand-off of settled exchanges to the device objects (statistics, due time, texts, images,
// slots, grid cells 7 to 9, the watchdog) and to the line log with the monitor's list.
#include "LineFixture.h"
#include "frames/Registration.h"
#include "frames/Terminal.h"

const Bytes Pressure = Join(Request(RowPressure6), Answer(RowPressure6, {0x10, 0x20}));
const Bytes PressureBadAnswer = {0x46, 0x06, 0x10, 0x20, 0x37};
const Bytes Leveller = Join(Request(RowLeveller44, {0x07}), Answer(RowLeveller44, {0x02, 0x04}));

class HandOffTest : public LineEngineTest {
protected:
    // Hands off an exchange of a row (-1: none) as the framing leaves it: good, or failed.
    void HandOff(int row, const Bytes& bytes, int code = ResultOk, const Bytes& flags = {})
    {
        engine.CurFrame = row < 0 ? nullptr : &DeviceCatalogue[row];
        engine.CurAddress = bytes[0] & 63;
        engine.FrameLength = static_cast<std::int32_t>(bytes.size());
        engine.FrameFlags.fill(0);
        std::copy(bytes.begin(), bytes.end(), engine.FrameBytes.begin());
        std::copy(flags.begin(), flags.end(), engine.FrameFlags.begin());
        engine.Result = code;
        code == ResultOk ? engine.ShowExchange() : engine.ShowFailedExchange();
    }
};

// Sensor diagnostics: column 7 is the share of good answers among the last ten exchanges, and
// ten failures in a row silence the device and reset the statistics once.
TEST_F(HandOffTest, ColumnSevenCountsTheLastTenAndTenFailuresSilenceTheDeviceOnce)
{
    LineMode = LineModeSensors;
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    // Over the line: seven good exchanges, three with a wrong answer check byte, one good.
    for (int i = 0; i < 10; ++i)
        line.PlayAfter(10 + i * 100, i < 7 ? Pressure : PressureBadAnswer);
    line.PlayAfter(1100, Pressure);
    RunUntilQuiet();
    ASSERT_EQ(LineLogCount, 11);
    EXPECT_EQ(LineLogRecord(9).Result, ResultAnswerCheck);
    EXPECT_EQ(d.GridCell(7), "7");   // the eleventh pushed the first out of the ten
    EXPECT_EQ(d.AnswerCount, 7);

    int resets = 0;
    for (int i = 0; i < 10; ++i) {
        clock.Advance(100);
        HandOff(RowPressure6, Request(RowPressure6), ResultNoAnswer);
        resets += engine.ResetStats.exchange(false);
    }
    EXPECT_EQ(d.GridCell(7), "0");
    EXPECT_EQ(d.NextPollTick, clock.Now() + 5000);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(d.GridCell(9), "Нет ответа");
}

TEST_F(HandOffTest, DisplayRefreshesAtMostOncePerUpdateTimeAndAtOnceAfterAFailure)
{
    host.updateTime = 250;
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    HandOff(RowPressure6, Pressure);
    SlotLog.clear();

    clock.Advance(100);
    HandOff(RowPressure6, Join(Request(RowPressure6), Answer(RowPressure6, {0x11, 0x20})));
    EXPECT_EQ(d.AnswerText, "06 10 20 36");   // texts, image and frame stay
    EXPECT_EQ(d.SchemeObject->Answer[1], 0x10);
    EXPECT_TRUE(SlotLog.empty());
    EXPECT_EQ(d.GridCell(7), "2");   // statistics move
    EXPECT_EQ(d.GridCell(8), "0.10");

    clock.Advance(10);
    HandOff(RowPressure6, PressureBadAnswer, ResultAnswerCheck);
    EXPECT_EQ(d.GridCell(9), "КС ответа");
    clock.Advance(10);
    HandOff(RowPressure6, Join(Request(RowPressure6), Answer(RowPressure6, {0x12, 0x20})));
    EXPECT_EQ(d.SchemeObject->Answer[1], 0x12);
    EXPECT_EQ(d.GridCell(9), "");
}

// After every hand-off the grid and the frame show the images; an exchange that changes neither
// image rewrites nothing, and one after the editors were emptied shows the values again. A
// hidden frame (any but the selected device's) is written once it is shown, with the images
// then held.
TEST_F(HandOffTest, GridAndFrameShowTheImagesAndOnlyChangesAreWritten)
{
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    auto* frame = static_cast<TTestAnswerFrame*>(d.Frame.data());
    host.panel->show();
    frame->show();
    const auto answer = [](std::uint8_t value) { return Join(Request(RowPressure6), Answer(RowPressure6, {value, 0x20})); };
    // clang-format off
    struct { Bytes bytes; int code; bool onScreen; const char* cell; const char* edit; std::size_t slotCalls; } const steps[] = {
        {answer(0x10), ResultOk, true, "16", "16", 2}, {answer(0x10), ResultOk, true, "16", "16", 0},
        {PressureBadAnswer, ResultAnswerCheck, true, "", "", 0}, {answer(0x10), ResultOk, true, "16", "16", 2},
        {answer(0x11), ResultOk, true, "17", "17", 2}, {answer(0x11), ResultOk, true, "17", "17", 0},
        {answer(0x12), ResultOk, false, "18", "17", 1}, {answer(0x13), ResultOk, false, "19", "17", 1},
        {answer(0x13), ResultOk, true, "19", "19", 0},   // shown: the last values, then nothing more
        {answer(0x14), ResultOk, false, "20", "19", 1}, {PressureBadAnswer, ResultAnswerCheck, true, "", "", 0},
    };
    // clang-format on
    for (const auto& step : steps) {
        frame->setVisible(step.onScreen);
        SlotLog.clear();
        clock.Advance(100);
        HandOff(RowPressure6, step.bytes, step.code);
        EXPECT_EQ(d.GridCell(3), step.cell) << int(&step - steps);
        EXPECT_EQ(frame->ValueEdit->Text(), step.edit) << int(&step - steps);
        EXPECT_EQ(SlotLog.size(), step.slotCalls) << int(&step - steps);
    }
    // What reads a hidden frame reads it up to date.
    frame->hide();
    HandOff(RowPressure6, answer(0x15));
    EXPECT_EQ(frame->ValueEdit->Text(), "");
    d.FrameToAnswer();
    EXPECT_EQ(frame->ValueEdit->Text(), "21");
}

// A terminal's requests carry its text as a stream: each is shown, also one equal to the last,
// and the same line sent twice is two lines.
TEST_F(HandOffTest, ATerminalIsShownEveryRequest)
{
    RegisterFrameClasses();
    TDeviceInfo& d = AddDeviceWithItsFrame(RowTerminal62, ModeReceive);
    auto* frame = dynamic_cast<TTerminalFrame*>(d.Frame.data());
    ASSERT_NE(frame, nullptr);
    Bytes line(14, 0);
    line[1] = 'A';
    line[2] = 10;   // the end of a line
    const Bytes exchange = Join(Request(RowTerminal62, line), Answer(RowTerminal62, {0, 0, 0}));
    for (int i = 0; i < 2; ++i) {
        clock.Advance(100);
        HandOff(RowTerminal62, exchange);
    }
    EXPECT_EQ(frame->Output1->Lines(), QStringList({"A", "A"}));
}

// BI diagnostics copies the master's request and the answer heard; sensor diagnostics takes the
// answer only; a disabled device keeps statistics only.
TEST_F(HandOffTest, WhatReachesTheImagesFollowsTheModes)
{
    TDeviceInfo& d = AddDevice(RowLeveller44, ModeReceive);
    host.panel->show();
    d.Frame->show();
    SlotLog.clear();
    HandOff(RowLeveller44, Leveller);
    EXPECT_EQ(d.SchemeObject->Request[1] + d.SchemeObject->Answer[2], 0x07 + 0x04);
    EXPECT_EQ(SlotLog.size(), 4u);
    EXPECT_TRUE(d.TimerActive());   // the watchdog restarts with every exchange

    LineMode = LineModeSensors;
    d.SchemeObject->Mode = ModeReceive;
    d.SchemeObject->Request[1] = 0;
    HandOff(RowLeveller44, Leveller);
    EXPECT_EQ(d.SchemeObject->Request[1], 0x00);
    EXPECT_EQ(d.SchemeObject->Answer[1], 0x02);

    d.SchemeObject->Mode = ModeDisabled;   // statistics only
    d.StopTimer();
    HandOff(RowLeveller44, Join(Request(RowLeveller44, {0x07}), Answer(RowLeveller44, {0x09, 0x04})));
    EXPECT_EQ(d.SchemeObject->Answer[1], 0x02);
    EXPECT_EQ(d.AnswerCount, 3);
    EXPECT_FALSE(d.TimerActive());
}

// An emulated device's answer is the user's: neither an answer heard, nor a failed exchange, nor
// another row's exchange overwrites or empties it.
TEST_F(HandOffTest, AnEmulatedDevicesAnswerStaysTheUsers)
{
    TDeviceInfo& d = AddDevice(RowPressure6, ModeEmulate);
    auto* frame = dynamic_cast<TTestAnswerFrame*>(d.Frame.data());
    d.SchemeObject->Answer[1] = 12;
    frame->ValueEdit->SetText("12");
    HandOff(RowPressure6, Pressure);   // its answer heard with another body
    HandOff(RowPressure6, PressureBadAnswer, ResultAnswerCheck);
    HandOff(RowTension6, Pressure);
    EXPECT_EQ(d.SchemeObject->Answer[1], 12);
    EXPECT_EQ(frame->ValueEdit->Text(), "12");
    EXPECT_EQ(d.GridCell(9), "Другой датчик");
}

TEST_F(HandOffTest, AnotherRowOfTheAddressCountsAsNoAnswerOfTheDevice)
{
    TDeviceInfo& d = AddDevice(RowPressure6, ModeReceive);
    auto* frame = dynamic_cast<TTestAnswerFrame*>(d.Frame.data());
    frame->ValueEdit->SetText("12");
    HandOff(RowTension6, Pressure);
    EXPECT_EQ(d.GridCell(9), "Другой датчик");
    EXPECT_EQ(frame->ValueEdit->Text(), "");   // the answer editors are cleared

    // Failures of another row or of an unrecognised byte reach only the log, an unrecognised
    // byte with code 6 whatever code it came with.
    HandOff(RowTension6, PressureBadAnswer, ResultAnswerCheck);
    HandOff(-1, {0x55}, ResultNeedMore);   // as a push-out from a full pending buffer
    AppendLineLog(host, nullptr, ResultOk, "55", "", false, clock.Now());
    EXPECT_EQ(d.AnswerCount, 0);
    EXPECT_EQ(d.ExchangeCounter, 1);   // the other row only
    EXPECT_EQ(LogTexts(), (Texts{"r21 0 46 | 06 10 20 36", "r21 2 46 | 06 10 20 37", "r- 6 55 | ", "r- 6 55 | "}));
}

TEST_F(HandOffTest, SixteenByteRequestWithAnApostropheStaysWholeForTheSelectedDevice)
{
    LineMode = LineModeSensors;
    TDeviceInfo& d = AddDevice(RowTerminal62, ModeReceive);
    AddDevice(RowPressure6, ModeReceive);
    host.current = &d;
    HandOff(RowPressure6, Pressure);
    EXPECT_EQ(host.hexOut->Text(), "");   // not the selected device
    Bytes body(14), flags(21, 0);
    for (int i = 0; i < 14; ++i)
        body[i] = static_cast<std::uint8_t>(0x30 + i);
    flags[0] = FlagPollEcho;
    HandOff(RowTerminal62, Join(Request(RowTerminal62, body), Answer(RowTerminal62, {1, 2, 3})), ResultOk, flags);
    ASSERT_EQ(d.RequestText.size(), 48);
    EXPECT_TRUE(d.RequestText.startsWith("'BE 30 31"));
    EXPECT_EQ(host.hexOut->Text(), d.RequestText);
    EXPECT_EQ(host.hexIn->Text(), "3E 01 02 03 3E");
    EXPECT_EQ(LineLogRecord(1).RequestText, d.RequestText);

    host.lineLogOn = false;   // nothing is logged while recording is off
    HandOff(RowPressure6, Pressure);
    EXPECT_EQ(LineLogCount, 2);
}

void Append(THost& host)
{
    AppendLineLog(host, &DeviceCatalogue[RowPressure6], ResultOk, "46", "", true, GetTickCount());
}

// A full log drops its oldest record for a new one (the monitor's test follows the list to the
// newest there); the list jumps on in steps of the active count, inside balanced update brackets.
TEST_F(HandOffTest, ListFollowsInStepsOfTheActiveCount)
{
    for (int row : {RowPressure6, RowLeveller44, RowLineProx5})
        AddDevice(row, ModeReceive);   // none answered yet: the enabled devices are the active count
    std::vector<int> shown;
    for (int i = 0; i < 7; ++i) {
        const int before = host.recordInfoShown;
        Append(host);
        shown.push_back(host.recordInfoShown - before);
    }
    // 10 visible lines, 3 active: (count - 10 mod 3) mod 3 == 0 at counts 1, 4, 7.
    EXPECT_EQ(shown, (std::vector<int>{1, 0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(host.listUpdateDepth, 0);
    // Answered devices in BI diagnostics, due ones in sensor diagnostics.
    host.devices[0]->AnswerCount = 1;
    host.devices[1]->NextPollTick = clock.Now() + 1000;
    EXPECT_EQ(LineLogActiveCount(host, clock.Now()), 1);
    LineMode = LineModeSensors;
    EXPECT_EQ(LineLogActiveCount(host, clock.Now()), 2);
    // No devices and an empty list divide by nothing.
    host.ClearDevices();
    host.listItemHeight = host.listHeight = 0;
    Append(host);
    EXPECT_EQ(host.listIndex, LineLogCount - 1);
    EXPECT_DOUBLE_EQ(DateTimeToDays(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);   // days since 1899
}

// A full log drops its oldest record for each new one: the view and the selection move up with
// their records, and the list jumps to the newest once as many records as devices are active lie
// below the view, as ever.
TEST_F(HandOffTest, AFullLogKeepsTheSelectionOnItsRecord)
{
    // clang-format off
    const struct { int devices, top, selected, after; } cases[] = {
        {6, 9985, 9990, 9999},   // six records below the view, six active: the newest
        {8, 9985, 9990, 9989},   // six below, eight active: stays on its record
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.devices);
        for (int address = 1; int(host.devices.size()) < c.devices; ++address)
            if (!FrameInfoVectors[address].empty())
                AddDevice(int(FrameInfoVectors[address].front() - DeviceCatalogue), ModeReceive);
        LineLogClear();
        for (int i = 0; i < LineLogCapacity; ++i)
            LineLogAdd(&DeviceCatalogue[RowPressure6], ResultOk, "46", "");
        host.listCount = LineLogCount;
        host.listTop = c.top;
        host.listIndex = c.selected;
        Append(host);
        EXPECT_EQ(LineLogCount, LineLogCapacity);
        EXPECT_EQ(host.listIndex, c.after);
    }
}
