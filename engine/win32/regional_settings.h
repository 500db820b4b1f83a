#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "time_stamp.h"

namespace korv::win32 {

// The time stamp's pictures from the regional settings of `locale`:
// LOCALE_SSHORTDATE, and the long time from LOCALE_ITLZERO, LOCALE_ITIME,
// LOCALE_ITIMEMARKPOSN and the designators LOCALE_S1159 and LOCALE_S2359.
[[nodiscard]] TimeFormat TimeFormatOf(LCID locale);

// A LOCALE_SSHORTDATE picture as the time stamp's short date: itself where
// it uses only day, month and year numbers, and "m/d/yy" where it names
// days, months or eras (ddd, MMM, g), which the time stamp cannot spell.
[[nodiscard]] std::string ShortDatePicture(std::string_view windows_picture);

}  // namespace korv::win32
