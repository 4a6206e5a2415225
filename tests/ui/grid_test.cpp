// The scheme grid and the frame edit handlers: which cells can be chosen, how edits and Ctrl
// commands reach the devices' slots and the window's items, and how frame edits filter and step
// their values.
#include <QLineEdit>
#include <QTest>

#include "WindowFixture.h"
#include "platform/Numbers.h"
#include "ui/FrameEdits.h"

namespace {

QModelIndex Index(QTableWidget* grid, int row, int column) { return grid->model()->index(row, column); }

QString Shown(const std::optional<QString>& text) { return text.value_or(QStringLiteral("none")); }
QString Shown(const char* text) { return text ? QString::fromUtf8(text) : QStringLiteral("none"); }

// Moves the cursor as a click does, through the view's selection model, and focuses the grid.
void Click(QTableWidget* grid, int row, int column)
{
    grid->selectionModel()->setCurrentIndex(Index(grid, row, column), QItemSelectionModel::ClearAndSelect);
    grid->setFocus();
}

}   // namespace

TEST(GridAndFrameEditRules, EditableCellsDigitCyclingValueStepsAndKeyFilters)
{
    struct {
        int column, lineMode, mode;
        bool editable;
    } const cells[] = {
        {2, 0, 1, false}, {2, 1, 1, true}, {2, 1, 2, false}, {3, 0, 1, true}, {9, 0, 1, false}, {-1, 0, 0, false}, {10, 0, 0, false}, {1, 2, 0, false}, {1, 0, 3, false},   // out of range
    };
    for (const auto& c : cells)
        EXPECT_EQ(GridCellEditable(c.column, c.lineMode, c.mode), c.editable) << c.column << c.lineMode << c.mode;

    // clang-format off
    struct { const char* text; int states, n; const char* result; } const digits[] = {
        {"3", 8, 0, "5"},   // an 8-state digit skips state 4
        {"7", 8, 0, "0"},   {"0123", 8, 4, nullptr},   // a fifth digit that is not there
        {"1111 0000", 2, 4, "1110 0000"}, {"00000000", 2, 7, "1000 0000"},   // groups of four
        {"101", 0, 0, nullptr}, {"-", 2, 0, nullptr},
    };
    // clang-format on
    for (const auto& c : digits)
        EXPECT_EQ(Shown(CycleDigitText(QString::fromUtf8(c.text), c.states, c.n)), Shown(c.result)) << c.text;
    EXPECT_EQ(StepValueText(QStringLiteral("1"), -0.25), QStringLiteral("0.75"));
    EXPECT_FALSE(StepValueText(QStringLiteral("-"), 1));
    EXPECT_FALSE(StepValueText(QStringLiteral("3"), 0));

    // The frame edits' key filters and stepping, by kind.
    SetDecimalSeparator(QLatin1Char(','));
    // clang-format off
    struct { char key; bool sign, decimal; char16_t result; } const filters[] = {
        {'7', false, false, u'7'}, {'\b', false, false, u'\b'}, {'-', false, false, 0}, {'-', true, false, u'-'},
        {'.', false, false, 0},    {'.', false, true, u','},    {'e', true, true, 0},
    };
    // clang-format on
    for (const auto& f : filters) {
        QChar key = QLatin1Char(f.key);
        FilterNumberKey(key, f.sign, f.decimal);
        EXPECT_EQ(key.unicode(), f.result) << f.key;
    }
    // clang-format off
    struct { const char* text; TEditStepping kind; bool up, shift; const char* result; } const steps[] = {
        {"5", {false, true}, false, true, "0"},   // unsigned bound
        {"5", {false, false}, false, true, "-5"},
        {"2147483647", {false, false}, true, false, "2147483647"},   // stays readable
        {"-2147483648", {false, false}, false, true, "-2147483648"},
        {"0,05", {true, true}, false, true, "0,00"},
        {"1,99", {true, false}, true, false, "2,00"},
        {"abc", {false, false}, true, false, nullptr},
        {"1.5", {true, false}, true, false, nullptr},   // not the separator in use
    };
    // clang-format on
    for (const auto& s : steps)
        EXPECT_EQ(Shown(SteppedEditText(QString::fromUtf8(s.text), s.kind, s.up, s.shift)), Shown(s.result)) << s.text;
    SetDecimalSeparator(QLatin1Char('.'));
}

// A chosen cell moves to the nearest editable column; committed cells go through the slots.
TEST_F(SchemeTest, ChoosingAndCommittingCells)
{
    TDeviceInfo* a = AddDevice(rows[0], ModeEmulate);
    TDeviceInfo* b = AddDevice(rows[1], ModeReceive);
    QTableWidget* grid = form->SchemeGrid;
    struct {
        int row, column, chosen;
        bool editing;
    } const clicks[] = {
        {1, 5, 1, false},   // a received device in BI diagnostics: nothing right of the name
        {0, 5, 5, true},    // an emulated device: its answer cells are
        {0, 8, 6, true},    // moving right, the last editable one
        {0, 1, 1, false},   // names are edited in the constructor only
    };
    for (const auto& c : clicks) {
        Click(grid, c.row, c.column);
        EXPECT_EQ(grid->currentIndex(), Index(grid, c.row, c.chosen)) << c.row << ',' << c.column;
        EXPECT_EQ(form->GridControl->Editing(), c.editing) << c.row << ',' << c.column;
        EXPECT_EQ(form->CurrentDevice(), form->GridControl->RowDevice(c.row));
    }
    // A release on the selected device's mode cell pops the mode menu up below that cell; a
    // press below the rows deselects.
    form->show();
    Click(grid, 0, 0);
    const QRect cell = grid->visualRect(grid->currentIndex());
    form->GridControl->MouseUp(Qt::LeftButton, {}, cell.center().x(), cell.center().y());
    EXPECT_TRUE(form->DeviceModePopupMenu->isVisible());
    EXPECT_EQ(form->DeviceModePopupMenu->pos(), grid->viewport()->mapToGlobal(QPoint(0, cell.bottom() + 1)));
    form->DeviceModePopupMenu->hide();
    form->GridControl->MouseDown(Qt::LeftButton, {}, 5, grid->visualRect(Index(grid, 1, 0)).bottom() + 5);
    EXPECT_EQ(form->CurrentDevice(), nullptr);

    form->ApplyCellText(3, 0, QStringLiteral(" 42 "));
    EXPECT_EQ(a->SchemeObject->Answer[1], 42);
    EXPECT_EQ(Cell(0, 3), QStringLiteral("42"));
    form->SelectDevice(a);   // its frame shows the value once it is on screen
    EXPECT_EQ(static_cast<TTestAnswerFrame*>(a->Frame.data())->ValueEdit->Text(), QStringLiteral("42"));
    form->ApplyCellText(2, 1, QStringLiteral("7"));
    EXPECT_EQ(b->SchemeObject->Request[1], 7);
    form->ApplyCellText(2, 0, QStringLiteral("7"));   // no request editor: no value
    EXPECT_EQ(Cell(0, 2), QStringLiteral("-"));
    form->ApplyCellText(1, 1, QStringLiteral(" Датчик "));   // the same name: no change
    EXPECT_FALSE(form->Modified);
    form->ApplyCellText(1, 1, QStringLiteral("  Новое имя "));
    EXPECT_EQ(b->SchemeObject->Name, QStringLiteral("Новое имя"));
    EXPECT_TRUE(form->Modified);
    form->ApplyCellText(8, 1, QStringLiteral("x"));   // statistics are never written by hand
    EXPECT_EQ(Cell(1, 8), QString());

    form->Devices().clear();   // an empty scheme keeps one row
    form->DevicesByAddr().fill(nullptr);
    form->GridControl->Rebuild();
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(form->GridControl->RowDevice(0), nullptr);
}

TEST_F(SchemeTest, KeysEditCellsAndCtrlCyclesDigitsStepsValuesAndTapSelects)
{
    DeviceCatalogue[rows[1]].Col2Radix = 2;
    DeviceCatalogue[rows[0]].Value1Step = 1;
    LineMode = LineModeSensors;
    TDeviceInfo* a = AddDevice(rows[0], ModeEmulate);
    TDeviceInfo* b = AddDevice(rows[1], ModeReceive);
    form->show();
    QTableWidget* grid = form->SchemeGrid;
    // A typed edit is dropped on Escape and committed on Enter.
    Click(grid, 0, 3);
    QTest::keyClick(grid, Qt::Key_5);   // starts the editor with the key
    ASSERT_NE(form->GridControl->Editor(), nullptr);
    QTest::keyClick(form->GridControl->Editor(), Qt::Key_Escape);
    EXPECT_EQ(form->GridControl->Editor(), nullptr);
    EXPECT_EQ(a->SchemeObject->Answer[1], 0);
    EXPECT_EQ(Cell(0, 3), QStringLiteral("0"));

    Click(grid, 0, 3);
    QTest::keyClick(grid, Qt::Key_1);
    QLineEdit* editor = form->GridControl->Editor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("2x"));   // the x is refused by the number filter
    EXPECT_EQ(editor->text(), QStringLiteral("12"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();   // the view commits an Enter from its event loop
    EXPECT_EQ(a->SchemeObject->Answer[1], 12);

    form->ApplyCellText(2, 1, QStringLiteral("101"));
    Click(grid, 1, 2);
    QTest::keyClick(grid, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(b->SchemeObject->Request[1], 100);
    Click(grid, 0, 3);
    form->ApplyCellText(3, 0, QStringLiteral("5"));
    QTest::keyClick(grid, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(a->SchemeObject->Answer[1], 15);

    // Ctrl tapped alone toggles the row's device; Ctrl with another key is no tap.
    form->SelectDevice(nullptr);
    QTest::keyPress(grid, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyRelease(grid, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(form->CurrentDevice(), a);
    QTest::keyPress(grid, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_7, Qt::ControlModifier);
    QTest::keyRelease(grid, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(form->CurrentDevice(), a);
}

TEST_F(SchemeTest, FrameEditsStoreTheirValuesAndStep)
{
    TDeviceInfo* a = AddDevice(rows[0], ModeEmulate);
    form->show();
    form->SelectDevice(a);   // the frame the user types into is on screen
    auto* frame = static_cast<TTestAnswerFrame*>(a->Frame.data());
    frame->ValueEdit->SetText(QStringLiteral("9"));
    EXPECT_EQ(a->SchemeObject->Answer[1], 9);
    EXPECT_EQ(Cell(0, 3), QStringLiteral("9"));
    EXPECT_TRUE(std::any_of(SlotLog.begin(), SlotLog.end(), [](const TSlotCall& c) { return c.slot == "FrameToAnswer" && c.updating; }))
        << "the slot runs while the program writes the controls";

    // The up-down steps its edit; at the bottom an unsigned edit stays and raises no change.
    frame->ValueEdit->SetText(QStringLiteral("1"));
    frame->ValueUpDown->Click(TUpDownDirection::Down);
    EXPECT_EQ(frame->ValueEdit->Text(), QStringLiteral("0"));
    SlotLog.clear();
    frame->ValueEdit->SendKeyDown(Qt::Key_Down);
    EXPECT_TRUE(SlotLog.empty());
    frame->ValueEdit->SendKeyDown(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(a->SchemeObject->Answer[1], 10);
    // The caret keeps its distance from the end.
    frame->SFloatEdit->SetText(QStringLiteral("9.99"));
    frame->SFloatEdit->SetSelStart(2);
    frame->SFloatEdit->SendKeyDown(Qt::Key_Up);
    EXPECT_EQ(frame->SFloatEdit->Text(), QStringLiteral("10.00"));
    EXPECT_EQ(frame->SFloatEdit->SelStart(), 3);
    frame->LabelUpDown->Click(TUpDownDirection::Up);   // a label beside an up-down gets no steps

    // While the program writes, a change is not stored back.
    SlotLog.clear();
    {
        TUpdatingControls updating;
        frame->ValueEdit->SetText(QStringLiteral("77"));
    }
    EXPECT_TRUE(SlotLog.empty());
    // A device whose frame lacks a slot of its side skips it instead of calling nothing.
    a->AnswerToGrid = nullptr;
    frame->ValueEdit->SetText(QStringLiteral("3"));
    EXPECT_EQ(a->SchemeObject->Answer[1], 3);
}

// Typed into a frame's number edits: a decimal edit takes either decimal separator as the one in
// use, an integer edit neither, an unsigned edit no sign.
TEST_F(SchemeTest, FrameNumberEditsTakeTheKeysOfTheirKind)
{
    auto* frame = static_cast<TTestAnswerFrame*>(AddDevice(rows[0], ModeEmulate)->Frame.data());
    const QChar separator = DecimalSeparator();
    // clang-format off
    const struct { char separator; TEdit* edit; const char* typed; const char* shown; } cases[] = {
        {',', frame->SFloatEdit, "-1.5", "-1,5"}, {',', frame->SFloatEdit, "+2,5", "+2,5"},
        {',', frame->UFloatEdit, "-2,25e", "2,25"}, {'.', frame->UFloatEdit, "3,5", "3.5"},
        {'.', frame->SFloatEdit, "-0.5", "-0.5"}, {'.', frame->SIntEdit, "-1,5.", "-15"},
        {'.', frame->ValueEdit, "+1.5", "15"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SetDecimalSeparator(QLatin1Char(c.separator));
        c.edit->SetText(QString());
        QTest::keyClicks(c.edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.edit->Text().toStdString(), c.shown) << c.edit->objectName().toStdString() << " '" << c.typed << "'";
    }
    SetDecimalSeparator(separator);
}

// A step shows what the answer then holds, the grid's text: Pressure-1 keeps 40.96 steps per
// unit, so 0.01 alone may change nothing, and each click goes on to the next value it holds.
TEST_F(SchemeTest, AnUpDownStepShowsTheValueSent)
{
    TDeviceInfo* device = AddDevice(7, ModeEmulate);   // Pressure-1
    form->show();
    form->SelectDevice(device);
    device->ShowData(false);
    auto* edit = device->AnswerPanel->findChild<TEdit*>();
    auto* upDown = device->AnswerPanel->findChild<TUpDown*>();
    ASSERT_TRUE(edit && upDown);
    edit->SetText(QStringLiteral("100"));
    for (const char* shown : {"100.02", "100.05", "100.07"}) {
        upDown->Click(TUpDownDirection::Up);
        EXPECT_EQ(edit->Text(), QString::fromUtf8(shown));
        EXPECT_EQ(Cell(0, 3), QString::fromUtf8(shown));
    }
    EXPECT_EQ(device->SchemeObject->Answer[1], 0x03);   // 4099 = 100.07 x 40.96
    EXPECT_EQ(device->SchemeObject->Answer[2], 0x10);
    edit->SendKeyDown(Qt::Key_Down);
    EXPECT_EQ(edit->Text(), QStringLiteral("100.05"));
}

// Ctrl commands reach the window's items for the selected device; Ctrl+Up/Down never move the
// grid's cursor (a silent abort).
TEST_F(SchemeTest, CtrlCommandsActThroughTheWindowsItems)
{
    struct {
        int row, column, key;
        bool selected, constructor;
        const char* rows;   // afterwards: each grid row's name and mode cell
        bool completes;
    } const cases[] = {
        {0, 0, Qt::Key_Backspace, true, false, "A11 B10", true},   // the static mark
        {0, 3, Qt::Key_Delete, true, true, "B10", true},
        {0, 3, Qt::Key_Delete, false, true, "A10 B10", true},
        {0, 0, Qt::Key_Up, true, false, "A00 B10", false},   // emulated: up to received, down to disabled
        {0, 0, Qt::Key_Down, true, false, "A20 B10", false},
        {0, 0, Qt::Key_Up, false, false, "A10 B10", true},   // no device selected: the grid moves as usual
        {1, 1, Qt::Key_Up, true, true, "B10 A10", false},
        {0, 1, Qt::Key_Down, true, false, "A10 B10", false},   // moving needs the scheme editor
        {0, 5, Qt::Key_Up, true, false, "A10 B10", false},
        {0, 1, Qt::Key_Down, true, true, "B10 A10", false},
    };
    const auto shown = [this] {
        QStringList texts;
        for (int row = 0; row < form->SchemeGrid->rowCount(); ++row)
            texts << Cell(row, 1) + Cell(row, 0);
        return texts.join(u' ');
    };
    for (const auto& c : cases) {
        Run([&] { form->SClearSchemeItemClick(); });
        AddDevice(rows[0], ModeEmulate, QStringLiteral("A"));
        AddDevice(rows[1], ModeEmulate, QStringLiteral("B"));
        ConstructorMode = c.constructor;
        form->ApplyConstructorMode();
        form->SelectDevice(c.selected ? form->GridControl->RowDevice(c.row) : nullptr);
        form->GridControl->SetCurrentCell(c.row, c.column);
        int key = c.key;
        EXPECT_EQ(GuardUi([&] { form->GridControl->KeyDown(key, Qt::ControlModifier); }), c.completes) << c.column << ' ' << c.key;
        EXPECT_EQ(shown(), QString::fromUtf8(c.rows)) << c.row << ',' << c.column << ' ' << c.key;
    }
    // Left in the scheme editor: Delete without Ctrl is no command, a double click deletes.
    int key = Qt::Key_Delete;
    form->GridControl->KeyDown(key, Qt::NoModifier);
    EXPECT_EQ(form->Devices().size(), 2u);
    form->GridControl->DblClick();
    EXPECT_EQ(form->Devices().size(), 1u);
}

namespace {

// The grid's host without a window: what the control asks of it, in order.
class LoggingGridHost final : public TSchemeGridHost {
public:
    LoggingGridHost(TSession& session, QStringList& log) : session_(session), log_(log) {}
    void SelectDevice(TDeviceInfo* device) override
    {
        session_.CurrentDevice = device;
        log_ << QStringLiteral("select %1").arg(device ? device->SchemeObject->Name : QStringLiteral("none"));
    }
    void NameChanged() override { log_ << QStringLiteral("name changed"); }
    void UpdateDeviceRowStatus(TDeviceInfo*) override {}
    void ApplyDeviceMode(int mode) override { log_ << QStringLiteral("mode %1").arg(mode); }
    void Click(const char* name) override { log_ << QStringLiteral("click ") + QLatin1String(name); }
    void MoveDevice(bool up) override { log_ << (up ? QStringLiteral("move up") : QStringLiteral("move down")); }
    void PopupDeviceModeMenu(const QPoint&) override { log_ << QStringLiteral("popup"); }
    const TImageList& ModeImages() const override { return images_; }
    QColor FixedCellColor() const override { return Qt::gray; }

private:
    TSession& session_;
    QStringList& log_;
    TImageList images_{16};
};

}   // namespace

// The grid control runs on a session and a grid alone: rows in the scheme's order, a row's
// device, a committed name, the editor's switch and Ctrl on the mode and name columns.
TEST(GridControl, RowsNamesAndCtrlCommandsThroughItsSeamsWithoutAWindow)
{
    RegisterFrameClasses();
    const ScopedFrameClass first(1, CreateTestAnswerFrame), second(7, CreateTestAnswerFrame);
    LineMode = LineModeMaster;
    TDocument document;
    TSession session(document);
    QStringList log;
    QTableWidget grid(1, GridColumnCount);
    QWidget panel;
    TFrameHandlers handlers;
    handlers.Owner = handlers.Parent = &panel;
    auto* control = new TSchemeGridControl(session, std::make_unique<LoggingGridHost>(session, log), &grid);
    document.Schemes.push_back(std::make_unique<TDeviceScheme>(QStringLiteral("S")));
    session.CurrentScheme = document.Schemes.back().get();
    TDeviceInfo* a = session.AddDevice(session.AddObject(QStringLiteral("A"), 1), &handlers, nullptr);
    TDeviceInfo* b = session.AddDevice(session.AddObject(QStringLiteral("B"), 7), &handlers, nullptr);
    ASSERT_TRUE(session.SwapDevices(b, a));
    control->Rebuild();
    ASSERT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(control->RowDevice(0), b);   // the scheme's order, not the creation order
    EXPECT_EQ(control->DeviceRow(a), 1);
    EXPECT_EQ(grid.item(1, 0)->text() + u'|' + grid.item(1, 1)->text(), QStringLiteral("10|A"));

    control->ApplyCellText(1, 1, QStringLiteral("  Кран "));
    control->ApplyCellText(1, 1, QStringLiteral("Кран"));   // unchanged: no second notice
    EXPECT_EQ(a->SchemeObject->Name, QStringLiteral("Кран"));
    EXPECT_EQ(log, QStringList{"name changed"});

    // Ctrl+Up on column 0 steps the selected device's mode; on column 1 it moves the device in
    // the editor only.
    const auto ctrlUp = [&](int column) {
        log.clear();
        control->SetCurrentCell(1, column);
        int key = Qt::Key_Up;
        GuardUi([&] { control->KeyDown(key, Qt::ControlModifier); });
        return log;
    };
    session.CurrentDevice = a;
    EXPECT_EQ(ctrlUp(0), QStringList{"mode 0"});
    EXPECT_EQ(ctrlUp(1), QStringList{});
    session.ConstructorMode = 1;
    EXPECT_EQ(ctrlUp(1), QStringList{"move up"});
    // A tapped Ctrl selects the current row's device, or none when one is selected.
    session.CurrentDevice = nullptr;
    log.clear();
    int ctrl = Qt::Key_Control;
    control->KeyDown(ctrl, Qt::ControlModifier);
    control->KeyUp(ctrl, Qt::NoModifier);
    EXPECT_EQ(log, QStringList{"select Кран"});
    session.ReleaseDevices(nullptr);
}
