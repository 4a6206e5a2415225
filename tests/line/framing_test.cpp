// Framing of the line into exchanges: the result codes from realistic byte sequences, the
// listen attempts over rows of one address, the pending buffer, and the emulated answer.
#include <gtest/gtest.h>

#include "LineEngineFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::string>;

// Address 44 (one row, request 3, answer 4) and address 6 (three rows, request 1, answer 4).
const Bytes LevReq = Request(RowLeveller44, {0x01});              // AC 01 AD
const Bytes LevAns = Answer(RowLeveller44, {0x02, 0x04});         // 2C 02 04 2A
const Bytes LevBadAns = {0x2C, 0x02, 0x04, 0x2B};
const Bytes PressReq = Request(RowPressure6);                     // 46
const Bytes PressAns = Answer(RowPressure6, {0x10, 0x20});        // 06 10 20 36
const std::string LevOk = "r50 0 AC 01 AD | 2C 02 04 2A";

struct Piece {
    std::uint32_t afterMs;   // after the previous piece began
    Bytes bytes;
};

struct CodeCase {
    const char* name;
    std::vector<Piece> pieces;
    Texts expected;
};

// Every byte of these sequences that is not meant to begin a request is no address byte.
const CodeCase CodeCases[] = {
    {"Ok", {{0, Join(LevReq, LevAns)}}, {LevOk}},
    {"LateAnswerIsTimeout", {{0, LevReq}, {60, LevAns}}, {"r50 1 AC 01 AD | 2C 02 04 2A"}},
    {"AnswerCheck", {{0, Join(LevReq, LevBadAns)}}, {"r50 2 AC 01 AD | 2C 02 04 2B"}},
    {"ShortAnswer", {{0, {0xAC, 0x01, 0xAD, 0x2C, 0x02}}, {100, Join(LevReq, LevAns)}},
     {"r50 3 AC 01 AD | 2C 02", LevOk}},
    {"NoAnswerByte", {{0, LevReq}, {100, Join(LevReq, LevAns)}}, {"r50 4 AC 01 AD | ", LevOk}},
    {"ForeignByteAfterRequest", {{0, Join(LevReq, {0x55})}},
     {"r50 4 AC 01 AD | ", "r- 6 55 | "}},
    {"RequestCheck", {{0, {0xAC, 0x01, 0xAE}}},
     {"r50 5 AC | ", "r- 6 01 | ", "r- 6 AE | "}},
    {"ShortRequest", {{0, {0xAC, 0x01}}, {100, Join(LevReq, LevAns)}},
     {"r50 6 AC | ", "r- 6 01 | ", LevOk}},
    {"AddressSixtyThree", {{0, {0x3F, 0xFF}}}, {"r- 6 3F | ", "r- 6 FF | "}},
};

void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }

void Play(ScriptedPort& line, VirtualClock& clock, const std::vector<Piece>& pieces)
{
    std::uint32_t at = clock.Now();
    for (const Piece& p : pieces) {
        at += p.afterMs;
        line.PlayAt(at, p.bytes);
    }
}

}  // namespace

TEST(FramingCases, SequencesAvoidAccidentalAddressBytes)
{
    for (std::uint8_t b : {0x01, 0xAD, 0x2C, 0x02, 0x04, 0x2A, 0x2B, 0x55, 0xAE, 0x06, 0x10, 0x20, 0x36})
        EXPECT_FALSE(IsWireAddressByte(b)) << int(b);
}

class ResultCodes : public LineEngineTest, public ::testing::WithParamInterface<std::tuple<CodeCase, int>> {};

TEST_P(ResultCodes, FromTheLineWithTheRightRow)
{
    const auto& [c, mode] = GetParam();
    if (mode >= 0)
        AddDevice(RowLeveller44, static_cast<std::uint8_t>(mode));
    Play(line, clock, c.pieces);
    RunUntilQuiet();
    Texts expected = c.expected;
    // A cut request only keeps its row through the scheme device: without one, no row's code
    // is below the starting 6.
    if (mode < 0)
        for (std::string& text : expected)
            if (text.rfind("r50 6 ", 0) == 0)
                text.replace(0, 3, "r-");
    EXPECT_EQ(LogTexts(), expected);
    EXPECT_TRUE(Writes().empty());
}

INSTANTIATE_TEST_SUITE_P(ListenedWithAndWithoutADevice, ResultCodes,
                         ::testing::Combine(::testing::ValuesIn(CodeCases), ::testing::Values(-1, int(ModeReceive))),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) < 0 ? "_NoDevice" : "_Receive");
                         });

TEST_F(LineEngineTest, DisabledDeviceExchangeInTimeIsReportedLate)
{
    AddDevice(RowLeveller44, ModeDisabled);
    line.PlayAfter(0, Join(LevReq, LevAns));
    RunUntilQuiet();
    EXPECT_EQ(LogTexts(), Texts{"r50 1 AC 01 AD | 2C 02 04 2A"});
}

TEST_F(LineEngineTest, OneByteRequestWaitsForItsAnswerThenNoAnswerWhenAnotherExchangeComes)
{
    line.PlayAfter(0, PressReq);
    RunUntilQuiet();
    EXPECT_EQ(LineLogCount, 0);   // need more: pending
    EXPECT_EQ(engine.PendingBytes.Count, 1);
    line.PlayAfter(100, Join(PressReq, PressAns));
    RunUntilQuiet();
    EXPECT_EQ(LogTexts(), (Texts{"r7 4 46 | ", "r7 0 46 | 06 10 20 36"}));
}

TEST_F(LineEngineTest, SchemeDeviceRowWinsOverEarlierRowsOfItsAddress)
{
    AddDevice(RowTension6, ModeReceive);   // second row of address 6
    line.PlayAfter(0, Join(PressReq, PressAns));
    line.PlayAfter(200, PressReq);
    line.PlayAfter(260, PressAns);         // late
    RunUntilQuiet();
    EXPECT_EQ(LogTexts(), (Texts{"r21 0 46 | 06 10 20 36", "r21 1 46 | 06 10 20 36"}));
}

// Address 50 holds row 1 (answer 7 bytes) before row 4 (answer 6 bytes).
TEST_F(LineEngineTest, DevicelessAddressUsesTheSecondRowWhenTheFirstFailsDefinitely)
{
    const Bytes exchange = Join(Request(RowIoBlock50), Answer(RowIoBlock50, {0x01, 0x02, 0x03, 0x04}));
    line.PlayAfter(0, Join(exchange, Join(PressReq, PressAns)));
    RunUntilQuiet();
    EXPECT_EQ(LogTexts(), (Texts{"r4 0 72 | 32 01 02 03 04 36", "r7 0 46 | 06 10 20 36"}));
}

TEST_F(LineEngineTest, DevicelessAddressKeepsBytesPendingWhileTheFirstRowNeedsMore)
{
    const Bytes exchange = Join(Request(RowIoBlock50), Answer(RowIoBlock50, {0x01, 0x02, 0x03, 0x04}));
    line.PlayAfter(0, exchange);
    RunUntilQuiet();
    EXPECT_EQ(LineLogCount, 0);
    EXPECT_EQ(engine.PendingBytes.Count, 7);
    line.PlayAfter(100, Join(PressReq, PressAns));
    RunUntilQuiet();
    EXPECT_EQ(LogTexts(), (Texts{"r4 1 72 | 32 01 02 03 04 36", "r7 0 46 | 06 10 20 36"}));
}

TEST_F(LineEngineTest, SeventeenthPendingBytePushesTheOldestOutAsUnrecognised)
{
    // A terminal request (16 bytes) can only be recognised on the fast path: cut off from its
    // answer it fills the pending buffer.
    Bytes request(15, 0x00);
    request.insert(request.begin(), 0xBE);
    request.back() = CheckByteOf(request.data(), 15);   // BE again
    line.PlayAfter(0, request);
    RunUntilQuiet();
    EXPECT_EQ(engine.PendingBytes.Count, 16);
    EXPECT_EQ(LineLogCount, 0);

    line.PlayAfter(100, {0x3F});
    RunUntilQuiet();
    Texts expected{"r- 6 BE | "};   // an address byte, pushed out all the same
    for (int i = 0; i < 14; ++i)
        expected.push_back("r- 6 00 | ");
    EXPECT_EQ(LogTexts(), expected);
    EXPECT_EQ(engine.PendingBytes.Count, 2);   // BE waits for a request, 3F behind it
    EXPECT_EQ(engine.PendingFlags.Count, 2);
}

TEST_F(LineEngineTest, EmulatedAnswerIsPurgedThenWrittenWithTheFramesBody)
{
    TDeviceInfo& device = AddDevice(RowLeveller44, ModeEmulate);
    auto* frame = dynamic_cast<TTestRequestFrame*>(device.Frame.data());
    ASSERT_NE(frame, nullptr);
    frame->ValueEdit->SetText("7");            // FrameToAnswer puts it into answer byte 1
    device.SchemeObject->Answer[2] = 0x22;
    line.ClearCalls();
    SlotLog.clear();

    line.PlayAfter(0, LevReq);
    RunUntilQuiet();
    EXPECT_EQ(line.Trace(), "SetState(S) Read(1:AC) Read(2:01 AD) Purge Write(S:2C 07 22 09) Read(4:2C 07 22 09)");
    EXPECT_EQ(LogTexts(), Texts{"r50 0 AC 01 AD | 2C 07 22 09"});
    // The answer is built without UpdatingControls; the heard request is shown with it.
    ASSERT_GE(SlotLog.size(), 1u);
    EXPECT_EQ(SlotLog[0].slot, "FrameToAnswer");
    EXPECT_FALSE(SlotLog[0].updating);
    EXPECT_EQ(device.SchemeObject->Request[1], 0x01);
}

TEST_F(LineEngineTest, EmulatedAnswerWithoutDeviceAtTheAddressHasAZeroBody)
{
    TDeviceInfo& device = AddDevice(RowLeveller44, ModeEmulate);
    engine.CurFrame = &DeviceCatalogue[RowLeveller44];
    host.byAddr[44] = nullptr;
    engine.TxBytes.fill(0xEE);
    engine.SendEmulatedAnswer();
    EXPECT_EQ(line.CallsOf(ScriptedPort::Op::Write).back().Bytes, (Bytes{0x2C, 0x00, 0x00, 0x2C}));
    host.byAddr[44] = &device;
}

TEST_F(LineEngineTest, UnheardEmulatedAnswerLeavesTheRequestToThePendingBuffer)
{
    AddDevice(RowLeveller44, ModeEmulate);
    line.SetEcho(ScriptedPort::Echo::None);
    line.PlayAfter(0, LevReq);
    line.PlayAfter(200, LevReq);
    RunUntilQuiet();
    EXPECT_EQ(Writes().size(), 2u);   // each request answered once
    EXPECT_EQ(LogTexts(), Texts{"r50 4 AC 01 AD | "});
    EXPECT_EQ(engine.PendingBytes.Count, 3);
}

TEST_F(LineEngineTest, ReadAsksForNoMoreThanTheFreeRoom)
{
    const Bytes filler(30, 0x00);
    engine.RxBytes.Put(filler.data(), 30);
    engine.RxFlags.Put(filler.data(), 30);
    line.PlayAfter(0, Bytes(11, 0x55));
    line.ClearCalls();
    EXPECT_EQ(engine.ReadToRx(11), 2u);
    EXPECT_EQ(line.CallsOf(ScriptedPort::Op::Read).back().Count, 2u);
    EXPECT_EQ(engine.RxBytes.Count, 32);
    EXPECT_EQ(engine.RxFlags.Count, 32);
    line.ClearCalls();
    EXPECT_EQ(engine.ReadToRx(11), 0u);
    EXPECT_TRUE(line.CallsOf(ScriptedPort::Op::Read).empty());
}

TEST_F(LineEngineTest, ReadFlagsEveryByteWithTheGivenFlag)
{
    line.PlayAfter(0, {0x81, 0x55});
    EXPECT_EQ(engine.ReadToRx(2, FlagPollEcho), 2u);
    EXPECT_EQ(engine.RxFlags.At(0), FlagPollEcho);
    EXPECT_EQ(engine.RxFlags.At(1), FlagPollEcho);
}

TEST_F(LineEngineTest, RestoreListenStateSetsSpaceParityOnceBeforeTheNextRead)
{
    line.ClearCalls();
    engine.FramingPass();
    engine.FramingPass();
    EXPECT_EQ(line.Trace(), "SetState(S) Read(1:) Read(1:)");
    EXPECT_FALSE(engine.RestoreListenState);
}

TEST(ClassifyCandidateTable, OneByteRequestRow)
{
    LineWorld w;
    const TFrameInfo& row = DeviceCatalogue[RowPressure6];
    w.engine.CurAddress = 6;
    std::int32_t length = -7;
    const std::uint8_t req = 0x46;
    w.engine.PendingBytes.Put(&req, 1);
    EXPECT_EQ(w.engine.ClassifyCandidate(row, false, length), ResultNeedMore);
    EXPECT_EQ(w.engine.ClassifyCandidate(row, true, length), ResultNoAnswer);
    EXPECT_EQ(length, 1);
}
