#pragma once
// A value or code whose bits the body keeps in two places (the upper bits of an output code in
// the spare top bit of a measured byte, a frequency across two bytes), and the digit-coded grid
// columns and info-line digits built over such fields.
#include "frames/Fields.h"

#include <QString>
#include <cstdint>
#include <span>

struct SplitField {
    Bits low;                 // the value's low bits
    Bits high{};              // its upper bits, where `split`
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
