#include "frames/shared/TravelFields.h"

#include "platform/Numbers.h"

namespace {
// The input code as a digit column of one field.
constexpr Bits TravelInputFields[] = {TravelInput};
constexpr DigitColumn TravelInputColumn{TravelInputFields, 3, 4};
}

void OrTravelInput(TMessageImage& answer, int itemIndex)
{
    if (itemIndex >= 0)
        TravelInput.orIn(answer, itemIndex);
}

int TravelInputItem(const TMessageImage& answer) { return InputItem(static_cast<int>(TravelInput.get(answer))); }

QString TravelInputText(const TMessageImage& answer) { return TravelInputColumn.text(answer); }

void ReadTravelInputCell(TMessageImage& answer, const QString& text) { TravelInputColumn.read(answer, text); }

void TTravelCountWord::fromFrame(TMessageImage& answer, const QString& countText, int itemIndex,
                                 std::uint32_t countMask) const
{
    const std::optional<int> value = StrToInt(countText);
    if (!value)
        return;
    const std::uint64_t count = static_cast<std::uint32_t>(*value) & Count.mask() & countMask;
    // No selection (-1) has every bit set, so it selects the highest state.
    const std::uint64_t state = static_cast<std::uint32_t>(itemIndex) & State.mask();
    TravelWord.store(answer, static_cast<std::int64_t>(count | (state << State.shift)));
}

void TTravelCountWord::fromCell(TMessageImage& answer, const QString& text, int column,
                                std::uint32_t countMask) const
{
    if (column == 3) {
        if (const std::optional<std::int64_t> count = TextToRaw(text, 1, Round::HalfAway))
            Count.set(answer, *count & countMask);
    } else if (column == 5) {
        if (const std::optional<int> state = StrToInt(text))
            State.set(answer, *state);
    }
}

QString TTravelCountWord::describe(const std::uint8_t* message) const
{
    const TMessageImage answer = ImageOf(message);
    return FormatLine("L=%u IN=%u", count(answer), state(answer));
}
