#pragma once
// The program's application object. Every event the program handles passes its notify, which
// runs the handler through GuardUi: a silent abort ends the handler quietly, any other
// exception ends only that handler and shows its message in an "Ошибка" box; the program goes
// on. It also installs that box as the error reporter of the entry points guarded in place.
// The signals that end a program reach the main window as a close.
#include <QApplication>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;
    bool notify(QObject* receiver, QEvent* event) override;
};

// The "Ошибка" box for an exception that ended a handler; from another thread it is posted to
// the main thread. While one box is up, further errors go to the standard error only.
void ShowHandlerError(const char* message);

// SIGTERM, SIGINT and SIGHUP close the main window as the user's close does (the questions,
// then the state and settings files), once the event loop runs; `context` owns the watch.
void RouteSignalsToClose(QObject* context);
