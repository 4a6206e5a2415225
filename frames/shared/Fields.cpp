#include "frames/shared/Fields.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "model/Helpers.h"
#include "platform/Numbers.h"

namespace {
std::uint64_t ReadGroup(const TMessageImage& image, const Bits& bits)
{
    assert(bits.bytes >= 1 && bits.bytes <= 8 && bits.at + bits.bytes <= 16);
    std::uint64_t group = 0;
    for (int i = bits.bytes - 1; i >= 0; --i)
        group = (group << 8) | image[static_cast<std::size_t>(bits.at + i)];
    return group;
}

void WriteGroup(TMessageImage& image, const Bits& bits, std::uint64_t group)
{
    for (int i = 0; i < bits.bytes; ++i, group >>= 8)
        image[static_cast<std::size_t>(bits.at + i)] = static_cast<std::uint8_t>(group);
}

// The raw value cut to the field (two's complement for negative values) and put in place.
std::uint64_t Placed(const Bits& bits, std::int64_t raw)
{
    return (static_cast<std::uint64_t>(raw) & bits.mask()) << bits.shift;
}
}

std::uint64_t Bits::mask() const
{
    assert(width >= 1 && shift + width <= bytes * 8);
    return width >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
}

std::uint32_t Bits::get(const TMessageImage& image) const
{
    return static_cast<std::uint32_t>((ReadGroup(image, *this) >> shift) & mask());
}

std::int32_t Bits::getSigned(const TMessageImage& image) const
{
    const std::uint64_t raw = get(image);
    const std::uint64_t sign = std::uint64_t{1} << (width - 1);
    return static_cast<std::int32_t>(static_cast<std::int64_t>(raw ^ sign) - static_cast<std::int64_t>(sign));
}

void Bits::store(TMessageImage& image, std::int64_t raw) const { WriteGroup(image, *this, Placed(*this, raw)); }

void Bits::keepOnly(TMessageImage& image) const
{
    WriteGroup(image, *this, ReadGroup(image, *this) & (mask() << shift));
}

void Bits::orIn(TMessageImage& image, std::int64_t raw) const
{
    WriteGroup(image, *this, ReadGroup(image, *this) | Placed(*this, raw));
}

void Bits::set(TMessageImage& image, std::int64_t raw) const
{
    WriteGroup(image, *this, (ReadGroup(image, *this) & ~(mask() << shift)) | Placed(*this, raw));
}

void Bits::clear(TMessageImage& image) const { set(image, 0); }

namespace {
Bits FlagBit(const Bits& part, int index)
{
    assert(index >= 0 && index < part.width);
    return Bits{part.at, static_cast<std::uint8_t>(part.shift + index), 1, part.bytes};
}
}

void StoreFlags(TMessageImage& image, const Bits& part, std::span<const bool> flags)
{
    part.clear(image);
    int index = 0;
    for (bool flag : flags)
        FlagBit(part, index++).orIn(image, flag ? 1 : 0);
}

bool FlagAt(const TMessageImage& image, const Bits& part, int index) { return FlagBit(part, index).get(image) != 0; }

std::optional<std::int64_t> ToRaw(long double value, long double scale, Round rounding)
{
    const long double product = value * scale;
    if (!std::isfinite(product))
        return std::nullopt;
    long double rounded = 0;
    switch (rounding) {
    case Round::AddHalf:
        rounded = std::trunc(product + 0.5L);
        break;
    case Round::HalfAway: {
        const double held = static_cast<double>(product);
        if (!std::isfinite(held))
            return std::nullopt;
        rounded = std::trunc(held >= 0 ? held + 0.5 : held - 0.5);
        break;
    }
    case Round::Trunc:
        rounded = std::trunc(product);
        break;
    }
    // 2^63 itself is outside; -2^63 is the lowest 64-bit value.
    if (!(rounded >= -0x1p63L && rounded < 0x1p63L))
        return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

std::optional<std::int64_t> TextToRaw(const QString& text, long double scale, Round rounding)
{
    const std::optional<long double> value = StrToFloat(text);
    return value ? ToRaw(*value, scale, rounding) : std::nullopt;
}

std::optional<std::int64_t> Num::fromEdit(const QString& text) const
{
    if (!decimal()) {
        const std::optional<int> value = StrToInt(text);
        return value ? std::optional<std::int64_t>(*value) : std::nullopt;
    }
    return TextToRaw(text, scale, Round::AddHalf);
}

std::optional<std::int64_t> Num::fromCell(const QString& text) const
{
    return TextToRaw(text, decimal() ? scale : 1.0L, Round::HalfAway);
}

long double Num::value(const TMessageImage& image) const
{
    const long double raw = isSigned ? static_cast<long double>(bits.getSigned(image))
                                     : static_cast<long double>(bits.get(image));
    return decimal() ? raw * factor : raw;
}

QString Num::text(const TMessageImage& image) const
{
    if (decimal())
        return FormatFloat("0.00", value(image));
    return isSigned ? QString::number(bits.getSigned(image)) : QString::number(bits.get(image));
}

const QStringList OutputStateItems = {
    QStringLiteral("Выкл., ОК"),
    QStringLiteral("Вкл., ОК"),
    QStringLiteral("Выкл., напряж. на выходе"),
    QStringLiteral("Вкл., нет нагрузки"),
    QStringLiteral("Вкл., превышен ток"),
    QStringLiteral("Вкл., КЗ в нагрузке"),
    QStringLiteral("Вкл., клапан заблокирован"),
};
const QStringList InputItems = {QStringLiteral("Свободен"), QStringLiteral("+24 В"), QStringLiteral("Масса")};
const QStringList GroundInputItems = {QStringLiteral("Свободен"), QStringLiteral("Масса")};

int OutputStateCode(int itemIndex)
{
    if (itemIndex < 0)
        return 0;
    return itemIndex < 4 ? itemIndex : itemIndex + 1;
}

int OutputStateItem(int code)
{
    if (code >= 0 && code <= 3)
        return code;
    return code >= 5 && code <= 7 ? code - 1 : -1;
}

int InputCode(int itemIndex) { return itemIndex < 0 ? 0 : itemIndex; }
int InputItem(int code) { return code >= 0 && code <= 2 ? code : -1; }
int TwoItemBit(int itemIndex) { return itemIndex != 0 ? 1 : 0; }

QString DigitText(std::span<const int> codesLowestFirst, int group)
{
    QString text;
    for (std::size_t i = codesLowestFirst.size(); i-- > 0;) {
        text += QChar(u'0' + codesLowestFirst[i]);
        if (i > 0 && group > 0 && i % static_cast<std::size_t>(group) == 0)
            text += u' ';
    }
    return text;
}

QString FormatBits(std::uint8_t value)
{
    QString digits;
    for (; value != 0; value >>= 1)
        digits.prepend(QChar(u'0' + (value & 1)));
    return digits;
}

QString DigitColumn::text(const TMessageImage& image) const
{
    int codes[8] = {};
    const std::size_t count = std::min<std::size_t>(fields.size(), 8);
    for (std::size_t i = 0; i < count; ++i)
        codes[i] = static_cast<int>(fields[i].get(image));
    return DigitText(std::span<const int>(codes, count), group);
}

void DigitColumn::read(TMessageImage& image, const QString& text) const
{
    for (const Bits& field : fields)
        field.clear(image);
    ParseDigits(text, radix);
    const std::size_t found = static_cast<std::size_t>(std::max(DigitCount, 0));
    for (std::size_t i = 0; i < fields.size() && i < found; ++i) {
        const int digit = DigitBuffer[i];
        fields[i].set(image, fields[i].width == 1 ? (digit != 0) : digit);
    }
}

QString FormatLine(const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);   // a line longer than the buffer is formatted a second time
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    QString line;
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof buffer) {
        line = QString::fromUtf8(buffer, length);
    } else if (length >= 0) {
        std::string longer(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(longer.data(), longer.size(), format, again);
        line = QString::fromUtf8(longer.data(), length);
    }
    va_end(again);
    return line;
}

TMessageImage ImageOf(const std::uint8_t* message)
{
    TMessageImage image{};
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = message[i];
    return image;
}
