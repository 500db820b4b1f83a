// File-name variables and files beside the executable with Windows paths.

#include <gtest/gtest.h>

#include <string>

#include "executable_dir.h"
#include "file_variables.h"

namespace korv {
namespace {

struct PathParts {
    const char* path;
    const char* dir;
    const char* ext;
    const char* name;
    const char* name_no_ext;
};

class WindowsPathParts : public testing::TestWithParam<PathParts> {};

TEST_P(WindowsPathParts, GiveEachVariablesValue) {
    const PathParts& p = GetParam();
    EXPECT_EQ(FileDirPart(p.path), p.dir);
    EXPECT_EQ(FileExt(FileExtPart(p.path)), p.ext);
    EXPECT_EQ(FileNamePart(p.path), p.name);
    EXPECT_EQ(FileNameNoExt(p.path), p.name_no_ext);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WindowsPathParts,
    testing::Values(
        PathParts{"C:\\docs\\report.txt", "C:\\docs", "txt", "report.txt", "report"},
        // A drive's root keeps its backslash.
        PathParts{"C:\\report.txt", "C:\\", "txt", "report.txt", "report"},
        PathParts{"C:\\docs\\archive.tar.gz", "C:\\docs", "gz", "archive.tar.gz", "archive.tar"},
        PathParts{"C:\\docs\\README", "C:\\docs", "", "README", "README"},
        PathParts{"C:\\docs\\.profile", "C:\\docs", "profile", ".profile", ""},
        // A dot in a folder's name starts no extension.
        PathParts{"C:\\my.dir\\notes", "C:\\my.dir", "", "notes", "notes"},
        // The colon separates as well.
        PathParts{"C:a.txt", "C:", "txt", "a.txt", "a"},
        PathParts{"a.txt", "", "txt", "a.txt", "a"},
        PathParts{"C:my.dir", "C:", "dir", "my.dir", "my"},
        // The slash is no separator of the file-name variables.
        PathParts{"C:\\a/b.txt", "C:\\", "txt", "a/b.txt", "a/b"},
        PathParts{"\\\\server\\share\\a.txt", "\\\\server\\share", "txt", "a.txt", "a"}));

TEST(BesideExecutableAt, AProgramInADrivesRootGetsTwoBackslashes) {
    EXPECT_EQ(BesideExecutableAt("C:\\korv-cli.exe", "korv.log"), "C:\\\\korv.log");
    EXPECT_EQ(BesideExecutableAt("D:\\Tools\\Korvane\\korv-cli.exe", "korv.log"),
              "D:\\Tools\\Korvane\\korv.log");
    EXPECT_EQ(BesideExecutableAt("\\\\server\\share\\korv-cli.exe", "settings.ini"),
              "\\\\server\\share\\settings.ini");
}

TEST(BesideExecutable, NamesAFileInTheRunningProgramsFolder) {
    const std::string path = ExecutablePath();
    ASSERT_GE(path.size(), 4u);
    EXPECT_EQ(path.substr(1, 2), ":\\") << path;
    EXPECT_EQ(path.substr(path.size() - 4), ".exe") << path;
    EXPECT_EQ(BesideExecutable("korv.log"), ExecutableDir() + "\\korv.log");
}

}  // namespace
}  // namespace korv
