#include "frames/Terminal.h"

#include <QScrollBar>
#include <QTimer>

#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "platform/Numbers.h"
#include "platform/Text.h"

const QStringList TerminalTabCaptions = {QStringLiteral("Текст"), QStringLiteral("Инфо"), QStringLiteral("Ошибки")};
const QString TerminalNewLineMark = QStringLiteral("[*]");

namespace {
constexpr int TerminalRow = 60;

// The text stream of a request: byte 1 is not part of it.
constexpr int TextFirst = 2;
constexpr int TextLast = 14;

// Codes of the stream.
constexpr std::uint8_t CodeNone = 0;
constexpr std::uint8_t CodeFirstMemo = 1;
constexpr std::uint8_t CodeLastMemo = 3;
constexpr std::uint8_t CodeEndOfLine = 10;
constexpr std::uint8_t CodeClear = 12;

// The answer body: a constant 1, then the two values.
constexpr Bits AnswerMarkByte{1, 0, 8};
constexpr Bits FirstValueByte{2, 0, 8};
constexpr Bits SecondValueByte{3, 0, 8};
constexpr std::uint8_t AnswerMark = 1;

constexpr int PagesHeight = 178;
constexpr int ScrollStripHeight = 26;
constexpr int ValueMax = 255;

QString CharOf(std::uint8_t code)
{
    const char c = static_cast<char>(code);
    return FromCp1251(&c, 1);
}

// An edit's value as an answer byte; a text that does not convert sends 0.
std::uint8_t ValueOf(const TEdit* edit) { return static_cast<std::uint8_t>(StrToInt(edit->Text()).value_or(0)); }
}

TTerminalFrame::TTerminalFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, true)
{
    ReplyPages = new TPageControl(OutPanel);
    ReplyPages->SetName(QStringLiteral("ReplyPages"));
    ReplyPages->SetBounds(4, 4, FrameWidth - 8, PagesHeight - 8);
    TTabSheet* sheets[3] = {};
    TMemo* memos[3] = {};
    for (int page = 0; page < 3; ++page) {
        sheets[page] = ReplyPages->AddSheet(QStringLiteral("TabSheet%1").arg(page + 1), TerminalTabCaptions[page]);
        memos[page] = new TMemo(sheets[page]);
        memos[page]->SetName(QStringLiteral("Output%1").arg(page + 1));
        memos[page]->SetReadOnly(true);   // the terminal's output, not the user's
        memos[page]->SetVerticalScrollBar(true);
        memos[page]->SetAlign(TAlign::Client);
    }
    TabSheet1 = sheets[0];
    TabSheet2 = sheets[1];
    TabSheet3 = sheets[2];
    Output1 = memos[0];
    Output2 = memos[1];
    Output3 = memos[2];
    // The only bindings a frame makes itself: the page control and the timer are no controls
    // the main window's handlers know.
    ReplyPages->OnChange = [this](QObject* sender) { ReplyPagesChange(sender); };
    OutPanel->SetHeight(PagesHeight + ScrollStripHeight);

    // Between the two sides and in neither: the side panels' enabling and binding leave it
    // alone. It lies over the strip kept free at the foot of OutPanel.
    scrollCheck = AddCheckBox(this, QStringLiteral("scrollCheck"), QStringLiteral("Автопрокрутка"), 8,
                              FrameHeaderHeight + PagesHeight + 4, 200, true);
    scrollCheck->raise();

    Edit1 = AddEdit(InPanel, QStringLiteral("Edit1"), 8, 8, 70, EditUInt);
    UpDown1 = AddUpDown(InPanel, QStringLiteral("UpDown1"), Edit1, 0, ValueMax);
    Edit2 = AddEdit(InPanel, QStringLiteral("Edit2"), 100, 8, 70, EditUInt);
    UpDown2 = AddUpDown(InPanel, QStringLiteral("UpDown2"), Edit2, 0, ValueMax);
    for (TEdit* edit : {Edit1, Edit2}) {
        edit->SetText(QStringLiteral("0"));
        edit->SetReadOnly(false);
    }
    fixedValues = AddFrameStateBox(InPanel, QStringLiteral("fixedValues"), QStringLiteral("Фиксировать значения"), 8, 38,
                                   250);
    InPanel->SetHeight(64);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    FitHeight();
    FillRequestAndAnswerSlots(this);
    current_ = Output1;
}

TMemo* TTerminalFrame::memoOf(int page) const
{
    TMemo* const memos[3] = {Output1, Output2, Output3};
    return memos[page];
}

void TTerminalFrame::RequestToFrame()
{
    const TMessageImage& request = Info->SchemeObject->Request;
    for (int i = TextFirst; i <= TextLast; ++i) {
        const std::uint8_t code = request[static_cast<std::size_t>(i)];
        if (code == CodeNone)
            continue;
        if (code >= CodeFirstMemo && code <= CodeLastMemo)
            current_ = memoOf(code - CodeFirstMemo);
        else if (code == CodeEndOfLine)
            endLine();
        else if (code == CodeClear)
            current_->Clear();
        else
            pending_ += CharOf(code);
    }
}

void TTerminalFrame::endLine()
{
    TMemo* memo = current_;
    QScrollBar* bar = memo->verticalScrollBar();
    const int kept = bar->value();
    const bool autoScroll = scrollCheck->Checked();
    // Without auto-scroll the reader keeps the place they scrolled to, and sees no jump.
    if (!autoScroll)
        memo->setUpdatesEnabled(false);
    memo->AddLine(pending_);
    if (autoScroll) {
        memo->ScrollToEnd();
    } else {
        bar->setValue(kept);
        memo->setUpdatesEnabled(true);
    }
    for (int page = 0; page < 3; ++page)
        if (memoOf(page) == memo)
            markUnread(page);
    pending_.clear();
}

void TTerminalFrame::markUnread(int page)
{
    TTabSheet* sheet = ReplyPages->Page(page);
    if (ReplyPages->ActivePage() != sheet && ReplyPages->PageCaption(sheet) == TerminalTabCaptions[page])
        ReplyPages->SetPageCaption(sheet, TerminalTabCaptions[page] + TerminalNewLineMark);
}

void TTerminalFrame::ReplyPagesChange(QObject*)
{
    TTabSheet* shown = ReplyPages->ActivePage();
    for (int page = 0; page < ReplyPages->PageCount() && page < TerminalTabCaptions.size(); ++page)
        if (ReplyPages->Page(page) == shown)
            ReplyPages->SetPageCaption(shown, TerminalTabCaptions[page]);
}

// The timer stays idle: a line is shown when its end-of-line code arrives, never on a timer.
void TTerminalFrame::Timer1Timer() {}

void TTerminalFrame::FrameToAnswer()
{
    if (!fixedValues->Checked()) {
        values_[0] = ValueOf(Edit1);
        values_[1] = ValueOf(Edit2);
    }
    TMessageImage& answer = Info->SchemeObject->Answer;
    AnswerMarkByte.store(answer, AnswerMark);
    FirstValueByte.store(answer, values_[0]);
    SecondValueByte.store(answer, values_[1]);
}

// The edits show the answer the device holds: after a side was cleared (a line-mode switch, a
// received device) they show again what goes out, and what is sent is what they show.
void TTerminalFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    values_[0] = static_cast<std::uint8_t>(FirstValueByte.get(answer));
    values_[1] = static_cast<std::uint8_t>(SecondValueByte.get(answer));
    Edit1->SetText(QString::number(values_[0]));
    Edit2->SetText(QString::number(values_[1]));
}

void TTerminalFrame::GridToRequest(const QString&, int) {}
void TTerminalFrame::GridToAnswer(const QString&, int) {}
void TTerminalFrame::FrameToRequest() {}
void TTerminalFrame::RequestToGrid() {}
void TTerminalFrame::AnswerToGrid() {}

TFrame* CreateTerminalFrame(QWidget* owner, TDeviceInfo* info) { return new TTerminalFrame(owner, info); }

QString DescribeTerminalRequest(const std::uint8_t* message)
{
    QString text;
    for (int i = TextFirst; i <= TextLast; ++i) {
        const std::uint8_t code = message[i];
        if (code == CodeNone)
            break;
        if (code >= CodeFirstMemo && code <= CodeLastMemo)
            text += QStringLiteral("\\%1\\").arg(code);
        else if (code == CodeEndOfLine)
            text += QStringLiteral("\\n\\");
        else if (code == CodeClear)
            text += QStringLiteral("\\clr\\");
        else
            text += CharOf(code);
    }
    return text;
}

// The values, not the constant 1 before them: bytes 2 and 3 of the answer.
QString DescribeTerminalAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("OUT: %d %d", static_cast<int>(FirstValueByte.get(m)), static_cast<int>(SecondValueByte.get(m)));
}

void RegisterTerminalFrames() { BindRows({TerminalRow}, CreateTerminalFrame, DescribeTerminalRequest, DescribeTerminalAnswer); }
