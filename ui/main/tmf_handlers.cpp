// The main window's own handlers: creation, first show, closing, the run,
// the options panel and the Help menu.

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>

#include "aboutform/tabout.h"
#include "activity_log.h"
#include "batch_run.h"
#include "editor_launcher.h"
#include "main/docking.h"
#include "main/engine_text.h"
#include "main/main_window_batch_ui.h"
#include "main/tmf.h"
#include "opt/taf.h"
#include "time_stamp.h"

namespace {

const QString kShowOptions = QStringLiteral("Show Advanced &Options >>>>>");
const QString kHideOptions = QStringLiteral("<<<<< Hide Advanced &Options");

}  // namespace

void TMF::FormCreate() {
    log_ = std::make_unique<korv::ActivityLog>(paths_.Log, korv::TimeFormat::FromLocale());
    log_->Open();
}

void TMF::FormShow() {
    IniFile = std::make_unique<korv::platform::IniFile>(paths_.Settings);
    if (AF != nullptr) {
        AF->SetIniFile(IniFile.get());
        const struct {
            const char* key;
            QCheckBox* box;
            void (TAF::*click)();
        } options[] = {
            {"CS", AF->CheckBoxCS, &TAF::CheckBoxCSClick},
            {"BU", AF->CheckBoxBU, &TAF::CheckBoxBUClick},
            {"DV", AF->CheckBoxDV, &TAF::CheckBoxDVClick},
        };
        for (const auto& option : options) {
            if (IniFile->ReadString("Options", option.key, "") != "True") {
                continue;
            }
            // Checking the box writes the key back, as a click would; the
            // handler is called here rather than from the box's signal so
            // a failure to write ends this handler and skips the rest.
            {
                const QSignalBlocker quiet(option.box);
                option.box->setChecked(true);
            }
            (AF->*option.click)();
        }
    }
    if (files_.Count() == 0) {
        files_.Append(QByteArray(kPlaceholderEntry));
        SetRunButtons(false);
    }
}

void TMF::FormClose() {
    if (!log_) {
        return;
    }
    // The log is let go even when the closing line cannot be written.
    const std::unique_ptr<korv::ActivityLog> log = std::move(log_);
    log->Close();
}

void TMF::ButtonClick() {
    if (running_) {
        // A run started from within a run would write stale text over the
        // files the outer run is still working on.
        QApplication::beep();
        return;
    }
    if (!log_) {
        return;
    }
    struct RunScope {
        TMF& window;
        explicit RunScope(TMF& w) : window(w) { window.running_ = true; }
        ~RunScope() {
            window.running_ = false;
            if (window.close_pending_) {
                // The window was closed during the run; it closes now, after
                // the file that was being processed.
                window.close_pending_ = false;
                QTimer::singleShot(0, &window, &QWidget::close);
            }
        }
        RunScope(const RunScope&) = delete;
        RunScope& operator=(const RunScope&) = delete;
    } scope(*this);
    MainWindowBatchUi ui(*this);
    korv::RunBatch(ui, *log_);
}

void TMF::Button4Click() {
    if (AF == nullptr) {
        return;
    }
    if (Button4->text() == kShowOptions) {
        AF->show();
        AF->raise();
        Button4->setText(kHideOptions);
    } else {
        AF->hide();
        Button4->setText(kShowOptions);
    }
}

void TMF::Timer1Timer() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (AF == nullptr || primary == nullptr) {
        return;
    }
    const QRect main_frame = frameGeometry();
    const DockPlacement placement =
        DockPanel(primary->geometry().width(), main_frame.topLeft(), main_frame.width(),
                  AF->frameGeometry().width(), AF->isVisible());
    if (placement.MainLeft != main_frame.x()) {
        move(placement.MainLeft, main_frame.y());
    }
    AF->move(placement.PanelPos);
}

void TMF::VersionHistory1Click() {
    editor_.OpenInEditor(ToBytes(paths_.Versions));
}

void TMF::About1Click() {
    QPointer<TAbout> about = new TAbout(this);
    about->exec();
    // A fresh box for every use; it may have freed itself already.
    delete about.data();
}
