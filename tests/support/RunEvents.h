#pragma once
// Runs the event loop until a condition holds or a generous bound passes.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

inline bool RunEventsUntil(const std::function<bool()>& done, int boundMs = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > boundMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

// Runs the event loop for a while, whatever happens.
inline void RunEventsFor(int ms)
{
    RunEventsUntil([] { return false; }, ms);
}
