#include "frames/LogicController.h"

#include <initializer_list>

#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"

const QStringList LimiterItems = {QStringLiteral("блокировка"), QStringLiteral("уровень 2"),
                                  QStringLiteral("уровень 1"), QStringLiteral("без ограничения")};
const QStringList DriveItems = {QStringLiteral("выключен"), QStringLiteral("включен"), QStringLiteral("перегрузка")};

namespace {
constexpr int LogicControllerRow = 63;

// Request: limiters RA..RD in byte 1 and LA..LD in byte 2, two bits each from bit 0 up;
// byte 3 the boom equipment, four locks and the crane type.
constexpr std::uint8_t RightLimitersByte = 1;
constexpr std::uint8_t LeftLimitersByte = 2;
constexpr Bits BoomModeBit{3, 0, 1};
constexpr Bits LockFlags{3, 1, 4};   // main contactor, forced lowering GP, VP, boom
constexpr Bits CraneTypeBit{3, 7, 1};

// Answer: drives GP, VP, ST, POV in byte 1; LG, PG and four flags in byte 2; two modes and
// four flags in byte 3.
constexpr std::uint8_t DrivesByte = 1;
constexpr std::uint8_t TracksByte = 2;
constexpr Bits Gp{1, 0, 2};
constexpr Bits Vp{1, 2, 2};
constexpr Bits St{1, 4, 2};
constexpr Bits Pov{1, 6, 2};
constexpr Bits Lg{2, 0, 2};
constexpr Bits Pg{2, 2, 2};
constexpr Bits TrackFlags{2, 4, 4};   // GP_kan, VP_kan, ST_kan, P_low
constexpr Bits WorkModeBit{3, 0, 1};
constexpr Bits JoystickModeBit{3, 1, 1};
constexpr Bits StatusFlags{3, 2, 4};   // nft_crash_2, nft_crash_1, motoclk_dis, gns_state

constexpr Bits TwoBits(std::uint8_t at, int index) { return Bits{at, static_cast<std::uint8_t>(2 * index), 2}; }

// Two-bit codes from bit 0 up, the first written into the byte, the rest OR-ed in. A combo
// without a selection adds nothing: a cleared editor must not send code 3.
void StoreCodes(TMessageImage& image, std::uint8_t at, std::initializer_list<const TComboBox*> boxes)
{
    int index = 0;
    for (const TComboBox* box : boxes) {
        const Bits field = TwoBits(at, index);
        const int code = InputCode(box->ItemIndex());
        if (index++ == 0)
            field.store(image, code);
        else
            field.orIn(image, code);
    }
}

// A one-bit combo: its item index, nothing without a selection.
int ComboBit(const TComboBox* box) { return InputCode(box->ItemIndex()) & 1; }

constexpr int RowHeight = 26;
constexpr int CheckHeight = 20;
}

TLogicControllerFrame::TLogicControllerFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, true)
{
    const auto label = [this](QWidget* parent, const char* name, const char* caption, int left, int top) {
        return AddLabel(parent, QString::fromLatin1(name), QString::fromUtf8(caption), left, top + 3);
    };
    const auto combo = [this](QWidget* parent, const char* name, const QStringList& items, int left, int top,
                              int width, const char* hint, int selected = 0) {
        TComboBox* box = AddComboBox(parent, QString::fromLatin1(name), items, left, top, width);
        box->SetHint(QString::fromUtf8(hint));
        box->SetItemIndex(selected);
        return box;
    };
    const auto check = [this](QWidget* parent, const char* name, const char* caption, int top,
                              const char* hint = nullptr) {
        TCheckBox* box = AddCheckBox(parent, QString::fromLatin1(name), QString::fromUtf8(caption), 8, top, 308);
        if (hint)
            box->SetHint(QString::fromUtf8(hint));
        return box;
    };

    // Request: the limiters one per row, each right-hand one before its left-hand one; their
    // longest state does not leave room for two per row.
    const char* const limiterHint = "Состояние огранчителя";
    Label15 = label(OutPanel, "Label15", "Ограничители сматывания", 8, 2);
    constexpr int top = 26;
    constexpr int LimiterLabelLeft = 8, LimiterLeft = 40, LimiterWidth = 180;
    const auto limiterTop = [](int index, bool rightHand) { return top + (2 * index + (rightHand ? 0 : 1)) * RowHeight; };
    Label1 = label(OutPanel, "Label1", "RA", LimiterLabelLeft, limiterTop(0, true));
    Label2 = label(OutPanel, "Label2", "LA", LimiterLabelLeft, limiterTop(0, false));
    Label3 = label(OutPanel, "Label3", "LB", LimiterLabelLeft, limiterTop(1, false));
    Label4 = label(OutPanel, "Label4", "RB", LimiterLabelLeft, limiterTop(1, true));
    Label5 = label(OutPanel, "Label5", "LC", LimiterLabelLeft, limiterTop(2, false));
    Label6 = label(OutPanel, "Label6", "RC", LimiterLabelLeft, limiterTop(2, true));
    Label7 = label(OutPanel, "Label7", "RD", LimiterLabelLeft, limiterTop(3, true));
    Label8 = label(OutPanel, "Label8", "LD", LimiterLabelLeft, limiterTop(3, false));
    TComboBox** const right[] = {&raBox, &rbBox, &rcBox, &rdBox};
    TComboBox** const left[] = {&laBox, &lbBox, &lcBox, &ldBox};
    const char* const rightNames[] = {"raBox", "rbBox", "rcBox", "rdBox"};
    const char* const leftNames[] = {"laBox", "lbBox", "lcBox", "ldBox"};
    for (int i = 0; i < 4; ++i) {
        *right[i] = combo(OutPanel, rightNames[i], LimiterItems, LimiterLeft, limiterTop(i, true), LimiterWidth,
                          limiterHint);
        *left[i] = combo(OutPanel, leftNames[i], LimiterItems, LimiterLeft, limiterTop(i, false), LimiterWidth,
                         limiterHint);
    }
    const int below = top + 8 * RowHeight + 4;
    Label17 = label(OutPanel, "Label17", "Исполнение", 8, below);
    stModeBox = combo(OutPanel, "stModeBox", {QStringLiteral("стрела"), QStringLiteral("башня")}, 170, below, 148,
                      "Исполнение стрелового оборудования");
    Label19 = label(OutPanel, "Label19", "Блокировки", 8, below + 28);
    const int checksTop = below + 52;
    kvgCheck = check(OutPanel, "kvgCheck", "Главный контактор", checksTop, "Запрещение включения главного контактора");
    gpsCheck = check(OutPanel, "gpsCheck", "Принудительный спуск ГП", checksTop + CheckHeight,
                     "Блокировка принудительного спуска главного подъёма");
    vpsCheck = check(OutPanel, "vpsCheck", "Принудительный спуск ВП", checksTop + 2 * CheckHeight,
                     "Блокировка принудительного спуска вспомогательного подъёма");
    stsCheck = check(OutPanel, "stsCheck", "Принудительный спуск стрелы", checksTop + 3 * CheckHeight,
                     "Запрещение включения главного контактора");
    Label20 = label(OutPanel, "Label20", "Тип крана", 8, below + 138);
    craneTypeBox = combo(OutPanel, "craneTypeBox", {QStringLiteral("Crane-1"), QStringLiteral("Crane-2")}, 170,
                         below + 138, 148, "Тип крана");
    OutPanel->SetHeight(below + 168);

    // Answer: the hoist, boom and slewing drives on the left, the tracks on the right.
    Label12 = label(InPanel, "Label12", "GP", 6, 4);
    Label11 = label(InPanel, "Label11", "VP", 6, 4 + RowHeight);
    Label10 = label(InPanel, "Label10", "ST", 6, 4 + 2 * RowHeight);
    Label9 = label(InPanel, "Label9", "POV", 6, 4 + 3 * RowHeight);
    Label14 = label(InPanel, "Label14", "LG", 164, 4);
    Label13 = label(InPanel, "Label13", "PG", 164, 4 + RowHeight);
    gpBox = combo(InPanel, "gpBox", DriveItems, 46, 4, 116, "Состояние привода главного подъема");
    vpBox = combo(InPanel, "vpBox", DriveItems, 46, 4 + RowHeight, 116, "Состояние привода вспомогательного подъема");
    stBox = combo(InPanel, "stBox", DriveItems, 46, 4 + 2 * RowHeight, 116, "Состояние привода стрелы");
    povBox = combo(InPanel, "povBox", DriveItems, 46, 4 + 3 * RowHeight, 116, "Состояние привода поворота");
    lgBox = combo(InPanel, "lgBox", DriveItems, 194, 4, 126, "Состояние привода левой гусеницы");
    pgBox = combo(InPanel, "pgBox", DriveItems, 194, 4 + RowHeight, 126, "Состояние привода правой гусеницы");
    Bevel1 = AddBevel(InPanel, QStringLiteral("Bevel1"), 4, 112, 316, 2);
    gpKanCheck = check(InPanel, "gpKanCheck", "Главный подъем", 118);
    vpKanCheck = check(InPanel, "vpKanCheck", "Вспомогательный подъем", 118 + CheckHeight);
    stKanCheck = check(InPanel, "stKanCheck", "Стрела", 118 + 2 * CheckHeight);
    pLowCheck = check(InPanel, "pLowCheck", "Аварийное давление масла", 118 + 3 * CheckHeight,
                      "Аварийное давление масла в двигателе");
    Bevel2 = AddBevel(InPanel, QStringLiteral("Bevel2"), 4, 202, 316, 2);
    Label16 = label(InPanel, "Label16", "Режим работы", 8, 208);
    workModeBox = combo(InPanel, "workModeBox", {QStringLiteral("подъем"), QStringLiteral("ход")}, 170, 208, 148,
                        "Режим работы крана");
    Label18 = label(InPanel, "Label18", "Joystick", 8, 208 + RowHeight);
    joystickModeBox = combo(InPanel, "joystickModeBox", {QStringLiteral("работа"), QStringLiteral("сервис")}, 170,
                            208 + RowHeight, 148, "Режим работы аппаратов управления", -1);
    Bevel3 = AddBevel(InPanel, QStringLiteral("Bevel3"), 4, 264, 316, 2);
    nftCrash2Check = check(InPanel, "nftCrash2Check", "Авария НФТ (30 минут)", 270, "Несимметрия фазных токов");
    nftCrash1Check = check(InPanel, "nftCrash1Check", "Авария НФТ (2 минуты)", 270 + CheckHeight,
                           "Несимметрия фазных токов");
    motoHoursDisableCheckBox = check(InPanel, "motoHoursDisableCheckBox", "Запрет подсчёта моточасов",
                                     270 + 2 * CheckHeight, "Запрет подсчёта моточасов");
    groundDisableCheckBox = check(InPanel, "groundDisableCheckBox", "Выключатель массы", 270 + 3 * CheckHeight,
                                  "Выключатель массы");
    Bevel4 = AddBevel(InPanel, QStringLiteral("Bevel4"), 4, 354, 316, 2);
    InPanel->SetHeight(360);

    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TLogicControllerFrame::FrameToRequest()
{
    TMessageImage& request = Info->SchemeObject->Request;
    StoreCodes(request, RightLimitersByte, {raBox, rbBox, rcBox, rdBox});
    StoreCodes(request, LeftLimitersByte, {laBox, lbBox, lcBox, ldBox});
    BoomModeBit.store(request, ComboBit(stModeBox));
    StoreCheckBoxes(request, LockFlags, {kvgCheck, gpsCheck, vpsCheck, stsCheck});
    CraneTypeBit.orIn(request, TwoItemBit(craneTypeBox->ItemIndex()));
}

void TLogicControllerFrame::RequestToFrame()
{
    const TMessageImage& request = Info->SchemeObject->Request;
    TComboBox* const right[] = {raBox, rbBox, rcBox, rdBox};
    TComboBox* const left[] = {laBox, lbBox, lcBox, ldBox};
    for (int i = 0; i < 4; ++i) {
        right[i]->SetItemIndex(static_cast<int>(TwoBits(RightLimitersByte, i).get(request)));
        left[i]->SetItemIndex(static_cast<int>(TwoBits(LeftLimitersByte, i).get(request)));
    }
    stModeBox->SetItemIndex(static_cast<int>(BoomModeBit.get(request)));
    ShowCheckBoxes(request, LockFlags, {kvgCheck, gpsCheck, vpsCheck, stsCheck});
    craneTypeBox->SetItemIndex(static_cast<int>(CraneTypeBit.get(request)));
}

void TLogicControllerFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    StoreCodes(answer, DrivesByte, {gpBox, vpBox, stBox, povBox});
    StoreCodes(answer, TracksByte, {lgBox, pgBox});
    StoreCheckBoxes(answer, TrackFlags, {gpKanCheck, vpKanCheck, stKanCheck, pLowCheck});
    WorkModeBit.store(answer, ComboBit(workModeBox));
    JoystickModeBit.orIn(answer, ComboBit(joystickModeBox));
    StoreCheckBoxes(answer, StatusFlags, {nftCrash2Check, nftCrash1Check, motoHoursDisableCheckBox, groundDisableCheckBox});
}

void TLogicControllerFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    // clang-format off
    const std::pair<TComboBox*, Bits> drives[] = {{gpBox, Gp}, {vpBox, Vp}, {stBox, St},
                                                  {povBox, Pov}, {lgBox, Lg}, {pgBox, Pg}};
    // clang-format on
    for (const auto& [box, bits] : drives)
        box->SetItemIndex(InputItem(static_cast<int>(bits.get(answer))));   // code 3 has no item
    ShowCheckBoxes(answer, TrackFlags, {gpKanCheck, vpKanCheck, stKanCheck, pLowCheck});
    workModeBox->SetItemIndex(static_cast<int>(WorkModeBit.get(answer)));
    joystickModeBox->SetItemIndex(static_cast<int>(JoystickModeBit.get(answer)));
    ShowCheckBoxes(answer, StatusFlags, {nftCrash2Check, nftCrash1Check, motoHoursDisableCheckBox, groundDisableCheckBox});
}

// The answer bytes as bit strings, written every time; column 6 stays as it is.
void TLogicControllerFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    for (int byte = 1; byte <= 3; ++byte)
        Info->SetGridCell(byte + 2, FormatBits(answer[static_cast<std::size_t>(byte)]));
}

void TLogicControllerFrame::GridToRequest(const QString&, int) {}
void TLogicControllerFrame::GridToAnswer(const QString&, int) {}
void TLogicControllerFrame::RequestToGrid() {}

TFrame* CreateLogicControllerFrame(QWidget* owner, TDeviceInfo* info) { return new TLogicControllerFrame(owner, info); }

QString DescribeLogicControllerAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    const auto flag = [&m](const Bits& part, int index) { return static_cast<unsigned>(FlagAt(m, part, index)); };
    return FormatLine("GP=%u, VP=%u, ST=%u, POV=%u, LG=%u, PG=%u, GP_kan=%u, VP_kan=%u, ST_kan=%u, P_low=%u, "
                      "work_mode=%u, joystick_mode=%u, nft_crash_2=%u, nft_crash_1=%u, motoclk_dis=%u, gns_state=%u",
                      Gp.get(m), Vp.get(m), St.get(m), Pov.get(m), Lg.get(m), Pg.get(m), flag(TrackFlags, 0),
                      flag(TrackFlags, 1), flag(TrackFlags, 2), flag(TrackFlags, 3), WorkModeBit.get(m),
                      JoystickModeBit.get(m), flag(StatusFlags, 0), flag(StatusFlags, 1), flag(StatusFlags, 2),
                      flag(StatusFlags, 3));
}

void RegisterLogicControllerFrames()
{
    BindRows({LogicControllerRow}, CreateLogicControllerFrame, nullptr, DescribeLogicControllerAnswer);
}
