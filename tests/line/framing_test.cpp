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
    // (answer 6 bytes). A request waits in the pending buffer until its answer settles which row.
    {"DisabledDeviceInTimeIsLate", RowLeveller44, ModeDisabled, {{0, Join(LevReq, LevAns)}}, {"r50 1 AC 01 AD | 2C 02 04 2A"}},
    {"OneByteRequestOfTheDevicesRowWins", RowTension6, ModeReceive,
     {{0, PressReq}, {100, Join(PressReq, PressAns)}, {200, PressReq}, {60, PressAns}},
     {"r21 4 46 | ", "r21 0 46 | 06 10 20 36", "r21 1 46 | 06 10 20 36"}},
    {"FirstRowFailsDefinitely", -1, 0, {{0, Join(IoBlock, Join(PressReq, PressAns))}}, {"r4 0 72 | 32 01 02 03 04 36", PressOk}},
    {"FirstRowStillNeedsMoreSoTheBytesWait", -1, 0, {{0, IoBlock}, {100, Join(PressReq, PressAns)}},
     {"r4 1 72 | 32 01 02 03 04 36", PressOk}},
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
