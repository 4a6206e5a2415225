#pragma once
// The settings file: a profile in the INI format (sections in square brackets, "key=value"
// lines, section and key names matched without regard to case, UTF-8 text; bytes that are no
// UTF-8 read as the escapes of DecodeName, so a path keeps its bytes). The whole file is
// held line by line, so that whatever the program does not touch (other sections, unknown keys,
// comments, line ends, a byte-order mark, even bytes that are no valid UTF-8) is written back
// exactly as it was read. Saving writes a temporary file and renames it over the old one.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// A settings file larger than this is no settings file of ours: it is neither read nor
// overwritten.
inline constexpr qint64 MaxIniFileSize = 1 << 20;

enum class TIniLoad {
    Missing,   // no such file: defaults, and the file may be created
    Loaded,
    Unreadable,   // exists but cannot be read or is too large: defaults, and never overwritten
};

class TIniFile {
public:
    TIniLoad Load(const QString& fileName);
    // Takes a file image; any bytes are accepted.
    void Parse(const QByteArray& image);
    // The file image: the loaded bytes with the changes made since.
    QByteArray Image() const;
    // Writes the image through a temporary file in the same folder (made when missing); the
    // file keeps its permissions plus the owner's write permission. False when nothing was
    // written, with the system's error (or NotAPlainFile) in `error`.
    bool Save(const QString& fileName, int* error = nullptr) const;

    bool ValueExists(const QString& section, const QString& key) const;
    // The trimmed value, or `fallback` when the key is missing.
    QString ReadString(const QString& section, const QString& key, const QString& fallback = {}) const;
    // The value as a 32-bit integer (decimal with an optional sign, or hexadecimal after "0x" or
    // "$"), or `fallback` when the key is missing or its value does not convert.
    std::int32_t ReadInteger(const QString& section, const QString& key, std::int32_t fallback) const;
    bool ReadBool(const QString& section, const QString& key, bool fallback) const;

    // A value that the file would give back as another one is refused (false, the file as it
    // was): what a value cannot hold is told by IniValueFault. A value equal to the present one
    // leaves its line as it is, byte for byte.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, std::int32_t value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void DeleteKey(const QString& section, const QString& key);

private:
    // clang-format off
    enum class TKind { Other, Section, Key };
    // clang-format on
    struct TLine {
        QByteArray Raw;   // the line's bytes without its '\n' (a '\r' before it stays)
        TKind Kind = TKind::Other;
        QString Name;    // section or key name, trimmed
        QString Value;   // a key's value, trimmed
    };
    static TLine ParseLine(const QByteArray& raw, bool first);
    QByteArray NewRaw(const QString& text, const TLine* replaced) const;
    // Index range of the first section of that name: its header line and the end of its lines.
    std::optional<std::pair<std::size_t, std::size_t>> FindSection(const QString& section) const;
    std::optional<std::size_t> FindKey(const QString& section, const QString& key) const;

    std::vector<TLine> Lines{TLine{}};
    bool CrLf = false;   // new lines follow the file's own line ends
};

// The integer conversion of ReadInteger, for a text on its own.
std::optional<std::int32_t> ParseIniInteger(const QString& text);

// Why the file cannot hold a value as it is: a value is one line, read without the blanks at its
// ends, and its characters are the bytes of the file (DecodeName gives them back).
// clang-format off
enum class TIniValueFault { None, LineBreak, OuterBlank, NotEncodable };
// clang-format on
TIniValueFault IniValueFault(const QString& value);
