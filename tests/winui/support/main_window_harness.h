#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/win32_controls.h"
#include "main/tmf.h"
#include "opt/options_panel.h"
#include "support/scripted_prompter.h"
#include "temp_dir.h"

namespace korv::winui_test {

// Stands in for the text editor: records the files it was asked to show.
class RecordingEditor final : public korv::behaviour::EditorLauncher {
public:
    void OpenInEditor(const std::string& path) override { opened.push_back(path); }
    std::vector<std::string> opened;
};

class NoDesktop final : public korv::behaviour::DesktopOpener {
public:
    void Open(const std::string& target) override { opened.push_back(target); }
    std::vector<std::string> opened;
};

// Settings kept in memory, one map for every object opened on them.
class MemorySettings final : public korv::behaviour::SettingsFile {
public:
    using Store = std::map<std::string, std::string>;
    explicit MemorySettings(std::shared_ptr<Store> store) : store_(std::move(store)) {}
    [[nodiscard]] std::string ReadString(const std::string& section, const std::string& key,
                                         const std::string& fallback) const override {
        const auto found = store_->find(section + "/" + key);
        return found != store_->end() ? found->second : fallback;
    }
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) const override {
        (*store_)[section + "/" + key] = value;
    }

private:
    std::shared_ptr<Store> store_;
};

// Records the modal windows asked for instead of opening them.
class RecordingDialogs final : public TmfDialogs {
public:
    void ShowResults(HWND owner, std::int32_t files_searched,
                     std::int64_t files_replaced) override {
        results.emplace_back(files_searched, files_replaced);
        if (during_results) {
            during_results(owner);
        }
    }
    void ShowAbout(HWND) override { ++abouts; }

    std::vector<std::pair<std::int32_t, std::int64_t>> results;
    std::function<void(HWND)> during_results;
    int abouts = 0;
};

// A borderless pop-up of the options panel's size, owned by the main
// window, with three real check boxes.
struct PanelWindow {
    explicit PanelWindow(HWND owner);
    ~PanelWindow();
    PanelWindow(const PanelWindow&) = delete;
    PanelWindow& operator=(const PanelWindow&) = delete;

    HWND window = nullptr;
    std::unique_ptr<Win32CheckBox> cs, bu, dv;
    std::unique_ptr<korv::behaviour::OptionsPanel> panel;
    std::unique_ptr<Win32Frame> frame;
    NoDesktop desktop;
};

// The main window and an options panel as the program starts them, with
// the log and the version history in a temporary folder, the boxes
// scripted and the editor and dialogs recorded.
struct MainWindowHarness {
    explicit MainWindowHarness(bool show = true);
    ~MainWindowHarness();
    MainWindowHarness(const MainWindowHarness&) = delete;
    MainWindowHarness& operator=(const MainWindowHarness&) = delete;

    [[nodiscard]] HWND Control(int id) const { return mf->Control(id); }
    [[nodiscard]] std::vector<std::string> Entries() const;
    // Drops `paths` on the main window through a real DROPFILES block;
    // returns the block's handle, which the window must have released.
    HGLOBAL Drop(const std::vector<std::wstring>& paths);

    korv::test::TempDir dir;
    korv::behaviour::TmfPaths paths;
    ScriptedPrompter prompter;
    RecordingEditor editor;
    RecordingDialogs dialogs;
    std::shared_ptr<MemorySettings::Store> settings = std::make_shared<MemorySettings::Store>();
    std::unique_ptr<TMF> mf;
    std::unique_ptr<PanelWindow> af;
};

// Handles messages until `condition` holds; false if it still does not
// after a generous deadline that only stops a hang.
bool PumpUntil(const std::function<bool()>& condition);

// A window's rectangle in its parent's client area.
[[nodiscard]] RECT PlaceInParent(HWND window);

}  // namespace korv::winui_test
