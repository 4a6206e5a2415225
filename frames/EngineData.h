#pragma once
// The engine data an engine unit reports on the line: engine speed in eighths of a revolution
// per minute and oil pressure in steps of 4 kPa.
#include <cstdint>

#include "frames/shared/FrameBase.h"
#include "platform/Numbers.h"

class TEngineDataFrame final : public TFrameBase {
public:
    TEngineDataFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TEngineDataFrame"; }

    TLabel* FLabel;
    TEdit* RpmEdit;
    TUpDown* FUpDown;
    TLabel* Label1;
    TEdit* OilPressureEdit;
    TUpDown* UpDown1;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateEngineDataFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeEngineDataAnswer(const std::uint8_t* message);

// Binds the engine data's factory and answer decoder into its catalogue row.
void RegisterEngineDataFrames();
