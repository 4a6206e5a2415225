#include "model/SchemeFiles.h"

#include <algorithm>
#include <cstring>

#include "model/Catalogue.h"
#include "model/LineMode.h"
#include "platform/Files.h"
#include "platform/Text.h"

bool IsTerminatedWithin(const std::uint8_t* p, const std::uint8_t* end)
{
    if (p == nullptr || end == nullptr || p >= end)
        return false;
    return std::memchr(p, 0, static_cast<std::size_t>(end - p)) != nullptr;
}

namespace {
// Both formats start with two letters and two ASCII digits, the format's version.
bool HasMagic(const std::uint8_t* p, char second)
{
    const auto digit = [](std::uint8_t c) { return c >= '0' && c <= '9'; };
    return p[0] == 'M' && p[1] == static_cast<std::uint8_t>(second) && digit(p[2]) && digit(p[3]);
}

// The fixed fields of each record: a reader rejects a record too short to hold them, so that no
// field is read from the record after it. Our writers never write shorter ones.
constexpr int MinSchemeRecord = 5;        // size, name NUL, object count
constexpr int MinObjectRecord = 4;        // size, name NUL, type
constexpr int MinStateSchemeRecord = 4;   // size, object count
constexpr int MinStateObjectRecord = 6;   // size, type, flags, n, m

constexpr std::uint8_t StaticFlag = 0x80;
constexpr std::uint8_t ModeMask = 0x03;
constexpr int MaxBodyLength = 14;

// Reads the fields of one span of an image; every read checks that it stays inside the span.
class TFieldReader {
public:
    TFieldReader() = default;
    TFieldReader(const std::uint8_t* p, const std::uint8_t* end) : P(p), End(end) {}

    bool AtEnd() const { return P >= End; }

    bool U8(std::uint8_t& value)
    {
        if (End - P < 1)
            return false;
        value = *P++;
        return true;
    }

    bool U16(std::uint16_t& value)
    {
        if (End - P < 2)
            return false;
        value = static_cast<std::uint16_t>(P[0] | (P[1] << 8));
        P += 2;
        return true;
    }

    bool Text(QString& value)
    {
        if (!IsTerminatedWithin(P, End))
            return false;
        const auto length = static_cast<qsizetype>(std::strlen(reinterpret_cast<const char*>(P)));
        value = FromCp1251(reinterpret_cast<const char*>(P), length);
        P += length + 1;
        return true;
    }

    bool Bytes(std::uint8_t* out, int n)
    {
        if (n < 0 || End - P < n)
            return false;
        std::memcpy(out, P, static_cast<std::size_t>(n));
        P += n;
        return true;
    }

    // A record that starts here with its u16 size: it must hold its fixed fields and end inside
    // this span. `fields` covers what follows the size; this reader goes on at the record's end.
    bool Record(int minSize, TFieldReader& fields)
    {
        const std::uint8_t* start = P;
        std::uint16_t size = 0;
        if (!U16(size) || size < minSize || size > End - start) {
            P = start;
            return false;
        }
        fields = TFieldReader(P, start + size);
        P = start + size;
        return true;
    }

private:
    const std::uint8_t* P = nullptr;
    const std::uint8_t* End = nullptr;
};

const std::uint8_t* ImageBegin(const QByteArray& image)
{
    return reinterpret_cast<const std::uint8_t*>(image.constData());
}

const std::uint8_t* ImageEnd(const QByteArray& image)
{
    return ImageBegin(image) + std::min<qsizetype>(image.size(), MaxFileImage);
}

// Builds an image; each size field is filled in when its record is complete.
class TImageWriter {
public:
    void U8(std::uint8_t value) { Image.append(static_cast<char>(value)); }
    void U16(std::uint16_t value)
    {
        U8(static_cast<std::uint8_t>(value & 0xFF));
        U8(static_cast<std::uint8_t>(value >> 8));
    }
    void Text(const QString& value)
    {
        Image.append(ToCp1251(value));
        U8(0);
    }
    void Bytes(const std::uint8_t* bytes, int n) { Image.append(reinterpret_cast<const char*>(bytes), n); }
    void Magic(const char* magic) { Image.append(magic, 4); }

    qsizetype BeginRecord()
    {
        const qsizetype start = Image.size();
        U16(0);
        return start;
    }
    void EndRecord(qsizetype start)
    {
        // A record beyond 65535 bytes only exists in an image that is rejected as too large.
        const auto size = static_cast<std::uint16_t>(std::min<qsizetype>(Image.size() - start, 0xFFFF));
        Image[start] = static_cast<char>(size & 0xFF);
        Image[start + 1] = static_cast<char>(size >> 8);
    }

    bool TooLarge() const { return Image.size() > MaxFileImage; }
    std::optional<QByteArray> Result() const
    {
        if (TooLarge())
            return std::nullopt;
        return Image;
    }

private:
    QByteArray Image;
};

// The body bytes a state record holds for a message of the given length: no address byte, no
// XOR byte; a request of the address byte alone has none.
int BodyLength(int messageLength) { return std::max(messageLength - 2, 0); }

bool ReadImage(const QString& fileName, QByteArray& image)
{
    return ReadPlainFile(fileName, MaxFileImage, image) == TFileRead::Read;
}

// A state file that cannot be read holds no image: it is rewritten.
bool FileHolds(const QString& fileName, const QByteArray& image)
{
    QByteArray present;
    return ReadPlainFile(fileName, MaxFileImage + 1, present) == TFileRead::Read && present == image;
}
}

std::optional<QByteArray> BuildSchemeImage(const TSchemeList& schemes, const QString& comment)
{
    TImageWriter out;
    out.Magic("MV02");
    out.Text(comment);
    out.U16(static_cast<std::uint16_t>(schemes.size()));
    for (const auto& scheme : schemes) {
        const qsizetype schemeStart = out.BeginRecord();
        out.Text(scheme->Name);
        out.U16(static_cast<std::uint16_t>(scheme->Objects.size()));
        for (const auto& object : scheme->Objects) {
            if (!IsValidType(object->Type))
                return std::nullopt;
            const qsizetype objectStart = out.BeginRecord();
            out.Text(object->Name);
            out.U8(static_cast<std::uint8_t>(object->Type));
            out.Text(object->Comment);
            out.EndRecord(objectStart);
        }
        out.EndRecord(schemeStart);
        if (out.TooLarge())
            return std::nullopt;
    }
    return out.Result();
}

bool ParseSchemeImage(const QByteArray& image, TSchemeList& schemes, QString& comment)
{
    const std::uint8_t* begin = ImageBegin(image);
    const std::uint8_t* end = ImageEnd(image);
    if (end - begin < 7 || !HasMagic(begin, 'V'))
        return false;
    TFieldReader file(begin + 4, end);
    QString text;
    if (!file.Text(text))
        return false;
    comment = text;

    const std::uint8_t newMode = LineMode.load() == LineModeMaster ? ModeEmulate : ModeReceive;
    std::uint16_t schemeCount = 0;
    if (!file.U16(schemeCount))
        return false;
    for (int s = 0; s < schemeCount; ++s) {
        TFieldReader record;
        QString name;
        if (!file.Record(MinSchemeRecord, record) || !record.Text(name))
            return false;
        auto& scheme = *schemes.emplace_back(std::make_unique<TDeviceScheme>(name));
        std::uint16_t objectCount = 0;
        if (!record.U16(objectCount))
            return false;
        for (int o = 0; o < objectCount; ++o) {
            TFieldReader fields;
            QString objectName;
            if (!record.Record(MinObjectRecord, fields) || !fields.Text(objectName))
                return false;
            auto& object = *scheme.Objects.emplace_back(std::make_unique<TSchemeObject>(objectName, newMode));
            std::uint8_t type = 0;
            if (!fields.U8(type) || !IsValidType(type))
                return false;
            object.Type = type;
            if (!fields.AtEnd() && !fields.Text(object.Comment))
                return false;
        }
    }
    return true;
}

std::optional<QByteArray> BuildInfoImage(const TSchemeList& schemes, std::uint8_t lineMode,
                                         const QString& currentScheme)
{
    if (lineMode > LineModeSensors)
        return std::nullopt;
    TImageWriter out;
    out.Magic("MI02");
    out.U8(lineMode);
    out.Text(currentScheme);
    out.U16(static_cast<std::uint16_t>(schemes.size()));
    for (const auto& scheme : schemes) {
        const qsizetype schemeStart = out.BeginRecord();
        out.U16(static_cast<std::uint16_t>(scheme->Objects.size()));
        for (const auto& object : scheme->Objects) {
            if (!IsValidType(object->Type) || object->Mode > ModeDisabled)
                return std::nullopt;
            const TFrameInfo& row = DeviceCatalogue[object->Type];
            const int n = BodyLength(row.RequestLength);
            const int m = BodyLength(row.AnswerLength);
            const qsizetype objectStart = out.BeginRecord();
            out.U8(static_cast<std::uint8_t>(object->Type));
            out.U8(static_cast<std::uint8_t>(object->Mode | (object->Static ? StaticFlag : 0)));
            out.U8(static_cast<std::uint8_t>(n));
            out.Bytes(object->Request.data() + 1, n);
            out.U8(static_cast<std::uint8_t>(m));
            out.Bytes(object->Answer.data() + 1, m);
            out.EndRecord(objectStart);
        }
        out.EndRecord(schemeStart);
        if (out.TooLarge())
            return std::nullopt;
    }
    return out.Result();
}

namespace {
// One object's record of a state file, applied only once all of it has been read.
bool ReadObjectState(TFieldReader& fields, TSchemeObject& object)
{
    std::uint8_t type = 0, flags = 0, n = 0, m = 0;
    std::uint8_t request[MaxBodyLength] = {}, answer[MaxBodyLength] = {};
    if (!fields.U8(type) || type != object.Type || !fields.U8(flags) || (flags & ModeMask) == ModeMask)
        return false;
    if (!fields.U8(n) || n > MaxBodyLength || !fields.Bytes(request, n))
        return false;
    if (!fields.U8(m) || m > MaxBodyLength || !fields.Bytes(answer, m))
        return false;
    object.Mode = flags & ModeMask;
    object.Static = (flags & StaticFlag) ? 1 : 0;
    std::copy_n(request, n, object.Request.begin() + 1);
    std::copy_n(answer, m, object.Answer.begin() + 1);
    return true;
}
}

bool ParseInfoImage(const QByteArray& image, TSchemeList& schemes, int& lineMode, QString& currentScheme)
{
    const std::uint8_t* begin = ImageBegin(image);
    const std::uint8_t* end = ImageEnd(image);
    if (end - begin < 8 || !HasMagic(begin, 'I') || begin[4] > LineModeSensors)
        return false;
    TFieldReader file(begin + 5, end);
    QString name;
    if (!file.Text(name))
        return false;
    lineMode = begin[4];
    currentScheme = name;

    std::uint16_t schemeCount = 0;
    if (!file.U16(schemeCount) || schemeCount != schemes.size())
        return false;
    for (const auto& scheme : schemes) {
        TFieldReader record;
        std::uint16_t objectCount = 0;
        if (!file.Record(MinStateSchemeRecord, record) || !record.U16(objectCount) ||
            objectCount != scheme->Objects.size())
            return false;
        for (const auto& object : scheme->Objects) {
            TFieldReader fields;
            if (!record.Record(MinStateObjectRecord, fields) || !ReadObjectState(fields, *object))
                return false;
        }
    }
    return true;
}

bool LoadSchemeFile(const QString& fileName, TSchemeList& schemes, QString& comment)
{
    QByteArray image;
    return ReadImage(fileName, image) && ParseSchemeImage(image, schemes, comment);
}

bool SaveSchemeFile(const QString& fileName, const TSchemeList& schemes, const QString& comment)
{
    const auto image = BuildSchemeImage(schemes, comment);
    return image && ReplaceFile(fileName, *image);
}

bool LoadInfoFile(const QString& fileName, TSchemeList& schemes, int& lineMode, QString& currentScheme)
{
    QByteArray image;
    return ReadImage(fileName, image) && ParseInfoImage(image, schemes, lineMode, currentScheme);
}

bool SaveInfoFile(const QString& fileName, const TSchemeList& schemes, std::uint8_t lineMode,
                  const QString& currentScheme)
{
    // Written with no action of the user: a link there (a folder from someone else) could aim
    // the write at any of the user's files.
    const TReplaceRules rules{.ThroughLink = false};
    const auto image = BuildInfoImage(schemes, lineMode, currentScheme);
    if (!image || FileHolds(fileName, *image)) {
        // A state that no longer changes is not written again: what an interrupted save of it
        // left goes all the same.
        RemoveReplaceLeftovers(fileName, rules);
        return false;
    }
    return ReplaceFile(fileName, *image, rules);
}
