#include "ui/DocumentNames.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QStringList>

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

QString LastFileDisplayName(const QString& fileName, const QString& startDir)
{
    const QFileInfo info(fileName);
    if (SameFile(info.absolutePath() + QLatin1Char('/'), startDir))
        return info.fileName();
    const QString relative = QDir(startDir).relativeFilePath(info.absoluteFilePath());
    if (!relative.startsWith(QLatin1Char('.')) && !relative.contains(QLatin1Char(':')) && !QDir::isAbsolutePath(relative))
        return QStringLiteral("./") + relative;
    return info.absoluteFilePath();
}

QString ShortenPath(const QString& path, const QFontMetrics& metrics, int maxWidth)
{
    if (metrics.horizontalAdvance(path) <= maxWidth)
        return path;
    const QStringList parts = path.split(QLatin1Char('/'));
    for (qsizetype k = 1; k + 1 < parts.size(); ++k) {
        const QString candidate = QStringLiteral(".../") + parts.mid(k).join(QLatin1Char('/'));
        if (metrics.horizontalAdvance(candidate) <= maxWidth)
            return candidate;
    }
    return parts.size() > 1 ? QStringLiteral(".../") + parts.last() : path;
}
