#include "frames/shared/FrameBinding.h"

TFrameHandlers FrameHandlers;

void BindControls(QWidget* panel, const TFrameHandlers* handlers)
{
    if (!panel || !handlers)
        return;
    for (TControl* control : Controls(panel)) {
        if (control->ClassNameIs("TEdit")) {
            auto* edit = static_cast<TEdit*>(control);
            edit->OnChange = handlers->OnChange;
            switch (edit->Tag) {
            // clang-format off
            case EditUInt: edit->OnKeyPress = handlers->OnUIntKeyPress; edit->OnKeyDown = handlers->OnUIntKeyDown; break;
            case EditSInt: edit->OnKeyPress = handlers->OnSIntKeyPress; edit->OnKeyDown = handlers->OnSIntKeyDown; break;
            case EditUFloat: edit->OnKeyPress = handlers->OnUFloatKeyPress; edit->OnKeyDown = handlers->OnUFloatKeyDown; break;
            case EditSFloat: edit->OnKeyPress = handlers->OnSFloatKeyPress; edit->OnKeyDown = handlers->OnSFloatKeyDown; break;
            // clang-format on
            default: break;
            }
        } else if (control->ClassNameIs("TUpDown")) {
            auto* upDown = static_cast<TUpDown*>(control);
            // The control it steps lies under the point one pixel left of its top-left corner.
            TControl* stepped = ControlAtPos(panel, QPoint(upDown->Left() - 1, upDown->Top()));
            upDown->SetTagWidget(stepped ? stepped->Widget() : nullptr);
            upDown->OnChangingEx = handlers->OnUpDownChangingEx;
        } else if (control->ClassNameIs("TCheckBox")) {
            static_cast<TCheckBox*>(control)->OnClick = handlers->OnChange;
        } else if (control->ClassNameIs("TComboBox")) {
            static_cast<TComboBox*>(control)->OnSelect = handlers->OnChange;
        }
    }
}
