// Whole files past the size from which they are mapped instead of read.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "big_text.h"
#include "engine_error.h"
#include "file_fault.h"
#include "file_system_helpers.h"
#include "file_test_helpers.h"
#include "temp_dir.h"
#include "text_document.h"

namespace korv {
namespace {

using test::BigText;
using test::FailNthCall;
using test::FaultPlanGuard;
using test::kBig;
using test::ReadFile;
using test::TempDir;

TEST(BigFileTest, LoadsCrLfAndLfFilesWhetherMappedOrRead) {
    TempDir dir;
    const std::string crlf = BigText(kBig);
    const std::string lf = test::WithoutCr(crlf);
    const std::string crlf_path = dir.Write("crlf.txt", crlf);
    const std::string lf_path = dir.Write("lf.txt", lf);
    for (bool refuse_mapping : {false, true}) {
        SCOPED_TRACE(refuse_mapping ? "read" : "mapped");
        FailNthCall no_maps(FileCall::kMap, 1, ENOMEM);
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
