#include "folder_walk.h"

#include <algorithm>

#include "folder_listing.h"
#include "glob_match.h"
#include "path_syntax.h"

namespace korv {

namespace {

bool MatchesAny(const std::vector<std::string>& patterns, const std::string& name) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&name](const std::string& pattern) { return GlobMatch(pattern, name); });
}

// The entries of one folder worth a look, sorted by name.
std::vector<FolderItem> EntriesOf(const std::string& folder, const WalkRules& rules,
                                  WalkFindings& findings) {
    std::vector<FolderItem> items;
    std::string problem;
    if (!ListFolder(folder, items, problem)) {
        findings.unreadable.push_back({folder, problem});
    }
    std::erase_if(items, [&rules](const FolderItem& item) {
        if (MatchesAny(rules.excludes, item.name)) {
            return true;
        }
        switch (item.kind) {
            case EntryKind::Folder:
                return item.name.front() == '.' && !rules.hidden;
            case EntryKind::File:
                return !rules.includes.empty() && !MatchesAny(rules.includes, item.name);
            default:
                return true;
        }
    });
    std::sort(items.begin(), items.end(),
              [](const FolderItem& a, const FolderItem& b) { return a.name < b.name; });
    return items;
}

// The system's own separator, so a walked path splits into its parts (the
// file-name variables) like a path the user gave.
std::string Joined(const std::string& folder, const std::string& name) {
    return !folder.empty() && IsPathSeparatorAt(folder, folder.size() - 1)
               ? folder + name
               : folder + DirSeparator() + name;
}

void Walk(const std::string& folder, const WalkRules& rules, WalkFindings& findings) {
    for (const FolderItem& entry : EntriesOf(folder, rules, findings)) {
        std::string path = Joined(folder, entry.name);
        if (entry.kind == EntryKind::Folder) {
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

}  // namespace korv
