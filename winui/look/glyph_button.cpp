#include "look/glyph_button.h"

#include <string>

#include "look/dialog_glyphs.h"
#include "support/window_text.h"

namespace korv::winui {

namespace {

constexpr int kGlyphSpacing = 4;

}  // namespace

void DrawCheckGlyphButton(const DRAWITEMSTRUCT& item, bool is_default) {
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    if (is_default) {
        FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&face, -1, -1);
    }
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    const std::string caption = WindowTextA(item.hwndItem);
    const UINT prefix = (item.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
    RECT measure{0, 0, 0, 0};
    DrawTextA(dc, caption.c_str(), -1, &measure, DT_SINGLELINE | DT_CALCRECT | prefix);
    const int text_width = measure.right - measure.left;
    const int text_height = measure.bottom - measure.top;
    const int width = face.right - face.left;
    const int height = face.bottom - face.top;
    const int shift = pressed ? 1 : 0;
    const int left =
        face.left + (width - (kCheckGlyphSize + kGlyphSpacing + text_width)) / 2 + shift;
    DrawCheckGlyph(dc, left, face.top + (height - kCheckGlyphSize) / 2 + shift, enabled);

    RECT text{left + kCheckGlyphSize + kGlyphSpacing, face.top + (height - text_height) / 2 + shift,
              0, 0};
    text.right = text.left + text_width;
    text.bottom = text.top + text_height;
    SetBkMode(dc, TRANSPARENT);
    if (enabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | prefix);
    } else {
        // Engraved: a white copy one pixel down and right under the grey.
        RECT shadow = text;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, caption.c_str(), -1, &shadow, DT_SINGLELINE | prefix);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | prefix);
    }
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace korv::winui
