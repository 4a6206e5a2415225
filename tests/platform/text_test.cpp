// The cp1251 code page of the document files: one byte per character, both ways.
#include <gtest/gtest.h>

#include "platform/Text.h"

TEST(Cp1251, TextsBecomeTheirCodePageBytes)
{
    // clang-format off
    const struct { const char* text; QByteArray bytes; } cases[] = {
        {"Схема «Ёж» №5 — ёлка", "\xd1\xf5\xe5\xec\xe0 \xab\xa8\xe6\xbb \xb9" "5 \x97 \xb8\xeb\xea\xe0"},
        {"a€b", "a\x88" "b"},
        {"日本", "??"},   // outside the code page
        {"x😀y", "x?y"},   // one character, one '?'
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(ToCp1251(QString::fromUtf8(c.text)), c.bytes) << c.text;
        EXPECT_TRUE(c.bytes.contains('?') || FromCp1251(c.bytes) == QString::fromUtf8(c.text)) << c.text;
    }
}

// Each byte stands for its own letter of the code page, both ways: one wrong entry would store
// every such letter as another, or as '?'. 0x98 is no character of the code page; it only has to
// come back as itself.
TEST(Cp1251, EveryByteIsItsOwnLetterBothWays)
{
    // clang-format off
    const char16_t upper[64] = {   // 0x80..0xBF
        0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
        0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0,      0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
        0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
        0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    };
    // clang-format on
    for (int b = 1; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const char16_t letter = b < 0x80 ? char16_t(b) : b < 0xC0 ? upper[b - 0x80]
                                                                  : char16_t(0x0410 + b - 0xC0);   // А..я
        const QString decoded = FromCp1251(&byte, 1);
        ASSERT_EQ(decoded.size(), 1) << b;
        if (letter != 0) {
            EXPECT_EQ(decoded[0].unicode(), letter) << b;
        }
        EXPECT_EQ(ToCp1251(decoded), QByteArray(1, byte)) << b;
    }
}

TEST(Cp1251, EmbeddedNulIsDropped)
{
    EXPECT_EQ(ToCp1251(QString("ab") + QChar(0) + QString("c")), QByteArray("abc"));
    EXPECT_EQ(FromCp1251("a\0b", 3), QString("ab"));
}
