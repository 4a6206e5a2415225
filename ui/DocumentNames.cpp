#include "ui/DocumentNames.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QStringList>

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
