#include "aboutform/about_box.h"

#include <string>

#include "aboutform/maker.h"
#include "texts.h"

namespace korv::behaviour {

namespace {

// A link's look: its font colour first, then its font style.
void Lit(StyledLabel& link) {
    link.SetFontColour(kRed);
    link.SetFontStyle(kUnderline);
}

void Plain(StyledLabel& link) {
    link.SetFontColour(kBlue);
    link.SetFontStyle(kNoStyle);
}

}  // namespace

AboutBox::AboutBox(StyledLabel& web_link, StyledLabel& mail_link, DesktopOpener& desktop)
    : Label5(web_link), Label7(mail_link), desktop_(desktop) {
    Plain(Label5);
    Plain(Label7);
}

void AboutBox::FormMouseMove() {
    Plain(Label5);
    Plain(Label7);
}

void AboutBox::Label5MouseMove() {
    Lit(Label5);
    Plain(Label7);
}

void AboutBox::Label7MouseMove() {
    Lit(Label7);
    Plain(Label5);
}

void AboutBox::Open(const std::string& target) noexcept {
    try {
        desktop_.Open(target);
    } catch (...) {
        // A link is followed without a word, whatever happens.
    }
}

void AboutBox::Label5Click() noexcept {
    Open(WebLinkHint());
}

void AboutBox::Label7Click() noexcept {
    Open(std::string("mailto:") + maker::kEmail);
}

std::string WebLinkHint() {
    return maker::kWebAddress;
}

std::string MailLinkHint() {
    return std::string(text::kMailHint) + maker::kEmail;
}

}  // namespace korv::behaviour
