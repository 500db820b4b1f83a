#pragma once

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "clock.h"
#include "controls.h"
#include "main/main_window.h"
#include "opt/options_panel.h"
#include "prompter.h"
#include "settings_file.h"

namespace korv::test {

struct FakeFrame final : behaviour::WindowFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    bool visible = false;

    void Place(int l, int t, int w, bool shown) {
        left = l;
        top = t;
        width = w;
        visible = shown;
    }

    int Left() const override { return left; }
    int Top() const override { return top; }
    int Width() const override { return width; }
    bool Visible() const override { return visible; }
    void MoveTo(int l, int t) override {
        left = l;
        top = t;
    }
    void ShowInFront() override { visible = true; }
    void Hide() override { visible = false; }
};

struct FakeListBox final : behaviour::ListBox {
    std::vector<std::string> items;
    std::vector<bool> selected;
    int caret = -1;
    std::string hint;

    int Count() const override { return static_cast<int>(items.size()); }
    std::string Item(int index) const override { return items.at(static_cast<std::size_t>(index)); }
    void Add(const std::string& entry) override {
        items.push_back(entry);
        selected.push_back(false);
        if (caret < 0) {
            caret = 0;
        }
    }
    void Clear() override {
        items.clear();
        selected.clear();
        caret = -1;
    }
    void Delete(int index) override {
        items.erase(items.begin() + index);
        selected.erase(selected.begin() + index);
        caret = items.empty() ? -1 : std::min(caret, Count() - 1);
    }
    bool Selected(int index) const override { return selected.at(static_cast<std::size_t>(index)); }
    void SelectOnly(int index) override {
        selected.assign(items.size(), false);
        selected.at(static_cast<std::size_t>(index)) = true;
        caret = index;
    }
    int CaretIndex() const override { return caret; }
    void SetCaretIndex(int index) override { caret = index; }
    void SetHint(const std::string& text) override { hint = text; }
};

struct FakeSwitch final : behaviour::Switchable {
    bool enabled = true;
    void SetEnabled(bool on) override { enabled = on; }
};

struct FakeCaption final : behaviour::Captioned {
    std::string caption;
    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& text) override { caption = text; }
};

struct FakeText final : behaviour::TextBox {
    std::string text;
    std::string Text() const override { return text; }
};

struct FakeCheckBox final : behaviour::CheckBox {
    bool checked = false;
    bool Checked() const override { return checked; }
    void SetChecked(bool on) override { checked = on; }
};

struct FakeShell final : behaviour::MainWindowShell {
    int screen_width = 1024;
    // Runs at each turn of the loop while the run waits for work aside.
    std::function<void()> on_turn;
    int turns = 0;

    void Beep() override {}
    void SetBusyCursor(bool) override {}
    // Runs at each turn the run gives the window between two steps.
    std::function<void()> on_events;
    void ProcessEvents() override {
        if (on_events) {
            on_events();
        }
    }
    void ProcessEventsUntil(const std::function<bool()>& done) override {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!done()) {
            ++turns;
            if (on_turn) {
                lock.unlock();
                on_turn();
                lock.lock();
            }
            woken_.wait(lock, [this] { return wake_up_; });
            wake_up_ = false;
        }
    }
    void WakeUp() override {
        const std::lock_guard<std::mutex> lock(mutex_);
        wake_up_ = true;
        woken_.notify_all();
    }
    void CloseLater() override {}
    int PrimaryScreenWidth() const override { return screen_width; }
    void ShowResults(std::int32_t, std::int64_t) override {}

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool wake_up_ = false;
};

// Answers every question No and cancels every file dialog; keeps the plain
// messages shown, each as "caption: text".
struct DecliningPrompter final : behaviour::Prompter {
    std::vector<std::string> messages;

    bool Ask(const std::string&, const std::string&) override { return false; }
    void Error(const std::string&, const std::string&) override {}
    void Message(const std::string& text, const std::string& caption) override {
        messages.push_back(caption + ": " + text);
    }
    behaviour::FileChoice GetOpenFileNames(const behaviour::FileDialogSetup&) override {
        return {};
    }
    behaviour::FileChoice GetOpenFileName(const behaviour::FileDialogSetup&) override { return {}; }
    behaviour::FileChoice GetSaveFileName(const behaviour::FileDialogSetup&) override { return {}; }
};

struct NoEditor final : behaviour::EditorLauncher, behaviour::DesktopOpener {
    void OpenInEditor(const std::string&) override {}
    void Open(const std::string&) override {}
};

// Stands still until a test moves it.
struct FakeClock final : behaviour::Clock {
    std::int64_t now_ms = 0;
    std::int64_t NowMs() override { return now_ms; }
};

// A settings file in memory that records the keys read and written and can
// refuse every write.
struct FakeSettings final : behaviour::SettingsFile {
    std::map<std::pair<std::string, std::string>, std::string> values;
    bool refuse_writes = false;
    mutable std::vector<std::string> reads;

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const override {
        reads.push_back(key);
        const auto found = values.find({section, key});
        return found != values.end() ? found->second : fallback;
    }
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) const override {
        if (refuse_writes) {
            throw std::runtime_error("Unable to write to settings.ini");
        }
        written.push_back(section + "/" + key + "=" + value);
    }
    // "Section/Key=Value" for each write, in order.
    mutable std::vector<std::string> written;
};

// A main window and its options panel on fake controls; nothing it does
// here reaches a file.
struct FakeMainWindow {
    FakeMainWindow()
        : panel({cs, bu, dv}, desktop),
          window({list, delete_button, options_button, find, replace, run_button, frame, shell},
                 {prompter, desktop, clock,
                  [this](const std::string& path) -> std::unique_ptr<behaviour::SettingsFile> {
                      settings_path = path;
                      return std::move(next_settings);
                  }},
                 {"korv.log", "settings.ini", "versions.txt"}) {
        window.SetOptionsPanel(&panel, &panel_frame);
    }

    // What the first show finds as the settings file.
    std::unique_ptr<FakeSettings> next_settings = std::make_unique<FakeSettings>();
    FakeSettings& settings = *next_settings;
    std::string settings_path;

    FakeListBox list;
    FakeSwitch delete_button;
    FakeSwitch run_button;
    FakeCaption options_button;
    FakeText find;
    FakeText replace;
    FakeFrame frame;
    FakeFrame panel_frame;
    FakeShell shell;
    FakeCheckBox cs;
    FakeCheckBox bu;
    FakeCheckBox dv;
    DecliningPrompter prompter;
    NoEditor desktop;
    FakeClock clock;
    behaviour::OptionsPanel panel;
    behaviour::MainWindow window;
};

}  // namespace korv::test
