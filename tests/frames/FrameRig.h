#pragma once
// Drives a catalogue row's real frame as the program does: a device with a grid row of plain
// strings and handlers that count change events. Bodies go in as hex, controls are set and read by
// name, and grid cells and the info line are compared as text.
#include <QRegularExpression>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "frames/Registration.h"
#include "frames/shared/FrameBase.h"
#include "model/DeviceInfo.h"
#include "model/GridRow.h"
#include "model/Scheme.h"

constexpr bool Req = true, Ans = false;

struct Rig {
    explicit Rig(int row, bool withGridRow = true) : object("D", static_cast<std::uint32_t>(row), ModeEmulate)
    {
        static const bool registered = (RegisterFrameClasses(), true);
        (void)registered;
        handlers.Owner = &panel;
        handlers.Parent = &panel;
        handlers.OnChange = [this](QObject*) { changes += UpdatingControls ? 0 : 1; };
        info = std::make_unique<TDeviceInfo>(&object, &handlers, nullptr);
        if (withGridRow)
            info->GridRow = &grid;
        // The frame on screen, as the selected device's is: the slots write its controls at once
        // (a hidden frame waits until it is shown).
        panel.show();
        if (info->Frame)
            info->Frame->show();
    }

    template <class F> F& Frame() const { return dynamic_cast<F&>(*info->Frame.data()); }
    TMessageImage& Side(bool request) { return request ? object.Request : object.Answer; }
    QWidget* Panel(bool request) const { return request ? info->RequestPanel.data() : info->AnswerPanel.data(); }
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

    // "T1Edit=80;BP7CheckBox=1;OUT1ComboBox=4": edits take the text, boxes 0/1, combos the index.
    void Set(const char* assignments)
    {
        for (const QString& item : QString(assignments).split(';', Qt::SkipEmptyParts))
            Visit(item.section('=', 0, 0), [&](auto* control) { Put(control, item.section('=', 1)); });
    }
    // "T1Edit;BP7CheckBox" -> "80;1".
    QString Read(const QString& names) const
    {
        QStringList values;
        for (const QString& name : names.split(';', Qt::SkipEmptyParts))
            Visit(name, [&](auto* control) { values << Get(control); });
        return values.join(';');
    }

    QWidget panel;
    TFrameHandlers handlers;
    TSchemeObject object;
    TStringsRow grid;
    int changes = 0;
    std::unique_ptr<TDeviceInfo> info;   // last: goes before the panel and the object

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
// clang-format off
struct Shown { int row; bool request; const char* body; const char* names; const char* values; const char* cells;
               const char* info; };
// Controls -> body: `before` is overwritten where the frame owns the bits; where given, `shown`
// is what the controls set read afterwards (edits rewritten by the build).
struct Built { int row; bool request; const char* before; const char* set; const char* after; const char* shown = nullptr; };
// A grid cell typed over `before`, after the controls in `set` (if any) are set.
struct Typed { int row; bool request; int column; const char* text; const char* before; const char* after; const char* set = ""; };
// clang-format on

// Stands in the address byte, which no frame may touch.
constexpr std::uint8_t Address = 0xA5;

// A case's place for its failures: the catalogue row, its model and the side.
inline std::string Where(int row, bool request)
{
    return "row " + std::to_string(row) + " " + DeviceCatalogue[row].Model + (request ? " request" : " answer");
}

// Texts of several fields joined by `separator`, compared one field at a time, each failure named
// by the field's name (names[i]), so that a broken factor says which field it broke.
inline void ExpectFields(const QString& got, const QString& want, const QStringList& names, QChar separator)
{
    const QStringList g = got.split(separator), w = want.split(separator);
    EXPECT_EQ(g.size(), w.size()) << "fields of " << names.join(',').toStdString();
    for (qsizetype i = 0; i < std::min(g.size(), w.size()); ++i)
        EXPECT_EQ(g[i].toStdString(), w[i].toStdString()) << names.value(i).toStdString();
}

// The names of a body's bytes, counted as the message counts them: "byte 1", "byte 2", ...
inline QStringList ByteNames(const char* hex)
{
    QStringList names;
    for (qsizetype i = 1; i <= QString(hex).split(' ', Qt::SkipEmptyParts).size(); ++i)
        names << QStringLiteral("byte %1").arg(i);
    return names;
}

inline void Check(const Shown& c)
{
    SCOPED_TRACE(Where(c.row, c.request) + " " + c.body);
    Rig rig(c.row);
    rig.SetHex(c.request, c.body);
    rig.Show(c.request);
    ExpectFields(rig.Read(c.names), c.values, QString(c.names).split(';'), ';');
    const TStringsRow& g = rig.grid;
    const QString cells = c.request ? g.Cell(2) : QStringList{g.Cell(3), g.Cell(4), g.Cell(5), g.Cell(6)}.join('|');
    const QStringList columns = c.request ? QStringList{"column 2"} : QStringList{"column 3", "column 4", "column 5", "column 6"};
    ExpectFields(cells, c.cells, columns, '|');
    const TFrameInfo& row = DeviceCatalogue[c.row];
    EXPECT_EQ((c.request ? row.DescribeRequest : row.DescribeAnswer)(rig.Side(c.request).data()).toStdString(), c.info)
        << "info line";
}
inline void Check(const Built& c)
{
    SCOPED_TRACE(Where(c.row, c.request) + " built from " + c.set);
    Rig rig(c.row);
    rig.Side(c.request)[0] = Address;
    rig.SetHex(c.request, c.before), rig.Set(c.set), rig.Build(c.request);
    ExpectFields(rig.Hex(c.request, c.after), c.after, ByteNames(c.after), ' ');
    EXPECT_EQ(rig.Side(c.request)[0], Address) << "the address byte belongs to the line engine";
    if (c.shown) {
        const QString names = QString(c.set).remove(QRegularExpression("=[^;]*"));
        ExpectFields(rig.Read(names), c.shown, names.split(';'), ';');
    }
}
inline void Check(const Typed& c)
{
    SCOPED_TRACE(Where(c.row, c.request) + " column " + std::to_string(c.column) + " typed '" + c.text + "'");
    Rig rig(c.row);
    rig.Side(c.request)[0] = Address;
    rig.Set(c.set), rig.SetHex(c.request, c.before);
    c.request ? rig.info->GridToRequest(c.text, c.column) : rig.info->GridToAnswer(c.text, c.column);
    ExpectFields(rig.Hex(c.request, c.after), c.after, ByteNames(c.after), ' ');
    EXPECT_EQ(rig.Side(c.request)[0], Address) << "the address byte belongs to the line engine";
}
template <class Case, std::size_t N> void CheckAll(const Case (&cases)[N])
{
    for (const Case& c : cases)
        Check(c);
}
