// The logic controller on its catalogue row: limiters and locks in the request, drives and status
// flags in the answer, between body, frame, grid and info line.
#include "frames/LogicController.h"
#include "FrameRig.h"

namespace {
constexpr int Row = 63;

struct Device : FrameDevice {
    Device() : FrameDevice(Row) {}
    TLogicControllerFrame& f() { return Frame<TLogicControllerFrame>(); }
    // RA..RD, LA..LD, boom mode, crane type; then the locks kvg, gps, vps, sts.
    std::vector<TComboBox*> RequestCombos()
    {
        return {f().raBox, f().rbBox, f().rcBox, f().rdBox, f().laBox, f().lbBox, f().lcBox, f().ldBox, f().stModeBox, f().craneTypeBox};
    }
    std::vector<TCheckBox*> Locks() { return {f().kvgCheck, f().gpsCheck, f().vpsCheck, f().stsCheck}; }
    // GP, VP, ST, POV, LG, PG, work mode, joystick mode; then GP_kan, VP_kan, ST_kan, P_low,
    // nft2, nft1, motoclk_dis, gns_state.
    std::vector<TComboBox*> AnswerCombos()
    {
        return {f().gpBox, f().vpBox, f().stBox, f().povBox, f().lgBox, f().pgBox, f().workModeBox, f().joystickModeBox};
    }
    std::vector<TCheckBox*> Flags()
    {
        return {f().gpKanCheck, f().vpKanCheck, f().stKanCheck, f().pLowCheck,
                f().nftCrash2Check, f().nftCrash1Check, f().motoHoursDisableCheckBox, f().groundDisableCheckBox};
    }
    Body BuildRequest(const Body& before)
    {
        SetBody(object.Request, before);
        Build(true);
        EXPECT_EQ(object.Request[4], 0) << "the XOR byte belongs to the line engine";
        EXPECT_EQ(grid.Writes[2], 0) << "the grid shows nothing of the request";
        return BodyOf(object.Request, 3);
    }
};
}

TEST(LogicControllerFrame, RequestBetweenBodyAndFrame)
{
    struct Case { Body before; std::vector<int> combos; std::vector<bool> locks; Body body; };
    const Case cases[] = {
        {{0, 0, 0}, {1, 2, 3, 0, 3, 2, 1, 0, 1, 1}, {true, false, true, false}, {0x39, 0x1B, 0x8B}},
        // A cleared editor (no selection) must not send "без ограничения" (code 3) or stray bits:
        // it adds nothing; only the crane type reads any index but 0 as Crane-2.
        {{0xFF, 0xFF, 0xFF}, std::vector<int>(10, -1), {false, false, false, false}, {0x00, 0x00, 0x80}},
    };
    for (const Case& c : cases) {
        Device device;
        SetValues(device.RequestCombos(), c.combos);
        SetValues(device.Locks(), c.locks);
        EXPECT_EQ(device.BuildRequest(c.before), c.body);
    }

    // Shown and built back: the same body, less the unused bits 5 and 6 of byte 3.
    Device device;
    SetBody(device.object.Request, {0xFF, 0xFF, 0xFF});
    device.info->RequestToFrame();
    EXPECT_EQ(Values(device.RequestCombos()), (std::vector<int>{3, 3, 3, 3, 3, 3, 3, 3, 1, 1}));
    EXPECT_EQ(Values(device.Locks()), std::vector<bool>(4, true));
    EXPECT_EQ(device.BuildRequest({0, 0, 0}), (Body{0xFF, 0xFF, 0x9F}));
}

TEST(LogicControllerFrame, AnswerShownInFrameGridAndInfoLineAndBuiltBack)
{
    // Built back from what is shown: a drive code 3 has no item and comes back as 0.
    struct Case { Body body; std::vector<int> combos; std::vector<bool> flags; std::vector<QString> shown; Body built; };
    const Case cases[] = {
        {{0x49, 0x96, 0x27}, {1, 2, 0, 1, 2, 1, 1, 1}, {true, false, false, true, true, false, false, true},
         {"1001001", "10010110", "100111", "keep",
          "GP=1, VP=2, ST=0, POV=1, LG=2, PG=1, GP_kan=1, VP_kan=0, ST_kan=0, P_low=1, work_mode=1, "
          "joystick_mode=1, nft_crash_2=1, nft_crash_1=0, motoclk_dis=0, gns_state=1"}, {0x49, 0x96, 0x27}},
        // Drive code 3 has no item; bits 6 and 7 of byte 3 carry nothing.
        {{0xFF, 0xFF, 0xFF}, {-1, -1, -1, -1, -1, -1, 1, 1}, std::vector<bool>(8, true),
         {"11111111", "11111111", "11111111", "keep",
          "GP=3, VP=3, ST=3, POV=3, LG=3, PG=3, GP_kan=1, VP_kan=1, ST_kan=1, P_low=1, work_mode=1, "
          "joystick_mode=1, nft_crash_2=1, nft_crash_1=1, motoclk_dis=1, gns_state=1"}, {0x00, 0xF0, 0x3F}},
    };
    for (const Case& c : cases) {
        Device device;
        device.grid.SetCell(6, "keep");   // column 6 is not the controller's
        EXPECT_EQ(ShowBody(device, c.body), c.shown);
        EXPECT_EQ(Values(device.AnswerCombos()), c.combos);
        EXPECT_EQ(Values(device.Flags()), c.flags);
        EXPECT_EQ(BuildOver(device, {0, 0, 0}), c.built);
    }
}

TEST(LogicControllerFrame, GridTakesNoTypedValuesAndIsRewrittenEveryTime)
{
    Device device;
    SetBody(device.object.Request, {1, 2, 3});
    for (int column = 2; column <= 6; ++column) {
        device.info->GridToRequest("11", column);
        EXPECT_EQ(AfterCell(device, {4, 5, 6}, column, "11"), (Body{4, 5, 6}));
    }
    EXPECT_EQ(BodyOf(device.object.Request, 3), (Body{1, 2, 3}));
    device.ShowAnswer();
    device.ShowAnswer();
    EXPECT_EQ(std::vector<int>(device.grid.Writes.begin() + 3, device.grid.Writes.begin() + 7), (std::vector<int>{2, 2, 2, 0}));

    Device fresh;   // no selection adds nothing: a new frame answers all off
    SetValues(fresh.AnswerCombos(), std::vector<int>(8, -1));
    EXPECT_EQ(BuildOver(fresh, {0xFF, 0xFF, 0xFF}), (Body{0, 0, 0}));
}
