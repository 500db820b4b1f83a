// A drop on the main window: files as they are, folders walked as korv-cli
// -R walks them, binary files passed over, and folders that cannot be read
// reported while the drop goes on.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "counting_fault_plan.h"
#include "fake_window.h"
#include "file_fault.h"
#include "file_system_helpers.h"
#include "temp_dir.h"
#include "texts.h"

namespace {

using Names = std::vector<std::string>;

struct DropCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // path, bytes
    Names empty_folders;
    std::vector<std::pair<std::string, std::string>> folder_links;  // link, target
    // Which opening of a folder listing the system refuses; 0 for none.
    int refused_listing;
    Names dropped;
    Names entries;
    Names not_added;  // the paths of the drop's messages
};

// The system refuses the n-th opening of a folder listing, as it does for
// a folder the user may not read.
class ListingRefused final : public korv::FileFaultPlan {
public:
    explicit ListingRefused(int nth) : nth_(nth) {}
    int Check(korv::FileCall operation, const korv::FileCallDetail&) override {
        if (operation != korv::FileCall::kListFolder) {
            return 0;
        }
        return ++seen_ == nth_ ? EACCES : 0;
    }

private:
    int nth_;
    int seen_ = 0;
};

std::string Bytes(std::size_t count, char fill, std::string_view tail) {
    return std::string(count, fill) + std::string(tail);
}

const std::string kNul(1, '\0');

class Drop : public testing::TestWithParam<DropCase> {
protected:
    [[nodiscard]] std::string At(const std::string& relative) const {
        return korv::test::InFolder(dir_.Path(), relative);
    }
    [[nodiscard]] Names At(const Names& relative) const {
        Names paths;
        for (const std::string& name : relative) {
            paths.push_back(At(name));
        }
        return paths;
    }

    korv::test::TempDir dir_;
};

TEST_P(Drop, AddsFilesAndTheTextFilesOfFolders) {
    const DropCase& c = GetParam();
    namespace fs = std::filesystem;
    for (const auto& [name, bytes] : c.files) {
        fs::create_directories(fs::path(At(name)).parent_path());
        korv::test::WriteFile(At(name), bytes);
    }
    for (const std::string& name : c.empty_folders) {
        fs::create_directories(At(name));
    }
    for (const auto& [link, target] : c.folder_links) {
        if (!korv::test::SymbolicLinksWork()) {
            GTEST_SKIP() << "no symbolic links here";
        }
        ASSERT_TRUE(korv::test::MakeSymbolicLink(At(target), At(link)));
    }
    korv::test::FakeMainWindow f;
    f.window.FormShow();

    ListingRefused refused(c.refused_listing);
    {
        const korv::test::FaultPlanScope scope(refused);
        f.window.WMDropFiles(At(c.dropped));
    }

    Names messages;
    for (const std::string& path : At(c.not_added)) {
        messages.push_back(std::string("Error: Korvane couldn't open the file \"") + path + "\".");
    }
    EXPECT_EQ(f.prompter.messages, messages);
    if (c.entries.empty()) {
        // Nothing added: the placeholder stays, the buttons stay off.
        EXPECT_EQ(f.list.items, Names{korv::behaviour::text::kPlaceholderEntry});
        EXPECT_FALSE(f.run_button.enabled);
        EXPECT_FALSE(f.delete_button.enabled);
        return;
    }
    EXPECT_EQ(f.list.items, At(c.entries));
    EXPECT_EQ(f.list.caret, static_cast<int>(c.entries.size()) - 1);
    EXPECT_EQ(f.window.OpenDialog1.FileName, At(c.entries.back()));
    EXPECT_TRUE(f.run_button.enabled);
    EXPECT_TRUE(f.delete_button.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Drop,
    testing::Values(
        DropCase{"AFile", {{"a.txt", "x"}}, {}, {}, 0, {"a.txt"}, {"a.txt"}, {}},
        // Byte order, a folder's files at its place among the names ("a"
        // before "a.txt"); hidden files taken, hidden folders not entered.
        DropCase{
            "NestedAndHiddenFolders",
            {{"tree/a.txt", "x"},
             {"tree/B.txt", "x"},
             {"tree/.dot.txt", "x"},
             {"tree/a/x.txt", "x"},
             {"tree/a/deeper/y.txt", "x"},
             {"tree/.hidden/h.txt", "x"}},
            {},
            {},
            0,
            {"tree"},
            {"tree/.dot.txt", "tree/B.txt", "tree/a/deeper/y.txt", "tree/a/x.txt", "tree/a.txt"},
            {}},
        // A NUL in the first 8 KiB marks a walked file binary, but for UTF-16
        // text; one dropped by itself is added all the same.
        DropCase{"BinaryFile",
                 {{"mixed/bin.dat", "ab" + kNul + "cd"},
                  {"mixed/edge.dat", Bytes(8191, 'a', kNul)},
                  {"mixed/late.dat", Bytes(8192, 'a', kNul)},
                  {"mixed/t.txt", "x"},
                  {"mixed/wide.txt", "\xFF\xFEh" + kNul + "i" + kNul}},
                 {},
                 {},
                 0,
                 {"mixed", "mixed/bin.dat"},
                 {"mixed/late.dat", "mixed/t.txt", "mixed/wide.txt", "mixed/bin.dat"},
                 {}},
        DropCase{"LinkToAFolder",
                 {{"outside/o.txt", "x"}, {"linked/a.txt", "x"}},
                 {},
                 {{"linked/out", "outside"}},
                 0,
                 {"linked"},
                 {"linked/a.txt"},
                 {}},
        DropCase{"EmptyFolder",
                 {{"empty/.hidden/h.txt", "x"}},
                 {"empty/inner"},
                 {},
                 0,
                 {"empty"},
                 {},
                 {}},
        // The second listing is the folder "sub".
        DropCase{
            "UnreadableFolder",
            {{"tree/a.txt", "x"}, {"tree/sub/s.txt", "x"}, {"tree/z.txt", "x"}, {"after.txt", "x"}},
            {},
            {},
            2,
            {"tree", "after.txt"},
            {"tree/a.txt", "tree/z.txt", "after.txt"},
            {"tree/sub"}}),
    [](const testing::TestParamInfo<DropCase>& info) { return std::string(info.param.name); });

}  // namespace
