// The window's side of the scheme grid: the host through which the grid control reaches the
// window, the grid's described handlers forwarding to the control, and the column widths.
#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTableWidget>
#include <QToolButton>

#include "model/Session.h"
#include "ui/Main.h"
#include "ui/SchemeGrid.h"

namespace {

class TWindowGridHost final : public TSchemeGridHost {
public:
    explicit TWindowGridHost(TMirvane2Form& form) : form_(form) {}

    void SelectDevice(TDeviceInfo* device) override { form_.SelectDevice(device); }
    void NameChanged() override
    {
        form_.SetModified(true);
        form_.ShowLineRecordInfo();
    }
    void UpdateDeviceRowStatus(TDeviceInfo* device) override { form_.UpdateDeviceRowStatus(device); }
    void ApplyDeviceMode(int mode) override { form_.ApplyDeviceMode(mode); }
    void Click(const char* name) override
    {
        if (auto* item = form_.findChild<QAction*>(QLatin1String(name)); item && item->isEnabled())
            item->trigger();
    }
    void MoveDevice(bool up) override
    {
        QToolButton* button = up ? form_.DeviceMoveUpButton : form_.DeviceMoveDownButton;
        if (button->isEnabled())
            form_.DeviceMoveButtonClick(button);
    }
    void PopupDeviceModeMenu(const QPoint& at) override
    {
        const TSchemeObject& object = *form_.CurrentDevice()->SchemeObject;
        for (int mode = 0; mode < 3; ++mode)
            if (auto* item = form_.findChild<QAction*>(QStringLiteral("DeviceMode%1PopupItem").arg(mode + 1)))
                item->setChecked(mode == object.Mode);
        if (auto* item = form_.findChild<QAction*>(QStringLiteral("DeviceStaticPopupItem")))
            item->setChecked(object.Static != 0);
        form_.DeviceModePopupMenu->popup(at);
    }
    const TImageList& ModeImages() const override { return form_.Buttons16x16eImages; }
    QColor FixedCellColor() const override { return form_.BlendedColor; }

private:
    TMirvane2Form& form_;
};

}   // namespace

void TMirvane2Form::ConnectSchemeGrid()
{
    if (!GridControl)
        GridControl = new TSchemeGridControl(Session, std::make_unique<TWindowGridHost>(*this), SchemeGrid);
}

void TMirvane2Form::SchemeGridDrawCell(QPainter& canvas, int ACol, int ARow, const QRect& Rect, bool focused)
{
    GridControl->DrawCell(canvas, ACol, ARow, Rect, focused);
}

void TMirvane2Form::SchemeGridSelectCell(int ACol, int ARow, bool& CanSelect)
{
    GridControl->SelectCell(ACol, ARow, CanSelect);
}

bool TMirvane2Form::FindEditableColLeft(int start, int& found, int mode) const
{
    return TSchemeGridControl::FindEditableColLeft(start, found, mode);
}

bool TMirvane2Form::FindEditableColRight(int start, int& found, int mode) const
{
    return TSchemeGridControl::FindEditableColRight(start, found, mode);
}

void TMirvane2Form::SchemeGridKeyDown(QObject*, int& Key, TShiftState Shift) { GridControl->KeyDown(Key, Shift); }

void TMirvane2Form::SchemeGridKeyUp(QObject*, int& Key, TShiftState Shift) { GridControl->KeyUp(Key, Shift); }

void TMirvane2Form::SchemeGridKeyPress(QObject*, QChar& Key) { GridControl->KeyPress(Key); }

void TMirvane2Form::SchemeGridSetEditText(int ACol, int ARow, const QString& Value)
{
    GridControl->SetEditText(ACol, ARow, Value);
}

void TMirvane2Form::ApplyCellText(int column, int row, const QString& text)
{
    GridControl->ApplyCellText(column, row, text);
}

void TMirvane2Form::SchemeGridMouseDown(Qt::MouseButton Button, TShiftState Shift, int X, int Y)
{
    GridControl->MouseDown(Button, Shift, X, Y);
}

void TMirvane2Form::SchemeGridMouseUp(Qt::MouseButton Button, TShiftState Shift, int X, int Y)
{
    GridControl->MouseUp(Button, Shift, X, Y);
}

void TMirvane2Form::SchemeGridDblClick() { GridControl->DblClick(); }

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
