#pragma once

#include "controls.h"
#include "launchers.h"
#include "settings_file.h"

namespace korv::behaviour {

// The options panel's check boxes, the live options of a run.
struct OptionsBoxes {
    CheckBox& CheckBoxCS;
    CheckBox& CheckBoxBU;
    CheckBox& CheckBoxDV;
};

// The advanced options panel: every change of a box is written to the
// settings file at once; "Help" opens the help page.
class OptionsPanel {
public:
    // The help page, among the program's documents, is opened through
    // `desktop`.
    OptionsPanel(OptionsBoxes boxes, DesktopOpener& desktop);

    // The settings object the boxes write to; set when the main window is
    // first shown (nullptr: nothing is written).
    void SetIniFile(const SettingsFile* ini) { ini_ = ini; }

    CheckBox& CheckBoxCS;
    CheckBox& CheckBoxBU;
    CheckBox& CheckBoxDV;

    // Each runs after its box changed state and writes its own key from its
    // own box; a failed write escapes.
    void CheckBoxDVClick();
    void CheckBoxBUClick();
    void CheckBoxCSClick();
    // Opens the help page without a word, whatever happens.
    void Label1Click() noexcept;

private:
    void WriteOption(const char* key, const CheckBox& box);

    DesktopOpener& desktop_;
    const SettingsFile* ini_ = nullptr;
};

// The settings file's section, its keys and values.
inline constexpr const char* kOptionsSection = "Options";
inline constexpr const char* kTrue = "True";
inline constexpr const char* kFalse = "False";
// How runs write changed files: "Keep" or "CRLF"; set by hand, never written.
inline constexpr const char* kLineBreaksKey = "LineBreaks";

}  // namespace korv::behaviour
