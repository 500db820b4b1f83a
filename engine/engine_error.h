#pragma once

#include <stdexcept>
#include <string>

namespace korv {

// A failure of the engine. Its message is the text the user is shown.
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file refused because it holds a NUL byte, so it is no plain text file.
class NotPlainText : public EngineError {
public:
    using EngineError::EngineError;
};

// "Cannot open file "<absolute path>". <system text>"
[[nodiscard]] EngineError CannotOpenFile(const std::string& path, int errnum);
// "Cannot create file "<absolute path>". <system text>"
[[nodiscard]] EngineError CannotCreateFile(const std::string& path, int errnum);
// "Cannot create folder "<absolute path>". <system text>"
[[nodiscard]] EngineError CannotCreateFolder(const std::string& path, int errnum);
// The same two messages with a text of our own in place of the system's.
[[nodiscard]] EngineError CannotOpenFile(const std::string& path, const std::string& reason);
[[nodiscard]] EngineError CannotCreateFile(const std::string& path, const std::string& reason);
// "Cannot open file "<absolute path>". It holds a NUL byte, ..."
[[nodiscard]] NotPlainText HoldsNulByte(const std::string& path);
// "Cannot open file "<absolute path>". <reason>" for a file refused as no
// plain text.
[[nodiscard]] NotPlainText NoPlainText(const std::string& path, const std::string& reason);
// "Stream write error"
[[nodiscard]] EngineError StreamWriteError();

// The system's text for an error code of the system layer (errno on POSIX,
// a GetLastError code on Windows), with trailing blanks, line breaks and
// full stops cut off.
[[nodiscard]] std::string SystemErrorText(int errnum);
// `text` without its trailing blanks, line breaks and full stops.
[[nodiscard]] std::string WithoutTrailingStops(std::string text);

// The full absolute form of a path, without touching the file system beyond
// reading the working directory.
[[nodiscard]] std::string AbsolutePath(const std::string& path);

}  // namespace korv
