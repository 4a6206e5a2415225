#include "model/FileNames.h"

#include <QDir>
#include <QFileInfo>

#include "model/Helpers.h"
#include "platform/Files.h"

QString ChangeFileExt(const QString& fileName, const QString& ext)
{
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return (dot > slash + 1 ? fileName.left(dot) : fileName) + ext;
}

bool SameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

QString ProposeFreeFileName(const QString& fileName)
{
    QString name = fileName;
    if (name.isEmpty())
        return name;
    const QFileInfo info(name);
    const QString folder = info.absolutePath() + QLatin1Char('/');
    QString base = info.completeBaseName();
    // Bounded: a folder cannot hold this many numbered files, and a loop must not hang on it.
    for (int tries = 0; FileExists(name) && tries < 1000000; ++tries) {
        base = MakeNextName(base);
        name = folder + base + SchemeFileExt;
    }
    return name;
}
