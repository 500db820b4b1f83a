// A big file is mapped: another program cutting it short while it is
// loaded leaves zeros where its bytes were, and the document knows.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "big_text.h"
#include "file_system_helpers.h"
#include "temp_dir.h"
#include "text_document.h"

namespace korv {
namespace {

using test::BigText;
using test::kBig;
using test::TempDir;

TEST(BigFileTest, AFileCutShortWhileLoadedIsNoLongerIntact) {
    TempDir dir;
    const std::string text = BigText(kBig);
    const std::string path = dir.Write("a.txt", text);
    TextDocument document;
    document.LoadFile(path);
    ASSERT_TRUE(document.TextIntact());
    // Another program empties most of it; reading the lost part must not
    // kill us.
    ASSERT_TRUE(test::CutFile(path, 5000));
    const std::string_view seen = document.JoinedText();
    ASSERT_EQ(seen.size(), text.size());
    EXPECT_GT(test::TouchAll(seen), 0u);
    EXPECT_FALSE(document.TextIntact());
    EXPECT_TRUE(seen.substr(0, 5000) == std::string_view(text).substr(0, 5000));
    EXPECT_TRUE(seen.substr(seen.size() - 4096) == std::string(4096, '\0'));

    // A new load starts intact again, with the file as it now is.
    document.LoadFile(path);
    EXPECT_TRUE(document.TextIntact());
    EXPECT_EQ(document.JoinedText().size(), 5000u + 2u);
}

}  // namespace
}  // namespace korv
