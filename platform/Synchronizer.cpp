#include "platform/Synchronizer.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <atomic>

namespace {
std::atomic<ISynchronizer*> installed{nullptr};
}

bool IsMainThread()
{
    const auto* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void MainThreadSynchronizer::Synchronize(const std::function<void()>& step)
{
    auto* app = QCoreApplication::instance();
    if (IsMainThread() || !app) {
        step();
        return;
    }
    QMetaObject::invokeMethod(app, [&step] { step(); }, Qt::BlockingQueuedConnection);
}

ISynchronizer& Synchronizer()
{
    static MainThreadSynchronizer mainThread;
    ISynchronizer* s = installed.load();
    return s ? *s : mainThread;
}

void SetSynchronizer(ISynchronizer* synchronizer) { installed = synchronizer; }
