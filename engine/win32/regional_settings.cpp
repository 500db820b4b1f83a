#include "regional_settings.h"

#include <string>

namespace korv::win32 {

namespace {

// One regional setting as text in the ANSI code page (the program's text),
// not the locale's own; empty when the locale gives none.
std::string Setting(LCID locale, LCTYPE type) {
    type |= LOCALE_USE_CP_ACP;
    const int size = GetLocaleInfoA(locale, type, nullptr, 0);
    if (size <= 1) {
        return {};
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    if (GetLocaleInfoA(locale, type, text.data(), size) == 0) {
        return {};
    }
    text.resize(static_cast<std::size_t>(size) - 1);  // its terminator
    return text;
}

}  // namespace

std::string ShortDatePicture(std::string_view windows_picture) {
    bool quoted = false;
    for (std::size_t i = 0; i < windows_picture.size(); ++i) {
        const char c = windows_picture[i];
        if (c == '\'') {
            quoted = !quoted;
            continue;
        }
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (quoted || !letter) {
            continue;
        }
        std::size_t run = 1;
        while (i + run < windows_picture.size() && windows_picture[i + run] == c) {
            ++run;
        }
        const bool number = c == 'y' || ((c == 'd' || c == 'M') && run <= 2);
        if (!number) {
            return "m/d/yy";
        }
        i += run - 1;
    }
    return windows_picture.empty() ? "m/d/yy" : std::string(windows_picture);
}

TimeFormat TimeFormatOf(LCID locale) {
    return TimeFormat::FromSettings(ShortDatePicture(Setting(locale, LOCALE_SSHORTDATE)),
                                    Setting(locale, LOCALE_ITLZERO) == "1",
                                    Setting(locale, LOCALE_ITIME) == "0",
                                    Setting(locale, LOCALE_ITIMEMARKPOSN) == "1",
                                    Setting(locale, LOCALE_S1159), Setting(locale, LOCALE_S2359));
}

}  // namespace korv::win32
