#include "scripted_prompter.h"

#include <QFile>

namespace korv::test {

namespace {

QString Shown(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void ScriptedPrompter::AnswerFiles(const QStringList& files, int filter_index) {
    korv::behaviour::FileChoice choice{{}, filter_index};
    for (const QString& file : files) {
        choice.Files.push_back(QFile::encodeName(file).toStdString());
    }
    files_.push_back(std::move(choice));
}

void ScriptedPrompter::Record(Kind kind, const std::string& text, const std::string& caption,
                              const korv::behaviour::FileDialogSetup& dialog) {
    const ShownDialog shown{Shown(dialog.Filter), dialog.FilterIndex,
                            QFile::decodeName(QByteArray::fromStdString(dialog.FileName)),
                            Shown(dialog.DefaultExt)};
    calls_.push_back({kind, Shown(text), Shown(caption), shown});
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
