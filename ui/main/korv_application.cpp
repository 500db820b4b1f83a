#include "main/korv_application.h"

#include <cstdio>
#include <exception>

#include "main/error_box.h"
#include "texts.h"

KorvApplication::KorvApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KorvApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (prompter_ != nullptr) {
            korv::behaviour::ShowErrorBoxForCurrentException(*prompter_);
        } else {
            try {
                throw;
            } catch (const std::exception& error) {
                std::fprintf(stderr, "%s\n", korv::behaviour::ErrorBoxText(error.what()).c_str());
            } catch (...) {
                std::fprintf(stderr, "%s\n", korv::behaviour::text::kUnknownError);
            }
        }
        return true;
    }
}
