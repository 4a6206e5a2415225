// The logic controller on its catalogue row: limiters and locks in the request, drives and status
// flags in the answer, between body, frame, grid and info line.
#include "frames/LogicController.h"
#include "AnswerFrameChecks.h"

namespace {
constexpr int Row = 63;

struct Device : FrameDevice {
    Device() : FrameDevice((BindAfterStart(RegisterLogicControllerFrames), Row)) {}
    TLogicControllerFrame& frame() { return Frame<TLogicControllerFrame>(); }
    TMessageImage& Request() { return object.Request; }
    void BuildRequest()
    {
        TUpdatingControls updating;
        info->FrameToRequest();
        info->RequestToGrid();
    }
    void ShowRequest()
    {
        TUpdatingControls updating;
        info->RequestToGrid();
        info->RequestToFrame();
    }
};

// The request side as item indexes and flags: RA..RD, LA..LD, boom mode, crane type, and the
// four locks.
struct RequestView {
    std::vector<int> combos;   // ra, rb, rc, rd, la, lb, lc, ld, stMode, craneType
    std::vector<bool> locks;   // kvg, gps, vps, sts
    bool operator==(const RequestView&) const = default;
};
std::vector<TComboBox*> RequestCombos(TLogicControllerFrame& f)
{
    return {f.raBox, f.rbBox, f.rcBox, f.rdBox, f.laBox, f.lbBox, f.lcBox, f.ldBox, f.stModeBox, f.craneTypeBox};
}
std::vector<TCheckBox*> LockChecks(TLogicControllerFrame& f) { return {f.kvgCheck, f.gpsCheck, f.vpsCheck, f.stsCheck}; }

// The answer side: GP, VP, ST, POV, LG, PG, work mode, joystick mode; then the eight flags.
struct AnswerView {
    std::vector<int> combos;
    std::vector<bool> flags;   // GP_kan, VP_kan, ST_kan, P_low, nft2, nft1, motoclk_dis, gns_state
    bool operator==(const AnswerView&) const = default;
};
std::vector<TComboBox*> AnswerCombos(TLogicControllerFrame& f)
{
    return {f.gpBox, f.vpBox, f.stBox, f.povBox, f.lgBox, f.pgBox, f.workModeBox, f.joystickModeBox};
}
std::vector<TCheckBox*> AnswerChecks(TLogicControllerFrame& f)
{
    return {f.gpKanCheck, f.vpKanCheck, f.stKanCheck, f.pLowCheck,
            f.nftCrash2Check, f.nftCrash1Check, f.motoHoursDisableCheckBox, f.groundDisableCheckBox};
}

template <class View> View Read(const std::vector<TComboBox*>& combos, const std::vector<TCheckBox*>& checks)
{
    View v;
    for (const TComboBox* c : combos)
        v.combos.push_back(c->ItemIndex());
    for (const TCheckBox* c : checks)
        v.flags.push_back(c->Checked());
    return v;
}
RequestView ReadRequest(TLogicControllerFrame& f)
{
    RequestView v;
    for (const TComboBox* c : RequestCombos(f))
        v.combos.push_back(c->ItemIndex());
    for (const TCheckBox* c : LockChecks(f))
        v.locks.push_back(c->Checked());
    return v;
}
void Write(const std::vector<TComboBox*>& combos, const std::vector<int>& items, const std::vector<TCheckBox*>& checks,
           const std::vector<bool>& flags)
{
    for (std::size_t i = 0; i < combos.size(); ++i)
        combos[i]->SetItemIndex(items[i]);
    for (std::size_t i = 0; i < checks.size(); ++i)
        checks[i]->SetChecked(flags[i]);
}
}

TEST(LogicControllerFrame, RowMakesTheFrameWithItsControls)
{
    Device device;
    auto& f = device.frame();
    EXPECT_STREQ(f.ClassName(), "TLogicControllerFrame");
    EXPECT_EQ(DeviceCatalogue[Row].DescribeAnswer, DescribeLogicControllerAnswer);
    EXPECT_EQ(DeviceCatalogue[Row].DescribeRequest, nullptr);
    const TDeviceInfo& info = *device.info;
    EXPECT_TRUE(info.GridToRequest && info.GridToAnswer && info.FrameToRequest && info.RequestToFrame &&
                info.RequestToGrid && info.FrameToAnswer && info.AnswerToFrame && info.AnswerToGrid);
    EXPECT_EQ(info.RequestPanel, f.OutPanel);
    EXPECT_EQ(info.AnswerPanel, f.InPanel);
    EXPECT_EQ(f.Panel1->Caption(), " Запрос");

    const std::vector<QString> out = {
        "Label15", "Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7", "Label8",
        "raBox", "laBox", "rbBox", "lbBox", "rcBox", "lcBox", "rdBox", "ldBox",
        "Label17", "stModeBox", "Label19", "kvgCheck", "gpsCheck", "vpsCheck", "stsCheck", "Label20", "craneTypeBox"};
    EXPECT_EQ(ControlNames(f.OutPanel), out);
    const std::pair<TLabel*, const char*> labels[] = {
        {f.Label1, "RA"}, {f.Label2, "LA"}, {f.Label3, "LB"}, {f.Label4, "RB"}, {f.Label5, "LC"}, {f.Label6, "RC"},
        {f.Label7, "RD"}, {f.Label8, "LD"}, {f.Label15, "Ограничители сматывания"}, {f.Label17, "Исполнение"},
        {f.Label19, "Блокировки"}, {f.Label20, "Тип крана"}, {f.Label12, "GP"}, {f.Label11, "VP"}, {f.Label10, "ST"},
        {f.Label9, "POV"}, {f.Label14, "LG"}, {f.Label13, "PG"}, {f.Label16, "Режим работы"}, {f.Label18, "Joystick"}};
    for (const auto& [label, caption] : labels)
        EXPECT_EQ(label->Caption(), QString::fromUtf8(caption)) << label->Name().toStdString();

    struct Combo { TComboBox* box; QStringList items; int selected; const char* hint; };
    const QStringList limiters = {"блокировка", "уровень 2", "уровень 1", "без ограничения"};
    const QStringList drives = {"выключен", "включен", "перегрузка"};
    const Combo combos[] = {
        {f.raBox, limiters, 0, "Состояние огранчителя"}, {f.ldBox, limiters, 0, "Состояние огранчителя"},
        {f.stModeBox, {"стрела", "башня"}, 0, "Исполнение стрелового оборудования"},
        {f.craneTypeBox, {"Crane-1", "Crane-2"}, 0, "Тип крана"},
        {f.gpBox, drives, 0, "Состояние привода главного подъема"},
        {f.vpBox, drives, 0, "Состояние привода вспомогательного подъема"},
        {f.stBox, drives, 0, "Состояние привода стрелы"}, {f.povBox, drives, 0, "Состояние привода поворота"},
        {f.lgBox, drives, 0, "Состояние привода левой гусеницы"},
        {f.pgBox, drives, 0, "Состояние привода правой гусеницы"},
        {f.workModeBox, {"подъем", "ход"}, 0, "Режим работы крана"},
        {f.joystickModeBox, {"работа", "сервис"}, -1, "Режим работы аппаратов управления"}};
    for (const Combo& c : combos) {
        EXPECT_EQ(c.box->Items(), c.items) << c.box->Name().toStdString();
        EXPECT_EQ(c.box->ItemIndex(), c.selected) << c.box->Name().toStdString();
        EXPECT_EQ(c.box->Hint(), QString::fromUtf8(c.hint)) << c.box->Name().toStdString();
        EXPECT_EQ(c.box->Style(), TComboStyle::DropDownList);
    }
    for (TComboBox* box : RequestCombos(f))
        EXPECT_FALSE(box->Hint().isEmpty()) << box->Name().toStdString();

    struct Check { TCheckBox* box; const char* caption; const char* hint; };
    const Check checks[] = {
        {f.kvgCheck, "Главный контактор", "Запрещение включения главного контактора"},
        {f.gpsCheck, "Принудительный спуск ГП", "Блокировка принудительного спуска главного подъёма"},
        {f.vpsCheck, "Принудительный спуск ВП", "Блокировка принудительного спуска вспомогательного подъёма"},
        {f.stsCheck, "Принудительный спуск стрелы", "Запрещение включения главного контактора"},
        {f.gpKanCheck, "Главный подъем", ""}, {f.vpKanCheck, "Вспомогательный подъем", ""},
        {f.stKanCheck, "Стрела", ""}, {f.pLowCheck, "Аварийное давление масла", "Аварийное давление масла в двигателе"},
        {f.nftCrash2Check, "Авария НФТ (30 минут)", "Несимметрия фазных токов"},
        {f.nftCrash1Check, "Авария НФТ (2 минуты)", "Несимметрия фазных токов"},
        {f.motoHoursDisableCheckBox, "Запрет подсчёта моточасов", "Запрет подсчёта моточасов"},
        {f.groundDisableCheckBox, "Выключатель массы", "Выключатель массы"}};
    for (const Check& c : checks) {
        EXPECT_EQ(c.box->Caption(), QString::fromUtf8(c.caption));
        EXPECT_EQ(c.box->Hint(), QString::fromUtf8(c.hint)) << c.caption;
        EXPECT_FALSE(c.box->Checked());
    }
}

TEST(LogicControllerFrame, RequestBuiltFromLimitersAndLocks)
{
    struct Row {
        Body before;
        std::vector<int> combos;   // ra, rb, rc, rd, la, lb, lc, ld, stMode, craneType
        std::vector<bool> locks;   // kvg, gps, vps, sts
        Body body;
    };
    const Row rows[] = {
        {{0xFF, 0xFF, 0xFF}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {false, false, false, false}, {0x00, 0x00, 0x00}},
        {{0, 0, 0}, {1, 2, 3, 0, 3, 2, 1, 0, 1, 1}, {true, false, true, false}, {0x39, 0x1B, 0x8B}},
        {{0, 0, 0}, {3, 3, 3, 3, 3, 3, 3, 3, 0, 0}, {true, true, true, true}, {0xFF, 0xFF, 0x1E}},
        {{0, 0, 0}, {0, 0, 0, 2, 0, 0, 0, 1, 0, 1}, {false, false, false, false}, {0x80, 0x40, 0x80}},   // Crane-2
        // A cleared editor (no selection) must not send "без ограничения" (code 3) or stray bits:
        // it adds nothing; only the crane type reads any index but 0 as Crane-2.
        {{0xFF, 0xFF, 0xFF}, {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1}, {false, false, false, false}, {0x00, 0x00, 0x80}},
    };
    for (const Row& r : rows) {
        Device device;
        SetBody(device.Request(), r.before);
        auto& f = device.frame();
        Write(RequestCombos(f), r.combos, LockChecks(f), r.locks);
        device.BuildRequest();
        EXPECT_EQ(BodyOf(device.Request(), 3), r.body);
        EXPECT_EQ(device.Request()[4], 0) << "the XOR byte belongs to the line engine";
        EXPECT_EQ(device.grid.Writes[2], 0) << "the grid shows nothing of the request";
    }
}

TEST(LogicControllerFrame, RequestShownInTheFrame)
{
    struct Row {
        Body body;
        RequestView view;
    };
    const Row rows[] = {
        {{0x39, 0x1B, 0x8B}, {{1, 2, 3, 0, 3, 2, 1, 0, 1, 1}, {true, false, true, false}}},
        {{0x00, 0x00, 0x00}, {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {false, false, false, false}}},
        // Bits 5 and 6 of byte 3 carry nothing.
        {{0xFF, 0xFF, 0xFF}, {{3, 3, 3, 3, 3, 3, 3, 3, 1, 1}, {true, true, true, true}}},
        {{0xE4, 0x1B, 0x60}, {{0, 1, 2, 3, 3, 2, 1, 0, 0, 0}, {false, false, false, false}}},
    };
    for (const Row& r : rows) {
        Device device;
        SetBody(device.Request(), r.body);
        device.ShowRequest();
        EXPECT_EQ(ReadRequest(device.frame()), r.view);
        EXPECT_EQ(device.grid.Writes[2], 0);
        // And back: the same body, less the two unused bits.
        device.BuildRequest();
        EXPECT_EQ(BodyOf(device.Request(), 3), (Body{r.body[0], r.body[1], static_cast<std::uint8_t>(r.body[2] & 0x9F)}));
    }
}

TEST(LogicControllerFrame, AnswerBuiltFromDrivesAndFlags)
{
    struct Row {
        Body before;
        AnswerView view;
        Body body;
    };
    const Row rows[] = {
        {{0, 0, 0}, {{1, 2, 0, 1, 2, 1, 1, 1}, {true, false, false, true, true, false, false, true}}, {0x49, 0x96, 0x27}},
        {{0, 0, 0}, {{2, 2, 2, 2, 2, 2, 0, 0}, {true, true, true, true, true, true, true, true}}, {0xAA, 0xFA, 0x3C}},
        {{0xFF, 0xFF, 0xFF}, {{0, 0, 0, 0, 0, 0, 0, 0}, std::vector<bool>(8, false)}, {0, 0, 0}},
        // No selection adds nothing (the joystick mode starts without one).
        {{0xFF, 0xFF, 0xFF}, {{-1, -1, -1, -1, -1, -1, -1, -1}, std::vector<bool>(8, false)}, {0, 0, 0}},
        {{0, 0, 0}, {{0, 0, 0, 0, 0, 0, 0, 1}, {false, false, false, false, false, true, true, false}}, {0, 0, 0x1A}},
    };
    for (const Row& r : rows) {
        Device device;
        SetBody(device.Answer(), r.before);
        auto& f = device.frame();
        Write(AnswerCombos(f), r.view.combos, AnswerChecks(f), r.view.flags);
        device.BuildAnswer();
        EXPECT_EQ(BodyOf(device.Answer(), 3), r.body);
    }

    Device fresh;
    fresh.BuildAnswer();
    EXPECT_EQ(BodyOf(fresh.Answer(), 3), (Body{0, 0, 0})) << "a new frame answers all off";
}

TEST(LogicControllerFrame, AnswerShownInFrameGridAndInfoLine)
{
    struct Row {
        Body body;
        AnswerView view;
        std::vector<QString> cells;   // columns 3, 4, 5
        const char* info;
    };
    const Row rows[] = {
        {{0x49, 0x96, 0x27}, {{1, 2, 0, 1, 2, 1, 1, 1}, {true, false, false, true, true, false, false, true}},
         {"1001001", "10010110", "100111"},
         "GP=1, VP=2, ST=0, POV=1, LG=2, PG=1, GP_kan=1, VP_kan=0, ST_kan=0, P_low=1, work_mode=1, "
         "joystick_mode=1, nft_crash_2=1, nft_crash_1=0, motoclk_dis=0, gns_state=1"},
        {{0x00, 0x05, 0x00}, {{0, 0, 0, 0, 1, 1, 0, 0}, std::vector<bool>(8, false)}, {"", "101", ""},
         "GP=0, VP=0, ST=0, POV=0, LG=1, PG=1, GP_kan=0, VP_kan=0, ST_kan=0, P_low=0, work_mode=0, "
         "joystick_mode=0, nft_crash_2=0, nft_crash_1=0, motoclk_dis=0, gns_state=0"},
        // Drive code 3 has no item; bits 6 and 7 of byte 3 carry nothing.
        {{0xFF, 0xFF, 0xFF}, {{-1, -1, -1, -1, -1, -1, 1, 1}, std::vector<bool>(8, true)},
         {"11111111", "11111111", "11111111"},
         "GP=3, VP=3, ST=3, POV=3, LG=3, PG=3, GP_kan=1, VP_kan=1, ST_kan=1, P_low=1, work_mode=1, "
         "joystick_mode=1, nft_crash_2=1, nft_crash_1=1, motoclk_dis=1, gns_state=1"},
        {{0xC0, 0x03, 0x08}, {{0, 0, 0, -1, -1, 0, 0, 0}, {false, false, false, false, false, true, false, false}},
         {"11000000", "11", "1000"},
         "GP=0, VP=0, ST=0, POV=3, LG=3, PG=0, GP_kan=0, VP_kan=0, ST_kan=0, P_low=0, work_mode=0, "
         "joystick_mode=0, nft_crash_2=0, nft_crash_1=1, motoclk_dis=0, gns_state=0"},
    };
    for (const Row& r : rows) {
        Device device;
        device.grid.SetCell(6, "keep");
        SetBody(device.Answer(), r.body);
        device.ShowAnswer();
        auto& f = device.frame();
        EXPECT_EQ(Read<AnswerView>(AnswerCombos(f), AnswerChecks(f)), r.view) << r.info;
        EXPECT_EQ((std::vector<QString>{device.grid.Cell(3), device.grid.Cell(4), device.grid.Cell(5)}), r.cells);
        EXPECT_EQ(device.grid.Cell(6), "keep") << "column 6 is not touched";
        EXPECT_EQ(DescribeLogicControllerAnswer(device.Answer().data()), r.info);
    }
}

TEST(LogicControllerFrame, GridTakesNoTypedValuesAndIsRewrittenEveryTime)
{
    Device device;
    SetBody(device.Request(), {1, 2, 3});
    SetBody(device.Answer(), {4, 5, 6});
    for (int column = 2; column <= 6; ++column) {
        device.info->GridToRequest("11", column);
        device.info->GridToAnswer("11", column);
    }
    EXPECT_EQ(BodyOf(device.Request(), 3), (Body{1, 2, 3}));
    EXPECT_EQ(BodyOf(device.Answer(), 3), (Body{4, 5, 6}));

    device.ShowAnswer();
    device.ShowAnswer();
    for (int column = 3; column <= 5; ++column)
        EXPECT_EQ(device.grid.Writes[column], 2) << column;
    EXPECT_EQ(device.grid.Writes[6], 0);

    FrameDevice noRow(Row, false);   // a device without a grid row yet
    noRow.ShowAnswer();
    EXPECT_EQ(noRow.grid.Writes[3], 0);
}
