// Where the programs keep their files, over the layouts that a portable
// copy and an install leave on disk, and the environments a user may have.

#include "program_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "file_system_helpers.h"
#include "temp_dir.h"

namespace korv {
namespace {

using test::InFolder;
using namespace std::string_literals;

// The folders of an installed program's settings and log, in the test's
// folder; null where they stay beside the executable.
struct UserPlaces {
    const char* settings = nullptr;
    const char* log = nullptr;
};

struct LayoutCase {
    const char* name;
    const char* executable;            // in the test's folder, with slashes
    std::vector<const char*> folders;  // made first
    std::vector<const char*> files;    // written first
    // Set over HOME="home" and APPDATA="appdata". A value from "./" on is
    // taken as it is, the empty value too; any other names a folder in the
    // test's folder.
    std::vector<std::pair<const char*, const char*>> environment;
    const char* help_page;  // the dv.html the program opens
    // Where XDG names the user's folders (POSIX), and where %APPDATA% does
    // (Windows).
    UserPlaces xdg;
    UserPlaces appdata;
};

const UserPlaces kBeside{};
const UserPlaces kXdgDefaults{"home/.config/korvane", "home/.local/state/korvane"};
const UserPlaces kAppData{"appdata/Korvane", "appdata/Korvane"};

class ProgramFilesTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(ProgramFilesTest, FollowTheLayoutAndTheUsersFolders) {
    const LayoutCase& c = GetParam();
    const test::TempDir dir;
    const auto at = [&dir](const std::string& relative) { return InFolder(dir.Path(), relative); };
    for (const char* folder : c.folders) {
        std::filesystem::create_directories(at(folder));
    }
    for (const char* file : c.files) {
        test::WriteFile(at(file), "");
    }
    std::map<std::string, std::string> variables{{"HOME", at("home")}, {"APPDATA", at("appdata")}};
    for (const auto& [name, value] : c.environment) {
        const std::string text = value;
        variables[name] = text.empty() || text.starts_with("./") ? text : at(text);
    }
    const auto environment = [&variables](const char* name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        return found != variables.end() ? std::optional(found->second) : std::nullopt;
    };

    const ProgramFiles files = ProgramFilesFor(at(c.executable), environment);

    const UserPlaces& user = test::kXdgUserFolders ? c.xdg : c.appdata;
    const std::string executable = c.executable;
    const std::string beside = executable.substr(0, executable.rfind('/'));
    EXPECT_EQ(files.settings,
              at((user.settings != nullptr ? user.settings : beside) + "/settings.ini"s));
    EXPECT_EQ(files.log, at((user.log != nullptr ? user.log : beside) + "/korv.log"s));
    EXPECT_EQ(files.settings_folder, user.settings != nullptr ? at(user.settings) : "");
    EXPECT_EQ(files.log_folder, user.log != nullptr ? at(user.log) : "");
    EXPECT_EQ(files.Document("dv.html"), at(c.help_page));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ProgramFilesTest,
    testing::Values(
        // Portable: everything beside the executable.
        LayoutCase{"PortableFolder",
                   "korvane/korv",
                   {"korvane"},
                   {},
                   {},
                   "korvane/dv.html",
                   kBeside,
                   kBeside},
        LayoutCase{"BinWithoutShare",
                   "tools/bin/korv",
                   {"tools/bin", "tools/share/doc"},
                   {},
                   {},
                   "tools/bin/dv.html",
                   kBeside,
                   kBeside},
        LayoutCase{"ShareBesideAFolderNotNamedBin",
                   "opt/korvane/korv",
                   {"opt/korvane", "opt/share/korvane"},
                   {},
                   {},
                   "opt/korvane/dv.html",
                   kBeside,
                   kBeside},
        LayoutCase{"ShareKorvaneIsAFile",
                   "usr/bin/korv",
                   {"usr/bin", "usr/share"},
                   {"usr/share/korvane"},
                   {},
                   "usr/bin/dv.html",
                   kBeside,
                   kBeside},
        // Installed: the documents from the share folder, the rest the
        // user's.
        LayoutCase{"BinWithShareKorvane",
                   "usr/bin/korv",
                   {"usr/bin", "usr/share/korvane"},
                   {"usr/share/korvane/dv.html"},
                   {},
                   "usr/share/korvane/dv.html",
                   kXdgDefaults,
                   kAppData},
        LayoutCase{"BinWithShareDocKorvane",
                   "usr/bin/korv",
                   {"usr/bin", "usr/share/doc/korvane"},
                   {"usr/share/doc/korvane/dv.html"},
                   {},
                   "usr/share/doc/korvane/dv.html",
                   kXdgDefaults,
                   kAppData},
        LayoutCase{"ShareKorvaneBeforeShareDoc",
                   "usr/bin/korv",
                   {"usr/bin", "usr/share/korvane", "usr/share/doc/korvane"},
                   {"usr/share/korvane/dv.html", "usr/share/doc/korvane/dv.html"},
                   {},
                   "usr/share/korvane/dv.html",
                   kXdgDefaults,
                   kAppData},
        LayoutCase{"ShareDocForADocumentShareKorvaneLacks",
                   "usr/bin/korv",
                   {"usr/bin", "usr/share/korvane", "usr/share/doc/korvane"},
                   {"usr/share/doc/korvane/dv.html"},
                   {},
                   "usr/share/doc/korvane/dv.html",
                   kXdgDefaults,
                   kAppData},
        // The user's folders from the environment.
        LayoutCase{"XdgFoldersSet",
                   "usr/bin/korv",
                   {"usr/bin", "usr/share/korvane"},
                   {"usr/share/korvane/dv.html"},
                   {{"XDG_CONFIG_HOME", "config"}, {"XDG_STATE_HOME", "state"}},
                   "usr/share/korvane/dv.html",
                   {"config/korvane", "state/korvane"},
                   kAppData},
        LayoutCase{"OnlyXdgStateHomeSet",
                   "usr/bin/korv",
                   {"usr/bin", "usr/share/korvane"},
                   {"usr/share/korvane/dv.html"},
                   {{"XDG_STATE_HOME", "state"}},
                   "usr/share/korvane/dv.html",
                   {"home/.config/korvane", "state/korvane"},
                   kAppData},
        LayoutCase{"RelativeXdgFoldersIgnored",
                   "usr/bin/korv",
                   {"usr/bin", "usr/share/korvane"},
                   {"usr/share/korvane/dv.html"},
                   {{"XDG_CONFIG_HOME", "./config"}, {"XDG_STATE_HOME", "./state"}},
                   "usr/share/korvane/dv.html",
                   kXdgDefaults,
                   kAppData},
        LayoutCase{"EmptyXdgFoldersIgnored",
                   "usr/bin/korv",
                   {"usr/bin", "usr/share/korvane"},
                   {"usr/share/korvane/dv.html"},
                   {{"XDG_CONFIG_HOME", ""}, {"XDG_STATE_HOME", ""}},
                   "usr/share/korvane/dv.html",
                   kXdgDefaults,
                   kAppData},
        LayoutCase{"AppDataElsewhere",
                   "usr/bin/korv",
                   {"usr/bin", "usr/share/doc/korvane"},
                   {"usr/share/doc/korvane/dv.html"},
                   {{"APPDATA", "roaming"}},
                   "usr/share/doc/korvane/dv.html",
                   kXdgDefaults,
                   {"roaming/Korvane", "roaming/Korvane"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korv
