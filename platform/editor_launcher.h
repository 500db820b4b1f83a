#pragma once

#include <string>
#include <vector>

#include "launchers.h"

namespace korv::platform {

// The editor of the running desktop: NOTEPAD.EXE from the Windows
// directory on Windows; elsewhere the default application for plain text
// (text/plain), or the desktop's generic opener when none is set up.
class SystemEditorLauncher final : public behaviour::EditorLauncher {
public:
    void OpenInEditor(const std::string& path) override;
};

// The command line SystemEditorLauncher starts for `path` on a freedesktop
// system, read from the XDG lists of default applications and the desktop
// entries they name (XDG_CONFIG_HOME, XDG_CONFIG_DIRS, XDG_DATA_HOME,
// XDG_DATA_DIRS, XDG_CURRENT_DESKTOP are honoured); "xdg-open <path>" when
// no usable entry is found.
[[nodiscard]] std::vector<std::string> TextEditorCommand(const std::string& path);

}  // namespace korv::platform
