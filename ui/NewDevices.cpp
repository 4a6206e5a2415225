#include "ui/NewDevices.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <set>

#include "model/Catalogue.h"
#include "model/LineMode.h"
#include "model/Session.h"
#include "platform/Ticks.h"
#include "ui/Ask.h"
#include "ui/Main.h"
#include "ui/MainParts.h"
#include "ui/PortControl.h"
#include "ui/SchemeGrid.h"

namespace {

TNewDevicesDialogHook& DialogHook()
{
    static TNewDevicesDialogHook hook;
    return hook;
}

int RunDialog(TNewDevicesForm& form) { return DialogHook() ? DialogHook()(form) : form.exec(); }

// The designed widths of the columns (the description's is the rest) and of the dialog.
constexpr int ColumnWidths[3] = {104, 0, 32};
constexpr int DesignWidth = 360;

TCatalogueItem* ItemAt(const QTreeWidget* list, int index) { return static_cast<TCatalogueItem*>(list->topLevelItem(index)); }

}   // namespace

void SetNewDevicesDialogHook(TNewDevicesDialogHook hook) { DialogHook() = std::move(hook); }

std::vector<int> HeardNewRows(const TDevicesByAddr& devices, std::uint32_t now, std::uint32_t since)
{
    std::vector<int> rows;
    for (int row = 0; row < DeviceCatalogueCount; ++row) {
        const TFrameInfo& info = DeviceCatalogue[row];
        // Unsigned differences: right across the wrap of the tick count.
        if (info.Address < devices.size() && !devices[info.Address] && info.LastSeenTick != 0 &&
            std::uint32_t(now - info.LastSeenTick) <= std::uint32_t(now - since))
            rows.push_back(row);
    }
    return rows;
}

std::vector<int> HeardNewRows(const TDevicesByAddr& devices, std::uint32_t now)
{
    return HeardNewRows(devices, now, now - (HeardWindowMs - 1));
}

// ---------------------------------------------------------------------------------------------

TNewDevicesForm::TNewDevicesForm(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("NewDevicesForm"));
    setWindowTitle(QStringLiteral("Новые датчики"));
    setWindowIcon(MainIcon());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowContextHelpButtonHint | Qt::WindowCloseButtonHint);
    resize(DesignWidth, 300);

    NewDevicesLabel = new QLabel(QStringLiteral("Добавить отмеченные датчики?"), this);
    NewDevicesLabel->setObjectName(QStringLiteral("NewDevicesLabel"));
    DevicesListView = new QTreeWidget(this);
    DevicesListView->setObjectName(QStringLiteral("DevicesListView"));
    DevicesListView->setRootIsDecorated(false);
    DevicesListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    DevicesListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DevicesListView->setHeaderLabels({QStringLiteral("Название"), QStringLiteral("Описание"), QStringLiteral("А")});
    DevicesListView->header()->setStretchLastSection(false);
    DevicesListView->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    DevicesListView->setColumnWidth(0, ColumnWidths[0]);
    DevicesListView->setColumnWidth(2, ColumnWidths[2]);
    DevicesListView->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    DevicesListView->header()->setSectionsClickable(true);
    connect(DevicesListView->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { DevicesListViewColumnClick(column); });
    connect(DevicesListView, &QTreeWidget::itemChanged, this, [this] { UpdateOkButton(); });

    auto* buttons = new QDialogButtonBox(this);
    OKButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setEnabled(false);
    CancelButton = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewDevicesLabel);
    layout->addWidget(DevicesListView);
    layout->addWidget(buttons);
    FormCreate();
}

void TNewDevicesForm::FormCreate() { SortColumn = -1; }

void TNewDevicesForm::DevicesListViewColumnClick(int column) { SetSortColumn(column); }

void TNewDevicesForm::SetSortColumn(int column)
{
    if (column == SortColumn)
        return;
    SortColumn = column;
    const auto mark = [column](int c, const char* caption) {
        return QString::fromUtf8(caption) + (c == column ? QStringLiteral(" *") : QString());
    };
    DevicesListView->setHeaderLabels({mark(0, "Название"), mark(1, "Описание"), mark(2, "А")});
    DevicesListView->sortItems(0, Qt::AscendingOrder);
    FitColumns();
}

void TNewDevicesForm::AddRow(int row)
{
    auto* item = new TCatalogueItem(row, &SortColumn);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Checked);
    DevicesListView->addTopLevelItem(item);
    FitColumns();
    UpdateOkButton();
}

void TNewDevicesForm::FitColumns()
{
    // Each column at least as wide as its texts (check box and sort mark included), and the
    // dialog as wide as its columns need, the description taking what is left.
    QHeaderView* header = DevicesListView->header();
    header->resizeSections(QHeaderView::ResizeToContents);
    int needed = 0;
    for (int column = 0; column < 3; ++column) {
        const int width = std::max(ColumnWidths[column], header->sectionSize(column));
        if (column != 1)
            DevicesListView->setColumnWidth(column, width);
        needed += width;
    }
    const QMargins margins = layout()->contentsMargins();
    needed += 2 * DevicesListView->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + margins.left() +
              margins.right();
    resize(std::max({DesignWidth, needed, width()}), height());
}

std::vector<int> TNewDevicesForm::CheckedRows() const
{
    std::vector<int> rows;
    for (int i = 0; i < DevicesListView->topLevelItemCount(); ++i)
        if (ItemAt(DevicesListView, i)->checkState(0) == Qt::Checked)
            rows.push_back(ItemAt(DevicesListView, i)->Row());
    return rows;
}

void TNewDevicesForm::UpdateOkButton()
{
    // A scheme holds one device per address: two checked rows of one address cannot both go in.
    std::set<int> addresses;
    const std::vector<int> rows = CheckedRows();
    for (int row : rows)
        addresses.insert(DeviceCatalogue[row].Address);
    OKButton->setEnabled(!rows.empty() && addresses.size() == rows.size());
}

// ---------------------------------------------------------------------------------------------
// The form's side: starting a search and its end.

void TMirvane2Form::DFindDeviceItemClick()
{
    if (Ports.ReceiveThread)
        StartDeviceSearch(1);
}

void TMirvane2Form::StartDeviceSearch(std::uint8_t byUser)
{
    Session.SearchByUser = byUser;
    SearchStartTick = GetTickCount();
    Ports.ReceiveThread->StartSearch();
}

void TMirvane2Form::ShowNewDevices()
{
    if (!Session.SearchEndShows())
        return;
    TNewDevicesForm form(this);
    form.DevicesListView->setUpdatesEnabled(false);
    // Polling every free catalogue row takes longer than the window of a listening search, and
    // every row that answered its poll is offered.
    const std::uint32_t now = GetTickCount();
    const auto rows = LineMode.load() == LineModeMaster ? HeardNewRows(Session.DevicesByAddr, now)
                                                        : HeardNewRows(Session.DevicesByAddr, now, SearchStartTick);
    for (int row : rows)
        form.AddRow(row);
    form.DevicesListView->setUpdatesEnabled(true);
    if (form.DevicesListView->topLevelItemCount() == 0) {
        if (Session.SearchByUser)
            MessageBox(this, QStringLiteral("Новые датчики не найдены"), InformationCaption, TButtons::Ok,
                       TBoxIcon::Information);
        return;
    }
    form.SetSortColumn(DevicesSortColumn);
    if (RunDialog(form) != QDialog::Accepted || !Session.CurrentScheme)
        return;
    // The checked rows join the scheme as the add command adds one.
    for (int row : form.CheckedRows()) {
        const TFrameInfo& info = DeviceCatalogue[row];
        if (Session.DevicesByAddr[info.Address])
            continue;
        const QString name = NewDeviceName(info);
        TSchemeObject* object = Session.AddObject(name, row);
        QTreeWidgetItem* catalogueItem = nullptr;
        for (int i = 0; i < DevicesListView->topLevelItemCount() && !catalogueItem; ++i)
            if (ItemAt(DevicesListView, i)->Row() == row)
                catalogueItem = DevicesListView->topLevelItem(i);
        AddDeviceRow(catalogueItem, object);
    }
    GridControl->SelectCurrentCell();
    ShowLineRecordInfo();
}
