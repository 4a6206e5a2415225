#pragma once
// Shared by the tests of the angle-and-length and the azimuth frames: their rows bound after the
// start-up set, and the three tables every such frame is checked with.
#include "frames/AzimuthA.h"
#include "frames/AzimuthB.h"
#include "frames/AzimuthC.h"
#include "frames/BoomLengthA.h"
#include "frames/BoomLengthB.h"
#include "frames/BoomLengthC.h"
#include "frames/TravelG.h"
#include "AnswerFrameChecks.h"

#include <string>

inline void RegisterAngleValueRows()
{
    for (void (*bind)() : {RegisterBoomLengthAFrames, RegisterBoomLengthBFrames, RegisterBoomLengthCFrames,
                           RegisterTravelGFrames, RegisterAzimuthAFrames, RegisterAzimuthBFrames, RegisterAzimuthCFrames})
        bind();
}

inline std::size_t BodySize(int row) { return static_cast<std::size_t>(DeviceCatalogue[row].AnswerLength - 2); }

// A row's device with the body shown in its frame and grid, as after an exchange.
struct ShownDevice {
    ShownDevice(int row, const Body& body) : device((BindAfterStart(RegisterAngleValueRows), row))
    {
        SetBody(device.Answer(), body);
        device.ShowAnswer();
    }
    TAngleValueFrame& frame() { return device.Frame<TAngleValueFrame>(); }
    FrameDevice device;
};

// Body -> edits, combos (item2 -1 without a second input), grid columns 3-6 and the info line.
struct ShownRow { int row; Body body; const char *angle, *second; int item1, item2; const char *inputs, *line; };
inline void ExpectShown(const ShownRow& r)
{
    SCOPED_TRACE("row " + std::to_string(r.row) + ": " + r.line);
    ShownDevice shown(r.row, r.body);
    TAngleValueFrame& frame = shown.frame();
    EXPECT_EQ(frame.ANGEdit->Text(), r.angle);
    EXPECT_EQ(frame.SecondEdit->Text(), r.second);
    EXPECT_EQ(frame.IN1ComboBox->ItemIndex(), r.item1);
    EXPECT_EQ(frame.IN2ComboBox ? frame.IN2ComboBox->ItemIndex() : -1, r.item2);
    const TStringsRow& grid = shown.device.grid;
    EXPECT_EQ((std::vector<QString>{grid.Cell(3), grid.Cell(4), grid.Cell(5), grid.Cell(6)}),
              (std::vector<QString>{r.angle, r.second, r.inputs, "-"}));
    EXPECT_EQ(DeviceCatalogue[r.row].DescribeAnswer(shown.device.Answer().data()), r.line);
}

// Edits and combos -> body, with the edits as they read afterwards (wrapped values rewritten).
struct TypedRow {
    int row; Body before; const char *angle, *second; int item1, item2; Body after; const char *angleShown, *secondShown;
};
inline void ExpectTyped(const TypedRow& r)
{
    SCOPED_TRACE("row " + std::to_string(r.row) + ": " + r.angle + " / " + r.second);
    ShownDevice shown(r.row, r.before);
    TAngleValueFrame& frame = shown.frame();
    {
        TUpdatingControls updating;
        frame.ANGEdit->SetText(r.angle);
        frame.SecondEdit->SetText(r.second);
        frame.IN1ComboBox->SetItemIndex(r.item1);
        if (frame.IN2ComboBox)
            frame.IN2ComboBox->SetItemIndex(r.item2);
    }
    shown.device.BuildAnswer();
    EXPECT_EQ(BodyOf(shown.device.Answer(), BodySize(r.row)), r.after);
    EXPECT_EQ(frame.ANGEdit->Text(), r.angleShown);
    EXPECT_EQ(frame.SecondEdit->Text(), r.secondShown);
}

// A grid cell -> body; cells are never wrapped.
struct CellRow { int row; Body before; int column; const char* text; Body after; };
inline void ExpectCell(const CellRow& r)
{
    SCOPED_TRACE("row " + std::to_string(r.row) + ": " + std::to_string(r.column) + " '" + r.text + "'");
    ShownDevice shown(r.row, r.before);
    shown.device.info->GridToAnswer(r.text, r.column);
    EXPECT_EQ(BodyOf(shown.device.Answer(), BodySize(r.row)), r.after);
}
