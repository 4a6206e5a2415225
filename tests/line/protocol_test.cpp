// The message rules: check byte, address bytes, result texts and hex texts.
#include <gtest/gtest.h>

#include "line/Protocol.h"
#include "model/RoundBuffer.h"

TEST(CheckByte, IsTheXorOfEveryEarlierByteAlsoAcrossARingsEnd)
{
    const std::uint8_t good[] = {0xAC, 0x12, 0xBE}, bad[] = {0xAC, 0x12, 0xBF}, pair[] = {0x2C, 0x2C};
    EXPECT_TRUE(CheckByteOk(good, 3));
    EXPECT_FALSE(CheckByteOk(bad, 3));
    EXPECT_EQ(CheckByteOf(good, 2), 0xBE);
    EXPECT_TRUE(CheckByteOk(bad, 1));    // a one-byte message has no check byte
    EXPECT_TRUE(CheckByteOk(pair, 2));   // no seed: the second byte equals the first

    TRoundBuffer ring(8);
    std::uint8_t filler[6] = {};
    ring.Put(filler, 6);
    ring.Get(filler, 6);   // the next bytes wrap round the end
    const std::uint8_t bytes[] = {0x55, 0x2C, 0x01, 0x02, 0x2F};
    ring.Put(bytes, 5);
    EXPECT_TRUE(CheckByteOk(ring, 1, 4));
    EXPECT_FALSE(CheckByteOk(ring, 0, 5));
}

TEST(WireAddressByte, OnlyTheWireAddressOfAnAddressWithRows)
{
    int count = 0;
    for (int b = 0; b < 256; ++b)
        count += IsWireAddressByte(static_cast<std::uint8_t>(b));
    EXPECT_EQ(count, 61);   // 64 addresses less 0, 37 and 63, which hold no row
    for (std::uint8_t b : {0x3F, 0xFF, 0x2C, 0x00, 0x25})
        EXPECT_FALSE(IsWireAddressByte(b)) << int(b);
    for (std::uint8_t b : {0xAC, 0x05})   // 0x05: wire and plain address are one byte
        EXPECT_TRUE(IsWireAddressByte(b)) << int(b);
}

// The hex text itself is pinned by every logged exchange the framing tests read back.
TEST(Texts, ResultCodesOutsideTheSevenHaveNoTextAndOnlyThePollEchoShowsAnApostrophe)
{
    for (int code : {-1, 7, 1 << 30})
        EXPECT_EQ(ResultText(code), QString()) << code;
    const std::uint8_t bytes[] = {0xBE, 0x0a, 0xff};
    const std::uint8_t flags[] = {FlagAnswerEcho, FlagAnswerEcho | FlagPollEcho, 0};
    EXPECT_EQ(FormatHex(bytes, flags, 3), "BE '0A FF");   // the answer echo is internal
}
