#pragma once
// The new-device dialog: the catalogue rows heard on the line a moment ago at addresses that are
// free in the open scheme, offered with check boxes for adding to the scheme.
#include <QDialog>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/Host.h"

class QLabel;
class QPushButton;
class QTreeWidget;

// In BI diagnostics a row counts as heard when its last good exchange lies less than this
// before now.
inline constexpr std::uint32_t HeardWindowMs = 3000;

// The catalogue rows, in catalogue order, heard from `since` to now whose address holds no
// device.
std::vector<int> HeardNewRows(const TDevicesByAddr& devices, std::uint32_t now, std::uint32_t since);
// The same for the rows heard within HeardWindowMs before now.
std::vector<int> HeardNewRows(const TDevicesByAddr& devices, std::uint32_t now);

class TNewDevicesForm : public QDialog {
public:
    explicit TNewDevicesForm(QWidget* owner = nullptr);

    void FormCreate();
    void DevicesListViewColumnClick(int column);
    void SetSortColumn(int column);
    // Lists a catalogue row, checked.
    void AddRow(int row);
    // The checked rows, in list order.
    std::vector<int> CheckedRows() const;

    QLabel* NewDevicesLabel = nullptr;
    QTreeWidget* DevicesListView = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    std::int32_t SortColumn = -1;

private:
    void UpdateOkButton();
    void FitColumns();
};

// Runs the dialog in place of exec() (tests answer it); an empty hook restores exec().
using TNewDevicesDialogHook = std::function<int(TNewDevicesForm& form)>;
void SetNewDevicesDialogHook(TNewDevicesDialogHook hook);
