#include "scripted_prompter.h"

namespace korv::test {

void ScriptedPrompter::Record(Kind kind, const QString& text, const QString& caption,
                              const korv::platform::FileDialogSpec& dialog) {
    calls_.push_back({kind, text, caption, dialog});
    if (observer_) {
        observer_(calls_.back());
    }
    if (during_) {
        // Taken out first: the action may lead to another box.
        auto action = std::move(during_);
        during_ = nullptr;
        action(calls_.back());
    }
}

bool ScriptedPrompter::Ask(const QString& text, const QString& caption) {
    Record(Kind::Ask, text, caption);
    if (asks_.empty()) {
        ++unexpected_;
        return false;
    }
    const bool yes = asks_.front();
    asks_.pop_front();
    return yes;
}

void ScriptedPrompter::Error(const QString& text, const QString& caption) {
    Record(Kind::Error, text, caption);
}

void ScriptedPrompter::Message(const QString& text, const QString& caption) {
    Record(Kind::Message, text, caption);
}

korv::platform::FileChoice ScriptedPrompter::NextFiles() {
    if (files_.empty()) {
        ++unexpected_;
        return {};
    }
    korv::platform::FileChoice choice = files_.front();
    files_.pop_front();
    return choice;
}

korv::platform::FileChoice ScriptedPrompter::GetOpenFileNames(
    const korv::platform::FileDialogSpec& dialog) {
    Record(Kind::OpenMany, {}, {}, dialog);
    return NextFiles();
}

korv::platform::FileChoice ScriptedPrompter::GetOpenFileName(
    const korv::platform::FileDialogSpec& dialog) {
    Record(Kind::OpenOne, {}, {}, dialog);
    return NextFiles();
}

korv::platform::FileChoice ScriptedPrompter::GetSaveFileName(
    const korv::platform::FileDialogSpec& dialog) {
    Record(Kind::Save, {}, {}, dialog);
    return NextFiles();
}

std::vector<ScriptedPrompter::Call> ScriptedPrompter::Of(Kind kind) const {
    std::vector<Call> found;
    for (const Call& call : calls_) {
        if (call.kind == kind) {
            found.push_back(call);
        }
    }
    return found;
}

}  // namespace korv::test
