// The main window as it starts: caption, controls, menus, fixed size, the
// options panel's toggle and docking, the Help menu and closing.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "aboutform/tabout.h"
#include "look/fonts.h"
#include "look/glyphs.h"
#include "main_window_harness.h"

using korv::test::FileExists;
using korv::test::MainWindowHarness;
using Kind = korv::test::ScriptedPrompter::Kind;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void StartsCentredWithOnlyThePlaceholder();
    void ControlsLieWhereTheyBelong_data();
    void ControlsLieWhereTheyBelong();
    void ClientAreaIsFixedBelowTheMenuBar();
    void MenusCarryTheirItems();
    void DialogsAreSetUpForTheirUse();
    void FontsFallBackToTheirKind();
    void GlyphsAreDrawnOnATransparentBackground();
    void GlyphButtonsOpenTheirMenusAtTheMouse();
    void Button4ShowsAndHidesThePanel();
    void TimerKeepsThePanelDocked();
    void VersionHistoryOpensInTheEditor();
    void AboutShowsAFreshBoxEachTime();
    void ClosingWritesTheClosingLineAndEnds();
    void DeleteInAMemoLeavesTheListAlone();
};

void MainWindowTest::StartsCentredWithOnlyThePlaceholder() {
    MainWindowHarness h;
    TMF& mf = *h.mf;
    QCOMPARE(mf.windowTitle(), QStringLiteral("Korvane"));
    QCOMPARE(h.ShownEntries(), QStringList{QStringLiteral("No files added")});
    QVERIFY(!mf.Button->isEnabled());
    QVERIFY(!mf.SpeedButton2->isEnabled());
    QVERIFY(mf.SpeedButton1->isEnabled());
    QVERIFY(mf.Edit2->toPlainText().isEmpty());
    QVERIFY(mf.Edit3->toPlainText().isEmpty());
    QVERIFY(!h.af->isVisible());
    QCOMPARE(mf.Button4->text(), QStringLiteral("Show Advanced &Options >>>>>"));
    QCOMPARE(h.LogEvents(), QStringList{QStringLiteral("Application Started")});
    // Reading the settings of a fresh start creates no file.
    QVERIFY(mf.Behaviour().IniFile != nullptr);
    QVERIFY(!FileExists(h.paths.Settings));
    QCOMPARE(h.prompter.Calls().size(), std::size_t{0});

    const QRect area = mf.screen()->availableGeometry();
    const QPoint centre = mf.frameGeometry().center();
    QVERIFY2(qAbs(centre.x() - area.center().x()) <= 1 && qAbs(centre.y() - area.center().y()) <= 1,
             qPrintable(QStringLiteral("window centre %1,%2 area %3,%4 %5x%6")
                            .arg(centre.x())
                            .arg(centre.y())
                            .arg(area.x())
                            .arg(area.y())
                            .arg(area.width())
                            .arg(area.height())));
}

void MainWindowTest::ControlsLieWhereTheyBelong_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    const QString client = QStringLiteral("ClientArea");
    const QString group = QStringLiteral("GroupBox1");
    QTest::newRow("GroupBox1") << group << client << QRect(0, 0, 273, 177) << "Files";
    QTest::newRow("ListBox1") << "ListBox1" << group << QRect(8, 16, 256, 126) << "";
    QTest::newRow("SpeedButton1") << "SpeedButton1" << group << QRect(8, 148, 25, 22) << "";
    QTest::newRow("SpeedButton2") << "SpeedButton2" << group << QRect(40, 148, 25, 22) << "";
    QTest::newRow("Button4") << "Button4" << client << QRect(8, 181, 256, 18)
                             << "Show Advanced &Options >>>>>";
    QTest::newRow("Label3") << "Label3" << client << QRect(8, 202, 23, 13) << "Find:";
    QTest::newRow("Edit2") << "Edit2" << client << QRect(72, 202, 192, 50) << "";
    QTest::newRow("Label4") << "Label4" << client << QRect(8, 256, 55, 13) << "Replace to:";
    QTest::newRow("Edit3") << "Edit3" << client << QRect(72, 256, 192, 50) << "";
    QTest::newRow("Button") << "Button" << client << QRect(72, 310, 111, 25) << "Replace All &Now";
}

void MainWindowTest::ControlsLieWhereTheyBelong() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    MainWindowHarness h;
    auto* widget = h.mf->findChild<QWidget*>(name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    if (qobject_cast<QLabel*>(widget) != nullptr) {
        // A label's width follows its text in the font in use.
        QCOMPARE(widget->pos(), geometry.topLeft());
        QVERIFY(widget->height() >= geometry.height());
        QCOMPARE(qobject_cast<QLabel*>(widget)->text(), text);
        return;
    }
    QCOMPARE(widget->geometry(), geometry);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QCOMPARE(button->text(), text);
    }
    if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        QCOMPARE(box->title(), text);
    }
}

void MainWindowTest::ClientAreaIsFixedBelowTheMenuBar() {
    MainWindowHarness h;
    TMF& mf = *h.mf;
    QWidget* client = mf.centralWidget();
    QCOMPARE(client->size(), QSize(273, 363));
    QCOMPARE(client->y(), mf.menuBar()->geometry().bottom() + 1);
    QCOMPARE(mf.minimumSize(), mf.maximumSize());
    QCOMPARE(mf.height(), mf.menuBar()->height() + 363);
    QVERIFY(!mf.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(mf.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(mf.acceptDrops());
    // Tab order: the list, the options toggle, the two texts, the run.
    const auto next_tab_stop = [](QWidget* widget) {
        do {
            widget = widget->nextInFocusChain();
        } while ((widget->focusPolicy() & Qt::TabFocus) == 0 || widget->focusProxy() != nullptr);
        return widget;
    };
    QCOMPARE(next_tab_stop(mf.ListBox1), static_cast<QWidget*>(mf.Button4));
    QCOMPARE(next_tab_stop(mf.Button4), static_cast<QWidget*>(mf.Edit2));
    QCOMPARE(next_tab_stop(mf.Edit2), static_cast<QWidget*>(mf.Edit3));
    QCOMPARE(next_tab_stop(mf.Edit3), static_cast<QWidget*>(mf.Button));
    QVERIFY(!mf.Button->isDefault());
    QVERIFY(!mf.Button->autoDefault());
}

void MainWindowTest::MenusCarryTheirItems() {
    MainWindowHarness h;
    TMF& mf = *h.mf;
    QCOMPARE(mf.menuBar(), mf.MainMenu1);
    QCOMPARE(mf.Help1->title(), QStringLiteral("Help"));
    QCOMPARE(mf.Help1->actions(), (QList<QAction*>{mf.VersionHistory1, mf.About1}));
    QCOMPARE(mf.VersionHistory1->text(), QStringLiteral("Version History"));
    QCOMPARE(mf.About1->text(), QStringLiteral("About..."));
    QCOMPARE(mf.PopupMenu1->actions(), (QList<QAction*>{mf.Loadfilelist1, mf.Savefilelistas1}));
    QCOMPARE(mf.Loadfilelist1->text(), QStringLiteral("Load filename list..."));
    QCOMPARE(mf.Savefilelistas1->text(), QStringLiteral("Save filename list as..."));
    QCOMPARE(mf.PopupMenu2->actions(), QList<QAction*>{mf.Files1});
    QCOMPARE(mf.Files1->text(), QStringLiteral("Add File(s)..."));
    QCOMPARE(mf.PopupMenu3->actions(), (QList<QAction*>{mf.Deleteselected1, mf.Deleteall1}));
    // Del is shown beside the item but is no shortcut of its own.
    QCOMPARE(mf.Deleteselected1->text(), QStringLiteral("Delete Selected...\tDel"));
    QVERIFY(mf.Deleteselected1->shortcut().isEmpty());
    QCOMPARE(mf.Deleteall1->text(), QStringLiteral("Delete All..."));
    QCOMPARE(mf.ListBox1->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(mf.Timer1->interval(), 255);
    QVERIFY(mf.Timer1->isActive());
}

void MainWindowTest::DialogsAreSetUpForTheirUse() {
    MainWindowHarness h;
    const korv::behaviour::MainWindow& mf = h.mf->Behaviour();
    QCOMPARE(QString::fromStdString(mf.OpenDialog1.Filter), QStringLiteral("All Files (*.*)|*.*"));
    QVERIFY(mf.OpenDialog1.FileName.empty());
    const QString lists = QStringLiteral("Filename Lists (*.list)|*.list|All Files (*.*)|*.*");
    QCOMPARE(QString::fromStdString(mf.OpenDialog2.Filter), lists);
    QCOMPARE(mf.OpenDialog2.FilterIndex, 1);
    QCOMPARE(QString::fromStdString(mf.SaveDialog1.Filter), lists);
    QCOMPARE(QString::fromStdString(mf.SaveDialog1.DefaultExt), QStringLiteral("list"));
}

void MainWindowTest::FontsFallBackToTheirKind() {
    MainWindowHarness h;
    TMF& mf = *h.mf;
    QCOMPARE(mf.font().pixelSize(), 11);
    QCOMPARE(mf.Edit2->font().pixelSize(), 11);
    const QFontMetrics memo(mf.Edit2->font());
    QCOMPARE(memo.horizontalAdvance(QLatin1Char('i')), memo.horizontalAdvance(QLatin1Char('W')));
    QCOMPARE(mf.Edit3->font(), mf.Edit2->font());
    QCOMPARE(mf.ListBox1->font().pixelSize(), 13);
    QVERIFY(mf.Button->font().bold());
    QCOMPARE(mf.Button->font().pixelSize(), 11);
    // Installed or not, the face asked for is the classic one only when
    // the system has it.
    const bool has_courier = QFontDatabase::families().contains(QStringLiteral("Courier New"));
    QCOMPARE(MemoFont().families().contains(QStringLiteral("Courier New")), has_courier);
}

void MainWindowTest::GlyphsAreDrawnOnATransparentBackground() {
    const QRgb blue = qRgb(0, 0, 255);
    const QRgb black = qRgb(0, 0, 0);
    const QImage plus = PlusGlyph();
    QCOMPARE(plus.size(), QSize(14, 14));
    QCOMPARE(qAlpha(plus.pixel(0, 13)), 0);  // the olive corner
    QCOMPARE(qAlpha(plus.pixel(2, 2)), 0);   // beside the arms
    QCOMPARE(plus.pixel(6, 6), blue);
    QCOMPARE(plus.pixel(3, 6), blue);
    QCOMPARE(plus.pixel(6, 9), blue);
    QCOMPARE(plus.pixel(2, 6), black);   // left end of the arm
    QCOMPARE(plus.pixel(10, 6), black);  // right end
    QCOMPARE(plus.pixel(6, 2), black);   // top end
    QCOMPARE(plus.pixel(6, 10), black);  // bottom end
    QCOMPARE(plus.pixel(5, 5), black);
    QCOMPARE(qAlpha(plus.pixel(11, 6)), 0);
    QCOMPARE(qAlpha(plus.pixel(6, 11)), 0);

    const QImage minus = MinusGlyph();
    QCOMPARE(minus.size(), QSize(14, 14));
    QCOMPARE(qAlpha(minus.pixel(6, 4)), 0);
    QCOMPARE(qAlpha(minus.pixel(6, 8)), 0);
    for (int x = 2; x <= 10; ++x) {
        QCOMPARE(minus.pixel(x, 5), black);
        QCOMPARE(minus.pixel(x, 7), black);
        QCOMPARE(minus.pixel(x, 6), (x == 2 || x == 10) ? black : blue);
    }

    const QImage arrow = ResultsArrow();
    QCOMPARE(arrow.size(), QSize(23, 17));
    QCOMPARE(arrow.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(arrow.pixel(5, 8), qRgb(0, 51, 204));
    QCOMPARE(arrow.pixel(1, 8), black);
}

void MainWindowTest::GlyphButtonsOpenTheirMenusAtTheMouse() {
    MainWindowHarness h;
    TMF& mf = *h.mf;
    h.DropPaths({h.dir.File("a.txt")});
    QVERIFY(mf.SpeedButton2->isEnabled());
    QCursor::setPos(mf.mapToGlobal(QPoint(20, 40)));
    QTest::mouseClick(mf.SpeedButton1, Qt::LeftButton);
    QTRY_VERIFY(mf.PopupMenu2->isVisible());
    QCOMPARE(mf.PopupMenu2->pos(), QCursor::pos());
    mf.PopupMenu2->close();
    QTest::mouseClick(mf.SpeedButton2, Qt::LeftButton);
    QTRY_VERIFY(mf.PopupMenu3->isVisible());
    QCOMPARE(mf.PopupMenu3->pos(), QCursor::pos());
    mf.PopupMenu3->close();
    QCOMPARE(mf.SpeedButton1->focusPolicy(), Qt::NoFocus);
}

void MainWindowTest::Button4ShowsAndHidesThePanel() {
    MainWindowHarness h;
    TMF& mf = *h.mf;
    QTest::mouseClick(mf.Button4, Qt::LeftButton);
    QVERIFY(h.af->isVisible());
    QCOMPARE(mf.Button4->text(), QStringLiteral("<<<<< Hide Advanced &Options"));
    QTest::mouseClick(mf.Button4, Qt::LeftButton);
    QVERIFY(!h.af->isVisible());
    QCOMPARE(mf.Button4->text(), QStringLiteral("Show Advanced &Options >>>>>"));
    // The caption is the only record of the state.
    mf.Button4->setText(QStringLiteral("something else"));
    QTest::mouseClick(mf.Button4, Qt::LeftButton);
    QVERIFY(!h.af->isVisible());
    QCOMPARE(mf.Button4->text(), QStringLiteral("Show Advanced &Options >>>>>"));
}

void MainWindowTest::TimerKeepsThePanelDocked() {
    MainWindowHarness h;
    TMF& mf = *h.mf;
    mf.move(40, 30);
    // Hidden, the panel is still placed beside the main window.
    QTRY_COMPARE(h.af->pos(), QPoint(40 + mf.frameGeometry().width(), 30 + 191));
    QCOMPARE(mf.pos(), QPoint(40, 30));

    const int screen_width = QGuiApplication::primaryScreen()->geometry().width();
    QTest::mouseClick(mf.Button4, Qt::LeftButton);
    mf.move(screen_width - mf.frameGeometry().width() - 10, 30);
    // Shown, it pushes the main window back onto the screen.
    const int want_left = screen_width - mf.frameGeometry().width() - h.af->frameGeometry().width();
    QTRY_COMPARE(mf.pos().x(), want_left);
    QTRY_COMPARE(h.af->pos(), QPoint(want_left + mf.frameGeometry().width(), 30 + 191));
}

void MainWindowTest::VersionHistoryOpensInTheEditor() {
    MainWindowHarness h;
    h.mf->VersionHistory1->trigger();
    QCOMPARE(h.editor.opened, QList<QByteArray>{QByteArray::fromStdString(h.paths.Versions)});
}

void MainWindowTest::AboutShowsAFreshBoxEachTime() {
    MainWindowHarness h;
    for (int i = 0; i < 2; ++i) {
        QPointer<TAbout> seen;
        auto closed = korv::test::WhenModalOpens<TAbout>([&seen](TAbout* about) {
            seen = about;
            about->accept();
        });
        h.mf->About1->trigger();
        QVERIFY(*closed);
        // Gone as soon as it closed.
        QVERIFY(seen.isNull());
    }
    QVERIFY(h.mf->findChildren<TAbout*>().isEmpty());
}

void MainWindowTest::ClosingWritesTheClosingLineAndEnds() {
    MainWindowHarness h;
    QSignalSpy closed(h.mf.get(), &TMF::Closed);
    QVERIFY(h.mf->close());
    QCOMPARE(closed.count(), 1);
    QVERIFY(!h.mf->isVisible());
    QCOMPARE(h.LogEvents(), (QStringList{QStringLiteral("Application Started"),
                                         QStringLiteral("Application Closed")}));
    QVERIFY(h.mf->Log() == nullptr);
}

void MainWindowTest::DeleteInAMemoLeavesTheListAlone() {
    MainWindowHarness h;
    h.DropPaths({h.dir.File("a.txt")});
    h.mf->ListBox1->selectAll();
    h.mf->Edit2->setPlainText(QStringLiteral("abc"));
    h.mf->Edit2->setFocus();
    QTextCursor cursor = h.mf->Edit2->textCursor();
    cursor.setPosition(0);
    h.mf->Edit2->setTextCursor(cursor);
    QTest::keyClick(h.mf->Edit2, Qt::Key_Delete);
    QCOMPARE(h.mf->Edit2->toPlainText(), QStringLiteral("bc"));
    QCOMPARE(h.prompter.Calls().size(), std::size_t{0});
    QCOMPARE(h.mf->ListBox1->count(), 1);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
