#include "main/korv_application.h"

#include <cstdio>
#include <exception>

#include "main/error_box.h"

KorvApplication::KorvApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KorvApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (prompter_ != nullptr) {
            ShowErrorBoxForCurrentException(*prompter_);
        } else {
            try {
                throw;
            } catch (const std::exception& error) {
                std::fprintf(stderr, "%s\n", ErrorBoxText(error.what()).c_str());
            } catch (...) {
                std::fprintf(stderr, "Unknown error\n");
            }
        }
        return true;
    }
}
