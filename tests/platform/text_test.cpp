#include <gtest/gtest.h>

#include "platform/Text.h"

TEST(Cp1251, RussianTextRoundTrips)
{
    const QString text = QString::fromUtf8("Схема 1: Датчик «Ёж» №5 — ёлка");
    const QByteArray bytes = ToCp1251(text);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xD1);   // С, one byte
    EXPECT_EQ(FromCp1251(bytes), text);
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

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(ToCp1251(QString::fromUtf8("a€b")), QByteArray("a\x88" "b"));
    EXPECT_EQ(ToCp1251(QString::fromUtf8("日本")), QByteArray("??"));
    EXPECT_EQ(ToCp1251(QString::fromUtf8("x😀y")), QByteArray("x?y"));   // one character, one '?'
}

TEST(Cp1251, EmbeddedNulIsDropped)
{
    const QString withNul = QString("ab") + QChar(0) + QString("c");
    EXPECT_EQ(ToCp1251(withNul), QByteArray("abc"));
    const char bytes[] = {'a', 0, 'b'};
    EXPECT_EQ(FromCp1251(bytes, 3), QString("ab"));
}
