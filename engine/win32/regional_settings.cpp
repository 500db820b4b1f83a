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

TimeFormat TimeFormatOf(LCID locale) {
    return TimeFormat::FromSettings(
        Setting(locale, LOCALE_SSHORTDATE), Setting(locale, LOCALE_ITLZERO) == "1",
        Setting(locale, LOCALE_ITIME) == "0", Setting(locale, LOCALE_ITIMEMARKPOSN) == "1",
        Setting(locale, LOCALE_S1159), Setting(locale, LOCALE_S2359));
}

}  // namespace korv::win32
