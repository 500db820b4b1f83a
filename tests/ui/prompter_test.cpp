// The program's message boxes and file dialogs on Qt.

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "dialog_text.h"
#include "main_window_harness.h"
#include "qt_prompter.h"
#include "temp_dir.h"

using korv::behaviour::FileDialogSetup;
using korv::platform::QtPrompter;
using korv::test::WhenModalOpens;

namespace {

// The files chosen, as the dialog names them.
QStringList Names(const korv::behaviour::FileChoice& choice) {
    QStringList names;
    for (const std::string& file : choice.Files) {
        names << QString::fromStdString(file);
    }
    return names;
}

struct BoxSeen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
};

// Records the next message box and closes it with `answer`, or with Esc.
std::shared_ptr<BoxSeen> AnswerBox(std::optional<QMessageBox::StandardButton> answer) {
    auto seen = std::make_shared<BoxSeen>();
    WhenModalOpens<QMessageBox>([seen, answer](QMessageBox* box) {
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            seen->buttons << box->standardButton(button);
        }
        if (answer) {
            box->button(*answer)->click();
        } else {
            QTest::keyClick(box, Qt::Key_Escape);
        }
    });
    return seen;
}

// Types `names` into the dialog's file name field, as a user does, and
// presses its accept button. (selectFile() leaves the field alone while it
// has the focus, so it cannot stand for typing.) Returns false, and closes
// the dialog, when the dialog refused the names and stayed open.
bool EnterFileNames(QFileDialog* dialog, const QString& names) {
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (field == nullptr) {
        dialog->reject();
        return false;
    }
    field->setText(names);
    static_cast<QDialog*>(dialog)->accept();
    if (dialog->isVisible()) {
        dialog->reject();
        return false;
    }
    return true;
}

}  // namespace

class PrompterTest : public QObject {
    Q_OBJECT

private slots:
    void LoneCarriageReturnsBreakLines();
    void FiltersKeepTheirDescriptions();
    void AskIsAnsweredOnlyByYes_data();
    void AskIsAnsweredOnlyByYes();
    void ErrorAndMessageHaveOneButton();
    void OpenDialogOffersItsFiltersAndFileName();
    void SaveDialogAddsTheDefaultExtensionAndNeverAsks();
};

void PrompterTest::LoneCarriageReturnsBreakLines() {
    using korv::platform::MessageBoxText;
    QCOMPARE(MessageBoxText(QStringLiteral("one.\rtwo.")), QStringLiteral("one.\ntwo."));
    QCOMPARE(MessageBoxText(QStringLiteral("a\r\nb\nc")), QStringLiteral("a\nb\nc"));
    QCOMPARE(MessageBoxText(QStringLiteral("plain")), QStringLiteral("plain"));
}

void PrompterTest::FiltersKeepTheirDescriptions() {
    using korv::platform::QtNameFilters;
    QCOMPARE(QtNameFilters(QStringLiteral("All Files (*.*)|*.*")),
             QStringList{QStringLiteral("All Files (*.*) (*)")});
    QCOMPARE(QtNameFilters(QStringLiteral("Filename Lists (*.list)|*.list|All Files (*.*)|*.*")),
             (QStringList{QStringLiteral("Filename Lists (*.list) (*.list)"),
                          QStringLiteral("All Files (*.*) (*)")}));
    QCOMPARE(QtNameFilters(QStringLiteral("Texts|*.txt;*.htm")),
             QStringList{QStringLiteral("Texts (*.txt *.htm)")});
}

void PrompterTest::AskIsAnsweredOnlyByYes_data() {
    QTest::addColumn<int>("answer");  // -1: Esc
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("No") << int(QMessageBox::No) << false;
    QTest::newRow("Esc") << -1 << false;
}

void PrompterTest::AskIsAnsweredOnlyByYes() {
    QFETCH(int, answer);
    QFETCH(bool, yes);
    QtPrompter prompter;
    auto seen =
        AnswerBox(answer < 0 ? std::nullopt : std::optional(QMessageBox::StandardButton(answer)));
    QCOMPARE(prompter.Ask("First sentence.\rSecond sentence.", "Confirmation"), yes);
    QCOMPARE(seen->title, QStringLiteral("Confirmation"));
    QCOMPARE(seen->text, QStringLiteral("First sentence.\nSecond sentence."));
    QCOMPARE(seen->icon, QMessageBox::Question);
    QCOMPARE(seen->buttons.size(), 2);
    QVERIFY(seen->buttons.contains(QMessageBox::Yes));
    QVERIFY(seen->buttons.contains(QMessageBox::No));
}

void PrompterTest::ErrorAndMessageHaveOneButton() {
    QtPrompter prompter;
    auto error = AnswerBox(QMessageBox::Ok);
    prompter.Error("Find text can't be blank!", "Error");
    QCOMPARE(error->title, QStringLiteral("Error"));
    QCOMPARE(error->icon, QMessageBox::Critical);
    QCOMPARE(error->buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});

    auto message = AnswerBox(QMessageBox::Ok);
    prompter.Message("Cannot open file /a.txt.", "Korvane");
    QCOMPARE(message->title, QStringLiteral("Korvane"));
    QCOMPARE(message->text, QStringLiteral("Cannot open file /a.txt."));
    QCOMPARE(message->icon, QMessageBox::NoIcon);
    QCOMPARE(message->buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

void PrompterTest::OpenDialogOffersItsFiltersAndFileName() {
    korv::test::TempDir dir;
    const QString a = QString::fromStdString(dir.Write("a.txt", "a"));
    const QString b = QString::fromStdString(dir.Write("b", "b"));
    QtPrompter prompter;
    FileDialogSetup dialog;
    dialog.Filter = "Filename Lists (*.list)|*.list|All Files (*.*)|*.*";
    dialog.FilterIndex = 2;
    dialog.FileName = a.toStdString();
    QStringList filters;
    QString selected_filter;
    QStringList preselected;
    bool details_hidden = false;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    bool accepted = false;
    WhenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
        filters = dialog->nameFilters();
        selected_filter = dialog->selectedNameFilter();
        preselected = dialog->selectedFiles();
        details_hidden = dialog->testOption(QFileDialog::HideNameFilterDetails);
        mode = dialog->fileMode();
        // A name without a dot is listed under "All Files (*.*)".
        accepted = EnterFileNames(dialog, QStringLiteral("\"a.txt\" \"b\""));
    });
    const auto choice = prompter.GetOpenFileNames(dialog);
    QVERIFY(accepted);
    QCOMPARE(filters.size(), 2);
    QCOMPARE(selected_filter, QStringLiteral("All Files (*.*)"));
    QCOMPARE(preselected, QStringList{a});
    QVERIFY(details_hidden);
    QCOMPARE(mode, QFileDialog::ExistingFiles);
    QCOMPARE(Names(choice), (QStringList{a, b}));
    QCOMPARE(choice.FilterIndex, 2);

    // The filter chosen is reported back.
    WhenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectNameFilter(dialog->nameFilters().first());
        accepted = EnterFileNames(dialog, a);
    });
    const auto one = prompter.GetOpenFileName(dialog);
    QVERIFY(accepted);
    QCOMPARE(Names(one), QStringList{a});
    QCOMPARE(one.FilterIndex, 1);

    WhenModalOpens<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QVERIFY(prompter.GetOpenFileName(dialog).Cancelled());
}

void PrompterTest::SaveDialogAddsTheDefaultExtensionAndNeverAsks() {
    korv::test::TempDir dir;
    dir.Write("old.list", "old");
    QtPrompter prompter;
    FileDialogSetup dialog;
    dialog.Filter = "Filename Lists (*.list)|*.list|All Files (*.*)|*.*";
    dialog.DefaultExt = "list";
    const QString folder = QString::fromStdString(dir.Path());
    bool accepted = false;
    WhenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
        dialog->setDirectory(folder);
        accepted = EnterFileNames(dialog, QStringLiteral("new"));
    });
    QCOMPARE(Names(prompter.GetSaveFileName(dialog)), QStringList{folder + "/new.list"});
    QVERIFY(accepted);
    // An existing file is chosen without a question.
    accepted = false;
    WhenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
        dialog->setDirectory(folder);
        accepted = EnterFileNames(dialog, QStringLiteral("old.list"));
    });
    QCOMPARE(Names(prompter.GetSaveFileName(dialog)), QStringList{folder + "/old.list"});
    QVERIFY(accepted);
}

QTEST_MAIN(PrompterTest)
#include "prompter_test.moc"
