// Files and folders dropped on the main window: a folder adds the text
// files a walk finds in it, looked for on another thread while the window
// goes on handling its events.

#include <functional>
#include <string>

#include "aside_work.h"
#include "main/main_window.h"
#include "texts.h"

namespace korv::behaviour {

// Marks a drop looking through folders: the busy cursor shows (a run or an
// outer drop in progress shows its own), no run starts, and a close asked
// for meanwhile happens after it.
class MainWindow::WalkScope {
public:
    explicit WalkScope(MainWindow& window)
        : window_(window), shows_cursor_(!window.running_ && window.walks_ == 0) {
        ++window_.walks_;
        if (shows_cursor_) {
            window_.controls_.Shell.SetBusyCursor(true);
        }
    }
    ~WalkScope() {
        if (shows_cursor_) {
            window_.controls_.Shell.SetBusyCursor(false);
        }
        // A run in progress closes the window itself once it ends.
        if (--window_.walks_ == 0 && !window_.running_ && window_.close_pending_) {
            window_.close_pending_ = false;
            window_.controls_.Shell.CloseLater();
        }
    }
    WalkScope(const WalkScope&) = delete;
    WalkScope& operator=(const WalkScope&) = delete;

private:
    MainWindow& window_;
    bool shows_cursor_;
};

void MainWindow::WMDropFiles(const std::vector<std::string>& paths) {
    const std::vector<DroppedPath> dropped = LookThroughDrop(paths);
    const std::size_t count = EntriesAdded(dropped);
    if (count > kAskAboveDroppedEntries &&
        !services_.Prompts.Ask(
            text::kAskAddDropped + std::to_string(count) + text::kAskAddDroppedEnd,
            text::kConfirmationCaption)) {
        return;
    }
    // A folder with nothing to add leaves the placeholder where it is.
    if (count > 0 && files_.Count() > 0 && files_.HoldsPlaceholder()) {
        files_.Clear();
    }
    AppendDropped(dropped);
}

std::vector<DroppedPath> MainWindow::LookThroughDrop(const std::vector<std::string>& paths) {
    const WalkScope scope(*this);
    std::vector<DroppedPath> dropped;
    MainWindowShell& shell = controls_.Shell;
    const std::function<void()> work = [&dropped, &paths] { dropped = ExpandDrop(paths); };
    korv::AsideThread aside(work, [&shell] { shell.WakeUp(); });
    shell.ProcessEventsUntil([&aside] { return aside.Done(); });
    aside.Finish();
    return dropped;
}

void MainWindow::AppendDropped(const std::vector<DroppedPath>& dropped) {
    // The list moves its current entry and the buttons once, to the last
    // entry added: per entry, a drop of thousands would scroll and repaint
    // the list thousands of times.
    bool added = false;
    for (const DroppedPath& path : dropped) {
        for (const std::string& entry : path.entries) {
            // The whole path is kept, however long: a cut one names another
            // file.
            try {
                OpenDialog1.FileName = entry;
                files_.Append(entry);
                added = true;
            } catch (...) {
                ReportNotAdded(entry);
            }
        }
        for (const std::string& folder : path.unreadable) {
            ReportNotAdded(folder);
        }
    }
    if (added) {
        files_.SetCurrent(files_.Count() - 1);
        SetRunButtons(true);
    }
}

void MainWindow::ReportNotAdded(const std::string& path) {
    services_.Prompts.Message(std::string(text::kCannotAddDropped) + '"' + path + "\".",
                              text::kErrorCaption);
}

}  // namespace korv::behaviour
