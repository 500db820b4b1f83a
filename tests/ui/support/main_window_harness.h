#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "main/tmf.h"
#include "opt/taf.h"
#include "recording_editor.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

namespace korv::test {

// A main window and its options panel as the program starts them, with
// the log, the settings, the version history and the undo journal in a
// temporary folder,
// the message boxes scripted and the editor recorded.
struct MainWindowHarness {
    // Creates the windows; `show` also shows the main window (FormShow).
    explicit MainWindowHarness(bool show = true);
    ~MainWindowHarness();
    MainWindowHarness(const MainWindowHarness&) = delete;
    MainWindowHarness& operator=(const MainWindowHarness&) = delete;

    void Show();

    // The entries' bytes and texts as the list holds them.
    [[nodiscard]] std::vector<QByteArray> Entries() const;
    [[nodiscard]] QStringList ShownEntries() const;
    // The activity log's lines on disk, time stamps cut off.
    [[nodiscard]] QStringList LogEvents() const;
    // Drops local files on the main window as the file manager does.
    void Drop(const QList<QUrl>& urls);
    // Drops paths given as their bytes.
    void DropPaths(const std::vector<std::string>& paths);

    TempDir dir;
    korv::behaviour::TmfPaths paths;
    ScriptedPrompter prompter;
    RecordingEditor editor;
    std::unique_ptr<TMF> mf;
    std::unique_ptr<TAF> af;
};

// Runs `action` on the next modal dialog of type T once it is open (from
// within its own event loop). The returned flag tells whether it ran.
template <typename T>
std::shared_ptr<bool> WhenModalOpens(std::function<void(T*)> action);

// The widget that is the application's modal window once it is shown and
// active, looked for every 5 ms.
std::shared_ptr<bool> WhenModalWidgetOpens(std::function<bool(QWidget*)> action);

template <typename T>
std::shared_ptr<bool> WhenModalOpens(std::function<void(T*)> action) {
    return WhenModalWidgetOpens([action = std::move(action)](QWidget* widget) {
        T* dialog = qobject_cast<T*>(widget);
        if (dialog == nullptr) {
            return false;
        }
        action(dialog);
        return true;
    });
}

}  // namespace korv::test
