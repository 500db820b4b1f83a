#include "main/error_box.h"

#include <exception>

#include "texts.h"

namespace korv::behaviour {

std::string ErrorBoxText(std::string message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        message += '.';
    }
    return message;
}

void ShowErrorBox(Prompter& prompter, const std::string& message) {
    prompter.Error(ErrorBoxText(message), text::kApplicationTitle);
}

void ShowErrorBoxForCurrentException(Prompter& prompter) {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowErrorBox(prompter, error.what());
    } catch (...) {
        ShowErrorBox(prompter, text::kUnknownError);
    }
}

}  // namespace korv::behaviour
