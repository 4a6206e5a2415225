#include "model/OpenSchemeThread.h"

#include <QTimer>
#include <cmath>

#include "model/Host.h"

TOpenSchemeThread::TOpenSchemeThread() = default;
TOpenSchemeThread::~TOpenSchemeThread() = default;

std::int32_t TOpenSchemeThread::ProgressPosition(int w0, int w1, int index, int count)
{
    const long long product = static_cast<long long>(w1 - 6) * (index + 1);
    return static_cast<std::int32_t>(std::trunc(w0 + static_cast<double>(product) / count + 3.5));
}

void TOpenSchemeThread::Resume()
{
    if (started_)
        return;
    started_ = true;
    queueStep();
}

void TOpenSchemeThread::queueStep()
{
    // Queued with this object as context: a step of a destroyed walk never runs.
    QTimer::singleShot(0, this, [this] { Execute(); });
}

void TOpenSchemeThread::Execute()
{
    if (finished_)
        return;
    if (terminated_ || !Scheme || !MainWindow || index_ >= static_cast<int>(Scheme->Objects.size())) {
        finish();
        return;
    }
    try {
        step();
    } catch (...) {
        // A walk that stopped here would hold the window for good (the receive thread paused,
        // the line modes disabled, a close waiting): it ends as a walk does, and the failure
        // goes on to be shown.
        finish();
        throw;
    }
    ++index_;
    queueStep();
}

void TOpenSchemeThread::step()
{
    const int count = static_cast<int>(Scheme->Objects.size());
    ProgressX = ProgressPosition(MainWindow->Status().PanelWidth(0), MainWindow->Status().PanelWidth(1), index_, count);
    CurObject = Scheme->Objects[index_].get();
    CurFrameInfo = IsValidType(CurObject->Type) ? &DeviceCatalogue[CurObject->Type] : nullptr;
    // Of several objects at one address only the first gets a device.
    if (CurFrameInfo && !MainWindow->DevicesByAddr()[CurFrameInfo->Address])
        AddDevice();
}

void TOpenSchemeThread::AddDevice()
{
    // A step that comes after Terminate belongs to a scheme the window has left.
    if (terminated_ || !MainWindow || !CurObject || !CurFrameInfo)
        return;
    auto device = std::make_unique<TDeviceInfo>(CurObject, Handlers, MainWindow);
    TDeviceInfo* added = device.get();
    MainWindow->Devices().push_back(std::move(device));
    MainWindow->DevicesByAddr()[CurFrameInfo->Address] = added;
    MainWindow->Status().ShowProgress(ProgressX);
}

void TOpenSchemeThread::finish()
{
    finished_ = true;
    CurObject = nullptr;
    CurFrameInfo = nullptr;
    if (OnTerminate)
        OnTerminate(this);
    if (FreeOnTerminate)
        deleteLater();
}
