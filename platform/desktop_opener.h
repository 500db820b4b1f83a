#pragma once

#include <QUrl>
#include <string>

namespace korv::platform {

// Opens a document or an address (web page, mail link) with the program
// the desktop associates with it. The outcome is never looked at.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // `target` is an absolute file path or an address such as
    // "https://..." or "mailto:...".
    virtual void Open(const std::string& target) = 0;
};

// The address the desktop is handed for `target`: a file address for an
// absolute path (blanks and '#' stay part of the name), else `target` as an
// address of its own.
[[nodiscard]] QUrl DesktopUrl(const std::string& target);

// The opener in use: the desktop's own unless a test installed another.
[[nodiscard]] DesktopOpener& CurrentDesktopOpener();

// Opens `target` through the current opener and swallows every error.
void OpenWithDesktop(const std::string& target) noexcept;

// Puts `opener` in place of the current one for its own lifetime, so a
// test can record what the windows ask the desktop to open.
class ScopedDesktopOpener {
public:
    explicit ScopedDesktopOpener(DesktopOpener& opener);
    ~ScopedDesktopOpener();
    ScopedDesktopOpener(const ScopedDesktopOpener&) = delete;
    ScopedDesktopOpener& operator=(const ScopedDesktopOpener&) = delete;

private:
    DesktopOpener* previous_;
};

}  // namespace korv::platform
