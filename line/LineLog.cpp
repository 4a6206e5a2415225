#include "line/LineLog.h"

#include <algorithm>
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

const TLineRecord& LineLogRecord(std::int32_t i) { return LineLog[(LineLogFirst + i) % LineLogCapacity]; }

double DateTimeToDays(const QDateTime& time)
{
    static const QDate base(1899, 12, 30);
    return static_cast<double>(base.daysTo(time.date())) + time.time().msecsSinceStartOfDay() / 86400000.0;
}

void LineLogAdd(const TFrameInfo* row, std::int32_t result, const QString& requestText,
                const QString& answerText)
{
    TLineRecord& record = LineLog[LineLogNext];
    record.Time = DateTimeToDays(QDateTime::currentDateTime());
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
}

void LineLogClear()
{
    LineLogCount = 0;
    LineLogNext = 0;
    LineLogFirst = 0;
}

int LineLogActiveCount(THost& host, std::uint32_t now)
{
    const bool sensors = LineMode.load() != LineModeMaster;
    int active = 0;
    int enabled = 0;
    for (const auto& device : host.Devices()) {
        if (Enabled(*device))
            ++enabled;
        if (sensors ? Enabled(*device) && Due(*device, now) : device->AnswerCount != 0)
            ++active;
    }
    if (active == 0)
        active = enabled;
    if (active == 0)
        active = static_cast<int>(host.Devices().size());
    return active;
}

void AppendLineLog(THost& host, const TFrameInfo* row, std::int32_t result, const QString& requestText,
                   const QString& answerText, bool good, std::uint32_t now)
{
    const int active = LineLogActiveCount(host, now);
    host.BeginLineListUpdate();
    int top = host.LineListTopIndex();
    int sel = host.LineListItemIndex();
    while (LineLogCount >= LineLogCapacity) {
        LineLogDropOldest();
        --top;
        --sel;
    }
    // A failed record always reads as an error, even when the classification left no code.
    if (!good && (result <= ResultOk || result >= ResultCodeCount))
        result = ResultShortRequest;
    LineLogAdd(row, good ? ResultOk : result, requestText, answerText);
    host.SetLineListCount(LineLogCount);
    top = std::max(top, 0);
    sel = std::max(sel, 0);

    const int visible = host.LineListHeight() / std::max(host.LineListItemHeight(), 1);
    const int below = LineLogCount - top - visible;
    auto followNewest = [&host] {
        host.SetLineListItemIndex(LineLogCount - 1);
        host.ShowLineRecordInfo();
    };
    if (below >= active || active == 0 || (visible >= LineLogCount && (LineLogCount - visible % active) % active == 0))
        followNewest();
    else
        host.SetLineListItemIndex(sel);
    host.EndLineListUpdate();
}
