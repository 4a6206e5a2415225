// The line monitor's list over the line log's ring, and its paced catch-up with the log.
#include "ui/LineList.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTableView>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "line/LineLog.h"

void TLineListModel::Sync(int count)
{
    const auto gone = static_cast<int>(std::clamp<std::int64_t>(LineLogFirstNumber - first_, 0, count_));
    if (gone > 0) {
        beginRemoveRows({}, 0, gone - 1);
        first_ += gone;
        count_ -= gone;
        endRemoveRows();
    }
    if (count_ == 0)
        first_ = LineLogFirstNumber;
    count = std::max(0, count);
    if (count > count_) {
        beginInsertRows({}, count_, count - 1);
        count_ = count;
        endInsertRows();
    } else if (count < count_) {
        beginRemoveRows({}, count, count_ - 1);
        count_ = count;
        endRemoveRows();
    }
}

int TLineListModel::RecordOf(int row) const
{
    const std::int64_t index = first_ + row - LineLogFirstNumber;
    return index >= 0 && index < LineLogCount ? static_cast<int>(index) : -1;
}

TLineList::TLineList(QTableView* view, std::function<void()> showInfo)
    : QObject(view), view_(view), model_(new TLineListModel(this)), showInfo_(std::move(showInfo))
{
    // A table of one column whose rows all have the one height: a row added at a catch-up costs
    // the view next to nothing, where a list view lays out every row of the log again.
    view_->setModel(model_);
    view_->setShowGrid(false);
    view_->setWordWrap(false);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view_->horizontalHeader()->hide();
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setMinimumSectionSize(1);
    view_->verticalHeader()->setDefaultSectionSize(LineListItemHeightPx);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { UserSelected(); });
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { CatchUp(); });
}

int TLineList::TopIndex() const
{
    // The list scrolls by whole lines: the scroll bar's value is the top line.
    std::int64_t number = model_->Count() > 0 ? model_->First() + view_->verticalScrollBar()->value() : LineLogFirstNumber;
    // A selection still waiting for its catch-up is scrolled into view there: the list's rule
    // asks about the lines the user will see, not those the screen has not caught up with yet.
    if (selectPending_ && pendingNumber_ >= 0) {
        if (pendingNumber_ < number)
            number = pendingNumber_;
        else if (pendingNumber_ >= number + VisibleLines())
            number = pendingNumber_ - VisibleLines() + 1;
    }
    return static_cast<int>(std::clamp<std::int64_t>(number - LineLogFirstNumber, 0, std::max(0, LineLogCount - 1)));
}

int TLineList::ItemIndex() const
{
    const std::int64_t number = SelectedNumber();
    const std::int64_t index = number - LineLogFirstNumber;
    return number >= 0 && index >= 0 && index < LineLogCount ? static_cast<int>(index) : -1;
}

void TLineList::SetItemIndex(int index)
{
    const std::int64_t number = index >= 0 && index < Count() ? LineLogFirstNumber + index : -1;
    if (depth_ > 0) {
        selectPending_ = true;
        pendingNumber_ = number;
        return;
    }
    SyncNow();
    selectPending_ = false;
    Select(number);
}

int TLineList::Count() const { return pendingCount_ >= 0 ? pendingCount_ : model_->Count(); }

void TLineList::SetCount(int count)
{
    if (depth_ > 0) {
        pendingCount_ = std::max(0, count);
        return;
    }
    pendingCount_ = count;
    SyncNow();
}

void TLineList::SyncNow()
{
    model_->Sync(Count());
    pendingCount_ = -1;
}

void TLineList::EndUpdate()
{
    if (depth_ > 0 && --depth_ == 0)
        Schedule();
}

void TLineList::ShowInfo()
{
    if (depth_ > 0)
        return;   // the catch-up shows the selected record if it is another
    showInfo_();
    shownNumber_ = SelectedNumber();
}

void TLineList::Schedule()
{
    if (timer_.isActive())
        return;
    const qint64 since = sinceCatchUp_.isValid() ? sinceCatchUp_.elapsed() : PaceMs;
    timer_.start(static_cast<int>(std::max<qint64>(0, PaceMs - since)));
}

void TLineList::CatchUp()
{
    if (depth_ > 0)
        return;   // the update's end schedules it again
    sinceCatchUp_.start();
    catchingUp_ = true;
    SyncNow();
    if (selectPending_)
        Select(pendingNumber_);
    selectPending_ = false;
    catchingUp_ = false;
    if (SelectedNumber() != shownNumber_) {
        showInfo_();
        shownNumber_ = SelectedNumber();
    }
}

void TLineList::Select(std::int64_t number)
{
    const std::int64_t row = number - model_->First();
    if (number < 0 || row < 0 || row >= model_->Count()) {
        view_->setCurrentIndex({});
        return;
    }
    const QModelIndex item = model_->index(static_cast<int>(row));
    view_->setCurrentIndex(item);
    ScrollIntoView(static_cast<int>(row));
}

void TLineList::ScrollIntoView(int row)
{
    // Whole lines only, as the rule of when to follow the newest record counts them.
    QScrollBar* bar = view_->verticalScrollBar();
    const int top = bar->value();
    if (row < top)
        bar->setValue(row);
    else if (row >= top + VisibleLines())
        bar->setValue(row - VisibleLines() + 1);
}

int TLineList::VisibleLines() const { return std::max(1, view_->viewport()->height() / LineListItemHeightPx); }

void TLineList::UserSelected()
{
    if (!catchingUp_)
        selectPending_ = false;
}

std::int64_t TLineList::SelectedNumber() const
{
    if (selectPending_)
        return pendingNumber_;
    const QModelIndex current = view_->currentIndex();
    return current.isValid() ? model_->First() + current.row() : -1;
}

void TLineScrollBar::sliderChange(SliderChange change)
{
    if (change != SliderRangeChange && change != SliderValueChange) {
        QScrollBar::sliderChange(change);
        return;
    }
    // What differs from the last paint (a repaint still to come shows the present state too).
    const TLook now = look();
    if (now == painted_)
        return;
    if (now.HasRange != painted_.HasRange) {
        QScrollBar::sliderChange(change);
        return;
    }
    QRegion changed;
    // The slider's places and what lies between them (a style may draw the two pages apart),
    // with the few pixels round it that a style's edges take.
    constexpr int Edge = 3;
    if (now.Slider != painted_.Slider)
        changed += now.Slider.united(painted_.Slider).adjusted(-Edge, -Edge, Edge, Edge);
    if (now.AtMinimum != painted_.AtMinimum)
        changed += part(QStyle::SC_ScrollBarSubLine);
    if (now.AtMaximum != painted_.AtMaximum)
        changed += part(QStyle::SC_ScrollBarAddLine);
    update(changed);
}

void TLineScrollBar::paintEvent(QPaintEvent* event)
{
    painted_ = look();
    QScrollBar::paintEvent(event);
}

TLineScrollBar::TLook TLineScrollBar::look() const
{
    return {part(QStyle::SC_ScrollBarSlider), minimum() < maximum(), value() == minimum(), value() == maximum()};
}

QRect TLineScrollBar::part(QStyle::SubControl control) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, control, this);
}

TLineListView::TLineListView(QWidget* parent) : QTableView(parent)
{
    setVerticalScrollBar(new TLineScrollBar(Qt::Vertical, this));
}

void TLineListView::setModel(QAbstractItemModel* model)
{
    if (QAbstractItemModel* old = this->model())
        old->disconnect(this);
    QTableView::setModel(model);
    anyOther_ = true;
    if (!model)
        return;
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int first, int last) { rowsGone(first, last); });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) { rowsCame(first, last); });
    const auto other = [this] { anyOther_ = true; };
    connect(model, &QAbstractItemModel::modelReset, this, other);
    connect(model, &QAbstractItemModel::layoutChanged, this, other);
    connect(model, &QAbstractItemModel::rowsMoved, this, other);
}

void TLineListView::rowsGone(int first, int last)
{
    if (first != 0) {
        anyOther_ = true;
        return;
    }
    const int n = last + 1;
    gone_ += n;
    if (cameFrom_ >= 0)
        cameFrom_ = std::max(0, cameFrom_ - n);
}

void TLineListView::rowsCame(int first, int last)
{
    if (last != model()->rowCount() - 1) {
        anyOther_ = true;
        return;
    }
    cameFrom_ = cameFrom_ < 0 ? first : std::min(cameFrom_, first);
}

void TLineListView::doItemsLayout()
{
    const int gone = std::exchange(gone_, 0);
    const int cameFrom = std::exchange(cameFrom_, -1);
    if (std::exchange(anyOther_, false)) {
        QTableView::doItemsLayout();
        return;
    }
    // The rows taken from the top move the rest up; a new scroll range may move the view over
    // them (the last row, partly shown at the bottom, is no longer the last).
    const int offset = verticalHeader()->offset();
    updateGeometries();
    verticalHeader()->setUpdatesEnabled(true);   // held while rows went, as a whole layout ends it
    QWidget* rows = viewport();
    const int shift = gone * LineListItemHeightPx + verticalHeader()->offset() - offset;
    if (std::abs(shift) >= rows->height())
        rows->update();
    else if (shift != 0)
        rows->scroll(0, -shift);
    if (cameFrom >= 0) {
        const int top = rowViewportPosition(cameFrom);
        if (top < 0)
            rows->update();
        else if (top < rows->height())
            rows->update(0, top, rows->width(), rows->height() - top);
    }
}