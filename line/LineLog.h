#pragma once
// The line log: the last 10000 exchanges (and unrecognised bytes) as the line monitor lists
// them, in memory only, oldest first. Main thread only: the receive thread adds records
// through synchronized hand-off steps.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <limits>

class THost;
struct TFrameInfo;

struct TLineRecord {
    double Time = 0;                         // local date and time, days since 30 December 1899
    const TFrameInfo* FrameInfo = nullptr;   // none for an unrecognised byte
    std::int32_t Result = 0;                 // 0..6
    QString RequestText;
    QString AnswerText;
};

inline constexpr std::int32_t LineLogCapacity = 10000;

// The ring: record i (0 = oldest) is LineLog[(LineLogFirst + i) % LineLogCapacity].
extern TLineRecord* const LineLog;
extern std::int32_t LineLogFirst;
extern std::int32_t LineLogNext;
extern std::int32_t LineLogCount;
// The running number of the oldest record: how many records were ever dropped or cleared
// before it. Record i's number is LineLogFirstNumber + i; a list that shows the log keeps
// its rows on the records they showed by it.
extern std::int64_t LineLogFirstNumber;

// Record i of the log, 0 = oldest; i must be below LineLogCount.
const TLineRecord& LineLogRecord(std::int32_t i);

// Appends a record stamped with the present local time. The caller makes room first.
void LineLogAdd(const TFrameInfo* row, std::int32_t result, const QString& requestText,
                const QString& answerText);
void LineLogDropOldest();
void LineLogClear();

// Days since 30 December 1899, the fraction the time of day.
double DateTimeToDays(const QDateTime& time);
// The present local time as days since 30 December 1899, as DateTimeToDays of the present
// local date and time gives it, without a system call: the zone's offset from UTC is looked up
// again only when the wall clock enters another minute or TZ changes.
double LocalDaysNow();

// How many records must gather below the visible lines before the list jumps to the newest:
// in sensor diagnostics the enabled devices that are due, in BI diagnostics the devices that
// answered lately; failing that the enabled devices, failing that all devices. The count
// stops at `cap` when it reaches it (the caller only needs to know it is that many or more).
int LineLogActiveCount(THost& host, std::uint32_t now, int cap = std::numeric_limits<int>::max());

// Adds one record (result 0 when good; a failed one stores its code, 6 for anything outside
// 1..6) and keeps the window's list at the newest records while the user is not looking at
// older ones.
void AppendLineLog(THost& host, const TFrameInfo* row, std::int32_t result, const QString& requestText,
                   const QString& answerText, bool good, std::uint32_t now);
