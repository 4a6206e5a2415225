#pragma once
// What the tests of the answer-only frames share: the unit's rows bound after the start-up set,
// the answer body as a list of bytes, the answer panel's controls by name, and the slot pattern.
#include "FrameDevice.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// FrameDevice binds the start-up set on its first use, which would cover a unit's own rows
// again: this runs the start-up binding first, then binds the unit's rows.
inline void BindAfterStart(void (*registerUnit)())
{
    static const bool started = [] {
        FrameDevice warmUp(53, false);   // the clock: a finished, stable frame
        return true;
    }();
    (void)started;
    registerUnit();
}

using Body = std::vector<std::uint8_t>;

inline void SetBody(TMessageImage& image, const Body& body)
{
    for (std::size_t i = 0; i < body.size(); ++i)
        image[i + 1] = body[i];
}
inline Body BodyOf(const TMessageImage& image, std::size_t length)
{
    return Body(image.begin() + 1, image.begin() + 1 + static_cast<std::ptrdiff_t>(length));
}

inline std::vector<QString> ControlNames(QWidget* panel)
{
    std::vector<QString> names;
    for (const TControl* control : Controls(panel))
        names.push_back(control->Name());
    return names;
}

// Answer-only: the four answer slots, no request side, the answer panel is InPanel.
inline void ExpectAnswerOnly(const TDeviceInfo& info, const TFrameBase& frame)
{
    EXPECT_TRUE(info.GridToAnswer && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
    EXPECT_FALSE(info.GridToRequest || info.FrameToRequest || info.RequestToFrame || info.RequestToGrid);
    EXPECT_EQ(info.RequestPanel, nullptr);
    EXPECT_EQ(info.AnswerPanel, frame.InPanel);
    EXPECT_EQ(frame.Panel1, nullptr);
    EXPECT_EQ(frame.Panel2->Caption(), " Ответ");
}

// An up-down lies over its edit and steps it; the edit holds numbers of `kind`.
inline void ExpectStepper(const TEdit* edit, const TUpDown* upDown, int kind, int min, int max, bool wrap)
{
    EXPECT_EQ(edit->Tag, kind) << edit->Name().toStdString();
    EXPECT_TRUE(edit->ReadOnly()) << edit->Name().toStdString();
    EXPECT_EQ(upDown->TagWidget(), edit) << upDown->Name().toStdString();
    EXPECT_FALSE(upDown->Enabled()) << upDown->Name().toStdString();
    EXPECT_EQ(upDown->Min(), min) << upDown->Name().toStdString();
    EXPECT_EQ(upDown->Max(), max) << upDown->Name().toStdString();
    EXPECT_EQ(upDown->Wrap(), wrap) << upDown->Name().toStdString();
}
