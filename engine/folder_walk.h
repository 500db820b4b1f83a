#pragma once

#include <string>
#include <vector>

namespace korv {

// Which entries a folder walk takes.
struct WalkRules {
    bool hidden = false;                // enter folders whose name begins with "."
    std::vector<std::string> includes;  // file-name patterns; none: every file
    std::vector<std::string> excludes;  // name patterns of files and folders left out
};

// A folder a walk could not read, and the system's reason.
struct UnreadableFolder {
    std::string path;
    std::string reason;
};

// What a walk found: the files in walk order, and the folders it could
// not read.
struct WalkFindings {
    std::vector<std::string> files;
    std::vector<UnreadableFolder> unreadable;
};

// Walks the folder `root`: each folder's entries in the byte order of their
// names, a folder's files at its place in that order. Takes regular files
// and links to them; never follows a link to a folder, never enters a
// hidden folder unless the rules say so, nor an excluded one. Paths are
// `root` as given joined with the names, byte for byte.
void WalkFolder(const std::string& root, const WalkRules& rules, WalkFindings& findings);

}  // namespace korv
