#pragma once

#include <string>
#include <vector>

namespace korv {

// What the system tells of folders, for a folder walk: the system layer
// (posix/ or win32/folder_listing.cpp) implements it, and every system
// call it makes asks the fault plan (file_fault.h) first.

// What a folder walk sees of a folder's entry.
enum class EntryKind {
    File,    // a regular file, or a link to one
    Folder,  // a folder itself, never a link to one
    Other,   // a link to a folder, a broken link, a device, a pipe
};

struct FolderItem {
    std::string name;  // its bytes as the system gives them
    EntryKind kind = EntryKind::Other;
};

// The entries of the folder at `path` (without "." and ".."), in the
// system's order, their kinds taken from the listing where it gives them.
// False, with the system's text in `problem`, when it cannot be read.
bool ListFolder(const std::string& path, std::vector<FolderItem>& items, std::string& problem);

// Whether `path` names a folder, through a link: a link to a folder that
// the user names is taken at its word.
[[nodiscard]] bool IsFolder(const std::string& path);

}  // namespace korv
