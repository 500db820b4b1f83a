#include <langinfo.h>

#include <cerrno>
#include <string>

#include "engine_error.h"
#include "local_clock.h"
#include "time_stamp.h"

namespace korv {

TimeFormat TimeFormat::FromLocale() {
    // Each answer is copied at once: the next call may overwrite it.
    const std::string date_format = nl_langinfo(D_FMT);
    const std::string time_format = nl_langinfo(T_FMT);
    const std::string time_format_ampm = nl_langinfo(T_FMT_AMPM);
    const std::string am = nl_langinfo(AM_STR);
    const std::string pm = nl_langinfo(PM_STR);
    return FromFormats(date_format, time_format, time_format_ampm, am, pm);
}

std::tm LocalTime(std::time_t when) {
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr) {
        throw EngineError(SystemErrorText(errno));
    }
    return local;
}

}  // namespace korv
