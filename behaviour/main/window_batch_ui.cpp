#include "main/window_batch_ui.h"

#include "aside_work.h"
#include "main/main_window.h"
#include "opt/options_panel.h"
#include "texts.h"

namespace korv::behaviour {

WindowBatchUi::WindowBatchUi(MainWindow& window)
    : window_(window),
      current_(window.files_),
      pump_([&time = window.services_.Time] { return time.NowMs(); }, [this] { TakeTurn(); }),
      show_entry_([&time = window.services_.Time] { return time.NowMs(); },
                  [this] { current_.Apply(); }, kShowEntryEveryMs) {}

void WindowBatchUi::TakeTurn() {
    MainWindowShell& shell = window_.controls_.Shell;
    if (show_entry_.Pump()) {
        shell.ProcessEvents();
    } else {
        current_.KeepThroughTurn([&shell] { shell.ProcessEvents(); });
    }
}

bool WindowBatchUi::AskConfirmation(const std::string& text, const std::string& caption) {
    current_.Apply();
    return window_.services_.Prompts.Ask(text, caption);
}

void WindowBatchUi::ReportError(const std::string& text, const std::string& caption) {
    current_.Apply();
    window_.services_.Prompts.Error(text, caption);
}

std::optional<korv::UndoPlace> WindowBatchUi::UndoJournalPlace() {
    const std::string& folder = window_.Paths().UndoFolder;
    if (folder.empty()) {
        return std::nullopt;
    }
    return korv::UndoPlace{folder, "korv"};
}

bool WindowBatchUi::RunWithoutUndo(const std::string& problem) {
    current_.Apply();
    return window_.services_.Prompts.Ask(problem + "\n\n" + text::kReplaceWithoutUndo,
                                         text::kConfirmationCaption);
}

void WindowBatchUi::ShowMessage(const std::string& text) {
    current_.Apply();
    window_.services_.Prompts.Message(text, text::kApplicationTitle);
}

void WindowBatchUi::SetBusyCursor(bool busy) {
    if (busy != busy_) {
        window_.controls_.Shell.SetBusyCursor(busy);
    }
    busy_ = busy;
}

std::int32_t WindowBatchUi::EntryCount() {
    return window_.files_.Count();
}

std::string WindowBatchUi::Entry(std::int32_t index) {
    return window_.files_.Entry(index);
}

std::int32_t WindowBatchUi::CurrentEntry() {
    return current_.Current();
}

void WindowBatchUi::SetCurrentEntry(std::int32_t index) {
    current_.Set(index);
    // Between two files the window gets its turn as well, so a run over
    // many files in which nothing is found still repaints and can be
    // closed.
    pump_.Pump();
}

std::string WindowBatchUi::FindText() {
    return window_.controls_.Edit2.Text();
}

std::string WindowBatchUi::ReplaceText() {
    return window_.controls_.Edit3.Text();
}

bool WindowBatchUi::CaseSensitive() {
    return window_.AF != nullptr && window_.AF->CheckBoxCS.Checked();
}

bool WindowBatchUi::DynamicVariables() {
    return window_.AF != nullptr && window_.AF->CheckBoxDV.Checked();
}

bool WindowBatchUi::BackUp() {
    return window_.AF != nullptr && window_.AF->CheckBoxBU.Checked();
}

korv::LineBreaks WindowBatchUi::LineBreakMode() {
    return window_.LineBreaks();
}

void WindowBatchUi::PumpEvents() {
    pump_.Pump();
}

void WindowBatchUi::RunAside(const std::function<void()>& work) {
    // The window stays this thread's: it goes on handling its events, so
    // what the user changes meanwhile counts from the run's next reading.
    MainWindowShell& shell = window_.controls_.Shell;
    current_.Apply();
    korv::AsideThread aside(work, [&shell] { shell.WakeUp(); });
    shell.ProcessEventsUntil([&aside] { return aside.Done(); });
    aside.Finish();
}

bool WindowBatchUi::StopRequested() {
    return window_.close_pending_;
}

void WindowBatchUi::ShowResults(std::int32_t files_searched, std::int64_t files_replaced) {
    current_.Apply();
    window_.controls_.Shell.ShowResults(files_searched, files_replaced);
}

}  // namespace korv::behaviour
