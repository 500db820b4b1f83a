#include "qt_prompter.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "dialog_text.h"

namespace korv::platform {

namespace {

enum class DialogKind { OpenMany, OpenOne, Save };

QString Shown(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QString ShownFileName(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string PathBytes(const QString& file_name) {
    return QFile::encodeName(file_name).toStdString();
}

QMessageBox::StandardButton ShowBox(QMessageBox::Icon icon, const std::string& text,
                                    const std::string& caption,
                                    QMessageBox::StandardButtons buttons, QWidget* parent) {
    QMessageBox box(icon, Shown(caption), MessageBoxText(Shown(text)), buttons, parent);
    box.setWindowModality(Qt::ApplicationModal);
    if (buttons.testFlag(QMessageBox::No)) {
        // Closing the box is an answer other than Yes.
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

FileChoice ShowFileDialog(const FileDialogSetup& request, DialogKind kind) {
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
    const QString filter = Shown(request.Filter);
    const QStringList filters = QtNameFilters(filter);
    dialog.setNameFilters(filters);
    if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size()) {
        dialog.selectNameFilter(filters[request.FilterIndex - 1]);
    }
    if (!request.DefaultExt.empty()) {
        dialog.setDefaultSuffix(Shown(request.DefaultExt));
    }
    if (!request.FileName.empty()) {
        dialog.selectFile(ShownFileName(request.FileName));
    }
    FileChoice choice;
    choice.FilterIndex = request.FilterIndex;
    if (dialog.exec() != QDialog::Accepted) {
        return choice;
    }
    for (const QString& file : dialog.selectedFiles()) {
        choice.Files.push_back(PathBytes(file));
    }
    // With the patterns hidden the dialog reports the description alone.
    const QString selected = dialog.selectedNameFilter();
    const QStringList descriptions = FilterDescriptions(filter);
    for (qsizetype i = 0; i < filters.size(); ++i) {
        if (selected == filters[i] || (i < descriptions.size() && selected == descriptions[i])) {
            choice.FilterIndex = static_cast<int>(i) + 1;
            break;
        }
    }
    return choice;
}

}  // namespace

bool QtPrompter::Ask(const std::string& text, const std::string& caption) {
    return ShowBox(QMessageBox::Question, text, caption, QMessageBox::Yes | QMessageBox::No,
                   QApplication::activeWindow()) == QMessageBox::Yes;
}

void QtPrompter::Error(const std::string& text, const std::string& caption) {
    ShowBox(QMessageBox::Critical, text, caption, QMessageBox::Ok, QApplication::activeWindow());
}

void QtPrompter::Message(const std::string& text, const std::string& caption) {
    // No owner window: the box is centred on the screen.
    ShowBox(QMessageBox::NoIcon, text, caption, QMessageBox::Ok, nullptr);
}

FileChoice QtPrompter::GetOpenFileNames(const FileDialogSetup& dialog) {
    return ShowFileDialog(dialog, DialogKind::OpenMany);
}

FileChoice QtPrompter::GetOpenFileName(const FileDialogSetup& dialog) {
    return ShowFileDialog(dialog, DialogKind::OpenOne);
}

FileChoice QtPrompter::GetSaveFileName(const FileDialogSetup& dialog) {
    return ShowFileDialog(dialog, DialogKind::Save);
}

}  // namespace korv::platform
