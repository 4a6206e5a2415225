#pragma once
// The scheme grid: one row per device of the open scheme. Which cells may be chosen and edited
// depends on the line mode and the device's mode; the cells are written by the devices' slots
// through their grid rows, and an edited cell is committed through the same slots, never
// stored as typed. The grid control owns this; it reads the open scheme from the session and
// reaches the window only through its host (TSchemeGridHost), so that it runs without the window.
#include <QColor>
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
#include "model/Host.h"
#include "platform/Kit.h"
#include "ui/TextLayouts.h"

class QLineEdit;
class QKeyEvent;
class QPainter;
class QPoint;
class QRect;
class QTableWidget;
class QTableWidgetItem;
class TDeviceInfo;
class TDeviceScheme;
class TImageList;
class TSession;

// How a column shows its text: left or right aligned, or as the mode's icon.
// clang-format off
enum class TCellText : std::int32_t { Left = 0, Icon = 1, Right = 2 };
// clang-format on
// Which cells of a column may be chosen: [line mode][device mode].
using TEditableCells = std::array<std::array<bool, 3>, 2>;

struct TSchemeGridColumn {
    TCellText Text;
    bool Separator;   // a vertical line at the cell's right edge
    TEditableCells Editable;
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

// What the grid needs of the window (the open scheme it reads from the session): the selection
// as the window shows it, the document's modified flag, and the window's device commands and
// images. The main window implements it (ui/MainGrid.cpp); tests fake it.
class TSchemeGridHost {
public:
    virtual ~TSchemeGridHost() = default;

    virtual void SelectDevice(TDeviceInfo* device) = 0;
    // A device's name was changed: the document is modified and the monitor's decoding reshown.
    virtual void NameChanged() = 0;
    // Columns 7-9 of a device's row as a fresh row shows them.
    virtual void UpdateDeviceRowStatus(TDeviceInfo* device) = 0;
    // The selected device's mode was set: the window shows it.
    virtual void ApplyDeviceMode(int mode) = 0;
    // Clicks a menu item of the window by name, as the user would: nothing while it is disabled.
    virtual void Click(const char* name) = 0;
    // Clicks the button that moves the current row's device up or down, when it is enabled.
    virtual void MoveDevice(bool up) = 0;
    // The device-mode popup, its items checked for the selected device, at a global point.
    virtual void PopupDeviceModeMenu(const QPoint& at) = 0;
    // The mode icons of column 0, and the background of cells that cannot be chosen.
    virtual const TImageList& ModeImages() const = 0;
    virtual QColor FixedCellColor() const = 0;
};

class TSchemeGridControl;

// Paints the cells and commits an edited cell through the grid control.
class TSchemeGridDelegate : public QStyledItemDelegate {
public:
    TSchemeGridDelegate(TSchemeGridControl* control, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    TSchemeGridControl* control_;
};

// The scheme grid's rows, selection, editing, keys and mouse: the rows the devices write, which
// cells may be chosen, the in-place editor and how its text is committed through the devices'
// slots, and the Ctrl commands. It reads the open scheme (devices, the scheme shown, the
// selection, the editor's switch) from the session and reaches the window only through its host.
class TSchemeGridControl : public QObject {
public:
    TSchemeGridControl(TSession& session, std::unique_ptr<TSchemeGridHost> host, QTableWidget* grid);
    ~TSchemeGridControl() override;

    // The row object of a grid row: one per row index, alive as long as the grid.
    TGridRow* Row(int row);

    // Rows.
    // One row per device of Devices, in the order of their objects in the scheme (one empty row
    // without object when there is none): each device's GridRow and the row's column-0 object
    // are bound, then ShowDeviceRow.
    void Rebuild();
    // The same, with every device's cell texts kept (its live values included).
    void RebuildKeepingTexts();
    std::vector<TDeviceInfo*> DevicesInSchemeOrder() const;
    // The grid row of a device, or -1.
    int DeviceRow(const TDeviceInfo* device) const;
    // The device of a grid row (the row's column-0 object), or none.
    TDeviceInfo* RowDevice(int row) const;
    // Binds grid row `row` to a device: its GridRow and the row's column-0 object (none unbinds).
    void BindDeviceRow(int row, TDeviceInfo* device);
    // Writes a device's row as an opened scheme shows it: column 0 ModeCellText, 1 Name,
    // 2 ShowData(request) in line mode 1 else empty, 3-6 ShowData(answer) for an emulated
    // device else empty, 7-9 the host's UpdateDeviceRowStatus.
    void ShowDeviceRow(TDeviceInfo* device);

    // Selection.
    // The cell-selection handler for the current cell; it selects the row's device only when
    // asked to (SelectCellActive for the call).
    void SelectCurrentCell(bool selectDevice = true);
    // The current row, moved without the selection handler.
    void SetCurrentRow(int row);
    // Moves the grid's cursor without running the selection handler.
    void SetCurrentCell(int row, int column);
    // Nearest editable column at or left of `start` (down to 0) / at or right of it (up to 6)
    // in the present line mode for a device of that mode.
    static bool FindEditableColLeft(int start, int& found, int mode);
    static bool FindEditableColRight(int start, int& found, int mode);

    // The grid's handlers (the window's SchemeGrid* handlers forward here).
    void DrawCell(QPainter& canvas, int column, int row, const QRect& rect, bool focused);
    void SelectCell(int column, int row, bool& canSelect);
    void KeyDown(int& key, TShiftState shift);
    void KeyUp(int& key, TShiftState shift);
    void KeyPress(QChar& key);
    void SetEditText(int column, int row, const QString& text);
    // Commits a cell's text through the row device's slots (a name directly).
    void ApplyCellText(int column, int row, const QString& text);
    void MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    void MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);
    void DblClick();

    // OnSelectCell and OnSetEditText: detached while code moves rows or restores cells.
    bool SelectCellAttached = true;
    bool SetEditTextAttached = true;
    // The selection handler also selects the row's device (cleared while code calls it).
    bool SelectCellActive = true;
    // Set at every key-down to (key = Ctrl): still set at the key-up while Ctrl was tapped alone.
    bool CtrlTapped = false;

    // The in-place editor, or none while no cell is being edited.
    QLineEdit* Editor() const;
    // The cell of the open editor (invalid when none).
    QModelIndex EditorCell() const;
    void EditorOpened(const QModelIndex& cell) { editorCell_ = cell; }
    // Ends an edit: its text is committed or dropped.
    void CloseEditor(bool commit);
    // Closes an open editor in that column or right of it, without applying its text.
    void HideEditor(int fromColumn = 0);
    // Switches editing of the current cell on or off.
    void SetEditing(bool on);
    bool Editing() const { return editing_; }

    // A key for the grid or its editor; true when it is consumed.
    bool HandleKey(QObject* sender, QKeyEvent* event);

    QTableWidget* Grid() const { return grid_; }
    TSchemeGridDelegate* Delegate() const { return delegate_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous);

    TSession& session_;
    std::unique_ptr<TSchemeGridHost> host_;
    QTableWidget* grid_;
    TSchemeGridDelegate* delegate_;
    std::vector<std::unique_ptr<TSchemeGridRow>> rows_;
    bool editing_ = false;
    bool replaying_ = false;
    QPersistentModelIndex editorCell_;
    TTextLayouts cellTexts_;   // a device's values and statistics recur
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
