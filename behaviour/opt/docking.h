#pragma once

namespace korv::behaviour {

// Where the options panel and the main window go so the panel stays docked
// at the main window's right edge. All values are screen pixels; widths
// are outer widths.
struct DockPlacement {
    int MainLeft;
    int PanelLeft;
    int PanelTop;
};

// A shown panel that would stick out past the primary screen's right edge
// pushes the main window left (a hidden one never does); the panel then
// sits at the main window's right edge, 191 pixels below its top.
[[nodiscard]] DockPlacement DockPanel(int screen_width, int main_left, int main_top, int main_width,
                                      int panel_width, bool panel_visible);

}  // namespace korv::behaviour
