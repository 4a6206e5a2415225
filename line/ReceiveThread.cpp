// The receive thread's life: connection cycles, port detection with its status glyph, the
// device-search start and end, a missing poll echo, and the reset at the end of a connection.
#include "line/ReceiveThread.h"

#include <algorithm>

#include "model/DeviceInfo.h"
#include "model/Host.h"
#include "model/LineMode.h"
#include "platform/Serial.h"
#include "platform/Ticks.h"

namespace {
// Status-bar panel 1 while nothing is measured.
const QString ReadyStatusText = QStringLiteral(" Готов");
}

bool KeepsConnectionWithoutEcho(const QString& portName)
{
    for (const char* name : {"COM1", "COM2", "ttyS0", "ttyS1"})
        if (portName.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

TReceiveThread::TReceiveThread(THost& host) : TReceiveThread(host, Ticks(), Synchronizer()) {}

TReceiveThread::TReceiveThread(THost& host, ITickSource& ticks, ISynchronizer& synchronizer)
    : host_(host), ticks_(ticks), mainSync_(synchronizer), Engine(host, ticks, sync_)
{
    BindPort = [](TMVPort& port, const QString& name) { port.SetName(name); };
    Engine.AfterHandOff = [this] { PrepareNextPoll(); };
    // Queued: the handler runs from the main thread's event loop, never inside the thread's
    // end and never while the main thread is inside one of its own steps.
    connect(
        this, &QThread::finished, this, [this] {
            if (onTerminate_)
                onTerminate_();
            if (FreeOnTerminate)
                deleteLater();
        },
        Qt::QueuedConnection);
}

TReceiveThread::~TReceiveThread()
{
    Terminate();
    wait();
    if (Port.Handle != InvalidPortHandle)
        Port.Close();
}

void TReceiveThread::SetPriority(int pollPriority)
{
    priority_ = std::clamp(pollPriority, 0, 6);
    if (isRunning())
        setPriority(static_cast<QThread::Priority>(priority_));
}

void TReceiveThread::Resume() { start(static_cast<QThread::Priority>(priority_)); }

void TReceiveThread::Wake()
{
    // The lock orders the flag change before a waiter's test of it, so no wake-up is lost.
    std::lock_guard lock(wakeMutex_);
    wake_.notify_all();
}

void TReceiveThread::Terminate()
{
    terminated_ = true;
    Wake();
}

void TReceiveThread::RequestReconnect()
{
    Reconnect = true;
    Wake();
}

void TReceiveThread::Pause()
{
    ++pauses_;
    paused_ = true;
}

void TReceiveThread::Continue()
{
    paused_ = false;
    Wake();
}

void TReceiveThread::StopSearch()
{
    Searching = false;
    ScanIndex = 0;
}

void TReceiveThread::Step(void (TReceiveThread::*step)())
{
    SynchronizeMember(sync_, *this, step);
}

void TReceiveThread::Idle(bool (TReceiveThread::*until)() const)
{
    std::unique_lock lock(wakeMutex_);
    ticks_.WaitFor(lock, wake_, IdleWaitMs, [this, until] { return (this->*until)(); });
}

void TReceiveThread::WaitWhilePaused()
{
    if (!paused_.load())
        return;
    std::unique_lock lock(wakeMutex_);
    wake_.wait(lock, [this] { return !paused_.load() || Terminated(); });
}

// ---- Connection cycles ----------------------------------------------------------------------

void TReceiveThread::run()
{
    KeepTimedWaitsExact();   // its sleeps end as the line's bytes come
    Execute();
}

void TReceiveThread::Execute()
{
    while (!Terminated()) {
        if (Reconnect.exchange(false))
            ResetStats = true;
        // A running device search carries on in the next connection: a missing echo reconnects
        // on most ports, and a search it ended would end without its dialog.
        PortGlyph = GlyphNone;
        bool lost = false;
        while (!Stopping()) {
            if (!OpenPort()) {
                Idle();
                continue;
            }
            Engine.PortOpened();
            pollPrepared_ = false;
            ConnectTick = ticks_.Now();
            ReceiveLoop();
            lost = Port.Lost();
            Port.Close();
        }
        Step(&TReceiveThread::LineStopped);
        EndCycleStatistics();
        // A port that vanished may open again at once and vanish again: never spin on it. Its
        // loss asked for the reconnect, so only termination cuts this wait short.
        if (lost)
            Idle(&TReceiveThread::Terminated);
    }
}

void TReceiveThread::ReceiveLoop()
{
    while (!Stopping()) {
        if (Port.Lost()) {
            // The device behind the port is gone: end this connection as a reconnect would.
            Reconnect = true;
            return;
        }
        ReceivePass();
    }
}

void TReceiveThread::ReceivePass()
{
    if (OnPass)
        OnPass();
    WaitWhilePaused();
    if (Stopping())
        return;
    if (LineMode.load() != LineModeMaster) {
        if (!PollStep())
            return;
    } else {
        pollPrepared_ = false;
        if (Searching.load() && TicksElapsed(ConnectTick, ticks_.Now()) >= MasterSearchMs)
            Step(&TReceiveThread::EndSearch);
    }
    Engine.FramingPass();
}

// ---- Port detection -------------------------------------------------------------------------

char TReceiveThread::SpinnerGlyph(std::uint32_t now) const
{
    return static_cast<char>(GlyphFirstPhase + now / SpinnerStepMs % SpinnerPhases);
}

bool TReceiveThread::OpenPort()
{
    bool ok = false;
    TPortSettings settings = host_.PortSettings();
    if (!settings.AutoDetect) {
        BindPort(Port, settings.SettingsPort);   // the '9' glyph names it
        Port.Refusal = TPortRefusal::None;
        ok = !settings.SettingsPort.isEmpty() && Port.Open();
    } else {
        const std::uint32_t now = ticks_.Now();
        PortGlyph = SpinnerGlyph(now);
        spinnerDeadline_ = now + SpinnerDelayMs;
        refusedPort_.clear();
        bool firstWalk = true;
        while (!ok && !Stopping()) {
            walkRefusal_.clear();
            if (OnPass)
                OnPass();
            if (!firstWalk)
                settings = host_.PortSettings();   // the list may have been rebuilt meanwhile
            firstWalk = false;
            ok = TryPort(settings.SettingsPort);
            if (ok || Stopping())
                break;
            SpinnerStep();
            for (const QString& name : settings.PortList) {
                if (name == settings.SettingsPort)
                    continue;   // tried first already
                ok = TryPort(name);
                if (ok || Stopping())
                    break;
                SpinnerStep();
            }
            // A refusal stays shown while a walk still meets it.
            if (!ok && !Stopping())
                refusedPort_ = walkRefusal_;
            // A walk over ports that all stay silent (or none at all) would otherwise spin a core.
            if (!ok && !Stopping())
                Idle();
        }
    }
    if (!Stopping())
        ShowGlyphOnce(ok ? GlyphConnected : GlyphNotFound);
    return ok;
}

bool TReceiveThread::TryPort(const QString& name)
{
    if (name.isEmpty())
        return false;
    BindPort(Port, name);
    if (!Port.Open()) {
        // A port that exists but refuses is named, with why, beside the turning glyph.
        if (Port.Refusal != TPortRefusal::None)
            refusedPort_ = walkRefusal_ = name + PortRefusalText(Port.Refusal);
        return false;
    }
    if (CheckLine())
        return true;
    Port.Close();
    return false;
}

bool TReceiveThread::CheckLine()
{
    std::uint32_t n = 0;
    Port.Read(Engine.ReadBytes.data(), Engine.ReadFlags.data(), 1, &n);
    if (n > 0)
        return true;   // someone talks on this line
    // Silence: a byte of our own must come back from the shared line.
    Engine.TxBytes[0] = 0x00;
    Port.SetState(&ListenDCB);
    Port.Purge();
    std::uint32_t written = 0;
    Port.Write(Engine.TxBytes.data(), 1, &written);
    n = 0;
    Port.Read(Engine.ReadBytes.data(), Engine.ReadFlags.data(), 1, &n);
    if (n != 1 || Engine.ReadBytes[0] != 0x00)
        return false;
    Engine.LineEchoes = true;
    return true;
}

void TReceiveThread::SpinnerStep()
{
    std::uint32_t now = ticks_.Now();
    if (static_cast<std::int32_t>(now - spinnerDeadline_) <= 0)
        return;
    now = ticks_.Now();
    PortGlyph = SpinnerGlyph(now);
    spinnerDeadline_ = now + SpinnerStepMs;
    ShowStatus(&TReceiveThread::ShowPortGlyph);
}

void TReceiveThread::ShowGlyphOnce(char glyph)
{
    // A changed reason is news too (busy, then no access).
    if (PortGlyph == glyph && shownRefusal_ == Port.Refusal)
        return;
    PortGlyph = glyph;
    shownRefusal_ = Port.Refusal;
    ShowStatus(&TReceiveThread::ShowPortGlyph);
}

void TReceiveThread::ShowStatus(void (TReceiveThread::*step)())
{
    // The status bar holds nothing of the scheme: shown during a pause too, never stale after it.
    SynchronizeMember(mainSync_, *this, step);
}

void TReceiveThread::EndCycleStatistics()
{
    LastCycleTick = 0;
    CycleTimeSum = 0;
    CycleTimes.Clear();
    ShowStatus(&TReceiveThread::ShowReady);
}

// ---- Main-thread steps ----------------------------------------------------------------------

void TReceiveThread::ShowPortGlyph()
{
    QString text(QChar::fromLatin1(PortGlyph));
    if (PortGlyph >= GlyphConnected)
        text += Port.Name;
    if (PortGlyph == GlyphNotFound)
        text += PortRefusalText(Port.Refusal);
    else if (PortGlyph < GlyphConnected)
        text += refusedPort_;
    host_.Status().SetPanelText(2, text);
}

void TReceiveThread::ShowReady()
{
    if (!host_.IsClosing())
        host_.Status().SetPanelText(1, ReadyStatusText);
}

void TReceiveThread::EndSearch()
{
    if (!Searching.load())
        return;   // a search already stopped posts nothing
    host_.PostSearchEnded();
    StopSearch();
}

void TReceiveThread::NoEcho()
{
    if (TFrameInfo* row = Engine.CurFrame) {
        TDeviceInfo* device = host_.DevicesByAddr()[row->Address & 0x3F];
        if (device && device->FrameInfo == row) {
            host_.WMTimer(device);
            device->NextPollTick = ticks_.Now() + SilentDeviceBackOffMs;
        }
    }
    if (!KeepsConnectionWithoutEcho(Port.Name)) {
        Reconnect = true;
        host_.Status().SetPanelText(1, ReadyStatusText);
    }
}

void TReceiveThread::LineStopped()
{
    if (host_.IsClosing())
        return;   // no message may reach a window that is being destroyed
    TDeviceList& devices = host_.Devices();
    for (std::size_t i = 0; i < devices.size(); ++i) {
        TDeviceInfo* device = devices[i].get();
        if (device->SchemeObject->Mode == ModeDisabled)
            continue;
        device->LastAnswerTick = 0;
        device->IntervalSum = 0;
        device->AnswerIntervals->Clear();
        host_.WMTimer(device);
    }
}
