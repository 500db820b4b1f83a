#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "prompter.h"

namespace korv::winui_test {

// Answers the program's message boxes and file dialogs from a script and
// records each one shown. A question or dialog with no answer scripted is
// counted as unexpected and answered No or cancelled.
class ScriptedPrompter final : public korv::behaviour::Prompter {
public:
    enum class Kind { Ask, Error, Message, OpenMany, OpenOne, Save };
    struct Call {
        Kind kind;
        std::string text;
        std::string caption;
        korv::behaviour::FileDialogSetup dialog;
    };

    void AnswerAsk(bool yes) { asks_.push_back(yes); }
    void AnswerFiles(std::vector<std::string> files, int filter_index = 1) {
        files_.push_back({std::move(files), filter_index});
    }
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
    [[nodiscard]] std::size_t Count(Kind kind) const;
    [[nodiscard]] int Unexpected() const { return unexpected_; }

private:
    void Record(Kind kind, const std::string& text, const std::string& caption,
                const korv::behaviour::FileDialogSetup& dialog = {});
    korv::behaviour::FileChoice NextFiles();

    std::deque<bool> asks_;
    std::deque<korv::behaviour::FileChoice> files_;
    std::function<void(const Call&)> observer_;
    std::vector<Call> calls_;
    int unexpected_ = 0;
};

}  // namespace korv::winui_test
