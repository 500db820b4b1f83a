#include "profile_settings_file.h"

#include <windows.h>

#include <utility>
#include <vector>

namespace korv::winui {

namespace {

constexpr DWORD kValueBuffer = 2048;  // 2047 bytes and the terminating zero

std::string FullPath(std::string path) {
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return path;  // the profile functions report what is wrong with it
    }
    std::vector<char> full(needed);
    const DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return path;
    }
    return std::string(full.data(), length);
}

}  // namespace

ProfileSettingsFile::ProfileSettingsFile(std::string path) : path_(FullPath(std::move(path))) {}

std::string ProfileSettingsFile::ReadString(const std::string& section, const std::string& key,
                                            const std::string& fallback) const {
    std::vector<char> buffer(kValueBuffer, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                                  buffer.data(), kValueBuffer, path_.c_str());
    return std::string(buffer.data(), length);
}

void ProfileSettingsFile::WriteString(const std::string& section, const std::string& key,
                                      const std::string& value) const {
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str())) {
        throw EIniFileException(behaviour::UnableToWriteTo(path_));
    }
}

}  // namespace korv::winui
