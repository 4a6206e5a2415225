// The catalogue list: the device types that can still be added to the open scheme, with their
// sort order, their greyed rows at taken addresses and the long description of the focused one.
#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "model/Catalogue.h"
#include "model/Session.h"
#include "platform/Abort.h"
#include "ui/Main.h"
#include "ui/MainParts.h"

namespace {

// clang-format off
enum : int { ColModel, ColDescription, ColAddress };
// clang-format on

TCatalogueItem* CatalogueItem(QTreeWidgetItem* item) { return static_cast<TCatalogueItem*>(item); }

// Key presses of a control, delivered to a form handler before the control sees them; a handler
// that sets the key to 0 consumes it.
class TKeyDownFilter : public QObject {
public:
    TKeyDownFilter(QObject* parent, TKeyEvent handler) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        int code = key->key();
        GuardUi([&] { handler_(watched, code, key->modifiers()); });
        return code == 0;
    }

private:
    TKeyEvent handler_;
};

}   // namespace

int CompareNames(const QString& a, const QString& b)
{
    return QString::localeAwareCompare(a.toCaseFolded(), b.toCaseFolded());
}

QString HexByte(std::uint8_t value) { return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper(); }

QString NewDeviceName(const TFrameInfo& info)
{
    return QString::fromUtf8(info.Model) + QStringLiteral(" (") + HexByte(info.Address) + QLatin1Char(')');
}

TCatalogueItem::TCatalogueItem(int row, const std::int32_t* sortColumn) : row_(row), sortColumn_(sortColumn)
{
    const TFrameInfo& info = Info();
    setText(ColModel, QString::fromUtf8(info.Model));
    setText(ColDescription, QString::fromUtf8(info.Description));
    setToolTip(ColDescription, text(ColDescription));   // the column may show it cut
    setText(ColAddress, HexByte(info.Address));
    setTextAlignment(ColAddress, Qt::AlignRight | Qt::AlignVCenter);
}

const TFrameInfo& TCatalogueItem::Info() const { return DeviceCatalogue[row_]; }

int TCatalogueItem::Compare(const QTreeWidgetItem& a, const QTreeWidgetItem& b, int sortColumn)
{
    if (sortColumn == ColDescription || sortColumn == ColAddress)
        return CompareNames(a.text(sortColumn), b.text(sortColumn));
    const int byName = CompareNames(a.text(ColModel), b.text(ColModel));
    return byName != 0 ? byName : CompareNames(a.text(ColAddress), b.text(ColAddress));
}

bool TCatalogueItem::operator<(const QTreeWidgetItem& other) const
{
    return Compare(*this, other, sortColumn_ ? *sortColumn_ : ColModel) < 0;
}

// ---------------------------------------------------------------------------------------------

void TMirvane2Form::ConnectSchemeControls()
{
    // Typed names create and rename schemes; they never become items by themselves.
    CurrSchemeComboBox->setInsertPolicy(QComboBox::NoInsert);
    const TKeyEvent comboKeys = [this](QObject* s, int& key, TShiftState shift) { CurrSchemeComboBoxKeyDown(s, key, shift); };
    CurrSchemeComboBox->installEventFilter(new TKeyDownFilter(CurrSchemeComboBox, comboKeys));
    CurrSchemeComboBox->view()->installEventFilter(new TKeyDownFilter(CurrSchemeComboBox, comboKeys));

    DevicesListView->installEventFilter(new TKeyDownFilter(DevicesListView, [this](QObject* s, int& key, TShiftState shift) {
        DevicesListViewKeyDown(s, key, shift);
    }));
    connect(DevicesListView, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { GuardUi([&] { DevicesListViewSelectItem(item); }); });
    connect(DevicesListView, &QTreeWidget::itemDoubleClicked, this, [this] { GuardUi([&] { DevicesListViewDblClick(); }); });
    DevicesListView->header()->setSectionsClickable(true);
    connect(DevicesListView->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { GuardUi([&] { DevicesListViewColumnClick(column); }); });
}

void TMirvane2Form::RebuildCatalogueList()
{
    QTreeWidget* list = DevicesListView;
    const auto* focused = CatalogueItem(list->currentItem());
    const int remembered = focused ? focused->Row() : -1;
    list->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(list);
        list->clear();
        TCatalogueItem* current = nullptr;
        for (int row = 0; row < DeviceCatalogueCount; ++row) {
            const TFrameInfo& info = DeviceCatalogue[row];
            const TDeviceInfo* device = Session.DevicesByAddr[info.Address];
            if (device && device->FrameInfo == &info)
                continue;   // in the scheme
            auto* item = new TCatalogueItem(row, &DevicesSortColumn);
            list->addTopLevelItem(item);
            if (row == remembered)
                current = item;
        }
        list->sortItems(ColModel, Qt::AscendingOrder);
        if (!current && list->topLevelItemCount() > 0)
            current = CatalogueItem(list->topLevelItem(0));
        if (current)
            list->setCurrentItem(current);
    }
    SelectFreeCatalogueItem();
    PaintCatalogueItems();
    list->setUpdatesEnabled(true);
    // The row highlighted now was chosen while the list kept quiet: its description shows.
    DevicesListViewSelectItem(list->currentItem());
}

void TMirvane2Form::PaintCatalogueItems()
{
    const QBrush grey = DevicesListView->palette().brush(QPalette::Disabled, QPalette::Text);
    for (int i = 0; i < DevicesListView->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = DevicesListView->topLevelItem(i);
        const bool taken = Session.DevicesByAddr[CatalogueItem(item)->Info().Address] != nullptr;
        for (int column = ColModel; column <= ColAddress; ++column)
            item->setForeground(column, taken ? grey : QBrush());
    }
}

void TMirvane2Form::SelectFreeCatalogueItem()
{
    QTreeWidget* list = DevicesListView;
    const int count = list->topLevelItemCount();
    const int focused = list->indexOfTopLevelItem(list->currentItem());
    if (count == 0 || focused < 0)
        return;
    const auto isFree = [&](int i) { return !Session.DevicesByAddr[CatalogueItem(list->topLevelItem(i))->Info().Address]; };
    const auto choose = [&](int i) {
        list->setCurrentItem(list->topLevelItem(i));
        list->topLevelItem(i)->setSelected(true);
    };
    list->clearSelection();
    for (int i = focused; i < count; ++i)
        if (isFree(i))
            return choose(i);
    for (int i = focused - 1; i >= 0; --i)
        if (isFree(i))
            return choose(i);
    list->topLevelItem(focused)->setSelected(true);
}

void TMirvane2Form::UpdateAddDeviceItems()
{
    const auto* item = CatalogueItem(DevicesListView->currentItem());
    const bool free = Session.CurrentScheme && item && !Session.DevicesByAddr[item->Info().Address];
    FormItem(this, "DAddDeviceItem")->setEnabled(free);
    AddDeviceButton->setEnabled(free);
}

void TMirvane2Form::DevicesListViewSelectItem(QTreeWidgetItem* item)
{
    if (!item)
        return;
    UpdateAddDeviceItems();
    DescMemo->SetText(QString::fromUtf8(CatalogueItem(item)->Info().LongDescription));
}

void TMirvane2Form::DevicesListViewKeyDown(QObject*, int& Key, TShiftState)
{
    if (Key != Qt::Key_Return && Key != Qt::Key_Enter && Key != Qt::Key_Insert)
        return;
    Key = 0;
    DevicesListViewDblClick();
}

void TMirvane2Form::DevicesListViewDblClick()
{
    // A disabled "Добавить" refuses every path, which keeps one device per address.
    if (FormItem(this, "DAddDeviceItem")->isEnabled())
        DAddDeviceItemClick();
}

void TMirvane2Form::DevicesListViewColumnClick(int column) { SetDevicesSortColumn(column); }

void TMirvane2Form::SetDevicesSortColumn(int column)
{
    if (column == DevicesSortColumn)
        return;
    DevicesSortColumn = column;
    const QString captions[3] = {QStringLiteral("Название"), QStringLiteral("Описание"), QStringLiteral("А")};
    for (int i = ColModel; i <= ColAddress; ++i)
        DevicesListView->headerItem()->setText(i, captions[i] + (i == column ? QStringLiteral(" *") : QString()));
    DevicesListView->sortItems(ColModel, Qt::AscendingOrder);
}
