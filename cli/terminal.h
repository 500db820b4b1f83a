#pragma once

#include <cstdio>
#include <string>

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

}  // namespace korv::cli
