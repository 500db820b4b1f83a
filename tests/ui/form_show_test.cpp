// The main window's first show: the options read from the settings file,
// the ones found on written back, and a failed write cutting the show short.

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <cerrno>
#include <string>
#include <vector>

#include "file_fault.h"
#include "main_window_harness.h"

using korv::test::FileExists;
using korv::test::MainWindowHarness;
using korv::test::ReadFile;
using korv::test::WriteFile;
using Kind = korv::test::ScriptedPrompter::Kind;

namespace {

// Records the file layer's calls and fails the ones named.
class FilePlan final : public korv::FileFaultPlan {
public:
    explicit FilePlan(std::vector<std::string> failing = {}) : failing_(std::move(failing)) {
        korv::SetFileFaultPlan(this);
    }
    ~FilePlan() override { korv::SetFileFaultPlan(nullptr); }
    FilePlan(const FilePlan&) = delete;
    FilePlan& operator=(const FilePlan&) = delete;

    int Check(const char* operation) override {
        calls.emplace_back(operation);
        for (const std::string& failing : failing_) {
            if (failing == operation) {
                return EIO;
            }
        }
        return 0;
    }

    [[nodiscard]] bool Wrote() const {
        for (const std::string& call : calls) {
            if (call == "write") {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> calls;

private:
    std::vector<std::string> failing_;
};

}  // namespace

class FormShowTest : public QObject {
    Q_OBJECT

private slots:
    void OnlyTrueChecksABox_data();
    void OnlyTrueChecksABox();
    void AMissingFileStaysMissing();
    void AFailedWriteBackCutsTheShowShort();
    void BoxesWriteToTheSettingsFileAfterwards();
};

void FormShowTest::OnlyTrueChecksABox_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("cs");
    QTest::addColumn<bool>("bu");
    QTest::addColumn<bool>("dv");
    QTest::newRow("lower case") << QByteArray("[Options]\r\nCS=true\r\n") << false << false
                                << false;
    QTest::newRow("capitals") << QByteArray("[Options]\r\nCS=TRUE\r\n") << false << false << false;
    QTest::newRow("one") << QByteArray("[Options]\r\nCS=1\r\n") << false << false << false;
    QTest::newRow("False") << QByteArray("[Options]\r\nCS=False\r\n") << false << false << false;
    QTest::newRow("other section")
        << QByteArray("[Other]\r\nCS=True\r\n") << false << false << false;
    QTest::newRow("BU alone") << QByteArray("[Options]\r\nBU=True\r\n") << false << true << false;
    QTest::newRow("all three") << QByteArray("[Options]\r\nDV=True\r\nCS=True\r\nBU=True\r\n")
                               << true << true << true;
}

void FormShowTest::OnlyTrueChecksABox() {
    QFETCH(QByteArray, settings);
    QFETCH(bool, cs);
    QFETCH(bool, bu);
    QFETCH(bool, dv);
    MainWindowHarness h(false);
    WriteFile(h.paths.Settings, settings.toStdString());
    std::vector<std::string> calls;
    {
        FilePlan plan;
        h.Show();
        calls = plan.calls;
        // Every box found on is written back, and only then.
        QCOMPARE(plan.Wrote(), cs || bu || dv);
    }
    QCOMPARE(h.af->CheckBoxCS->isChecked(), cs);
    QCOMPARE(h.af->CheckBoxBU->isChecked(), bu);
    QCOMPARE(h.af->CheckBoxDV->isChecked(), dv);
    // Written back with the same values: the file means the same.
    const std::string after = ReadFile(h.paths.Settings);
    QCOMPARE(after, settings.toStdString());
    QCOMPARE(h.ShownEntries(), QStringList{QStringLiteral("No files added")});
    QCOMPARE(h.prompter.Calls().size(), std::size_t{0});
}

void FormShowTest::AMissingFileStaysMissing() {
    MainWindowHarness h;
    QVERIFY(!FileExists(h.paths.Settings));
    QVERIFY(!h.af->CheckBoxCS->isChecked());
    QVERIFY(!h.af->CheckBoxBU->isChecked());
    QVERIFY(!h.af->CheckBoxDV->isChecked());
}

void FormShowTest::AFailedWriteBackCutsTheShowShort() {
    MainWindowHarness h(false);
    WriteFile(h.paths.Settings, "[Options]\r\nCS=True\r\nBU=True\r\nDV=True\r\n");
    {
        FilePlan plan({"write"});
        h.Show();
    }
    const auto errors = h.prompter.Of(Kind::Error);
    QCOMPARE(errors.size(), std::size_t{1});
    QCOMPARE(errors[0].text, QStringLiteral("Unable to write to ") +
                                 QString::fromStdString(h.paths.Settings) + QLatin1Char('.'));
    QCOMPARE(errors[0].caption, QStringLiteral("Korvane"));
    // The box keeps its state; the keys after it are not read.
    QVERIFY(h.af->CheckBoxCS->isChecked());
    QVERIFY(!h.af->CheckBoxBU->isChecked());
    QVERIFY(!h.af->CheckBoxDV->isChecked());
    // Shown all the same, with no entry at all and both buttons on.
    QVERIFY(h.mf->isVisible());
    QCOMPARE(h.mf->ListBox1->count(), 0);
    QVERIFY(h.mf->Button->isEnabled());
    QVERIFY(h.mf->SpeedButton2->isEnabled());
}

void FormShowTest::BoxesWriteToTheSettingsFileAfterwards() {
    MainWindowHarness h;
    QTest::mouseClick(h.mf->Button4, Qt::LeftButton);
    QTest::mouseClick(h.af->CheckBoxBU, Qt::LeftButton);
    QCOMPARE(ReadFile(h.paths.Settings), std::string("[Options]\nBU=True\n"));
}

QTEST_MAIN(FormShowTest)
#include "form_show_test.moc"
