#include "platform/Ini.h"

#include <QList>
#include <cerrno>

#include "platform/Files.h"

namespace {

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QByteArray WithoutCr(const QByteArray& raw) { return raw.endsWith('\r') ? raw.left(raw.size() - 1) : raw; }

// Digits of `base` into an unsigned 64-bit sum; false on no digit, a stray character or a sum
// beyond 32 bits.
bool ParseDigits(QStringView digits, int base, std::uint64_t& sum)
{
    if (digits.isEmpty())
        return false;
    sum = 0;
    for (QChar c : digits) {
        const int d = c >= u'0' && c <= u'9'   ? c.unicode() - '0'
                      : c >= u'a' && c <= u'f' ? c.unicode() - 'a' + 10
                      : c >= u'A' && c <= u'F' ? c.unicode() - 'A' + 10
                                               : 99;
        if (d >= base)
            return false;
        sum = sum * std::uint64_t(base) + std::uint64_t(d);
        if (sum > 0xFFFFFFFFull)
            return false;
    }
    return true;
}

}   // namespace

std::optional<std::int32_t> ParseIniInteger(const QString& text)
{
    QStringView s = QStringView(text).trimmed();
    std::uint64_t sum = 0;
    // Hexadecimal covers the 32 bits, so "0xFFFFFFFF" is -1.
    if (s.startsWith(u'$') || s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        if (!ParseDigits(s.mid(s.startsWith(u'$') ? 1 : 2), 16, sum))
            return std::nullopt;
        return std::int32_t(std::uint32_t(sum));
    }
    const bool negative = s.startsWith(u'-');
    if (negative || s.startsWith(u'+'))
        s = s.mid(1);
    if (!ParseDigits(s, 10, sum))
        return std::nullopt;
    const std::int64_t value = negative ? -std::int64_t(sum) : std::int64_t(sum);
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return std::int32_t(value);
}

TIniLoad TIniFile::Load(const QString& fileName)
{
    Parse({});
    QByteArray image;
    switch (ReadPlainFile(fileName, MaxIniFileSize + 1, image)) {
    case TFileRead::Missing:
        return TIniLoad::Missing;
    case TFileRead::Unreadable:
        return TIniLoad::Unreadable;
    case TFileRead::Read:
        break;
    }
    if (image.size() > MaxIniFileSize)
        return TIniLoad::Unreadable;
    Parse(image);
    return TIniLoad::Loaded;
}

void TIniFile::Parse(const QByteArray& image)
{
    Lines.clear();
    const QList<QByteArray> raws = image.split('\n');
    Lines.reserve(std::size_t(raws.size()));
    for (const QByteArray& raw : raws)
        Lines.push_back(ParseLine(raw, Lines.empty()));
    if (Lines.empty())
        Lines.push_back(TLine{});
    CrLf = raws.size() > 1 && raws.front().endsWith('\r');
}

TIniFile::TLine TIniFile::ParseLine(const QByteArray& raw, bool first)
{
    TLine line{raw, TKind::Other, {}, {}};
    QString text = DecodeName(WithoutCr(raw));
    if (first && text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.indexOf(u']');
        line.Kind = TKind::Section;
        line.Name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
        return line;
    }
    if (trimmed.startsWith(u';'))
        return line;
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals > 0) {
        line.Name = trimmed.left(equals).trimmed();
        line.Value = trimmed.mid(equals + 1).trimmed();
        line.Kind = line.Name.isEmpty() ? TKind::Other : TKind::Key;
    }
    return line;
}

QByteArray TIniFile::Image() const
{
    QByteArray image;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        if (i)
            image += '\n';
        image += Lines[i].Raw;
    }
    return image;
}

bool TIniFile::Save(const QString& fileName, int* error) const
{
    if (fileName.isEmpty() || !MakeFolders(FolderOfFile(fileName))) {
        if (error)
            *error = fileName.isEmpty() ? ENOENT : errno;
        return false;
    }
    return ReplaceFile(fileName, Image(), {.MakeWritable = true}, error);
}

std::optional<std::pair<std::size_t, std::size_t>> TIniFile::FindSection(const QString& section) const
{
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        if (Lines[i].Kind != TKind::Section || !SameName(Lines[i].Name, section))
            continue;
        std::size_t end = i + 1;
        while (end < Lines.size() && Lines[end].Kind != TKind::Section)
            ++end;
        return std::pair{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> TIniFile::FindKey(const QString& section, const QString& key) const
{
    const auto range = FindSection(section);
    if (!range)
        return std::nullopt;
    for (std::size_t i = range->first + 1; i < range->second; ++i)
        if (Lines[i].Kind == TKind::Key && SameName(Lines[i].Name, key))
            return i;
    return std::nullopt;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const { return FindKey(section, key).has_value(); }

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const
{
    const auto at = FindKey(section, key);
    return at ? Lines[*at].Value : fallback;
}

std::int32_t TIniFile::ReadInteger(const QString& section, const QString& key, std::int32_t fallback) const
{
    const auto at = FindKey(section, key);
    if (!at)
        return fallback;
    return ParseIniInteger(Lines[*at].Value).value_or(fallback);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

QByteArray TIniFile::NewRaw(const QString& text, const TLine* replaced) const
{
    QByteArray raw = EncodeName(text);
    if (replaced ? replaced->Raw.endsWith('\r') : CrLf)
        raw += '\r';
    return raw;
}

TIniValueFault IniValueFault(const QString& value)
{
    if (value.contains(u'\n') || value.contains(u'\r'))
        return TIniValueFault::LineBreak;
    if (value != value.trimmed())
        return TIniValueFault::OuterBlank;
    if (DecodeName(EncodeName(value)) != value)
        return TIniValueFault::NotEncodable;
    return TIniValueFault::None;
}

bool TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    if (IniValueFault(value) != TIniValueFault::None)
        return false;
    const QString text = key + u'=' + value;
    if (const auto at = FindKey(section, key)) {
        TLine& line = Lines[*at];
        // An unchanged value keeps its line as it was, blanks and the key's spelling included.
        if (line.Value != value)
            line = ParseLine(NewRaw(text, &line), *at == 0);
        return true;
    }
    const auto range = FindSection(section);
    std::size_t at = 0;
    if (range) {
        // After the section's last non-blank line, so that a blank line before the next
        // section stays where it was.
        at = range->second;
        while (at > range->first + 1 && Lines[at - 1].Raw.trimmed().isEmpty())
            --at;
    } else {
        // At the end, before the empty remainder that a final line break leaves.
        at = Lines.size();
        if (Lines.back().Raw.isEmpty())
            --at;
        Lines.insert(Lines.begin() + std::ptrdiff_t(at), ParseLine(NewRaw(u'[' + section + u']', nullptr), false));
        ++at;
    }
    Lines.insert(Lines.begin() + std::ptrdiff_t(at), ParseLine(NewRaw(text, nullptr), false));
    // A file that had no final line break gets one between its old end and the new lines.
    if (!Lines.back().Raw.isEmpty() && at + 1 == Lines.size())
        Lines.push_back(TLine{});
    return true;
}

void TIniFile::WriteInteger(const QString& section, const QString& key, std::int32_t value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::DeleteKey(const QString& section, const QString& key)
{
    if (const auto at = FindKey(section, key))
        Lines.erase(Lines.begin() + std::ptrdiff_t(*at));
}
