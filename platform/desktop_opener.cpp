#include "desktop_opener.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <QDesktopServices>
#endif

#include <QString>

namespace korv::platform {

namespace {

class SystemDesktopOpener final : public DesktopOpener {
public:
    void Open(const std::string& target) override {
#ifdef _WIN32
        ShellExecuteA(GetDesktopWindow(), "open", target.c_str(), nullptr, nullptr, 0);
#else
        const QString text =
            QString::fromLocal8Bit(target.data(), static_cast<qsizetype>(target.size()));
        // A path is handed over as a file address; anything else is an
        // address already ("https://...", "mailto:...").
        const QUrl url = text.startsWith('/') ? QUrl::fromLocalFile(text) : QUrl(text);
        QDesktopServices::openUrl(url);
#endif
    }
};

SystemDesktopOpener& SystemOpener() {
    static SystemDesktopOpener opener;
    return opener;
}

DesktopOpener*& Current() {
    static DesktopOpener* current = &SystemOpener();
    return current;
}

class ForwardingOpener final : public DesktopOpener {
public:
    void Open(const std::string& target) override { CurrentDesktopOpener().Open(target); }
};

}  // namespace

QUrl DesktopUrl(const std::string& target) {
    const QString text =
        QString::fromLocal8Bit(target.data(), static_cast<qsizetype>(target.size()));
    return text.startsWith('/') ? QUrl::fromLocalFile(text) : QUrl(text);
}

DesktopOpener& CurrentDesktopOpener() {
    return *Current();
}

DesktopOpener& DesktopOpenerInUse() {
    static ForwardingOpener opener;
    return opener;
}

ScopedDesktopOpener::ScopedDesktopOpener(DesktopOpener& opener) : previous_(Current()) {
    Current() = &opener;
}

ScopedDesktopOpener::~ScopedDesktopOpener() {
    Current() = previous_;
}

}  // namespace korv::platform
