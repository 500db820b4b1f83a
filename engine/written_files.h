#pragma once

#include <optional>
#include <set>
#include <string>
#include <utility>

#include "file_ops.h"

namespace korv {

// The files the run's passes wrote, as named before and after each wrote:
// a pass planned ahead that read one of them may have read what has
// changed since.
class WrittenFiles {
public:
    void Note(const std::string& path, bool follow_links) {
        if (const std::optional<FileVersion> version = VersionOf(path, follow_links)) {
            files_.emplace(version->file.device, version->file.inode);
        }
    }
    [[nodiscard]] bool Holds(const FileIdentity& file) const {
        return files_.count({file.device, file.inode}) != 0;
    }

private:
    std::set<std::pair<std::uint64_t, std::uint64_t>> files_;
};

}  // namespace korv
