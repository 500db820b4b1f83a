#include "read_from_start.h"

namespace korv {

std::optional<std::size_t> ReadFromStart(const fs::File& file, char* into, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        std::size_t got = 0;
        if (!fs::ReadAt(file, static_cast<std::int64_t>(done), into + done, size - done, got)) {
            return std::nullopt;
        }
        if (got == 0) {
            break;  // the end of the file
        }
        done += got;
    }
    return done;
}

}  // namespace korv
