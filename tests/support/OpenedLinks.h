#pragma once
// Takes the links the program hands the desktop to open, so that a test clicks a link and nothing
// is opened on the machine. Register it with QDesktopServices::setUrlHandler(scheme, &links, "Open").
#include <QObject>
#include <QStringList>
#include <QUrl>

class TOpenedLinks : public QObject {
    Q_OBJECT
public:
    QStringList Urls;
public slots:
    void Open(const QUrl& url) { Urls << url.toString(); }
};
