#pragma once
// A value field filled from an edit or a grid cell, each in its own guard: a text that does not
// convert leaves the field's bits as they were.
#include "frames/Fields.h"
#include "platform/Kit.h"

#include <QString>

// The edit's text by the frame-edit rule (integers as typed, decimals x scale + 0.5), stored
// into the whole group of the field. False when the text does not convert.
bool StoreEditValue(TMessageImage& image, const Num& field, const TEdit* edit);
// The cell's text by the grid rule (half away from zero), stored into the whole group of the
// field. False when the text does not convert.
bool StoreCellValue(TMessageImage& image, const Num& field, const QString& text);
