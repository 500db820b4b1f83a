// The main window's first show on a real settings file: a stored option
// checks its box, and a failed write-back is reported while the window
// still shows.

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

using korv::test::MainWindowHarness;
using korv::test::ReadFile;
using korv::test::WriteFile;
using Kind = korv::test::ScriptedPrompter::Kind;

namespace {

// Fails the file layer's calls named.
class FilePlan final : public korv::FileFaultPlan {
public:
    explicit FilePlan(std::vector<korv::FileCall> failing = {}) : failing_(std::move(failing)) {
        korv::SetFileFaultPlan(this);
    }
    ~FilePlan() override { korv::SetFileFaultPlan(nullptr); }
    FilePlan(const FilePlan&) = delete;
    FilePlan& operator=(const FilePlan&) = delete;

    int Check(korv::FileCall operation, const korv::FileCallDetail&) override {
        for (const korv::FileCall failing : failing_) {
            if (failing == operation) {
                return EIO;
            }
        }
        return 0;
    }

private:
    std::vector<korv::FileCall> failing_;
};

}  // namespace

class FormShowTest : public QObject {
    Q_OBJECT

private slots:
    void AStoredOptionChecksItsBoxAndTheFileKeepsIt();
    void AFailedWriteBackIsShownAndTheWindowShownAllTheSame();
};

void FormShowTest::AStoredOptionChecksItsBoxAndTheFileKeepsIt() {
    MainWindowHarness h(false);
    const std::string settings = "[Options]\r\nBU=True\r\n";
    WriteFile(h.paths.Settings, settings);
    h.Show();
    QVERIFY(!h.af->CheckBoxCS->isChecked());
    QVERIFY(h.af->CheckBoxBU->isChecked());
    QVERIFY(!h.af->CheckBoxDV->isChecked());
    // Written back with the same value: the file means the same.
    QCOMPARE(ReadFile(h.paths.Settings), settings);
    QCOMPARE(h.ShownEntries(), QStringList{QStringLiteral("No files added")});
    QCOMPARE(h.prompter.Calls().size(), std::size_t{0});
}

void FormShowTest::AFailedWriteBackIsShownAndTheWindowShownAllTheSame() {
    MainWindowHarness h(false);
    WriteFile(h.paths.Settings, "[Options]\r\nCS=True\r\nBU=True\r\nDV=True\r\n");
    {
        FilePlan plan({korv::FileCall::kWrite});
        h.Show();
    }
    const auto errors = h.prompter.Of(Kind::Error);
    QCOMPARE(errors.size(), std::size_t{1});
    QCOMPARE(errors[0].text, QStringLiteral("Unable to write to ") +
                                 QString::fromStdString(h.paths.Settings) + QLatin1Char('.'));
    QCOMPARE(errors[0].caption, QStringLiteral("Korvane"));
    QVERIFY(h.af->CheckBoxCS->isChecked());
    // Shown all the same, with no entry at all and both buttons on.
    QVERIFY(h.mf->isVisible());
    QCOMPARE(h.mf->ListBox1->count(), 0);
    QVERIFY(h.mf->Button->isEnabled());
    QVERIFY(h.mf->SpeedButton2->isEnabled());
}

QTEST_MAIN(FormShowTest)
#include "form_show_test.moc"
