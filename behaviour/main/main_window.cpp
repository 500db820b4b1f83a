// The main window's own handlers: creation, first show, closing, the run,
// the options panel and the version history.

#include "main/main_window.h"

#include <utility>

#include "activity_log.h"
#include "batch_run.h"
#include "main/window_batch_ui.h"
#include "opt/docking.h"
#include "opt/options_panel.h"
#include "settings_in_folder.h"
#include "texts.h"
#include "time_stamp.h"

namespace korv::behaviour {

MainWindow::MainWindow(MainWindowControls controls, MainWindowServices services, TmfPaths paths)
    : controls_(controls),
      services_(std::move(services)),
      paths_(std::move(paths)),
      files_(controls.ListBox1) {
    OpenDialog1.Filter = text::kAllFilesFilter;
    OpenDialog2.Filter = text::kFilenameListFilter;
    SaveDialog1.Filter = text::kFilenameListFilter;
    SaveDialog1.DefaultExt = text::kFilenameListExt;
}

MainWindow::~MainWindow() = default;

void MainWindow::SetOptionsPanel(OptionsPanel* panel, WindowFrame* frame) {
    AF = panel;
    panel_frame_ = frame;
}

void MainWindow::SetRunButtons(bool enabled) {
    controls_.Button.SetEnabled(enabled);
    controls_.SpeedButton2.SetEnabled(enabled);
}

void MainWindow::FormCreate() {
    log_ = std::make_unique<korv::ActivityLog>(paths_.Log, korv::TimeFormat::FromLocale(),
                                               paths_.LogFolder);
    log_->Open();
}

void MainWindow::FormShow() {
    IniFile = services_.OpenSettings(paths_.Settings);
    if (!paths_.SettingsFolder.empty()) {
        IniFile = std::make_unique<SettingsInFolder>(std::move(IniFile), paths_.SettingsFolder);
    }
    // Read only: no box shows it, so nothing writes it back.
    line_breaks_ = korv::ParseLineBreaks(IniFile->ReadString(kOptionsSection, kLineBreaksKey, ""))
                       .value_or(korv::DefaultLineBreaks());
    if (AF != nullptr) {
        AF->SetIniFile(IniFile.get());
        const struct {
            const char* key;
            CheckBox& box;
            void (OptionsPanel::*click)();
        } options[] = {
            {"CS", AF->CheckBoxCS, &OptionsPanel::CheckBoxCSClick},
            {"BU", AF->CheckBoxBU, &OptionsPanel::CheckBoxBUClick},
            {"DV", AF->CheckBoxDV, &OptionsPanel::CheckBoxDVClick},
        };
        for (const auto& option : options) {
            if (IniFile->ReadString(kOptionsSection, option.key, "") != kTrue) {
                continue;
            }
            // Checking the box writes the key back, as a click would; a
            // failure to write ends this handler and skips the rest.
            option.box.SetChecked(true);
            (AF->*option.click)();
        }
    }
    if (files_.Count() == 0) {
        files_.AppendPlaceholder();
        SetRunButtons(false);
    }
}

bool MainWindow::FormCloseQuery() {
    if (running_ || walks_ > 0) {
        close_pending_ = true;
        return false;
    }
    return true;
}

void MainWindow::FormClose() {
    if (!log_) {
        return;
    }
    // The log is let go even when the closing line cannot be written.
    const std::unique_ptr<korv::ActivityLog> log = std::move(log_);
    log->Close();
}

// Marks a run in progress; a close asked for during it happens after it.
class MainWindow::RunScope {
public:
    explicit RunScope(MainWindow& window) : window_(window) { window_.running_ = true; }
    ~RunScope() {
        window_.running_ = false;
        if (window_.close_pending_) {
            window_.close_pending_ = false;
            window_.controls_.Shell.CloseLater();
        }
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    MainWindow& window_;
};

void MainWindow::ButtonClick() {
    if (running_ || walks_ > 0) {
        // A run started from within a run would write stale text over the
        // files the outer run is still working on; one started during a
        // drop would miss the files dropped.
        controls_.Shell.Beep();
        return;
    }
    if (!log_) {
        return;
    }
    const RunScope scope(*this);
    WindowBatchUi ui(*this);
    korv::RunBatch(ui, *log_);
}

void MainWindow::Button4Click() {
    if (panel_frame_ == nullptr) {
        return;
    }
    if (controls_.Button4.Caption() == text::kShowOptions) {
        panel_frame_->ShowInFront();
        controls_.Button4.SetCaption(text::kHideOptions);
    } else {
        panel_frame_->Hide();
        controls_.Button4.SetCaption(text::kShowOptions);
    }
}

void MainWindow::Timer1Timer() {
    if (panel_frame_ == nullptr) {
        return;
    }
    const WindowFrame& main = controls_.Frame;
    const DockPlacement placement =
        DockPanel(controls_.Shell.PrimaryScreenWidth(), main.Left(), main.Top(), main.Width(),
                  panel_frame_->Width(), panel_frame_->Visible());
    if (placement.MainLeft != main.Left()) {
        controls_.Frame.MoveTo(placement.MainLeft, main.Top());
    }
    panel_frame_->MoveTo(placement.PanelLeft, placement.PanelTop);
}

void MainWindow::VersionHistory1Click() {
    services_.Editor.OpenInEditor(paths_.Versions);
}

}  // namespace korv::behaviour
