#pragma once

#include <windows.h>

#include "time_stamp.h"

namespace korv::win32 {

// The time stamp's pictures from the regional settings of `locale`:
// LOCALE_SSHORTDATE, and the long time from LOCALE_ITLZERO, LOCALE_ITIME,
// LOCALE_ITIMEMARKPOSN and the designators LOCALE_S1159 and LOCALE_S2359.
[[nodiscard]] TimeFormat TimeFormatOf(LCID locale);

}  // namespace korv::win32
