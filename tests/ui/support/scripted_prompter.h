#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "prompter.h"

namespace korv::test {

// A file dialog's set-up as the user would see it.
struct ShownDialog {
    QString Filter;
    int FilterIndex = 1;
    QString FileName;
    QString DefaultExt;
};

// Answers the program's message boxes and file dialogs from a script and
// records every one it was shown, its texts decoded as a window shows them.
// A box or dialog that needs an answer and finds none counts as unexpected
// and is answered No or cancelled.
class ScriptedPrompter final : public korv::behaviour::Prompter {
public:
    enum class Kind { Ask, Error, Message, OpenMany, OpenOne, Save };

    struct Call {
        Kind kind;
        QString text;
        QString caption;
        ShownDialog dialog;
    };

    // The answer to the next question.
    void AnswerAsk(bool yes) { asks_.push_back(yes); }
    // The answer to the next file dialog; no files cancels it.
    void AnswerFiles(const QStringList& files, int filter_index = 1);
    // Runs while the next box or dialog is "open" (after it is recorded).
    void During(std::function<void(const Call&)> action) { during_ = std::move(action); }
    // Runs while every box or dialog from now on is "open".
    void Observe(std::function<void(const Call&)> observer) { observer_ = std::move(observer); }

    bool Ask(const std::string& text, const std::string& caption) override;
    void Error(const std::string& text, const std::string& caption) override;
    void Message(const std::string& text, const std::string& caption) override;
    korv::behaviour::FileChoice GetOpenFileNames(
        const korv::behaviour::FileDialogSetup& dialog) override;
    korv::behaviour::FileChoice GetOpenFileName(
        const korv::behaviour::FileDialogSetup& dialog) override;
    korv::behaviour::FileChoice GetSaveFileName(
        const korv::behaviour::FileDialogSetup& dialog) override;

    [[nodiscard]] const std::vector<Call>& Calls() const { return calls_; }
    [[nodiscard]] std::vector<Call> Of(Kind kind) const;
    [[nodiscard]] int Unexpected() const { return unexpected_; }
    // Answers scripted but never asked for.
    [[nodiscard]] std::size_t Unused() const { return asks_.size() + files_.size(); }
    void Forget() { calls_.clear(); }

private:
    void Record(Kind kind, const std::string& text, const std::string& caption,
                const korv::behaviour::FileDialogSetup& dialog = {});
    korv::behaviour::FileChoice NextFiles();

    std::deque<bool> asks_;
    std::deque<korv::behaviour::FileChoice> files_;
    std::function<void(const Call&)> during_;
    std::function<void(const Call&)> observer_;
    std::vector<Call> calls_;
    int unexpected_ = 0;
};

}  // namespace korv::test
