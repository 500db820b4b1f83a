#include "qt_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "dialog_text.h"

namespace korv::platform {

namespace {

enum class DialogKind { OpenMany, OpenOne, Save };

QMessageBox::StandardButton ShowBox(QMessageBox::Icon icon, const QString& text,
                                    const QString& caption, QMessageBox::StandardButtons buttons,
                                    QWidget* parent) {
    QMessageBox box(icon, caption, MessageBoxText(text), buttons, parent);
    box.setWindowModality(Qt::ApplicationModal);
    if (buttons.testFlag(QMessageBox::No)) {
        // Closing the box is an answer other than Yes.
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

FileChoice ShowFileDialog(const FileDialogSpec& request, DialogKind kind) {
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(kind == DialogKind::Save ? QStringLiteral("Save As")
                                                   : QStringLiteral("Open"));
    dialog.setAcceptMode(kind == DialogKind::Save ? QFileDialog::AcceptSave
                                                  : QFileDialog::AcceptOpen);
    dialog.setFileMode(kind == DialogKind::OpenMany  ? QFileDialog::ExistingFiles
                       : kind == DialogKind::OpenOne ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = QtNameFilters(request.Filter);
    dialog.setNameFilters(filters);
    if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size()) {
        dialog.selectNameFilter(filters[request.FilterIndex - 1]);
    }
    if (!request.DefaultExt.isEmpty()) {
        dialog.setDefaultSuffix(request.DefaultExt);
    }
    if (!request.FileName.isEmpty()) {
        dialog.selectFile(request.FileName);
    }
    FileChoice choice;
    choice.FilterIndex = request.FilterIndex;
    if (dialog.exec() != QDialog::Accepted) {
        return choice;
    }
    choice.Files = dialog.selectedFiles();
    // With the patterns hidden the dialog reports the description alone.
    const QString selected = dialog.selectedNameFilter();
    const QStringList descriptions = FilterDescriptions(request.Filter);
    for (qsizetype i = 0; i < filters.size(); ++i) {
        if (selected == filters[i] || (i < descriptions.size() && selected == descriptions[i])) {
            choice.FilterIndex = static_cast<int>(i) + 1;
            break;
        }
    }
    return choice;
}

}  // namespace

bool QtPrompter::Ask(const QString& text, const QString& caption) {
    return ShowBox(QMessageBox::Question, text, caption, QMessageBox::Yes | QMessageBox::No,
                   QApplication::activeWindow()) == QMessageBox::Yes;
}

void QtPrompter::Error(const QString& text, const QString& caption) {
    ShowBox(QMessageBox::Critical, text, caption, QMessageBox::Ok, QApplication::activeWindow());
}

void QtPrompter::Message(const QString& text, const QString& caption) {
    // No owner window: the box is centred on the screen.
    ShowBox(QMessageBox::NoIcon, text, caption, QMessageBox::Ok, nullptr);
}

FileChoice QtPrompter::GetOpenFileNames(const FileDialogSpec& dialog) {
    return ShowFileDialog(dialog, DialogKind::OpenMany);
}

FileChoice QtPrompter::GetOpenFileName(const FileDialogSpec& dialog) {
    return ShowFileDialog(dialog, DialogKind::OpenOne);
}

FileChoice QtPrompter::GetSaveFileName(const FileDialogSpec& dialog) {
    return ShowFileDialog(dialog, DialogKind::Save);
}

}  // namespace korv::platform
