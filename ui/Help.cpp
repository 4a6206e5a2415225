#include "ui/Help.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

#include "platform/Files.h"

QString WriteHelpPage(const QString& folder)
{
    QFile source(QStringLiteral(":/help/Mirvane2.html"));
    if (!source.open(QIODevice::ReadOnly) || !MakeFolders(folder))
        return {};
    const QByteArray page = source.readAll();
    const QString path = folder + QStringLiteral("/Mirvane2.html");
    QByteArray present;
    if (ReadPlainFile(path, page.size() + 1, present) == TFileRead::Read && present == page)
        return path;
    // A link in the cache folder could aim the copy at any of the user's files.
    return ReplaceFile(path, page, {.ThroughLink = false}) ? path : QString();
}

THelpPage OpenHelpPage()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    THelpPage page;
    page.Path = WriteHelpPage(folder.isEmpty() ? QDir::tempPath() + QStringLiteral("/Mirvane2") : folder);
    page.Opened = !page.Path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(page.Path));
    return page;
}
