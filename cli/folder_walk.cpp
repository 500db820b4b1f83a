#include "folder_walk.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine_error.h"
#include "glob_match.h"

namespace korv::cli {

namespace fs = std::filesystem;

namespace {

bool MatchesAny(const std::vector<std::string>& patterns, const std::string& name) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&name](const std::string& pattern) { return GlobMatch(pattern, name); });
}

struct FolderEntry {
    std::string name;
    bool is_folder = false;
};

// The entries of one folder worth a look, sorted by name.
std::vector<FolderEntry> EntriesOf(const std::string& folder, const WalkRules& rules,
                                   WalkFindings& findings) {
    std::vector<FolderEntry> entries;
    std::error_code error;
    fs::directory_iterator it(fs::path(folder), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        FolderEntry entry;
        entry.name = it->path().filename().string();
        if (MatchesAny(rules.excludes, entry.name)) {
            continue;
        }
        // The types come with the folder's entries; only a link costs a
        // look at what it points to.
        std::error_code type_error;
        const bool link = it->is_symlink(type_error);
        if (!link && it->is_directory(type_error)) {
            if (entry.name.front() == '.' && !rules.hidden) {
                continue;
            }
            entry.is_folder = true;
        } else if (!it->is_regular_file(type_error) ||
                   (!rules.includes.empty() && !MatchesAny(rules.includes, entry.name))) {
            // A link to a folder, a device, a pipe or a name not asked for.
            continue;
        }
        entries.push_back(std::move(entry));
    }
    if (error) {
        findings.problems.push_back("Cannot read folder \"" + AbsolutePath(folder) + "\". " +
                                    error.message());
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

std::string Joined(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + '/' + name;
}

void Walk(const std::string& folder, const WalkRules& rules, WalkFindings& findings) {
    for (const FolderEntry& entry : EntriesOf(folder, rules, findings)) {
        std::string path = Joined(folder, entry.name);
        if (entry.is_folder) {
            Walk(path, rules, findings);
        } else {
            findings.files.push_back(std::move(path));
        }
    }
}

}  // namespace

void WalkFolder(const std::string& root, const WalkRules& rules, WalkFindings& findings) {
    Walk(root, rules, findings);
}

}  // namespace korv::cli
