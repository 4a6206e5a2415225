// The field rules where they meet an edit and a grid row.
#include "frames/shared/FieldControls.h"
#include "FrameRig.h"

#include <gtest/gtest.h>

TEST(ReadWrappedEdit, WrapsIntoTheRangeAndShowsTheWrappedValue)
{
    const auto twoPlaces = [](long double v) { return FormatFloat("0.00", v); };
    const auto whole = [](long double v) { return FormatFloat("0", v); };
    struct Row { const char* text; double low, high; std::optional<long double> value; const char* shown; };
    const Row rows[] = {
        {"190", -180, 180, -170.0L, "-170.00"},
        {"360", 0, 360, 0.0L, "0.00"},
        {"12.5", 0, 360, 12.5L, "12.5"},     // inside the range: the text is left as typed
        {"abc", 0, 360, std::nullopt, "abc"},
    };
    for (const Row& r : rows) {
        TEdit edit;
        edit.SetText(r.text);
        EXPECT_EQ(ReadWrappedEdit(edit, r.low, r.high, twoPlaces), r.value) << r.text;
        EXPECT_EQ(edit.Text(), r.shown) << r.text;
    }
    TEdit edit;
    edit.SetText("300");
    EXPECT_EQ(ReadWrappedEdit(edit, 0, 256, whole), 44.0L);
    EXPECT_EQ(edit.Text(), "44");
}

TEST(WriteCell, WritesOnlyChangedTextsAndOnlyIntoAnExistingRow)
{
    FrameDevice device(27);
    WriteCell(*device.info, 3, "1.00");
    WriteCell(*device.info, 3, "1.00");
    WriteCell(*device.info, 3, "2.00");
    EXPECT_EQ(device.grid.Writes[3], 2);
    EXPECT_EQ(device.grid.Cell(3), "2.00");

    FrameDevice rowless(27, false);
    WriteCell(*rowless.info, 3, "1.00");   // no row yet: nothing to write, nothing breaks
    EXPECT_EQ(rowless.info->GridCell(3), "");
}

TEST(CheckBoxes, GatheredIntoTheirPartAndShownBack)
{
    TCheckBox a, b, c;
    a.SetChecked(true);
    c.SetChecked(true);
    TMessageImage image{};
    image[2] = 0xFF;
    StoreCheckBoxes(image, Bits{2, 4, 3}, {&a, &b, &c});
    EXPECT_EQ(image[2], 0xDF);   // bits 4-6 cleared, then 4 and 6 set; the rest stays

    image[2] = 0x20;
    ShowCheckBoxes(image, Bits{2, 4, 3}, {&a, &b, &c});
    EXPECT_FALSE(a.Checked());
    EXPECT_TRUE(b.Checked());
    EXPECT_FALSE(c.Checked());
}
