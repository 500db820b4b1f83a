#pragma once

#include <string>

#include "controls.h"
#include "launchers.h"

namespace korv::behaviour {

// What the about box does: the link under the mouse lights up red and
// underlined, the other stays blue and plain; a click opens the link.
class AboutBox {
public:
    // Both links start blue with no style.
    AboutBox(StyledLabel& web_link, StyledLabel& mail_link, DesktopOpener& desktop);

    // The box itself and every control but the links, the bevel and Label8.
    void FormMouseMove();
    void Label5MouseMove();
    void Label7MouseMove();
    // Open the link without a word, whatever happens.
    void Label5Click() noexcept;
    void Label7Click() noexcept;

private:
    void Open(const std::string& target) noexcept;

    StyledLabel& Label5;
    StyledLabel& Label7;
    DesktopOpener& desktop_;
};

// The web link's hint, its click target; the mail link's hint.
[[nodiscard]] std::string WebLinkHint();
[[nodiscard]] std::string MailLinkHint();

}  // namespace korv::behaviour
