#include "ui/Application.h"

#include <QThread>
#include <QWidget>
#include <cstdio>

#include "platform/Abort.h"
#include "ui/Ask.h"
#include "ui/Main.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    ErrorReporter() = ShowHandlerError;
}

TApplication::~TApplication() { ErrorReporter() = nullptr; }

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    GuardUi([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

void ShowHandlerError(const char* message)
{
    const QString text = message && *message ? QString::fromUtf8(message) : QStringLiteral("Непредвиденная ошибка.");
    std::fprintf(stderr, "Mirvane2: %s\n", qPrintable(text));
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    if (QThread::currentThread() != app->thread()) {
        const QByteArray utf8 = text.toUtf8();
        QMetaObject::invokeMethod(
            app, [utf8] { ShowHandlerError(utf8.constData()); }, Qt::QueuedConnection);
        return;
    }
    // A handler that fails again while the box is up (a repaint) must not stack boxes.
    static bool showing = false;
    if (showing)
        return;
    struct TShowing {
        TShowing() { showing = true; }
        ~TShowing() { showing = false; }
    } const guard;
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    if (!parent)
        parent = Mirvane2Form;
    MessageBox(parent, text, ErrorCaption, TButtons::Ok, TBoxIcon::Error);
}
