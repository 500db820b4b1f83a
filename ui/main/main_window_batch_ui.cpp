#include "main/main_window_batch_ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QPointer>

#include "main/application_title.h"
#include "main/engine_text.h"
#include "main/tmf.h"
#include "opt/taf.h"
#include "results/trf.h"

namespace {

bool Checked(const QCheckBox* box) {
    return box != nullptr && box->isChecked();
}

}  // namespace

bool MainWindowBatchUi::AskConfirmation(const std::string& text, const std::string& caption) {
    return window_.prompter_.Ask(ShownText(text), ShownText(caption));
}

void MainWindowBatchUi::ReportError(const std::string& text, const std::string& caption) {
    window_.prompter_.Error(ShownText(text), ShownText(caption));
}

void MainWindowBatchUi::ShowMessage(const std::string& text) {
    window_.prompter_.Message(ShownText(text), QString::fromLatin1(kApplicationTitle));
}

void MainWindowBatchUi::SetBusyCursor(bool busy) {
    // The override cursor covers every window of the program.
    if (busy && !busy_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (!busy && busy_) {
        QApplication::restoreOverrideCursor();
    }
    busy_ = busy;
}

std::int32_t MainWindowBatchUi::EntryCount() {
    return window_.files_.Count();
}

std::string MainWindowBatchUi::Entry(std::int32_t index) {
    return ToStd(window_.files_.Entry(index));
}

std::int32_t MainWindowBatchUi::CurrentEntry() {
    return window_.files_.Current();
}

void MainWindowBatchUi::SetCurrentEntry(std::int32_t index) {
    window_.files_.SetCurrent(index);
    // Between two files the window gets its turn as well, so a run over
    // many files in which nothing is found still repaints and can be
    // closed.
    pump_.Pump();
}

std::string MainWindowBatchUi::FindText() {
    return MemoText(window_.Edit2);
}

std::string MainWindowBatchUi::ReplaceText() {
    return MemoText(window_.Edit3);
}

bool MainWindowBatchUi::CaseSensitive() {
    return window_.AF != nullptr && Checked(window_.AF->CheckBoxCS);
}

bool MainWindowBatchUi::DynamicVariables() {
    return window_.AF != nullptr && Checked(window_.AF->CheckBoxDV);
}

bool MainWindowBatchUi::BackUp() {
    return window_.AF != nullptr && Checked(window_.AF->CheckBoxBU);
}

void MainWindowBatchUi::PumpEvents() {
    pump_.Pump();
}

bool MainWindowBatchUi::StopRequested() {
    return window_.close_pending_;
}

void MainWindowBatchUi::ShowResults(std::int32_t files_searched, std::int64_t files_replaced) {
    QPointer<TRF> results = new TRF(window_.editor_, ToBytes(window_.paths_.Log), &window_);
    results->SetResults(files_searched, files_replaced);
    results->exec();
    // The dialog frees itself once closed; this covers a close that did not
    // go through its close event.
    if (results) {
        results->deleteLater();
    }
}
