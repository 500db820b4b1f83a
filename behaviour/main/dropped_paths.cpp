#include "main/dropped_paths.h"

#include <algorithm>

#include "binary_sniff.h"
#include "folder_listing.h"
#include "folder_walk.h"

namespace korv::behaviour {

namespace {

DroppedPath WalkDroppedFolder(const std::string& folder) {
    // korv-cli's -R without options: no hidden folders, every name.
    const korv::WalkRules rules;
    korv::WalkFindings found;
    korv::WalkFolder(folder, rules, found);
    DroppedPath dropped;
    std::erase_if(found.files, [](const std::string& file) { return korv::LooksBinary(file); });
    dropped.entries = std::move(found.files);
    for (korv::UnreadableFolder& unreadable : found.unreadable) {
        dropped.unreadable.push_back(std::move(unreadable.path));
    }
    return dropped;
}

}  // namespace

std::vector<DroppedPath> ExpandDrop(const std::vector<std::string>& paths) {
    std::vector<DroppedPath> dropped;
    dropped.reserve(paths.size());
    for (const std::string& path : paths) {
        // A file named by the user is added as it is, binary or not: its
        // run says what is wrong with it.
        dropped.push_back(korv::IsFolder(path) ? WalkDroppedFolder(path) : DroppedPath{{path}, {}});
    }
    return dropped;
}

std::size_t EntriesAdded(const std::vector<DroppedPath>& dropped) {
    std::size_t count = 0;
    for (const DroppedPath& path : dropped) {
        count += path.entries.size();
    }
    return count;
}

}  // namespace korv::behaviour
