#include "frames/Ultrasonic.h"

#include <cmath>

#include "frames/shared/FieldControls.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"
#include "platform/Numbers.h"

namespace {
constexpr int UltrasonicRow = 85;
constexpr long double CentimetresPerMetre = 100.0L;
constexpr double MetresPerUnit = 0.01;

constexpr int FieldHeight = 28;
constexpr int RowPitch = 36;
constexpr int EditLeft = 84;
constexpr int EditWidth = 114;

// Distance k (0-based) lies in byte k + 1.
std::size_t ByteOf(int k) { return static_cast<std::size_t>(k + 1); }

QString Numbered(const char* stem, int number) { return QString::fromLatin1(stem) + QString::number(number); }
}

std::optional<std::uint8_t> MetresToByte(const QString& text)
{
    const std::optional<long double> value = StrToFloat(text);
    if (!value)
        return std::nullopt;
    // The sensor's value is single precision: 2.55 m is 254.99... cm before the half is added.
    const float metres = static_cast<float>(*value);
    if (!std::isfinite(metres))
        return std::nullopt;
    const std::optional<std::int64_t> raw = ToRaw(metres, CentimetresPerMetre, Round::AddHalf);
    if (!raw)
        return std::nullopt;
    return static_cast<std::uint8_t>(*raw);
}

QString ByteToMetres(std::uint8_t value) { return FormatFloat("0.00", value * MetresPerUnit); }

TUltrasonicFrame::TUltrasonicFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    for (int k = 0; k < DistanceCount; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        const int top = 6 + k * RowPitch;
        // The first row kept its own names; the others are numbered from the second.
        const QString labelName = k == 0 ? QStringLiteral("PLabel") : Numbered("Label", k);
        const QString upDownName = k == 0 ? QStringLiteral("PUpDown") : Numbered("UpDown", k);
        Labels[i] = AddLabel(InPanel, labelName, QStringLiteral("V%1, м:").arg(k + 1), 6, top);
        Labels[i]->SetBounds(6, top, 78, FieldHeight);
        Edits[i] = AddEdit(InPanel, Numbered("Edit", k + 1), EditLeft, top, EditWidth, EditUFloat);
        Edits[i]->SetHeight(FieldHeight);
        UpDowns[i] = AddUpDown(InPanel, upDownName, Edits[i]);
    }
    InPanel->SetHeight(6 + DistanceCount * RowPitch);
    FitHeight();
    FillAnswerOnlySlots(this);
}

// One guarded block: the first text that does not convert ends it, so the distances after it
// keep what they had.
void TUltrasonicFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    for (int k = 0; k < DistanceCount; ++k) {
        const std::optional<std::uint8_t> value = MetresToByte(Edits[static_cast<std::size_t>(k)]->Text());
        if (!value)
            return;
        answer[ByteOf(k)] = *value;
    }
}

void TUltrasonicFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    for (int k = 0; k < DistanceCount; ++k)
        Edits[static_cast<std::size_t>(k)]->SetText(ByteToMetres(answer[ByteOf(k)]));
}

void TUltrasonicFrame::AnswerToGrid()
{
    for (int column = 3; column <= 6; ++column)
        WriteCell(*Info, column, NoValueText);
}

// The grid shows no distance, so an edited cell has nothing to change.
void TUltrasonicFrame::GridToAnswer(const QString&, int) {}

TFrame* CreateUltrasonicFrame(QWidget* owner, TDeviceInfo* info) { return new TUltrasonicFrame(owner, info); }

QString DescribeUltrasonicAnswer(const std::uint8_t* message)
{
    double v[TUltrasonicFrame::DistanceCount];
    for (int k = 0; k < TUltrasonicFrame::DistanceCount; ++k)
        v[k] = message[ByteOf(k)] * MetresPerUnit;
    return FormatLine("V1=%.2f V2=%.2f V3=%.2f V4=%.2f V5=%.2f V6=%.2f V7=%.2f V8=%.2f", v[0], v[1], v[2], v[3],
                      v[4], v[5], v[6], v[7]);
}

void RegisterUltrasonicFrames() { BindRows({UltrasonicRow}, CreateUltrasonicFrame, nullptr, DescribeUltrasonicAnswer); }
