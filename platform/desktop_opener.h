#pragma once

#include <QUrl>
#include <string>

#include "launchers.h"

namespace korv::platform {

using behaviour::DesktopOpener;

// The address the desktop is handed for `target`: a file address for an
// absolute path (blanks and '#' stay part of the name), else `target` as an
// address of its own.
[[nodiscard]] QUrl DesktopUrl(const std::string& target);

// The opener in use: the desktop's own unless a test installed another.
[[nodiscard]] DesktopOpener& CurrentDesktopOpener();

// An opener that hands each target to the current opener of the moment.
[[nodiscard]] DesktopOpener& DesktopOpenerInUse();

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
