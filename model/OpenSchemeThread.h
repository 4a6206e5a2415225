#pragma once
// Builds the run-time devices of a scheme being opened, one per line address, and moves the
// progress slit of the status bar.
//
// The walk runs as a chain of steps queued on the main thread rather than on a worker thread
// that waits for synchronized steps: every step reads the scheme and writes the device lists
// where the window does, so it can neither deadlock with the main thread nor read a scheme that
// was freed once the walk is terminated. Between two steps the event loop runs, so the window
// stays responsive while the frames are made.
#include <QObject>
#include <cstdint>
#include <functional>

#include "model/Catalogue.h"
#include "model/DeviceInfo.h"
#include "model/Scheme.h"

class THost;

class TOpenSchemeThread : public QObject {
    Q_OBJECT
public:
    // Created suspended, like the thread it stands for: the creator sets Scheme, MainWindow,
    // Handlers, FreeOnTerminate and OnTerminate, then calls Resume.
    TOpenSchemeThread();
    ~TOpenSchemeThread() override;

    TSchemeObject* CurObject = nullptr;         // the object being created
    const TFrameInfo* CurFrameInfo = nullptr;   // its catalogue row
    std::int32_t ProgressX = 0;                 // x of the progress slit for the current object
    TDeviceScheme* Scheme = nullptr;            // the scheme to open
    THost* MainWindow = nullptr;                // the window: device lists, watchdogs, status bar
    const TFramePlace* Handlers = nullptr;      // where the frames go (the window's FrameHandlers)

    bool FreeOnTerminate = false;
    // Runs on the main thread once the walk has ended, finished or terminated, never inside
    // Resume or Terminate.
    std::function<void(TOpenSchemeThread*)> OnTerminate;

    void Resume();
    // Asks the walk to stop: no object is created after this call.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Finished() const { return finished_; }

    // The walk: one object per step, each step queued after the previous one. A step that
    // throws ends the walk (OnTerminate runs, the devices made so far stay) and the exception
    // goes on to the caller.
    void Execute();
    // Creates the device of CurObject and records the progress (main thread).
    void AddDevice();

    // trunc(W0 + (W1 - 6) * (i + 1) / count + 3.5), the product in integers.
    static std::int32_t ProgressPosition(int w0, int w1, int index, int count);

private:
    void queueStep();
    void step();
    void finish();

    int index_ = 0;
    bool started_ = false;
    bool terminated_ = false;
    bool finished_ = false;
};
