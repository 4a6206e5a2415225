#pragma once
// The field rules where they meet the widgets and the grid row: cells written only when they
// differ, and values that wrap into a range before they are stored.
#include <QString>
#include <initializer_list>
#include <optional>

#include "frames/shared/Fields.h"
#include "model/DeviceInfo.h"
#include "platform/Kit.h"
#include "platform/Numbers.h"

// A cell of the device's grid row, written only when its text differs; a device without a grid
// row yet is left alone.
void WriteCell(TDeviceInfo& info, int column, const QString& text);

// The value brought into [low, high) through WrapValue. When it had to move, the edit is
// rewritten with `show` of the moved value before the caller scales it, so that the edit says
// what is sent and reads back to the same value on the next pass.
long double WrapIntoEdit(TEdit& edit, long double value, double low, double high, QString (*show)(long double));
// The edit's number wrapped so (by default rewritten in the general form); none when the text
// does not convert.
std::optional<long double> ReadWrappedEdit(TEdit& edit, double low, double high,
                                           QString (*show)(long double) = FloatToStr);

// Check boxes over the bits of a part that they own (the first box at the part's lowest bit):
// reading clears the part first, then sets the bits of the checked boxes.
void StoreCheckBoxes(TMessageImage& image, const Bits& part, std::initializer_list<const TCheckBox*> boxes);
void ShowCheckBoxes(const TMessageImage& image, const Bits& part, std::initializer_list<TCheckBox*> boxes);
