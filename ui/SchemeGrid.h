#pragma once
// The scheme grid: one row per device of the open scheme. Which cells may be chosen and edited
// depends on the line mode and the device's mode; the cells are written by the devices' slots
// through their grid rows, and an edited cell is committed through the same slots, never
// stored as typed.
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QStyledItemDelegate>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/GridRow.h"

class QLineEdit;
class QKeyEvent;
class QTableWidget;
class QTableWidgetItem;
class TDeviceInfo;
class TMirvane2Form;

struct TSchemeGridColumn {
    std::int32_t Alignment;        // 0 left, non-zero right
    std::uint8_t Separator;        // a vertical line at the cell's right edge
    std::uint8_t Editable[2][3];   // [line mode][device mode]
};
extern const std::array<TSchemeGridColumn, GridColumnCount> SchemeGridColumns;
extern const std::array<int, GridColumnCount> DefaultColWidths;

// True when the cell of that column may be chosen for a device of that mode in that line mode;
// false for anything out of range.
bool GridCellEditable(int column, int lineMode, int deviceMode);

// Ctrl+digit editing of a digit-coded cell: digit n (0 = least significant) of the cell text
// steps to its next state (an 8-state digit skips state 4). The new text, grouped by four from
// the right; none when the text has no digit n or the column is not digit-coded.
std::optional<QString> CycleDigitText(const QString& text, int states, int n);

// Ctrl+Up/Down on a value cell: the cell's number moved by one step; none when the cell holds
// no number or the step is 0.
std::optional<QString> StepValueText(const QString& text, double step);

// A row of the grid as the devices' slots see it.
class TSchemeGridRow final : public TGridRow {
public:
    TSchemeGridRow(QTableWidget* grid, int row) : grid_(grid), row_(row) {}
    QString Cell(int column) const override;
    void SetCell(int column, const QString& text) override;
    int Row() const { return row_; }

private:
    QTableWidget* grid_;
    int row_;
};

// Paints the cells as the form draws them, and commits an edited cell through the form.
class TSchemeGridDelegate : public QStyledItemDelegate {
public:
    TSchemeGridDelegate(TMirvane2Form* form, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    TMirvane2Form* form_;
};

// The grid's plumbing: the rows the devices write, the attached/detached state of the
// selection and edit-text handlers, the in-place editor, and the routing of keys and mouse
// presses to the form's handlers.
class TSchemeGridControl : public QObject {
public:
    TSchemeGridControl(TMirvane2Form* form, QTableWidget* grid);

    // The row object of a grid row: one per row index, alive as long as the grid.
    TGridRow* Row(int row);

    // OnSelectCell and OnSetEditText: detached while code moves rows or restores cells.
    bool SelectCellAttached = true;
    bool SetEditTextAttached = true;

    // The in-place editor, or none while no cell is being edited.
    QLineEdit* Editor() const;
    // The cell of the open editor (invalid when none).
    QModelIndex EditorCell() const;
    void EditorOpened(const QModelIndex& cell) { editorCell_ = cell; }
    // Ends an edit: its text is committed through the form or dropped.
    void CloseEditor(bool commit);
    // Switches editing of the current cell on or off.
    void SetEditing(bool on);
    bool Editing() const { return editing_; }
    // Moves the grid's cursor without running the selection handler.
    void SetCurrentCell(int row, int column);

    // A key for the grid or its editor; true when it is consumed.
    bool HandleKey(QObject* sender, QKeyEvent* event);

    TSchemeGridDelegate* Delegate() const { return delegate_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous);

    TMirvane2Form* form_;
    QTableWidget* grid_;
    TSchemeGridDelegate* delegate_;
    std::vector<std::unique_ptr<TSchemeGridRow>> rows_;
    bool editing_ = false;
    bool replaying_ = false;
    QPersistentModelIndex editorCell_;
};

// Detaches OnSelectCell (or OnSetEditText) for a scope.
class TDetach {
public:
    explicit TDetach(bool& attached) : attached_(attached), saved_(attached) { attached_ = false; }
    ~TDetach() { attached_ = saved_; }
    TDetach(const TDetach&) = delete;
    TDetach& operator=(const TDetach&) = delete;

private:
    bool& attached_;
    bool saved_;
};
