#pragma once
// Drives a catalogue row's real frame as the program does: a device with a grid row of plain
// strings and handlers that count change events. Bodies go in as byte lists or hex, controls are
// set and read by name, and grid cells and the info line are compared as text.
#include "frames/shared/FrameBase.h"
#include "frames/shared/Registration.h"
#include "model/DeviceInfo.h"
#include "model/GridRow.h"
#include "model/Scheme.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class FrameDevice {
public:
    explicit FrameDevice(int row, bool withGridRow = true) : catalogueRow(row), object("D", static_cast<std::uint32_t>(row), ModeEmulate)
    {
        static const bool registered = (RegisterFrameClasses(), true);
        (void)registered;
        handlers.Owner = &panel;
        handlers.Parent = &panel;
        handlers.OnChange = [this](QObject*) { changes += UpdatingControls ? 0 : 1; };
        info = std::make_unique<TDeviceInfo>(&object, &handlers, nullptr);
        if (withGridRow)
            info->GridRow = &grid;
    }

    template <class F> F& Frame() const { return *dynamic_cast<F*>(info->Frame.data()); }
    // The value columns of the grid row.
    std::vector<QString> Cells() const { return {grid.Cell(3), grid.Cell(4), grid.Cell(5), grid.Cell(6)}; }
    TMessageImage& Answer() { return object.Answer; }
    TMessageImage& Side(bool request) { return request ? object.Request : object.Answer; }
    // The slots as the program calls them after an exchange, and after a control change.
    void Show(bool request)
    {
        TUpdatingControls updating;
        request ? (info->RequestToGrid(), info->RequestToFrame()) : (info->AnswerToGrid(), info->AnswerToFrame());
    }
    void Build(bool request)
    {
        TUpdatingControls updating;
        request ? (info->FrameToRequest(), info->RequestToGrid()) : (info->FrameToAnswer(), info->AnswerToGrid());
    }
    void ShowAnswer() { Show(false); }
    void BuildAnswer() { Build(false); }

    int catalogueRow;
    QWidget panel;
    TFrameHandlers handlers;
    TSchemeObject object;
    TStringsRow grid;
    int changes = 0;
    std::unique_ptr<TDeviceInfo> info;   // last: goes before the panel and the object
};

using Body = std::vector<std::uint8_t>;

inline void SetBody(TMessageImage& image, const Body& body)
{
    for (std::size_t i = 0; i < body.size(); ++i)
        image[i + 1] = body[i];
}
inline Body BodyOf(const TMessageImage& image, std::size_t length)
{
    return Body(image.begin() + 1, image.begin() + 1 + static_cast<std::ptrdiff_t>(length));
}

// The answer `body` shown through the slots: grid columns 3 to 6, then the info line.
inline std::vector<QString> ShowBody(FrameDevice& device, const Body& body)
{
    SetBody(device.Answer(), body);
    device.ShowAnswer();
    const TStringsRow& g = device.grid;
    return {g.Cell(3), g.Cell(4), g.Cell(5), g.Cell(6), DeviceCatalogue[device.catalogueRow].DescribeAnswer(device.Answer().data())};
}
// The body after a grid cell of `column` is typed over `before`.
inline Body AfterCell(FrameDevice& device, const Body& before, int column, const QString& text)
{
    SetBody(device.Answer(), before);
    device.info->GridToAnswer(text, column);
    return BodyOf(device.Answer(), before.size());
}

// The body built by the frame over `before`; the XOR byte after it is the line engine's.
inline Body BuildOver(FrameDevice& device, const Body& before)
{
    SetBody(device.Answer(), before);
    device.BuildAnswer();
    EXPECT_EQ(device.Answer()[before.size() + 1], 0) << "the XOR byte belongs to the line engine";
    return BodyOf(device.Answer(), before.size());
}

// Control states as plain values, in the order given, and back.
inline QString ValueOf(const TEdit* edit) { return edit->Text(); }
inline int ValueOf(const TComboBox* combo) { return combo->ItemIndex(); }
inline bool ValueOf(const TCheckBox* box) { return box->Checked(); }
inline void Put(TEdit* edit, const QString& text) { edit->SetText(text); }
inline void Put(TComboBox* combo, int item) { combo->SetItemIndex(item); }
inline void Put(TCheckBox* box, bool checked) { box->SetChecked(checked); }
template <class C> using ValueType = decltype(ValueOf(static_cast<C*>(nullptr)));
template <class C> auto Values(const std::vector<C*>& controls)
{
    std::vector<ValueType<C>> values;
    for (const C* control : controls)
        values.push_back(ValueOf(control));
    return values;
}
template <class C> void SetValues(const std::vector<C*>& controls, const std::vector<ValueType<C>>& values)
{
    for (std::size_t i = 0; i < controls.size(); ++i)
        Put(controls[i], values[i]);
}
template <class C> void SetValues(std::initializer_list<C*> controls, const std::vector<ValueType<C>>& values)
{
    SetValues(std::vector<C*>(controls), values);
}

constexpr bool Req = true, Ans = false;

struct Rig : FrameDevice {
    explicit Rig(int row) : FrameDevice(row) {}
    void SetHex(bool request, const char* hex)
    {
        const QStringList bytes = QString(hex).split(' ', Qt::SkipEmptyParts);
        for (int i = 0; i < bytes.size(); ++i)
            Side(request)[static_cast<std::size_t>(i + 1)] = static_cast<std::uint8_t>(bytes[i].toUInt(nullptr, 16));
    }
    // The body's bytes, as many as `like` holds.
    QString Hex(bool request, const char* like)
    {
        QStringList bytes;
        for (int i = 1; i <= QString(like).split(' ', Qt::SkipEmptyParts).size(); ++i)
            bytes << QString::asprintf("%02X", Side(request)[static_cast<std::size_t>(i)]);
        return bytes.join(' ');
    }
    QString Cells(bool request) const
    {
        if (request)
            return grid.Cell(2);
        return QStringList{grid.Cell(3), grid.Cell(4), grid.Cell(5), grid.Cell(6)}.join('|');
    }

    // "T1Edit=80;BP7CheckBox=1;OUT1ComboBox=4": edits take the text, boxes 0/1, combos the index.
    void Set(const char* assignments)
    {
        for (const QString& item : QString(assignments).split(';', Qt::SkipEmptyParts))
            Visit(item.section('=', 0, 0), [&](auto* control) { Put(control, item.section('=', 1)); });
    }
    // "T1Edit;BP7CheckBox" -> "80;1".
    QString Read(const char* names) const
    {
        QStringList values;
        for (const QString& name : QString(names).split(';', Qt::SkipEmptyParts))
            Visit(name, [&](auto* control) { values << Get(control); });
        return values.join(';');
    }

    // The main window's change handler: a control changed outside a program write rebuilds the
    // answer and its cells; `passes` counts the rebuilds.
    void BindRebuilding(TFrameHandlers& bound, int& passes)
    {
        bound = handlers;
        bound.OnChange = [this, &passes](QObject*) {
            if (UpdatingControls)
                return;
            ++passes;
            TUpdatingControls updating;
            info->FrameToAnswer();
            info->AnswerToGrid();
        };
        BindControls(info->AnswerPanel, &bound);
    }

private:
    template <class F> void Visit(const QString& name, F use) const
    {
        QWidget* control = info->Frame->findChild<QWidget*>(name);
        if (auto* edit = dynamic_cast<TEdit*>(control))
            use(edit);
        else if (auto* box = dynamic_cast<TCheckBox*>(control))
            use(box);
        else if (auto* combo = dynamic_cast<TComboBox*>(control))
            use(combo);
        else if (auto* radio = dynamic_cast<TRadioButton*>(control))
            use(radio);
        else
            ADD_FAILURE() << "no control " << name.toStdString();
    }
    static void Put(TEdit* edit, const QString& value) { edit->SetText(value); }
    template <class Box> static void Put(Box* box, const QString& value) { box->SetChecked(value == "1"); }
    static void Put(TComboBox* combo, const QString& value) { combo->SetItemIndex(value.toInt()); }
    static QString Get(const TEdit* edit) { return edit->Text(); }
    template <class Box> static QString Get(const Box* box) { return box->Checked() ? "1" : "0"; }
    static QString Get(const TComboBox* combo) { return QString::number(combo->ItemIndex()); }
};

// Body -> controls, cells (column 2 for the request, 3-6 joined by '|' for the answer), info line.
struct Shown { int row; bool request; const char* body; const char* names; const char* values; const char* cells;
               const char* info; };
// Controls -> body: `before` is overwritten where the frame owns the bits.
struct Built { int row; bool request; const char* before; const char* set; const char* after; };
// A grid cell typed over `before`.
struct Typed { int row; bool request; int column; const char* text; const char* before; const char* after; };
// A value typed, stored in the answer and shown again.
struct Stepped { int row; const char* set; const char* name; const char* shown; };

inline void Check(const Shown& c)
{
    SCOPED_TRACE(std::string(c.body) + " row " + std::to_string(c.row));
    Rig rig(c.row);
    rig.SetHex(c.request, c.body);
    rig.Show(c.request);
    EXPECT_EQ(rig.Read(c.names).toStdString(), c.values);
    EXPECT_EQ(rig.Cells(c.request).toStdString(), c.cells);
    const TFrameInfo& row = DeviceCatalogue[c.row];
    EXPECT_EQ((c.request ? row.DescribeRequest : row.DescribeAnswer)(rig.Side(c.request).data()).toStdString(), c.info);
}
inline void Check(const Built& c)
{
    Rig rig(c.row);
    rig.SetHex(c.request, c.before), rig.Set(c.set), rig.Build(c.request);
    EXPECT_EQ(rig.Hex(c.request, c.after).toStdString(), c.after) << c.row << ": " << c.set;
    EXPECT_EQ(rig.Side(c.request)[0], 0) << "the address byte belongs to the line engine";
}
inline void Check(const Typed& c)
{
    Rig rig(c.row);
    rig.SetHex(c.request, c.before);
    c.request ? rig.info->GridToRequest(c.text, c.column) : rig.info->GridToAnswer(c.text, c.column);
    EXPECT_EQ(rig.Hex(c.request, c.after).toStdString(), c.after) << c.row << ":" << c.column << " '" << c.text << "'";
}
inline void Check(const Stepped& c)
{
    Rig rig(c.row);
    rig.Set(c.set), rig.Build(Ans), rig.Show(Ans);
    EXPECT_EQ(rig.Read(c.name).toStdString(), c.shown) << c.row << ": " << c.set;
}
template <class Case, std::size_t N> void CheckAll(const Case (&cases)[N])
{
    for (const Case& c : cases)
        Check(c);
}

// Shown twice, each cell is written once; and, where `waits`, until the device has data edits
// are read-only and boxes, combos and up-downs disabled.
inline void ExpectQuietAndWaiting(int row, const char* answer, bool waits = true)
{
    Rig rig(row);
    rig.SetHex(false, answer);
    for (int pass = 0; pass < 2; ++pass) {
        rig.Show(true);
        rig.Show(false);
    }
    for (int column = 2; column <= 6; ++column)
        EXPECT_EQ(rig.grid.Writes[static_cast<std::size_t>(column)], 1) << row << " column " << column;
    Rig fresh(row);
    for (const QWidget* panel : {fresh.info->RequestPanel, fresh.info->AnswerPanel}) {
        if (!waits)
            break;
        for (TControl* control : Controls(panel)) {
            QWidget* widget = control->Widget();
            const std::string name = control->Name().toStdString();
            if (auto* edit = dynamic_cast<TEdit*>(widget)) {
                EXPECT_TRUE(edit->ReadOnly()) << row << " " << name;
            } else if (dynamic_cast<TCheckBox*>(widget) || dynamic_cast<TComboBox*>(widget) ||
                       dynamic_cast<TUpDown*>(widget)) {
                EXPECT_FALSE(widget->isEnabled()) << row << " " << name;
            }
        }
    }
}
