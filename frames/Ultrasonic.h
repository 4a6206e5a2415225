#pragma once
// The ultrasonic range finder: answers its address byte with eight distances, one byte each in
// centimetres, shown in metres.
#include <array>
#include <cstdint>
#include <optional>

#include "frames/shared/FrameBase.h"

class TUltrasonicFrame final : public TFrameBase {
public:
    static constexpr int DistanceCount = 8;

    TUltrasonicFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TUltrasonicFrame"; }

    // V1 first: PLabel, Label1 ... Label7; Edit1 ... Edit8; PUpDown, UpDown1 ... UpDown7.
    std::array<TLabel*, DistanceCount> Labels{};
    std::array<TEdit*, DistanceCount> Edits{};
    std::array<TUpDown*, DistanceCount> UpDowns{};

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

// A distance in metres as its byte: the number held in single precision, x 100 + 0.5, cut
// toward zero, low 8 bits. None when the text does not convert or the number does not fit.
std::optional<std::uint8_t> MetresToByte(const QString& text);
// A byte as metres, "0.00".
QString ByteToMetres(std::uint8_t value);

TFrame* CreateUltrasonicFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeUltrasonicAnswer(const std::uint8_t* message);

// Binds the factory and the answer decoder into the range finder's catalogue row.
void RegisterUltrasonicFrames();
