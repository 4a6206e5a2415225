#pragma once
// The field rules that the block frames share beyond the common ones: values stored from an edit
// or a grid cell each in its own guard, boxes over the bits of a part, and values or codes whose
// bits the body keeps in two places, with the digit-coded grid columns built over them.
#include <QString>
#include <array>
#include <cstdint>
#include <span>

#include "frames/shared/Fields.h"
#include "platform/Kit.h"

// The edit's text by the frame-edit rule (integers as typed, decimals x scale + 0.5), stored
// into the whole group of the field. False when the text does not convert, the bits then as
// they were.
bool StoreEditValue(TMessageImage& image, const Num& field, const TEdit* edit);
// The cell's text by the grid rule (half away from zero), stored into the whole group of the
// field. False when the text does not convert, the bits then as they were.
bool StoreCellValue(TMessageImage& image, const Num& field, const QString& text);
// The cell's text by the grid rule into the field's own bits; the rest of its group stays, as
// does the field when the text does not convert.
void SetCellValue(TMessageImage& image, const Num& field, const QString& text);
// The first field of its byte or word from an edit: on conversion the whole group is written
// (the field's bits from the value, the rest 0); otherwise its bits stay and the rest is cleared,
// ready for the later fields of the group to be OR-ed in.
void StoreFirstField(TMessageImage& image, const Num& field, const TEdit* edit);

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

// A value or code whose bits the body keeps in two places (the upper bits of an output code in
// the spare top bit of a measured byte, a frequency across two bytes).
struct SplitField {
    Bits low;      // the value's low bits
    Bits high{};   // its upper bits, where `split`
    bool split = false;
    std::uint8_t setDigit = 0;   // a one-bit input shown as this digit when set (0: the bit itself)

    constexpr SplitField(Bits lowBits) : low(lowBits) {}
    constexpr SplitField(Bits lowBits, Bits highBits) : low(lowBits), high(highBits), split(true) {}
    // A one-bit input whose set state is shown as the code of "Масса".
    static constexpr SplitField GroundBit(Bits bit)
    {
        SplitField field(bit);
        field.setDigit = 2;
        return field;
    }

    int width() const { return low.width + (split ? high.width : 0); }
    std::uint32_t get(const TMessageImage& image) const;
    // Masked to the field's width; every other bit of the body stays.
    void set(TMessageImage& image, std::int64_t value) const;
    // Added to bits that the caller cleared before.
    void orIn(TMessageImage& image, std::int64_t value) const;

    // The field as a digit of a grid column or an info line.
    int digit(const TMessageImage& image) const;
    // A digit read from a grid column: a one-bit field is set by any digit other than 0, a wider
    // one takes the digit as its raw code.
    void setDigitValue(TMessageImage& image, int digit) const;
};

// One character per field, the field of index 0 rightmost, a blank after every `group` digits
// counted from the right.
QString SplitDigitsText(std::span<const SplitField> lowestFirst, const TMessageImage& image, int group = 4);
// Every field cleared, then set from the digits of the text (ParseDigits with `radix`); a field
// without a digit stays 0, so an empty text clears them all.
void ReadSplitDigits(std::span<const SplitField> lowestFirst, TMessageImage& image, const QString& text, int radix);
