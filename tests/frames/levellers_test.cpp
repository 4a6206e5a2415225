// The two levelling blocks: angles both ways (row 3), flags and an angle (rows 38 and 50) with
// the automatic answer that follows the request shown in the frame.
#include "FrameRig.h"

namespace {
constexpr int A = 3, B = 38;
const char* const RequestFlags = "Auto_DisBox;OUT1CheckBox;OUT2CheckBox;CalibrateBox";
const char* const AnswerFlags = "Auto_DisBox_;OUT1CheckBox_;OUT2CheckBox_;CalibrateBox_";
}

TEST(LevellerAFrame, AnglesBetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {A, Req, "00 0A 80 00", "ANG1Edit;ANG2Edit", "10.00;0.50", "-", "ANG1=10.00, ANG2=0.50"},
        {A, Ans, "00 0A 80 00", "ANG1Edit_;ANG2Edit_", "10.00;0.50", "10.00|0.50|-|-", "ANG1=10.00, ANG2=0.50"},
    });
    const char* before = "EE EE EE EE";
    CheckAll<Built>({
        {A, Req, before, "ANG1Edit=255.999;ANG2Edit=255.998", "00 00 FF FF"},   // 65536 keeps its low 16 bits
        {A, Req, before, "ANG1Edit=0.001;ANG2Edit=0.002", "00 00 01 00"},       // + 0.5, then cut
        {A, Ans, before, "ANG1Edit_=x;ANG2Edit_=1", "EE EE 00 01"},             // a bad text keeps its word only
        {A, Ans, before, "ANG1Edit_=1e30;ANG2Edit_=inf", before},
    });
    before = "11 22 33 44";
    CheckAll<Typed>({
        {A, Ans, 3, "0.001953125", before, "01 00 33 44"},   // exactly half a step: away from zero
        {A, Ans, 4, "-0.001953125", before, "11 22 FF FF"},
    });
    // Column 2 stays without a value whatever was typed there; the request is not touched.
    Rig rig(A);
    rig.SetHex(Req, before);
    rig.grid.SetCell(2, "12");
    rig.Show(Req);
    EXPECT_EQ(rig.grid.Cell(2), "-");
    EXPECT_EQ(rig.Hex(Req, before), before);
}

TEST(LevellerBFrame, FlagsAndAngleBetweenBodyFrameGridAndInfoLine)
{
    CheckAll<Shown>({
        {B, Req, "01", RequestFlags, "1;0;0;0", "00", "OUT2-1=00, Auto_Dis=1, Calibrate=0"},
        {50, Req, "F8", RequestFlags, "0;0;0;1", "00", "OUT2-1=00, Auto_Dis=0, Calibrate=1"},
        {B, Ans, "02 2D", "ANGEdit", "45.00", "45.00|-|-|01", "ANG=45.00, OUT2-1=01, Auto_Dis=0, Calibrate=0"},
        {B, Ans, "1D 2D", AnswerFlags, "1;0;1;1", "45.06|-|-|10", "ANG=45.06, OUT2-1=10, Auto_Dis=1, Calibrate=1"},
        {50, Ans, "F6 FF", AnswerFlags, "0;1;1;0", "255.94|-|-|11", "ANG=255.94, OUT2-1=11, Auto_Dis=0, Calibrate=0"},
    });
    CheckAll<Built>({
        {B, Req, "F0", "Auto_DisBox=1;OUT2CheckBox=1", "05"},   // unused bits cleared
        {B, Ans, "CB AB 77", "ANGEdit=45;OUT1CheckBox_=1", "02 2D 77"},
        {B, Ans, "CB AB", "ANGEdit=255.97", "00 00"},                  // 4096 sixteenths keep their low 12 bits
        {B, Ans, "CB AB", "ANGEdit=45.03;Auto_DisBox_=1", "01 2D"},    // 720.48 + 0.5: still 720
        // The angle stays without a number, the flags are rebuilt all the same.
        {B, Ans, "CB AB", "ANGEdit=x;Auto_DisBox_=1;OUT1CheckBox_=1;OUT2CheckBox_=1;CalibrateBox_=1", "CF AB"},
    });
    CheckAll<Stepped>({{B, "ANGEdit=45.04", "ANGEdit", "45.06"}});
    CheckAll<Typed>({
        // Column 2 holds the outputs only: Auto_Dis, Calibrate and the unused bits stay.
        {B, Req, 2, "11", "09", "0F"}, {B, Req, 2, "", "0F", "09"},
        {B, Ans, 3, "45", "CB AB", "0B 2D"},        // the flags share the word and stay
        {B, Ans, 3, "0.03125", "CB AB", "1B 00"},   // half a sixteenth: away from zero
        {B, Ans, 6, "11", "CB AB", "CF AB"},        // angle, Auto_Dis and Calibrate stay
    });
}

TEST(LevellerBFrame, AutomaticAnswerFollowsTheRequestShown)
{
    struct Row { const char* request; const char* answerBefore; const char* answerAfter; const char* word; };
    const Row rows[] = {
        // Auto_Dis on: Auto_Dis and the outputs copied, Calibrate cleared.
        {"Auto_DisBox=1;OUT2CheckBox=1;CalibrateBox=1", "OUT1CheckBox_=1;CalibrateBox_=1", "1;0;1;0", "05 2D"},
        // Auto_Dis off: Calibrate copied, the outputs the user set stay.
        {"CalibrateBox=1", "Auto_DisBox_=1;OUT1CheckBox_=1;OUT2CheckBox_=1", "0;1;1;1", "0E 2D"},
    };
    for (const Row& r : rows) {
        Rig rig(B);
        rig.Set(r.request);
        rig.Set(r.answerBefore);
        rig.Set("ANGEdit=45;AutoAnswerBox=1");
        rig.Build(Ans);
        EXPECT_EQ(rig.Read(AnswerFlags), r.answerAfter) << r.request;
        EXPECT_EQ(rig.Hex(Ans, ".. .."), r.word) << r.request;
    }
    // Unticked, the answer keeps its own flags.
    Rig rig(B);
    rig.Set("Auto_DisBox=1;OUT1CheckBox=1;OUT2CheckBox=1;CalibrateBox=1");
    rig.Build(Ans);
    EXPECT_EQ(rig.Read(AnswerFlags), "0;0;0;0");
}

TEST(LevellerBFrame, AutomaticAnswerInTheEmulationPath)
{
    Rig rig(B);
    int rebuilds = 0;
    TFrameHandlers handlers;
    rig.BindRebuilding(handlers, rebuilds);
    rig.Set("ANGEdit=10");
    EXPECT_EQ(rebuilds, 1);

    rig.SetHex(Req, "05");   // Auto_Dis, OUT2: the received request, shown by the hand-off
    rig.Show(Req);
    rig.Set("AutoAnswerBox=1");   // ticking the box rebuilds the answer at once
    EXPECT_EQ(rig.Hex(Ans, ".. .."), "05 0A");
    EXPECT_EQ(rig.grid.Cell(6), "10");

    // The emulation builds the answer without UpdatingControls: the boxes it changes run the
    // handler again, which ends with the same answer.
    rig.SetHex(Req, "0A");   // OUT1, Calibrate; Auto_Dis off
    rig.Show(Req);
    const int before = rebuilds;
    ASSERT_FALSE(UpdatingControls);
    rig.info->FrameToAnswer();
    EXPECT_GT(rebuilds, before) << "a changed box runs the handler";
    EXPECT_EQ(rig.Read(AnswerFlags), "0;0;1;1");
    EXPECT_EQ(rig.Hex(Ans, ".. .."), "0C 0A");
    EXPECT_EQ(rig.grid.Cell(6), "10");
}
