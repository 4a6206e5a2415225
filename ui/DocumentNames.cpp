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
    if (IsStoredRelative(relative) && !QDir::isAbsolutePath(relative))
        return QStringLiteral("./") + relative;
    return info.absoluteFilePath();
}

bool IsStoredRelative(const QString& path) { return !path.startsWith(u'.') && !path.contains(u':'); }

QString ShortenPath(const QString& path, const QFontMetrics& metrics, int maxWidth)
{
    return ShortenPath(
        path, [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }, maxWidth);
}

QString ShortenPath(const QString& path, const std::function<int(const QString&)>& width, int maxWidth)
{
    if (width(path) <= maxWidth)
        return path;
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() < 2)
        return path;
    const QString ellipsis = QStringLiteral("...");
    const qsizetype last = parts.size() - 1;
    // The kept folders grow leftwards from the file name while the sum of their widths fits:
    // each folder is measured once, never the whole tail again for each folder more.
    const int slash = width(QStringLiteral("/"));
    qsizetype first = last;
    for (qint64 sum = qint64(width(ellipsis)) + slash + width(parts[last]); first > 1; --first) {
        sum += qint64(width(parts[first - 1])) + slash;
        if (sum > maxWidth)
            break;
    }
    const auto shortened = [&] { return ellipsis + QLatin1Char('/') + parts.mid(first).join(QLatin1Char('/')); };
    // Kerning and shaping may make the joined text a little wider than its parts: a few folders
    // more go then, at most a few measurements of the whole.
    QString candidate = shortened();
    for (int tries = 0; first < last && width(candidate) > maxWidth; ++tries) {
        first = tries < 3 ? first + 1 : last;
        candidate = shortened();
    }
    return candidate;
}
