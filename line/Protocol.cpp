#include "line/Protocol.h"

#include <array>

#include "model/Catalogue.h"
#include "model/RoundBuffer.h"

const char* const ResultTexts[ResultCodeCount] = {
    // clang-format off
    "Ok", "Таймаут", "КС ответа", "Неполный ответ", "Нет ответа", "КС запроса", "Неполный запрос",
    // clang-format on
};

QString ResultText(int code)
{
    // Converted once: every failed exchange shows one.
    static const auto texts = [] {
        std::array<QString, ResultCodeCount> t;
        for (int i = 0; i < ResultCodeCount; ++i)
            t[static_cast<std::size_t>(i)] = QString::fromUtf8(ResultTexts[i]);
        return t;
    }();
    if (code < 0 || code >= ResultCodeCount)
        return QString();
    return texts[static_cast<std::size_t>(code)];
}

std::uint8_t CheckByteOf(const std::uint8_t* bytes, int length)
{
    std::uint8_t x = 0;
    for (int i = 0; i < length; ++i)
        x ^= bytes[i];
    return x;
}

bool CheckByteOk(const TRoundBuffer& ring, int offset, int length)
{
    if (length <= 1)
        return true;
    std::uint8_t x = 0;
    for (int i = 0; i < length - 1; ++i)
        x ^= ring.At(offset + i);
    return x == ring.At(offset + length - 1);
}

bool IsWireAddressByte(std::uint8_t byte)
{
    const std::uint8_t address = AddressOf(byte);
    if (address == 63)
        return false;
    const auto& rows = FrameInfoVectors[address];
    // Every row of one address shares its wire address.
    return !rows.empty() && rows.front()->WireAddress == byte;
}

QString FormatHex(const std::uint8_t* bytes, const std::uint8_t* flags, int n)
{
    static const char16_t digits[] = u"0123456789ABCDEF";
    if (n <= 0)
        return QString();
    // Written in place into one allocation of the longest text (every byte flagged): appending
    // character by character cost more than the rest of a hand-off.
    QString text(n * 4 - 1, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    char16_t* const start = out;
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            *out++ = u' ';
        if (flags && (flags[i] & FlagPollEcho))
            *out++ = u'\'';
        *out++ = digits[bytes[i] >> 4];
        *out++ = digits[bytes[i] & 0x0F];
    }
    text.truncate(static_cast<qsizetype>(out - start));
    return text;
}
