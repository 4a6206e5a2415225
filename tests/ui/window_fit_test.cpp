// The main window as the user meets it: every tool bar button within reach, a mode icon for
// every device mode, the catalogue's columns inside its view, the grid focused at start, the
// mode popup's keys only in the grid, no key for a tool button's hidden caption, every frame's controls within reach, no button over
// another, the connection's whole text, and the window inside the screen, title bar included.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QWheelEvent>

#include "WindowFixture.h"
#include "support/TextCanvas.h"
#include "ui/StatusBar.h"

namespace {
// The part of a widget that its window shows: its rectangle cut by every parent's.
QRect ShownRect(const QWidget* w)
{
    QRect shown(w->mapTo(w->window(), QPoint()), w->size());
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        shown &= QRect(p->mapTo(p->window(), QPoint()), p->size());
    return shown;
}
bool WhollyShown(const QWidget* w) { return ShownRect(w).size() == w->size(); }

// The shown control of a frame that reaches lowest (panels hold controls, they are none), among
// those the focus can take or all.
QWidget* LowestControl(const QWidget* frame, bool focusable)
{
    QWidget* lowest = nullptr;
    int bottom = -1;
    for (QWidget* w : frame->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(frame) || qobject_cast<TPanel*>(w) ||
            (focusable && !(w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))))
            continue;
        const int b = w->mapTo(frame, QPoint(0, w->height())).y();
        if (b > bottom) {
            bottom = b;
            lowest = w;
        }
    }
    return lowest;
}
}   // namespace

TEST_F(MainWindowTest, AStartedWindowFitsTheScreenItsToolBarsAndItsCatalogue)
{
    PortOpen = false;
    TMirvane2Form& f = StartUp();
    ASSERT_TRUE(WaitOpened());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_GE(area.width(), f.minimumWidth());
    EXPECT_TRUE(area.contains(f.frameGeometry())) << f.geometry().y() << "+" << f.geometry().height();
    EXPECT_EQ(f.focusWidget(), f.SchemeGrid);
    for (const bool constructor : {false, true}) {
        ConstructorMode = constructor ? 1 : 0;   // with both right-hand panels open
        f.ApplyConstructorMode();
        f.RightPanelButtonClick(f.ShowRightButton);
        f.DataInfoButtonClick(f.ShowInfoButton);
        RunEventsFor(30);
        int checked = 0;
        for (QToolBar* bar : f.findChildren<QToolBar*>()) {
            if (!bar->isVisible())
                continue;
            for (QAction* a : bar->actions()) {
                QWidget* w = bar->widgetForAction(a);
                if (!a->isVisible() || !w)
                    continue;
                ++checked;
                EXPECT_TRUE(w->isVisible()) << qPrintable(w->objectName()) << " behind the overflow";
                EXPECT_TRUE(bar->rect().contains(w->geometry())) << qPrintable(w->objectName()) << " cut by its bar";
            }
        }
        EXPECT_GE(checked, constructor ? 12 : 10);
    }
    // At the catalogue panel's first width its check box reads whole, and so do the name and
    // the address of every row, captions included, inside the list (no sideways scrolling); the
    // description takes the rest of the list, cut with "…" and whole in its tool tip.
    QTreeWidget* list = f.DevicesListView;
    ASSERT_GT(list->topLevelItemCount(), 0);
    const QCheckBox* same = f.SameAddrCheckBox;
    const int box = same->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                    same->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    EXPECT_LE(box + same->fontMetrics().horizontalAdvance(same->text()), same->width());
    for (const bool scrolled : {true, false}) {
        if (!scrolled)
            f.DevicePanel->SetHeight(1000);
        RunEventsFor(30);
        const QHeaderView* header = list->header();
        const QFontMetrics metrics(header->font());
        for (const int column : {0, 2}) {
            EXPECT_GE(header->sectionSize(column), metrics.horizontalAdvance(list->headerItem()->text(column))) << column;
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                EXPECT_GE(header->sectionSize(column), list->fontMetrics().horizontalAdvance(list->topLevelItem(i)->text(column)))
                    << qPrintable(list->topLevelItem(i)->text(column));
        }
        const int view = list->viewport()->width();
        EXPECT_EQ(header->sectionViewportPosition(2) + header->sectionSize(2), view) << scrolled;
        EXPECT_GT(header->sectionSize(1), 0) << scrolled;
        EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0) << scrolled;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            EXPECT_EQ(list->topLevelItem(i)->toolTip(1), list->topLevelItem(i)->text(1));
        // Each caption is drawn whole, or ends in "…" within its section.
        TTextCanvas drawn(list->header()->size());
        list->header()->render(&drawn);
        ASSERT_EQ(drawn.Texts().size(), 3);
        for (int column = 0; column < 3; ++column) {
            const QString caption = list->headerItem()->text(column), text = drawn.Texts()[column];
            EXPECT_TRUE(text == caption || (text.endsWith(QChar(0x2026)) && caption.startsWith(text.chopped(1))))
                << text.toStdString();
            EXPECT_LE(QFontMetrics(header->font(), &drawn).horizontalAdvance(text), header->sectionSize(column))
                << text.toStdString();
        }
    }
}

TEST_F(MainWindowTest, EveryGridModeIconDrawsPixels)
{
    TMirvane2Form& f = Make();
    const QRect cell(0, 0, 24, 18);
    const auto draw = [&](const QString& text) {
        f.SchemeGrid->setItem(0, 0, new QTableWidgetItem(text));
        QImage canvas(cell.size(), QImage::Format_RGB32);
        QPainter painter(&canvas);
        f.SchemeGridDrawCell(painter, 0, 0, cell, false);
        return canvas;
    };
    const QImage empty = draw(QString());
    for (int mode = 0; mode < 3; ++mode) {
        const QImage plain = draw(QString::number(mode) + u'0');
        const QImage marked = draw(QString::number(mode) + u'1');
        EXPECT_NE(plain, empty) << "mode " << mode;
        EXPECT_NE(marked, empty) << "static mode " << mode;
        EXPECT_NE(marked, plain) << "static mark of mode " << mode;
    }
}

// A cell's text, drawn from its laid-out form, is the cell's present text: right-aligned cells end
// 4 pixels short of their right edge (5 with a separator line), left-aligned ones start 4 pixels
// in, whatever text the cell held before.
TEST_F(MainWindowTest, GridCellsDrawTheirOwnTextFourPixelsInside)
{
    TMirvane2Form& f = Make();
    f.SchemeGrid->setRowCount(2);
    const QRect cell(0, 0, 100, 18);
    const auto draw = [&](int column, const QString& text) {
        f.SchemeGrid->setItem(1, column, new QTableWidgetItem(text));
        QImage canvas(cell.size(), QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        painter.setFont(f.SchemeGrid->font());
        f.SchemeGridDrawCell(painter, column, 1, cell, false);   // not the current row
        painter.end();
        TTextCanvas recorded(cell.size());
        QPainter recorder(&recorded);
        recorder.setFont(f.SchemeGrid->font());
        f.SchemeGridDrawCell(recorder, column, 1, cell, false);
        recorder.end();
        EXPECT_EQ(recorded.Texts(), QStringList{text});
        return canvas;
    };
    const auto inkBounds = [](const QImage& image) {
        int left = image.width(), right = -1;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (qGray(image.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return std::pair(left, right);
    };
    // clang-format off
    const struct { int column; const char* text; } cells[] = {
        {3, "16"}, {3, "0.48"}, {3, "16"}, {8, "12.50"}, {2, "1101 0110"}, {9, "Другой датчик"}, {9, "Нет ответа"},
    };
    // clang-format on
    for (const auto& c : cells) {
        const auto [left, right] = inkBounds(draw(c.column, QString::fromUtf8(c.text)));
        const int edge = c.column == 2 ? cell.right() - 1 : cell.right();   // column 2 has a separator
        if (c.column == 9) {
            EXPECT_GE(left, 4) << c.text;
            EXPECT_LE(left, 6) << c.text;
        } else {
            EXPECT_LE(right, edge - 4) << c.text;
            EXPECT_GE(right, edge - 6) << c.text;
        }
    }
    EXPECT_EQ(draw(3, QStringLiteral("16")), draw(3, QStringLiteral("16")));
    EXPECT_NE(draw(3, QStringLiteral("16")), draw(3, QStringLiteral("17")));
}

TEST_F(SchemeTest, ModePopupKeysActOnlyInTheGrid)
{
    TDeviceInfo* device = AddDevice(rows[0], ModeReceive);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->SelectDevice(device);
    // clang-format off
    struct { QWidget* focus; Qt::Key key; std::uint8_t mode; } const presses[] = {
        {form->SchemeGrid, Qt::Key_D, ModeDisabled},
        {form->CurrSchemeComboBox, Qt::Key_R, ModeDisabled},   // elsewhere: nothing
        {form->CommentMemo, Qt::Key_S, ModeDisabled},
        {form->SchemeGrid, Qt::Key_S, ModeEmulate},
    };
    // clang-format on
    for (const auto& p : presses) {
        p.focus->setFocus();
        QTest::keyClick(QApplication::focusWidget(), p.key, Qt::ControlModifier | Qt::AltModifier);
        EXPECT_EQ(device->SchemeObject->Mode, p.mode) << qPrintable(p.focus->objectName());
    }
}

// The tool bar's buttons show no captions, so their captions' keys are nobody's: Alt+Б, Alt+Д,
// Alt+А, Alt+О and Alt+С switch no line mode, open no file and move no focus. The menus keep
// their keys (Alt+Д the device menu in the scheme editor, Alt+С the help menu) and shortcuts.
TEST_F(MainWindowTest, ToolButtonsWithoutCaptionsTakeNoKeys)
{
    PortOpen = false;
    LineMode = LineModeSensors;
    TMirvane2Form& f = StartUp();
    ASSERT_TRUE(WaitOpened());
    ConstructorMode = 1;   // every tool button shown
    f.ApplyConstructorMode();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    const QString file = CurrentFileName;
    // clang-format off
    struct { char16_t letter; const char* menu; } const presses[] = {
        {u'Б', nullptr}, {u'Д', "DeviceMenu"}, {u'А', nullptr}, {u'О', nullptr}, {u'С', "HelpMenu"},
    };
    // clang-format on
    for (const auto& p : presses) {
        Action("LBIMode2Item")->trigger();
        f.SchemeGrid->setFocus();
        DialogFolders.clear();
        const QChar upper(p.letter);   // as a Russian layout gives it
        QTest::sendKeyEvent(QTest::Click, f.SchemeGrid, Qt::Key(upper.unicode()), upper.toLower(), Qt::AltModifier);
        RunEventsFor(300);   // a button's key clicks it a moment later
        const std::string pressed = QString(upper).toStdString();
        QWidget* popup = QApplication::activePopupWidget();
        EXPECT_EQ(popup ? popup->objectName().toStdString() : "", p.menu ? p.menu : "") << pressed;
        if (popup)
            popup->close();
        else
            EXPECT_EQ(QApplication::focusWidget(), f.SchemeGrid) << pressed;
        EXPECT_EQ(LineMode.load(), LineModeSensors) << pressed;
        EXPECT_TRUE(DialogFolders.isEmpty() && Messages.isEmpty()) << pressed;
        EXPECT_EQ(CurrentFileName, file) << pressed;
    }
    f.SchemeGrid->setFocus();
    QTest::keyClick(f.SchemeGrid, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(LineMode.load(), LineModeMaster);
}

TEST(WindowPlacement, StoredOrDefaultRectanglesComeInsideSmallScreens)
{
    const QSize minimum(722, 454);
    const QRect standard(445, 317, 722, 696);   // the designed window, menu bar included
    struct {
        QRect area, wanted, placed;
    } const cases[] = {
        {{0, 0, 1366, 738}, standard, {445, 42, 722, 696}},            // moved up, not shrunk
        {{0, 30, 1366, 738}, {-50, 0, 722, 696}, {0, 30, 722, 696}},   // a panel above the area
        {{0, 0, 1366, 738}, {10, 10, 5000, 5000}, {0, 0, 1366, 738}},
        {{0, 0, 1024, 570}, standard, {302, 0, 722, 570}},   // shrunk to the height
        {{0, 0, 640, 450}, standard, {0, 0, 722, 454}},      // never below the minimum
        {{0, 0, 1366, 738}, {100, 100, 300, 200}, {100, 100, 722, 454}},
        {{0, 30, 1000, 700}, {2147483000, 40, 500, 400}, {278, 40, 722, 454}},   // no overflow at the right
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeepInWorkArea(c.wanted, c.area, minimum), c.placed) << c.area.width() << "x" << c.area.height();
}

// The frame of every catalogue row shows whole in the default window: the scheme panel scrolls to
// its lowest control, and follows the focus to the lowest control that takes it.
TEST_F(MainWindowTest, EveryFramesLowestControlCanBeBroughtIntoView)
{
    TMirvane2Form& f = Make();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    auto* box = f.findChild<QScrollArea*>(QStringLiteral("SchemePanel"));
    ASSERT_TRUE(box);
    int scrolled = 0;
    for (int row = 0; row < DeviceCatalogueCount; ++row) {
        TSchemeObject object(QStringLiteral("Датчик"), std::uint32_t(row), ModeEmulate);
        TDeviceInfo device(&object, &FrameHandlers, &f);
        if (device.HasRequestEditor())
            device.ShowData(true);
        device.ShowData(false);
        device.Frame->SetVisible(true);
        QScrollBar* bar = box->verticalScrollBar();
        bar->setValue(bar->maximum());
        scrolled += bar->maximum() > 0;
        QWidget* lowest = LowestControl(device.Frame, false);
        ASSERT_TRUE(lowest) << row;
        EXPECT_TRUE(WhollyShown(lowest)) << row << " " << qPrintable(lowest->objectName());
        bar->setValue(0);
        QWidget* focused = LowestControl(device.Frame, true);
        ASSERT_TRUE(focused) << row;
        focused->setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(WhollyShown(focused)) << row << " " << qPrintable(focused->objectName());
        device.Frame->SetVisible(false);
    }
    EXPECT_GT(scrolled, 0) << "no frame is taller than its room";

    // The wheel scrolls the frame, also over a combo box the user has not chosen, which keeps
    // its value.
    TSchemeObject object(QStringLiteral("Logic-1"), 63, ModeEmulate);
    TDeviceInfo device(&object, &FrameHandlers, &f);
    device.ShowData(false);
    device.Frame->SetVisible(true);
    box->verticalScrollBar()->setValue(0);
    RunEventsFor(30);
    auto* combo = device.AnswerPanel->findChild<QComboBox*>();
    ASSERT_TRUE(combo);
    combo->setCurrentIndex(1);
    const QPoint at = combo->rect().center();
    QWheelEvent wheel(at, combo->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo, &wheel);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_FALSE(wheel.isAccepted()) << "handed on to what holds the combo box";
    // The window system hands an ignored wheel on to the parents, up to the view.
    wheel.accept();
    QApplication::sendEvent(box->viewport(), &wheel);
    EXPECT_GT(box->verticalScrollBar()->value(), 0);
}

// No button of the right panel lies under another, with the decoding panel hidden or shown, at
// the panel's first width and at its narrowest, beside the line monitor and the catalogue.
TEST_F(MainWindowTest, TheRightPanelsButtonsLieUnderNoOther)
{
    TMirvane2Form& f = StartUp();
    ASSERT_TRUE(WaitOpened());
    f.RightPanelButtonClick(f.ShowRightButton);
    for (const bool constructor : {false, true}) {
        ConstructorMode = constructor ? 1 : 0;
        f.ApplyConstructorMode();
        for (const int width : {f.RightPanelWidth, 200}) {
            f.RightPanelWidth = width;
            f.FormResize();
            for (QToolButton* shower : {f.ShowInfoButton, f.HideInfoButton}) {
                f.DataInfoButtonClick(shower);
                RunEventsFor(30);
                for (QToolButton* b : {f.LineDataStartButton, f.LineDataStopButton, f.FindErrorsPrevButton,
                                       f.FindErrorsNextButton, f.AddDeviceButton, f.DeleteDeviceButton,
                                       f.ShowInfoButton, f.HideInfoButton}) {
                    if (!b->isVisible())
                        continue;
                    const QRect r(b->mapTo(&f, QPoint()), b->size());
                    for (const QPoint p : {r.center(), r.topLeft() + QPoint(1, 1), r.bottomRight() - QPoint(1, 1)})
                        EXPECT_EQ(f.childAt(p), b) << qPrintable(b->objectName()) << " at width " << width;
                }
            }
        }
    }
}

// The connection panel holds the port's name and a refusal's reason whole, after the glyph's
// 22 pixels, and follows each change of its text.
TEST_F(MainWindowTest, TheConnectionPanelShowsItsWholeText)
{
    TMirvane2Form& f = StartUp();
    const int ready = f.StatusBar->PanelRect(1).width();
    for (const char* text : {"9ttyUSB0 — нет доступа", "9ttyUSB0 — занят", "8ttyUSB0", ":Закр.", "3ttyACM12 — нет доступа"}) {
        f.SetStatusText(2, QString::fromUtf8(text));
        const QRect panel = f.StatusBar->PanelRect(2);
        const int room = panel.width() - 2 - 22;   // inside the panel's border, after the glyph
        EXPECT_GE(room, f.StatusBar->fontMetrics().horizontalAdvance(QString::fromUtf8(text).mid(1))) << text;
        EXPECT_EQ(panel.right(), f.StatusBar->width() - 1) << text;
        EXPECT_EQ(f.StatusBar->PanelRect(1).width(), ready) << text;
    }
    // The 16-pixel glyph at the drawing rectangle's top left, 2 pixels in, is not cut.
    QRegion cut;
    const auto draw = f.StatusBar->OnDrawPanel;
    f.StatusBar->OnDrawPanel = [&](TStatusBar* bar, QPainter& canvas, int panel, const QRect& rect) {
        cut = QRegion(rect.left() + 2, rect.top(), 16, 16) - canvas.clipRegion();
        draw(bar, canvas, panel, rect);
    };
    f.StatusBar->grab();
    EXPECT_TRUE(cut.isEmpty()) << cut.boundingRect().y() << " of a bar " << f.StatusBar->height() << " high";
}

// The title bar stays on the screen: placed before the window manager has framed the window (its
// frame then unknown), and with the frame known.
TEST_F(MainWindowTest, PlacementKeepsTheTitleBarOnTheScreen)
{
    TMirvane2Form& f = Make();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.contains(f.geometry().marginsAdded(QMargins(1, 20, 1, 5)))) << f.geometry().y();

    const QSize minimum(722, 454);
    const QRect standard(445, 317, 722, 696);
    const QRect small(0, 0, 1024, 600);
    for (const QMargins& frame : {QMargins(1, 20, 1, 5), QMargins()}) {
        const QRect placed = PlaceInWorkArea(standard, small, minimum, frame);
        EXPECT_TRUE(small.contains(placed.marginsAdded(QMargins(1, 20, 1, 5)))) << placed.y() << frame.isNull();
        EXPECT_GE(placed.height(), minimum.height());
    }
    EXPECT_EQ(PlaceInWorkArea(standard, small, minimum, QMargins(1, 20, 1, 5)), QRect(301, 20, 722, 575));
}

// In "Диагностика БИ" a terminal receives text: with its request side cleared, its pages still
// switch and its text still scrolls.
TEST_F(SchemeTest, TheTerminalsPagesSwitchInMasterDiagnostics)
{
    form->show();
    TDeviceInfo* device = AddDevice(60, ModeEmulate);   // the terminal
    form->SelectDevice(device);
    form->ApplyDeviceMode(ModeEmulate);
    auto* pages = device->Frame->findChild<QTabWidget*>(QStringLiteral("ReplyPages"));
    auto* text = device->Frame->findChild<QPlainTextEdit*>(QStringLiteral("Output1"));
    ASSERT_TRUE(pages && text);
    for (int i = 0; i < 60; ++i)
        text->appendPlainText(QStringLiteral("Строка %1").arg(i));
    RunEventsFor(30);
    EXPECT_TRUE(text->isEnabled() && text->verticalScrollBar()->isEnabled());
    QTabBar* tabs = pages->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_EQ(pages->currentIndex(), 1);
}
