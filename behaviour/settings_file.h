#pragma once

#include <string>

namespace korv::behaviour {

// A profile (INI) settings file addressed by name.
class SettingsFile {
public:
    virtual ~SettingsFile() = default;

    // The value of `key` in `section`, or `fallback` when the file, the
    // section or the key is missing.
    [[nodiscard]] virtual std::string ReadString(const std::string& section, const std::string& key,
                                                 const std::string& fallback) const = 0;
    // Writes one key at once, creating the file and the section when
    // missing. Throws with UnableToWriteTo(path) when that fails.
    virtual void WriteString(const std::string& section, const std::string& key,
                             const std::string& value) const = 0;
};

// The message of a failed write of the settings file at `path`, the same
// whichever window system writes it.
[[nodiscard]] inline std::string UnableToWriteTo(const std::string& path) {
    return "Unable to write to " + path;
}

}  // namespace korv::behaviour
