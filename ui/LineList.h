#pragma once
// The line monitor's list is virtual: the model has only a count, and its items are drawn from
// the line log on demand, so 10000 records need no list items.
#include <QAbstractListModel>
#include <QStyledItemDelegate>

inline constexpr int LineListItemHeightPx = 16;

class TLineListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : count_; }
    QVariant data(const QModelIndex&, int) const override { return {}; }
    int Count() const { return count_; }
    void SetCount(int count);

private:
    int count_ = 0;
};

// Every row of the list has the same height.
class TLineListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(100, LineListItemHeightPx);
    }
};
