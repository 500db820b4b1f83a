#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <utility>

#include "controls/qt_controls.h"
#include "controls/qt_list_box.h"
#include "main/error_box.h"
#include "main/main_window.h"
#include "main/main_window_shell.h"

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

// The main window: the file list, the find and replacement texts, the run
// button, the options panel's toggle and the menus. What it does is
// korv::behaviour::MainWindow's; this class lays the controls out and
// hands their events over.
class TMF : public QMainWindow, private korv::behaviour::MainWindowShell {
    Q_OBJECT

public:
    // Opens the activity log at `paths.Log` (FormCreate). Every message box
    // and file dialog goes through `prompter`; files are shown in `editor`.
    // Hints stay visible for `hint_hide_pause_ms`.
    TMF(korv::behaviour::Prompter& prompter, korv::behaviour::EditorLauncher& editor,
        korv::behaviour::TmfPaths paths, int hint_hide_pause_ms = korv::behaviour::kHintHidePauseMs,
        QWidget* parent = nullptr);
    ~TMF() override;

    // The options panel, created after this window and before its first
    // show; its boxes hold the options of a run.
    void SetOptionsPanel(TAF* panel);

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

    // The handlers that only open a menu or a box.
    void SpeedButton1Click();
    void SpeedButton2Click();
    void About1Click();

    [[nodiscard]] korv::behaviour::MainWindow& Behaviour() { return *behaviour_; }
    // The file list's entries and current entry.
    [[nodiscard]] korv::behaviour::FileList& Files() { return behaviour_->Files(); }
    [[nodiscard]] korv::ActivityLog* Log() { return behaviour_->Log(); }
    // Whether a batch run is in progress.
    [[nodiscard]] bool Running() const { return behaviour_->Running(); }

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
    // What the main window offers as a whole.
    void Beep() override;
    void SetBusyCursor(bool busy) override;
    void ProcessEvents() override;
    void ProcessEventsUntil(const std::function<bool()>& done) override;
    void WakeUp() override;
    void CloseLater() override;
    [[nodiscard]] int PrimaryScreenWidth() const override;
    void ShowResults(std::int32_t files_searched, std::int64_t files_replaced) override;

    void BuildControls();
    void BuildMenus();
    void ConnectHandlers();
    // Typed characters find entries; whether the key was one of them.
    bool PrefixKey(const QString& text, int key);
    void ShowListHint(const QPoint& global_pos);
    // Runs a handler, showing what escapes it in the error box.
    template <typename Handler>
    void Guarded(Handler&& handler) {
        korv::behaviour::RunReportingErrors(prompter_, std::forward<Handler>(handler));
    }

    korv::behaviour::Prompter& prompter_;
    korv::behaviour::EditorLauncher& editor_;
    int hint_hide_pause_ms_;
    korv::behaviour::SteadyClock clock_;
    std::unique_ptr<QtListBox> list_box_;
    std::unique_ptr<QtEnabled> run_button_;
    std::unique_ptr<QtEnabled> delete_button_;
    std::unique_ptr<QtCaption> options_button_;
    std::unique_ptr<QtMemo> find_memo_;
    std::unique_ptr<QtMemo> replace_memo_;
    QtFrame frame_;
    std::unique_ptr<korv::behaviour::MainWindow> behaviour_;
    bool shown_before_ = false;
};
