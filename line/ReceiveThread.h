#pragma once
// The receive thread: the one worker that owns the line. It opens the configured port, or with
// auto-detection the first port on which the line is heard, runs the receive loop while the
// port is connected (polling the scheme's devices in sensor diagnostics, listening and
// emulating in BI diagnostics), closes the port, resets the devices' line state and starts
// again, until it is terminated.
//
// Everything that touches device objects, the status bar or the line log runs on the main
// thread through the synchronizer, which blocks this thread until the step has run. The main
// thread never waits for this thread: it asks it to stop (Terminate) and finishes from the
// termination handler, which runs from the event loop once the loop has ended.
//
// Opening a scheme pauses the thread cooperatively (Pause, Continue): the loop waits at the
// start of a pass, and every synchronized step that would reach the devices is skipped on the
// main thread while the pause holds, so a step queued before the pause never meets a scheme
// that is being rebuilt; a hand-off so skipped is shown after the pause, so that nothing read
// is lost from the line log. Termination wakes a paused thread.
//
// The loop, the port's opening and detection and the device search are in
// line/ReceiveThread.cpp; the poll scheduler's steps (which device is due, its request, the
// poll period shown) are in line/Poll.cpp.
#include <QString>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "line/LineEngine.h"
#include "model/RoundBuffer.h"
#include "platform/Synchronizer.h"

class THost;
class ITickSource;

inline constexpr std::uint32_t IdleWaitMs = 100;        // every idle wait of the thread
inline constexpr std::uint32_t MasterSearchMs = 3000;   // a BI-diagnostics search listens this long
inline constexpr std::int32_t CycleTimesSize = 400;     // 100 cycle times of 4 bytes
inline constexpr std::int32_t CycleTimesShown = 20;     // the period shows from this many times on

// The detection spinner: its glyph is the clock counted in steps, over the phases; it starts to
// turn once detection has run SpinnerDelayMs and then changes at most once a step.
inline constexpr std::uint32_t SpinnerStepMs = 100;
inline constexpr std::uint32_t SpinnerPhases = 8;
inline constexpr std::uint32_t SpinnerDelayMs = 1000;

// The connection glyph of status-bar panel 2: the spinner's phases from GlyphFirstPhase, then
// the two that name the port.
enum : char {
    GlyphNone = 0,
    GlyphFirstPhase = '0',
    GlyphConnected = GlyphFirstPhase + SpinnerPhases,
    GlyphNotFound = GlyphConnected + 1,
};

// True for the ports on which a missing echo of a poll is no reason to reconnect: the
// machine's two built-in ports, "COM1" and "COM2", whose tty names are "ttyS0" and "ttyS1".
bool KeepsConnectionWithoutEcho(const QString& portName);

// The status text of a poll period: " Период опроса: " N " мс".
QString PollPeriodText(std::int32_t meanMs);

// Runs steps through another synchronizer, but skips them on the main thread while a pause
// holds.
class TPausableSynchronizer final : public ISynchronizer {
public:
    TPausableSynchronizer(ISynchronizer& inner, const std::atomic<bool>& paused) : inner_(inner), paused_(paused) {}
    void Synchronize(const std::function<void()>& step) override
    {
        inner_.Synchronize([this, &step] {
            if (!paused_.load())
                step();
        });
    }

private:
    ISynchronizer& inner_;
    const std::atomic<bool>& paused_;
};

class TReceiveThread : public QThread {
public:
    // Made suspended: nothing runs before Resume. The host, tick source and synchronizer must
    // outlive the thread.
    explicit TReceiveThread(THost& host);
    TReceiveThread(THost& host, ITickSource& ticks, ISynchronizer& synchronizer);
    // Only once the loop has ended (or never started): the main thread must not wait for a
    // thread that may be inside a synchronized call.
    ~TReceiveThread() override;
    TReceiveThread(const TReceiveThread&) = delete;
    TReceiveThread& operator=(const TReceiveThread&) = delete;

    // ---- Steering by the main window ----------------------------------------------------
    // Runs on the main thread from the event loop once the loop has ended, exactly once; then,
    // with FreeOnTerminate, the thread deletes itself.
    void SetOnTerminate(std::function<void()> handler) { onTerminate_ = std::move(handler); }
    bool FreeOnTerminate = true;
    // 0 idle .. 6 time-critical (the QThread priority scale); before or after Resume.
    void SetPriority(int pollPriority);
    void Resume();
    // Asks the loop to end and returns at once; wakes a paused or idle thread.
    void Terminate();
    bool Terminated() const { return terminated_.load(); }
    void RequestReconnect();
    void RequestResetStats() { ResetStats = true; }
    void Pause();
    void Continue();
    bool Paused() const { return paused_.load(); }
    // Device search (main thread).
    void StartSearch() { Searching = true; }
    void StopSearch();

    // ---- The thread body, public so that tests can drive it on one thread ----------------
    void Execute();
    void ReceiveLoop();
    // One pass of the receive loop.
    void ReceivePass();
    bool OpenPort();
    bool CheckLine();
    void SpinnerStep();
    // The poll step of sensor diagnostics: true when the framing pass follows.
    bool PollStep();
    bool SendPollRequest();

    // ---- Main-thread steps ----------------------------------------------------------------
    void ShowPortGlyph();
    void ShowReady();
    void EndSearch();
    void NoEcho();
    void LineStopped();
    void SelectPollTarget();
    void FillRequestBody();
    // SelectPollTarget, the lookup of the polled address for the framing of the poll's echo,
    // and, for a request with a body, FillRequestBody in one step: nothing the window shows
    // happens between them, and every synchronized step is a thread switch there and back.
    void PreparePoll();
    // PreparePoll at the end of a hand-off that ends a poll's exchange, for the poll step that
    // follows: one thread switch between an answer and the next request instead of two.
    void PrepareNextPoll();
    void CycleStatistics();

private:
    // Declared first: the engine is built on them.
    THost& host_;
    ITickSource& ticks_;
    ISynchronizer& mainSync_;
    std::atomic<bool> paused_{false};
    TPausableSynchronizer sync_{mainSync_, paused_};

public:
    // The framing engine with the port, the five rings, the message buffers, CurFrame and the
    // hand-off texts.
    TLineEngine Engine;
    TMVPort& Port = Engine.Port;

    char PortGlyph = GlyphNone;
    std::atomic<bool> Searching{false};
    std::int32_t ScanIndex = 0;
    std::uint32_t ConnectTick = 0;
    std::uint32_t LastCycleTick = 0;
    std::int32_t CycleTimeSum = 0;
    TRoundBuffer CycleTimes{CycleTimesSize};
    std::atomic<bool> Reconnect{false};
    // Position in the host's device list where the next poll choice starts (main-thread steps).
    std::int32_t PollIndex = 0;
    // Shared with the hand-off, which sets it when a device falls silent.
    std::atomic<bool>& ResetStats = Engine.ResetStats;

    // Binds the port object to a port name. The program sets the name (which picks the tty or
    // FTDI back end); tests bind scripted ports.
    std::function<void(TMVPort& port, const QString& name)> BindPort;
    // Called at the start of every receive pass and every detection walk (tests steer there).
    std::function<void()> OnPass;

private:
    void run() override;
    // A synchronized step that reaches devices or views: skipped while paused.
    void Step(void (TReceiveThread::*step)());
    bool Stopping() const { return Terminated() || Reconnect.load(); }
    // Waits IdleWaitMs, or less once `until` holds (by default a termination or reconnect).
    void Idle(bool (TReceiveThread::*until)() const = &TReceiveThread::Stopping);
    void WaitWhilePaused();
    bool TryPort(const QString& name);
    void ShowGlyphOnce(char glyph);
    // A status-bar step: run even while paused.
    void ShowStatus(void (TReceiveThread::*step)());
    // The end of a connection: no period is measured any more.
    void EndCycleStatistics();
    char SpinnerGlyph(std::uint32_t now) const;
    void Wake();

    std::atomic<bool> terminated_{false};
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    std::function<void()> onTerminate_;
    int priority_ = 2;
    std::uint32_t spinnerDeadline_ = 0;
    // Detection: the last port that refused ("ttyUSB0 — занят"), shown beside the turning glyph,
    // and the one the present walk met. The reason last shown with a glyph.
    QString refusedPort_, walkRefusal_;
    TPortRefusal shownRefusal_ = TPortRefusal::None;
    // PreparePoll filled TxBytes with the body of the request to send next.
    bool pollBodyFilled_ = false;
    // PrepareNextPoll chose preparedFrame_ (none: nothing to poll) during the pass before, and
    // no pause came between (pauses_ counts them).
    bool pollPrepared_ = false;
    TFrameInfo* preparedFrame_ = nullptr;
    std::atomic<std::uint32_t> pauses_{0};
    std::uint32_t preparedPauses_ = 0;
};
