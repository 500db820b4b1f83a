#pragma once

#include <QByteArray>
#include <QList>
#include <QMainWindow>
#include <memory>

#include "ini_file.h"
#include "main/event_pump.h"
#include "main/file_list.h"
#include "main/prefix_search.h"
#include "main/tmf_paths.h"
#include "prompter.h"

class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;
class TAF;

namespace korv {
class ActivityLog;
}
namespace korv::platform {
class EditorLauncher;
}

// The main window: the file list, the find and replacement texts, the run
// button, the options panel's toggle and the menus.
class TMF : public QMainWindow {
    Q_OBJECT

public:
    // Opens the activity log at `paths.Log` (FormCreate). Every message box
    // and file dialog goes through `prompter`; files are shown in `editor`.
    // Hints stay visible for `hint_hide_pause_ms`.
    TMF(korv::platform::Prompter& prompter, korv::platform::EditorLauncher& editor, TmfPaths paths,
        int hint_hide_pause_ms = 10000, QWidget* parent = nullptr);
    ~TMF() override;

    // The options panel, created after this window and before its first
    // show; its boxes hold the options of a run.
    void SetOptionsPanel(TAF* panel) { AF = panel; }

    QGroupBox* GroupBox1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QPushButton* Button4 = nullptr;
    QLabel* Label3 = nullptr;
    QPlainTextEdit* Edit2 = nullptr;
    QLabel* Label4 = nullptr;
    QPlainTextEdit* Edit3 = nullptr;
    QPushButton* Button = nullptr;

    korv::platform::FileDialogSpec OpenDialog1;
    korv::platform::FileDialogSpec OpenDialog2;
    korv::platform::FileDialogSpec SaveDialog1;
    QTimer* Timer1 = nullptr;

    QMenuBar* MainMenu1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* VersionHistory1 = nullptr;
    QAction* About1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Loadfilelist1 = nullptr;
    QAction* Savefilelistas1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QAction* Files1 = nullptr;
    QMenu* PopupMenu3 = nullptr;
    QAction* Deleteselected1 = nullptr;
    QAction* Deleteall1 = nullptr;

    // The settings file, from the first show on.
    std::unique_ptr<korv::platform::IniFile> IniFile;
    TAF* AF = nullptr;

    // The handlers. Errors escape them as exceptions; the window's event
    // and signal connections show those in the error box.
    void FormCreate();
    void FormShow();
    void FormClose();
    void ButtonClick();
    void Button4Click();
    void Timer1Timer();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Files1Click();
    void WMDropFiles(const QList<QByteArray>& paths);
    void Deleteselected1Click();
    void ListBox1KeyDown(int key);
    void Deleteall1Click();
    void Loadfilelist1Click();
    void Savefilelistas1Click();
    void ListBox1DblClick();
    void ListBox1MouseMove();
    void VersionHistory1Click();
    void About1Click();

    // The file list's entries and current entry.
    [[nodiscard]] FileList& Files() { return files_; }
    [[nodiscard]] korv::ActivityLog* Log() { return log_.get(); }
    [[nodiscard]] const TmfPaths& Paths() const { return paths_; }
    // Whether a batch run is in progress.
    [[nodiscard]] bool Running() const { return running_; }

signals:
    // The window has closed; the program ends.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class MainWindowBatchUi;

    void BuildControls();
    void BuildMenus();
    void ConnectHandlers();
    // Enables or disables "Replace All Now" and the delete button together.
    void SetRunButtons(bool enabled);
    void AppendPaths(const QStringList& file_names);
    bool PrefixKey(const QString& text, int key);
    void ShowListHint(const QPoint& global_pos);
    // Runs a handler, showing what escapes it in the error box.
    template <typename Handler>
    void Guarded(Handler&& handler);

    korv::platform::Prompter& prompter_;
    korv::platform::EditorLauncher& editor_;
    TmfPaths paths_;
    int hint_hide_pause_ms_;
    FileList files_;
    PrefixTyping prefix_;
    std::unique_ptr<korv::ActivityLog> log_;
    bool shown_before_ = false;
    bool running_ = false;
    bool close_pending_ = false;
};
