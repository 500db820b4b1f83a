#pragma once

#include <memory>
#include <string>

#include "settings_file.h"

namespace korv::behaviour {

// A settings file in a folder of the user's that may not be there yet:
// every write makes the folder first, with its parents, so a failure names
// that folder and the system's reason (as EngineError) rather than the file.
class SettingsInFolder final : public SettingsFile {
public:
    SettingsInFolder(std::unique_ptr<SettingsFile> file, std::string folder);

    [[nodiscard]] std::string ReadString(const std::string& section, const std::string& key,
                                         const std::string& fallback) const override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) const override;

private:
    std::unique_ptr<SettingsFile> file_;
    std::string folder_;
};

}  // namespace korv::behaviour
