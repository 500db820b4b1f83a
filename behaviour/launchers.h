#pragma once

#include <string>

namespace korv::behaviour {

// Shows a file in the desktop's plain-text editor ("Notepad").
class EditorLauncher {
public:
    virtual ~EditorLauncher() = default;
    // Starts the editor on `path`, its exact bytes handed over as one
    // argument. Never waits for the editor; whether it started is not
    // looked at.
    virtual void OpenInEditor(const std::string& path) = 0;
};

// Opens a document or an address (web page, mail link) with the program
// the desktop associates with it. The outcome is never looked at.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // `target` is an absolute file path or an address such as
    // "https://..." or "mailto:...".
    virtual void Open(const std::string& target) = 0;
};

}  // namespace korv::behaviour
