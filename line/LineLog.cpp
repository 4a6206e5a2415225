#include "line/LineLog.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "line/Protocol.h"
#include "model/DeviceInfo.h"
#include "model/Host.h"
#include "model/LineMode.h"
#include "platform/Ticks.h"

namespace {
std::vector<TLineRecord>& Storage()
{
    static std::vector<TLineRecord> records(LineLogCapacity);
    return records;
}

bool Due(const TDeviceInfo& device, std::uint32_t now)
{
    // 0 means due at once, whatever half of the tick range `now` lies in.
    return device.NextPollTick == 0 || TickReached(now, device.NextPollTick);
}

bool Enabled(const TDeviceInfo& device) { return device.SchemeObject->Mode != ModeDisabled; }
}

TLineRecord* const LineLog = Storage().data();
std::int32_t LineLogFirst = 0;
std::int32_t LineLogNext = 0;
std::int32_t LineLogCount = 0;
std::int64_t LineLogFirstNumber = 0;

const TLineRecord& LineLogRecord(std::int32_t i) { return LineLog[(LineLogFirst + i) % LineLogCapacity]; }

double DateTimeToDays(const QDateTime& time)
{
    static const QDate base(1899, 12, 30);
    return static_cast<double>(base.daysTo(time.date())) + time.time().msecsSinceStartOfDay() / 86400000.0;
}

double LocalDaysNow()
{
    constexpr std::int64_t msPerMinute = 60000;
    constexpr std::int64_t msPerDay = 86400000;
    constexpr std::int64_t unixEpochDay = 25569;   // 1 January 1970 counted from 30 December 1899
    // Zones change their offset only on whole minutes, so within a minute the offset holds.
    static std::int64_t minute = -1;
    static std::int64_t offsetMs = 0;
    static std::string zone;
    static bool zoneSet = false;
    const std::int64_t utcMs = QDateTime::currentMSecsSinceEpoch();   // no system call (vDSO)
    // Read on the main thread only, which is also the only one that changes the environment.
    const char* tz = std::getenv("TZ");   // NOLINT(concurrency-mt-unsafe)
    if (utcMs / msPerMinute != minute || (tz != nullptr) != zoneSet || (tz && zone != tz)) {
        minute = utcMs / msPerMinute;
        zoneSet = tz != nullptr;
        zone = tz ? tz : "";
        offsetMs = std::int64_t(QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc()) * 1000;
    }
    const std::int64_t localMs = utcMs + offsetMs;
    const std::int64_t day = localMs >= 0 ? localMs / msPerDay : (localMs - msPerDay + 1) / msPerDay;
    return static_cast<double>(day + unixEpochDay) + static_cast<double>(localMs - day * msPerDay) / 86400000.0;
}

void LineLogAdd(const TFrameInfo* row, std::int32_t result, const QString& requestText,
                const QString& answerText)
{
    TLineRecord& record = LineLog[LineLogNext];
    record.Time = LocalDaysNow();
    record.FrameInfo = row;
    record.Result = result;
    record.RequestText = requestText;
    record.AnswerText = answerText;
    LineLogNext = (LineLogNext + 1) % LineLogCapacity;
    ++LineLogCount;
}

void LineLogDropOldest()
{
    if (LineLogCount <= 0)
        return;
    LineLogFirst = (LineLogFirst + 1) % LineLogCapacity;
    --LineLogCount;
    ++LineLogFirstNumber;
}

void LineLogClear()
{
    LineLogFirstNumber += LineLogCount;
    LineLogCount = 0;
    LineLogNext = 0;
    LineLogFirst = 0;
}

int LineLogActiveCount(THost& host, std::uint32_t now, int cap)
{
    const bool sensors = LineMode.load() != LineModeMaster;
    const TDeviceList& devices = host.Devices();
    // Runs on every record: the walk reads one field of each device where it can.
    int active = 0;
    for (const auto& device : devices)
        if (sensors ? Due(*device, now) && Enabled(*device) : device->AnswerCount != 0)
            if (++active >= cap)
                return active;
    if (active == 0)
        active = static_cast<int>(std::count_if(devices.begin(), devices.end(), [](const auto& d) { return Enabled(*d); }));
    if (active == 0)
        active = static_cast<int>(devices.size());
    return active;
}

void AppendLineLog(THost& host, const TFrameInfo* row, std::int32_t result, const QString& requestText,
                   const QString& answerText, bool good, std::uint32_t now)
{
    host.LineList().BeginUpdate();
    int top = host.LineList().TopIndex();
    int sel = host.LineList().ItemIndex();
    while (LineLogCount >= LineLogCapacity) {
        LineLogDropOldest();
        --top;
        --sel;
    }
    // A failed record always reads as an error, even when the classification left no code.
    if (!good && (result <= ResultOk || result >= ResultCodeCount))
        result = ResultShortRequest;
    LineLogAdd(row, good ? ResultOk : result, requestText, answerText);
    host.LineList().SetCount(LineLogCount);
    top = std::max(top, 0);
    sel = std::max(sel, 0);

    const int visible = host.LineList().VisibleCount();
    const int below = LineLogCount - top - visible;
    // A full list only asks whether `below` reaches the count: counting on past it would cost
    // a walk over every device for each record.
    const int active = LineLogActiveCount(host, now, visible < LineLogCount ? std::max(below, 0) + 1 : std::numeric_limits<int>::max());
    auto followNewest = [&host] {
        host.LineList().SetItemIndex(LineLogCount - 1);
        host.LineList().ShowRecordInfo();
    };
    if (below >= active || active == 0 || (visible >= LineLogCount && (LineLogCount - visible % active) % active == 0))
        followNewest();
    else
        host.LineList().SetItemIndex(sel);
    host.LineList().EndUpdate();
}
