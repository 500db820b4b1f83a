// Whole files past the size from which they are mapped instead of read.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "engine_error.h"
#include "file_fault.h"
#include "file_test_helpers.h"
#include "temp_dir.h"
#include "text_document.h"

namespace korv {
namespace {

using test::FailNthCall;
using test::FaultPlanGuard;
using test::ReadFile;
using test::TempDir;

constexpr std::size_t kBig = std::size_t{3} << 20;  // well past the mapping threshold

// CR LF lines of numbered words, `size` bytes or a little more.
std::string BigText(std::size_t size, std::string_view line_break = "\r\n") {
    std::string text;
    text.reserve(size + 64);
    for (int i = 0; text.size() < size; ++i) {
        text += "line " + std::to_string(i) + " of a big file";
        text += line_break;
    }
    return text;
}

// Reads every byte, as a search would.
unsigned long TouchAll(std::string_view text) {
    unsigned long sum = 0;
    for (char c : text) {
        sum += static_cast<unsigned char>(c);
    }
    return sum;
}

TEST(BigFileTest, LoadsCrLfAndLfFilesWhetherMappedOrRead) {
    TempDir dir;
    const std::string crlf = BigText(kBig);
    const std::string lf = test::WithoutCr(crlf);
    const std::string crlf_path = dir.Write("crlf.txt", crlf);
    const std::string lf_path = dir.Write("lf.txt", lf);
    for (bool refuse_mapping : {false, true}) {
        SCOPED_TRACE(refuse_mapping ? "read" : "mapped");
        FailNthCall no_maps("mmap", 1, ENOMEM);
        FaultPlanGuard guard(refuse_mapping ? &no_maps : nullptr);
        TextDocument document;
        document.LoadFile(crlf_path);
        EXPECT_EQ(document.JoinedText().size(), crlf.size());
        EXPECT_TRUE(document.JoinedText() == crlf);
        EXPECT_TRUE(document.TextIntact());
        EXPECT_EQ(document.LineCount(),
                  static_cast<std::size_t>(std::count(crlf.begin(), crlf.end(), '\n')));
        document.LoadFile(lf_path);
        EXPECT_TRUE(document.JoinedText() == crlf);
        EXPECT_TRUE(ReadFile(lf_path) == lf);  // loading never writes
    }
}

TEST(BigFileTest, AssigningItsOwnMappedTextKeepsIt) {
    TempDir dir;
    const std::string text = BigText(kBig);
    const std::string path = dir.Write("a.txt", text);
    TextDocument document;
    document.LoadFile(path);
    document.AssignText(document.JoinedText());
    EXPECT_TRUE(document.JoinedText() == text);
    // A part of it: the first two lines, the second without its break.
    document.LoadFile(path);
    const std::string_view own = document.JoinedText();
    const std::size_t second_break = own.find('\n', own.find('\n') + 1);
    const std::string expected(own.substr(0, second_break + 1));
    document.AssignText(own.substr(0, second_break - 1));
    EXPECT_EQ(document.JoinedText(), expected);
}

TEST(BigFileTest, AFileCutShortWhileLoadedIsNoLongerIntact) {
    TempDir dir;
    const std::string text = BigText(kBig);
    const std::string path = dir.Write("a.txt", text);
    TextDocument document;
    document.LoadFile(path);
    ASSERT_TRUE(document.TextIntact());
    // Another program empties most of it; reading the lost part must not
    // kill us.
    ASSERT_EQ(::truncate(path.c_str(), 5000), 0);
    const std::string_view seen = document.JoinedText();
    ASSERT_EQ(seen.size(), text.size());
    EXPECT_GT(TouchAll(seen), 0u);
    EXPECT_FALSE(document.TextIntact());
    EXPECT_TRUE(seen.substr(0, 5000) == std::string_view(text).substr(0, 5000));
    EXPECT_TRUE(seen.substr(seen.size() - 4096) == std::string(4096, '\0'));

    // A new load starts intact again, with the file as it now is.
    document.LoadFile(path);
    EXPECT_TRUE(document.TextIntact());
    EXPECT_EQ(document.JoinedText().size(), 5000u + 2u);
}

TEST(BigFileTest, BackupOfABigFileIsExact) {
    TempDir dir;
    const std::string text = BigText(kBig, "\n");
    const std::string path = dir.Write("a.txt", text);
    ASSERT_TRUE(TextDocument::MakeBackup(path));
    EXPECT_TRUE(ReadFile(path + ".bak") == text);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "a.txt.bak"}));
}

}  // namespace
}  // namespace korv
