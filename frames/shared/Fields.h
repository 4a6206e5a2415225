#pragma once
// The value rules that every frame shares: fields of a message body, the two roundings, the
// guarded number conversions, the combo codes, the digit-coded grid columns and the info lines
// of the line monitor. Nothing here touches a widget, so the rules can be tested as data.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <span>

#include "model/Scheme.h"

// ---------------------------------------------------------------------------------------------
// Bit fields of a message image

// `width` bits from bit `shift` of the little-endian group of `bytes` bytes that starts at image
// index `at`. A field wider than its group, or a group beyond the image, is a programming error.
struct Bits {
    std::uint8_t at = 1;
    std::uint8_t shift = 0;
    std::uint8_t width = 8;
    std::uint8_t bytes = 1;

    std::uint64_t mask() const;   // `width` low bits
    std::uint32_t get(const TMessageImage& image) const;
    std::int32_t getSigned(const TMessageImage& image) const;   // two's complement in the field

    // The first field of a group writes the whole group: its own bits from raw, all others 0.
    void store(TMessageImage& image, std::int64_t raw) const;
    // A first field whose text did not convert: its bits stay, the rest of the group is cleared.
    void keepOnly(TMessageImage& image) const;
    // The later fields of a group are OR-ed in (after the group was written or cleared).
    void orIn(TMessageImage& image, std::int64_t raw) const;
    // Masked store, where the other bits of the group must stay.
    void set(TMessageImage& image, std::int64_t raw) const;
    void clear(TMessageImage& image) const;
};

// Check-box bits: the part of the group they own is cleared first, then each set flag sets its
// bit, the first flag at the part's lowest bit.
void StoreFlags(TMessageImage& image, const Bits& part, std::span<const bool> flags);
// Flag `index` of such a part.
bool FlagAt(const TMessageImage& image, const Bits& part, int index);

// ---------------------------------------------------------------------------------------------
// Scaling and rounding

enum class Round {
    AddHalf,    // frame edit: value x scale + 0.5, truncated toward zero
    HalfAway,   // grid cell: the product held as a double, then rounded half away from zero
    Trunc,      // plain cut toward zero
};

// value x scale as a raw field value, multiplied in extended precision. None when the product is
// not finite or its rounded value lies outside 64-bit integers; within that range the caller
// cuts the value to its field without a range check.
std::optional<std::int64_t> ToRaw(long double value, long double scale, Round rounding);
// The same for a number text; none when the text does not convert either.
std::optional<std::int64_t> TextToRaw(const QString& text, long double scale, Round rounding);

// One value shown in an edit and a grid cell and stored in a field.
struct Num {
    Bits bits;
    long double scale = 0;    // shown value x scale = raw; 0 for an integer field
    long double factor = 0;   // raw x factor = shown value (the reciprocal, kept as written)
    bool isSigned = false;    // edits of Tag 1 and 3: the field holds two's complement

    bool decimal() const { return scale != 0; }

    // The raw value of a frame edit's text (integers through StrToInt, decimals rounded by
    // AddHalf), or none when the text does not convert.
    std::optional<std::int64_t> fromEdit(const QString& text) const;
    // The raw value of a grid cell's text: always read as a decimal number (an integer field
    // takes scale 1), rounded half away from zero; none when the text does not convert.
    std::optional<std::int64_t> fromCell(const QString& text) const;

    long double value(const TMessageImage& image) const;   // raw x factor, or the integer
    QString text(const TMessageImage& image) const;        // "0.00" for decimals, else digits
};

// ---------------------------------------------------------------------------------------------
// Combo boxes

extern const QStringList OutputStateItems;   // seven items of a load output's state
extern const QStringList InputItems;         // "Свободен", "+24 В", "Масса"
extern const QStringList GroundInputItems;   // "Свободен", "Масса"

// Output-state combo: item 4 on stands for codes 5..7, code 4 has no item; no selection is 0.
int OutputStateCode(int itemIndex);
int OutputStateItem(int code);
// Input combo: the code is the item index, no selection adds nothing; code 3 has no item.
int InputCode(int itemIndex);
int InputItem(int code);
// Two-item input combo: the bit is set by any item index other than 0 (no selection too).
int TwoItemBit(int itemIndex);

// ---------------------------------------------------------------------------------------------
// Digit-coded grid columns

// One character per field, '0' plus its code, the field of index 0 rightmost, with a blank after
// every `group` digits counted from the right (0: no blanks).
QString DigitText(std::span<const int> codesLowestFirst, int group = 4);

// The binary digits of a byte, most significant first, without leading zeros; 0 gives "".
QString FormatBits(std::uint8_t value);

// A column of digits over fields of the body, the field of output or input 1 first.
struct DigitColumn {
    std::span<const Bits> fields;
    int radix = 2;
    int group = 4;

    QString text(const TMessageImage& image) const;
    // Never fails: every field is cleared, then set from the digits found (ParseDigits), so an
    // empty cell clears them all. A one-bit field is set by any digit other than 0; a wider
    // field stores the digit as its raw code.
    void read(TMessageImage& image, const QString& text) const;
};

// ---------------------------------------------------------------------------------------------
// Info lines of the line monitor

// One printf-style line; numbers use '.' as the program runs with the C numeric locale. The
// format may come from a model table.
QString FormatLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A decoder's message (16 bytes, byte 0 the address byte) as an image.
TMessageImage ImageOf(const std::uint8_t* message);
// A field as a %c argument: '0' plus its code.
inline int DigitChar(const TMessageImage& image, const Bits& bits) { return '0' + static_cast<int>(bits.get(image)); }
