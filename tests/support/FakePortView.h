#pragma once
// What the port control needs of the window and of the receive thread, as fakes that write each
// call into one log ("list", "check 1", "open 0", "thread resume", ...), so that a test reads
// the order of what was shown and what the thread was asked.
#include <QStringList>
#include <functional>

#include "ui/PortControl.h"

class FakePortView : public IPortView {
public:
    FakePortView(QStringList& log, const bool& closing) : log_(log), closing_(closing) {}
    void ShowPortList() override { log_ << QStringLiteral("list"); }
    void CheckPort(int tag) override { log_ << QStringLiteral("check %1").arg(tag); }
    void ShowPortOpen(bool open) override { log_ << QStringLiteral("open %1").arg(int(open)); }
    void ShowAutoDetect(bool on) override { log_ << QStringLiteral("auto %1").arg(int(on)); }
    void ShowReconnect() override { log_ << QStringLiteral("ready"); }
    void ShowPortClosed() override { log_ << QStringLiteral("closed"); }
    bool IsClosing() const override { return closing_; }
    void CompleteClose() override { log_ << QStringLiteral("close"); }

private:
    QStringList& log_;
    const bool& closing_;
};

// A receive thread that never runs: End plays the end of its loop as the contract has it.
class LoggingReceiveThread : public IReceiveThread {
public:
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
    void Note(const QString& call) { log_ << QStringLiteral("thread ") + call; }

    QStringList& log_;
    std::function<void()> onTerminate_;
};
