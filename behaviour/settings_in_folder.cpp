#include "settings_in_folder.h"

#include <utility>

#include "make_folder.h"

namespace korv::behaviour {

SettingsInFolder::SettingsInFolder(std::unique_ptr<SettingsFile> file, std::string folder)
    : file_(std::move(file)), folder_(std::move(folder)) {}

std::string SettingsInFolder::ReadString(const std::string& section, const std::string& key,
                                         const std::string& fallback) const {
    // A folder that is not there holds no settings: nothing to make.
    return file_->ReadString(section, key, fallback);
}

void SettingsInFolder::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value) const {
    korv::MakeFolder(folder_);
    file_->WriteString(section, key, value);
}

}  // namespace korv::behaviour
