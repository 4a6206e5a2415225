#pragma once
// The line monitor's rules apart from its widgets: reading a record's hex texts back into bytes,
// the lines that decode a record, and the search for runs of failed exchanges.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "model/Host.h"

struct TLineRecord;

// Two upper-case hex digits into a byte; false when either is not one.
bool HexPairToByte(const QString& text, int index, std::uint8_t& value);

// A record's hex text ("81 12 '93") into at most 16 bytes; an apostrophe marks a flagged byte
// and is skipped. The parse stops at the first pair that is not hex; count tells how far it got.
// True when the whole text was read.
bool ParseHexText(const QString& text, std::uint8_t* bytes, int& count);

// "[ 9:05:07.042 ]": the time of day of a record time (days since 30 December 1899).
QString FormatRecordTime(double days);

// The decoding panel's lines for a record, with the open scheme's devices by address.
QStringList LineRecordInfo(const TLineRecord& record, const TDevicesByAddr& devices);

// The error search over items 0..count-1; `counts` tells whether an item is an error that the
// search looks at. The item to select, or -1 to leave the selection as it is.
int FindPreviousErrorRun(int count, int selected, const std::function<bool(int)>& counts);
int FindNextErrorRun(int count, int selected, const std::function<bool(int)>& counts);
