#pragma once
// Synchronized calls: a worker thread has a step run on the main thread and waits for it. On
// the main thread the step runs directly (a blocking queued call to one's own thread would
// deadlock). The synchronizer is injectable: deterministic tests run every step directly.
//
// The main thread must never block waiting for a worker that may be inside Synchronize: ask the
// worker to stop, return to the event loop, and finish from its termination.
#include <functional>

class ISynchronizer {
public:
    virtual ~ISynchronizer() = default;
    // Runs step on the main thread and returns when it has run.
    virtual void Synchronize(const std::function<void()>& step) = 0;
};

// The real one: a blocking queued call from a worker, a direct call on the main thread.
class MainThreadSynchronizer final : public ISynchronizer {
public:
    void Synchronize(const std::function<void()>& step) override;
};

// Runs every step at once on the calling thread (tests that run everything on one thread).
class DirectSynchronizer final : public ISynchronizer {
public:
    void Synchronize(const std::function<void()>& step) override { step(); }
};

// The program's synchronizer (the main-thread one unless a test installed another).
ISynchronizer& Synchronizer();
void SetSynchronizer(ISynchronizer* synchronizer);   // nullptr restores the main-thread one
inline void Synchronize(const std::function<void()>& step) { Synchronizer().Synchronize(step); }

// Runs (object.*step)() through a synchronizer; true when it ran (a pausing synchronizer may
// skip it). What is handed over captures one pointer, which std::function holds without
// allocating: a step per exchange must not cost a heap allocation.
template <typename T>
bool SynchronizeMember(ISynchronizer& synchronizer, T& object, void (T::*step)())
{
    struct TCall {
        T* Object;
        void (T::*Step)();
        bool Ran;
    } call{&object, step, false};
    synchronizer.Synchronize([&call] {
        call.Ran = true;
        (call.Object->*call.Step)();
    });
    return call.Ran;
}

// True on the thread that runs the application's event loop.
bool IsMainThread();
