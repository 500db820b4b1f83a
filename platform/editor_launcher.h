#pragma once

#include <QByteArray>
#include <string>
#include <vector>

namespace korv::platform {

// Shows a file in the desktop's plain-text editor ("Notepad").
class EditorLauncher {
public:
    virtual ~EditorLauncher() = default;
    // Starts the editor on `path`, its exact bytes handed over as one
    // argument. Never waits for the editor; whether it started is not
    // looked at.
    virtual void OpenInEditor(const QByteArray& path) = 0;
};

// The editor of the running desktop: NOTEPAD.EXE from the Windows
// directory on Windows; elsewhere the default application for plain text
// (text/plain), or the desktop's generic opener when none is set up.
class SystemEditorLauncher final : public EditorLauncher {
public:
    void OpenInEditor(const QByteArray& path) override;
};

// The command line SystemEditorLauncher starts for `path` on a freedesktop
// system, read from the XDG lists of default applications and the desktop
// entries they name (XDG_CONFIG_HOME, XDG_CONFIG_DIRS, XDG_DATA_HOME,
// XDG_DATA_DIRS, XDG_CURRENT_DESKTOP are honoured); "xdg-open <path>" when
// no usable entry is found.
[[nodiscard]] std::vector<std::string> TextEditorCommand(const std::string& path);

}  // namespace korv::platform
