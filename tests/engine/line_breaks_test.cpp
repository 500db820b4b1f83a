// How a changed file is written in each of the two ways, for 8-bit text and
// for UTF-16 in both byte orders: only the occurrences change where the
// line breaks are kept, every line ends in CR LF otherwise, and matching is
// the same in both.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "activity_log.h"
#include "batch_run.h"
#include "fake_batch_ui.h"
#include "file_test_helpers.h"
#include "line_breaks.h"
#include "log_events.h"
#include "temp_dir.h"
#include "time_stamp.h"
#include "utf16_text.h"

namespace korv {
namespace {

using test::FakeUi;
using test::ReadFile;
using test::TempDir;

// The file's bytes, each taken for one character (bytes 128 to 255 as
// U+0080 to U+00FF), as UTF-16 of one byte order with its mark.
std::string AsUtf16(const std::string& bytes, TextEncoding encoding) {
    std::string out = encoding == TextEncoding::Utf16Le ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : bytes) {
        const char zero = '\0';
        out += encoding == TextEncoding::Utf16Le ? std::string{c, zero} : std::string{zero, c};
    }
    return out;
}

// `utf8` as this program's own text (UTF-8, or the ANSI code page on
// Windows, tried in its Latin-1 range); nullopt when it cannot be typed.
std::optional<std::string> Typed(const std::string& utf8) {
    const std::optional<std::u16string> meant = Utf16OfUtf8(utf8);
    if (!meant) {
        return std::nullopt;
    }
    if (Utf16OfProgramText(utf8) == meant) {
        return utf8;
    }
    std::string latin1;
    for (const char16_t unit : *meant) {
        latin1 += static_cast<char>(unit);
    }
    if (Utf16OfProgramText(latin1) == meant) {
        return latin1;
    }
    return std::nullopt;
}

struct Case {
    const char* what;
    std::string before;
    std::string find;
    std::string replacement;
    std::string kept;  // written with the line breaks kept
    std::string crlf;  // written with CR LF after every line
};

std::vector<Case> Cases() {
    const std::string native(NativeLineBreak());
    return {
        {"LF", "a HeLLo\nb\n", "hello", "howdy", "a howdy\nb\n", "a howdy\r\nb\r\n"},
        {"CR LF", "a hello\r\nb\r\n", "hello", "howdy", "a howdy\r\nb\r\n", "a howdy\r\nb\r\n"},
        {"CR", "a hello\rb\r", "hello", "howdy", "a howdy\rb\r", "a howdy\r\nb\r\n"},
        {"LF CR", "hello\n\rb", "hello", "howdy", "howdy\n\rb", "howdy\r\n\r\nb\r\n"},
        {"mixed", "hello\r\nx\ny\rz", "hello", "howdy", "howdy\r\nx\ny\rz",
         "howdy\r\nx\r\ny\r\nz\r\n"},
        {"no final break", "x hello", "hello", "howdy", "x howdy", "x howdy\r\n"},
        {"UTF-8 mark", "\xEF\xBB\xBFhello\n", "hello", "howdy", "\xEF\xBB\xBFhowdy\n",
         "\xEF\xBB\xBFhowdy\r\n"},
        {"bytes 128 to 255", "caf\xE9 hello \xFF\n", "hello", "howdy", "caf\xE9 howdy \xFF\n",
         "caf\xE9 howdy \xFF\r\n"},
        {"two lines across LF", "end\nstart\n", "end\r\nstart", "joined", "joined\n", "joined\r\n"},
        {"two lines across CR", "end\rstart\r", "end\r\nstart", "joined", "joined\r", "joined\r\n"},
        {"two lines across CR LF", "end\r\nstart", "END\r\nstart", "joined", "joined",
         "joined\r\n"},
        {"two lines across mixed breaks", "x\r\nend\nstart\r\n", "end\r\nstart", "joined",
         "x\r\njoined\r\n", "x\r\njoined\r\n"},
        {"LF CR is two breaks", "end\n\rstart\n", "end\r\nstart", "joined", "end\n\rstart\n",
         "end\n\rstart\n"},
        {"the missing last break", "a\nb", "b\r\n", "B", "a\nB", "a\r\nB\r\n"},
        {"breaks in the replacement, LF", "hello\n", "hello", "one\r\ntwo", "one\ntwo\n",
         "one\r\ntwo\r\n"},
        {"breaks in the replacement, CR then LF", "x\ry\nhello", "hello", "one\r\ntwo",
         "x\ry\none\rtwo", "x\r\ny\r\none\r\ntwo\r\n"},
        {"breaks in the replacement, none in the file", "hello", "hello", "one\r\ntwo",
         "one" + native + "two", "one\r\ntwo\r\n"},
        {"equal once folded", "Hello\n", "hello", "Hello", "Hello\n", "Hello\n"},
    };
}

class LineBreaksTest : public ::testing::TestWithParam<TextEncoding> {
protected:
    LineBreaksTest() : log_(dir_.File("korv.log"), TimeFormat{}) { log_.Open(); }

    // The file's bytes in the encoding under test.
    std::string Encoded(const std::string& bytes) const {
        return GetParam() == TextEncoding::Bytes ? bytes : AsUtf16(bytes, GetParam());
    }

    TempDir dir_;
    ActivityLog log_;
};

TEST_P(LineBreaksTest, OnlyTheOccurrencesChangeWhereBreaksAreKept) {
    for (const LineBreaks way : {LineBreaks::Keep, LineBreaks::CrLf}) {
        for (const Case& c : Cases()) {
            const std::string path = dir_.Write("a.txt", Encoded(c.before));
            FakeUi ui;
            ui.entries = {path};
            ui.find = c.find;
            ui.replacement = c.replacement;
            ui.line_breaks = way;
            const BatchOutcome outcome = RunBatch(ui, log_);
            const std::string& expected = way == LineBreaks::Keep ? c.kept : c.crlf;
            const bool keep = way == LineBreaks::Keep;
            EXPECT_EQ(ReadFile(path), Encoded(expected)) << c.what << (keep ? ", kept" : ", CR LF");
            EXPECT_EQ(outcome.FilesReplaced, expected == c.before ? 0 : 1) << c.what;
            EXPECT_EQ(outcome.FilesFailed, 0) << c.what;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Encodings, LineBreaksTest,
                         ::testing::Values(TextEncoding::Bytes, TextEncoding::Utf16Le,
                                           TextEncoding::Utf16Be),
                         [](const auto& info) {
                             return info.param == TextEncoding::Bytes     ? "EightBit"
                                    : info.param == TextEncoding::Utf16Le ? "Utf16Le"
                                                                          : "Utf16Be";
                         });

// What only UTF-16 has: texts turned into it, units that are no ASCII
// letters, and the files or texts it cannot take, which keep their bytes.
TEST(Utf16Files, TextsAreConvertedAndWhatCannotBeIsRefused) {
    struct Utf16Case {
        const char* what;
        std::string before;
        std::string find;
        std::string after;   // the file's bytes afterwards, either way
        std::string reason;  // part of the failure's reason, or empty
    };
    const TextEncoding le = TextEncoding::Utf16Le;
    // U+1F600, CR LF
    const std::string smile("\xFF\xFE\x3D\xD8\x00\xDE\r\x00\n\x00", 10);
    const std::vector<Utf16Case> cases{
        {"a typed letter beyond ASCII", AsUtf16("caf\xE9\r\n", le), "caf\xC3\xA9",
         AsUtf16("X\r\n", le), ""},
        {"a character beyond 16 bits", smile, "\xF0\x9F\x98\x80", AsUtf16("X\r\n", le), ""},
        {"A to Z alone are folded", AsUtf16("\xC4 ", le) + std::string("\x41\x01", 2), "\xC3\xA4",
         AsUtf16("\xC4 ", le) + std::string("\x41\x01", 2), ""},
        {"no unit folds into a letter", std::string("\xFF\xFE\x41\x01", 4), "a",
         std::string("\xFF\xFE\x41\x01", 4), ""},
        {"a NUL character", AsUtf16(std::string("a\0b", 3), le), "a",
         AsUtf16(std::string("a\0b", 3), le), "NUL character"},
        {"an odd length", "\xFF\xFE\x61\x00\x62", "a", "\xFF\xFE\x61\x00\x62", "odd number"},
    };
    TempDir dir;
    ActivityLog log(dir.File("korv.log"), TimeFormat{});
    log.Open();
    for (Utf16Case c : cases) {
        const std::optional<std::string> find = Typed(c.find);
        if (!find) {
            continue;  // this system's code page has no such character
        }
        c.find = *find;
        const std::string path = dir.Write("a.txt", c.before);
        for (const LineBreaks way : {LineBreaks::Keep, LineBreaks::CrLf}) {
            FakeUi ui;
            ui.entries = {path};
            ui.find = c.find;
            ui.replacement = "X";
            ui.line_breaks = way;
            const BatchOutcome outcome = RunBatch(ui, log);
            EXPECT_EQ(ReadFile(path), c.after) << c.what;
            const std::vector<std::string>& reasons = ui.reasons;
            if (c.reason.empty()) {
                EXPECT_TRUE(reasons.empty()) << c.what;
            } else {
                ASSERT_EQ(reasons.size(), 1U) << c.what;
                EXPECT_NE(reasons[0].find(c.reason), std::string::npos) << reasons[0];
                EXPECT_EQ(outcome.FilesFailed, 1) << c.what;
            }
            dir.Write("a.txt", c.before);
        }
    }
    // A typed text this program's encoding does not hold stops at the file.
    const std::string no_text = "caf\xC3";
    if (!Utf16OfProgramText(no_text)) {
        const std::string path = dir.Write("b.txt", AsUtf16("caf\xE9", le));
        FakeUi ui;
        ui.entries = {path};
        ui.find = no_text;
        ui.replacement = "X";
        EXPECT_EQ(RunBatch(ui, log).FilesFailed, 1);
        ASSERT_EQ(ui.reasons.size(), 1U);
        EXPECT_NE(ui.reasons[0].find("cannot be put into UTF-16"), std::string::npos);
        EXPECT_EQ(ReadFile(path), AsUtf16("caf\xE9", le));
    }
}

}  // namespace
}  // namespace korv
