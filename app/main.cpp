// Mirvane2: the program entry. Makes the application, binds the device frames, creates the main
// window and hands it the deferred start-up, then runs the event loop. The signals that end a
// program close the window as the user's close does (RouteSignalsToClose).
#include "ui/Main.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <cstdio>
#include <exception>

#include "frames/Registration.h"
#include "model/Session.h"
#include "platform/Abort.h"
#include "platform/Numbers.h"
#include "ui/Application.h"
#include "ui/PortControl.h"

namespace {

// Russian texts of the standard dialogs' buttons.
void LoadRussianDialogTexts(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

}   // namespace

int main(int argc, char** argv)
{
    try {
        TApplication app(argc, argv);   // shows what a handler throws, and goes on
        // Decoder lines print '.' whatever the locale; the number texts follow the system's.
        std::setlocale(LC_NUMERIC, "C");   // NOLINT(concurrency-mt-unsafe): before any thread starts
        UseSystemDecimalSeparator();
        QApplication::setApplicationName(QStringLiteral("Mirvane2"));
        QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(MIRVANE_VERSION_MAJOR)
                                                .arg(MIRVANE_VERSION_MINOR)
                                                .arg(MIRVANE_VERSION_PATCH));
        LoadRussianDialogTexts(app);
        RegisterFrameClasses();   // before any thread exists

        TDocument document;           // the open document
        TSession session(document);   // the open scheme, which the window shows
        TPortControl ports;           // the ports and the receive thread
        TMirvane2Form form(session, ports);
        RouteSignalsToClose(&form);
        form.show();
        form.PostStartup();
        // A headless run (tests) learns that the window is up from this line.
        if (qEnvironmentVariableIsSet("MIRVANE_REPORT_WINDOW"))
            std::printf("window: %s\n", qPrintable(form.objectName())), std::fflush(stdout);
        app.exec();
    } catch (const EAbort&) {
        // A silent abort that escaped a handler ends nothing but that handler's work.
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Mirvane2: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "Mirvane2: unexpected error\n");
    }
    return 0;
}
