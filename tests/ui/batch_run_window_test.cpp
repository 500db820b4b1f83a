// A batch run started from "Replace All Now": the window's side of it.

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <optional>

#include "batch_run.h"
#include "main_window_harness.h"
#include "results/trf.h"

using korv::test::FileExists;
using korv::test::MainWindowHarness;
using korv::test::ReadFile;
using Kind = korv::test::ScriptedPrompter::Kind;

namespace {

bool BusyCursor() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

QString Q(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size()));
}

// What the results dialog showed when it opened.
struct ResultsSeen {
    QString searched;
    QString replaced;
    int searched_right_gap = -1;
    int replaced_right_gap = -1;
    bool busy = false;
};

// Answers the next results dialog with OK and records what it showed.
std::shared_ptr<std::optional<ResultsSeen>> CloseResultsWithOk() {
    auto seen = std::make_shared<std::optional<ResultsSeen>>();
    korv::test::WhenModalOpens<TRF>([seen](TRF* results) {
        ResultsSeen s;
        s.searched = results->Label3->text();
        s.replaced = results->Label4->text();
        s.searched_right_gap = results->width() - results->Label3->geometry().right() - 1;
        s.replaced_right_gap = results->width() - results->Label4->geometry().right() - 1;
        s.busy = BusyCursor();
        *seen = s;
        results->Button2->click();
    });
    return seen;
}

}  // namespace

class BatchRunWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void ConfirmationNoChangesNothing();
    void WholeRunFromTheButton();
    void MemoLineBreaksReachTheRunAsCrLf();
    void TextsAreCheckedOnce_data();
    void TextsAreCheckedOnce();
    void OptionsAreReadFromThePanel_data();
    void OptionsAreReadFromThePanel();
    void SecondRunCannotStartWhileOneRuns();
    void AnUndoJournalThatCannotBeKeptIsAskedAbout();
    // Last: the results watcher it leaves waiting would take another's.
    void ClosingDuringARunEndsItAfterTheCurrentFile();

private:
    std::unique_ptr<MainWindowHarness> h_;
    MainWindowHarness& Start() {
        h_ = std::make_unique<MainWindowHarness>();
        return *h_;
    }
};

void BatchRunWindowTest::cleanup() {
    if (h_) {
        QCOMPARE(h_->prompter.Unexpected(), 0);
        QCOMPARE(h_->prompter.Unused(), std::size_t{0});
    }
    h_.reset();
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void BatchRunWindowTest::ConfirmationNoChangesNothing() {
    MainWindowHarness& h = Start();
    const std::string file = h.dir.Write("a.txt", "foo\r\n");
    h.DropPaths({file});
    h.mf->Edit2->setPlainText(QStringLiteral("foo"));
    h.mf->Edit3->setPlainText(QStringLiteral("bar"));
    bool busy_while_asked = true;
    h.prompter.Observe([&](const auto&) { busy_while_asked = BusyCursor(); });
    h.prompter.AnswerAsk(false);
    h.mf->Button->click();

    const auto asks = h.prompter.Of(Kind::Ask);
    QCOMPARE(asks.size(), std::size_t{1});
    QCOMPARE(asks[0].text, QString::fromLatin1(korv::kConfirmationText));
    QVERIFY(asks[0].text.contains(QStringLiteral(").\rA binary")));
    QCOMPARE(asks[0].caption, QStringLiteral("Confirmation"));
    QVERIFY(!busy_while_asked);
    QCOMPARE(h.prompter.Calls().size(), std::size_t{1});
    QCOMPARE(ReadFile(file), std::string("foo\r\n"));
    QCOMPARE(h.LogEvents(), QStringList{QStringLiteral("Application Started")});
    QVERIFY(!h.mf->Running());
}

void BatchRunWindowTest::WholeRunFromTheButton() {
    MainWindowHarness& h = Start();
    const std::string a = h.dir.Write("a.txt", "foo and foo\n");
    const std::string b = h.dir.Write("b.txt", "nothing here\n");
    const std::string missing = h.dir.File("missing.txt");
    const std::string latin = h.dir.Write("caf\xe9.txt", "FOO foo\r\n");
    h.DropPaths({a, b, missing, latin});
    h.mf->ListBox1->clearSelection();
    h.mf->ListBox1->item(2)->setSelected(true);
    h.mf->Edit2->setPlainText(QStringLiteral("foo"));
    h.mf->Edit3->setPlainText(QStringLiteral("bar"));

    struct Seen {
        int current;
        bool visible;
        bool busy;
    };
    std::vector<Seen> during_messages;
    h.prompter.Observe([&](const korv::test::ScriptedPrompter::Call& call) {
        if (call.kind == Kind::Message) {
            QListWidget* list = h.mf->ListBox1;
            const int current = h.mf->Files().Current();
            during_messages.push_back(
                {current,
                 list->viewport()->rect().contains(list->visualItemRect(list->item(current))),
                 BusyCursor()});
        }
    });
    h.prompter.AnswerAsk(true);
    auto results = CloseResultsWithOk();
    h.mf->Button->click();

    // The missing file had its own message, the rest went on.
    const auto messages = h.prompter.Of(Kind::Message);
    QCOMPARE(messages.size(), std::size_t{1});
    QCOMPARE(messages[0].text, QStringLiteral("Cannot open file ") + Q(missing) + ".");
    QCOMPARE(messages[0].caption, QStringLiteral("Korvane"));
    QCOMPARE(during_messages.size(), std::size_t{1});
    QCOMPARE(during_messages[0].current, 2);
    QVERIFY(during_messages[0].visible);
    QVERIFY(during_messages[0].busy);

    QVERIFY(results->has_value());
    const ResultsSeen& shown = **results;
    QCOMPARE(shown.searched, QStringLiteral("4"));
    QCOMPARE(shown.replaced, QStringLiteral("2"));
    QCOMPARE(shown.searched_right_gap, 18);
    QCOMPARE(shown.replaced_right_gap, 18);
    QVERIFY(shown.busy);

    // On Linux a changed file keeps its line breaks.
    QCOMPARE(ReadFile(a), std::string("bar and bar\n"));
    QCOMPARE(ReadFile(b), std::string("nothing here\n"));
    QCOMPARE(ReadFile(latin), std::string("bar bar\r\n"));
    QVERIFY(!FileExists(a + ".bak"));
    QCOMPARE(h.mf->Files().Current(), 0);
    QCOMPARE(h.mf->ListBox1->selectedItems().size(), 1);
    QVERIFY(h.mf->ListBox1->item(2)->isSelected());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE(h.LogEvents(), (QStringList{QStringLiteral("Application Started"),
                                         "foo found in " + Q(a) + " and replaced to bar",
                                         "foo found in " + Q(latin) + " and replaced to bar"}));
    // The log names the entry's exact bytes.
    QVERIFY(ReadFile(h.paths.Log).find(latin) != std::string::npos);
}

void BatchRunWindowTest::MemoLineBreaksReachTheRunAsCrLf() {
    MainWindowHarness& h = Start();
    const std::string file = h.dir.Write("a.txt", "x one\ntwo y\n\xc2\xa0z\n");
    h.DropPaths({file});
    h.mf->Edit2->setPlainText(QStringLiteral("one\ntwo"));
    h.mf->Edit3->setPlainText(QStringLiteral("1\n2\n"));
    h.prompter.AnswerAsk(true);
    auto results = CloseResultsWithOk();
    h.mf->Button->click();
    QVERIFY(results->has_value());
    // They match the file's LF breaks, and are written as its LF.
    QCOMPARE(ReadFile(file), std::string("x 1\n2\n y\n\xc2\xa0z\n"));

    // A no-break space in a memo stays one.
    h.mf->Edit2->setPlainText(QString(QChar(0xa0)) + "z");
    h.mf->Edit3->setPlainText(QStringLiteral("w"));
    h.prompter.AnswerAsk(true);
    results = CloseResultsWithOk();
    h.mf->Button->click();
    QCOMPARE((*results)->replaced, QStringLiteral("1"));
    QCOMPARE(ReadFile(file), std::string("x 1\n2\n y\nw\n"));
}

void BatchRunWindowTest::TextsAreCheckedOnce_data() {
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("error");
    QTest::newRow("both blank") << ""
                                << ""
                                << "Find text can't be blank!";
    QTest::newRow("blank find") << ""
                                << "x"
                                << "Find text can't be blank!";
    QTest::newRow("same texts") << "a\nb"
                                << "a\nb"
                                << "Find and replace texts can't be the same!";
}

void BatchRunWindowTest::TextsAreCheckedOnce() {
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(QString, error);
    MainWindowHarness& h = Start();
    const std::string file = h.dir.Write("a.txt", "a\r\nb\r\n");
    h.DropPaths({file});
    h.mf->Edit2->setPlainText(find);
    h.mf->Edit3->setPlainText(replacement);
    bool busy_at_error = false;
    h.prompter.Observe([&](const korv::test::ScriptedPrompter::Call& call) {
        if (call.kind == Kind::Error) {
            busy_at_error = BusyCursor();
        }
    });
    h.prompter.AnswerAsk(true);
    h.mf->Button->click();
    const auto errors = h.prompter.Of(Kind::Error);
    QCOMPARE(errors.size(), std::size_t{1});
    QCOMPARE(errors[0].text, error);
    QCOMPARE(errors[0].caption, QStringLiteral("Error"));
    QVERIFY(busy_at_error);
    QCOMPARE(ReadFile(file), std::string("a\r\nb\r\n"));
}

void BatchRunWindowTest::OptionsAreReadFromThePanel_data() {
    QTest::addColumn<bool>("case_sensitive");
    QTest::addColumn<bool>("back_up");
    QTest::addColumn<bool>("variables");
    QTest::addColumn<QString>("find");
    QTest::addColumn<std::string>("result");
    // The file a.txt holds "Foo foo a $file".
    QTest::newRow("none") << false << false << false << "foo" << std::string("X X a $file\r\n");
    QTest::newRow("case") << true << false << false << "foo" << std::string("Foo X a $file\r\n");
    QTest::newRow("backup") << false << true << false << "foo" << std::string("X X a $file\r\n");
    QTest::newRow("no variables") << false << false << false << "$file"
                                  << std::string("Foo foo a X\r\n");
    QTest::newRow("variables") << false << false << true << "$file"
                               << std::string("Foo foo X $file\r\n");
}

void BatchRunWindowTest::OptionsAreReadFromThePanel() {
    QFETCH(bool, case_sensitive);
    QFETCH(bool, back_up);
    QFETCH(bool, variables);
    QFETCH(QString, find);
    QFETCH(std::string, result);
    MainWindowHarness& h = Start();
    const std::string original = "Foo foo a $file\r\n";
    const std::string file = h.dir.Write("a.txt", original);
    h.DropPaths({file});
    h.af->CheckBoxCS->setChecked(case_sensitive);
    h.af->CheckBoxBU->setChecked(back_up);
    h.af->CheckBoxDV->setChecked(variables);
    h.mf->Edit2->setPlainText(find);
    h.mf->Edit3->setPlainText(QStringLiteral("X"));
    h.prompter.AnswerAsk(true);
    auto results = CloseResultsWithOk();
    h.mf->Button->click();
    QVERIFY(results->has_value());
    QCOMPARE(ReadFile(file), result);
    QCOMPARE(FileExists(file + ".bak"), back_up);
    if (back_up) {
        QCOMPARE(ReadFile(file + ".bak"), original);
    }
}

void BatchRunWindowTest::SecondRunCannotStartWhileOneRuns() {
    MainWindowHarness& h = Start();
    const std::string file = h.dir.Write("a.txt", std::string(5000, 'x') + "\r\n");
    h.DropPaths({file});
    h.mf->Edit2->setPlainText(QStringLiteral("x"));
    h.mf->Edit3->setPlainText(QStringLiteral("xy"));
    std::optional<bool> running_when_pressed;
    // Pressed again from within the run: the first event handled in it.
    QTimer::singleShot(0, h.mf.get(), [&] {
        running_when_pressed = h.mf->Running();
        h.mf->Button->click();
    });
    h.prompter.AnswerAsk(true);
    auto results = CloseResultsWithOk();
    h.mf->Button->click();

    QCOMPARE(running_when_pressed, std::optional<bool>(true));
    // One confirmation, one results dialog, and every x doubled only once.
    QCOMPARE(h.prompter.Of(Kind::Ask).size(), std::size_t{1});
    QVERIFY(results->has_value());
    QCOMPARE((*results)->replaced, QStringLiteral("1"));
    std::string want;
    for (int i = 0; i < 5000; ++i) {
        want += "xy";
    }
    QCOMPARE(ReadFile(file), want + "\r\n");
    QVERIFY(!h.mf->Running());
}

void BatchRunWindowTest::AnUndoJournalThatCannotBeKeptIsAskedAbout() {
    MainWindowHarness& h = Start();
    const std::string file = h.dir.Write("a.txt", "foo\r\n");
    // A file where the journal's folder would be.
    h.dir.Write("undo", "");
    h.DropPaths({file});
    h.mf->Edit2->setPlainText(QStringLiteral("foo"));
    h.mf->Edit3->setPlainText(QStringLiteral("bar"));
    h.prompter.AnswerAsk(true);   // the confirmation
    h.prompter.AnswerAsk(false);  // without undo?
    h.mf->Button->click();
    const auto asks = h.prompter.Of(Kind::Ask);
    QCOMPARE(asks.size(), std::size_t{2});
    QVERIFY2(asks[1].text.contains(QString::fromStdString(h.paths.UndoFolder)),
             qPrintable(asks[1].text));
    QCOMPARE(asks[1].caption, QStringLiteral("Confirmation"));
    QCOMPARE(ReadFile(file), std::string("foo\r\n"));
    QVERIFY(!h.mf->Running());

    // Yes runs on without the journal.
    h.prompter.AnswerAsk(true);
    h.prompter.AnswerAsk(true);
    auto results = CloseResultsWithOk();
    h.mf->Button->click();
    QVERIFY(results->has_value());
    QCOMPARE(ReadFile(file), std::string("bar\r\n"));
}

void BatchRunWindowTest::ClosingDuringARunEndsItAfterTheCurrentFile() {
    MainWindowHarness& h = Start();
    const std::string first = h.dir.Write("first.txt", std::string(3000, 'x') + "\r\n");
    const std::string second = h.dir.Write("second.txt", "x\r\n");
    h.DropPaths({first, second});
    h.mf->Edit2->setPlainText(QStringLiteral("x"));
    h.mf->Edit3->setPlainText(QStringLiteral("y"));
    QSignalSpy closed(h.mf.get(), &TMF::Closed);
    std::optional<bool> close_refused;
    QTimer::singleShot(0, h.mf.get(), [&] { close_refused = !h.mf->close(); });
    bool results_shown = false;
    auto results = korv::test::WhenModalOpens<TRF>([&](TRF* dialog) {
        results_shown = true;
        dialog->close();
    });
    h.prompter.AnswerAsk(true);
    h.mf->Button->click();

    QCOMPARE(close_refused, std::optional<bool>(true));
    QCOMPARE(ReadFile(first), std::string(3000, 'y') + "\r\n");
    QCOMPARE(ReadFile(second), std::string("x\r\n"));
    QTRY_COMPARE(closed.count(), 1);
    QVERIFY(!h.mf->isVisible());
    QVERIFY(!results_shown);
    QCOMPARE(h.LogEvents(), (QStringList{QStringLiteral("Application Started"),
                                         "x found in " + Q(first) + " and replaced to y",
                                         QStringLiteral("Application Closed")}));
}

QTEST_MAIN(BatchRunWindowTest)
#include "batch_run_window_test.moc"
