#pragma once

#include <stdexcept>
#include <string>

#include "settings_file.h"

namespace korv::platform {

// A settings-file write that failed, with the message UnableToWriteTo.
class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A profile (INI) file addressed by name: every read and every write opens
// the file, does its work and closes it; nothing is held open.
class IniFile final : public behaviour::SettingsFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    [[nodiscard]] const std::string& FileName() const { return path_; }
    // The value of `key` in `section`, or `fallback` when the file, the
    // section or the key is missing.
    [[nodiscard]] std::string ReadString(const std::string& section, const std::string& key,
                                         const std::string& fallback) const override;
    // Writes one key, creating the file and the section when missing.
    // Throws EIniFileException on failure.
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) const override;

private:
    std::string path_;
};

}  // namespace korv::platform
