#include "file_entries.h"

#include "engine_error.h"
#include "file_ops.h"
#include "filename_list.h"
#include "folder_listing.h"
#include "folder_walk.h"

namespace korv::cli {

std::vector<std::string> NullSeparatedEntries(const std::string& bytes) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        entries.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

namespace {

std::vector<std::string> ListEntries(const CliOptions& options, const std::string& list,
                                     const std::function<std::string()>& read_input) {
    if (list == "-") {
        const std::string bytes = read_input();
        return options.null_separated ? NullSeparatedEntries(bytes) : FilenameListEntries(bytes);
    }
    return options.null_separated ? NullSeparatedEntries(ReadWholeFile(list))
                                  : LoadFilenameList(list);
}

}  // namespace

FileEntries GatherEntries(const CliOptions& options,
                          const std::function<std::string()>& read_input) {
    FileEntries entries;
    for (const std::string& list : options.lists) {
        for (std::string& path : ListEntries(options, list, read_input)) {
            entries.paths.push_back(std::move(path));
            entries.walked.push_back(false);
        }
    }
    const WalkRules rules{options.hidden, options.includes, options.excludes};
    for (const std::string& operand : options.operands) {
        if (!options.recursive || !IsFolder(operand)) {
            entries.paths.push_back(operand);
            entries.walked.push_back(false);
            continue;
        }
        WalkFindings found;
        WalkFolder(operand, rules, found);
        for (std::string& path : found.files) {
            entries.paths.push_back(std::move(path));
            entries.walked.push_back(true);
        }
        for (const UnreadableFolder& folder : found.unreadable) {
            entries.problems.push_back("Cannot read folder \"" + AbsolutePath(folder.path) +
                                       "\". " + folder.reason);
        }
    }
    return entries;
}

}  // namespace korv::cli
