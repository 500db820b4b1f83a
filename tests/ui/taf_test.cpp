#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QtTest>
#include <memory>
#include <string>

#include "desktop_recorder.h"
#include "executable_dir.h"
#include "ini_file.h"
#include "opt/taf.h"
#include "temp_dir.h"

using korv::platform::EIniFileException;
using korv::platform::IniFile;
using korv::test::ReadFile;
using korv::test::TempDir;

class TafTest : public QObject {
    Q_OBJECT

private slots:
    void HasItsControlsInPlace();
    void IsABorderlessToolWindowOfItsOwn();
    void EachBoxWritesItsOwnKeyOnly_data();
    void EachBoxWritesItsOwnKeyOnly();
    void BoxSetInCodeWritesLikeAClick();
    void NothingIsWrittenWithoutASettingsFile();
    void FailedWriteReachesTheCallerAndTheBoxKeepsItsState();
    void HelpOpensThePageBesideTheProgram();
    void HelpSwallowsEveryError();
};

void TafTest::HasItsControlsInPlace() {
    TAF af;
    QCOMPARE(af.size(), QSize(181, 81));
    auto* panel = af.findChild<QFrame*>("Panel1");
    QVERIFY(panel != nullptr);
    QCOMPARE(panel->geometry(), QRect(0, 0, 181, 81));
    QCOMPARE(panel->frameShadow(), QFrame::Raised);
    QCOMPARE(panel->lineWidth(), 1);

    struct Box {
        const char* name;
        QString caption;
        QRect geometry;
        int right_limit;
    };
    const Box boxes[] = {
        {"CheckBoxCS", "Case sensitive", {8, 8, 89, 17}, 180},
        {"CheckBoxBU", "Back up changed files", {8, 32, 129, 17}, 180},
        {"CheckBoxDV", "Use dynamic variables", {8, 57, 129, 14}, 140},
    };
    QWidget* previous = nullptr;
    for (const Box& want : boxes) {
        auto* box = af.findChild<QCheckBox*>(want.name);
        QVERIFY2(box != nullptr, want.name);
        QCOMPARE(box->parentWidget(), panel);
        QCOMPARE(box->text(), want.caption);
        // At least its design size; wider only where the face needs it
        // and never into the bevel or onto "Help".
        QCOMPARE(box->pos(), want.geometry.topLeft());
        QCOMPARE(box->height(), want.geometry.height());
        QVERIFY(box->width() >= want.geometry.width());
        QVERIFY(box->width() == want.geometry.width() || box->width() <= box->sizeHint().width());
        QVERIFY(box->geometry().right() < want.right_limit);
        QVERIFY(!box->isChecked());
        QVERIFY(!box->isTristate());
        if (previous != nullptr) {
            QCOMPARE(previous->nextInFocusChain(), box);
        }
        previous = box;
    }

    auto* help = af.findChild<QLabel*>("Label1");
    QVERIFY(help != nullptr);
    QCOMPARE(help->text(), QString("Help"));
    QCOMPARE(help->geometry(), QRect(140, 58, 27, 13));
    QVERIFY(help->font().bold());
    QVERIFY(help->font().underline());
    QCOMPARE(help->cursor().shape(), Qt::WhatsThisCursor);
}

void TafTest::IsABorderlessToolWindowOfItsOwn() {
    QWidget owner;
    TAF af(&owner);
    QVERIFY(af.isWindow());
    QCOMPARE(af.windowType(), Qt::Tool);
    QVERIFY(af.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(af.windowTitle(), QString(" "));
    QVERIFY(!af.isVisible());
}

void TafTest::EachBoxWritesItsOwnKeyOnly_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("key");
    QTest::newRow("case") << "CheckBoxCS"
                          << "CS";
    QTest::newRow("backup") << "CheckBoxBU"
                            << "BU";
    QTest::newRow("variables") << "CheckBoxDV"
                               << "DV";
}

void TafTest::EachBoxWritesItsOwnKeyOnly() {
    QFETCH(QString, box);
    QFETCH(QString, key);
    TempDir dir;
    // The other keys hold values no box would write, so any write to them shows.
    const std::string before = "[Options]\nCS=odd\nBU=odd\nDV=odd\n";
    IniFile ini(dir.Write("settings.ini", before));
    TAF af;
    af.SetIniFile(&ini);
    af.show();
    QVERIFY(QTest::qWaitForWindowExposed(&af));
    auto* target = af.findChild<QCheckBox*>(box);
    QVERIFY(target != nullptr);

    std::string expected = before;
    const std::string line = key.toStdString() + "=odd";
    const auto at = expected.find(line);

    QTest::mouseClick(target, Qt::LeftButton);
    QVERIFY(target->isChecked());
    expected.replace(at, line.size(), key.toStdString() + "=True");
    QCOMPARE(ReadFile(ini.FileName()), expected);

    // The keyboard works the same way.
    target->setFocus();
    QTest::keyClick(target, Qt::Key_Space);
    QVERIFY(!target->isChecked());
    expected.replace(at, key.size() + 5, key.toStdString() + "=False");
    QCOMPARE(ReadFile(ini.FileName()), expected);
}

void TafTest::BoxSetInCodeWritesLikeAClick() {
    TempDir dir;
    IniFile ini(dir.Write("settings.ini", "[Options]\nBU=True\n"));
    TAF af;
    af.SetIniFile(&ini);
    af.CheckBoxBU->setChecked(true);
    QCOMPARE(ReadFile(ini.FileName()), std::string("[Options]\nBU=True\n"));
    af.CheckBoxDV->setChecked(true);
    QCOMPARE(ReadFile(ini.FileName()), std::string("[Options]\nBU=True\nDV=True\n"));
}

void TafTest::NothingIsWrittenWithoutASettingsFile() {
    TempDir dir;
    TAF af;
    af.CheckBoxCS->setChecked(true);
    IniFile ini(dir.File("settings.ini"));
    af.SetIniFile(&ini);
    af.SetIniFile(nullptr);
    af.CheckBoxCS->setChecked(false);
    QVERIFY(dir.Names().empty());
}

void TafTest::FailedWriteReachesTheCallerAndTheBoxKeepsItsState() {
    TempDir dir;
    const std::string path = dir.File("missing") + "/settings.ini";
    IniFile ini(path);
    TAF af;
    af.SetIniFile(&ini);
    std::string message;
    try {
        af.CheckBoxCS->setChecked(true);
    } catch (const EIniFileException& e) {
        message = e.what();
    }
    QCOMPARE(message, "Unable to write to " + path);
    QVERIFY(af.CheckBoxCS->isChecked());
}

void TafTest::HelpOpensThePageBesideTheProgram() {
    korv::test::DesktopRecorder desktop;
    TAF af;
    af.show();
    QVERIFY(QTest::qWaitForWindowExposed(&af));
    QTest::mouseClick(af.Label1, Qt::LeftButton);
    QCOMPARE(desktop.opened, std::vector<std::string>{korv::BesideExecutable("dv.html")});
    // A press that ends off the label is no click.
    QTest::mousePress(af.Label1, Qt::LeftButton);
    QTest::mouseRelease(af.Label1, Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(desktop.opened.size(), std::size_t{1});
}

void TafTest::HelpSwallowsEveryError() {
    korv::test::DesktopRecorder failing_desktop(true);
    TAF af;
    af.Label1Click();
    QCOMPARE(failing_desktop.opened.size(), std::size_t{1});
}

QTEST_MAIN(TafTest)
#include "taf_test.moc"
