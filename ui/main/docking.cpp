#include "main/docking.h"

DockPlacement DockPanel(int screen_width, QPoint main_pos, int main_width, int panel_width,
                        bool panel_visible) {
    int main_left = main_pos.x();
    if (panel_visible && main_left + main_width + panel_width > screen_width) {
        main_left = screen_width - (main_width + panel_width);
    }
    return {main_left, QPoint(main_left + main_width, main_pos.y() + 191)};
}
