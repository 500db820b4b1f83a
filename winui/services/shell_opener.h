#pragma once

#include "launchers.h"

namespace korv::winui {

// Opens a document or an address with the program the shell associates
// with it ("open", owned by the desktop window); the outcome is ignored.
class ShellOpener final : public behaviour::DesktopOpener {
public:
    void Open(const std::string& target) override;
};

}  // namespace korv::winui
