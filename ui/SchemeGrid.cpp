// The scheme grid control: its column table, rows, selection, drawing, keys and edits.
#include "ui/SchemeGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTableWidget>
#include <algorithm>

#include "model/Helpers.h"
#include "model/LineMode.h"
#include "model/SchemeFiles.h"
#include "model/Session.h"
#include "platform/Abort.h"
#include "platform/Numbers.h"
#include "ui/FrameEdits.h"
#include "ui/Main.h"   // ModeCellText

// ---------------------------------------------------------------------------------------------
// The column table.

namespace {

constexpr TEditableCells Always{{{true, true, true}, {true, true, true}}};
constexpr TEditableCells Never{};
// The request: only in sensor diagnostics, for devices that are polled there (not disabled).
constexpr TEditableCells RequestCells{{{false, false, false}, {true, true, false}}};
// The answer values: only for emulated devices.
constexpr TEditableCells AnswerCells{{{false, true, false}, {false, true, false}}};

}   // namespace

const std::array<TSchemeGridColumn, GridColumnCount> SchemeGridColumns{{
    {TCellText::Icon, false, Always},         // mode
    {TCellText::Left, true, Always},          // name
    {TCellText::Right, true, RequestCells},   // request outputs
    {TCellText::Right, false, AnswerCells},   // answer values
    {TCellText::Right, false, AnswerCells},
    {TCellText::Right, false, AnswerCells},
    {TCellText::Right, true, AnswerCells},
    {TCellText::Right, false, Never},   // statistics: never
    {TCellText::Right, false, Never},
    {TCellText::Left, false, Never},
}};

const std::array<int, GridColumnCount> DefaultColWidths{24, 120, 72, 54, 54, 72, 72, 54, 54, 100};

bool GridCellEditable(int column, int lineMode, int deviceMode)
{
    if (column < 0 || column >= GridColumnCount || lineMode < 0 || lineMode > 1 || deviceMode < 0 || deviceMode > 2)
        return false;
    return SchemeGridColumns[std::size_t(column)].Editable[std::size_t(lineMode)][std::size_t(deviceMode)];
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

bool RightAligned(int column) { return SchemeGridColumns[std::size_t(column)].Text == TCellText::Right; }

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

}   // namespace

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

TSchemeGridDelegate::TSchemeGridDelegate(TSchemeGridControl* control, QObject* parent)
    : QStyledItemDelegate(parent), control_(control)
{
}

void TSchemeGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    control_->DrawCell(*painter, index.column(), index.row(), option.rect, option.state.testFlag(QStyle::State_HasFocus));
    painter->restore();
}

QWidget* TSchemeGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    if (!control_->Editing() || index != control_->Grid()->currentIndex())
        return nullptr;
    control_->EditorOpened(index);
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setObjectName(QStringLiteral("SchemeGridEditor"));
    if (RightAligned(index.column()))
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
        GuardUi([&] { control_->SetEditText(index.column(), index.row(), line->text()); });
}

bool TSchemeGridDelegate::eventFilter(QObject* object, QEvent* event)
{
    // The editor's keys reach the grid's handlers first, as the grid's own keys do.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        control_->HandleKey(object, static_cast<QKeyEvent*>(event)))
        return true;
    return QStyledItemDelegate::eventFilter(object, event);
}

// ---------------------------------------------------------------------------------------------
// The control: plumbing.

TSchemeGridControl::TSchemeGridControl(TSession& session, std::unique_ptr<TSchemeGridHost> host, QTableWidget* grid)
    : QObject(grid), session_(session), host_(std::move(host)), grid_(grid), delegate_(new TSchemeGridDelegate(this, grid))
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

TSchemeGridControl::~TSchemeGridControl() = default;

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

void TSchemeGridControl::HideEditor(int fromColumn)
{
    const QModelIndex cell = EditorCell();
    if (cell.isValid() && cell.column() >= fromColumn)
        CloseEditor(false);
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

void TSchemeGridControl::SetCurrentRow(int row)
{
    if (row >= 0 && row < grid_->rowCount())
        SetCurrentCell(row, std::max(grid_->currentColumn(), 0));
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
    GuardUi([&] { SelectCell(current.column(), current.row(), canSelect); });
}

bool TSchemeGridControl::HandleKey(QObject* sender, QKeyEvent* event)
{
    if (replaying_)
        return false;
    const TShiftState shift = event->modifiers();
    int key = event->key();
    if (event->type() == QEvent::KeyRelease) {
        if (!event->isAutoRepeat())
            GuardUi([&] { KeyUp(key, shift); });
        return false;
    }
    // A command that ends in a silent abort consumes its key, so the grid does not act on it.
    if (!GuardUi([&] { KeyDown(key, shift); }) || key == 0) {
        event->accept();
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty() || (shift & Qt::ControlModifier))
        return false;
    const QChar typed = text.at(0);
    QChar kept = typed;
    if (!GuardUi([&] { KeyPress(kept); }) || kept.isNull()) {
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
                    MouseDown(mouse->button(), mouse->modifiers(), at.x(), at.y());
                else
                    MouseUp(mouse->button(), mouse->modifiers(), at.x(), at.y());
            });
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == grid_->viewport())
            GuardUi([&] { DblClick(); });
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// The control: rows.

TDeviceInfo* TSchemeGridControl::RowDevice(int row) const
{
    if (row < 0 || row >= grid_->rowCount())
        return nullptr;
    const QTableWidgetItem* item = grid_->item(row, 0);
    return item ? reinterpret_cast<TDeviceInfo*>(item->data(DeviceRole).value<quintptr>()) : nullptr;
}

void TSchemeGridControl::BindDeviceRow(int row, TDeviceInfo* device)
{
    if (row < 0)
        return;
    if (row >= grid_->rowCount())
        grid_->setRowCount(row + 1);
    CellItem(grid_, row, 0)->setData(DeviceRole, QVariant::fromValue(reinterpret_cast<quintptr>(device)));
    if (device)
        device->GridRow = Row(row);
}

int TSchemeGridControl::DeviceRow(const TDeviceInfo* device) const
{
    for (int row = 0; device && row < grid_->rowCount(); ++row)
        if (RowDevice(row) == device)
            return row;
    return -1;
}

std::vector<TDeviceInfo*> TSchemeGridControl::DevicesInSchemeOrder() const
{
    // Devices holds the creation order; a move changes only the order of the scheme's objects.
    std::vector<TDeviceInfo*> ordered;
    for (const auto& device : session_.Devices)
        ordered.push_back(device.get());
    const TDeviceScheme* scheme = session_.CurrentScheme;
    if (!scheme)
        return ordered;
    const auto& objects = scheme->Objects;
    const auto position = [&objects](const TDeviceInfo* d) {
        return std::find_if(objects.begin(), objects.end(), [d](const auto& o) { return o.get() == d->SchemeObject; }) -
               objects.begin();
    };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&position](const TDeviceInfo* a, const TDeviceInfo* b) { return position(a) < position(b); });
    return ordered;
}

void TSchemeGridControl::Rebuild()
{
    CloseEditor(false);
    TDetach selecting(SelectCellAttached);
    TDetach editing(SetEditTextAttached);
    grid_->clearContents();
    grid_->setRowCount(std::max<int>(1, int(session_.Devices.size())));
    const std::vector<TDeviceInfo*> rows = DevicesInSchemeOrder();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        BindDeviceRow(int(i), rows[i]);
        ShowDeviceRow(rows[i]);
    }
    grid_->viewport()->update();
}

void TSchemeGridControl::RebuildKeepingTexts()
{
    const TDeviceList& devices = session_.Devices;
    std::vector<std::array<QString, GridColumnCount>> kept(devices.size());
    std::vector<bool> hadRow(devices.size());
    for (std::size_t i = 0; i < devices.size(); ++i) {
        hadRow[i] = devices[i]->GridRow != nullptr;
        for (int column = 0; column < GridColumnCount; ++column)
            kept[i][std::size_t(column)] = devices[i]->GridCell(column);
    }
    Rebuild();
    TUpdatingControls updating;
    for (std::size_t i = 0; i < devices.size(); ++i)
        for (int column = 0; hadRow[i] && column < GridColumnCount; ++column)
            if (devices[i]->GridCell(column) != kept[i][std::size_t(column)])
                devices[i]->SetGridCell(column, kept[i][std::size_t(column)]);
}

void TSchemeGridControl::ShowDeviceRow(TDeviceInfo* device)
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
    host_->UpdateDeviceRowStatus(device);
}

// ---------------------------------------------------------------------------------------------
// The control: selection and drawing.

void TSchemeGridControl::SelectCurrentCell(bool selectDevice)
{
    const QModelIndex current = grid_->currentIndex();
    const bool saved = SelectCellActive;
    SelectCellActive = selectDevice;
    bool canSelect = true;
    SelectCell(current.isValid() ? current.column() : 0, current.isValid() ? current.row() : 0, canSelect);
    SelectCellActive = saved;
}

bool TSchemeGridControl::FindEditableColLeft(int start, int& found, int mode)
{
    for (int column = std::min(start, 6); column >= 0; --column)
        if (GridCellEditable(column, LineMode, mode)) {
            found = column;
            return true;
        }
    return false;
}

bool TSchemeGridControl::FindEditableColRight(int start, int& found, int mode)
{
    for (int column = std::max(start, 0); column <= 6 && start <= 6; ++column)
        if (GridCellEditable(column, LineMode, mode)) {
            found = column;
            return true;
        }
    return false;
}

void TSchemeGridControl::SelectCell(int column, int row, bool& canSelect)
{
    // An edit of another cell is committed before the cursor leaves it.
    const QModelIndex editorCell = EditorCell();
    if (editorCell.isValid() && (editorCell.column() != column || editorCell.row() != row))
        CloseEditor(true);
    if (session_.OpenSchemeThread || row < 0 || row >= grid_->rowCount()) {
        canSelect = false;
        return;
    }
    TDeviceInfo* device = RowDevice(row);
    const int mode = device ? device->SchemeObject->Mode : 1 - LineMode;
    const QModelIndex current = grid_->currentIndex();
    const int currentColumn = current.isValid() ? current.column() : 0;
    TDetach detach(SelectCellAttached);
    canSelect = GridCellEditable(column, LineMode, mode);
    int chosen = column;
    if (!canSelect) {
        int found = column;
        const bool any = currentColumn <= column ? FindEditableColRight(currentColumn + 1, found, mode) ||
                                                       FindEditableColLeft(currentColumn, found, mode)
                                                 : FindEditableColLeft(currentColumn - 1, found, mode) ||
                                                       FindEditableColRight(currentColumn, found, mode);
        chosen = any ? found : column;
    }
    SetCurrentCell(row, chosen);
    SetEditing(chosen >= 2 || (chosen == 1 && session_.ConstructorMode != 0));
    grid_->viewport()->update();
    if (SelectCellActive)
        host_->SelectDevice(device);
}

void TSchemeGridControl::DrawCell(QPainter& canvas, int column, int row, const QRect& rect, bool focused)
{
    const QPalette& p = grid_->palette();
    const QModelIndex current = grid_->currentIndex();
    const bool currentRow = current.isValid() && current.row() == row;
    const bool currentCell = currentRow && current.column() == column;
    const bool selected = session_.CurrentDevice != nullptr;
    TDeviceInfo* device = RowDevice(row);

    QColor background;
    if (currentRow)
        background = currentCell ? p.color(QPalette::Light) : selected ? p.color(QPalette::Highlight)
                                                                       : p.color(QPalette::Midlight);
    else if (device && !GridCellEditable(column, LineMode, device->SchemeObject->Mode))
        background = host_->FixedCellColor();
    else
        background = p.color(QPalette::Base);
    canvas.fillRect(rect, background);

    const QTableWidgetItem* item = grid_->item(row, column);
    const QString text = item ? item->text() : QString();
    if (column == 0) {
        // "00".."21": the mode's popup image; a static device shows its variant.
        if (text.size() == 2)
            host_->ModeImages().Draw(canvas, rect.left() + 4, rect.top() + 1,
                                     text.at(0).unicode() - (text.at(1) == QLatin1Char('0') ? 42 : 31));
    } else if (column > 0 && column < GridColumnCount) {
        QRect textRect = rect;
        if (SchemeGridColumns[std::size_t(column)].Separator) {
            canvas.setPen(p.color(QPalette::Mid));
            canvas.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
            textRect.setWidth(textRect.width() - 1);
        }
        canvas.setPen(currentRow && !currentCell && selected ? p.color(QPalette::HighlightedText)
                                                             : p.color(QPalette::Text));
        const QFontMetrics metrics(canvas.font());
        const TTextLayouts::TLaidOut& laid = cellTexts_.Get(text, canvas.font());
        const int x = RightAligned(column) ? textRect.left() + textRect.width() - laid.Advance - 4 : textRect.left() + 4;
        const int y = textRect.top() + (textRect.height() - metrics.height()) / 2;
        canvas.setClipRect(textRect);
        canvas.drawStaticText(x, y, laid.Text);
        canvas.setClipping(false);
    }
    if (focused) {
        QStyleOptionFocusRect option;
        option.rect = rect;
        option.backgroundColor = background;
        grid_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &canvas, grid_);
    }
}

// ---------------------------------------------------------------------------------------------
// The control: keys, edits and the mouse.

void TSchemeGridControl::KeyDown(int& key, TShiftState shift)
{
    CtrlTapped = key == Qt::Key_Control;
    if (!(shift & Qt::ControlModifier))
        return;
    const QModelIndex current = grid_->currentIndex();
    TDeviceInfo* device = current.isValid() ? RowDevice(current.row()) : nullptr;
    if (!device)
        return;
    const int column = current.column();
    const TFrameInfo& row = *device->FrameInfo;
    TDeviceInfo* selected = session_.CurrentDevice;

    if (key >= Qt::Key_1 && key <= Qt::Key_8) {
        const int states = column == 2 ? row.Col2Radix : column == 5 ? row.Col5Radix
                                                     : column == 6   ? row.Col6Radix
                                                                     : 0;
        const std::optional<QString> text = CycleDigitText(device->GridCell(column), states, key - Qt::Key_1);
        if (!text)
            return;
        if (column == 2)
            CommitRequestText(*device, *text);
        else
            CommitAnswerText(*device, *text, column);
        return;
    }
    switch (key) {
    case Qt::Key_Backspace:
        if (column == 0)
            host_->Click("DeviceStaticPopupItem");
        return;
    case Qt::Key_Delete:
        if (selected)
            host_->Click("DDeleteDeviceItem");
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        break;
    default:
        return;
    }
    const bool up = key == Qt::Key_Up;
    // Outside a device's commands the grid moves as usual.
    if (column <= 1 && !selected)
        return;
    if (column == 0) {
        TSchemeObject& object = *selected->SchemeObject;
        object.Mode = std::uint8_t((object.Mode + (up ? 2 : 1)) % 3);
        host_->ApplyDeviceMode(object.Mode);
    } else if (column == 1 && session_.ConstructorMode != 0) {
        host_->MoveDevice(up);
    } else if (column == 3 || column == 4) {
        double step = column == 3 ? row.Value1Step : row.Value2Step;
        if (shift & Qt::ShiftModifier)
            step *= 10;
        if (const std::optional<QString> text = StepValueText(device->GridCell(column), up ? step : -step))
            CommitAnswerText(*device, *text, column);
    }
    // The grid must not move its cursor on Ctrl+Up/Down.
    Abort();
}

void TSchemeGridControl::KeyUp(int& key, TShiftState)
{
    if (key == Qt::Key_Control && CtrlTapped) {
        const QModelIndex current = grid_->currentIndex();
        host_->SelectDevice(session_.CurrentDevice ? nullptr : RowDevice(current.isValid() ? current.row() : -1));
    }
    CtrlTapped = false;
}

void TSchemeGridControl::KeyPress(QChar& key)
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return;
    const int column = current.column();
    if (key == QChar(0x1B)) {
        TDeviceInfo* device = RowDevice(current.row());
        if (!Editor() || !device)
            return;
        // The cell shows the device's data again; the typed text is dropped.
        TDetach detach(SetEditTextAttached);
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
        CloseEditor(false);
        key = QChar();
        return;
    }
    if (key == QLatin1Char('\r') || key == QLatin1Char(' '))
        return;
    if (column >= 2 && column <= 6)
        FilterNumberKey(key, true, true);
}

void TSchemeGridControl::SetEditText(int column, int row, const QString& text)
{
    if (SetEditTextAttached)
        ApplyCellText(column, row, text);
}

void TSchemeGridControl::ApplyCellText(int column, int row, const QString& text)
{
    TDeviceInfo* device = RowDevice(row);
    if (!device)
        return;
    const QString value = text.trimmed();
    if (column == 1) {
        TSchemeObject& object = *device->SchemeObject;
        if (value != object.Name) {
            object.Name = value;
            host_->NameChanged();
        }
        device->SetGridCell(1, value);
    } else if (column == 2) {
        CommitRequestText(*device, value);
    } else if (column >= 3 && column <= 6) {
        CommitAnswerText(*device, value, column);
    }
}

void TSchemeGridControl::MouseDown(Qt::MouseButton, TShiftState, int x, int y)
{
    if (!grid_->indexAt(QPoint(x, y)).isValid())
        host_->SelectDevice(nullptr);
}

void TSchemeGridControl::MouseUp(Qt::MouseButton button, TShiftState, int x, int y)
{
    const QModelIndex current = grid_->currentIndex();
    if (button != Qt::LeftButton || !current.isValid() || current.column() != 0 || !session_.CurrentDevice)
        return;
    const QRect cell = grid_->visualRect(current);
    if (cell.contains(x, y))
        host_->PopupDeviceModeMenu(grid_->viewport()->mapToGlobal(QPoint(0, cell.bottom() + 1)));
}

void TSchemeGridControl::DblClick() { host_->Click("DDeleteDeviceItem"); }
