// A big file is read whole on Windows: another program cutting it short
// while it is loaded changes nothing of the loaded text.

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

TEST(BigFileTest, AFileCutShortWhileLoadedKeepsTheLoadedText) {
    TempDir dir;
    const std::string text = BigText(kBig);
    const std::string path = dir.Write("a.txt", text);
    TextDocument document;
    document.LoadFile(path);
    ASSERT_TRUE(document.TextIntact());
    // The load holds no handle, so the other program may cut it.
    ASSERT_TRUE(test::CutFile(path, 5000));
    EXPECT_TRUE(document.TextIntact());
    EXPECT_TRUE(document.JoinedText() == text);

    document.LoadFile(path);
    EXPECT_TRUE(document.TextIntact());
    EXPECT_EQ(document.JoinedText().size(), 5000u + 2u);
}

}  // namespace
}  // namespace korv
