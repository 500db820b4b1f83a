#pragma once

#include <cstdio>
#include <string>

namespace korv::cli {

// What korv-cli asks of the terminal and the operating system, in one
// place, so each system has one implementation file of its own.

// Whether `stream` is a terminal (colour, the progress line).
[[nodiscard]] bool IsTerminal(std::FILE* stream);
// The width of the terminal behind `stream`, in columns; 80 when unknown.
[[nodiscard]] int TerminalColumns(std::FILE* stream);
// All of standard input, its bytes exactly. Throws korv::EngineError.
[[nodiscard]] std::string ReadStandardInput();

}  // namespace korv::cli
