// Every catalogue row's frame: a fresh frame's controls are enabled exactly as after a clear of
// each side, and showing a side enables that side only.
#include <algorithm>
#include <map>
#include <gtest/gtest.h>

#include "FrameRig.h"
#include "model/Catalogue.h"

namespace {
std::map<QString, bool> EnabledStates(const QWidget* side)
{
    std::map<QString, bool> states;
    for (TControl* c : Controls(side))
        states[c->Name()] = c->Enabled();
    return states;
}

class FrameStates : public ::testing::TestWithParam<int> {};

// A side its description leaves editable (the terminal's answer) is usable from the start;
// any other side starts as a clear leaves it.
TEST_P(FrameStates, AFreshFrameIsEnabledAsAClearedOneUnlessEditable)
{
    FrameDevice fresh(GetParam());
    FrameDevice cleared(GetParam());
    for (bool request : {true, false}) {
        QWidget* freshSide = request ? fresh.info->RequestPanel.data() : fresh.info->AnswerPanel.data();
        if (!freshSide)
            continue;
        const std::vector<TControl*> freshControls = Controls(freshSide);
        const bool editable = std::any_of(freshControls.begin(), freshControls.end(), [](TControl* c) {
            auto* edit = dynamic_cast<TEdit*>(c);
            return edit && !edit->ReadOnly();
        });
        cleared.info->ShowData(request);
        if (!editable)
            cleared.info->ClearDisplay(request);
        QWidget* clearedSide = request ? cleared.info->RequestPanel.data() : cleared.info->AnswerPanel.data();
        EXPECT_EQ(EnabledStates(freshSide), EnabledStates(clearedSide)) << (request ? "request" : "answer");
    }
}

// A side the device shows is usable throughout.
TEST_P(FrameStates, ShowingASideEnablesIt)
{
    for (bool request : {true, false}) {
        FrameDevice device(GetParam());
        QWidget* shown = request ? device.info->RequestPanel.data() : device.info->AnswerPanel.data();
        if (!shown)
            continue;
        device.info->ShowData(request);
        for (TControl* c : Controls(shown))
            EXPECT_TRUE(c->Enabled()) << c->Name().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCatalogueRow, FrameStates, ::testing::Range(0, DeviceCatalogueCount));
}
