#include "model/Helpers.h"

#include <algorithm>
#include <cmath>

const QString NoValueText = QStringLiteral("-");

std::int32_t DigitBuffer[8] = {};
std::int32_t DigitCount = 0;

namespace {
bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
}

// The digit run is counted up as a decimal text, so a run of any length gives the right name
// and the width stays unless every digit was 9 ("Name099" -> "Name100", "Name9" -> "Name10").
QString MakeNextName(const QString& name)
{
    qsizetype start = name.size();
    while (start > 0 && IsAsciiDigit(name[start - 1]))
        --start;
    QString digits = name.mid(start);
    qsizetype i = digits.size();
    while (i > 0) {
        --i;
        if (digits[i] != QLatin1Char('9')) {
            digits[i] = QChar(digits[i].unicode() + 1);
            return name.left(start) + digits;
        }
        digits[i] = QLatin1Char('0');
    }
    return name.left(start) + QLatin1Char('1') + digits;
}

void ParseDigits(const QString& text, int radix)
{
    DigitCount = 0;
    // Only the decimal digit characters can be digits, whatever radix a caller passes.
    const int states = std::clamp(radix, 0, 10);
    for (qsizetype i = text.size() - 1; i >= 0 && DigitCount < 8; --i) {
        const QChar c = text[i];
        if (c == QLatin1Char(' '))
            continue;
        const int digit = c.unicode() - '0';
        if (digit < 0 || digit >= states)
            break;
        DigitBuffer[DigitCount++] = digit;
    }
}

namespace {
// Up to this many whole ranges are stepped off one at a time (the frames' results stay exactly
// as they always were); beyond, a remainder brings the value back in one go.
constexpr int MaxWrapSteps = 64;

double WrapByRemainder(double value, double low, double range)
{
    // Each remainder is exact; taking them apart keeps value - low from overflowing.
    double r = std::fmod(value, range) - std::fmod(low, range);
    while (r < 0)
        r += range;
    while (r >= range)
        r -= range;
    return low + r;
}

// Rounding can leave a stepped or wrapped value a hair outside; pull it to the nearest inside.
double KeepInside(double value, double low, double high)
{
    if (value < low)
        return low;
    if (value >= high)
        return std::nextafter(high, low);
    return value;
}
}

double WrapValue(double value, double low, double high, bool& changed)
{
    changed = false;
    if (!(high > low))
        return value;
    if (!std::isfinite(value)) {
        changed = true;
        return low;
    }
    if (value >= low && value < high)
        return value;
    changed = true;
    const double range = high - low;
    if (!std::isfinite(range))
        return KeepInside(value, low, high);
    const double steps = value >= high ? (value - high) / range : (low - value) / range;
    if (steps < MaxWrapSteps) {
        double stepped = value;
        bool done = false;
        for (int step = 0; !done && step <= MaxWrapSteps; ++step) {
            if (value >= high)
                done = (stepped -= range) < high;
            else
                done = (stepped += range) >= low;
        }
        if (done)
            return KeepInside(stepped, low, high);
    }
    return KeepInside(WrapByRemainder(value, low, range), low, high);
}
