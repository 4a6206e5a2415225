#include "line/Protocol.h"

#include "model/Catalogue.h"
#include "model/RoundBuffer.h"

const char* const ResultTexts[ResultCodeCount] = {
    "Ok", "Таймаут", "КС ответа", "Неполный ответ", "Нет ответа", "КС запроса", "Неполный запрос",
};

QString ResultText(int code)
{
    if (code < 0 || code >= ResultCodeCount)
        return QString();
    return QString::fromUtf8(ResultTexts[code]);
}

std::uint8_t CheckByteOf(const std::uint8_t* bytes, int length)
{
    std::uint8_t x = 0;
    for (int i = 0; i < length; ++i)
        x ^= bytes[i];
    return x;
}

bool CheckByteOk(const std::uint8_t* bytes, int length)
{
    if (length <= 1)
        return true;
    return CheckByteOf(bytes, length - 1) == bytes[length - 1];
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
    static const char digits[] = "0123456789ABCDEF";
    QString text;
    if (n <= 0)
        return text;
    text.reserve(n * 4);
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            text += QLatin1Char(' ');
        if (flags && (flags[i] & FlagPollEcho))
            text += QLatin1Char('\'');
        text += QLatin1Char(digits[bytes[i] >> 4]);
        text += QLatin1Char(digits[bytes[i] & 0x0F]);
    }
    return text;
}
