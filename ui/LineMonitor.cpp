// The line monitor: the line log drawn as a list of request and answer texts, coloured by result
// and by the selected device, the decoding of the selected record, recording on and off, and
// the search for runs of failed exchanges.
#include "ui/LineMonitor.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>
#include <QToolButton>
#include <cmath>

#include "line/LineLog.h"
#include "line/Protocol.h"
#include "model/DeviceInfo.h"
#include "model/Session.h"
#include "platform/Abort.h"
#include "ui/LineList.h"
#include "ui/Main.h"
#include "ui/PortControl.h"

bool HexPairToByte(const QString& text, int index, std::uint8_t& value)
{
    static const QString digits = QStringLiteral("0123456789ABCDEF");
    if (index < 0 || index + 1 >= text.size())
        return false;
    const int high = digits.indexOf(text.at(index));
    const int low = digits.indexOf(text.at(index + 1));
    if (high < 0 || low < 0)
        return false;
    value = std::uint8_t(high * 16 + low);
    return true;
}

bool ParseHexText(const QString& text, std::uint8_t* bytes, int& count)
{
    count = 0;
    int p = 0;
    while (p < text.size() && count < 16) {
        if (text.at(p) == QLatin1Char('\''))
            ++p;
        if (!HexPairToByte(text, p, bytes[count]))
            return false;
        ++count;
        p += 3;
    }
    return p >= text.size();
}

QString FormatRecordTime(double days)
{
    const double fraction = days - std::floor(days);
    long long ms = std::llround(fraction * 86400000.0);
    if (ms >= 86400000)
        ms = 86400000 - 1;
    return QStringLiteral("[ %1:%2:%3.%4 ]")
        .arg(ms / 3600000)
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

QStringList LineRecordInfo(const TLineRecord& record, const TDevicesByAddr& devices)
{
    QStringList lines{FormatRecordTime(record.Time)};
    const TFrameInfo* row = record.FrameInfo;
    if (!row) {
        lines << QStringLiteral("Данные не определены");
        return lines;
    }
    lines << QString::fromUtf8(row->Description) + QStringLiteral(" (") + QString::fromUtf8(row->Model) +
                 QLatin1Char(')');
    const TDeviceInfo* device = row->Address < devices.size() ? devices[row->Address] : nullptr;
    if (!device || device->FrameInfo != row)
        lines << QStringLiteral("Нет в схеме");
    else
        lines << QStringLiteral("Название: ") + device->SchemeObject->Name;
    // The decoders read a whole 16-byte image; a short text leaves zeros behind it.
    std::uint8_t bytes[16] = {};
    int count = 0;
    if (row->DescribeRequest) {
        ParseHexText(record.RequestText, bytes, count);
        if (count == row->RequestLength)
            lines << QStringLiteral("Запрос: ") + row->DescribeRequest(bytes);
    }
    if (record.Result != 0) {
        lines << ResultText(record.Result);
        return lines;
    }
    std::fill(std::begin(bytes), std::end(bytes), 0);
    ParseHexText(record.AnswerText, bytes, count);
    if (count == row->AnswerLength && row->DescribeAnswer)
        lines << QStringLiteral("Ответ: ") + row->DescribeAnswer(bytes);
    return lines;
}

int FindPreviousErrorRun(int count, int selected, const std::function<bool(int)>& counts)
{
    if (count <= 0)
        return -1;
    int i = (selected >= 0 && selected < count ? selected : count) - 1;
    while (i >= 0 && !counts(i))
        --i;
    while (i > 0 && counts(i - 1))
        --i;
    if (i <= 0)
        return counts(0) ? 0 : -1;
    return i;
}

int FindNextErrorRun(int count, int selected, const std::function<bool(int)>& counts)
{
    if (count <= 0)
        return -1;
    int i = selected >= 0 && selected < count ? selected : 0;
    while (i < count && counts(i))
        ++i;
    while (i < count && !counts(i))
        ++i;
    return i < count ? i : -1;
}

// ---------------------------------------------------------------------------------------------

namespace {

// Draws each item from the line log through the form.
class TLineRecordDelegate : public TLineListDelegate {
public:
    TLineRecordDelegate(TMirvane2Form* form, const TLineListModel* model, QObject* parent)
        : TLineListDelegate(parent), form_(form), model_(model)
    {
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette& p = option.palette;
        painter->setBrush(selected ? p.color(QPalette::Highlight) : p.color(QPalette::Base));
        painter->setPen(selected ? p.color(QPalette::HighlightedText) : p.color(QPalette::Text));
        form_->LineDataListBoxDrawItem(*painter, model_->RecordOf(index.row()), option.rect);
        painter->restore();
    }

private:
    TMirvane2Form* form_;
    const TLineListModel* model_;
};

// The decoding panel rewritten for the selected record.
void WriteLineRecordInfo(TMirvane2Form& form)
{
    const int index = form.LineListItemIndex();
    const QStringList lines = index >= 0 && index < LineLogCount ? LineRecordInfo(LineLogRecord(index), form.DevicesByAddr())
                                                                 : QStringList();
    // One rewrite of the memo, so that a fast line does not make it flicker line by line.
    form.InfoMemo->setUpdatesEnabled(false);
    form.InfoMemo->SetText(lines.join(QLatin1Char('\n')));
    form.InfoMemo->setUpdatesEnabled(true);
}

}   // namespace

void TMirvane2Form::ConnectLineMonitor()
{
    LineList_ = new TLineList(LineDataListBox, [this] { WriteLineRecordInfo(*this); });
    LineDataListBox->setItemDelegate(new TLineRecordDelegate(this, LineList_->Model(), LineDataListBox));
    LineDataListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    // Clicks and the arrow keys alike show the record they select.
    connect(LineDataListBox->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { GuardUi([this] { LineDataListBoxClick(); }); });
    connect(LineDataHeader, &QHeaderView::sectionResized, this, [this] { LineDataHeaderSectionResize(); });
}

void TMirvane2Form::LineDataListBoxDrawItem(QPainter& canvas, int Index, const QRect& Rect)
{
    if (Index < 0 || Index >= LineLogCount)
        return;
    const TLineRecord& r = LineLogRecord(Index);
    // Another device's records are grey while a device is selected; failures are red.
    if (Session.CurrentDevice && r.FrameInfo != Session.CurrentDevice->FrameInfo)
        canvas.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    else if (r.Result != 0)
        canvas.setPen(QColor(255, 0, 0));
    const int split = LineDataHeader->sectionSize(0);
    const QRect left(Rect.left(), Rect.top(), std::max(0, split - Rect.left()), Rect.height());
    const QRect right(split, Rect.top(), std::max(0, Rect.right() + 1 - split), Rect.height());
    const QBrush brush = canvas.brush();
    canvas.fillRect(left, brush);
    canvas.fillRect(right, brush);
    // A request too long for its column ends in "…" short of the answer, so the two never read
    // as one and no character is cut through.
    const QRect request = left.adjusted(1, 0, -LineRequestGapPx, 0);
    TTextLayouts& texts = LineList_->Texts();
    const int y = Rect.top() + (Rect.height() - canvas.fontMetrics().height()) / 2;
    if (request.width() > 0) {
        canvas.setClipRect(request);
        canvas.drawStaticText(request.left(), y,
                              texts.Fitted(r.RequestText, canvas.font(), canvas.fontMetrics(), request.width()));
    }
    canvas.setClipRect(right);
    canvas.drawStaticText(right.left(), y, texts.Get(r.AnswerText, canvas.font()).Text);
    canvas.setClipping(false);
}

void TMirvane2Form::LineDataHeaderSectionResize() { LineDataListBox->viewport()->update(); }

void TMirvane2Form::LineDataListBoxClick()
{
    // The list's catch-up shows the record it selects itself, once.
    if (!LineList_->CatchingUp())
        ShowLineRecordInfo();
}

void TMirvane2Form::ShowLineRecordInfo() { LineList_->ShowInfo(); }

// The list's calls, in log indexes.
int TMirvane2Form::LineListTopIndex() const { return LineList_->TopIndex(); }
int TMirvane2Form::LineListItemIndex() const { return LineList_->ItemIndex(); }
void TMirvane2Form::SetLineListItemIndex(int index) { LineList_->SetItemIndex(index); }
int TMirvane2Form::LineListVisibleCount() const
{
    return LineDataListBox->viewport()->height() / std::max(LineListItemHeightPx, 1);
}
int TMirvane2Form::LineListCount() const { return LineList_->Count(); }
void TMirvane2Form::SetLineListCount(int count) { LineList_->SetCount(count); }
void TMirvane2Form::BeginLineListUpdate() { LineList_->BeginUpdate(); }
void TMirvane2Form::EndLineListUpdate() { LineList_->EndUpdate(); }

void TMirvane2Form::LineDataButtonClick(QObject* Sender)
{
    const bool on = Sender && Sender->property("Tag").toInt() != 0;
    // The buttons are grouped: the one that was clicked is the one down.
    LineDataStartButton->setChecked(on);
    LineDataStopButton->setChecked(!on);
    FindErrorsPrevButton->setEnabled(!on);
    FindErrorsNextButton->setEnabled(!on);
    if (on && ClearDataCheckBox->Checked()) {
        InfoMemo->Clear();
        LineList_->InfoCleared();
        LineLogClear();
        SetLineListCount(LineLogCount);
    }
    if (Ports.ReceiveThread)
        Ports.ReceiveThread->RequestResetStats();
}

void TMirvane2Form::FindErrorsButtonClick(QObject* Sender)
{
    const TFrameInfo* only = Session.CurrentDevice ? Session.CurrentDevice->FrameInfo : nullptr;
    const auto counts = [only](int i) {
        const TLineRecord& r = LineLogRecord(i);
        return r.Result != 0 && (!only || r.FrameInfo == only);
    };
    const int count = std::min(LineListCount(), int(LineLogCount));
    const int found = Sender == FindErrorsPrevButton ? FindPreviousErrorRun(count, LineListItemIndex(), counts)
                                                     : FindNextErrorRun(count, LineListItemIndex(), counts);
    if (found < 0)
        return;
    SetLineListItemIndex(found);
    ShowLineRecordInfo();
}
