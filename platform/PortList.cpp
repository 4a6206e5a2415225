#include "platform/PortList.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>

namespace {

// A built-in serial slot: the kernel lists it whether or not a UART answers there.
bool IsBuiltinSlot(const QString& name) { return name.startsWith(QLatin1String("ttyS")); }

// The UART type of a built-in slot as sysfs reports it; 0 (unknown) when unreadable.
int UartType(const QString& entry)
{
    QFile file(entry + QLatin1String("/type"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const int type = QString::fromLatin1(file.read(32)).trimmed().toInt(&ok);
    return ok ? type : 0;
}

}   // namespace

QString TtyClassDir()
{
    const char* dir = std::getenv("MIRVANE_TTY_CLASS_DIR");   // NOLINT(concurrency-mt-unsafe): nobody sets it at run time
    return dir && *dir ? QString::fromLocal8Bit(dir) : QString::fromLatin1(SysTtyClassDir);
}

QStringList EnumerateSerialPorts(const QString& classDir)
{
    QStringList ports;
    const QDir dir(classDir);
    const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QString& name : entries) {
        const QString entry = dir.filePath(name);
        // Virtual terminals, the console and ptys have no device link.
        if (!QFileInfo(entry + QLatin1String("/device")).exists())
            continue;
        if (IsBuiltinSlot(name) && UartType(entry) == 0)
            continue;
        ports << name;
    }
    return ports;
}

void SortPortNames(QStringList& names)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    std::stable_sort(names.begin(), names.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
}
