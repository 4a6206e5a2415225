#include "frames/Placeholder.h"

TPlaceholderFrame::TPlaceholderFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TPlaceholderFrame::GridToAnswer(const QString&, int) {}
void TPlaceholderFrame::FrameToAnswer() {}
void TPlaceholderFrame::AnswerToFrame() {}
void TPlaceholderFrame::AnswerToGrid() {}

TFrame* CreatePlaceholderFrame(QWidget* owner, TDeviceInfo* info) { return new TPlaceholderFrame(owner, info); }

QString DescribePlaceholder(const std::uint8_t*) { return QString(); }
