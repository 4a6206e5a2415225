#include "model/DeviceInfo.h"

#include <QTimer>

#include "model/Helpers.h"
#include "model/Host.h"

TFrameHandlers FrameHandlers;
bool UpdatingControls = false;

QString FrameNameFor(std::uint8_t address)
{
    return QStringLiteral("_%1").arg(address, 2, 16, QLatin1Char('0')).toUpper();
}

TDeviceInfo::TDeviceInfo(TSchemeObject* object, const TFrameHandlers* handlers, THost* timerWindow)
    : FrameInfo(&DeviceCatalogue[IsValidType(object->Type) ? object->Type : 0]), SchemeObject(object)
{
    // The frame fills the slots and the panel fields while it is made.
    if (FrameInfo->CreateFrame)
        Frame = FrameInfo->CreateFrame(handlers ? handlers->Owner : nullptr, this);
    if (Frame) {
        Frame->SetName(FrameNameFor(FrameInfo->Address));
        Frame->SetTag(this);
    }
    AnswerHistory = std::make_unique<TRoundBuffer>(AnswerHistorySize);
    AnswerIntervals = std::make_unique<TRoundBuffer>(AnswerIntervalsSize);
    TimerWindow = timerWindow;
    timer_ = std::make_unique<QTimer>();
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);   // a coarse timer may fire 5 % early
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { watchdogExpired(); });
    if (Frame && handlers)
        Frame->SetParent(handlers->Parent);
    if (RequestPanel)
        BindControls(RequestPanel, handlers);
    if (AnswerPanel)
        BindControls(AnswerPanel, handlers);
}

TDeviceInfo::~TDeviceInfo()
{
    delete Frame.data();   // none when the widget tree took it first
    StopTimer();
}

void TDeviceInfo::BindControls(QWidget* panel, const TFrameHandlers* handlers)
{
    if (!panel || !handlers)
        return;
    for (TControl* control : Controls(panel)) {
        if (control->ClassNameIs("TEdit")) {
            auto* edit = static_cast<TEdit*>(control);
            edit->OnChange = handlers->OnChange;
            switch (edit->Tag) {
            case EditUInt: edit->OnKeyPress = handlers->OnUIntKeyPress; edit->OnKeyDown = handlers->OnUIntKeyDown; break;
            case EditSInt: edit->OnKeyPress = handlers->OnSIntKeyPress; edit->OnKeyDown = handlers->OnSIntKeyDown; break;
            case EditUFloat: edit->OnKeyPress = handlers->OnUFloatKeyPress; edit->OnKeyDown = handlers->OnUFloatKeyDown; break;
            case EditSFloat: edit->OnKeyPress = handlers->OnSFloatKeyPress; edit->OnKeyDown = handlers->OnSFloatKeyDown; break;
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

QWidget* TDeviceInfo::sidePanel(bool request) const { return request ? RequestPanel.data() : AnswerPanel.data(); }

void TDeviceInfo::clearSideCells(bool request)
{
    if (request) {
        SetGridCell(2, QString());
    } else {
        for (int column = 3; column <= 6; ++column)
            SetGridCell(column, QString());
    }
}

void TDeviceInfo::ShowData(bool request)
{
    TUpdatingControls updating;
    if (request) {
        if (RequestToFrame) {
            if (RequestToGrid)
                RequestToGrid();
            RequestToFrame();
        } else {
            SetGridCell(2, NoValueText);
        }
    } else {
        // Every frame has an answer side; the presence tests only guard a frame under construction.
        if (AnswerToGrid)
            AnswerToGrid();
        if (AnswerToFrame)
            AnswerToFrame();
    }
    for (TControl* control : Controls(sidePanel(request))) {
        if (auto* edit = dynamic_cast<TEdit*>(control))
            edit->SetReadOnly(false);
        control->SetEnabled(true);
    }
}

void TDeviceInfo::ClearDisplay(bool request)
{
    TUpdatingControls updating;
    clearSideCells(request);
    for (TControl* control : Controls(sidePanel(request))) {
        if (auto* edit = dynamic_cast<TEdit*>(control)) {
            edit->SetReadOnly(false);
            edit->SetText(QString());
        } else if (auto* combo = dynamic_cast<TComboBox*>(control)) {
            combo->SetEnabled(false);
            combo->SetItemIndex(-1);
        } else {
            control->SetEnabled(false);
        }
    }
}

void TDeviceInfo::ClearEditors(bool request)
{
    TUpdatingControls updating;
    clearSideCells(request);
    for (TControl* control : Controls(sidePanel(request))) {
        if (control->ClassNameIs("TEdit"))
            static_cast<TEdit*>(control)->SetText(QString());
        else if (control->ClassNameIs("TCheckBox"))
            static_cast<TCheckBox*>(control)->SetChecked(false);
        else if (control->ClassNameIs("TComboBox"))
            static_cast<TComboBox*>(control)->SetItemIndex(-1);
    }
}

void TDeviceInfo::StartTimer()
{
    TimerId = this;
    deadline_.setRemainingTime(WatchdogInterval, Qt::PreciseTimer);
    if (!timer_->isActive())
        timer_->start(WatchdogInterval);
}

void TDeviceInfo::StopTimer()
{
    if (!TimerId)
        return;
    timer_->stop();
    TimerId = nullptr;
}

bool TDeviceInfo::TimerActive() const { return timer_->isActive(); }
int TDeviceInfo::TimerRemaining() const
{
    return timer_->isActive() ? static_cast<int>(deadline_.remainingTime()) : -1;
}

void TDeviceInfo::watchdogExpired()
{
    if (const qint64 left = deadline_.remainingTime(); left > 0) {
        timer_->start(static_cast<int>(left));   // restarted since the timer was set
        return;
    }
    // The timer dies with the device, so an expiry always finds it alive.
    if (TimerWindow)
        TimerWindow->WMTimer(this);
}

QString TDeviceInfo::GridCell(int column) const { return GridRow ? GridRow->Cell(column) : QString(); }

void TDeviceInfo::SetGridCell(int column, const QString& text)
{
    if (GridRow)
        GridRow->SetCell(column, text);
}
