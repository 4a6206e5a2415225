#pragma once
// Small pieces shared by the units of the main window's scheme and document commands.
#include <QTreeWidgetItem>
#include <cstdint>

class TDeviceInfo;

class QAction;
class QObject;
struct TFrameInfo;

// Two upper-case hex digits.
QString HexByte(std::uint8_t value);

// The name a new device of a catalogue row gets: the model and its address, "Tilt-1 (03)".
QString NewDeviceName(const TFrameInfo& info);

// Names (schemes, catalogue texts) in the user's locale, without regard to case.
int CompareNames(const QString& a, const QString& b);

// Forgets a device's counters and texts of the last exchanges (a mode change, a silent device);
// the caller redraws its statistics columns.
void ForgetExchanges(TDeviceInfo* device);

// The form's menu item of that name.
QAction* FormItem(const QObject* form, const char* name);

// A catalogue row in the catalogue list: caption the model, then the description and the
// address as two upper-case hex digits. It sorts by the list's sort column (see Compare).
class TCatalogueItem : public QTreeWidgetItem {
public:
    TCatalogueItem(int row, const std::int32_t* sortColumn);
    int Row() const { return row_; }
    const TFrameInfo& Info() const;
    // Sort column 1 or 2: that column's text; otherwise the caption, ties broken by the
    // address; all compared in the user's locale without regard to case.
    static int Compare(const QTreeWidgetItem& a, const QTreeWidgetItem& b, int sortColumn);
    bool operator<(const QTreeWidgetItem& other) const override;

private:
    int row_;
    const std::int32_t* sortColumn_;
};
