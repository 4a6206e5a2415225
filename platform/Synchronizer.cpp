#include "platform/Synchronizer.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <atomic>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#define MIRVANE_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#include <sanitizer/tsan_interface.h>
#define MIRVANE_TSAN 1
#endif
#endif

namespace {
std::atomic<ISynchronizer*> installed{nullptr};

// Qt's locks are not instrumented, so ThreadSanitizer cannot see that a blocking queued call
// orders the worker's writes before the step and the step before the worker goes on. These
// tell it, on the token of the call; without ThreadSanitizer they are nothing.
void HandOver([[maybe_unused]] const void* token)
{
#ifdef MIRVANE_TSAN
    __tsan_release(const_cast<void*>(token));
#endif
}

void TakeOver([[maybe_unused]] const void* token)
{
#ifdef MIRVANE_TSAN
    __tsan_acquire(const_cast<void*>(token));
#endif
}

#ifdef MIRVANE_TSAN
#define MIRVANE_UNCHECKED_BY_TSAN __attribute__((no_sanitize("thread")))
#else
#define MIRVANE_UNCHECKED_BY_TSAN
#endif

// The call Qt queues on the main thread. Qt makes its copy of this object after HandOver, so
// the read of `step` before TakeOver is ordered only by Qt's own locks: that one function is left
// unchecked (the step it calls is checked).
struct THandedStep {
    const std::function<void()>* step;
    MIRVANE_UNCHECKED_BY_TSAN void operator()() const
    {
        TakeOver(step);
        (*step)();
        HandOver(step);
    }
};
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
    HandOver(&step);
    QMetaObject::invokeMethod(app, THandedStep{&step}, Qt::BlockingQueuedConnection);
    TakeOver(&step);
}

ISynchronizer& Synchronizer()
{
    static MainThreadSynchronizer mainThread;
    ISynchronizer* s = installed.load();
    return s ? *s : mainThread;
}

void SetSynchronizer(ISynchronizer* synchronizer) { installed = synchronizer; }
