// The message rules: check byte, address bytes, result texts and hex texts.
#include <gtest/gtest.h>
#include <vector>

#include "line/Protocol.h"
#include "model/Catalogue.h"
#include "model/RoundBuffer.h"

TEST(CheckByte, IsTheXorOfEveryEarlierByteWithoutSeed)
{
    const std::uint8_t good[] = {0xAC, 0x12, 0xBE};   // AC ^ 12 = BE
    const std::uint8_t bad[] = {0xAC, 0x12, 0xBF};
    EXPECT_TRUE(CheckByteOk(good, 3));
    EXPECT_FALSE(CheckByteOk(bad, 3));
    EXPECT_EQ(CheckByteOf(good, 2), 0xBE);
    // A one-byte message has no check byte.
    EXPECT_TRUE(CheckByteOk(bad, 1));
    // Two bytes: the second must equal the first.
    const std::uint8_t pair[] = {0x2C, 0x2C};
    EXPECT_TRUE(CheckByteOk(pair, 2));
}

TEST(CheckByte, OverARingAcrossItsEndAndAtAnOffset)
{
    TRoundBuffer ring(8);
    const std::uint8_t filler[6] = {};
    ring.Put(filler, 6);
    ring.Get(const_cast<std::uint8_t*>(filler), 6);   // the next bytes wrap round the end
    const std::uint8_t bytes[] = {0x55, 0x2C, 0x01, 0x02, 0x2F};
    ring.Put(bytes, 5);
    EXPECT_TRUE(CheckByteOk(ring, 1, 4));
    EXPECT_FALSE(CheckByteOk(ring, 0, 5));
    EXPECT_TRUE(CheckByteOk(ring, 0, 1));
}

TEST(WireAddressByte, OnlyTheWireAddressOfAnAddressWithRows)
{
    int count = 0;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        const auto& rows = FrameInfoVectors[byte & 63];
        const bool expected = (byte & 63) != 63 && !rows.empty() && WireAddressOf(byte & 63) == byte;
        EXPECT_EQ(IsWireAddressByte(byte), expected) << b;
        count += expected;
    }
    // 64 addresses less 0, 37 and 63, which hold no row.
    EXPECT_EQ(count, 61);
    EXPECT_FALSE(IsWireAddressByte(0x3F));
    EXPECT_FALSE(IsWireAddressByte(0xFF));
    EXPECT_TRUE(IsWireAddressByte(0xAC));    // address 44
    EXPECT_FALSE(IsWireAddressByte(0x2C));   // its plain address is not
    EXPECT_TRUE(IsWireAddressByte(0x05));    // address 5: wire and plain address are one byte
}

TEST(ResultTexts, AreTheSevenCodesAndNothingOutsideThem)
{
    const char* expected[] = {"Ok", "Таймаут", "КС ответа", "Неполный ответ", "Нет ответа", "КС запроса",
                              "Неполный запрос"};
    for (int code = 0; code < 7; ++code)
        EXPECT_EQ(ResultText(code), QString::fromUtf8(expected[code])) << code;
    EXPECT_EQ(ResultText(-1), QString());
    EXPECT_EQ(ResultText(7), QString());
    EXPECT_EQ(ResultText(1 << 30), QString());
}

TEST(FormatHex, UpperCaseBlankSeparatedWithAnApostropheBeforeThePollEcho)
{
    const std::uint8_t bytes[] = {0xBE, 0x0a, 0xff};
    const std::uint8_t none[] = {0, 0, 0};
    const std::uint8_t first[] = {FlagPollEcho, 0, 0};
    const std::uint8_t answerEcho[] = {FlagAnswerEcho, FlagAnswerEcho | FlagPollEcho, 0};
    EXPECT_EQ(FormatHex(bytes, none, 3), "BE 0A FF");
    EXPECT_EQ(FormatHex(bytes, first, 3), "'BE 0A FF");
    // The answer echo is internal: never shown.
    EXPECT_EQ(FormatHex(bytes, answerEcho, 3), "BE '0A FF");
    EXPECT_EQ(FormatHex(bytes, none, 0), "");
    EXPECT_EQ(FormatHex(bytes, none, -3), "");
}

TEST(FormatHex, SixteenBytesWithAnApostropheMakeFortyEightCharacters)
{
    std::vector<std::uint8_t> bytes(16, 0x41);
    std::vector<std::uint8_t> flags(16, 0);
    flags[0] = FlagPollEcho;
    const QString text = FormatHex(bytes.data(), flags.data(), 16);
    EXPECT_EQ(text.size(), 48);
    EXPECT_TRUE(text.startsWith("'41 41"));
    EXPECT_TRUE(text.endsWith(" 41"));
}
