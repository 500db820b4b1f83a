#include "text_document.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine_error.h"
#include "file_system_helpers.h"
#include "file_test_helpers.h"
#include "temp_dir.h"

namespace korv {
namespace {

using test::FileExists;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using namespace std::string_literals;

struct LineCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
    bool held_nul;
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

const std::vector<LineCase>& LineCases() {
    static const std::vector<LineCase> cases = {
        {"Empty", "", {}, false},
        {"OnlyCrLf", "\r\n", {""}, false},
        {"OnlyLf", "\n", {""}, false},
        {"OnlyCr", "\r", {""}, false},
        {"Lf", "a\nb", {"a", "b"}, false},
        {"Cr", "a\rb\r", {"a", "b"}, false},
        {"CrLf", "a\r\nb\r\n", {"a", "b"}, false},
        {"LfCr", "a\n\rb", {"a", "", "b"}, false},
        {"CrCrLf", "a\r\r\nb", {"a", "", "b"}, false},
        {"TwoCrLf", "\r\n\r\n", {"", ""}, false},
        {"TwoLf", "\n\n", {"", ""}, false},
        {"TwoCr", "\r\r", {"", ""}, false},
        {"LastLineWithoutBreak", "a\r\nb", {"a", "b"}, false},
        {"CrLfThenLoneCrAtEnd", "a\r\n\r", {"a", ""}, false},
        {"Mixed", "a\r\n\nb\rc\n\r\r\nd", {"a", "", "b", "c", "", "", "d"}, false},
        {"NulInTheMiddle", "ab\0cd\r\nef"s, {"ab"}, true},
        {"NulAtStart", "\0abc\r\n"s, {}, true},
        {"NulAfterBreak", "a\r\n\0b\r\n"s, {"a"}, true},
        {"NulInAJoinedText", "a\r\nb\0\r\n"s, {"a", "b"}, true},
        {"HighBytesAndBom",
         "\xEF\xBB\xBFh\xE4\x80\xFF\r\n\xC4\xE4",
         {"\xEF\xBB\xBFh\xE4\x80\xFF", "\xC4\xE4"},
         false},
        {"Utf16", "\xFF\xFE\x48\x00\x65\x00"s, {"\xFF\xFE\x48"}, true},
        {"BreaksAcrossBlocks",
         std::string(15, 'x') + "\r\n" + std::string(31, 'y') + "\r\r\n" + std::string(16, 'z'),
         {std::string(15, 'x'), std::string(31, 'y'), "", std::string(16, 'z')},
         false},
        {"JoinedFormLong",
         std::string(40, 'q') + "\r\n" + std::string(17, 'r') + "\r\n",
         {std::string(40, 'q'), std::string(17, 'r')},
         false},
        {"LoneLfLateInALongJoinedText",
         std::string(33, 'q') + "\r\n" + std::string(20, 'r') + "\n",
         {std::string(33, 'q'), std::string(20, 'r')},
         false},
        {"NulLateInALongText",
         std::string(40, 'q') + "\r\n" + std::string(20, 'r') + "\0s\r\n"s,
         {std::string(40, 'q'), std::string(20, 'r')},
         true},
    };
    return cases;
}

class LineModelTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineModelTest, AssignTextSplitsAndJoins) {
    const LineCase& c = GetParam();
    TextDocument document;
    document.AssignText(c.bytes);
    EXPECT_EQ(document.Lines(), c.lines);
    EXPECT_EQ(document.LineCount(), c.lines.size());
    EXPECT_EQ(document.Empty(), c.lines.empty());
    EXPECT_EQ(document.JoinedText(), Joined(c.lines));
    EXPECT_EQ(document.HeldNul(), c.held_nul);
}

TEST_P(LineModelTest, LoadFileSplitsTheFileAndSaveWritesCrLf) {
    const LineCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.Write("in.txt", c.bytes);
    TextDocument document;
    document.LoadFile(path);
    EXPECT_EQ(document.Lines(), c.lines);
    EXPECT_EQ(document.JoinedText(), Joined(c.lines));
    EXPECT_EQ(document.HeldNul(), c.held_nul);
    // Loading never writes.
    EXPECT_EQ(ReadFile(path), c.bytes);

    const std::string out = dir.File("out.txt");
    document.SaveFile(out);
    EXPECT_EQ(ReadFile(out), Joined(c.lines));
}

INSTANTIATE_TEST_SUITE_P(Cases, LineModelTest, ::testing::ValuesIn(LineCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The rules written out the plain way, byte by byte.
std::vector<std::string> SplitPlainly(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size() && text[i] != '\0') {
        std::string line;
        while (i < text.size() && text[i] != '\r' && text[i] != '\n' && text[i] != '\0') {
            line += text[i++];
        }
        lines.push_back(line);
        if (i < text.size() && text[i] == '\r') {
            ++i;
        }
        if (i < text.size() && text[i] == '\n') {
            ++i;
        }
    }
    return lines;
}

// Texts of breaks and bytes at every offset, so block-wise scans meet a
// break, a NUL and a lone CR or LF at each position of a block and at its
// edges.
TEST(LineModelRandomTest, AgreesWithThePlainRulesAtEveryOffset) {
    std::mt19937 random(20240501);
    const std::string alphabet = "ab\r\n\xE4";
    TextDocument document;
    for (int round = 0; round < 4000; ++round) {
        // Up to three of the scans' 64-byte blocks.
        const std::size_t size = random() % 200;
        std::string text;
        // Mostly CR LF texts, which take the fast path unless one byte spoils it.
        while (text.size() < size) {
            if (random() % 4 == 0) {
                text += "\r\n";
            } else {
                text += static_cast<char>('a' + random() % 26);
            }
        }
        if (round % 2 == 1 && !text.empty()) {
            const std::size_t at = random() % text.size();
            const char spoilers[] = {'\r', '\n', '\0', '\xE4'};
            text[at] = spoilers[random() % 4];
        }
        if (round % 7 == 0 && !text.empty()) {
            text[random() % text.size()] = alphabet[random() % alphabet.size()];
        }
        const std::vector<std::string> expected = SplitPlainly(text);
        document.AssignText(text);
        ASSERT_EQ(document.Lines(), expected) << "text #" << round;
        ASSERT_EQ(document.JoinedText(), Joined(expected)) << "text #" << round;
        ASSERT_EQ(document.LineCount(), expected.size()) << "text #" << round;
        ASSERT_EQ(document.HeldNul(), text.find('\0') != std::string::npos) << "text #" << round;
    }
}

TEST(TextDocumentTest, OneDocumentServesFileAfterFile) {
    TempDir dir;
    const std::string big = dir.Write("big.txt", std::string(5000, 'x') + "\nend\n");
    const std::string joined = dir.Write("joined.txt", "one\r\ntwo\r\n");
    const std::string nul =
        dir.Write("nul-byte.txt", "z\0y"s);  // not "nul.txt": a device on Windows
    const std::string small = dir.Write("small.txt", "s\rt");

    TextDocument document;
    document.LoadFile(big);
    EXPECT_EQ(document.LineCount(), 2u);
    document.LoadFile(joined);
    EXPECT_EQ(document.JoinedText(), "one\r\ntwo\r\n");
    document.LoadFile(nul);
    EXPECT_EQ(document.JoinedText(), "z\r\n");
    EXPECT_TRUE(document.HeldNul());
    document.LoadFile(small);
    EXPECT_EQ(document.Lines(), (std::vector<std::string>{"s", "t"}));
    EXPECT_FALSE(document.HeldNul());
    document.LoadFile(joined);
    EXPECT_EQ(document.Lines(), (std::vector<std::string>{"one", "two"}));
    document.AssignText("");
    EXPECT_TRUE(document.Empty());
    EXPECT_EQ(document.JoinedText(), "");
    // The files themselves were only read.
    EXPECT_EQ(ReadFile(joined), "one\r\ntwo\r\n");
    EXPECT_EQ(ReadFile(small), "s\rt");
}

// Restores the working directory when it goes.
class ScopedWorkingDir {
public:
    explicit ScopedWorkingDir(const std::string& dir) : saved_(std::filesystem::current_path()) {
        std::error_code error;
        std::filesystem::current_path(dir, error);
        ok_ = !error;
    }
    ~ScopedWorkingDir() {
        std::error_code ignored;
        std::filesystem::current_path(saved_, ignored);
    }
    ScopedWorkingDir(const ScopedWorkingDir&) = delete;
    ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;
    [[nodiscard]] bool Ok() const { return ok_; }

private:
    std::filesystem::path saved_;
    bool ok_ = false;
};

TEST(TextDocumentTest, LoadOfAMissingFileNamesItsFullPathAndKeepsTheLines) {
    TempDir dir;
    TextDocument document;
    document.LoadFile(dir.Write("old.txt", "kept\nlines\0x"s));

    const std::string missing = dir.File("missing.txt");
    try {
        document.LoadFile(missing);
        FAIL() << "loading a missing file succeeded";
    } catch (const EngineError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + missing + "\". " + test::MissingFileText());
    }
    EXPECT_EQ(document.Lines(), (std::vector<std::string>{"kept", "lines"}));
    EXPECT_EQ(document.JoinedText(), "kept\r\nlines\r\n");
    EXPECT_TRUE(document.HeldNul());
}

TEST(TextDocumentTest, ErrorsNameTheAbsolutePathOfARelativeName) {
    TempDir dir;
    ScopedWorkingDir cwd(dir.Path());
    ASSERT_TRUE(cwd.Ok());
    // The folder as the system names it, links resolved.
    const std::string real_dir = std::filesystem::current_path().string();

    TextDocument document;
    try {
        document.LoadFile("missing.txt");
        FAIL() << "loading a missing file succeeded";
    } catch (const EngineError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file \"" +
                                                 test::InFolder(real_dir, "missing.txt") + "\". " +
                                                 test::MissingFileText());
    }
    try {
        document.SaveFile("no/such/folder.txt");
        FAIL() << "saving into a missing folder succeeded";
    } catch (const EngineError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file \"" +
                                                 test::InFolder(real_dir, "no/such/folder.txt") +
                                                 "\". " + test::MissingFolderText());
    }
}

TEST(TextDocumentTest, SavingNoLinesLeavesAnEmptyFile) {
    TempDir dir;
    const std::string path = dir.Write("full.txt", "some\r\ntext\r\n");
    TextDocument document;
    document.SaveFile(path);
    EXPECT_EQ(ReadFile(path), "");
    EXPECT_EQ(test::SizeOf(path), 0);
    // Loading an empty file and saving it keeps it empty.
    document.LoadFile(path);
    EXPECT_TRUE(document.Empty());
    document.SaveFile(path);
    EXPECT_EQ(ReadFile(path), "");
}

TEST(TextDocumentTest, SaveReplacesALongerFileWhole) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", std::string(10000, 'o'));
    TextDocument document;
    document.AssignText("new\nshort");
    document.SaveFile(path);
    EXPECT_EQ(ReadFile(path), "new\r\nshort\r\n");
    EXPECT_TRUE(test::TempLeftovers(dir.Path()).empty());
}

TEST(MakeBackupTest, CopiesTheBytesExactlyBesideTheFile) {
    TempDir dir;
    const std::string bytes = "a\nb\0c\r\xFF"s;
    const std::string path = dir.Write("a.txt", bytes);
    EXPECT_TRUE(TextDocument::MakeBackup(path));
    EXPECT_EQ(ReadFile(path + ".bak"), bytes);
    EXPECT_EQ(ReadFile(path), bytes);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "a.txt.bak"}));
}

TEST(MakeBackupTest, ReplacesAnOlderCopy) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", "new");
    dir.Write("a.txt.bak", "an older and longer copy");
    EXPECT_TRUE(TextDocument::MakeBackup(path));
    EXPECT_EQ(ReadFile(path + ".bak"), "new");
    EXPECT_TRUE(test::TempLeftovers(dir.Path()).empty());
}

TEST(MakeBackupTest, AMissingFileGivesNoCopy) {
    TempDir dir;
    EXPECT_FALSE(TextDocument::MakeBackup(dir.File("missing.txt")));
    EXPECT_FALSE(FileExists(dir.File("missing.txt.bak")));
    EXPECT_TRUE(dir.Names().empty());
}

}  // namespace
}  // namespace korv
