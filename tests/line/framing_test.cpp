// Framing of the line into exchanges: the result codes from realistic byte sequences, the
// listen attempts over rows of one address, the pending buffer, and the emulated answer.
#include "LineFixture.h"
#include "support/HostileLine.h"

// Address 44 (one row, request 3, answer 4) and address 6 (three rows, request 1, answer 4).
// None of these bytes but the first of each request is an address byte.
const Bytes LevReq = Request(RowLeveller44, {0x01});         // AC 01 AD
const Bytes LevAns = Answer(RowLeveller44, {0x02, 0x04});    // 2C 02 04 2A
const Bytes PressReq = Request(RowPressure6);                // 46
const Bytes PressAns = Answer(RowPressure6, {0x10, 0x20});   // 06 10 20 36
const std::string LevOk = "r50 0 AC 01 AD | 2C 02 04 2A";

const Bytes IoBlock = Join(Request(RowIoBlock50), Answer(RowIoBlock50, {0x01, 0x02, 0x03, 0x04}));
const std::string PressOk = "r7 0 46 | 06 10 20 36";

// clang-format off
struct Piece { std::uint32_t afterMs; Bytes bytes; };   // after the previous piece began
constexpr int EitherWay = -2;   // without a device, and with one listened to at address 44
struct ListenCase { const char* name; int deviceRow; std::uint8_t mode; std::vector<Piece> pieces; Texts expected; };

const ListenCase ListenCases[] = {
    // The result codes, with the right row whether the scheme has a device there or not.
    {"Ok", EitherWay, ModeReceive, {{0, Join(LevReq, LevAns)}}, {LevOk}},
    {"LateAnswerIsTimeout", EitherWay, ModeReceive, {{0, LevReq}, {60, LevAns}}, {"r50 1 AC 01 AD | 2C 02 04 2A"}},
    {"AnswerCheck", EitherWay, ModeReceive, {{0, Join(LevReq, {0x2C, 0x02, 0x04, 0x2B})}}, {"r50 2 AC 01 AD | 2C 02 04 2B"}},
    {"ShortAnswer", EitherWay, ModeReceive, {{0, {0xAC, 0x01, 0xAD, 0x2C, 0x02}}, {100, Join(LevReq, LevAns)}}, {"r50 3 AC 01 AD | 2C 02", LevOk}},
    {"NoAnswerByte", EitherWay, ModeReceive, {{0, LevReq}, {100, Join(LevReq, LevAns)}}, {"r50 4 AC 01 AD | ", LevOk}},
    {"ForeignByteAfterRequest", EitherWay, ModeReceive, {{0, Join(LevReq, {0x55})}}, {"r50 4 AC 01 AD | ", "r- 6 55 | "}},
    {"RequestCheck", EitherWay, ModeReceive, {{0, {0xAC, 0x01, 0xAE}}}, {"r50 5 AC | ", "r- 6 01 | ", "r- 6 AE | "}},
    {"EmulatedDeviceLeavesABadCheckByteUnanswered", RowLeveller44, ModeEmulate, {{0, {0xAC, 0x01, 0xAE}}},
     {"r50 5 AC | ", "r- 6 01 | ", "r- 6 AE | "}},
    {"ShortRequest", EitherWay, ModeReceive, {{0, {0xAC, 0x01}}, {100, Join(LevReq, LevAns)}}, {"r50 6 AC | ", "r- 6 01 | ", LevOk}},
    {"AddressSixtyThree", EitherWay, ModeReceive, {{0, {0x3F, 0xFF}}}, {"r- 6 3F | ", "r- 6 FF | "}},
    // Address 6 has three one-byte requests; address 50 holds row 1 (answer 7 bytes) before row 4
    // (answer 6 bytes). A request waits in the pending buffer until its answer settles which row;
    // an exchange is taken by the row whose lengths fit what was heard, whichever comes first.
    {"DisabledDeviceInTimeIsLate", RowLeveller44, ModeDisabled, {{0, Join(LevReq, LevAns)}}, {"r50 1 AC 01 AD | 2C 02 04 2A"}},
    {"OneByteRequestOfTheDevicesRowWins", RowTension6, ModeReceive,
     {{0, PressReq}, {100, Join(PressReq, PressAns)}, {200, PressReq}, {60, PressAns}},
     {"r21 4 46 | ", "r21 0 46 | 06 10 20 36", "r21 1 46 | 06 10 20 36"}},
    {"FirstRowFailsDefinitely", -1, 0, {{0, Join(IoBlock, Join(PressReq, PressAns))}}, {"r4 0 72 | 32 01 02 03 04 36", PressOk}},
    {"FirstRowStillNeedsMoreButTheSecondFits", -1, 0, {{0, IoBlock}, {100, Join(PressReq, PressAns)}},
     {"r4 0 72 | 32 01 02 03 04 36", PressOk}},
    {"NoRowFitsSoTheBytesWait", -1, 0, {{0, Bytes(IoBlock.begin(), IoBlock.end() - 1)}, {100, Join(PressReq, PressAns)}},
     {"r1 3 72 | 32 01 02 03 04", PressOk}},
};
// clang-format on

TEST(ListenedExchanges, ResultCodesAndRowsFromTheLineWithAndWithoutADevice)
{
    for (const ListenCase& c : ListenCases)
        for (int row : c.deviceRow == EitherWay ? std::vector<int>{-1, RowLeveller44} : std::vector<int>{c.deviceRow}) {
            SCOPED_TRACE(std::string(c.name) + " device row " + std::to_string(row));
            LineWorld w;
            if (row >= 0)
                w.AddDevice(row, c.mode);
            std::uint32_t at = w.clock.Now();
            for (const Piece& p : c.pieces)
                w.line.PlayAt(at += p.afterMs, p.bytes);
            w.RunUntilQuiet();
            // A cut request keeps its row only through the scheme device: without one, no row's
            // code is below the starting 6.
            Texts expected = c.expected;
            for (std::string& text : expected)
                if (row < 0 && text.rfind("r50 6 ", 0) == 0)
                    text.replace(0, 3, "r-");
            EXPECT_EQ(LogTexts(), expected);
            EXPECT_TRUE(w.Writes().empty());
        }
}

// A device not in the scheme at a shared address is heard as the row of its lengths as soon as
// its last byte came: IoBlock-1/2 is not left waiting out a read for a byte of Gear-1's longer
// answer, and is stamped as seen.
TEST_F(LineEngineTest, AShorterRowAtASharedAddressIsTakenAtItsLastByte)
{
    const std::uint32_t t0 = clock.Now();
    line.PlayAt(t0, IoBlock);
    RunUntilQuiet();
    EXPECT_EQ(LogTexts(), Texts{"r4 0 72 | 32 01 02 03 04 36"});
    EXPECT_EQ(DeviceCatalogue[RowIoBlock50].LastSeenTick, t0 + 6);   // the 7th byte, 1.146 ms apart
}

TEST_F(LineEngineTest, SeventeenthPendingBytePushesTheOldestOutAsUnrecognised)
{
    // A terminal request (16 bytes: BE, zeros, BE) is recognised on the fast path only: cut off
    // from its answer it fills the pending buffer.
    line.PlayAfter(0, Request(RowTerminal62, Bytes(14, 0x00)));
    RunUntilQuiet();
    EXPECT_EQ(engine.PendingBytes.Count, 16);
    EXPECT_EQ(LineLogCount, 0);

    line.PlayAfter(100, {0x3F});
    RunUntilQuiet();
    Texts expected{"r- 6 BE | "};   // an address byte, pushed out all the same
    expected.insert(expected.end(), 14, "r- 6 00 | ");
    EXPECT_EQ(LogTexts(), expected);
    EXPECT_EQ(engine.PendingBytes.Count, 2);   // BE waits for a request, 3F behind it
}

TEST_F(LineEngineTest, EmulatedAnswerIsPurgedThenWrittenWithTheFramesBody)
{
    TDeviceInfo& device = AddDevice(RowLeveller44, ModeEmulate);
    dynamic_cast<TTestRequestFrame*>(device.Frame.data())->ValueEdit->SetText("7");   // answer byte 1
    device.SchemeObject->Answer[2] = 0x22;
    line.ClearCalls();
    engine.FramingPass();   // listening is set up once, before the first read
    engine.FramingPass();
    line.PlayAfter(0, LevReq);
    RunUntilQuiet();
    EXPECT_EQ(line.Trace(), "SetState(S) Read(1:) Read(1:) Read(1:AC) Read(2:01 AD) Purge Write(S:2C 07 22 09) "
                            "Read(4:2C 07 22 09)");
    EXPECT_EQ(LogTexts(), Texts{"r50 0 AC 01 AD | 2C 07 22 09"});
    EXPECT_EQ(device.SchemeObject->Request[1], 0x01);   // the heard request is shown with it

    // Without a device at the address the body is zeros, whatever the buffer held.
    host.byAddr[44] = nullptr;
    engine.TxBytes.fill(0xEE);
    engine.SendEmulatedAnswer(DeviceCatalogue[RowLeveller44]);
    EXPECT_EQ(Writes().back().Bytes, (Bytes{0x2C, 0x00, 0x00, 0x2C}));
    host.byAddr[44] = &device;
}

// A disabled device (Tilt-5) answers the master with bodies that hold an emulated device's wire
// byte (46) or that of an address without a device (43). Its exchange is taken whole, and shown
// late: nothing in it is answered, and the master's next request, 20 ms after each, to the
// emulated Pressure-1 is answered as soon as without the disabled row in the scheme.
TEST(DisabledDevice, ItsAnswerIsNeverAnsweredNorHoldsUpTheNextRequest)
{
    const Bytes bodies[] = {{0x46, 0x10, 0x20}, {0x10, 0x20, 0x46}, {0x43, 0x10, 0x20}, {0x10, 0x43, 0x20}};
    const auto run = [&bodies](bool disabledRow) {
        LineWorld w;
        w.AddDevice(RowPressure6, ModeEmulate);
        if (disabledRow)
            w.AddDevice(RowTilt5, ModeDisabled);
        std::uint32_t at = w.clock.Now();
        for (const Bytes& body : bodies) {
            w.line.PlayAt(at += 150, Join(Request(RowTilt5), Answer(RowTilt5, body)));
            w.line.PlayAt(at + 20, PressReq);
        }
        w.RunUntilQuiet();
        std::vector<std::pair<std::uint32_t, std::uint8_t>> answers;
        for (const auto& write : w.Writes())
            answers.emplace_back(write.Tick, write.Bytes.front());
        return std::pair(answers, LogTexts());
    };
    const auto [answers, log] = run(true);
    const auto [without, unused] = run(false);
    EXPECT_EQ(answers.size(), std::size(bodies));
    EXPECT_EQ(answers, without);
    EXPECT_EQ(log.front(), "r83 1 31 | 31 46 10 20 47");
    EXPECT_EQ(std::count(log.begin(), log.end(), "r7 0 46 | 06 00 00 06"), std::ssize(bodies));
}

// A request to an emulated device (Tilt-1: address 3, wire 43, request 1 byte, answer 4 bytes)
// held by a listen attempt begun at 05, with bytes behind it by the time it is framed. Stray
// bytes leave the master waiting: the request is answered once, by the end of the read that
// holds it. The master's next request (to the emulated Pressure-1, wire 46), a repeat, or an
// answer from a device at address 3 mean that the line went on: it stays unanswered.
// clang-format off
struct BehindCase { const char* name; std::vector<std::pair<std::uint32_t, Bytes>> behind; Bytes answersTo; };
const BehindCase BehindCases[] = {
    {"StrayBytes", {{116, {0x3F}}, {124, {0xAA}}}, {0x03}},
    {"MastersNextRequest", {{116, PressReq}}, {0x06}},
    {"Repeat", {{116, {0x43}}}, {0x03}},   // the repeat is answered
    {"AnotherDevicesAnswer", {{107, Answer(RowTilt3, {0x01, 0x02})}}, {}},
};
// clang-format on

TEST(RequestWithBytesBehind, IsAnsweredWhileTheMasterWaitsAndNotOnceTheLineWentOn)
{
    for (const BehindCase& c : BehindCases) {
        SCOPED_TRACE(c.name);
        LineWorld w;
        w.AddDevice(RowTilt3, ModeEmulate);
        w.AddDevice(RowPressure6, ModeEmulate);
        const std::uint32_t t0 = w.clock.Now();
        for (const auto& [at, bytes] : std::vector<std::pair<std::uint32_t, Bytes>>{{100, {0x05}}, {101, {0x8B}}, {105, {0x43}}})
            w.line.PlayAt(t0 + at, bytes);
        for (const auto& [at, bytes] : c.behind)
            w.line.PlayAt(t0 + at, bytes);
        w.RunUntilQuiet();
        Bytes answered;
        for (const auto& write : w.Writes())
            answered.push_back(write.Bytes.front());
        EXPECT_EQ(answered, c.answersTo);
        if (w.Writes().empty())
            continue;
        if (c.behind.front().second == Bytes{0x3F})
            EXPECT_LE(w.Writes().front().Tick - t0, 124u);
        else
            EXPECT_GE(w.Writes().front().Tick - t0, 116u);   // not the request held
    }
}

// The program's answer heard back is checked as any answer: a corrupted echo is a failed exchange.
TEST_F(LineEngineTest, AnEmulatedAnswerHeardBackCorruptedIsAFailedExchange)
{
    AddDevice(RowLeveller44, ModeEmulate);
    line.Echoes = false;
    line.OnWrite = [this](const ScriptedPort::Call& write) {
        Bytes echo = write.Bytes;
        echo.back() ^= 0x01;
        line.PlayAfter(1, echo);
    };
    line.PlayAfter(0, LevReq);
    RunUntilQuiet();
    EXPECT_EQ(LogTexts(), Texts{"r50 2 AC 01 AD | 2C 00 00 2D"});
}

TEST_F(LineEngineTest, ReadAsksForNoMoreThanTheFreeRoom)
{
    const Bytes filler(30, 0x00);
    engine.RxBytes.Put(filler.data(), 30);
    engine.RxFlags.Put(filler.data(), 30);
    line.PlayAfter(0, Bytes(11, 0x55));
    line.ClearCalls();
    EXPECT_EQ(engine.ReadToRx(11, FlagPollEcho), 2u);
    EXPECT_EQ(line.CallsOf(ScriptedPort::Op::Read).back().Count, 2u);
    EXPECT_EQ(engine.RxFlags.At(31), FlagPollEcho);
    EXPECT_EQ(engine.ReadToRx(11), 0u);
    EXPECT_EQ(line.CallsOf(ScriptedPort::Op::Read).size(), 1u);   // a full buffer reads nothing
}

// Opening a scheme pauses the receive thread; a pass already under way meets the pause at any
// of its main-thread steps. It never answers then, and never with a previous request's device;
// what it read reaches the line log once the pause is over, in order.
struct PauseAfterSteps final : ISynchronizer {
    void Synchronize(const std::function<void()>& step) override
    {
        if (steps >= 0 && steps-- == 0)
            paused = true;
        step();
    }
    int steps = -1;   // steps still run before the pause; -1: never paused
    std::atomic<bool> paused{false};
};

TEST(PauseMidPass, APassThatMeetsThePauseNeverAnswersWithAnotherDevice)
{
    for (int steps = 0; steps < 4; ++steps) {
        PauseAfterSteps gate;
        TPausableSynchronizer sync(gate, gate.paused);
        LineWorld w(&sync);
        w.AddDevice(RowPressure6, ModeEmulate);
        w.AddDevice(RowLineProx5, ModeEmulate);
        w.line.PlayAfter(0, PressReq);
        w.RunUntilQuiet();
        ASSERT_EQ(w.Writes().size(), 1u);
        gate.steps = steps;                                                   // lookup, answer fill, hand-off
        w.line.PlayAfter(100, {DeviceCatalogue[RowLineProx5].WireAddress});   // 05
        w.RunUntilQuiet();
        const auto writes = w.Writes();
        EXPECT_EQ(writes.size(), steps >= 2 ? 2u : 1u) << "paused after " << steps << " steps";
        for (std::size_t i = 1; i < writes.size(); ++i)
            EXPECT_EQ(writes[i].Bytes[0], 0x05) << "paused after " << steps << " steps";

        gate.paused = false;
        w.line.PlayAfter(100, PressReq);
        w.RunUntilQuiet();
        Bytes read, logged = LineLogBytes();
        for (const auto& call : w.line.CallsOf(ScriptedPort::Op::Read))
            read.insert(read.end(), call.Bytes.begin(), call.Bytes.end());
        for (int i = 0; i < w.engine.PendingBytes.Count; ++i)
            logged.push_back(w.engine.PendingBytes.At(i));
        EXPECT_EQ(logged, read) << "paused after " << steps << " steps";
    }
}
