#include "results/results_dialog.h"

#include <utility>

namespace korv::behaviour {

namespace {

constexpr int kNumberRightGap = 18;

}  // namespace

ResultsDialog::ResultsDialog(ResultsLabels labels, Beeper& beeper, EditorLauncher& editor,
                             std::string log_path)
    : labels_(labels), beeper_(beeper), editor_(editor), log_path_(std::move(log_path)) {}

void ResultsDialog::PlaceNumber(Label& label, std::int64_t value) const {
    // The width is the label's own for its new text, so every number ends
    // the same distance before the right edge, whatever its length.
    label.SetCaption(std::to_string(value));
    label.SetLeft(labels_.ClientWidth - label.Width() - kNumberRightGap);
}

void ResultsDialog::SetResults(std::int32_t files_searched, std::int64_t files_replaced) {
    PlaceNumber(labels_.Label3, files_searched);
    PlaceNumber(labels_.Label4, files_replaced);
}

void ResultsDialog::Button1Click() {
    editor_.OpenInEditor(log_path_);
}

void ResultsDialog::FormShow() {
    beeper_.Beep();
}

}  // namespace korv::behaviour
