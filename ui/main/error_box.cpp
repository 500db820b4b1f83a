#include "main/error_box.h"

#include <QString>

#include "main/application_title.h"

std::string ErrorBoxText(std::string message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        message += '.';
    }
    return message;
}

void ShowErrorBox(korv::platform::Prompter& prompter, const std::string& message) {
    const std::string text = ErrorBoxText(message);
    prompter.Error(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())),
                   QString::fromLatin1(kApplicationTitle));
}

void ShowErrorBoxForCurrentException(korv::platform::Prompter& prompter) {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowErrorBox(prompter, error.what());
    } catch (...) {
        ShowErrorBox(prompter, "Unknown error");
    }
}
