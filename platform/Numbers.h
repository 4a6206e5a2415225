#pragma once
// Number texts, one set of rules for the whole program: what the user types into edits and
// grid cells, and how values are shown.
#include <QString>
#include <optional>

// The decimal separator of number texts: the system locale's, set once at start; tests pin it.
QChar DecimalSeparator();
void SetDecimalSeparator(QChar separator);
void UseSystemDecimalSeparator();

// Optional blanks and sign, then decimal digits, within 32 bits; anything else does not convert.
std::optional<int> StrToInt(const QString& text);

// Optional blanks and sign, digits with the decimal separator, an optional exponent. Infinity,
// NaN, hexadecimal and values beyond the range of long double do not convert.
std::optional<long double> StrToFloat(const QString& text);

// The value in one of the patterns "0.00", "00", "0000" ... : as many integer digits as the
// pattern has zeros before the point (at least), as many fraction digits as after it, rounded
// half away from zero; a result that rounds to zero carries no minus sign.
QString FormatFloat(const char* pattern, long double value);

// The value in its general form: up to 15 significant digits, no trailing zeros ("1500",
// "1500.125", "359.989990234375"), with the decimal separator.
QString FloatToStr(long double value);
