#pragma once
// Small helpers shared by the grid, the frames and the document commands.
#include <QString>
#include <cstdint>

// The text of grid cells and fields that have no value: "-".
extern const QString NoValueText;

// The next numbered name: "Схема 1" -> "Схема 2", "Name099" -> "Name100", "Name" -> "Name1".
QString MakeNextName(const QString& name);

// The digits of a cell text, rightmost first, into DigitBuffer/DigitCount (main thread only).
extern std::int32_t DigitBuffer[8];
extern std::int32_t DigitCount;
void ParseDigits(const QString& text, int radix);

// The value brought into [low, high); `changed` tells whether it had to be moved.
double WrapValue(double value, double low, double high, bool& changed);
