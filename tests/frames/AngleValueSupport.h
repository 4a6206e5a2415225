#pragma once
// Shared by the tests of the angle-and-length and the azimuth frames: their rows bound over the
// placeholders, and the answer body read and written as a list of bytes.
#include "frames/AzimuthA.h"
#include "frames/AzimuthB.h"
#include "frames/AzimuthC.h"
#include "frames/BoomLengthA.h"
#include "frames/BoomLengthB.h"
#include "frames/BoomLengthC.h"
#include "frames/TravelG.h"
#include "FrameDevice.h"

#include <vector>

// The fixture registers the catalogue once, with its first device; these rows are bound after it.
inline void BindAngleValueRows()
{
    static const bool bound = [] {
        { FrameDevice first(13); }
        RegisterBoomLengthAFrames();
        RegisterBoomLengthBFrames();
        RegisterBoomLengthCFrames();
        RegisterTravelGFrames();
        RegisterAzimuthAFrames();
        RegisterAzimuthBFrames();
        RegisterAzimuthCFrames();
        return true;
    }();
    (void)bound;
}

using Body = std::vector<int>;   // the answer's body bytes, from byte 1

inline void SetBody(TMessageImage& answer, const Body& body)
{
    for (std::size_t i = 0; i < body.size(); ++i)
        answer[i + 1] = static_cast<std::uint8_t>(body[i]);
}

inline Body BodyOf(const TMessageImage& answer, std::size_t count)
{
    return Body(answer.begin() + 1, answer.begin() + 1 + static_cast<std::ptrdiff_t>(count));
}

inline std::vector<QString> ControlNames(const QWidget* panel)
{
    std::vector<QString> names;
    for (const TControl* control : Controls(panel))
        names.push_back(control->Name());
    return names;
}

// A row's device with its frame bound and shown the body, as after an exchange.
struct ShownDevice {
    explicit ShownDevice(int row, const Body& body) : device((BindAngleValueRows(), row))
    {
        SetBody(device.Answer(), body);
        device.ShowAnswer();
    }
    TAngleValueFrame& frame() { return device.Frame<TAngleValueFrame>(); }
    FrameDevice device;
};
