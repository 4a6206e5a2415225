#include "platform/Numbers.h"

#include <QLocale>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {
std::atomic<char16_t> Separator{u'.'};

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

// The text without surrounding blanks, or an empty text.
QString Trimmed(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

// Digits from `pos` on; returns how many.
qsizetype SkipDigits(const QString& s, qsizetype& pos)
{
    const qsizetype start = pos;
    while (pos < s.size() && s[pos] >= u'0' && s[pos] <= u'9')
        ++pos;
    return pos - start;
}
}

QChar DecimalSeparator() { return QChar(Separator.load()); }
void SetDecimalSeparator(QChar separator) { Separator.store(separator.unicode()); }
void UseSystemDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    SetDecimalSeparator(point.isEmpty() ? QChar(u'.') : point[0]);
}

std::optional<int> StrToInt(const QString& text)
{
    const QString s = Trimmed(text);
    qsizetype pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == u'+' || s[pos] == u'-'))
        negative = s[pos++] == u'-';
    const qsizetype start = pos;
    if (SkipDigits(s, pos) == 0 || pos != s.size())
        return std::nullopt;
    long long value = 0;
    for (qsizetype i = start; i < pos; ++i) {
        value = value * 10 + (s[i].unicode() - u'0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<long double> StrToFloat(const QString& text)
{
    const QString s = Trimmed(text);
    const QChar separator = DecimalSeparator();
    std::string plain;   // the same number in the C library's form
    qsizetype pos = 0;
    if (pos < s.size() && (s[pos] == u'+' || s[pos] == u'-'))
        plain += static_cast<char>(s[pos++].unicode());
    qsizetype digits = SkipDigits(s, pos);
    plain += s.mid(pos - digits, digits).toStdString();
    if (pos < s.size() && s[pos] == separator) {
        ++pos;
        const qsizetype fraction = SkipDigits(s, pos);
        plain += '.';
        plain += s.mid(pos - fraction, fraction).toStdString();
        digits += fraction;
    }
    if (digits == 0)
        return std::nullopt;
    if (pos < s.size() && (s[pos] == u'e' || s[pos] == u'E')) {
        plain += 'e';
        ++pos;
        if (pos < s.size() && (s[pos] == u'+' || s[pos] == u'-'))
            plain += static_cast<char>(s[pos++].unicode());
        const qsizetype exponent = SkipDigits(s, pos);
        if (exponent == 0)
            return std::nullopt;
        plain += s.mid(pos - exponent, exponent).toStdString();
    }
    if (pos != s.size())
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    // The C library reads '.' whatever the program's own separator is (LC_NUMERIC is "C").
    const long double value = std::strtold(plain.c_str(), &end);
    if (errno == ERANGE && std::isinf(value))
        return std::nullopt;
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

// The magnitude as decimal digits and the position of the point in them: the value is first
// taken to 18 significant digits (what an extended value holds), so that a quotient such as
// 57 / 200 that lands a hair below the decimal half rounds as its decimal text reads.
static std::string DecimalDigits(long double magnitude, int& pointPos)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", magnitude);
    std::string digits;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    pointPos = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
    return digits;
}

// The value scaled by 10^fracDigits and rounded half away from zero, when that is certain
// without its decimal digits: the frames and the grid show a value or two per exchange, and
// the digits come from the C library's formatting. The rounding of FormatFloat takes the value
// to 18 significant digits first, which moves it by less than 6e-18 of itself (with the
// scaling's own error); a value that far from a half of the last kept digit rounds the same
// either way. Nearer a half, or too large, it is left to the digits.
static std::optional<std::uint64_t> ScaledAndRounded(long double magnitude, int fracDigits)
{
    constexpr long double Limit = 1e17L;   // well inside the 64 bits of the result
    if (fracDigits > 6)
        return std::nullopt;
    long double scale = 1;
    for (int i = 0; i < fracDigits; ++i)
        scale *= 10;
    const long double scaled = magnitude * scale;
    if (!(scaled < Limit))
        return std::nullopt;
    const long double whole = std::floor(scaled);
    if (std::fabs(scaled - whole - 0.5L) <= scaled * 1e-17L + 1e-300L)
        return std::nullopt;
    return static_cast<std::uint64_t>(whole) + (scaled - whole > 0.5L ? 1 : 0);
}

// FormatFloat of a value whose scaled and rounded magnitude is known.
static QString FormatScaled(bool negative, std::uint64_t scaled, int intDigits, int fracDigits)
{
    char buffer[48];
    char* end = buffer + sizeof buffer;
    char* p = end;
    for (int i = 0; i < fracDigits; ++i, scaled /= 10)
        *--p = static_cast<char>('0' + scaled % 10);
    const char* fraction = p;
    int digits = 0;
    for (; scaled > 0; scaled /= 10, ++digits)
        *--p = static_cast<char>('0' + scaled % 10);
    for (; digits < intDigits; ++digits)
        *--p = '0';
    const bool zero = std::all_of(p, end, [](char c) { return c == '0'; });
    QString out;
    out.reserve(static_cast<qsizetype>(end - p) + 2);
    if (negative && !zero)
        out += u'-';
    out += QLatin1StringView(p, fraction - p);
    if (fracDigits > 0) {
        out += DecimalSeparator();
        out += QLatin1StringView(fraction, end - fraction);
    }
    return out;
}

QString FormatFloat(const char* pattern, long double value)
{
    const char* point = std::strchr(pattern, '.');
    const int intDigits = static_cast<int>(point ? point - pattern : std::strlen(pattern));
    const int fracDigits = point ? static_cast<int>(std::strlen(point + 1)) : 0;
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NAN") : (value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF"));
    if (const std::optional<std::uint64_t> scaled = ScaledAndRounded(std::fabs(value), fracDigits))
        return FormatScaled(value < 0, *scaled, intDigits, fracDigits);

    int pointPos = 0;
    std::string digits = DecimalDigits(std::fabs(value), pointPos);
    // Pad so that the digits reach from the first integer digit to one past the last kept one.
    if (pointPos < 1) {
        digits.insert(0, static_cast<std::size_t>(1 - pointPos), '0');
        pointPos = 1;
    }
    const std::size_t keep = static_cast<std::size_t>(pointPos + fracDigits);
    if (digits.size() <= keep)
        digits.append(keep + 1 - digits.size(), '0');
    const bool roundUp = digits[keep] >= '5';
    digits.resize(keep);
    if (roundUp) {
        std::size_t i = keep;
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0) {
            digits.insert(0, 1, '1');
            ++pointPos;
        } else {
            ++digits[i - 1];
        }
    }
    std::string whole = digits.substr(0, static_cast<std::size_t>(pointPos));
    const std::string fraction = digits.substr(static_cast<std::size_t>(pointPos));
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() < static_cast<std::size_t>(intDigits))
        whole.insert(0, static_cast<std::size_t>(intDigits) - whole.size(), '0');
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    QString out = value < 0 && !zero ? QStringLiteral("-") : QString();
    out += QString::fromLatin1(whole.data(), static_cast<qsizetype>(whole.size()));
    if (fracDigits > 0) {
        out += DecimalSeparator();
        out += QString::fromLatin1(fraction.data(), static_cast<qsizetype>(fraction.size()));
    }
    return out;
}

QString FloatToStr(long double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15Lg", value);
    QString text = QString::fromLatin1(buffer);
    text.replace(u'.', DecimalSeparator());
    return text;
}
