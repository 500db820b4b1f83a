#pragma once

#include <QApplication>

namespace korv::behaviour {
class Prompter;
}

// The application object. Its message loop shows what escapes an event
// handler in the error box and goes on running.
class KorvApplication : public QApplication {
    Q_OBJECT

public:
    KorvApplication(int& argc, char** argv);

    // Where the error box is shown; without one an escaping error is only
    // written to the standard error stream.
    void SetPrompter(korv::behaviour::Prompter* prompter) { prompter_ = prompter; }

    // How long a hint stays visible, in milliseconds.
    void SetHintHidePause(int milliseconds) { hint_hide_pause_ = milliseconds; }
    [[nodiscard]] int HintHidePause() const { return hint_hide_pause_; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    korv::behaviour::Prompter* prompter_ = nullptr;
    int hint_hide_pause_ = 2500;
};
