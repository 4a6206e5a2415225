#pragma once
// The line monitor's list: a view over the line log's ring. Its rows are the log's records,
// drawn on demand, so 10000 records need no list items and a record costs the list nothing
// when it arrives. The line log's hand-off changes the list in bracketed updates many times a
// second; the list takes them in at once and shows them at the screen's pace: the rows, the
// selection and the scrolling catch up at most once per event-loop pass and every ~30 ms.
#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "ui/TextLayouts.h"

inline constexpr int LineListItemHeightPx = 16;
inline constexpr QSize LineListItemSize(100, LineListItemHeightPx);   // the view stretches it to its width
// The blank between a cut request text and the answer column.
inline constexpr int LineRequestGapPx = 4;

// Rows over the log's records by their running numbers: row 0 shows record number First().
// Sync catches the rows up with the log in at most two row changes.
class TLineListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : count_; }
    QVariant data(const QModelIndex&, int) const override { return {}; }
    int Count() const { return count_; }
    std::int64_t First() const { return first_; }
    // The rows become the log's first `count` records: those dropped from the log's front
    // leave the list's front, new ones join its end.
    void Sync(int count);
    // The log index of the record a row shows, or -1 when that record has left the log.
    int RecordOf(int row) const;

private:
    std::int64_t first_ = 0;
    int count_ = 0;
};

// Every row of the list has the same height.
class TLineListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return LineListItemSize; }
};

// The list's scroll bar. Every change of the range or value would repaint all of it (with the
// panels behind it, and its groove a fill tall enough to be split among threads), yet with
// thousands of rows a new row moves the slider by less than a pixel: it repaints only what its
// look changed, the slider's old and new places and an arrow whose end the value reached or left.
class TLineScrollBar : public QScrollBar {
    Q_OBJECT
public:
    using QScrollBar::QScrollBar;

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct TLook {
        QRect Slider;
        bool HasRange = false;
        bool AtMinimum = false;
        bool AtMaximum = false;
        bool operator==(const TLook&) const = default;
    };
    TLook look() const;
    QRect part(QStyle::SubControl control) const;
    TLook painted_;   // what the last paint showed
};

// The list's view: a table of one column. The list only ever adds rows at the end or takes them
// from the top; the view would take either for a new layout and repaint every visible row. It
// moves the rows it shows up by those taken from the top and paints only the rows that came,
// which is what a whole repaint would show. Any other change of the rows lays out as ever.
class TLineListView : public QTableView {
    Q_OBJECT
public:
    explicit TLineListView(QWidget* parent = nullptr);
    void setModel(QAbstractItemModel* model) override;
    void doItemsLayout() override;

private:
    void rowsGone(int first, int last);
    void rowsCame(int first, int last);
    int gone_ = 0;            // rows taken from the top since the last layout
    int cameFrom_ = -1;       // the first row added at the end since then, -1 none
    bool anyOther_ = false;   // rows changed otherwise: a whole layout
};

// The list's side of the window's host seam. Indexes are log indexes (0 = oldest record).
// Outside an update every call takes effect at once; inside one the count, the selection and
// the decoding panel wait for the next catch-up.
class TLineList : public QObject {
    Q_OBJECT
public:
    // Sets itself up as the view's model; `showInfo` rebuilds the decoding panel from the
    // selected record.
    TLineList(QTableView* view, std::function<void()> showInfo);
    TLineListModel* Model() const { return model_; }

    int TopIndex() const;
    int ItemIndex() const;
    // Selects a record (-1 none) and scrolls it into view.
    void SetItemIndex(int index);
    int Count() const;
    void SetCount(int count);
    void BeginUpdate() { ++depth_; }
    void EndUpdate();
    // Shows the selected record in the decoding panel: at once outside an update; else at the
    // catch-up, and only if the selected record is another than the one shown.
    void ShowInfo();
    // The decoding panel is empty.
    void InfoCleared() { shownNumber_ = -1; }
    // True while a catch-up moves the selection (its change signals are the list's own).
    bool CatchingUp() const { return catchingUp_; }
    TTextLayouts& Texts() { return texts_; }

private:
    static constexpr int PaceMs = 30;
    void Schedule();
    void SyncNow();
    void CatchUp();
    void Select(std::int64_t number);
    void ScrollIntoView(int row);
    int VisibleLines() const;   // lines shown whole
    std::int64_t SelectedNumber() const;
    // The user moved the selection: it holds over one that a catch-up was still to make.
    void UserSelected();

    QTableView* view_;
    TLineListModel* model_;
    std::function<void()> showInfo_;
    QTimer timer_;
    QElapsedTimer sinceCatchUp_;
    int depth_ = 0;
    int pendingCount_ = -1;   // -1: none waiting
    bool selectPending_ = false;
    std::int64_t pendingNumber_ = -1;   // the record to select by its running number, -1 none
    std::int64_t shownNumber_ = -1;     // the record the decoding panel shows, -1 none
    bool catchingUp_ = false;
    TTextLayouts texts_;
};
