#pragma once
// The line engine: the state the receive thread owns while it frames the line, and the steps
// that work on it. Bytes read from the port are framed into requests and answers by the
// catalogue's lengths and check bytes, matched to catalogue rows, answered for emulated
// devices, and every exchange, good or failed, and every byte that begins none is handed to
// the main thread (ShowExchange, ShowFailedExchange) for the device objects, the grid and the
// line log.
//
// The receive thread calls FramingPass once per pass of its loop. The steps that read or
// change device objects run through the synchronizer, which in the program blocks the thread
// until the main thread has run them; tests inject a direct one and a virtual clock, so the
// whole engine runs on one thread.
//
// Its steps live in two files named for what they do: the framing, the checks and the emulated
// answers in line/Framing.cpp, the hand-off to the main thread in line/HandOff.cpp.
#include <QString>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "line/Port.h"
#include "line/Protocol.h"
#include "model/RoundBuffer.h"

class ISynchronizer;
class ITickSource;
class THost;
class TDeviceInfo;
struct TFrameInfo;

inline constexpr int LineBufferSize = 32;
inline constexpr int PendingLimit = 16;   // bytes waiting for classification, at most
inline constexpr int IdleReadLength = 1;
inline constexpr std::uint32_t SilentDeviceBackOffMs = 5000;

// The echo guard: what the program wrote is expected back on the shared line within
// EchoWindowMs of the write. The window is the written bytes' wire time (WireTimeMs) plus
// EchoLatencyMs for the port: a USB adapter holds received bytes up to its latency timer
// (16 ms by default) and the driver and the scheduler add their own delay under load; echoes
// 60 ms late have been heard, so the latency allowed is 64 ms.
inline constexpr std::uint32_t EchoLatencyMs = 64;
constexpr std::uint32_t EchoWindowMs(int bytes) { return WireTimeMs(bytes) + EchoLatencyMs; }
// A read that waited this long for its byte met a quiet line, a gap between messages; shorter
// waits are the spacing of one message's bytes.
inline constexpr std::uint32_t LineGapMs = WireTimeMs(3);

// What the framing steps hand each other about the bytes at the head of a buffer: their line
// address, the row they are framed with (none: a byte that begins nothing), and once settled
// the result code and the number of bytes the exchange takes.
struct TExchange {
    std::uint8_t Address = 0;
    TFrameInfo* Frame = nullptr;
    std::int32_t Result = ResultOk;
    std::int32_t Length = 0;
};

class TLineEngine {
public:
    TLineEngine(THost& host, ITickSource& ticks, ISynchronizer& synchronizer);
    TLineEngine(const TLineEngine&) = delete;
    TLineEngine& operator=(const TLineEngine&) = delete;

    // Called by the receive loop right after a port was opened: the next pass sets the listen
    // state, and what was learned about the previous connection's echo is forgotten.
    void PortOpened();

    // One framing pass (receive thread).
    void FramingPass();

    // Reads up to `count` bytes, never more than RxBytes has room for, and puts them with
    // `flag` into RxBytes/RxFlags; bytes that are the echo of an emulated answer get
    // FlagAnswerEcho as well. Returns the number read.
    std::uint32_t ReadToRx(std::uint32_t count, std::uint8_t flag = 0);

    // The steps of the framing pass, public so that tests can drive them one by one. A request
    // is framed from the address and the scheme device's row its lookup gave (none without a
    // device), with the device's mode (-1 without one).
    // clang-format off
    enum class Attempt { Success, Fail, NeedMore };
    // clang-format on
    // `polledRow`: the row of the program's own poll when the request is its echo, else none.
    // A request that `mode` 2 disables is handed off with its exchange as late.
    bool ListenAttempts(TExchange request, std::int32_t mode, const TFrameInfo* polledRow = nullptr);
    // Without `mayRead` only the bytes held are looked at.
    Attempt TryListenExchange(const TExchange& request, bool mayRead = true);
    bool TryEmulateExchange(const TExchange& request);
    // False when no answer went out (the fill was skipped during a pause).
    bool SendEmulatedAnswer(TFrameInfo& row);
    void PendingStep();
    void ClassifyPending(bool final);
    // One row's outcome for the pending bytes of `address`: its code and the bytes it would take.
    TExchange ClassifyCandidate(TFrameInfo& row, std::uint8_t address, bool final) const;
    // The same for the first n bytes of a ring.
    static TExchange ClassifyCandidate(TFrameInfo& row, std::uint8_t address, bool final, const TRoundBuffer& ring,
                                       int n);

    // Main-thread steps (run through the synchronizer).
    void LookupCurrentDevice();
    // The lookup for a poll of `row` about to go out, done by the step that prepares the poll:
    // the framing pass right after it takes it for the poll's echo instead of a step of its own.
    // Forgotten by every other pass: a lookup belongs to one request.
    void LookUpPoll(const TFrameInfo& row);
    void ForgetPolledLookup() { polled_.Ready = false; }
    void FillAnswerBody();
    void ShowExchange();
    void ShowFailedExchange();

    TMVPort Port;

    TRoundBuffer RxBytes{LineBufferSize};
    TRoundBuffer RxFlags{LineBufferSize};
    TRoundBuffer PendingBytes{LineBufferSize};
    TRoundBuffer PendingFlags{LineBufferSize};
    std::array<std::uint8_t, LineBufferSize> ReadBytes{};
    std::array<std::uint8_t, LineBufferSize> ReadFlags{};
    std::array<std::uint8_t, LineBufferSize> FrameBytes{};
    std::array<std::uint8_t, LineBufferSize> FrameFlags{};
    std::array<std::uint8_t, LineBufferSize> TxBytes{};

    // What the main-thread steps read, set right before each: the address a lookup is for and
    // the row and mode it found; the row an answer or a poll request is filled for; the exchange
    // being handed off with its result code and length. The framing steps themselves pass a
    // TExchange.
    std::uint8_t CurAddress = 0;
    TFrameInfo* CurFrame = nullptr;
    std::int32_t CurMode = -1;
    std::int32_t Result = 0;
    std::int32_t FrameLength = 0;
    bool RestoreListenState = false;

    QString RequestText;
    QString AnswerText;

    // Set by the hand-off when a device falls silent; the poll scheduler resets the cycle
    // statistics and clears it. Written from both threads.
    std::atomic<bool> ResetStats{false};

    // This connection has been heard echoing the program's own transmissions: set when an
    // emulated answer came back (a byte of it other than the first), and by the receive thread when its
    // probe byte or a poll's address byte came back. Cleared by PortOpened. The echo guard
    // holds from the first answer of a connection whatever this says.
    bool LineEchoes = false;
    // Off: no byte is ever taken for an answer's echo (the bare framing, for comparisons).
    bool AnswerEchoGuard = true;

    // Run on the main thread at the end of a hand-off step that left no byte to frame: what the
    // receive thread would do next on the main thread joins this step instead of taking its own.
    std::function<void()> AfterHandOff;

    THost& HostWindow() const { return host_; }
    ITickSource& TickSource() const { return ticks_; }

private:
    // An emulated answer whose echo is still expected: until it came back whole or its window
    // passed, every byte read takes its place.
    struct TExpectedEcho {
        std::array<std::uint8_t, MaxAnswerLength> Bytes{};
        std::array<bool, MaxAnswerLength> Heard{};
        int Length = 0;
        int Next = 0;   // the bytes before it are heard or lost
        std::uint32_t WriteTick = 0;
    };
    static constexpr int MaxExpectedEchoes = 4;

    // The rows of an address in the order the listen attempts try them (`own`: the scheme
    // device's row, or none).
    const std::vector<TFrameInfo*>& ListenOrder(std::uint8_t address, TFrameInfo* own, const TFrameInfo* polledRow);
    // Runs a main-thread step; false when it was skipped (the receive thread is paused).
    bool Sync(void (TLineEngine::*step)());
    // Looks up the scheme device at the request's address: its row goes into the request, its
    // mode is returned.
    std::int32_t LookUpRequest(TExchange& request);
    // A lookup's results: the scheme device's row and mode at an address (none, -1 without a
    // device). The poll's own is Ready until a framing pass took or forgot it.
    struct TDeviceLookup {
        bool Ready = false;
        std::uint8_t Address = 0;
        TFrameInfo* Frame = nullptr;
        std::int32_t Mode = -1;
        const TFrameInfo* Polled = nullptr;   // the row polled, for the poll's own lookup
    };
    // LookUpRequest for the request at the head of RxBytes, answered by the poll's own lookup
    // (`polled`: made for this pass) when that request is the echo of the poll, which also gives
    // the polled row.
    std::int32_t LookUpHead(TExchange& request, bool polled, const TFrameInfo*& polledRow);
    TDeviceLookup DeviceAt(std::uint8_t address) const;   // main thread
    static bool EchoWindowPassed(const TExpectedEcho& echo, std::uint32_t at);
    // Dates the n bytes a read of `count` that began at readTick returned, and takes those that
    // may have come inside an answer's echo window for its echo.
    void MarkAnswerEcho(std::uint32_t readTick, std::uint32_t n, std::uint32_t count);
    void TakeAnswerEcho(std::uint8_t byte);
    void ExpectEcho(int length, std::uint32_t writeTick);
    void WaitOutFailedCall(std::uint32_t began, std::uint32_t timeoutMs);
    void SettleExpectedEcho();
    void HandOffExchange(const TExchange& request);
    // An answered request whose answer was not heard back whole in time (see Framing.cpp).
    void HoldAnsweredExchange(const TExchange& request);
    // Classifies the held answered exchange at the head of the pending bytes; false while it
    // needs more bytes.
    bool SettleAnsweredExchange(bool final);
    void HandOffUnrecognised(TRoundBuffer& bytes, TRoundBuffer& flags);
    // Takes the exchange's bytes and flags into FrameBytes/FrameFlags and shows it, good or failed.
    void HandOff(const TExchange& exchange, TRoundBuffer& bytes, TRoundBuffer& flags);
    // Shows the exchange in FrameBytes/FrameFlags; false when the pause skipped the step.
    bool ShowFrame(const TExchange& exchange);
    // Shows the hand-offs the pause held back, oldest first, as far as the pause allows.
    void ShowHeldHandOffs();

    // Hand-off helpers (main thread).
    TDeviceInfo* DeviceAtCurAddress() const;
    void CountExchange(TDeviceInfo& device, bool own, bool good, std::uint32_t now);
    void ShowTexts(TDeviceInfo& device);
    void ShowStatistics(TDeviceInfo& device, const QString& status);
    void ShowWithoutData(TDeviceInfo& device, const QString& status);
    void RestartWatchdog(TDeviceInfo& device);
    void CopyHeardMessages(TDeviceInfo& device, int requestLength, int answerLength);

    THost& host_;
    ITickSource& ticks_;
    ISynchronizer& sync_;
    // The answers whose echo is still expected, oldest first.
    std::array<TExpectedEcho, MaxExpectedEchoes> echoes_{};
    int echoCount_ = 0;
    // The last tick at which the port was known to hold no byte not yet read: no byte read
    // since can have come earlier.
    std::uint32_t quietTick_ = 0;
    // The row of the answered request held at the head of the pending bytes, or none. There is
    // at most one: holding one settles everything pending before it.
    TFrameInfo* answeredRow_ = nullptr;
    // Hand-offs whose step the pause skipped, oldest first.
    struct THeldHandOff {
        TExchange Exchange;
        std::array<std::uint8_t, LineBufferSize> Bytes{};
        std::array<std::uint8_t, LineBufferSize> Flags{};
    };
    std::vector<THeldHandOff> heldHandOffs_;
    TDeviceLookup polled_;
    std::vector<TFrameInfo*> listenOrder_;   // ListenOrder's list, kept to be filled again
};
