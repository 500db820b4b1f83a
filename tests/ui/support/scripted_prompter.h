#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "prompter.h"

namespace korv::test {

// Answers the program's message boxes and file dialogs from a script and
// records every one it was shown. A box or dialog that needs an answer and
// finds none counts as unexpected and is answered No or cancelled.
class ScriptedPrompter final : public korv::platform::Prompter {
public:
    enum class Kind { Ask, Error, Message, OpenMany, OpenOne, Save };

    struct Call {
        Kind kind;
        QString text;
        QString caption;
        korv::platform::FileDialogSpec dialog;
    };

    // The answer to the next question.
    void AnswerAsk(bool yes) { asks_.push_back(yes); }
    // The answer to the next file dialog; no files cancels it.
    void AnswerFiles(QStringList files, int filter_index = 1) {
        files_.push_back({std::move(files), filter_index});
    }
    // Runs while the next box or dialog is "open" (after it is recorded).
    void During(std::function<void(const Call&)> action) { during_ = std::move(action); }
    // Runs while every box or dialog from now on is "open".
    void Observe(std::function<void(const Call&)> observer) { observer_ = std::move(observer); }

    bool Ask(const QString& text, const QString& caption) override;
    void Error(const QString& text, const QString& caption) override;
    void Message(const QString& text, const QString& caption) override;
    korv::platform::FileChoice GetOpenFileNames(
        const korv::platform::FileDialogSpec& dialog) override;
    korv::platform::FileChoice GetOpenFileName(
        const korv::platform::FileDialogSpec& dialog) override;
    korv::platform::FileChoice GetSaveFileName(
        const korv::platform::FileDialogSpec& dialog) override;

    [[nodiscard]] const std::vector<Call>& Calls() const { return calls_; }
    [[nodiscard]] std::vector<Call> Of(Kind kind) const;
    [[nodiscard]] int Unexpected() const { return unexpected_; }
    // Answers scripted but never asked for.
    [[nodiscard]] std::size_t Unused() const { return asks_.size() + files_.size(); }
    void Forget() { calls_.clear(); }

private:
    void Record(Kind kind, const QString& text, const QString& caption,
                const korv::platform::FileDialogSpec& dialog = {});
    korv::platform::FileChoice NextFiles();

    std::deque<bool> asks_;
    std::deque<korv::platform::FileChoice> files_;
    std::function<void(const Call&)> during_;
    std::function<void(const Call&)> observer_;
    std::vector<Call> calls_;
    int unexpected_ = 0;
};

}  // namespace korv::test
