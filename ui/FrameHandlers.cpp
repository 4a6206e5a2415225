// The handlers every device frame's controls are bound to: a change stores the frame's values
// into the device's message image and shows them in its grid row; key filters keep number edits
// to what their kind can hold; Up and Down (and the up-down buttons) step the value.
#include <QLineEdit>
#include <algorithm>
#include <climits>

#include "model/DeviceInfo.h"
#include "platform/Numbers.h"
#include "ui/FrameEdits.h"
#include "ui/Main.h"

void FilterNumberKey(QChar& key, bool sign, bool decimal)
{
    if ((key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key == QLatin1Char('\b'))
        return;
    if (sign && (key == QLatin1Char('+') || key == QLatin1Char('-')))
        return;
    if (decimal && (key == QLatin1Char('.') || key == QLatin1Char(','))) {
        key = DecimalSeparator();
        return;
    }
    key = QChar();
}

std::optional<QString> SteppedEditText(const QString& text, TEditStepping kind, bool up, bool shift)
{
    if (kind.Decimal) {
        const std::optional<long double> value = StrToFloat(text);
        if (!value)
            return std::nullopt;
        const long double step = shift ? 0.1L : 0.01L;
        long double next = up ? *value + step : *value - step;
        if (kind.Unsigned && next < 0)
            next = 0;
        return FormatFloat("0.00", next);
    }
    const std::optional<int> value = StrToInt(text);
    if (!value)
        return std::nullopt;
    const long long step = shift ? 10 : 1;
    // Kept within what the edit can read back, so that the next step still works.
    long long next = std::clamp<long long>(up ? *value + step : *value - step, INT_MIN, INT_MAX);
    if (kind.Unsigned && next < 0)
        next = 0;
    return QString::number(next);
}

namespace {

bool CtrlHeld() { return KeyShiftState() & Qt::ControlModifier; }

// The device whose frame holds the control, or none.
TDeviceInfo* DeviceOf(QObject* control)
{
    TFrame* frame = OwnerFrame(control);
    return frame ? frame->TagAs<TDeviceInfo>() : nullptr;
}

// The edit's side shown again from the device's image: the edit then reads what is sent.
void ShowStoredSide(TEdit& edit)
{
    TDeviceInfo* device = DeviceOf(&edit);
    if (!device)
        return;
    TUpdatingControls updating;
    const bool request = device->RequestPanel && edit.parentWidget() == device->RequestPanel;
    const TMessageSlot& show = request ? device->RequestToFrame : device->AnswerToFrame;
    if (show)
        show();
}

// A step finer than the field's resolution changes nothing on its own: steps are added until the
// image takes another value, at most this many.
constexpr int MaxStepsPerKey = 1000;

// Up and Down step the edit's value; the edit then shows what the image holds (the grid's text),
// and the caret keeps its distance from the end of the text.
void StepEdit(QObject* sender, int& key, TShiftState shift, TEditStepping kind)
{
    if ((key != Qt::Key_Up && key != Qt::Key_Down) || (shift & Qt::ControlModifier))
        return;
    auto* edit = dynamic_cast<TEdit*>(sender);
    if (!edit)
        return;
    const QString old = edit->Text();
    const bool up = key == Qt::Key_Up;
    const bool big = shift & Qt::ShiftModifier;
    key = 0;
    // No number, or at a bound (0 for unsigned kinds): nothing changes, nothing is stored.
    const std::optional<QString> first = SteppedEditText(old, kind, up, big);
    if (!first || *first == old)
        return;
    const int fromEnd = old.size() - edit->SelStart();
    // From the value sent, as the image shows it, to the next one.
    ShowStoredSide(*edit);
    const QString sent = edit->Text();
    QString stepped = sent;
    for (int i = 0; i < MaxStepsPerKey && edit->Text() == sent; ++i) {
        const std::optional<QString> text = SteppedEditText(stepped, kind, up, big);
        if (!text || *text == stepped)
            break;
        stepped = *text;
        edit->SetText(stepped);   // its OnChange stores the value
        ShowStoredSide(*edit);
    }
    if (edit->Text() != old)
        edit->SetSelStart(std::max<int>(0, edit->Text().size() - fromEnd));
}

}   // namespace

void TMirvane2Form::FrameChange(QObject* Sender)
{
    if (UpdatingControls)
        return;
    TDeviceInfo* device = DeviceOf(Sender);
    auto* control = qobject_cast<QWidget*>(Sender);
    if (!device || !control)
        return;
    TUpdatingControls updating;
    // A frame provides both slots of a side that has edits; a missing one is skipped, not run.
    const bool request = device->RequestPanel && control->parentWidget() == device->RequestPanel;
    device->ForgetShown(request);   // the user's text is on screen now, not the image's
    if (request) {
        if (device->FrameToRequest)
            device->FrameToRequest();
        if (device->RequestToGrid)
            device->RequestToGrid();
    } else {
        if (device->FrameToAnswer)
            device->FrameToAnswer();
        if (device->AnswerToGrid)
            device->AnswerToGrid();
    }
}

void TMirvane2Form::FrameUIntEditKeyPress(QObject*, QChar& Key)
{
    if (!CtrlHeld())
        FilterNumberKey(Key, false, false);
}

void TMirvane2Form::FrameSIntEditKeyPress(QObject*, QChar& Key)
{
    if (!CtrlHeld())
        FilterNumberKey(Key, true, false);
}

void TMirvane2Form::FrameUFloatEditKeyPress(QObject*, QChar& Key)
{
    if (!CtrlHeld())
        FilterNumberKey(Key, false, true);
}

void TMirvane2Form::FrameSFloatEditKeyPress(QObject*, QChar& Key)
{
    if (!CtrlHeld())
        FilterNumberKey(Key, true, true);
}

void TMirvane2Form::FrameUIntEditKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    StepEdit(Sender, Key, Shift, {false, true});
}

void TMirvane2Form::FrameSIntEditKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    StepEdit(Sender, Key, Shift, {false, false});
}

void TMirvane2Form::FrameUFloatEditKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    StepEdit(Sender, Key, Shift, {true, true});
}

void TMirvane2Form::FrameSFloatEditKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    StepEdit(Sender, Key, Shift, {true, false});
}

void TMirvane2Form::FrameUpDownChangingEx(QObject* Sender, bool&, int, TUpDownDirection Direction)
{
    auto* upDown = dynamic_cast<TUpDown*>(Sender);
    auto* edit = upDown ? dynamic_cast<TEdit*>(upDown->TagWidget()) : nullptr;
    if (!edit)
        return;
    // The up-down carries no value of its own: its clicks step the edit as its keys do. At a
    // limit the click comes without a direction; the limit tells which button it was.
    if (Direction == TUpDownDirection::Up || (Direction == TUpDownDirection::None && upDown->Position() == upDown->Max()))
        edit->SendKeyDown(Qt::Key_Up);
    if (Direction == TUpDownDirection::Down || (Direction == TUpDownDirection::None && upDown->Position() == upDown->Min()))
        edit->SendKeyDown(Qt::Key_Down);
}
