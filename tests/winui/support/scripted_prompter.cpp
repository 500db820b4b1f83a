#include "support/scripted_prompter.h"

namespace korv::winui_test {

void ScriptedPrompter::Record(Kind kind, const std::string& text, const std::string& caption,
                              const korv::behaviour::FileDialogSetup& dialog) {
    calls_.push_back({kind, text, caption, dialog});
    if (observer_) {
        observer_(calls_.back());
    }
}

bool ScriptedPrompter::Ask(const std::string& text, const std::string& caption) {
    Record(Kind::Ask, text, caption);
    if (asks_.empty()) {
        ++unexpected_;
        return false;
    }
    const bool yes = asks_.front();
    asks_.pop_front();
    return yes;
}

void ScriptedPrompter::Error(const std::string& text, const std::string& caption) {
    Record(Kind::Error, text, caption);
}

void ScriptedPrompter::Message(const std::string& text, const std::string& caption) {
    Record(Kind::Message, text, caption);
}

korv::behaviour::FileChoice ScriptedPrompter::NextFiles() {
    if (files_.empty()) {
        ++unexpected_;
        return {};
    }
    korv::behaviour::FileChoice choice = files_.front();
    files_.pop_front();
    return choice;
}

korv::behaviour::FileChoice ScriptedPrompter::GetOpenFileNames(
    const korv::behaviour::FileDialogSetup& dialog) {
    Record(Kind::OpenMany, {}, {}, dialog);
    return NextFiles();
}

korv::behaviour::FileChoice ScriptedPrompter::GetOpenFileName(
    const korv::behaviour::FileDialogSetup& dialog) {
    Record(Kind::OpenOne, {}, {}, dialog);
    return NextFiles();
}

korv::behaviour::FileChoice ScriptedPrompter::GetSaveFileName(
    const korv::behaviour::FileDialogSetup& dialog) {
    Record(Kind::Save, {}, {}, dialog);
    return NextFiles();
}

std::size_t ScriptedPrompter::Count(Kind kind) const {
    std::size_t count = 0;
    for (const Call& call : calls_) {
        count += call.kind == kind ? 1 : 0;
    }
    return count;
}

}  // namespace korv::winui_test
