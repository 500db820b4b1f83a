#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace korv::behaviour {

// What one dropped path adds to the file list: the path itself when it
// names no folder; for a folder, the files korv-cli's -R would walk to,
// less those that look binary; and the folders the walk could not read.
struct DroppedPath {
    std::vector<std::string> entries;
    std::vector<std::string> unreadable;
};

// What each of `paths` adds, in the order dropped. Reads the file system
// only, never the window, so it may run on another thread while the window
// handles its events.
[[nodiscard]] std::vector<DroppedPath> ExpandDrop(const std::vector<std::string>& paths);

// How many entries the drop adds in all.
[[nodiscard]] std::size_t EntriesAdded(const std::vector<DroppedPath>& dropped);

}  // namespace korv::behaviour
