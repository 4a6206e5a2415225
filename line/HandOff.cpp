// The hand-off of every settled exchange to the main thread: the row's last-seen time, the
// device object's statistics and due time, its texts, images, frame and grid cells, and the
// line log.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "line/LineEngine.h"
#include "line/LineLog.h"
#include "model/Catalogue.h"
#include "model/DeviceInfo.h"
#include "model/Helpers.h"
#include "model/Host.h"
#include "model/LineMode.h"
#include "platform/Numbers.h"
#include "platform/Ticks.h"

namespace {
const QString OtherRowText = QStringLiteral("Другой датчик");

bool SensorDiagnostics() { return LineMode.load() != LineModeMaster; }

// Column 7 holds 0..10 (sensor diagnostics) or 0..99 (BI diagnostics) and is compared on every
// exchange: its texts are made once.
QString ExchangeQualityText(int value)
{
    static const auto texts = [] {
        std::array<QString, 100> t;
        for (int i = 0; i < 100; ++i)
            t[static_cast<std::size_t>(i)] = QString::number(i);
        return t;
    }();
    return value >= 0 && value < 100 ? texts[static_cast<std::size_t>(value)] : QString::number(value);
}

void SetCellIfChanged(TDeviceInfo& device, int column, const QString& text)
{
    if (device.GridCell(column) != text)
        device.SetGridCell(column, text);
}

// Hex texts repeat: a polled device hears the same request every cycle and often gives the same
// answer, and an unrecognised byte is one of 256. A text whose bytes match the last ones
// formatted at its place is shared instead of being built and allocated again.
struct TCachedHex {
    std::array<std::uint8_t, LineBufferSize> Bytes{};
    std::array<std::uint8_t, LineBufferSize> Echoes{};   // FlagPollEcho, the only flag shown
    int Length = -1;
    QString Text;
};

// The places: the request and the answer of every catalogue row, and a byte without a row by
// its value. The hand-off runs on one thread; thread_local keeps engines on others apart.
struct THexCache {
    std::array<std::array<TCachedHex, 2>, DeviceCatalogueCount> Rows;
    std::array<TCachedHex, 256> Bytes;
};

THexCache& HexCache()
{
    thread_local THexCache cache;
    return cache;
}

QString CachedHex(TCachedHex& place, const std::uint8_t* bytes, const std::uint8_t* flags, int n)
{
    n = std::clamp(n, 0, LineBufferSize);
    bool same = place.Length == n;
    for (int i = 0; i < n && same; ++i)
        same = place.Bytes[i] == bytes[i] && place.Echoes[i] == (flags[i] & FlagPollEcho);
    if (!same) {
        place.Length = n;
        for (int i = 0; i < n; ++i) {
            place.Bytes[i] = bytes[i];
            place.Echoes[i] = flags[i] & FlagPollEcho;
        }
        place.Text = FormatHex(bytes, flags, n);
    }
    return place.Text;
}

// The place of the request (part 0) or answer (part 1) text of `row`, or of a byte without one.
TCachedHex& HexPlace(const TFrameInfo* row, int part, std::uint8_t firstByte)
{
    if (!row)
        return HexCache().Bytes[firstByte];
    return HexCache().Rows[static_cast<std::size_t>(row - DeviceCatalogue)][static_cast<std::size_t>(part)];
}

// The step's end: the receive thread's next main-thread work, when nothing is left to frame first.
void EndHandOff(TLineEngine& engine)
{
    if (engine.AfterHandOff && engine.RxBytes.Count == 0)
        engine.AfterHandOff();
}

// Copies `count` bytes (none when count < 1) into a message image from index 1.
void CopyBody(TMessageImage& image, const std::uint8_t* from, int count)
{
    if (count > 0)
        std::memcpy(image.data() + 1, from, static_cast<std::size_t>(std::min<int>(count, image.size() - 1)));
}
}

TDeviceInfo* TLineEngine::DeviceAtCurAddress() const { return host_.DevicesByAddr()[AddressOf(CurAddress)]; }

void TLineEngine::CountExchange(TDeviceInfo& device, bool own, bool good, std::uint32_t now)
{
    const std::int32_t before = device.AnswerCount;
    if (device.AnswerHistory->Count >= AnswerHistorySize) {
        std::uint8_t oldest = 0;
        device.AnswerHistory->Get(&oldest, 1);
        device.AnswerCount -= oldest;
    }
    const std::uint8_t entry = own ? 1 : 0;
    device.AnswerHistory->Put(&entry, 1);
    device.AnswerCount += entry;
    if (device.AnswerCount != 0) {
        if (good)
            device.NextPollTick = 0;   // due at once
    } else {
        device.NextPollTick = now + SilentDeviceBackOffMs;
        if (before != 0)
            ResetStats = true;   // the device just fell silent
    }

    if (device.LastAnswerTick != 0) {
        if (device.AnswerIntervals->Count >= AnswerIntervalsSize) {
            std::uint32_t oldest = 0;
            device.AnswerIntervals->Get(reinterpret_cast<std::uint8_t*>(&oldest), 4);
            device.IntervalSum -= static_cast<std::int32_t>(oldest);
        }
        const std::uint32_t interval = TicksElapsed(device.LastAnswerTick, now);
        device.AnswerIntervals->Put(reinterpret_cast<const std::uint8_t*>(&interval), 4);
        device.IntervalSum += static_cast<std::int32_t>(interval);
    }
    device.ExchangeCounter = (device.ExchangeCounter + 1) % 100;
}

void TLineEngine::ShowTexts(TDeviceInfo& device)
{
    device.RequestText = RequestText;
    device.AnswerText = AnswerText;
    host_.Status().ShowDeviceTexts(device, RequestText, AnswerText);
}

void TLineEngine::ShowStatistics(TDeviceInfo& device, const QString& status)
{
    if (!device.GridRow)
        return;
    const bool sensors = SensorDiagnostics();
    const int entries = device.AnswerHistory->Count;
    const int quality = sensors ? (entries > 0 ? static_cast<int>(std::trunc(device.AnswerCount * 10.0 / entries + 0.5)) : 0)
                                : device.ExchangeCounter;
    SetCellIfChanged(device, 7, ExchangeQualityText(quality));
    const int intervals = device.AnswerIntervals->Count / 4;
    if (device.LastAnswerTick != 0 && intervals > 0 && (sensors || !device.SchemeObject->Static))
        SetCellIfChanged(device, 8, FormatFloat("0.00", device.IntervalSum / static_cast<long double>(intervals) * 0.001L));
    SetCellIfChanged(device, 9, status);
}

void TLineEngine::CopyHeardMessages(TDeviceInfo& device, int requestLength, int answerLength)
{
    TSchemeObject& object = *device.SchemeObject;
    if (!SensorDiagnostics()) {
        // The master's request, as heard, becomes the device's request.
        if (device.RequestToFrame) {
            CopyBody(object.Request, FrameBytes.data() + 1, requestLength - 2);
            if (!device.SideShows(true) || device.TakesEveryRequest()) {
                if (device.RequestToGrid)
                    device.RequestToGrid();
                device.RequestToFrame();
                device.SideShown(true);
            }
        } else if (device.GridRow) {
            SetCellIfChanged(device, 2, NoValueText);
        }
    }
    // An emulated device's answer is the program's own: only a received one is copied.
    if (object.Mode == ModeReceive) {
        CopyBody(object.Answer, FrameBytes.data() + requestLength + 1, answerLength - 2);
        if (!device.SideShows(false)) {
            if (device.AnswerToGrid)
                device.AnswerToGrid();
            if (device.AnswerToFrame)
                device.AnswerToFrame();
            device.SideShown(false);
        }
    }
}

// An exchange that brings the device no data of its own (another row's, or a failed one): its
// texts and status show, and a received device's answer editors are emptied.
void TLineEngine::ShowWithoutData(TDeviceInfo& device, const QString& status)
{
    ShowTexts(device);
    ShowStatistics(device, status);
    if (device.SchemeObject->Mode == ModeReceive)
        device.ClearEditors(false);
}

// In BI diagnostics a device that is not static waits for its next exchange with the watchdog.
void TLineEngine::RestartWatchdog(TDeviceInfo& device)
{
    if (!SensorDiagnostics() && !device.SchemeObject->Static)
        device.StartTimer();
}

void TLineEngine::ShowExchange()
{
    const std::uint32_t now = ticks_.Now();
    const int rq = CurFrame->RequestLength;
    const int an = CurFrame->AnswerLength;
    CurFrame->LastSeenTick = now;
    RequestText = CachedHex(HexPlace(CurFrame, 0, 0), FrameBytes.data(), FrameFlags.data(), rq);
    AnswerText = CachedHex(HexPlace(CurFrame, 1, 0), FrameBytes.data() + rq, FrameFlags.data() + rq, an);

    if (TDeviceInfo* device = DeviceAtCurAddress()) {
        const bool own = device->FrameInfo == CurFrame;
        CountExchange(*device, own, true, now);
        const std::uint8_t mode = device->SchemeObject->Mode;
        if (mode != ModeDisabled) {
            TUpdatingControls updating;
            if (own) {
                // Texts and frame at most once per refresh interval; statistics every time.
                if (device->NextShowTick == 0 || TickReached(now, device->NextShowTick)) {
                    device->NextShowTick = now + static_cast<std::uint32_t>(host_.Status().UpdateTime());
                    ShowTexts(*device);
                    CopyHeardMessages(*device, rq, an);
                }
                ShowStatistics(*device, QString());
            } else {
                ShowWithoutData(*device, OtherRowText);
            }
            RestartWatchdog(*device);
        }
        device->LastAnswerTick = now;
    }
    if (host_.LineList().Recording())
        AppendLineLog(host_, CurFrame, ResultOk, RequestText, AnswerText, true, now);
    EndHandOff(*this);
}

void TLineEngine::ShowFailedExchange()
{
    const std::uint32_t now = ticks_.Now();
    const int length = std::clamp<int>(FrameLength, 0, LineBufferSize);
    const int rq = CurFrame ? CurFrame->RequestLength : 0;
    if (!CurFrame || length < rq) {
        RequestText = CachedHex(HexPlace(CurFrame, 0, FrameBytes[0]), FrameBytes.data(), FrameFlags.data(), length);
        AnswerText.clear();
    } else {
        RequestText = CachedHex(HexPlace(CurFrame, 0, 0), FrameBytes.data(), FrameFlags.data(), rq);
        AnswerText = CachedHex(HexPlace(CurFrame, 1, 0), FrameBytes.data() + rq, FrameFlags.data() + rq, length - rq);
        TDeviceInfo* device = DeviceAtCurAddress();
        if (device && device->FrameInfo == CurFrame) {
            CountExchange(*device, false, false, now);
            device->NextShowTick = 0;   // the next good exchange shows at once
            const std::uint8_t mode = device->SchemeObject->Mode;
            if (mode != ModeDisabled) {
                TUpdatingControls updating;
                ShowWithoutData(*device, ResultText(Result));
                RestartWatchdog(*device);
            }
            device->LastAnswerTick = now;
        }
    }
    if (host_.LineList().Recording())
        AppendLineLog(host_, CurFrame, Result, RequestText, AnswerText, false, now);
    EndHandOff(*this);
}
