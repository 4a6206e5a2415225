#include "model/DeviceInfo.h"

#include <QTimer>

#include "model/Helpers.h"
#include "model/Host.h"

bool UpdatingControls = false;

QString FrameNameFor(std::uint8_t address)
{
    return QStringLiteral("_%1").arg(address, 2, 16, QLatin1Char('0')).toUpper();
}

TDeviceInfo::TDeviceInfo(TSchemeObject* object, const TFramePlace* place, THost* timerWindow)
    : FrameInfo(&DeviceCatalogue[IsValidType(object->Type) ? object->Type : 0]), SchemeObject(object)
{
    // The frame fills Frame, View, the slots and the panel fields while it is made.
    if (FrameInfo->CreateFrame)
        FrameInfo->CreateFrame(place ? place->Owner : nullptr, this);
    if (View)
        View->Place(FrameNameFor(FrameInfo->Address), place);
    AnswerHistory = std::make_unique<TRoundBuffer>(AnswerHistorySize);
    AnswerIntervals = std::make_unique<TRoundBuffer>(AnswerIntervalsSize);
    TimerWindow = timerWindow;
    timer_ = std::make_unique<QTimer>();
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);   // a coarse timer may fire 5 % early
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { watchdogExpired(); });
}

TDeviceInfo::~TDeviceInfo()
{
    if (View)
        View->Discard();   // none when the widget tree took the frame first
    StopTimer();
}

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
    ForgetShown(request);
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
    if (View)
        View->EnableSide(request);
}

void TDeviceInfo::ClearDisplay(bool request)
{
    TUpdatingControls updating;
    ForgetShown(request);
    clearSideCells(request);
    if (View)
        View->ClearSide(request);
}

void TDeviceInfo::ClearEditors(bool request)
{
    TUpdatingControls updating;
    ForgetShown(request);
    clearSideCells(request);
    if (View)
        View->EmptySide(request);
}

bool TDeviceInfo::SideShows(bool request) const
{
    const TShownImages& shown = shown_[request ? 0 : 1];
    return shown.Known && shown.Request == SchemeObject->Request && shown.Answer == SchemeObject->Answer;
}

void TDeviceInfo::SideShown(bool request)
{
    TShownImages& shown = shown_[request ? 0 : 1];
    shown = {true, SchemeObject->Request, SchemeObject->Answer};
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
