#pragma once
// A row of one-bit check boxes as the block frames draw them: the number label of the
// highest-numbered signal on the left, the boxes from the highest down to the lowest, and the
// number label of the lowest on the right, so the row reads like the digits of its grid column.
#include "frames/Fields.h"
#include "frames/FrameBase.h"

#include <QString>
#include <array>
#include <span>
#include <vector>

struct TBoxRow {
    TLabel* HighLabel = nullptr;
    std::vector<TCheckBox*> Boxes;   // the lowest-numbered signal first
    TLabel* LowLabel = nullptr;
};

// Signals first .. first+count-1 of `prefix`; each control is named prefix, number and
// "Label"/"CheckBox", then `suffix` ("_" on the answer side of frames that have both).
TBoxRow AddBoxRow(TFrameBase& frame, QWidget* parent, const QString& prefix, const QString& suffix, int first,
                  int count, int left, int top);

// Keeps a row's boxes in a frame's array of boxes from index `from` on (index 0 is signal 1).
void PlaceRow(std::span<TCheckBox*> boxes, std::size_t from, const TBoxRow& row);

inline constexpr int BoxStep = 22;       // pitch of the boxes in a row
inline constexpr int BoxRowHeight = 24;  // pitch of stacked rows

// Boxes over the bits of a part that they own, the first box at the part's lowest bit; storing
// clears the part first. The part is exactly as wide as the boxes are many.
void StoreBoxes(TMessageImage& image, const Bits& part, std::span<TCheckBox* const> boxes);
void ShowBoxes(const TMessageImage& image, const Bits& part, std::span<TCheckBox* const> boxes);

// A frame's array of boxes over several parts of a body: each part is owned by the boxes from
// index `first` on, as many as the part is wide.
struct TBoxPart {
    Bits part;
    std::size_t first = 0;
};
void StoreBoxParts(TMessageImage& image, std::span<const TBoxPart> parts, std::span<TCheckBox* const> boxes);
void ShowBoxParts(const TMessageImage& image, std::span<const TBoxPart> parts, std::span<TCheckBox* const> boxes);

// The eight one-bit fields of the byte at image index `at`, bit 0 first.
constexpr std::array<Bits, 8> ByteFields(std::uint8_t at)
{
    std::array<Bits, 8> fields{};
    for (std::uint8_t bit = 0; bit < 8; ++bit)
        fields[bit] = Bits{at, bit, 1};
    return fields;
}
