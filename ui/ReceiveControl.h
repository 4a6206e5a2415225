#pragma once
// The receive thread as the port control steers it: one narrow interface, the program's own
// thread behind it, and a factory, so that the port control does not depend on how the thread
// is built and tests can run a thread of their own.
#include <functional>

#include "line/ReceiveThread.h"

// A receive thread as the port control sees it. Made suspended: nothing runs before Resume.
// Contract of an implementation: once its loop has ended (after Terminate, or on its own), it
// runs the OnTerminate handler on the main thread, exactly once, and then deletes itself; the
// port control never deletes it and drops its pointer in that handler.
class IReceiveThread {
public:
    virtual ~IReceiveThread() = default;
    virtual void SetOnTerminate(std::function<void()> handler) = 0;
    // 0 idle .. 6 time-critical (the QThread priority scale).
    virtual void SetPriority(int pollPriority) = 0;
    virtual void Resume() = 0;
    // Asks the loop to end; returns at once.
    virtual void Terminate() = 0;
    // The thread closes its port and detects or opens again.
    virtual void RequestReconnect() = 0;
    // The poll statistics start over.
    virtual void RequestResetStats() = 0;
    // Opening a scheme holds the thread off the devices until it is done.
    virtual void Pause() = 0;
    virtual void Continue() = 0;
    // The search for new devices on the line.
    virtual void StartSearch() = 0;
    virtual void StopSearch() = 0;
};

// The program's receive thread as the window steers it.
class TWindowReceiveThread : public TReceiveThread, public IReceiveThread {
public:
    using TReceiveThread::TReceiveThread;
    void SetOnTerminate(std::function<void()> handler) override { TReceiveThread::SetOnTerminate(std::move(handler)); }
    void SetPriority(int pollPriority) override { TReceiveThread::SetPriority(pollPriority); }
    void Resume() override { TReceiveThread::Resume(); }
    void Terminate() override { TReceiveThread::Terminate(); }
    void RequestReconnect() override { TReceiveThread::RequestReconnect(); }
    void RequestResetStats() override { TReceiveThread::RequestResetStats(); }
    void Pause() override { TReceiveThread::Pause(); }
    void Continue() override { TReceiveThread::Continue(); }
    void StartSearch() override { TReceiveThread::StartSearch(); }
    void StopSearch() override { TReceiveThread::StopSearch(); }
};

using TReceiveThreadFactory = std::function<IReceiveThread*()>;
// A new receive thread from the installed factory: by default the program's own, working for
// the host (the main window).
IReceiveThread* CreateReceiveThread();
// Installs the factory (an empty one restores the built-in).
void SetReceiveThreadFactory(TReceiveThreadFactory factory);
