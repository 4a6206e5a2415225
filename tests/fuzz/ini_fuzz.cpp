// Feeds arbitrary bytes to the settings file's reader and to the rules of the values the window
// reads from it. Whatever the bytes, an untouched file must come back unchanged, and so must a
// file whose values are written as they read; a written key must read back as written without
// disturbing the other keys, and the value rules must return. Any text made of the bytes, as a
// value, is either written and read back the same or refused with the file left as it was.
#include <cstdint>
#include <cstdlib>

#include "platform/Files.h"
#include "platform/Ini.h"
#include "ui/MainSettings.h"

namespace {
void Require(bool condition)
{
    if (!condition)
        std::abort();
}

const QString Keys[][2] = {
    {QStringLiteral("FORMS"), QStringLiteral("Main")},
    {QStringLiteral("VIEW"), QStringLiteral("ColWidths")},
    {QStringLiteral("VIEW"), QStringLiteral("UpdateTime")},
    {QStringLiteral("SETUP"), QStringLiteral("Port")},
    {QStringLiteral("SETUP"), QStringLiteral("Mode")},
    {QStringLiteral("LASTFILES"), QStringLiteral("File1")},
};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray image(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TIniFile ini;
    ini.Parse(image);
    Require(ini.Image() == image);

    for (const auto& key : Keys) {
        const QString value = ini.ReadString(key[0], key[1]);
        TFormsMain fields;
        Require(ScanFormsMain(value, fields) <= 10);
        Require(ScanColWidths(value, 10).size() <= 10);
        const TPortValue port = ParsePortValue(value);
        if (port.Priority)
            Require(LimitPollPriority(*port.Priority) <= 6);
        (void)ini.ReadInteger(key[0], key[1], 0);
        (void)LoadedFileName(value, QStringLiteral("/start/"));
    }

    TIniFile same = ini;
    for (const auto& key : Keys)
        if (same.ValueExists(key[0], key[1]))
            same.WriteString(key[0], key[1], same.ReadString(key[0], key[1]));
    Require(same.Image() == image);

    // One key written, one deleted: both show, everything else reads as before.
    TIniFile changed = ini;
    changed.WriteString(QStringLiteral("SETUP"), QStringLiteral("Port"), QStringLiteral("1,1,ttyUSB0,2"));
    changed.DeleteKey(QStringLiteral("LASTFILES"), QStringLiteral("File1"));
    TIniFile again;
    again.Parse(changed.Image());
    Require(again.ReadString(QStringLiteral("setup"), QStringLiteral("port")) == QStringLiteral("1,1,ttyUSB0,2"));
    for (const auto& key : Keys) {
        if (key[1] == QStringLiteral("Port") || key[1] == QStringLiteral("File1"))
            continue;
        Require(again.ReadString(key[0], key[1]) == ini.ReadString(key[0], key[1]));
    }

    // The first bytes as a value, and the value with the format's special characters around it.
    const QString raw = DecodeName(image.left(80));
    for (const QString& value : {raw, QStringLiteral("%1;=[").arg(raw), u'%' + raw + QStringLiteral("%2")}) {
        for (const auto& key : Keys) {
            TIniFile written = ini;
            const bool taken = written.WriteString(key[0], key[1], value);
            Require(taken == (IniValueFault(value) == TIniValueFault::None));
            TIniFile back;
            back.Parse(written.Image());
            Require(taken ? back.ReadString(key[0], key[1]) == value : written.Image() == image);
        }
    }
    return 0;
}
