#include "frames/EngineData.h"

#include <cstdio>

#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"
#include "platform/Numbers.h"

namespace {
constexpr int EngineDataRow = 81;
constexpr Bits RpmBits{1, 0, 16, 2};    // RPM x 8
constexpr Bits PressureBits{3, 0, 8};   // P / 4
constexpr long double RpmScale = 8;
constexpr long double RpmFactor = 0.125L;
constexpr int PressureStep = 4;

constexpr int FieldHeight = 28;
constexpr int EditLeft = 96;
constexpr int EditWidth = 114;

// The engine unit always reports something: a text that is no number sends 0, and so does
// one beyond any field.
std::int64_t RpmRaw(const QString& text)
{
    return TextToRaw(text, RpmScale, Round::Trunc).value_or(0);
}

// The pressure to the nearest step of 4 kPa, halves upward for positive values.
std::int64_t PressureRaw(const QString& text)
{
    const std::int64_t kpa = StrToInt(text).value_or(0);
    return (kpa + PressureStep / 2) / PressureStep;
}

long double Rpm(const TMessageImage& answer) { return RpmBits.get(answer) * RpmFactor; }
std::uint32_t Pressure(const TMessageImage& answer) { return PressureBits.get(answer) * PressureStep; }

void StoreRpm(TMessageImage& answer, const QString& text) { RpmBits.store(answer, RpmRaw(text)); }
void StorePressure(TMessageImage& answer, const QString& text) { PressureBits.store(answer, PressureRaw(text)); }
}

TEngineDataFrame::TEngineDataFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    const auto label = [this](const char* name, const char* caption, int top) {
        TLabel* l = AddLabel(InPanel, name, QString::fromUtf8(caption), 6, top);
        l->SetBounds(6, top, EditLeft - 6, FieldHeight);
        return l;
    };
    const auto edit = [this](const char* name, int top, int kind) {
        TEdit* e = AddEdit(InPanel, name, EditLeft, top, EditWidth, kind);
        e->SetHeight(FieldHeight);
        return e;
    };
    FLabel = label("FLabel", "RPM:", 6);
    RpmEdit = edit("RpmEdit", 6, EditUFloat);
    FUpDown = AddUpDown(InPanel, "FUpDown", RpmEdit, -128, 127, 1, true);
    Label1 = label("Label1", "P, кПа:", 42);
    OilPressureEdit = edit("OilPressureEdit", 42, EditSInt);
    UpDown1 = AddUpDown(InPanel, "UpDown1", OilPressureEdit, -128, 127, 1, true);
    InPanel->SetHeight(78);
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TEngineDataFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    StoreRpm(answer, RpmEdit->Text());
    StorePressure(answer, OilPressureEdit->Text());
}

void TEngineDataFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    RpmEdit->SetText(FloatToStr(Rpm(answer)));
    OilPressureEdit->SetText(QString::number(Pressure(answer)));
}

void TEngineDataFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, FloatToStr(Rpm(answer)));
    WriteCell(*Info, 4, QString::number(Pressure(answer)));
    WriteCell(*Info, 5, NoValueText);
    WriteCell(*Info, 6, NoValueText);
}

void TEngineDataFrame::GridToAnswer(const QString& text, int column)
{
    if (column == 3)
        StoreRpm(Info->SchemeObject->Answer, text);
    else if (column == 4)
        StorePressure(Info->SchemeObject->Answer, text);
}

TFrame* CreateEngineDataFrame(QWidget* owner, TDeviceInfo* info) { return new TEngineDataFrame(owner, info); }

QString DescribeEngineDataAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("RPM=%f, P=%u", static_cast<double>(Rpm(m)), Pressure(m));
}

void RegisterEngineDataFrames()
{
    BindRows({EngineDataRow}, CreateEngineDataFrame, nullptr, DescribeEngineDataAnswer);
}
