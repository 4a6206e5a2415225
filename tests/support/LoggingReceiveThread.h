#pragma once
// A receive thread that never runs and writes each call into one log ("thread resume", ...),
// so that a test reads the order of what the thread was asked.
#include <QStringList>
#include <functional>

#include "ui/ReceiveControl.h"

// A receive thread that never runs: End plays the end of its loop as the contract has it.
class LoggingReceiveThread : public IReceiveThread {
public:
    // Runs after each call is logged: a test may fail the call there.
    static inline std::function<void(const QString& call)> OnCall;

    explicit LoggingReceiveThread(QStringList& log) : log_(log) {}
    void SetOnTerminate(std::function<void()> handler) override { onTerminate_ = std::move(handler); }
    void SetPriority(int pollPriority) override { Note(QStringLiteral("priority %1").arg(pollPriority)); }
    void Resume() override { Note(QStringLiteral("resume")); }
    void Terminate() override { Note(QStringLiteral("terminate")); }
    void RequestReconnect() override { Note(QStringLiteral("reconnect")); }
    void RequestResetStats() override { Note(QStringLiteral("reset stats")); }
    void Pause() override { Note(QStringLiteral("pause")); }
    void Continue() override { Note(QStringLiteral("continue")); }
    void StartSearch() override { Note(QStringLiteral("search")); }
    void StopSearch() override { Note(QStringLiteral("stop search")); }
    // Runs the end handler, then deletes itself.
    void End()
    {
        onTerminate_();
        delete this;
    }

private:
    void Note(const QString& call)
    {
        log_ << QStringLiteral("thread ") + call;
        if (OnCall)
            OnCall(call);
    }

    QStringList& log_;
    std::function<void()> onTerminate_;
};
