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

TEST(Cp1251, EveryByteRoundTrips)
{
    for (int b = 1; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const QString decoded = FromCp1251(&byte, 1);
        ASSERT_EQ(decoded.size(), 1) << b;
        EXPECT_EQ(ToCp1251(decoded), QByteArray(1, byte)) << b;
    }
}

TEST(Cp1251, EmbeddedNulIsDropped)
{
    EXPECT_EQ(ToCp1251(QString("ab") + QChar(0) + QString("c")), QByteArray("abc"));
    EXPECT_EQ(FromCp1251("a\0b", 3), QString("ab"));
}
