#include <cstring>

#include "engine_error.h"
#include "local_clock.h"
#include "regional_settings.h"

namespace korv {

TimeFormat TimeFormat::FromLocale() {
    return win32::TimeFormatOf(LOCALE_USER_DEFAULT);
}

std::tm LocalTime(std::time_t when) {
    std::tm local{};
    if (const errno_t error = localtime_s(&local, &when); error != 0) {
        throw EngineError(WithoutTrailingStops(std::strerror(error)));
    }
    return local;
}

}  // namespace korv
