#pragma once
// The run-time device of the open scheme: ties a stored scheme object to its catalogue row, to
// the frame the row's factory makes for it, to its grid row, to its exchange statistics and to
// its 3000 ms watchdog, and holds the eight operation slots through which the line engine and
// the main window move data between the message images, the frame and the grid row without
// knowing the model.
#include <QDeadlineTimer>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "model/Catalogue.h"
#include "model/GridRow.h"
#include "model/RoundBuffer.h"
#include "model/Scheme.h"

class QTimer;
class QWidget;
class TFrame;
class THost;

// Where the frames go: the owner and the parent of every frame. The frames' library extends it
// with the window's handlers that the frame controls are bound to (TFrameHandlers), the only
// kind of place there is.
struct TFramePlace {
    QWidget* Owner = nullptr;    // the main window: owner of every frame
    QWidget* Parent = nullptr;   // the scheme panel: parent of every frame

protected:
    TFramePlace() = default;
};

// What a device asks of its frame, so that the model holds the frame without its widgets: the
// frames' base class answers, and registers itself with its device while it is made.
class TDeviceFrame {
public:
    // Names, tags and parents the frame and binds its controls to the place's handlers (none
    // without a place).
    virtual void Place(const QString& name, const TFramePlace* place) = 0;
    // The controls of one side (request = true: the request side): made writable and enabled
    // (ShowData), emptied and disabled (ClearDisplay), emptied (ClearEditors).
    virtual void EnableSide(bool request) = 0;
    virtual void ClearSide(bool request) = 0;
    virtual void EmptySide(bool request) = 0;
    // Deletes the frame.
    virtual void Discard() = 0;
    // True for a frame that takes each request shown as more of a stream (a terminal's text):
    // it must be shown every request, also one equal to the last.
    virtual bool TakesEveryRequest() const { return false; }

protected:
    ~TDeviceFrame() = default;
};

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
    // place's Parent and binds its controls to the place's handlers. timerWindow receives the
    // watchdog's expiry (the main window; none: the expiry goes nowhere).
    TDeviceInfo(TSchemeObject* object, const TFramePlace* place, THost* timerWindow);
    ~TDeviceInfo();
    TDeviceInfo(const TDeviceInfo&) = delete;
    TDeviceInfo& operator=(const TDeviceInfo&) = delete;

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
    // Its frame takes every request (TDeviceFrame::TakesEveryRequest).
    bool TakesEveryRequest() const { return View && View->TakesEveryRequest(); }
    // A side's grid cells and frame controls are built from both images. The hand-off notes the
    // images it built a side from (SideShown); while that side shows them (SideShows), an
    // exchange that leaves both images as they were has nothing to rewrite. Showing or clearing
    // the side any other way forgets the note.
    bool SideShows(bool request) const;
    void SideShown(bool request);
    void ForgetShown(bool request) { shown_[request ? 0 : 1].Known = false; }
    // True while the watchdog runs.
    bool TimerActive() const;
    // Milliseconds left until the watchdog expires; -1 when it does not run.
    int TimerRemaining() const;

    const TFrameInfo* FrameInfo = nullptr;
    TSchemeObject* SchemeObject = nullptr;
    QPointer<TFrame> Frame;           // owned, through View; set by the frame while it is made
    TDeviceFrame* View = nullptr;     // the frame, as this device asks it; none once it is gone
    TGridRow* GridRow = nullptr;      // none until the main window adds the row
    QPointer<QWidget> RequestPanel;   // none in answer-only frames
    QPointer<QWidget> AnswerPanel;
    std::unique_ptr<TRoundBuffer> AnswerHistory;
    std::unique_ptr<TRoundBuffer> AnswerIntervals;
    std::int32_t AnswerCount = 0;
    std::int32_t ExchangeCounter = 0;
    std::int32_t IntervalSum = 0;
    THost* TimerWindow = nullptr;
    TDeviceInfo* TimerId = nullptr;   // this object while the watchdog runs
    std::uint32_t LastAnswerTick = 0;
    std::uint32_t NextShowTick = 0;
    std::uint32_t NextPollTick = 0;
    QString RequestText;
    QString AnswerText;
    // The eight slots (TDeviceSlots): GridToRequest .. AnswerToGrid.

private:
    struct TShownImages {
        bool Known = false;
        TMessageImage Request{};
        TMessageImage Answer{};
    };

    void clearSideCells(bool request);
    void watchdogExpired();

    // A restart only moves the deadline (every exchange restarts the watchdog, and restarting a
    // QTimer re-registers it with the event loop); the timer, due at the latest restart's
    // deadline or before, waits out what is left when it fires early.
    std::unique_ptr<QTimer> timer_;
    QDeadlineTimer deadline_;
    std::array<TShownImages, 2> shown_{};   // request side, answer side
};

// The frame's name for a device at a line address: "_" and two upper-case hex digits.
QString FrameNameFor(std::uint8_t address);
