#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "batch_ui.h"
#include "main/event_pump.h"
#include "main/pending_current_entry.h"

namespace korv::behaviour {

class MainWindow;

// What a batch run needs of the main window, read from its controls and the
// options panel at the moment the run asks.
class WindowBatchUi final : public korv::BatchUi {
public:
    explicit WindowBatchUi(MainWindow& window);

    bool AskConfirmation(const std::string& text, const std::string& caption) override;
    void ReportError(const std::string& text, const std::string& caption) override;
    void ShowMessage(const std::string& text) override;
    void SetBusyCursor(bool busy) override;

    std::int32_t EntryCount() override;
    std::string Entry(std::int32_t index) override;
    std::int32_t CurrentEntry() override;
    void SetCurrentEntry(std::int32_t index) override;

    std::string FindText() override;
    std::string ReplaceText() override;
    bool CaseSensitive() override;
    bool DynamicVariables() override;
    bool BackUp() override;
    korv::LineBreaks LineBreakMode() override;

    void PumpEvents() override;
    void RunAside(const std::function<void()>& work) override;
    bool WorksAside() override { return true; }
    bool StopRequested() override;

    void ShowResults(std::int32_t files_searched, std::int64_t files_replaced) override;
    std::optional<korv::UndoPlace> UndoJournalPlace() override;
    bool RunWithoutUndo(const std::string& problem) override;

private:
    // The list follows the run's current entry at most this often: each
    // move scrolls and repaints the list, some 5 ms under Wine, while the
    // window's turns come every 25 ms.
    static constexpr std::int64_t kShowEntryEveryMs = 100;

    // Lets the window handle its events, showing the current entry when
    // it is time to.
    void TakeTurn();

    MainWindow& window_;
    PendingCurrentEntry current_;
    EventPump pump_;
    EventPump show_entry_;  // its work: the list follows the run
    bool busy_ = false;
};

}  // namespace korv::behaviour
