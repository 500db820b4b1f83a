// The lost-update check of the file layer, the same on every system: a
// save that must find the file as it was loaded leaves another program's
// newer bytes alone, whether they came in place, with the same size and a
// later time, or as another file renamed over the name, with an undo
// journal or without.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine_error.h"
#include "file_ops.h"
#include "temp_dir.h"
#include "text_document.h"
#include "undo_journal.h"

namespace korv {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

struct OtherWrite {
    const char* name;
    // Changes the file at `path`, which holds `loaded`, and returns what
    // it then holds.
    std::function<std::string(const TempDir&, const std::string& path, const std::string& loaded)>
        write;
};

std::vector<OtherWrite> OtherWrites() {
    return {
        {"OtherBytes",
         [](const TempDir&, const std::string& path, const std::string&) {
             WriteFile(path, "another program's longer text\r\n");
             return std::string("another program's longer text\r\n");
         }},
        {"SameSizeAMicrosecondLater",
         [](const TempDir&, const std::string& path, const std::string& loaded) {
             const fs::file_time_type time = fs::last_write_time(path);
             const std::string other(loaded.size(), 'z');
             WriteFile(path, other);
             fs::last_write_time(path, time + std::chrono::microseconds(1));
             return other;
         }},
        {"AnotherFileOfTheSameSizeAndTime",
         [](const TempDir& dir, const std::string& path, const std::string& loaded) {
             const fs::file_time_type time = fs::last_write_time(path);
             const std::string other(loaded.size(), 'y');
             const std::string fresh = dir.Write("fresh.txt", other);
             fs::last_write_time(fresh, time);
             fs::rename(fresh, path);
             return other;
         }},
    };
}

// With an undo journal, the file's old content may be kept before the
// check: the entry goes again, and no further name of the file is left.
TEST(LostUpdate, ASaveOverAFileAnotherProgramWroteSinceItsLoadFailsAndKeepsItsBytes) {
    for (const bool journaled : {false, true}) {
        for (const OtherWrite& other_write : OtherWrites()) {
            SCOPED_TRACE(std::string(other_write.name) + (journaled ? ", journaled" : ""));
            TempDir dir;
            TempDir undo;
            const std::string loaded_text = "the text as loaded\r\n";
            const std::string path = dir.Write("a.txt", loaded_text);
            TextDocument document;
            document.LoadFile(path);
            ASSERT_TRUE(document.LoadedVersion().has_value());
            const FileVersion loaded = *document.LoadedVersion();
            const std::string other = other_write.write(dir, path, loaded_text);
            std::string message = "(no failure)";
            {
                std::optional<UndoJournal> journal;
                if (journaled) {
                    journal.emplace(undo.Path(), "test");
                }
                try {
                    ReplaceWholeFile(path, "our text\r\n", &loaded, journal ? &*journal : nullptr);
                } catch (const EngineError& error) {
                    message = error.what();
                }
            }
            EXPECT_EQ(message.rfind("Cannot open file \"", 0), 0U) << message;
            EXPECT_TRUE(ReadFile(path) == other);
            EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.txt"});
            EXPECT_EQ(fs::hard_link_count(path), 1U);
            if (journaled) {
                const std::optional<RunJournal> run = ReadLastRun(undo.Path());
                ASSERT_TRUE(run.has_value());
                EXPECT_TRUE(run->entries.empty());
            }
        }
    }
}

TEST(LostUpdate, ASaveOverTheFileAsItWasLoadedGoesAhead) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", "the text as loaded\r\n");
    TextDocument document;
    document.LoadFile(path);
    const FileVersion loaded = *document.LoadedVersion();
    document.AssignText("our text\r\n");
    document.SaveFile(path, &loaded);
    EXPECT_EQ(ReadFile(path), "our text\r\n");
}

}  // namespace
}  // namespace korv
