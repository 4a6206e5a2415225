#include "frames/BoxRow.h"

#include <algorithm>

namespace {
constexpr int BoxWidth = 17;
constexpr int NumberWidth = 22;   // room for a two-digit number label
constexpr int LabelGap = 3;
}

TBoxRow AddBoxRow(TFrameBase& frame, QWidget* parent, const QString& prefix, const QString& suffix, int first,
                  int count, int left, int top)
{
    const auto name = [&](int number, const char* kind) {
        return prefix + QString::number(number) + QLatin1String(kind) + suffix;
    };
    const int last = first + count - 1;
    TBoxRow row;
    row.HighLabel = frame.AddLabel(parent, name(last, "Label"), QString::number(last), left, top);
    row.HighLabel->SetLeft(left + NumberWidth - row.HighLabel->Width());   // right-aligned against the boxes
    row.Boxes.resize(static_cast<std::size_t>(count));
    int x = left + NumberWidth + LabelGap;
    for (int number = last; number >= first; --number, x += BoxStep)
        row.Boxes[static_cast<std::size_t>(number - first)] =
            frame.AddCheckBox(parent, name(number, "CheckBox"), QString(), x, top + 1, BoxWidth);
    row.LowLabel = frame.AddLabel(parent, name(first, "Label"), QString::number(first), x, top);
    return row;
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

void PlaceRow(std::span<TCheckBox*> boxes, std::size_t from, const TBoxRow& row)
{
    std::copy(row.Boxes.begin(), row.Boxes.end(), boxes.subspan(from, row.Boxes.size()).begin());
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
