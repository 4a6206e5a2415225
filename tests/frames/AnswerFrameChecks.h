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

// The answer `body` shown through the slots: grid columns 3 to 6, then the info line.
inline std::vector<QString> ShowBody(FrameDevice& device, const Body& body)
{
    SetBody(device.Answer(), body);
    device.ShowAnswer();
    const TStringsRow& g = device.grid;
    return {g.Cell(3), g.Cell(4), g.Cell(5), g.Cell(6), DeviceCatalogue[device.catalogueRow].DescribeAnswer(device.Answer().data())};
}
// The body after a grid cell of `column` is typed over `before`.
inline Body AfterCell(FrameDevice& device, const Body& before, int column, const QString& text)
{
    SetBody(device.Answer(), before);
    device.info->GridToAnswer(text, column);
    return BodyOf(device.Answer(), before.size());
}

// The body built by the frame over `before`; the XOR byte after it is the line engine's.
inline Body BuildOver(FrameDevice& device, const Body& before)
{
    SetBody(device.Answer(), before);
    device.BuildAnswer();
    EXPECT_EQ(device.Answer()[before.size() + 1], 0) << "the XOR byte belongs to the line engine";
    return BodyOf(device.Answer(), before.size());
}

// Control states as plain values, in the order given, and back.
inline std::vector<QString> EditTexts(const std::vector<TEdit*>& edits)
{
    std::vector<QString> texts;
    for (const TEdit* edit : edits)
        texts.push_back(edit->Text());
    return texts;
}
inline void SetEditTexts(const std::vector<TEdit*>& edits, const std::vector<QString>& texts)
{
    for (std::size_t i = 0; i < edits.size(); ++i)
        edits[i]->SetText(texts[i]);
}
inline std::vector<int> ComboIndexes(const std::vector<TComboBox*>& combos)
{
    std::vector<int> items;
    for (const TComboBox* combo : combos)
        items.push_back(combo->ItemIndex());
    return items;
}
inline void SetComboIndexes(const std::vector<TComboBox*>& combos, const std::vector<int>& items)
{
    for (std::size_t i = 0; i < combos.size(); ++i)
        combos[i]->SetItemIndex(items[i]);
}
inline std::vector<bool> BoxStates(const std::vector<TCheckBox*>& boxes)
{
    std::vector<bool> states;
    for (const TCheckBox* box : boxes)
        states.push_back(box->Checked());
    return states;
}
inline void SetBoxStates(const std::vector<TCheckBox*>& boxes, const std::vector<bool>& states)
{
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->SetChecked(states[i]);
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
