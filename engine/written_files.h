#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "file_ops.h"

namespace korv {

// The files a pass may write in place, as named before and after it
// writes: a pass planned ahead that read one of them read what may since
// have changed.
class WrittenFiles {
public:
    void Clear() { files_.clear(); }
    void Note(const std::string& path, bool follow_links) {
        if (const std::optional<FileVersion> version = VersionOf(path, follow_links)) {
            files_.push_back(version->file);
        }
    }
    [[nodiscard]] bool Holds(const FileIdentity& file) const {
        return std::find(files_.begin(), files_.end(), file) != files_.end();
    }

private:
    std::vector<FileIdentity> files_;
};

}  // namespace korv
