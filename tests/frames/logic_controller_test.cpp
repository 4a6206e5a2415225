// The logic controller on its catalogue row: limiters and locks in the request, drives and status
// flags in the answer, between body, frame, grid and info line.
#include "FrameRig.h"

namespace {
constexpr int Row = 63;
// RA..RD, LA..LD, boom mode, crane type; then the locks kvg, gps, vps, sts.
const char* const RequestNames = "raBox;rbBox;rcBox;rdBox;laBox;lbBox;lcBox;ldBox;stModeBox;craneTypeBox;kvgCheck;gpsCheck;"
                                 "vpsCheck;stsCheck";
// GP, VP, ST, POV, LG, PG, work mode, joystick mode; then GP_kan, VP_kan, ST_kan, P_low, nft2,
// nft1, motoclk_dis, gns_state.
const char* const AnswerNames = "gpBox;vpBox;stBox;povBox;lgBox;pgBox;workModeBox;joystickModeBox;gpKanCheck;vpKanCheck;"
                                "stKanCheck;pLowCheck;nftCrash2Check;nftCrash1Check;motoHoursDisableCheckBox;"
                                "groundDisableCheckBox";
}

TEST(LogicControllerFrame, RequestBetweenBodyAndFrame)
{
    CheckAll<Built>({
        {Row, Req, "00 00 00", "raBox=1;rbBox=2;rcBox=3;rdBox=0;laBox=3;lbBox=2;lcBox=1;ldBox=0;stModeBox=1;craneTypeBox=1;"
                               "kvgCheck=1;gpsCheck=0;vpsCheck=1;stsCheck=0", "39 1B 8B 00"},
        // A cleared editor (no selection) must not send "без ограничения" (code 3) or stray bits:
        // it adds nothing; only the crane type reads any index but 0 as Crane-2.
        {Row, Req, "FF FF FF", "raBox=-1;rbBox=-1;rcBox=-1;rdBox=-1;laBox=-1;lbBox=-1;lcBox=-1;ldBox=-1;stModeBox=-1;"
                               "craneTypeBox=-1;kvgCheck=0;gpsCheck=0;vpsCheck=0;stsCheck=0", "00 00 80 00"},
    });

    // Shown and built back: the same body, less the unused bits 5 and 6 of byte 3; the grid shows
    // nothing of the request.
    Rig rig(Row);
    rig.SetHex(Req, "FF FF FF");
    rig.info->RequestToFrame();
    EXPECT_EQ(rig.Read(RequestNames), "3;3;3;3;3;3;3;3;1;1;1;1;1;1");
    rig.SetHex(Req, "00 00 00");
    rig.Build(Req);
    EXPECT_EQ(rig.Hex(Req, ".. .. .. .."), "FF FF 9F 00");
    EXPECT_EQ(rig.grid.Writes[2], 0);
}

TEST(LogicControllerFrame, AnswerShownInFrameGridAndInfoLineAndBuiltBack)
{
    CheckAll<Shown>({
        {Row, Ans, "49 96 27", AnswerNames, "1;2;0;1;2;1;1;1;1;0;0;1;1;0;0;1", "1001001|10010110|100111|",
         "GP=1, VP=2, ST=0, POV=1, LG=2, PG=1, GP_kan=1, VP_kan=0, ST_kan=0, P_low=1, work_mode=1, "
         "joystick_mode=1, nft_crash_2=1, nft_crash_1=0, motoclk_dis=0, gns_state=1"},
        // Drive code 3 has no item; bits 6 and 7 of byte 3 carry nothing.
        {Row, Ans, "FF FF FF", AnswerNames, "-1;-1;-1;-1;-1;-1;1;1;1;1;1;1;1;1;1;1", "11111111|11111111|11111111|",
         "GP=3, VP=3, ST=3, POV=3, LG=3, PG=3, GP_kan=1, VP_kan=1, ST_kan=1, P_low=1, work_mode=1, "
         "joystick_mode=1, nft_crash_2=1, nft_crash_1=1, motoclk_dis=1, gns_state=1"},
    });
    // Built back from what is shown: a drive code 3 has no item and comes back as 0.
    const std::pair<const char*, const char*> backs[] = {{"49 96 27", "49 96 27 00"}, {"FF FF FF", "00 F0 3F 00"}};
    for (const auto& [body, built] : backs) {
        Rig rig(Row);
        rig.SetHex(Ans, body);
        rig.Show(Ans);
        rig.SetHex(Ans, "00 00 00");
        rig.Build(Ans);
        EXPECT_EQ(rig.Hex(Ans, built), built);
    }
}

TEST(LogicControllerFrame, GridTakesNoTypedValuesAndIsRewrittenEveryTime)
{
    for (int column = 2; column <= 6; ++column)
        CheckAll<Typed>({{Row, Req, column, "11", "01 02 03", "01 02 03"}, {Row, Ans, column, "11", "04 05 06", "04 05 06"}});
    Rig rig(Row);
    rig.Show(Ans);
    rig.Show(Ans);
    EXPECT_EQ(std::vector<int>(rig.grid.Writes.begin() + 3, rig.grid.Writes.begin() + 7), (std::vector<int>{2, 2, 2, 0}));

    // No selection adds nothing: a new frame answers all off.
    CheckAll<Built>({{Row, Ans, "FF FF FF", "gpBox=-1;vpBox=-1;stBox=-1;povBox=-1;lgBox=-1;pgBox=-1;workModeBox=-1;"
                                            "joystickModeBox=-1", "00 00 00 00"}});
}
