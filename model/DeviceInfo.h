#pragma once
// The run-time device of the open scheme: ties a stored scheme object to its catalogue row, to
// the frame the row's factory makes for it, to its grid row, to its exchange statistics and to
// its 3000 ms watchdog, and holds the eight operation slots through which the line engine and
// the main window move data between the message images, the frame and the grid row without
// knowing the model.
#include <QDeadlineTimer>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "model/Catalogue.h"
#include "model/GridRow.h"
#include "model/RoundBuffer.h"
#include "model/Scheme.h"
#include "platform/Kit.h"

class QTimer;
class THost;

// The main window's handlers that every frame control is bound to.
struct TFrameHandlers {
    QWidget* Owner = nullptr;    // the main window: owner of every frame
    QWidget* Parent = nullptr;   // the scheme panel: parent of every frame
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

// Set while the program itself writes frame controls or grid cells, so that the change
// handlers do not write back. Main thread only.
extern bool UpdatingControls;

// Sets UpdatingControls for a scope and restores what it was.
class TUpdatingControls {
public:
    TUpdatingControls() : saved_(UpdatingControls) { UpdatingControls = true; }
    ~TUpdatingControls() { UpdatingControls = saved_; }
    TUpdatingControls(const TUpdatingControls&) = delete;
    TUpdatingControls& operator=(const TUpdatingControls&) = delete;

private:
    bool saved_;
};

// Edit kinds, by an edit's Tag.
enum : int { EditUInt = 0, EditSInt = 1, EditUFloat = 2, EditSFloat = 3 };

inline constexpr int WatchdogInterval = 3000;   // ms
inline constexpr int AnswerHistorySize = 10;
inline constexpr int AnswerIntervalsSize = 400;

using TGridToMessage = std::function<void(const QString& text, int column)>;
using TMessageSlot = std::function<void()>;

// The eight operation slots of a device, in their fixed order; each empty or a member function
// of the device's frame.
struct TDeviceSlots {
    TGridToMessage GridToRequest;
    TGridToMessage GridToAnswer;
    TMessageSlot FrameToRequest;
    TMessageSlot RequestToFrame;
    TMessageSlot RequestToGrid;
    TMessageSlot FrameToAnswer;
    TMessageSlot AnswerToFrame;
    TMessageSlot AnswerToGrid;
};

class TDeviceInfo : public TDeviceSlots {
public:
    // Main thread. Makes the frame through the object's catalogue row, parents it to the
    // handlers' Parent and binds its controls to the handlers. timerWindow receives the
    // watchdog's expiry (the main window; none: the expiry goes nowhere).
    TDeviceInfo(TSchemeObject* object, const TFrameHandlers* handlers, THost* timerWindow);
    ~TDeviceInfo();
    TDeviceInfo(const TDeviceInfo&) = delete;
    TDeviceInfo& operator=(const TDeviceInfo&) = delete;

    void BindControls(QWidget* panel, const TFrameHandlers* handlers);
    // request = true: the request side (grid column 2, RequestPanel); false: the answer side
    // (grid columns 3 to 6, AnswerPanel).
    void ShowData(bool request);
    void ClearDisplay(bool request);
    void ClearEditors(bool request);
    // Starts the watchdog, or starts its 3000 ms again while it runs.
    void StartTimer();
    void StopTimer();

    // Grid cells of this device's row; without a row, reads give "" and writes do nothing.
    QString GridCell(int column) const;
    void SetGridCell(int column, const QString& text);
    // True when the device has a request editor (its RequestToFrame slot is filled).
    bool HasRequestEditor() const { return static_cast<bool>(RequestToFrame); }
    // True while the watchdog runs.
    bool TimerActive() const;
    // Milliseconds left until the watchdog expires; -1 when it does not run.
    int TimerRemaining() const;

    const TFrameInfo* FrameInfo = nullptr;
    TSchemeObject* SchemeObject = nullptr;
    QPointer<TFrame> Frame;             // owned; guarded, so a frame gone with its parent is not deleted twice
    TGridRow* GridRow = nullptr;        // none until the main window adds the row
    QPointer<QWidget> RequestPanel;     // none in answer-only frames
    QPointer<QWidget> AnswerPanel;
    std::unique_ptr<TRoundBuffer> AnswerHistory;
    std::unique_ptr<TRoundBuffer> AnswerIntervals;
    std::int32_t AnswerCount = 0;
    std::int32_t ExchangeCounter = 0;
    std::int32_t IntervalSum = 0;
    THost* TimerWindow = nullptr;
    TDeviceInfo* TimerId = nullptr;     // this object while the watchdog runs
    std::uint32_t LastAnswerTick = 0;
    std::uint32_t NextShowTick = 0;
    std::uint32_t NextPollTick = 0;
    QString RequestText;
    QString AnswerText;
    // The eight slots (TDeviceSlots): GridToRequest .. AnswerToGrid.

private:
    QWidget* sidePanel(bool request) const;
    void clearSideCells(bool request);
    void watchdogExpired();

    // A restart only moves the deadline (every exchange restarts the watchdog, and restarting a
    // QTimer re-registers it with the event loop); the timer, due at the latest restart's
    // deadline or before, waits out what is left when it fires early.
    std::unique_ptr<QTimer> timer_;
    QDeadlineTimer deadline_;
};

// The frame's name for a device at a line address: "_" and two upper-case hex digits.
QString FrameNameFor(std::uint8_t address);
