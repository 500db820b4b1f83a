#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace korv::cli {

// What korv-cli asks of the terminal and the operating system, in one
// place, so each system has one implementation file of its own.

// Makes standard output and standard error pass their bytes exactly, with
// no LF turned into CR LF on the way, so that a diff written to a pipe or a
// file is the bytes the run would write.
void UseExactOutput();
// Whether `stream` is a terminal (colour, the progress line).
[[nodiscard]] bool IsTerminal(std::FILE* stream);
// The width of the terminal behind `stream`, in columns; 80 when unknown.
[[nodiscard]] int TerminalColumns(std::FILE* stream);
// All of standard input, its bytes exactly. Throws korv::EngineError.
[[nodiscard]] std::string ReadStandardInput();

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

}  // namespace korv::cli
