#include "opt/docking.h"

namespace korv::behaviour {

DockPlacement DockPanel(int screen_width, int main_left, int main_top, int main_width,
                        int panel_width, bool panel_visible) {
    if (panel_visible && main_left + main_width + panel_width > screen_width) {
        main_left = screen_width - (main_width + panel_width);
    }
    return {main_left, main_left + main_width, main_top + 191};
}

}  // namespace korv::behaviour
