#include "opt/options_panel.h"

#include "program_files.h"

namespace korv::behaviour {

OptionsPanel::OptionsPanel(OptionsBoxes boxes, DesktopOpener& desktop)
    : CheckBoxCS(boxes.CheckBoxCS),
      CheckBoxBU(boxes.CheckBoxBU),
      CheckBoxDV(boxes.CheckBoxDV),
      desktop_(desktop) {}

void OptionsPanel::WriteOption(const char* key, const CheckBox& box) {
    if (ini_ != nullptr) {
        ini_->WriteString(kOptionsSection, key, box.Checked() ? kTrue : kFalse);
    }
}

void OptionsPanel::CheckBoxDVClick() {
    WriteOption("DV", CheckBoxDV);
}

void OptionsPanel::CheckBoxBUClick() {
    WriteOption("BU", CheckBoxBU);
}

void OptionsPanel::CheckBoxCSClick() {
    WriteOption("CS", CheckBoxCS);
}

void OptionsPanel::Label1Click() noexcept {
    try {
        desktop_.Open(korv::ThisProgramsFiles().Document("dv.html"));
    } catch (...) {
        // The help page is opened without a word, whatever happens.
    }
}

}  // namespace korv::behaviour
