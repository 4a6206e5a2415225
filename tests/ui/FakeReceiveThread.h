#pragma once
// A receive thread for window tests: a real worker that keeps making synchronized calls into
// the main thread until it is asked to end, then ends as the window expects (handler on the
// main thread, then it deletes itself).
#include <QThread>
#include <atomic>
#include <functional>

#include "platform/Synchronizer.h"
#include "ui/ReceiveControl.h"

class FakeReceiveThread : public QThread, public IReceiveThread {
public:
    static inline std::atomic<int> Alive{0};
    static inline FakeReceiveThread* Last = nullptr;

    FakeReceiveThread()
    {
        ++Alive;
        Last = this;
        connect(this, &QThread::finished, this, [this] {
            if (onTerminate_)
                onTerminate_();
            deleteLater();
        });
    }
    ~FakeReceiveThread() override
    {
        wait();
        --Alive;
        if (Last == this)
            Last = nullptr;
    }

    void SetOnTerminate(std::function<void()> handler) override { onTerminate_ = std::move(handler); }
    void SetPriority(int pollPriority) override { Priority = pollPriority; }
    void Resume() override
    {
        Resumed = true;
        start(QThread::Priority(Priority));
    }
    void Terminate() override { terminated_ = true; }
    void RequestReconnect() override {}
    void RequestResetStats() override {}
    void Pause() override {}
    void Continue() override {}
    void StartSearch() override {}
    void StopSearch() override {}

    int Priority = -1;
    bool Resumed = false;
    std::atomic<int> Steps{0};

protected:
    void run() override
    {
        while (!terminated_) {
            Synchronize([this] { ++Steps; });
            QThread::msleep(5);
        }
    }

private:
    std::atomic<bool> terminated_{false};
    std::function<void()> onTerminate_;
};
