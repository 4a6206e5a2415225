#pragma once
// The temperature sensor: one answer byte, the temperature in °C offset by 40 and held to the
// byte's range.
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TTemperatureFrame final : public TFrameBase {
public:
    TTemperatureFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TTemperatureFrame"; }

    TLabel* FLabel;
    TEdit* TempEdit;
    TUpDown* FUpDown;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

// The answer byte of a temperature: T + 40, held to 0 below -40 °C and to 255 above 215 °C.
std::uint8_t TemperatureByte(std::int64_t celsius);

TFrame* CreateTemperatureFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeTemperatureAnswer(const std::uint8_t* message);

// Binds the temperature sensor's factory and answer decoder into its catalogue row.
void RegisterTemperatureFrames();
