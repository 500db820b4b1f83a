#include "editor_launcher.h"

#include "detached_process.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "desktop_entry.h"
#endif

namespace korv::platform {

#ifdef _WIN32

std::vector<std::string> TextEditorCommand(const std::string& path) {
    std::vector<char> buffer(MAX_PATH + 1);
    const UINT n = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    std::string windows_dir(buffer.data(), n < buffer.size() ? n : 0);
    return {windows_dir + "\\NOTEPAD.EXE", path};
}

#else

namespace {

constexpr const char* kPlainText = "text/plain";

std::optional<std::string> ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::string(value) : fallback;
}

std::vector<std::string> SplitColons(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(':', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > start) {
            parts.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

std::string Home() {
    return EnvOr("HOME", "/");
}

std::string ConfigHome() {
    return EnvOr("XDG_CONFIG_HOME", Home() + "/.config");
}

std::string DataHome() {
    return EnvOr("XDG_DATA_HOME", Home() + "/.local/share");
}

std::vector<std::string> ConfigDirs() {
    return SplitColons(EnvOr("XDG_CONFIG_DIRS", "/etc/xdg"));
}

std::vector<std::string> DataDirs() {
    return SplitColons(EnvOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share"));
}

// The lists of default applications, most important first.
std::vector<std::string> MimeAppsLists() {
    std::vector<std::string> desktops;
    for (std::string name : SplitColons(EnvOr("XDG_CURRENT_DESKTOP", ""))) {
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        desktops.push_back(name);
    }
    std::vector<std::string> dirs{ConfigHome()};
    for (const std::string& dir : ConfigDirs()) {
        dirs.push_back(dir);
    }
    dirs.push_back(DataHome() + "/applications");
    for (const std::string& dir : DataDirs()) {
        dirs.push_back(dir + "/applications");
    }
    std::vector<std::string> lists;
    for (const std::string& dir : dirs) {
        for (const std::string& desktop : desktops) {
            lists.push_back(dir + "/" + desktop + "-mimeapps.list");
        }
        lists.push_back(dir + "/mimeapps.list");
    }
    return lists;
}

// The desktop entry files of the applications that open plain text, the
// user's choice first, then the system's, then every associated one.
std::vector<std::string> CandidateIds() {
    std::vector<std::string> ids;
    const auto add_from = [&ids](const std::string& file, const char* group) {
        if (const auto text = ReadText(file)) {
            if (const auto value = DesktopFileValue(*text, group, kPlainText)) {
                for (std::string& id : SplitDesktopList(*value)) {
                    ids.push_back(std::move(id));
                }
            }
        }
    };
    const std::vector<std::string> lists = MimeAppsLists();
    for (const std::string& list : lists) {
        add_from(list, "Default Applications");
    }
    for (const std::string& list : lists) {
        add_from(list, "Added Associations");
    }
    add_from(DataHome() + "/applications/mimeinfo.cache", "MIME Cache");
    for (const std::string& dir : DataDirs()) {
        add_from(dir + "/applications/mimeinfo.cache", "MIME Cache");
    }
    return ids;
}

std::optional<std::string> DesktopEntryText(const std::string& id) {
    std::vector<std::string> dirs{DataHome()};
    const std::vector<std::string> data_dirs = DataDirs();
    dirs.insert(dirs.end(), data_dirs.begin(), data_dirs.end());
    for (const std::string& dir : dirs) {
        if (auto text = ReadText(dir + "/applications/" + id)) {
            return text;
        }
    }
    return std::nullopt;
}

// The command of one desktop entry, when it is an application we can start
// without a terminal.
std::optional<std::vector<std::string> > CommandOf(const std::string& id, const std::string& path) {
    const auto text = DesktopEntryText(id);
    if (!text) {
        return std::nullopt;
    }
    if (DesktopFileValue(*text, "Desktop Entry", "Terminal") == std::string("true") ||
        DesktopFileValue(*text, "Desktop Entry", "Hidden") == std::string("true")) {
        return std::nullopt;
    }
    const auto exec = DesktopFileValue(*text, "Desktop Entry", "Exec");
    if (!exec) {
        return std::nullopt;
    }
    auto argv = ExecCommandFor(*exec, path);
    if (!argv || FindProgram(argv->front()).empty()) {
        return std::nullopt;
    }
    return argv;
}

}  // namespace

std::vector<std::string> TextEditorCommand(const std::string& path) {
    for (const std::string& id : CandidateIds()) {
        if (auto argv = CommandOf(id, path)) {
            return *argv;
        }
    }
    return {"xdg-open", path};
}

#endif

void SystemEditorLauncher::OpenInEditor(const std::string& path) {
    // The outcome is not looked at: a missing editor reports nothing.
    StartDetached(TextEditorCommand(path));
}

}  // namespace korv::platform
