#pragma once

#include <stdexcept>
#include <string>

#include "settings_file.h"

namespace korv::winui {

// A settings-file write the system refused, with the message UnableToWriteTo.
class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A profile (INI) file through the system's own profile reader and writer:
// every read and every write opens the file by name and closes it again.
class ProfileSettingsFile final : public behaviour::SettingsFile {
public:
    // A relative `path` is taken from the current folder now: the profile
    // functions would otherwise look for a bare name in the Windows folder.
    explicit ProfileSettingsFile(std::string path);

    [[nodiscard]] const std::string& FileName() const { return path_; }

    // At most 2047 bytes of the value; a longer one comes back cut.
    [[nodiscard]] std::string ReadString(const std::string& section, const std::string& key,
                                         const std::string& fallback) const override;
    // Throws EIniFileException when the system reports the write failed.
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) const override;

private:
    std::string path_;
};

}  // namespace korv::winui
