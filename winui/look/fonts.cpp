#include "look/fonts.h"

#include <cstring>

#include "controls.h"
#include "support/last_error.h"

UniqueFont MakeFont(const char* face, int pixel_height, int weight, BYTE charset) {
    LOGFONTA font{};
    // A negative height asks for the character height, without the
    // internal leading.
    font.lfHeight = -pixel_height;
    font.lfWeight = weight;
    font.lfCharSet = charset;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    HFONT handle = ::CreateFontIndirectA(&font);
    if (handle == nullptr) {
        ThrowLastError();
    }
    return UniqueFont(handle);
}

UniqueFont FormFont() {
    return MakeFont("MS Sans Serif", 11, FW_NORMAL, DEFAULT_CHARSET);
}

UniqueFont BoldFormFont() {
    return MakeFont("MS Sans Serif", 11, FW_BOLD, DEFAULT_CHARSET);
}

UniqueFont MemoFont() {
    return MakeFont("Courier New", 11, FW_NORMAL, DEFAULT_CHARSET);
}

UniqueFont ListFont() {
    return MakeFont("Times New Roman", 13, FW_NORMAL, TURKISH_CHARSET);
}

UniqueFont StyledFont(HFONT font, unsigned styles) {
    LOGFONTA look{};
    if (font == nullptr || ::GetObjectA(font, sizeof look, &look) == 0) {
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof look, &look);
    }
    using namespace korv::behaviour;
    look.lfWeight = (styles & kBold) != 0 ? FW_BOLD : FW_NORMAL;
    look.lfItalic = (styles & kItalic) != 0 ? TRUE : FALSE;
    look.lfUnderline = (styles & kUnderline) != 0 ? TRUE : FALSE;
    look.lfStrikeOut = (styles & kStrikeOut) != 0 ? TRUE : FALSE;
    HFONT handle = ::CreateFontIndirectA(&look);
    if (handle == nullptr) {
        ThrowLastError();
    }
    return UniqueFont(handle);
}
