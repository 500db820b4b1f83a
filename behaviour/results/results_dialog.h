#pragma once

#include <cstdint>
#include <string>

#include "controls.h"
#include "launchers.h"

namespace korv::behaviour {

// The results dialog's labels for the two numbers.
struct ResultsLabels {
    Label& Label3;
    Label& Label4;
    // The dialog's client width, against which the numbers are placed.
    int ClientWidth;
};

// What the results dialog does: places the two numbers, beeps when shown,
// opens the activity log on request.
class ResultsDialog {
public:
    // "&Show LOG file" opens `log_path` in `editor`.
    ResultsDialog(ResultsLabels labels, Beeper& beeper, EditorLauncher& editor,
                  std::string log_path);

    // Puts the two numbers in, each ending 18 pixels before the right edge.
    void SetResults(std::int32_t files_searched, std::int64_t files_replaced);

    void Button1Click();
    void FormShow();

private:
    void PlaceNumber(Label& label, std::int64_t value) const;

    ResultsLabels labels_;
    Beeper& beeper_;
    EditorLauncher& editor_;
    std::string log_path_;
};

}  // namespace korv::behaviour
