#include "frames/TiltD.h"

#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"
#include "platform/Numbers.h"

namespace {
constexpr int TiltDRow = 83;
constexpr Bits AngleBits{1, 0, 16, 2};
constexpr Bits InputByte{3, 0, 8};
constexpr Bits InputBits{3, 6, 2};
const Num Angle{AngleBits, 100, 0.01L};

constexpr int FieldHeight = 28;
constexpr int EditLeft = 96;
constexpr int EditWidth = 114;
constexpr int InputTop = 48;
}

const QStringList TiltDInputItems = {QStringLiteral("00 - Свободен"), QStringLiteral("01 - +24В"),
                                     QStringLiteral("10 - Общий"), QStringLiteral("11 - Не поддерживается")};

TTiltDFrame::TTiltDFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    ANGLabel = AddLabel(InPanel, "ANGLabel", QStringLiteral("ANG, °:"), 6, 6);
    ANGLabel->SetBounds(6, 6, EditLeft - 6, FieldHeight);
    ANGEdit = AddEdit(InPanel, "ANGEdit", EditLeft, 6, EditWidth, EditUFloat);
    ANGEdit->SetHeight(FieldHeight);
    // The whole degrees the word can hold; stepping past either end wraps round.
    ANGUpDown = AddUpDown(InPanel, "ANGUpDown", ANGEdit, 0, 655, 1, true);
    const TSingleInputRow input = AddSingleInputRow(InputTop - 6, TiltDInputItems, EditLeft, 220);
    Bevel1 = input.Bevel, INLabel = input.Heading, IN1Label = input.Number, IN1ComboBox = input.Combo;
    InPanel->SetHeight(InputTop + 36);
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TTiltDFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    // The sensor always reports an angle: a text that is no number sends 0.00.
    AngleBits.store(answer, Angle.fromEdit(ANGEdit->Text()).value_or(0));
    // The whole byte is written: no selection (-1) shifts to code 3, "not supported".
    InputByte.store(answer, IN1ComboBox->ItemIndex() * 64);
}

void TTiltDFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    ANGEdit->SetText(Angle.text(answer));
    IN1ComboBox->SetItemIndex(static_cast<int>(InputBits.get(answer)));
}

void TTiltDFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, Angle.text(answer));
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, QString::number(InputBits.get(answer)));
    WriteCell(*Info, 6, NoValueText);
}

void TTiltDFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    if (column == 3) {
        if (const std::optional<std::int64_t> raw = Angle.fromCell(text))
            AngleBits.store(answer, *raw);
    } else if (column == 5) {
        // A plain number, not a digit column: its low two bits are the code.
        if (const std::optional<int> code = StrToInt(text))
            InputBits.set(answer, *code);
    }
}

TFrame* CreateTiltDFrame(QWidget* owner, TDeviceInfo* info) { return new TTiltDFrame(owner, info); }

QString DescribeTiltDAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG=%.2f, IN1=%c", static_cast<double>(Angle.value(m)), DigitChar(m, InputBits));
}

void RegisterTiltDFrames() { BindRows({TiltDRow}, CreateTiltDFrame, nullptr, DescribeTiltDAnswer); }
