#pragma once

// The run the whole-run walks share: an undisturbed interface that answers
// Yes, and seed files of every kind a run meets.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "batch_ui.h"
#include "line_breaks.h"

namespace korv::test {

// The interface of an undisturbed run that answers Yes; the back-up option
// is on only while the entry named `back_up_entry` is processed, unless
// every entry is backed up.
class WalkUi final : public BatchUi {
public:
    WalkUi(bool planning_ahead, LineBreaks breaks)
        : planning_ahead_(planning_ahead), breaks_(breaks) {}

    std::vector<std::string> entries;
    std::string back_up_entry;
    bool back_up_every_entry = false;
    std::vector<std::string> messages;
    // The entry being processed, or empty outside the passes.
    std::string active;
    std::int64_t shown_replaced = -1;
    // Where the run keeps its undo journal; none when empty.
    std::string undo_folder;

    bool AskConfirmation(const std::string&, const std::string&) override { return true; }
    void ReportError(const std::string& text, const std::string&) override {
        ADD_FAILURE() << "unexpected error box: " << text;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void SetBusyCursor(bool) override {}
    std::int32_t EntryCount() override { return static_cast<std::int32_t>(entries.size()); }
    std::string Entry(std::int32_t index) override {
        return entries.at(static_cast<std::size_t>(index));
    }
    std::int32_t CurrentEntry() override { return current_; }
    void SetCurrentEntry(std::int32_t index) override {
        current_ = index;
        active = entries.at(static_cast<std::size_t>(index));
    }
    std::string FindText() override { return "foo"; }
    std::string ReplaceText() override { return "bar!"; }
    bool CaseSensitive() override { return false; }
    bool DynamicVariables() override { return false; }
    bool BackUp() override { return back_up_every_entry || active == back_up_entry; }
    void PumpEvents() override {}
    bool ReadsAhead() override { return planning_ahead_; }
    LineBreaks LineBreakMode() override { return breaks_; }
    std::optional<UndoPlace> UndoJournalPlace() override {
        if (undo_folder.empty()) {
            return std::nullopt;
        }
        return UndoPlace{undo_folder, "walk"};
    }
    void ShowResults(std::int32_t, std::int64_t replaced) override {
        shown_replaced = replaced;
        active.clear();
    }

private:
    bool planning_ahead_;
    LineBreaks breaks_;
    std::int32_t current_ = -1;
};

struct SeedFile {
    const char* name;
    std::string before;
    std::optional<std::string> after;  // none: the run leaves it as it is
    std::uint32_t mode;                // POSIX bits; the settings standing in for them elsewhere
    bool second_name = false;          // has a hard link, so it is written in place
};

// A file big enough to be mapped and planned ahead, with the find text in
// some of its lines, each ended by `brk`; `replaced` gives it after the run,
// each line then ended by `replaced_brk`. Its lines are long and few: the
// walk makes hundreds of passes over it, and what a pass costs goes with its
// lines more than with its bytes.
inline std::string BigText(const char* brk, bool replaced, const char* replaced_brk = "\r\n") {
    const std::string hay(1'000, 'h');
    std::string text;
    for (int i = 0; i < 1'100; ++i) {  // over 1 MiB with either break
        text += hay + std::to_string(i) + (i % 97 == 0 ? (replaced ? " bar!" : " Foo") : "");
        text += replaced ? replaced_brk : brk;
    }
    return text;
}

// UTF-16, little-endian with its mark, of ASCII text.
inline std::string Utf16Of(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

// Files of every kind a run meets: changed, unchanged, empty, backed up
// over an older copy, with lone LFs, without a last line break, written in
// place, in UTF-16; and, for a run that plans ahead, a big one (mapped, and
// planned ahead) right after a changed file. `keep` gives each changed
// file with its line breaks kept.
inline std::vector<SeedFile> AllSeeds(bool planning_ahead, bool keep) {
    const auto either = [keep](const char* kept, const char* crlf) {
        return std::optional<std::string>(keep ? kept : crlf);
    };
    std::vector<SeedFile> seeds = {
        {"a.txt", "alpha foo beta\r\nFOO\r\n", "alpha bar! beta\r\nbar!\r\n", 0640},
        {"b.txt", "foo\nline two\n", either("bar!\nline two\n", "bar!\r\nline two\r\n"), 0604},
        {"c.txt", "nothing to see\r\n", std::nullopt, 0644},
        {"d.txt", "backed up foo", either("backed up bar!", "backed up bar!\r\n"), 0600},
        {"e.txt", "", std::nullopt, 0644},
        {"f.txt", "last fOo\r\n", "last bar!\r\n", 0644},
        {"g.txt", "linked foo\r\n", "linked bar!\r\n", 0664, true},
        {"u.txt", Utf16Of("wide foo\n"), Utf16Of(keep ? "wide bar!\n" : "wide bar!\r\n"), 0644},
    };
    if (planning_ahead) {
        // Where breaks are kept, an LF file is searched where it lies.
        const char* brk = keep ? "\n" : "\r\n";
        seeds.push_back({"h.txt", BigText(brk, false), BigText(brk, true, brk), 0644});
    }
    return seeds;
}
inline constexpr const char* kBackedUp = "d.txt";
inline constexpr const char* kOldBackup = "an older copy\r\n";
inline constexpr const char* kOldLog =
    "1/2/24 3:04:05 AM - Application Started\r\n"
    "1/2/24 3:04:06 AM - Application Closed\r\n";

}  // namespace korv::test
