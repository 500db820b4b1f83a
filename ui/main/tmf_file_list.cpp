// The file list's operations: adding, dropping, deleting, loading, saving,
// opening an entry, the hint and finding an entry by typing.

#include <QCursor>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include "editor_launcher.h"
#include "filename_list.h"
#include "main/engine_text.h"
#include "main/tmf.h"

namespace {

// A steady clock for the pauses between typed characters.
qint64 NowMs() {
    static QElapsedTimer clock;
    if (!clock.isValid()) {
        clock.start();
    }
    return clock.elapsed();
}

}  // namespace

void TMF::SpeedButton1Click() {
    PopupMenu2->popup(QCursor::pos());
}

void TMF::SpeedButton2Click() {
    PopupMenu3->popup(QCursor::pos());
}

void TMF::Files1Click() {
    const korv::platform::FileChoice choice = prompter_.GetOpenFileNames(OpenDialog1);
    if (choice.Cancelled()) {
        return;
    }
    OpenDialog1.FileName = choice.Files.first();
    OpenDialog1.FilterIndex = choice.FilterIndex;
    if (files_.HoldsPlaceholder()) {
        files_.Clear();
        SetRunButtons(true);
    }
    AppendPaths(choice.Files);
    files_.SetCurrent(0);
}

void TMF::AppendPaths(const QStringList& file_names) {
    for (const QString& name : file_names) {
        files_.Append(PathBytes(name));
    }
}

void TMF::WMDropFiles(const QList<QByteArray>& paths) {
    if (!paths.isEmpty() && files_.Count() > 0 && files_.HoldsPlaceholder()) {
        files_.Clear();
    }
    for (const QByteArray& path : paths) {
        // The whole path is kept, however long: a cut one names another file.
        try {
            OpenDialog1.FileName = ShownPath(path);
            files_.Append(path);
            files_.SetCurrent(files_.Count() - 1);
            SetRunButtons(true);
        } catch (...) {
            prompter_.Message(QStringLiteral("Korvane couldn't open the file \"") +
                                  ShownPath(path) + QStringLiteral("\"."),
                              QStringLiteral("Error"));
        }
    }
}

void TMF::Deleteselected1Click() {
    if (!prompter_.Ask(
            QStringLiteral("Do you want to delete the selected item(s) from the file list?"),
            QStringLiteral("Confirmation"))) {
        return;
    }
    if (files_.Current() == -1) {
        return;
    }
    files_.DeleteSelected();
    files_.SetCurrent(0);
    if (files_.Count() == 0) {
        files_.Append(QByteArray(kPlaceholderEntry));
        SetRunButtons(false);
    }
}

void TMF::ListBox1KeyDown(int key) {
    if (key == Qt::Key_Delete && !files_.HoldsPlaceholder()) {
        Deleteselected1Click();
    }
}

void TMF::Deleteall1Click() {
    if (!prompter_.Ask(QStringLiteral("Do you want to delete all item(s) from the file list?"),
                       QStringLiteral("Confirmation"))) {
        return;
    }
    files_.Clear();
    files_.SetCurrent(0);
    files_.Append(QByteArray(kPlaceholderEntry));
    SetRunButtons(false);
}

void TMF::Loadfilelist1Click() {
    const korv::platform::FileChoice choice = prompter_.GetOpenFileName(OpenDialog2);
    if (choice.Cancelled()) {
        return;
    }
    OpenDialog2.FileName = choice.Files.first();
    OpenDialog2.FilterIndex = choice.FilterIndex;
    // Read in full first: a file that cannot be read leaves the list as it
    // was.
    const std::vector<std::string> entries =
        korv::LoadFilenameList(ToStd(PathBytes(choice.Files.first())));
    files_.Clear();
    for (const std::string& entry : entries) {
        files_.Append(ToBytes(entry));
    }
    if (files_.Count() == 0) {
        files_.Append(QByteArray(kPlaceholderEntry));
        SetRunButtons(false);
    }
    SetRunButtons(!files_.HoldsPlaceholder());
}

void TMF::Savefilelistas1Click() {
    const korv::platform::FileChoice choice = prompter_.GetSaveFileName(SaveDialog1);
    if (choice.Cancelled()) {
        return;
    }
    SaveDialog1.FileName = choice.Files.first();
    SaveDialog1.FilterIndex = choice.FilterIndex;
    std::vector<std::string> entries;
    for (const QByteArray& entry : files_.Entries()) {
        entries.push_back(ToStd(entry));
    }
    korv::SaveFilenameList(ToStd(PathBytes(choice.Files.first())), entries);
}

void TMF::ListBox1DblClick() {
    if (files_.HoldsPlaceholder()) {
        return;
    }
    editor_.OpenInEditor(files_.Entry(files_.Current()));
}

void TMF::ListBox1MouseMove() {
    try {
        ListBox1->setToolTip(ShownPath(files_.Entry(files_.Current())));
    } catch (...) {
        // Without a current entry the hint stays as it was.
    }
}

bool TMF::PrefixKey(const QString& text, int key) {
    QString typed;
    if (key == Qt::Key_Backspace) {
        typed = prefix_.Backspace(NowMs());
    } else if (text.size() == 1 && text.front().isPrint()) {
        typed = prefix_.Type(text.front(), NowMs());
    } else {
        return false;
    }
    QStringList shown;
    for (int i = 0; i < ListBox1->count(); ++i) {
        shown << ListBox1->item(i)->text();
    }
    const int found = FindPrefix(shown, typed);
    if (found >= 0) {
        ListBox1->setCurrentRow(found, QItemSelectionModel::ClearAndSelect);
        ListBox1->scrollToItem(ListBox1->item(found), QAbstractItemView::EnsureVisible);
    }
    return true;
}
