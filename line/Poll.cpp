// The poll scheduler of sensor diagnostics: which device to poll next (round robin by due
// time, disabled devices skipped, the catalogue walked instead during a device search), how a
// request goes out on the line, and the poll-cycle statistics shown in the status bar.
#include <algorithm>
#include <cmath>
#include <utility>

#include "line/ReceiveThread.h"
#include "model/Catalogue.h"
#include "model/DeviceInfo.h"
#include "model/Host.h"
#include "model/LineMode.h"
#include "platform/Ticks.h"

namespace {
// Device rows are rows of the catalogue array, which the line engine may stamp (LastSeenTick).
TFrameInfo* CatalogueRow(const TFrameInfo* row) { return &DeviceCatalogue[row - DeviceCatalogue]; }

// NextPollTick 0 means due at once, whatever the tick count.
bool IsDue(const TDeviceInfo& device, std::uint32_t now)
{
    return device.NextPollTick == 0 || TickReached(now, device.NextPollTick);
}

bool IsEnabled(const TDeviceInfo& device) { return device.SchemeObject->Mode != ModeDisabled; }
}

QString PollPeriodText(std::int32_t meanMs)
{
    return QStringLiteral(" Период опроса: ") + QString::number(meanMs) + QStringLiteral(" мс");
}

bool TReceiveThread::PollStep()
{
    // A poll chosen before a pause may be of a scheme that is gone.
    const bool prepared = std::exchange(pollPrepared_, false) && pauses_.load() == preparedPauses_;
    if (!prepared || Engine.RxBytes.Count > 0)
        Engine.ForgetPolledLookup();   // a lookup belongs to the request it was made for
    if (Engine.RxBytes.Count > 0)
        return true;   // the framing pass first deals with the bytes held
    if (prepared) {
        Engine.CurFrame = preparedFrame_;
    } else {
        Engine.CurFrame = nullptr;   // stays none when the step is skipped during a pause
        pollBodyFilled_ = false;
        Step(&TReceiveThread::PreparePoll);
    }
    if (!Engine.CurFrame) {
        Idle();
        return false;
    }
    if (SendPollRequest())
        return true;
    Engine.ForgetPolledLookup();
    return false;
}

void TReceiveThread::PreparePoll()
{
    SelectPollTarget();
    if (Engine.CurFrame)
        Engine.LookUpPoll(*Engine.CurFrame);
    if (Engine.CurFrame && Engine.CurFrame->RequestLength > 1) {
        FillRequestBody();
        pollBodyFilled_ = true;
    }
}

void TReceiveThread::PrepareNextPoll()
{
    if (pollPrepared_ || LineMode.load() == LineModeMaster)
        return;   // one poll per pass; BI diagnostics polls nothing
    TFrameInfo* const handedOff = Engine.CurFrame;
    Engine.CurFrame = nullptr;
    pollBodyFilled_ = false;
    PreparePoll();
    preparedFrame_ = Engine.CurFrame;
    preparedPauses_ = pauses_.load();
    pollPrepared_ = true;
    Engine.CurFrame = handedOff;   // the hand-off's caller still frames with it
}

void TReceiveThread::SelectPollTarget()
{
    Engine.CurFrame = nullptr;
    if (host_.OpeningScheme())
        return;
    TDevicesByAddr& byAddr = host_.DevicesByAddr();
    while (Searching.load()) {
        // The bound is tested before a row is read.
        if (ScanIndex >= DeviceCatalogueCount) {
            EndSearch();
            break;
        }
        TFrameInfo& row = DeviceCatalogue[ScanIndex++];
        if (!byAddr[row.Address & 0x3F]) {
            Engine.CurFrame = &row;
            return;
        }
    }

    TDeviceList& devices = host_.Devices();
    const std::int32_t count = static_cast<std::int32_t>(devices.size());
    const std::uint32_t now = ticks_.Now();
    bool waiting = false;
    auto due = [&](std::int32_t i) {
        TDeviceInfo& device = *devices[static_cast<std::size_t>(i)];
        if (!IsEnabled(device))
            return false;
        if (IsDue(device, now))
            return true;
        waiting = true;
        if (LineMode.load() == LineModeMaster && !device.SchemeObject->Static)
            device.StartTimer();
        return false;
    };
    std::int32_t chosen = -1;
    for (std::int32_t i = std::max(PollIndex, 0); i < count && chosen < 0; ++i)
        if (due(i))
            chosen = i;
    if (chosen < 0) {
        // The end of the list: a poll cycle has ended.
        PollIndex = std::clamp(PollIndex, 0, count);
        for (std::int32_t i = 0; i < PollIndex && chosen < 0; ++i)
            if (due(i))
                chosen = i;
        CycleStatistics();
    }
    if (chosen < 0 && waiting) {
        // Due times order the polls but never leave the line idle while a device is enabled.
        for (std::int32_t i = PollIndex; i < count && chosen < 0; ++i)
            if (IsEnabled(*devices[static_cast<std::size_t>(i)]))
                chosen = i;
        for (std::int32_t i = 0; i < PollIndex && chosen < 0; ++i)
            if (IsEnabled(*devices[static_cast<std::size_t>(i)]))
                chosen = i;
    }
    if (chosen >= 0) {
        Engine.CurFrame = CatalogueRow(devices[static_cast<std::size_t>(chosen)]->FrameInfo);
        PollIndex = chosen;
    }
    ++PollIndex;
}

void TReceiveThread::CycleStatistics()
{
    if (CountActiveDevices(host_.Devices()) == 0)
        return;
    const std::uint32_t now = ticks_.Now();
    if (Reconnect.load() || ResetStats.load() || LineMode.load() == LineModeMaster) {
        ResetStats = false;
        LastCycleTick = 0;
        CycleTimeSum = 0;
        CycleTimes.Clear();
        for (const auto& device : host_.Devices()) {
            device->LastAnswerTick = 0;
            device->IntervalSum = 0;
            device->AnswerIntervals->Clear();
        }
    }
    if (LastCycleTick != 0) {
        if (CycleTimes.Count >= CycleTimesSize) {
            std::uint32_t oldest = 0;
            CycleTimes.Get(reinterpret_cast<std::uint8_t*>(&oldest), 4);
            CycleTimeSum -= static_cast<std::int32_t>(oldest);
        }
        const std::uint32_t cycle = TicksElapsed(LastCycleTick, now);
        CycleTimes.Put(reinterpret_cast<const std::uint8_t*>(&cycle), 4);
        CycleTimeSum += static_cast<std::int32_t>(cycle);
        const std::int32_t held = CycleTimes.Count / 4;
        if (held >= CycleTimesShown) {
            const double mean = static_cast<double>(CycleTimeSum) / held;
            host_.Status().SetPanelText(1, PollPeriodText(static_cast<std::int32_t>(std::trunc(mean + 0.5))));
        }
    }
    LastCycleTick = now;
}

bool TReceiveThread::SendPollRequest()
{
    TLineEngine& e = Engine;
    const TFrameInfo& row = *e.CurFrame;
    const int rq = row.RequestLength;
    std::uint32_t written = 0;

    e.TxBytes[0] = row.WireAddress;
    Port.SetState(&AddressDCB);
    e.RestoreListenState = true;
    Port.Purge();
    Port.Write(e.TxBytes.data(), 1, &written);
    e.ReadToRx(1, FlagPollEcho);
    if (e.RxBytes.Count == 0) {
        Step(&TReceiveThread::NoEcho);
        return false;
    }
    e.LineEchoes = true;

    if (rq > 1) {
        if (!pollBodyFilled_) {
            std::fill_n(e.TxBytes.begin() + 1, rq - 2, 0);   // what a skipped step leaves
            Step(&TReceiveThread::FillRequestBody);
        }
        pollBodyFilled_ = false;
        e.TxBytes[static_cast<std::size_t>(rq - 1)] = CheckByteOf(e.TxBytes.data(), rq - 1);
        Port.SetState(&ListenDCB);
        e.RestoreListenState = false;
        Port.Purge();
        Port.Write(e.TxBytes.data() + 1, static_cast<std::uint32_t>(rq - 1), &written);
        e.ReadToRx(static_cast<std::uint32_t>(rq - 1), 0);
    }
    return e.RxBytes.Count == rq;
}

void TReceiveThread::FillRequestBody()
{
    const TFrameInfo& row = *Engine.CurFrame;
    const int body = row.RequestLength - 2;
    TDeviceInfo* device = host_.DevicesByAddr()[row.Address & 0x3F];
    if (!device) {
        std::fill_n(Engine.TxBytes.begin() + 1, body, 0);   // a search-scan row
        return;
    }
    if (device->FrameToRequest)
        device->FrameToRequest();
    std::copy_n(device->SchemeObject->Request.begin() + 1, body, Engine.TxBytes.begin() + 1);
}
