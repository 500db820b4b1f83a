#include "file_variables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "path_syntax.h"

namespace korv {
namespace {

// A context with a fixed case option that counts the pumps; the expansion
// must never log.
class VariablesContext final : public ReplaceContext {
public:
    explicit VariablesContext(bool case_sensitive) : case_sensitive_(case_sensitive) {}

    bool CaseSensitive() override { return case_sensitive_; }
    void PumpEvents() override { ++pumps; }
    std::string CurrentFileName() override {
        ADD_FAILURE() << "the expansion asked for the current file";
        return {};
    }
    void LogEvent(std::string_view event) override {
        ADD_FAILURE() << "the expansion logged: " << event;
    }

    int pumps = 0;

private:
    bool case_sensitive_;
};

// `path` with each slash spelled as this system's separator, so the cases
// read the same on every system.
std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '/', DirSeparator());
    return path;
}

std::string Expand(std::string_view text, std::string_view path, bool case_sensitive = true) {
    VariablesContext ctx(case_sensitive);
    std::string result = ExpandFileVariables(ctx, text, path);
    EXPECT_FALSE(ctx.ReplacedFlag);
    return result;
}

struct PathValues {
    std::string path;
    std::string dir;
    std::string ext;
    std::string name;
    std::string name_no_ext;
};

class FileVariableValues : public ::testing::TestWithParam<PathValues> {};

TEST_P(FileVariableValues, EachTokenGivesItsPartOfThePath) {
    PathValues v = GetParam();
    v.path = Native(v.path);
    v.dir = Native(v.dir);
    EXPECT_EQ(Expand("$fullfilename", v.path), v.path);
    EXPECT_EQ(Expand("$filedir", v.path), v.dir);
    EXPECT_EQ(Expand("$fileext", v.path), v.ext);
    EXPECT_EQ(Expand("$filename", v.path), v.name);
    EXPECT_EQ(Expand("$file", v.path), v.name_no_ext);
    EXPECT_EQ(Expand("[$filedir|$filename|$file|$fileext]", v.path),
              "[" + v.dir + "|" + v.name + "|" + v.name_no_ext + "|" + v.ext + "]");

    EXPECT_EQ(FileDirPart(v.path), v.dir);
    EXPECT_EQ(FileNamePart(v.path), v.name);
    EXPECT_EQ(FileExt(FileExtPart(v.path)), v.ext);
    EXPECT_EQ(FileNameNoExt(v.path), v.name_no_ext);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FileVariableValues,
    ::testing::Values(PathValues{"/docs/report.txt", "/docs", "txt", "report.txt", "report"},
                      PathValues{"/report.txt", "/", "txt", "report.txt", "report"},
                      PathValues{"/docs/archive.tar.gz", "/docs", "gz", "archive.tar.gz",
                                 "archive.tar"},
                      PathValues{"/docs/README", "/docs", "", "README", "README"},
                      PathValues{"/docs/.profile", "/docs", "profile", ".profile", ""},
                      PathValues{"/my.dir/notes", "/my.dir", "", "notes", "notes"},
                      PathValues{"/a/b/c.d/e.f", "/a/b/c.d", "f", "e.f", "e"},
                      PathValues{"a.txt", "", "txt", "a.txt", "a"}));

TEST(FileNameNoExtTest, CutsAtTheLastDotBeforeTheLastByte) {
    const std::pair<std::string, std::string_view> table[] = {
        {"report.txt", "report"},
        {"archive.tar.gz", "archive.tar"},
        {"README", "README"},
        {".profile", ""},
        {"a.", "a."},
        {"a.b.", "a"},
        {"", ""},
        {Native("/dir.x/a."), "a."},
    };
    for (auto [name, expected] : table) {
        EXPECT_EQ(FileNameNoExt(name), expected) << name;
    }
}

TEST(FileExtTest, DropsTheDotAndLeadingBlanks) {
    EXPECT_EQ(FileExt(".txt"), "txt");
    EXPECT_EQ(FileExt("."), "");
    EXPECT_EQ(FileExt(""), "");
    EXPECT_EQ(FileExt(". \t\x01z "), "z ");
    EXPECT_EQ(FileExtPart(Native("/a.b/c")), "");
    EXPECT_EQ(FileExtPart(Native("/a/b.c.d")), ".d");
    EXPECT_EQ(FileExtPart(Native("/a/b.")), ".");
}

TEST(ExpandFileVariablesTest, TokensExpandInTheirFixedOrder) {
    const std::string path = Native("/docs/report.txt");
    // "$fileext" goes first, then "$filename" takes what it left.
    EXPECT_EQ(Expand("$filename.$fileext", path), "report.txt.txt");
    EXPECT_EQ(Expand("$file.$fileext", path), "report.txt");
    // "$filename" inside a longer word.
    EXPECT_EQ(Expand("$filenames", path), "report.txts");
    EXPECT_EQ(Expand("$filedirectory", path), Native("/docsectory"));
    EXPECT_EQ(Expand("$fullfilename|$filedir", path), Native("/docs/report.txt|/docs"));
}

TEST(ExpandFileVariablesTest, TokensFollowTheCaseOption) {
    const std::string path = Native("/docs/report.txt");
    EXPECT_EQ(Expand("$FILE", path, false), "report");
    EXPECT_EQ(Expand("$FILE", path, true), "$FILE");
    EXPECT_EQ(Expand("$FileName", path, false), "report.txt");
    EXPECT_EQ(Expand("$FileName", path, true), "$FileName");
}

TEST(ExpandFileVariablesTest, InsertedValuesAreNeverExpandedAgain) {
    EXPECT_EQ(Expand("$fullfilename", Native("/data/$file/a.txt")), Native("/data/$file/a.txt"));
    EXPECT_EQ(Expand("$filedir", Native("/data/$filename/a.txt")), Native("/data/$filename"));
    EXPECT_EQ(Expand("$filename", Native("/d/$fileext.$file")), "$fileext.$file");
    EXPECT_EQ(Expand("$fullfilename and $file", Native("/data/$file/a.txt")),
              Native("/data/$file/a.txt and a"));
    // Case folding does not reach into values either.
    EXPECT_EQ(Expand("$fullfilename", Native("/data/$FILE/a.txt"), false),
              Native("/data/$FILE/a.txt"));
}

TEST(ExpandFileVariablesTest, AnEmptyValueJoinsTheTextAroundItAsTheTokenWentAway) {
    // "$fileext" of an extensionless file is empty; the text on its two
    // sides then forms "$file", which the last step expands.
    EXPECT_EQ(Expand("$fi$fileextle", Native("/docs/README")), "README");
    EXPECT_EQ(Expand("$file$fileextname", Native("/docs/README")), "README");
    // A value with bytes keeps its neighbours apart.
    EXPECT_EQ(Expand("$fil$fileext", Native("/docs/a.e")), "$file");
}

TEST(ExpandFileVariablesTest, ATextWithoutTokensComesBackUnchangedWithoutPumps) {
    VariablesContext ctx(false);
    EXPECT_EQ(ExpandFileVariables(ctx, "plain text $ file", Native("/docs/report.txt")),
              "plain text $ file");
    EXPECT_EQ(ExpandFileVariables(ctx, "", Native("/docs/report.txt")), "");
    EXPECT_EQ(ctx.pumps, 0);
}

TEST(ExpandFileVariablesTest, PumpsOncePerReplacedToken) {
    VariablesContext ctx(true);
    EXPECT_EQ(ExpandFileVariables(ctx, "$file $file $fileext $fullfilename", Native("/d/x.y")),
              "x x y " + Native("/d/x.y"));
    EXPECT_EQ(ctx.pumps, 4);
}

TEST(ExpandFileVariablesTest, AnExtensionlessFileGivesAnEmptyExtension) {
    EXPECT_EQ(Expand("$fileext", Native("/docs/README")), "");
    EXPECT_EQ(Expand("<$fileext>", Native("/docs/README")), "<>");
    EXPECT_EQ(Expand("$file.$fileext", Native("/docs/README")), "README.");
}

}  // namespace
}  // namespace korv
