#include "ini_file.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>

namespace korv::platform {

namespace {
constexpr DWORD kValueBuffer = 2048;  // 2047 characters and the terminating zero
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    std::vector<char> buffer(kValueBuffer);
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                       buffer.data(), kValueBuffer, path_.c_str());
    return std::string(buffer.data(), n);
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) const {
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str())) {
        throw EIniFileException(behaviour::UnableToWriteTo(path_));
    }
}

}  // namespace korv::platform

#else

#include <sys/stat.h>

#include <cerrno>
#include <optional>

#include "engine_error.h"
#include "file_ops.h"
#include "ini_text.h"

namespace korv::platform {

namespace {

// The file's bytes, or nothing when it does not exist. Throws EngineError
// when it exists but cannot be read.
std::optional<std::string> LoadIfPresent(const std::string& path) {
    try {
        return korv::ReadWholeFile(path);
    } catch (const korv::EngineError&) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) {
            return std::nullopt;
        }
        throw;
    }
}

}  // namespace

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    std::optional<std::string> bytes;
    try {
        bytes = LoadIfPresent(path_);
    } catch (const korv::EngineError&) {
        // An unreadable file reads like a missing one.
    }
    const IniText text(bytes.value_or(std::string()));
    return CutToValueLimit(text.Find(section, key).value_or(fallback));
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) const {
    const std::string failure = behaviour::UnableToWriteTo(korv::AbsolutePath(path_));
    try {
        // An existing file we cannot read is not overwritten: that would
        // lose its other sections.
        IniText text(LoadIfPresent(path_).value_or(std::string()));
        text.Set(section, key, value);
        korv::ReplaceWholeFile(path_, text.Bytes());
    } catch (const korv::EngineError&) {
        throw EIniFileException(failure);
    }
}

}  // namespace korv::platform

#endif
