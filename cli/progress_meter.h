#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace korv::cli {

// How far a run has come, as one line of text:
//   "3/8 files, 192.0 MiB read, 640.0 MiB/s, 0:01 left"
struct RunProgress {
    std::int64_t files_done = 0;
    std::int64_t files_total = 0;
    std::uint64_t bytes_done = 0;
    std::uint64_t bytes_total = 0;
};

// The line for `progress` after `elapsed`, cut to `columns` - 1 bytes so
// that it never wraps. The time left is the bytes still to read at the
// speed so far (by files while no byte has been read); it is left out
// until there is a speed to go by.
[[nodiscard]] std::string ProgressText(const RunProgress& progress,
                                       std::chrono::steady_clock::duration elapsed, int columns);

}  // namespace korv::cli
