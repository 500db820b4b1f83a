#include "progress_meter.h"

#include <cstdio>

namespace korv::cli {

namespace {

std::string Bytes(double bytes) {
    static const char* const kUnits[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    int unit = 0;
    while (bytes >= 1024.0 && unit < 4) {
        bytes /= 1024.0;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", bytes, kUnits[unit]);
    return text;
}

std::string Clock(double seconds) {
    const auto whole = static_cast<long long>(seconds + 0.5);
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    }
    return text;
}

}  // namespace

std::string ProgressText(const RunProgress& progress, std::chrono::steady_clock::duration elapsed,
                         int columns) {
    const double seconds = std::chrono::duration<double>(elapsed).count();
    std::string line = std::to_string(progress.files_done) + "/" +
                       std::to_string(progress.files_total) + " files, " +
                       Bytes(static_cast<double>(progress.bytes_done)) + " read";
    if (seconds > 0.0) {
        line += ", " + Bytes(static_cast<double>(progress.bytes_done) / seconds) + "/s";
    }
    double left = -1.0;
    if (progress.bytes_done > 0 && progress.bytes_total >= progress.bytes_done) {
        left = seconds * static_cast<double>(progress.bytes_total - progress.bytes_done) /
               static_cast<double>(progress.bytes_done);
    } else if (progress.files_done > 0 && progress.files_total >= progress.files_done) {
        left = seconds * static_cast<double>(progress.files_total - progress.files_done) /
               static_cast<double>(progress.files_done);
    }
    if (left >= 0.0) {
        line += ", " + Clock(left) + " left";
    }
    const auto most = static_cast<std::size_t>(columns > 1 ? columns - 1 : 1);
    if (line.size() > most) {
        line.resize(most);
    }
    return line;
}

}  // namespace korv::cli
