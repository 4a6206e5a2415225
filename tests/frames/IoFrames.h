#pragma once
// Helpers of the tests of the switched block frames: their classes bound over the start-up
// placeholders, message bodies as byte lists, and the names of a panel's controls.
#include "FrameDevice.h"
#include "frames/Fields.h"
#include "frames/IoBlockB.h"
#include "frames/IoBlockC.h"
#include "frames/IoBlockD.h"
#include "frames/LineProximityB.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

// FrameDevice binds the start-up classes on first use; ours go over them afterwards.
inline void BindSwitchedBlockFrames()
{
    static const bool bound = [] {
        { FrameDevice warmUp(0, false); }
        RegisterIoBlockBFrames();
        RegisterIoBlockCFrames();
        RegisterIoBlockDFrames();
        RegisterLineProximityBFrames();
        return true;
    }();
    (void)bound;
}

using Bytes = std::vector<std::uint8_t>;

inline void SetBody(TMessageImage& image, const Bytes& body)
{
    for (std::size_t i = 0; i < body.size(); ++i)
        image[i + 1] = body[i];
}
inline Bytes Body(const TMessageImage& image, std::size_t length)
{
    return Bytes(image.begin() + 1, image.begin() + 1 + static_cast<std::ptrdiff_t>(length));
}
// A decoder's view of a body: byte 0 the address byte.
inline TMessageImage Message(std::uint8_t address, const Bytes& body)
{
    TMessageImage image{};
    image[0] = address;
    SetBody(image, body);
    return image;
}

inline std::vector<std::string> ControlNames(const QWidget* panel)
{
    std::vector<std::string> names;
    for (const TControl* control : Controls(panel))
        names.push_back(control->Name().toStdString());
    return names;
}

// The request side as the program shows it after an exchange, and builds it after a change.
inline void ShowRequest(FrameDevice& device)
{
    TUpdatingControls updating;
    device.info->RequestToGrid();
    device.info->RequestToFrame();
}
inline void BuildRequest(FrameDevice& device)
{
    TUpdatingControls updating;
    device.info->FrameToRequest();
    device.info->RequestToGrid();
}

// Every frame of these blocks has both sides and all eight slots.
inline void ExpectRequestAndAnswerSlots(const FrameDevice& device, const QWidget* outPanel, const QWidget* inPanel)
{
    const TDeviceInfo& info = *device.info;
    EXPECT_TRUE(info.GridToRequest && info.GridToAnswer && info.FrameToRequest && info.RequestToFrame &&
                info.RequestToGrid && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
    EXPECT_EQ(info.RequestPanel, outPanel);
    EXPECT_EQ(info.AnswerPanel, inPanel);
}

// Edits read-only, every other control of a side disabled, until the device has data.
inline void ExpectSideWaitsForData(const QWidget* panel)
{
    for (TControl* control : Controls(panel)) {
        QWidget* widget = control->Widget();
        if (auto* edit = dynamic_cast<TEdit*>(widget)) {
            EXPECT_TRUE(edit->ReadOnly()) << control->Name().toStdString();
        } else if (dynamic_cast<TCheckBox*>(widget) || dynamic_cast<TComboBox*>(widget) ||
                   dynamic_cast<TUpDown*>(widget)) {
            EXPECT_FALSE(widget->isEnabled()) << control->Name().toStdString();
        }
    }
}
