#pragma once
// The field rules where they meet the widgets and the grid row: cells written only when they
// differ, and values that wrap into a range before they are stored.
#include "frames/Fields.h"
#include "model/DeviceInfo.h"
#include "platform/Kit.h"

#include <QString>
#include <initializer_list>
#include <optional>

// A cell of the device's grid row, written only when its text differs; a device without a grid
// row yet is left alone.
void WriteCell(TDeviceInfo& info, int column, const QString& text);

// The edit's number brought into [low, high) through WrapValue; when it had to be moved, the
// edit shows the wrapped value (in `pattern`, FormatFloat's form) before the caller scales it.
// None when the text does not convert.
std::optional<long double> ReadWrappedEdit(TEdit& edit, double low, double high, const char* pattern = "0.00");

// Check boxes over the bits of a part that they own (the first box at the part's lowest bit):
// reading clears the part first, then sets the bits of the checked boxes.
void StoreCheckBoxes(TMessageImage& image, const Bits& part, std::initializer_list<const TCheckBox*> boxes);
void ShowCheckBoxes(const TMessageImage& image, const Bits& part, std::initializer_list<TCheckBox*> boxes);
