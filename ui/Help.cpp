#include "ui/Help.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

QString WriteHelpPage(const QString& folder)
{
    QFile source(QStringLiteral(":/help/Mirvane2.html"));
    if (!source.open(QIODevice::ReadOnly) || !QDir().mkpath(folder))
        return {};
    const QByteArray page = source.readAll();
    const QString path = QDir(folder).filePath(QStringLiteral("Mirvane2.html"));
    QFile present(path);
    if (present.open(QIODevice::ReadOnly) && present.readAll() == page)
        return path;
    present.close();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(page) != page.size() || !out.commit())
        return {};
    return path;
}

THelpPage OpenHelpPage()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    THelpPage page;
    page.Path = WriteHelpPage(folder.isEmpty() ? QDir::tempPath() + QStringLiteral("/Mirvane2") : folder);
    page.Opened = !page.Path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(page.Path));
    return page;
}
