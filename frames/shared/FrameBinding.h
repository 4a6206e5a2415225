#pragma once
// The main window's handlers that every frame control is bound to, and the binding: an edit's
// kind (its Tag) chooses its key handlers, an up-down steps the control left of it, check boxes
// and combo boxes report a change.
#include "model/DeviceInfo.h"
#include "platform/Kit.h"

// Edit kinds, by an edit's Tag.
// clang-format off
enum : int { EditUInt = 0, EditSInt = 1, EditUFloat = 2, EditSFloat = 3 };
// clang-format on

struct TFrameHandlers : TFramePlace {
    TNotifyEvent OnChange;
    TKeyPressEvent OnSIntKeyPress;
    TKeyPressEvent OnUIntKeyPress;
    TKeyPressEvent OnSFloatKeyPress;
    TKeyPressEvent OnUFloatKeyPress;
    TKeyEvent OnSIntKeyDown;
    TKeyEvent OnUIntKeyDown;
    TKeyEvent OnSFloatKeyDown;
    TKeyEvent OnUFloatKeyDown;
    TUDChangingEx OnUpDownChangingEx;
};

extern TFrameHandlers FrameHandlers;   // filled once by the main window

// Binds the direct child controls of a frame's side panel (none, or no handlers: nothing).
void BindControls(QWidget* panel, const TFrameHandlers* handlers);
