// The framing pass: which bytes of the line form a valid exchange of which catalogue row,
// when the program answers for an emulated device, and how bytes that form no exchange in time
// are classified from the pending buffer.
#include <algorithm>
#include <iterator>
#include <utility>

#include "line/LineEngine.h"
#include "model/Catalogue.h"
#include "model/DeviceInfo.h"
#include "model/Host.h"
#include "platform/Synchronizer.h"
#include "platform/Ticks.h"

namespace {
// Device rows are rows of the catalogue array, which the line engine may stamp (LastSeenTick).
TFrameInfo* CatalogueRow(const TFrameInfo* row)
{
    return row ? &DeviceCatalogue[row - DeviceCatalogue] : nullptr;
}

// True when a byte held from `from` on begins what only comes once the master has given up on
// the request before it: a request (its next one, or this one repeated) or an answer to that
// request from a device at its address. When the bytes were read is no guide: bytes pile up
// behind a request only while the receive thread is held, and then come in one read, undated.
// The program's own answer heard back begins nothing.
bool LineWentOn(const TRoundBuffer& bytes, const TRoundBuffer& flags, int from, std::uint8_t address)
{
    for (int i = from; i < bytes.Count; ++i) {
        const std::uint8_t byte = bytes.At(i);
        if (!(flags.At(i) & FlagAnswerEcho) && (IsWireAddressByte(byte) || byte == address))
            return true;
    }
    return false;
}

// Moves n bytes and their flags together: a byte and its flag never part.
template <typename Out>
void TakeBoth(TRoundBuffer& bytes, TRoundBuffer& flags, Out& outBytes, Out& outFlags, int n)
{
    bytes.Get(outBytes.data(), n);
    flags.Get(outFlags.data(), n);
}
}

TLineEngine::TLineEngine(THost& host, ITickSource& ticks, ISynchronizer& synchronizer)
    : host_(host), ticks_(ticks), sync_(synchronizer)
{
    // Room for every hand-off one pass can make (each takes a byte at least), so that holding
    // them costs no allocation.
    heldHandOffs_.reserve(3 * LineBufferSize);
    for (const auto& rows : FrameInfoVectors)
        listenOrder_.reserve(std::max(listenOrder_.capacity(), rows.size()));
}

bool TLineEngine::Sync(void (TLineEngine::*step)()) { return SynchronizeMember(sync_, *this, step); }

void TLineEngine::PortOpened()
{
    RestoreListenState = true;
    LineEchoes = false;
    echoCount_ = 0;
    quietTick_ = ticks_.Now();
}

std::uint32_t TLineEngine::ReadToRx(std::uint32_t count, std::uint8_t flag)
{
    // Never more than the ring has room for: a long run of failed emulation attempts on a noisy
    // line can fill it, since each failed pass releases one byte.
    count = std::min<std::uint32_t>(count, static_cast<std::uint32_t>(RxBytes.Free()));
    if (count == 0)
        return 0;
    const std::uint32_t readTick = ticks_.Now();
    std::uint32_t n = 0;
    if (!Port.Read(ReadBytes.data(), ReadFlags.data(), count, &n) && !Port.Lost())
        WaitOutFailedCall(readTick, ComTimeouts.ReadTotalTimeoutConstant);
    n = std::min(n, count);
    std::fill_n(ReadFlags.begin(), n, flag);
    MarkAnswerEcho(readTick, n, count);
    RxBytes.Put(ReadBytes.data(), static_cast<std::int32_t>(n));
    RxFlags.Put(ReadFlags.data(), static_cast<std::int32_t>(n));
    return n;
}

void TLineEngine::WaitOutFailedCall(std::uint32_t began, std::uint32_t timeoutMs)
{
    // A call that fails at once would make every loop over the port spin a core: it takes at
    // least its time-out, as a silent line would.
    const std::uint32_t spent = TicksElapsed(began, ticks_.Now());
    if (spent < timeoutMs)
        ticks_.Sleep(timeoutMs - spent);
}

void TLineEngine::ExpectEcho(int length, std::uint32_t writeTick)
{
    if (echoCount_ == MaxExpectedEchoes)
        SettleExpectedEcho();
    TExpectedEcho& echo = echoes_[echoCount_++];
    echo.Length = std::clamp(length, 0, MaxAnswerLength);
    std::copy_n(TxBytes.begin(), echo.Length, echo.Bytes.begin());
    echo.Heard.fill(false);
    echo.Next = 0;
    echo.WriteTick = writeTick;
}

// The oldest expected echo is over (heard whole, or its window passed).
void TLineEngine::SettleExpectedEcho()
{
    std::move(echoes_.begin() + 1, echoes_.begin() + echoCount_, echoes_.begin());
    --echoCount_;
}

void TLineEngine::TakeAnswerEcho(std::uint8_t byte)
{
    // Which written byte it repeats is looked up by value, not by position: a Purge before a
    // later answer may have thrown part of an earlier echo away. But an echo comes back in the
    // order it went out, so only a byte after the last one heard can repeat it: the master's
    // bytes inside the window must not complete an echo out of order and end the guard before
    // the echo itself (maybe corrupted) has come.
    for (int e = 0; e < echoCount_; ++e) {
        TExpectedEcho& echo = echoes_[e];
        const auto end = echo.Heard.begin() + echo.Length;
        for (int i = echo.Next; i < echo.Length; ++i) {
            if (echo.Bytes[i] != byte)
                continue;
            echo.Heard[i] = true;
            echo.Next = i + 1;
            // A master repeating its request repeats an answer's first byte; any other is echo.
            if (i > 0 || echo.Length == 1)
                LineEchoes = true;
            if (std::find(echo.Heard.begin(), end, false) == end) {
                std::swap(echoes_[0], echo);   // heard whole: over, whatever came before
                SettleExpectedEcho();
            }
            return;
        }
    }
}

bool TLineEngine::EchoWindowPassed(const TExpectedEcho& echo, std::uint32_t at)
{
    // Signed: a byte dated at the purge before the write lies before the window, not after it.
    return static_cast<std::int32_t>(at - echo.WriteTick) >= static_cast<std::int32_t>(EchoWindowMs(echo.Length));
}

void TLineEngine::MarkAnswerEcho(std::uint32_t readTick, std::uint32_t n, std::uint32_t count)
{
    // When a byte came is known only within bounds: not before the port was last seen empty,
    // and not after the read returned. The receive thread may have been held between reads
    // (each synchronized step waits for the main thread, which a busy window answers late), so
    // a byte that a read returned at once may have waited in the port for a long time: it is
    // dated as early as it can have come. Only the last byte of a read that had to wait for it
    // on a quiet line came when the read returned. After a read that came back short, or that
    // so waited for its last byte, the port holds nothing older than the read's end. A byte
    // that followed the one before it closely belongs to the same message, and is dated with
    // it: a message that began inside an echo window is not cut at the window's end, to have
    // its tail framed as requests.
    const std::uint32_t readEnd = ticks_.Now();
    const bool waited = TicksElapsed(readTick, readEnd) >= LineGapMs;
    const std::uint32_t heardFrom = quietTick_;
    if (n < count || waited)
        quietTick_ = readEnd;
    if (!AnswerEchoGuard) {
        echoCount_ = 0;
        return;
    }
    // Every byte that may have come inside a window is taken for the echo until it came back
    // whole: an echo comes back late, cut, spaced or corrupted, and a corrupted byte may equal
    // a wire address; taken for a request, it is answered, echoed, and so on for ever. The
    // guard does not relax on a line that was never heard echoing: a line that garbles every
    // echo cannot be told from one that does not echo, and one answer to a garbled echo is one
    // too many.
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t at = waited && n == count && i + 1 == n ? readEnd : heardFrom;
        while (echoCount_ > 0 && EchoWindowPassed(echoes_[0], at))
            SettleExpectedEcho();
        if (echoCount_ == 0)
            return;
        TakeAnswerEcho(ReadBytes[i]);
        ReadFlags[i] |= FlagAnswerEcho;
    }
}

void TLineEngine::FramingPass()
{
    const bool polled = std::exchange(polled_.Ready, false);   // this pass's request alone
    if (!heldHandOffs_.empty())
        ShowHeldHandOffs();
    if (RestoreListenState) {
        Port.SetState(&ListenDCB);
        RestoreListenState = false;
    }
    if (RxBytes.Count == 0)
        ReadToRx(IdleReadLength);
    if (RxBytes.Count == 0)
        return;
    const std::uint8_t head = RxBytes.At(0);
    // The program's own answer heard back never begins an exchange.
    if (!IsWireAddressByte(head) || (RxFlags.At(0) & FlagAnswerEcho)) {
        PendingStep();
        return;
    }
    TExchange request{AddressOf(head)};
    const TFrameInfo* polledRow = nullptr;
    const std::int32_t mode = LookUpHead(request, polled, polledRow);
    const bool framed = mode == ModeEmulate ? TryEmulateExchange(request) : ListenAttempts(request, mode, polledRow);
    if (!framed)
        PendingStep();
}

bool TLineEngine::ListenAttempts(TExchange request, std::int32_t mode, const TFrameInfo* polledRow)
{
    // A disabled device's exchange is taken whole as any other is, so that no byte of its body
    // is framed as a request; it is shown as ever, late ("Таймаут"), never as one listened to.
    if (mode == ModeDisabled)
        request.Result = ResultTimeout;
    // After a read came back short the line is quiet: a longer exchange cannot complete in time,
    // and another read would only wait as long again. What was heard may still be a whole
    // exchange of another row of the address.
    bool quiet = false;
    for (TFrameInfo* row : ListenOrder(request.Address, request.Frame, polledRow)) {
        request.Frame = row;
        const Attempt attempt = TryListenExchange(request, !quiet);
        if (attempt == Attempt::Success)
            return true;
        quiet = quiet || attempt == Attempt::NeedMore;
    }
    return false;
}

const std::vector<TFrameInfo*>& TLineEngine::ListenOrder(std::uint8_t address, TFrameInfo* own, const TFrameInfo* polledRow)
{
    // The scheme device's row goes first, as it wins ties; then, for the program's own poll,
    // the rows of the polled row's lengths, since a device of the polled row answers it. The
    // rest by the length of their exchange, shortest first: a shorter exchange is settled by
    // what it takes, without first waiting out the read of a longer row for bytes that never
    // come. Rows of equal lengths keep catalogue order (they cannot be told apart).
    const auto& rows = FrameInfoVectors[address];
    listenOrder_.clear();
    if (own && std::find(rows.begin(), rows.end(), own) != rows.end())
        listenOrder_.push_back(own);
    const auto likePolled = [polledRow](const TFrameInfo* row) {
        return polledRow && row->RequestLength == polledRow->RequestLength && row->AnswerLength == polledRow->AnswerLength;
    };
    const auto others = static_cast<std::ptrdiff_t>(listenOrder_.size());
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(listenOrder_), [own](const TFrameInfo* row) { return row != own; });
    std::stable_sort(listenOrder_.begin() + others, listenOrder_.end(), [&likePolled](const TFrameInfo* a, const TFrameInfo* b) {
        const auto key = [&likePolled](const TFrameInfo* row) {
            return std::pair(!likePolled(row), row->RequestLength + row->AnswerLength);
        };
        return key(a) < key(b);
    });
    return listenOrder_;
}

TLineEngine::Attempt TLineEngine::TryListenExchange(const TExchange& request, bool mayRead)
{
    const int rq = request.Frame->RequestLength;
    const int an = request.Frame->AnswerLength;
    const int total = rq + an;
    if (RxBytes.Count < total && mayRead)
        ReadToRx(static_cast<std::uint32_t>(total - RxBytes.Count));
    if (RxBytes.Count < total)
        return Attempt::NeedMore;
    if (!CheckByteOk(RxBytes, 0, rq) || RxBytes.At(rq) != request.Address || !CheckByteOk(RxBytes, rq, an))
        return Attempt::Fail;
    HandOffExchange(request);
    return Attempt::Success;
}

bool TLineEngine::TryEmulateExchange(const TExchange& request)
{
    const int rq = request.Frame->RequestLength;
    const int an = request.Frame->AnswerLength;
    if (RxBytes.Count < rq)
        ReadToRx(static_cast<std::uint32_t>(rq - RxBytes.Count));
    if (RxBytes.Count < rq || !CheckByteOk(RxBytes, 0, rq))
        return false;
    // Bytes after the request are here already (the receive thread was held). When they show
    // that the line went on without an answer, an answer now would run into what follows, and
    // the purge before it would throw away the rest of the master's next message, whose body
    // could then read as a request of its own. Stray bytes show nothing: the master still waits.
    if (LineWentOn(RxBytes, RxFlags, rq, request.Address))
        return false;
    if (!SendEmulatedAnswer(*request.Frame))
        return false;
    ReadToRx(static_cast<std::uint32_t>(an));   // the answer's echo on the shared line
    if (RxBytes.Count < rq + an || RxBytes.At(rq) != request.Address || !CheckByteOk(RxBytes, rq, an))
        HoldAnsweredExchange(request);
    else
        HandOffExchange(request);
    return true;
}

void TLineEngine::HoldAnsweredExchange(const TExchange& request)
{
    // The request was answered, so its bytes are that exchange's whatever the echo did: a byte
    // of its body framed again could be another emulated device's request, answered though the
    // master never sent it. What was heard goes to the pending bytes as one exchange of the
    // answered row, to be completed by what follows (a late echo: "Таймаут") or settled by it.
    if (PendingBytes.Count > 0)
        ClassifyPending(true);   // everything older first: nothing older may take these bytes
    // Its answer is what the echo read heard, not bytes that had come before the answer went out.
    TFrameInfo& row = *request.Frame;
    int heard = row.RequestLength;
    while (heard < std::min<int>(RxBytes.Count, row.RequestLength + row.AnswerLength) &&
           (RxFlags.At(heard) & FlagAnswerEcho))
        ++heard;
    if (heard > PendingLimit) {
        // Longer than the pending bytes hold: settled now with what was heard.
        HandOff(ClassifyCandidate(row, request.Address, true, RxBytes, heard), RxBytes, RxFlags);
        return;
    }
    std::array<std::uint8_t, LineBufferSize> bytes{};
    std::array<std::uint8_t, LineBufferSize> flags{};
    TakeBoth(RxBytes, RxFlags, bytes, flags, heard);
    PendingBytes.Put(bytes.data(), heard);
    PendingFlags.Put(flags.data(), heard);
    answeredRow_ = &row;
    ClassifyPending(false);
}

bool TLineEngine::SettleAnsweredExchange(bool final)
{
    const TExchange held = ClassifyCandidate(*answeredRow_, answeredRow_->Address, final);
    if (held.Result == ResultNeedMore)
        return false;
    answeredRow_ = nullptr;
    HandOff(held, PendingBytes, PendingFlags);
    return true;
}

bool TLineEngine::SendEmulatedAnswer(TFrameInfo& row)
{
    const int an = row.AnswerLength;
    TxBytes[0] = row.Address;
    CurFrame = &row;
    if (!Sync(&TLineEngine::FillAnswerBody))
        return false;   // paused: the device may be another one by now
    TxBytes[an - 1] = CheckByteOf(TxBytes.data(), an - 1);
    Port.Purge();   // the port stays in the listen (SPACE parity) state
    std::uint32_t written = 0;
    const std::uint32_t writeTick = ticks_.Now();
    quietTick_ = writeTick;   // whatever comes now came after the write
    if (!Port.Write(TxBytes.data(), static_cast<std::uint32_t>(an), &written) && !Port.Lost())
        WaitOutFailedCall(writeTick, ComTimeouts.WriteTotalTimeoutConstant);   // the echo read decides
    ExpectEcho(an, writeTick);
    return true;
}

void TLineEngine::HandOffExchange(const TExchange& request)
{
    // Everything older is reported before this exchange.
    if (PendingBytes.Count > 0)
        ClassifyPending(true);
    const TFrameInfo& row = *request.Frame;
    HandOff({request.Address, request.Frame, request.Result, row.RequestLength + row.AnswerLength}, RxBytes, RxFlags);
}

void TLineEngine::HandOffUnrecognised(TRoundBuffer& bytes, TRoundBuffer& flags)
{
    // A byte that begins nothing; its record reads as an error.
    HandOff({AddressOf(bytes.At(0)), nullptr, ResultShortRequest, 1}, bytes, flags);
}

void TLineEngine::HandOff(const TExchange& exchange, TRoundBuffer& bytes, TRoundBuffer& flags)
{
    TakeBoth(bytes, flags, FrameBytes, FrameFlags, exchange.Length);
    if (heldHandOffs_.empty() && ShowFrame(exchange))
        return;
    // The pause met this hand-off, or holds older ones back: what was read from the line is
    // never lost from the line log, it is shown once the pause is over, in order.
    THeldHandOff& held = heldHandOffs_.emplace_back();
    held.Exchange = exchange;
    std::copy_n(FrameBytes.begin(), exchange.Length, held.Bytes.begin());
    std::copy_n(FrameFlags.begin(), exchange.Length, held.Flags.begin());
    ShowHeldHandOffs();
}

bool TLineEngine::ShowFrame(const TExchange& exchange)
{
    CurAddress = exchange.Address;
    CurFrame = exchange.Frame;
    Result = exchange.Result;
    FrameLength = exchange.Length;
    return Sync(exchange.Result == ResultOk ? &TLineEngine::ShowExchange : &TLineEngine::ShowFailedExchange);
}

void TLineEngine::ShowHeldHandOffs()
{
    std::size_t shown = 0;
    for (; shown < heldHandOffs_.size(); ++shown) {
        const THeldHandOff& held = heldHandOffs_[shown];
        std::copy_n(held.Bytes.begin(), held.Exchange.Length, FrameBytes.begin());
        std::copy_n(held.Flags.begin(), held.Exchange.Length, FrameFlags.begin());
        if (!ShowFrame(held.Exchange))
            break;   // still paused
    }
    heldHandOffs_.erase(heldHandOffs_.begin(), heldHandOffs_.begin() + static_cast<std::ptrdiff_t>(shown));
}

void TLineEngine::PendingStep()
{
    if (PendingBytes.Count >= PendingLimit && !(answeredRow_ && SettleAnsweredExchange(true)))
        HandOffUnrecognised(PendingBytes, PendingFlags);
    std::uint8_t byte = 0;
    std::uint8_t flag = 0;
    RxBytes.Get(&byte, 1);
    RxFlags.Get(&flag, 1);
    PendingBytes.Put(&byte, 1);
    PendingFlags.Put(&flag, 1);
    ClassifyPending(false);
}

void TLineEngine::ClassifyPending(bool final)
{
    while (PendingBytes.Count > 0) {
        if (answeredRow_) {
            if (!SettleAnsweredExchange(final))
                return;
            continue;
        }
        const std::uint8_t head = PendingBytes.At(0);
        if (!IsWireAddressByte(head)) {
            HandOffUnrecognised(PendingBytes, PendingFlags);
            continue;
        }
        TExchange request{AddressOf(head)};
        LookUpRequest(request);
        const auto& rows = FrameInfoVectors[request.Address];
        // The scheme device's row goes first, so it wins ties; then catalogue order.
        TFrameInfo* const own = std::find(rows.begin(), rows.end(), request.Frame) != rows.end() ? request.Frame : nullptr;
        TExchange best{request.Address, nullptr, ResultShortRequest, 1};
        if (own)
            best = ClassifyCandidate(*own, request.Address, final);
        for (TFrameInfo* row : rows) {
            if (row == own)
                continue;
            const TExchange candidate = ClassifyCandidate(*row, request.Address, final);
            if (candidate.Result < best.Result)
                best = candidate;
        }
        if (best.Result == ResultNeedMore)
            return;
        HandOff(best, PendingBytes, PendingFlags);
    }
}

TExchange TLineEngine::ClassifyCandidate(TFrameInfo& row, std::uint8_t address, bool final) const
{
    return ClassifyCandidate(row, address, final, PendingBytes, PendingBytes.Count);
}

TExchange TLineEngine::ClassifyCandidate(TFrameInfo& row, std::uint8_t address, bool final, const TRoundBuffer& ring,
                                         int n)
{
    const int rq = row.RequestLength;
    const int total = rq + row.AnswerLength;
    auto outcome = [&row, address](int code, int take) { return TExchange{address, &row, code, take}; };
    const TExchange needMore = outcome(ResultNeedMore, 0);
    if (rq > n)
        return final ? outcome(ResultShortRequest, 1) : needMore;
    if (!CheckByteOk(ring, 0, rq))
        return outcome(ResultRequestCheck, 1);
    if (rq == n)
        return final ? outcome(ResultNoAnswer, rq) : needMore;
    if (ring.At(rq) != address)
        return outcome(ResultNoAnswer, rq);
    if (n < total)
        return final ? outcome(ResultShortAnswer, n) : needMore;
    return outcome(CheckByteOk(ring, rq, row.AnswerLength) ? ResultTimeout : ResultAnswerCheck, total);
}

std::int32_t TLineEngine::LookUpRequest(TExchange& request)
{
    // The results belong to this request alone: a lookup skipped during a pause leaves none.
    CurAddress = request.Address;
    CurFrame = nullptr;
    CurMode = -1;
    Sync(&TLineEngine::LookupCurrentDevice);
    request.Frame = CurFrame;
    return CurMode;
}

std::int32_t TLineEngine::LookUpHead(TExchange& request, bool polled, const TFrameInfo*& polledRow)
{
    if (!polled || !(RxFlags.At(0) & FlagPollEcho) || polled_.Address != request.Address)
        return LookUpRequest(request);
    request.Frame = polled_.Frame;
    polledRow = polled_.Polled;
    return polled_.Mode;
}

TLineEngine::TDeviceLookup TLineEngine::DeviceAt(std::uint8_t address) const
{
    const TDeviceInfo* device = host_.DevicesByAddr()[address];
    if (!device)
        return {true, address, nullptr, -1, nullptr};
    return {true, address, CatalogueRow(device->FrameInfo), device->SchemeObject->Mode, nullptr};
}

void TLineEngine::LookupCurrentDevice()
{
    const TDeviceLookup found = DeviceAt(CurAddress);
    CurFrame = found.Frame;
    CurMode = found.Mode;
}

void TLineEngine::LookUpPoll(const TFrameInfo& row)
{
    polled_ = DeviceAt(AddressOf(row.WireAddress));
    polled_.Polled = &row;
}

void TLineEngine::FillAnswerBody()
{
    const int body = CurFrame->AnswerLength - 2;
    TDeviceInfo* device = host_.DevicesByAddr()[CurFrame->Address];
    if (!device) {
        std::fill_n(TxBytes.begin() + 1, body, 0);
        return;
    }
    if (device->FrameToAnswer)
        device->FrameToAnswer();
    std::copy_n(device->SchemeObject->Answer.begin() + 1, body, TxBytes.begin() + 1);
}
