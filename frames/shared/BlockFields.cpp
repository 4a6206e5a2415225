#include "frames/shared/BlockFields.h"

#include <algorithm>

#include "model/Helpers.h"

namespace {
bool StoreRaw(TMessageImage& image, const Num& field, const std::optional<std::int64_t>& raw)
{
    if (raw)
        field.bits.store(image, *raw);
    return raw.has_value();
}
}

bool StoreEditValue(TMessageImage& image, const Num& field, const TEdit* edit)
{
    return StoreRaw(image, field, field.fromEdit(edit->Text()));
}

bool StoreCellValue(TMessageImage& image, const Num& field, const QString& text)
{
    return StoreRaw(image, field, field.fromCell(text));
}

void SetCellValue(TMessageImage& image, const Num& field, const QString& text)
{
    if (const std::optional<std::int64_t> raw = field.fromCell(text))
        field.bits.set(image, *raw);
}

void StoreFirstField(TMessageImage& image, const Num& field, const TEdit* edit)
{
    if (!StoreEditValue(image, field, edit))
        field.bits.keepOnly(image);
}

void StoreBoxes(TMessageImage& image, const Bits& part, std::span<TCheckBox* const> boxes)
{
    bool flags[64] = {};
    const std::size_t count = std::min<std::size_t>(boxes.size(), std::size(flags));
    for (std::size_t i = 0; i < count; ++i)
        flags[i] = boxes[i]->Checked();
    StoreFlags(image, part, std::span<const bool>(flags, count));
}

void ShowBoxes(const TMessageImage& image, const Bits& part, std::span<TCheckBox* const> boxes)
{
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->SetChecked(FlagAt(image, part, static_cast<int>(i)));
}

void StoreBoxParts(TMessageImage& image, std::span<const TBoxPart> parts, std::span<TCheckBox* const> boxes)
{
    for (const TBoxPart& p : parts)
        StoreBoxes(image, p.part, boxes.subspan(p.first, p.part.width));
}

void ShowBoxParts(const TMessageImage& image, std::span<const TBoxPart> parts, std::span<TCheckBox* const> boxes)
{
    for (const TBoxPart& p : parts)
        ShowBoxes(image, p.part, boxes.subspan(p.first, p.part.width));
}

std::uint32_t SplitField::get(const TMessageImage& image) const
{
    std::uint32_t value = low.get(image);
    if (split)
        value |= high.get(image) << low.width;
    return value;
}

void SplitField::set(TMessageImage& image, std::int64_t value) const
{
    low.set(image, value);
    if (split)
        high.set(image, value >> low.width);
}

void SplitField::orIn(TMessageImage& image, std::int64_t value) const
{
    low.orIn(image, value);
    if (split)
        high.orIn(image, value >> low.width);
}

int SplitField::digit(const TMessageImage& image) const
{
    const int value = static_cast<int>(get(image));
    return setDigit != 0 && value != 0 ? setDigit : value;
}

void SplitField::setDigitValue(TMessageImage& image, int digit) const
{
    set(image, width() == 1 ? (digit != 0 ? 1 : 0) : digit);
}

QString SplitDigitsText(std::span<const SplitField> lowestFirst, const TMessageImage& image, int group)
{
    int codes[16] = {};
    const std::size_t count = std::min(lowestFirst.size(), std::size(codes));
    for (std::size_t i = 0; i < count; ++i)
        codes[i] = lowestFirst[i].digit(image);
    return DigitText(std::span<const int>(codes, count), group);
}

void ReadSplitDigits(std::span<const SplitField> lowestFirst, TMessageImage& image, const QString& text, int radix)
{
    for (const SplitField& field : lowestFirst)
        field.set(image, 0);
    ParseDigits(text, radix);
    const std::size_t found = static_cast<std::size_t>(std::max(DigitCount, 0));
    for (std::size_t i = 0; i < lowestFirst.size() && i < found; ++i)
        lowestFirst[i].setDigitValue(image, DigitBuffer[i]);
}
