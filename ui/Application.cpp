#include "ui/Application.h"

#include <QSocketNotifier>
#include <QThread>
#include <QWidget>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "platform/Abort.h"
#include "ui/Ask.h"
#include "ui/Main.h"

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

}   // namespace

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
        parent = Mirvane2Form();
    MessageBox(parent, text, ErrorCaption, TButtons::Ok, TBoxIcon::Error);
}

// A signal only writes a byte; the event loop reads it and closes the window.
void RouteSignalsToClose(QObject* context)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [] {
        char buffer[16];
        while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
        }
        if (TMirvane2Form* form = Mirvane2Form())
            form->close();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    // SIGHUP: the terminal the program was started from was closed; the window stays the user's.
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}
