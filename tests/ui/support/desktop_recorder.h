#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "desktop_opener.h"

namespace korv::test {

// Stands in for the desktop while it lives: records every target the
// windows ask to open, and can fail each request to prove it is swallowed.
class DesktopRecorder final : public korv::platform::DesktopOpener {
public:
    explicit DesktopRecorder(bool fail = false) : fail_(fail), scope_(*this) {}

    void Open(const std::string& target) override {
        opened.push_back(target);
        if (fail_) {
            throw std::runtime_error("the desktop refused");
        }
    }

    std::vector<std::string> opened;

private:
    bool fail_;
    korv::platform::ScopedDesktopOpener scope_;
};

}  // namespace korv::test
