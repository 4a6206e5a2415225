#pragma once
// The frame a catalogue row gets until its own frame class exists: answer-only, with the
// header strip and an empty InPanel; its slots do nothing and its decoder gives an empty text.
#include "frames/FrameBase.h"

class TPlaceholderFrame : public TFrameBase {
    Q_OBJECT
public:
    TPlaceholderFrame(QWidget* owner, TDeviceInfo* info);

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreatePlaceholderFrame(QWidget* owner, TDeviceInfo* info);
QString DescribePlaceholder(const std::uint8_t* message);
