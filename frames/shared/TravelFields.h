#pragma once
// Rules shared by the travel sensors whose answer carries a count L and one input field: the
// input code in the low bits of byte 3 (first and second travel sensors) and the answer word
// that holds the count below a 1-Wire state (fourth and fifth travel sensors).
#include <QString>
#include <cstdint>
#include <optional>

#include "frames/shared/Fields.h"

// Bytes 1 and 2 of the answer, little-endian.
inline constexpr Bits TravelWord{1, 0, 16, 2};

// ---------------------------------------------------------------------------------------------
// The input IN1 in bits 0-1 of byte 3: code 0 "Свободен", 1 "+24 В", 2 "Масса"; code 3 has no item.

inline constexpr Bits TravelInput{3, 0, 2};

// The combo's selection OR-ed into the input bits (which the count or temperature left at 0);
// no selection adds nothing.
void OrTravelInput(TMessageImage& answer, int itemIndex);
int TravelInputItem(const TMessageImage& answer);
// Grid column 5: one digit, '0' plus the code.
QString TravelInputText(const TMessageImage& answer);
// Grid column 5 read with radix 3: the input bits cleared, then the rightmost digit, when there
// is one, stored as the code.
void ReadTravelInputCell(TMessageImage& answer, const QString& text);

// ---------------------------------------------------------------------------------------------
// The answer word of a count and a 1-Wire state above it.

struct TTravelCountWord {
    Bits Count;   // from bit 0 of the word
    Bits State;   // the bits above the count

    std::uint32_t count(const TMessageImage& answer) const { return Count.get(answer); }
    std::uint32_t state(const TMessageImage& answer) const { return State.get(answer); }

    // The frame's word in one guarded step: the count text (an integer, cut to the count field
    // and then to `countMask`) and the state from the combo, where no selection sets every
    // state bit. A count text that does not convert leaves the whole word, state included.
    void fromFrame(TMessageImage& answer, const QString& countText, int itemIndex,
                   std::uint32_t countMask) const;
    // Grid column 3: the count rounded half away from zero and cut to `countMask` and the
    // field, the state kept. Column 5: a plain integer whose low bits are the state, the count
    // kept. Other columns, and texts that do not convert, change nothing.
    void fromCell(TMessageImage& answer, const QString& text, int column, std::uint32_t countMask) const;

    // "L=%u IN=%u" of the count and the state.
    QString describe(const std::uint8_t* message) const;
};
