#pragma once
// The text terminal on the line: the master's requests carry text and control codes that the
// frame shows in three memos on tabs; the terminal answers with two values the user sets.
#include <QString>
#include <QStringList>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class QTimer;

// The plain tab captions, in page order.
extern const QStringList TerminalTabCaptions;   // "Текст", "Инфо", "Ошибки"
// Appended to the caption of a tab that got a line while another tab was shown.
extern const QString TerminalNewLineMark;   // "[*]"

class TTerminalFrame final : public TFrameBase {
public:
    TTerminalFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TTerminalFrame"; }
    // Each request carries more of the text: the same text twice is two lines.
    bool TakesEveryRequest() const override { return true; }

    TPageControl* ReplyPages;
    TTabSheet* TabSheet1;
    TMemo* Output1;
    TTabSheet* TabSheet2;
    TMemo* Output2;
    TTabSheet* TabSheet3;
    TMemo* Output3;
    TCheckBox* scrollCheck;
    TEdit* Edit1;
    TUpDown* UpDown1;
    TEdit* Edit2;
    TUpDown* UpDown2;
    TCheckBox* fixedValues;
    QTimer* Timer1;

    // The grid row of a terminal shows no values, and the request is the master's, never built
    // here: only RequestToFrame and the answer's two frame slots have work to do.
    void GridToRequest(const QString& text, int column);
    void GridToAnswer(const QString& text, int column);
    void FrameToRequest();
    void RequestToFrame();
    void RequestToGrid();
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();

    void ReplyPagesChange(QObject* sender);
    void Timer1Timer();

    TMemo* CurrentMemo() const { return current_; }
    QString PendingLine() const { return pending_; }

private:
    void endLine();
    void markUnread(int page);
    TMemo* memoOf(int page) const;

    TMemo* current_ = nullptr;
    QString pending_;               // text since the last end of line
    std::uint8_t values_[2] = {};   // the answer values last read from the edits
};

TFrame* CreateTerminalFrame(QWidget* owner, TDeviceInfo* info);
// The text stream of a request (bytes 2 to 14, up to the first 0), control codes spelled out.
QString DescribeTerminalRequest(const std::uint8_t* message);
// The two answer values.
QString DescribeTerminalAnswer(const std::uint8_t* message);

// Binds the terminal's factory and decoders into its catalogue row.
void RegisterTerminalFrames();
