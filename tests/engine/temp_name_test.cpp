// Names near the longest a folder allows (255 bytes): the temporary file
// beside such a file must still fit, or the save loses its safety (it is
// written in place) and a first backup copy is never made.

#include <gtest/gtest.h>

#include <string>

#include "file_system_helpers.h"
#include "temp_dir.h"
#include "text_document.h"

namespace korv {
namespace {

using test::FileExists;
using test::ReadFile;
using test::TempDir;

TEST(TempNameTest, ALongNamedFileIsSavedThroughATemporaryFileAndBackedUp) {
    for (std::size_t length : {200U, 236U, 240U, 251U}) {
        SCOPED_TRACE(length);
        TempDir dir;
        const std::string path = dir.Write(std::string(length - 4, 'x') + ".txt", "old\r\n");
        const FileIdentity before = test::IdentityOf(path);
        ASSERT_TRUE(TextDocument::MakeBackup(path));
        EXPECT_EQ(ReadFile(path + ".bak"), "old\r\n");
        TextDocument document;
        document.AssignText("new");
        document.SaveFile(path);
        EXPECT_EQ(ReadFile(path), "new\r\n");
        // A new file took the old one's place: the save went through a
        // temporary file, not over the old bytes.
        EXPECT_NE(test::IdentityOf(path), before);
        EXPECT_EQ(dir.Names().size(), 2U);
    }
}

}  // namespace
}  // namespace korv
