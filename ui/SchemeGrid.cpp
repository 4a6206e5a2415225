#include "ui/SchemeGrid.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>

#include "model/Helpers.h"
#include "model/LineMode.h"
#include "model/SchemeFiles.h"
#include "platform/Abort.h"
#include "platform/Numbers.h"
#include "ui/FrameEdits.h"
#include "ui/Main.h"

// ---------------------------------------------------------------------------------------------
// The column table.

const std::array<TSchemeGridColumn, GridColumnCount> SchemeGridColumns{{
    {1, 0, {{1, 1, 1}, {1, 1, 1}}},   // mode icon
    {0, 1, {{1, 1, 1}, {1, 1, 1}}},   // name
    {2, 1, {{0, 0, 0}, {1, 1, 0}}},   // request outputs: only polled, and not disabled
    {2, 0, {{0, 1, 0}, {0, 1, 0}}},   // answer values: only emulated devices
    {2, 0, {{0, 1, 0}, {0, 1, 0}}},
    {2, 0, {{0, 1, 0}, {0, 1, 0}}},
    {2, 1, {{0, 1, 0}, {0, 1, 0}}},
    {2, 0, {{0, 0, 0}, {0, 0, 0}}},   // statistics: never
    {2, 0, {{0, 0, 0}, {0, 0, 0}}},
    {0, 0, {{0, 0, 0}, {0, 0, 0}}},
}};

const std::array<int, GridColumnCount> DefaultColWidths{24, 120, 72, 54, 54, 72, 72, 54, 54, 100};

bool GridCellEditable(int column, int lineMode, int deviceMode)
{
    if (column < 0 || column >= GridColumnCount || lineMode < 0 || lineMode > 1 || deviceMode < 0 || deviceMode > 2)
        return false;
    return SchemeGridColumns[std::size_t(column)].Editable[lineMode][deviceMode] != 0;
}

std::optional<QString> CycleDigitText(const QString& text, int states, int n)
{
    if (states <= 0 || n < 0)
        return std::nullopt;
    ParseDigits(text, states);
    if (n >= DigitCount)
        return std::nullopt;
    std::int32_t digits[8];
    std::copy(DigitBuffer, DigitBuffer + DigitCount, digits);
    int digit = digits[n] + 1;
    if (states == 8 && digit == 4)
        digit = 5;   // an 8-state digit has no state 4
    digits[n] = digit % states;
    QString result;
    for (int i = DigitCount - 1; i >= 0; --i) {
        result += QChar(u'0' + digits[i]);
        if (i != 0 && i % 4 == 0)
            result += QLatin1Char(' ');
    }
    return result;
}

std::optional<QString> StepValueText(const QString& text, double step)
{
    if (step == 0)
        return std::nullopt;
    const std::optional<long double> value = StrToFloat(text);
    if (!value)
        return std::nullopt;
    return FloatToStr(*value + step);
}

// ---------------------------------------------------------------------------------------------
// Rows.

namespace {

constexpr int DeviceRole = Qt::UserRole;

QTableWidgetItem* CellItem(QTableWidget* grid, int row, int column)
{
    QTableWidgetItem* item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    return item;
}

// The request side and the answer side of a device take an edited or stepped text alike.
void CommitRequestText(TDeviceInfo& device, const QString& text)
{
    if (device.GridToRequest)
        device.GridToRequest(text, 2);
    if (!device.RequestToFrame) {
        device.SetGridCell(2, NoValueText);
        return;
    }
    TUpdatingControls updating;
    if (device.RequestToGrid)
        device.RequestToGrid();
    device.RequestToFrame();
}

void CommitAnswerText(TDeviceInfo& device, const QString& text, int column)
{
    TUpdatingControls updating;
    if (device.GridToAnswer)
        device.GridToAnswer(text, column);
    if (device.AnswerToGrid)
        device.AnswerToGrid();
    if (device.AnswerToFrame)
        device.AnswerToFrame();
}

// Clicks a menu item as the user would: nothing while it is disabled.
void ClickItem(QObject* form, const char* name)
{
    if (auto* item = form->findChild<QAction*>(QLatin1String(name)); item && item->isEnabled())
        item->trigger();
}

} // namespace

QString TSchemeGridRow::Cell(int column) const
{
    if (column < 0 || column >= GridColumnCount || row_ >= grid_->rowCount())
        return {};
    const QTableWidgetItem* item = grid_->item(row_, column);
    return item ? item->text() : QString();
}

void TSchemeGridRow::SetCell(int column, const QString& text)
{
    if (column < 0 || column >= GridColumnCount || row_ >= grid_->rowCount())
        return;
    CellItem(grid_, row_, column)->setText(text);
}

// ---------------------------------------------------------------------------------------------
// The delegate: drawing and the in-place editor.

TSchemeGridDelegate::TSchemeGridDelegate(TMirvane2Form* form, QObject* parent)
    : QStyledItemDelegate(parent), form_(form)
{
}

void TSchemeGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    form_->SchemeGridDrawCell(*painter, index.column(), index.row(), option.rect,
                              option.state.testFlag(QStyle::State_HasFocus));
    painter->restore();
}

QWidget* TSchemeGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    TSchemeGridControl* control = form_->GridControl;
    if (!control || !control->Editing() || index != form_->SchemeGrid->currentIndex())
        return nullptr;
    control->EditorOpened(index);
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setObjectName(QStringLiteral("SchemeGridEditor"));
    if (SchemeGridColumns[std::size_t(index.column())].Alignment != 0)
        editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return editor;
}

void TSchemeGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(index.data().toString());
}

void TSchemeGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    // The typed text never goes into the cell as it is: the device's slots write the cell.
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        GuardUi([&] { form_->SchemeGridSetEditText(index.column(), index.row(), line->text()); });
}

bool TSchemeGridDelegate::eventFilter(QObject* object, QEvent* event)
{
    // The editor's keys reach the grid's handlers first, as the grid's own keys do.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && form_->GridControl &&
        form_->GridControl->HandleKey(object, static_cast<QKeyEvent*>(event)))
        return true;
    return QStyledItemDelegate::eventFilter(object, event);
}

// ---------------------------------------------------------------------------------------------
// The control.

TSchemeGridControl::TSchemeGridControl(TMirvane2Form* form, QTableWidget* grid)
    : QObject(grid), form_(form), grid_(grid), delegate_(new TSchemeGridDelegate(form, grid))
{
    grid_->setItemDelegate(delegate_);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setTabKeyNavigation(false);
    SetEditing(false);
    grid_->installEventFilter(this);
    grid_->viewport()->installEventFilter(this);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) { currentChanged(current, previous); });
}

TGridRow* TSchemeGridControl::Row(int row)
{
    if (row < 0)
        return nullptr;
    while (int(rows_.size()) <= row)
        rows_.push_back(std::make_unique<TSchemeGridRow>(grid_, int(rows_.size())));
    return rows_[std::size_t(row)].get();
}

QLineEdit* TSchemeGridControl::Editor() const
{
    const QModelIndex cell = EditorCell();
    return cell.isValid() ? qobject_cast<QLineEdit*>(grid_->indexWidget(cell)) : nullptr;
}

QModelIndex TSchemeGridControl::EditorCell() const
{
    const QModelIndex cell = editorCell_;
    return cell.isValid() && qobject_cast<QLineEdit*>(grid_->indexWidget(cell)) ? cell : QModelIndex();
}

void TSchemeGridControl::CloseEditor(bool commit)
{
    QLineEdit* editor = Editor();
    if (!editor)
        return;
    if (commit)
        emit delegate_->commitData(editor);
    emit delegate_->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TSchemeGridControl::SetEditing(bool on)
{
    editing_ = on;
    grid_->setEditTriggers(on ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::SelectedClicked
                              : QAbstractItemView::NoEditTriggers);
}

void TSchemeGridControl::SetCurrentCell(int row, int column)
{
    if (row < 0 || row >= grid_->rowCount() || column < 0 || column >= grid_->columnCount())
        return;
    const QModelIndex cell = grid_->model()->index(row, column);
    if (grid_->currentIndex() == cell)
        return;
    // An edit still open would otherwise be committed into whatever row now lies there.
    CloseEditor(false);
    TDetach detach(SelectCellAttached);
    grid_->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
}

void TSchemeGridControl::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (!SelectCellAttached || !current.isValid())
        return;
    // The handler decides from the cell being left; the view has moved already, so it goes back
    // there first and then to where the handler allows.
    if (previous.isValid()) {
        TDetach detach(SelectCellAttached);
        grid_->selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect);
    }
    bool canSelect = true;
    GuardUi([&] { form_->SchemeGridSelectCell(current.column(), current.row(), canSelect); });
}

bool TSchemeGridControl::HandleKey(QObject* sender, QKeyEvent* event)
{
    if (replaying_)
        return false;
    const TShiftState shift = event->modifiers();
    int key = event->key();
    if (event->type() == QEvent::KeyRelease) {
        if (!event->isAutoRepeat())
            GuardUi([&] { form_->SchemeGridKeyUp(sender, key, shift); });
        return false;
    }
    // A command that ends in a silent abort consumes its key, so the grid does not act on it.
    if (!GuardUi([&] { form_->SchemeGridKeyDown(sender, key, shift); }) || key == 0) {
        event->accept();
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty() || (shift & Qt::ControlModifier))
        return false;
    const QChar typed = text.at(0);
    QChar kept = typed;
    if (!GuardUi([&] { form_->SchemeGridKeyPress(sender, kept); }) || kept.isNull()) {
        event->accept();
        return true;
    }
    if (kept == typed)
        return false;
    // A replaced character is typed as the replacement.
    if (auto* editor = qobject_cast<QLineEdit*>(sender)) {
        editor->insert(QString(kept));
        return true;
    }
    QKeyEvent replacement(event->type(), event->key(), event->modifiers(), QString(kept));
    replaying_ = true;
    QCoreApplication::sendEvent(sender, &replacement);
    replaying_ = false;
    return true;
}

bool TSchemeGridControl::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // Keys of an open editor come through the delegate.
        if (watched == grid_ && !Editor())
            return HandleKey(grid_, static_cast<QKeyEvent*>(event));
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        if (watched == grid_->viewport()) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->position().toPoint();
            GuardUi([&] {
                if (event->type() == QEvent::MouseButtonPress)
                    form_->SchemeGridMouseDown(mouse->button(), mouse->modifiers(), at.x(), at.y());
                else
                    form_->SchemeGridMouseUp(mouse->button(), mouse->modifiers(), at.x(), at.y());
            });
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == grid_->viewport())
            GuardUi([&] { form_->SchemeGridDblClick(); });
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// The form's side of the grid.

void TMirvane2Form::ConnectSchemeGrid()
{
    if (!GridControl)
        GridControl = new TSchemeGridControl(this, SchemeGrid);
}

TDeviceInfo* TMirvane2Form::RowDevice(int row) const
{
    if (row < 0 || row >= SchemeGrid->rowCount())
        return nullptr;
    const QTableWidgetItem* item = SchemeGrid->item(row, 0);
    return item ? reinterpret_cast<TDeviceInfo*>(item->data(DeviceRole).value<quintptr>()) : nullptr;
}

void TMirvane2Form::BindDeviceRow(int row, TDeviceInfo* device)
{
    if (row < 0)
        return;
    if (row >= SchemeGrid->rowCount())
        SchemeGrid->setRowCount(row + 1);
    CellItem(SchemeGrid, row, 0)->setData(DeviceRole, QVariant::fromValue(reinterpret_cast<quintptr>(device)));
    if (device)
        device->GridRow = GridControl->Row(row);
}

int TMirvane2Form::DeviceRow(const TDeviceInfo* device) const
{
    for (int row = 0; device && row < SchemeGrid->rowCount(); ++row)
        if (RowDevice(row) == device)
            return row;
    return -1;
}

std::vector<TDeviceInfo*> TMirvane2Form::DevicesInSchemeOrder() const
{
    // Devices holds the creation order; a move changes only the order of the scheme's objects.
    std::vector<TDeviceInfo*> ordered;
    for (const auto& device : Devices_)
        ordered.push_back(device.get());
    if (!CurrentScheme)
        return ordered;
    const auto& objects = CurrentScheme->Objects;
    const auto position = [&objects](const TDeviceInfo* d) {
        return std::find_if(objects.begin(), objects.end(), [d](const auto& o) { return o.get() == d->SchemeObject; }) -
               objects.begin();
    };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&position](const TDeviceInfo* a, const TDeviceInfo* b) { return position(a) < position(b); });
    return ordered;
}

void TMirvane2Form::RebuildSchemeGrid()
{
    GridControl->CloseEditor(false);
    TDetach selecting(GridControl->SelectCellAttached);
    TDetach editing(GridControl->SetEditTextAttached);
    SchemeGrid->clearContents();
    SchemeGrid->setRowCount(std::max<int>(1, int(Devices_.size())));
    const std::vector<TDeviceInfo*> rows = DevicesInSchemeOrder();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        BindDeviceRow(int(i), rows[i]);
        ShowDeviceRow(rows[i]);
    }
    SchemeGrid->viewport()->update();
}

void TMirvane2Form::ShowDeviceRow(TDeviceInfo* device)
{
    if (!device || !device->GridRow)
        return;
    const TSchemeObject& object = *device->SchemeObject;
    {
        TUpdatingControls updating;
        device->SetGridCell(0, ModeCellText(object));
        device->SetGridCell(1, object.Name);
    }
    if (LineMode == LineModeSensors)
        device->ShowData(true);
    else
        device->SetGridCell(2, QString());
    if (object.Mode == ModeEmulate)
        device->ShowData(false);
    else
        for (int column = 3; column <= 6; ++column)
            device->SetGridCell(column, QString());
    UpdateDeviceRowStatus(device);
}

void TMirvane2Form::SelectCurrentGridCell()
{
    const QModelIndex current = SchemeGrid->currentIndex();
    bool canSelect = true;
    SchemeGridSelectCell(current.isValid() ? current.column() : 0, current.isValid() ? current.row() : 0, canSelect);
}

bool TMirvane2Form::FindEditableColLeft(int start, int& found, int mode) const
{
    for (int column = std::min(start, 6); column >= 0; --column)
        if (GridCellEditable(column, LineMode, mode)) {
            found = column;
            return true;
        }
    return false;
}

bool TMirvane2Form::FindEditableColRight(int start, int& found, int mode) const
{
    for (int column = std::max(start, 0); column <= 6 && start <= 6; ++column)
        if (GridCellEditable(column, LineMode, mode)) {
            found = column;
            return true;
        }
    return false;
}

void TMirvane2Form::SchemeGridSelectCell(int ACol, int ARow, bool& CanSelect)
{
    // An edit of another cell is committed before the cursor leaves it.
    const QModelIndex editorCell = GridControl->EditorCell();
    if (editorCell.isValid() && (editorCell.column() != ACol || editorCell.row() != ARow))
        GridControl->CloseEditor(true);
    if (OpenSchemeThread || ARow < 0 || ARow >= SchemeGrid->rowCount()) {
        CanSelect = false;
        return;
    }
    TDeviceInfo* device = RowDevice(ARow);
    const int mode = device ? device->SchemeObject->Mode : 1 - LineMode;
    const QModelIndex current = SchemeGrid->currentIndex();
    const int currentColumn = current.isValid() ? current.column() : 0;
    {
        TDetach detach(GridControl->SelectCellAttached);
        CanSelect = GridCellEditable(ACol, LineMode, mode);
        int column = ACol;
        if (!CanSelect) {
            int found = ACol;
            const bool any = currentColumn <= ACol
                                 ? FindEditableColRight(currentColumn + 1, found, mode) ||
                                       FindEditableColLeft(currentColumn, found, mode)
                                 : FindEditableColLeft(currentColumn - 1, found, mode) ||
                                       FindEditableColRight(currentColumn, found, mode);
            column = any ? found : ACol;
        }
        GridControl->SetCurrentCell(ARow, column);
        GridControl->SetEditing(column >= 2 || (column == 1 && ConstructorMode));
        SchemeGrid->viewport()->update();
        if (SelectCellActive)
            SelectDevice(device);
    }
}

void TMirvane2Form::SchemeGridDrawCell(QPainter& canvas, int ACol, int ARow, const QRect& Rect, bool focused)
{
    const QPalette& p = SchemeGrid->palette();
    const QModelIndex current = SchemeGrid->currentIndex();
    const bool currentRow = current.isValid() && current.row() == ARow;
    const bool currentCell = currentRow && current.column() == ACol;
    const bool selected = CurrentDevice_ != nullptr;
    TDeviceInfo* device = RowDevice(ARow);

    QColor background;
    if (currentRow)
        background = currentCell ? p.color(QPalette::Light) : selected ? p.color(QPalette::Highlight) : p.color(QPalette::Midlight);
    else if (device && !GridCellEditable(ACol, LineMode, device->SchemeObject->Mode))
        background = BlendedColor;
    else
        background = p.color(QPalette::Base);
    canvas.fillRect(Rect, background);

    const QTableWidgetItem* item = SchemeGrid->item(ARow, ACol);
    const QString text = item ? item->text() : QString();
    if (ACol == 0) {
        // "00".."21": the mode's popup image; a static device shows its variant.
        if (text.size() == 2)
            Buttons16x16eImages.Draw(canvas, Rect.left() + 4, Rect.top() + 1,
                                     text.at(0).unicode() - (text.at(1) == QLatin1Char('0') ? 42 : 31));
    } else if (ACol > 0 && ACol < GridColumnCount) {
        QRect textRect = Rect;
        if (SchemeGridColumns[std::size_t(ACol)].Separator) {
            canvas.setPen(p.color(QPalette::Mid));
            canvas.drawLine(Rect.right(), Rect.top(), Rect.right(), Rect.bottom());
            textRect.setWidth(textRect.width() - 1);
        }
        canvas.setPen(currentRow && !currentCell && selected ? p.color(QPalette::HighlightedText)
                                                             : p.color(QPalette::Text));
        const QFontMetrics metrics(canvas.font());
        const int width = metrics.horizontalAdvance(text);
        const int x = SchemeGridColumns[std::size_t(ACol)].Alignment == 0 ? textRect.left() + 4
                                                                         : textRect.left() + textRect.width() - width - 4;
        const int y = textRect.top() + (textRect.height() - metrics.height()) / 2;
        canvas.setClipRect(textRect);
        canvas.drawText(QRect(x, y, width + 1, metrics.height()), Qt::AlignLeft | Qt::TextSingleLine, text);
        canvas.setClipping(false);
    }
    if (focused) {
        QStyleOptionFocusRect option;
        option.rect = Rect;
        option.backgroundColor = background;
        SchemeGrid->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &canvas, SchemeGrid);
    }
}

void TMirvane2Form::SchemeGridKeyDown(QObject*, int& Key, TShiftState Shift)
{
    CtrlTapped = Key == Qt::Key_Control;
    if (!(Shift & Qt::ControlModifier))
        return;
    const QModelIndex current = SchemeGrid->currentIndex();
    TDeviceInfo* device = current.isValid() ? RowDevice(current.row()) : nullptr;
    if (!device)
        return;
    const int column = current.column();
    const TFrameInfo& row = *device->FrameInfo;

    if (Key >= Qt::Key_1 && Key <= Qt::Key_8) {
        const int states = column == 2 ? row.Col2Radix : column == 5 ? row.Col5Radix : column == 6 ? row.Col6Radix : 0;
        const std::optional<QString> text = CycleDigitText(device->GridCell(column), states, Key - Qt::Key_1);
        if (!text)
            return;
        if (column == 2)
            CommitRequestText(*device, *text);
        else
            CommitAnswerText(*device, *text, column);
        return;
    }
    switch (Key) {
    case Qt::Key_Backspace:
        if (column == 0)
            ClickItem(this, "DeviceStaticPopupItem");
        return;
    case Qt::Key_Delete:
        if (CurrentDevice_)
            ClickItem(this, "DDeleteDeviceItem");
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        break;
    default:
        return;
    }
    const bool up = Key == Qt::Key_Up;
    // Outside a device's commands the grid moves as usual.
    if (column <= 1 && !CurrentDevice_)
        return;
    if (column == 0) {
        TSchemeObject& object = *CurrentDevice_->SchemeObject;
        object.Mode = std::uint8_t((object.Mode + (up ? 2 : 1)) % 3);
        ApplyDeviceMode(object.Mode);
    } else if (column == 1 && ConstructorMode) {
        QToolButton* button = up ? DeviceMoveUpButton : DeviceMoveDownButton;
        if (button->isEnabled())
            DeviceMoveButtonClick(button);
    } else if (column == 3 || column == 4) {
        double step = column == 3 ? row.Value1Step : row.Value2Step;
        if (Shift & Qt::ShiftModifier)
            step *= 10;
        if (const std::optional<QString> text = StepValueText(device->GridCell(column), up ? step : -step))
            CommitAnswerText(*device, *text, column);
    }
    // The grid must not move its cursor on Ctrl+Up/Down.
    Abort();
}

void TMirvane2Form::SchemeGridKeyUp(QObject*, int& Key, TShiftState)
{
    if (Key == Qt::Key_Control && CtrlTapped) {
        const QModelIndex current = SchemeGrid->currentIndex();
        SelectDevice(CurrentDevice_ ? nullptr : RowDevice(current.isValid() ? current.row() : -1));
    }
    CtrlTapped = 0;
}

void TMirvane2Form::SchemeGridKeyPress(QObject*, QChar& Key)
{
    const QModelIndex current = SchemeGrid->currentIndex();
    if (!current.isValid())
        return;
    const int column = current.column();
    if (Key == QChar(0x1B)) {
        TDeviceInfo* device = RowDevice(current.row());
        if (!GridControl->Editor() || !device)
            return;
        // The cell shows the device's data again; the typed text is dropped.
        TDetach detach(GridControl->SetEditTextAttached);
        if (column == 1)
            device->SetGridCell(1, device->SchemeObject->Name);
        else if (column == 2) {
            TUpdatingControls updating;
            if (device->RequestToFrame && device->RequestToGrid)
                device->RequestToGrid();
            else
                device->SetGridCell(2, NoValueText);
        } else if (column >= 3 && column <= 6 && device->AnswerToGrid) {
            TUpdatingControls updating;
            device->AnswerToGrid();
        }
        GridControl->CloseEditor(false);
        Key = QChar();
        return;
    }
    if (Key == QLatin1Char('\r') || Key == QLatin1Char(' '))
        return;
    if (column >= 2 && column <= 6)
        FilterNumberKey(Key, true, true);
}

void TMirvane2Form::SchemeGridSetEditText(int ACol, int ARow, const QString& Value)
{
    if (GridControl->SetEditTextAttached)
        ApplyCellText(ACol, ARow, Value);
}

void TMirvane2Form::ApplyCellText(int column, int row, const QString& text)
{
    TDeviceInfo* device = RowDevice(row);
    if (!device)
        return;
    const QString value = text.trimmed();
    if (column == 1) {
        TSchemeObject& object = *device->SchemeObject;
        if (value != object.Name) {
            object.Name = value;
            SetModified(true);
            ShowLineRecordInfo();
        }
        device->SetGridCell(1, value);
    } else if (column == 2) {
        CommitRequestText(*device, value);
    } else if (column >= 3 && column <= 6) {
        CommitAnswerText(*device, value, column);
    }
}

void TMirvane2Form::SchemeGridMouseDown(Qt::MouseButton, TShiftState, int X, int Y)
{
    if (!SchemeGrid->indexAt(QPoint(X, Y)).isValid())
        SelectDevice(nullptr);
}

void TMirvane2Form::SchemeGridMouseUp(Qt::MouseButton Button, TShiftState, int X, int Y)
{
    const QModelIndex current = SchemeGrid->currentIndex();
    if (Button != Qt::LeftButton || !current.isValid() || current.column() != 0 || !CurrentDevice_)
        return;
    const QRect cell = SchemeGrid->visualRect(current);
    if (!cell.contains(X, Y))
        return;
    const TSchemeObject& object = *CurrentDevice_->SchemeObject;
    for (int mode = 0; mode < 3; ++mode)
        if (auto* item = findChild<QAction*>(QStringLiteral("DeviceMode%1PopupItem").arg(mode + 1)))
            item->setChecked(mode == object.Mode);
    if (auto* item = findChild<QAction*>(QStringLiteral("DeviceStaticPopupItem")))
        item->setChecked(object.Static != 0);
    DeviceModePopupMenu->popup(SchemeGrid->viewport()->mapToGlobal(QPoint(0, cell.bottom() + 1)));
}

void TMirvane2Form::SchemeGridDblClick() { ClickItem(this, "DDeleteDeviceItem"); }

void TMirvane2Form::GridHeaderSectionResize(int section, int width)
{
    // The header's sections are sized while the form is built, before the grid exists.
    if (SchemeGrid && section >= 0 && section < SchemeGrid->columnCount())
        SchemeGrid->setColumnWidth(section, width);
}

void TMirvane2Form::VRestoreColWidthsItemClick()
{
    for (int column = 0; column < GridColumnCount; ++column) {
        GridHeader->resizeSection(column, DefaultColWidths[std::size_t(column)]);
        SchemeGrid->setColumnWidth(column, DefaultColWidths[std::size_t(column)]);
    }
}
