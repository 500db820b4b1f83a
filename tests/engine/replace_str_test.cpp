#include "replace_str.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine_error.h"
#include "searcher.h"

namespace korv {
namespace {

// A context that answers from plain values and records what it is asked.
class RecordingContext final : public ReplaceContext {
public:
    // The case option; when `script` is set, the n-th question gets its n-th
    // answer (the last one repeats).
    bool case_sensitive = false;
    std::vector<bool> script;
    std::string file_name = "/docs/a.txt";
    bool log_fails = false;

    int case_questions = 0;
    int pumps = 0;
    int file_name_questions = 0;
    std::vector<std::string> events;

    bool CaseSensitive() override {
        const int n = case_questions++;
        if (script.empty()) {
            return case_sensitive;
        }
        return script[std::min<std::size_t>(static_cast<std::size_t>(n), script.size() - 1)];
    }
    void PumpEvents() override { ++pumps; }
    std::string CurrentFileName() override {
        ++file_name_questions;
        return file_name;
    }
    void LogEvent(std::string_view event) override {
        if (log_fails) {
            throw EngineError("Stream write error");
        }
        events.emplace_back(event);
    }
};

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string Lowered(std::string_view text) {
    std::string copy(text);
    for (char& c : copy) {
        c = Lower(c);
    }
    return copy;
}

// The substitution done the plain way: search the rest from its start, in
// lowercased copies when case does not count, and cut the front off.
struct ReferenceResult {
    std::string text;
    int occurrences = 0;
};

ReferenceResult ReferenceReplace(const std::string& source, const std::string& find,
                                 const std::string& replacement, bool case_sensitive) {
    ReferenceResult out;
    if (source.empty() || find == replacement) {
        out.text = source;
        return out;
    }
    auto search = [&](const std::string& rest) -> std::size_t {
        if (find.empty() || find.size() > rest.size()) {
            return std::string::npos;
        }
        return case_sensitive ? rest.find(find) : Lowered(rest).find(Lowered(find));
    };
    std::string rest = source;
    for (std::size_t p = search(rest); p != std::string::npos; p = search(rest)) {
        out.text += rest.substr(0, p);
        rest.erase(0, p + find.size());
        out.text += replacement;
        ++out.occurrences;
    }
    out.text += rest;
    return out;
}

struct EdgeCase {
    const char* name;
    std::string source;
    std::string find;
    std::string replacement;
    bool case_sensitive;
    std::string expected;
    bool logged;
    int pumps;
};

class ReplaceStrEdges : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(ReplaceStrEdges, GivesTheResultLogsOnlyAChangeAndPumpsOncePerReplacement) {
    const EdgeCase& c = GetParam();
    RecordingContext ctx;
    ctx.case_sensitive = c.case_sensitive;
    const std::string result = ReplaceStr(ctx, c.source, c.find, c.replacement, true);
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(ctx.ReplacedFlag, c.logged);
    EXPECT_EQ(ctx.events.size(), c.logged ? 1U : 0U);
    EXPECT_EQ(ctx.pumps, c.pumps);
}

const std::string kU196(1, static_cast<char>(196));
const std::string kU228(1, static_cast<char>(228));

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceStrEdges,
    ::testing::Values(
        EdgeCase{"EmptySource", "", "a", "b", false, "", false, 0},
        EdgeCase{"EmptyFind", "abc", "", "x", false, "abc", false, 0},
        EdgeCase{"FindEqualsReplacement", "abcabc", "abc", "abc", false, "abcabc", false, 0},
        EdgeCase{"DifferOnlyInCaseChanges", "Hello World", "hello", "HELLO", false, "HELLO World",
                 true, 1},
        EdgeCase{"ResultEqualToSourceNotLogged", "HELLO World", "hello", "HELLO", false,
                 "HELLO World", false, 1},
        EdgeCase{"NoOverlap", "aaa", "aa", "b", false, "ba", true, 1},
        EdgeCase{"NoCascade", "ab", "a", "aa", false, "aab", true, 1},
        EdgeCase{"OnlyOccurrencesEmptyReplacement", "xyxyxy", "xy", "", false, "", true, 3},
        EdgeCase{"FoldsMixedCase", "say HeLLo", "hello", "bye", false, "say bye", true, 1},
        EdgeCase{"CaseSensitiveNoMatch", "Hello", "hello", "bye", true, "Hello", false, 0},
        EdgeCase{"CaseSensitiveMatch", "Hello hello", "hello", "bye", true, "Hello bye", true, 1},
        EdgeCase{"FindLongerThanSource", "abc", "abcd", "x", false, "abc", false, 0},
        EdgeCase{"NotFound", "abc", "z", "x", false, "abc", false, 0},
        EdgeCase{"KeepsCaseBetweenOccurrences", "A-b-A", "a", "z", false, "z-b-z", true, 2},
        EdgeCase{"CrLfAcrossLines", "one\r\ntwo\r\nthree\r\n", "one\r\ntwo", "1-2", false,
                 "1-2\r\nthree\r\n", true, 1},
        EdgeCase{"LoneLfDoesNotMatchCrLf", "one\r\ntwo\r\n", "one\ntwo", "x", false,
                 "one\r\ntwo\r\n", false, 0},
        EdgeCase{"ByteAbove127NotFolded", "x" + kU228 + "x", kU196, "y", false, "x" + kU228 + "x",
                 false, 0},
        EdgeCase{"ByteAbove127ExactMatch", "x" + kU196 + "x", kU196, "y", false, "xyx", true, 1}),
    [](const ::testing::TestParamInfo<EdgeCase>& info) { return std::string(info.param.name); });

// Every byte whose ASCII lower case is itself must match only itself;
// the letters A to Z must match their small forms and nothing else.
TEST(ReplaceStrFolding, OnlyTheTwentySixLettersFold) {
    for (int b = 0; b < 256; ++b) {
        for (int s = 0; s < 256; ++s) {
            const char find = static_cast<char>(b);
            const char seen = static_cast<char>(s);
            const bool should = b == s || Lower(find) == Lower(seen);
            RecordingContext ctx;
            const std::string result =
                ReplaceStr(ctx, std::string(1, seen), std::string(1, find), "##", false);
            ASSERT_EQ(result == "##", should) << "find byte " << b << ", text byte " << s;
        }
    }
}

TEST(ReplaceStrFolding, PairsThatDifferOnlyInBitFiveStayApart) {
    // '@' and '`', '[' and '{', 196 and 228 differ as 'A' and 'a' do.
    const std::vector<std::pair<int, int>> pairs{{'@', '`'}, {'[', '{'}, {'\\', '|'}, {']', '}'},
                                                 {'^', '~'}, {'_', 127}, {196, 228}};
    for (auto [upper, lower] : pairs) {
        RecordingContext ctx;
        const std::string text(3, static_cast<char>(lower));
        EXPECT_EQ(ReplaceStr(ctx, text, std::string(1, static_cast<char>(upper)), "x", false), text)
            << upper;
        EXPECT_EQ(ReplaceStr(ctx, std::string(3, static_cast<char>(upper)),
                             std::string(1, static_cast<char>(lower)), "x", false),
                  std::string(3, static_cast<char>(upper)))
            << lower;
    }
}

TEST(ReplaceStrPumps, KOccurrencesGiveKPumpsAndNoneWhenNothingFound) {
    for (int k : {0, 1, 2, 7, 40}) {
        std::string source = "begin ";
        for (int i = 0; i < k; ++i) {
            source += "needle, hay ";
        }
        RecordingContext ctx;
        (void)ReplaceStr(ctx, source, "needle", "pin", true);
        EXPECT_EQ(ctx.pumps, k);
    }
}

TEST(ReplaceStrLog, LoggingOffTouchesNeitherFlagNorLog) {
    RecordingContext ctx;
    EXPECT_EQ(ReplaceStr(ctx, "abcabc", "b", "X", false), "aXcaXc");
    EXPECT_FALSE(ctx.ReplacedFlag);
    EXPECT_TRUE(ctx.events.empty());
    EXPECT_EQ(ctx.file_name_questions, 0);

    ctx.ReplacedFlag = true;  // a raised flag is never cleared by the substitution
    EXPECT_EQ(ReplaceStr(ctx, "abc", "z", "X", true), "abc");
    EXPECT_EQ(ReplaceStr(ctx, "", "z", "X", true), "");
    EXPECT_TRUE(ctx.ReplacedFlag);
    EXPECT_TRUE(ctx.events.empty());
}

TEST(ReplaceStrLog, TheEventNamesFindFileAndReplacementUnchanged) {
    RecordingContext ctx;
    ctx.file_name = "/docs/a b.txt";
    EXPECT_EQ(ReplaceStr(ctx, "x foo\r\nbar y", "foo\r\nbar", "Baz\r\n", true), "x Baz\r\n y");
    ASSERT_EQ(ctx.events.size(), 1U);
    EXPECT_EQ(ctx.events[0], "foo\r\nbar found in /docs/a b.txt and replaced to Baz\r\n");
    EXPECT_EQ(ctx.file_name_questions, 1);
    EXPECT_TRUE(ctx.ReplacedFlag);
}

TEST(ReplaceStrLog, AFailedLogWritePropagatesWithTheFlagAlreadyRaised) {
    RecordingContext ctx;
    ctx.log_fails = true;
    EXPECT_THROW((void)ReplaceStr(ctx, "abc", "b", "x", true), EngineError);
    EXPECT_TRUE(ctx.ReplacedFlag);
}

TEST(ReplaceStrCaseOption, IsAskedBeforeEverySearch) {
    RecordingContext ctx;
    ctx.case_sensitive = true;
    (void)ReplaceStr(ctx, "a.a.a.", "a", "b", false);
    // Three finds and the search that finds nothing more.
    EXPECT_EQ(ctx.case_questions, 4);
}

TEST(ReplaceStrCaseOption, AChangeBetweenSearchesGovernsTheNextSearch) {
    // Case-sensitive for the first two searches, then folded.
    RecordingContext ctx;
    ctx.script = {true, true, false};
    EXPECT_EQ(ReplaceStr(ctx, "aAaA", "a", "x", false), "xAxx");
    EXPECT_EQ(ctx.pumps, 3);

    // Folded first, exact afterwards: only the first capital is taken.
    RecordingContext other;
    other.script = {false, true};
    EXPECT_EQ(ReplaceStr(other, "AAaa", "a", "x", false), "xAxx");
}

TEST(ReplaceStrCaseOption, FindEqualToReplacementNeverAsks) {
    RecordingContext ctx;
    EXPECT_EQ(ReplaceStr(ctx, "Abc", "abc", "abc", true), "Abc");
    EXPECT_EQ(ctx.case_questions, 0);
    EXPECT_EQ(ctx.pumps, 0);
}

// Checks ReplaceStr against the reference for one input in both modes.
void ExpectLikeReference(const std::string& source, const std::string& find,
                         const std::string& replacement) {
    for (bool cs : {false, true}) {
        const ReferenceResult want = ReferenceReplace(source, find, replacement, cs);
        RecordingContext ctx;
        ctx.case_sensitive = cs;
        const std::string got = ReplaceStr(ctx, source, find, replacement, true);
        ASSERT_EQ(got, want.text) << "source \"" << source << "\" find \"" << find << "\" cs "
                                  << cs;
        ASSERT_EQ(ctx.pumps, want.occurrences) << "source \"" << source << "\" find \"" << find;
        ASSERT_EQ(ctx.ReplacedFlag, want.text != source);
    }
}

std::string RandomText(std::mt19937& random, std::string_view alphabet, std::size_t length) {
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        text += alphabet[pick(random)];
    }
    return text;
}

TEST(ReplaceStrDifferential, SmallRandomTextsMatchTheReference) {
    std::mt19937 random(20240611);
    const std::string_view alphabet = "aAbB\r\n@`";
    std::uniform_int_distribution<std::size_t> source_length(0, 24);
    std::uniform_int_distribution<std::size_t> find_length(1, 4);
    std::uniform_int_distribution<std::size_t> replacement_length(0, 3);
    for (int i = 0; i < 20000; ++i) {
        const std::string source = RandomText(random, alphabet, source_length(random));
        const std::string find = RandomText(random, alphabet, find_length(random));
        const std::string replacement = RandomText(random, alphabet, replacement_length(random));
        ExpectLikeReference(source, find, replacement);
    }
}

TEST(ReplaceStrDifferential, LongTextsAcrossBlocksMatchTheReference) {
    std::mt19937 random(77);
    // Few letters, so needles occur at every offset of a block.
    const std::string_view alphabet = "aAbB@`[{";
    std::uniform_int_distribution<std::size_t> source_length(15, 300);
    std::uniform_int_distribution<std::size_t> find_length(1, 20);
    for (int i = 0; i < 3000; ++i) {
        const std::string source = RandomText(random, alphabet, source_length(random));
        // Needles taken from the text itself, so most are found.
        std::string find;
        std::size_t length = std::min(find_length(random), source.size());
        std::uniform_int_distribution<std::size_t> start(0, source.size() - length);
        find = source.substr(start(random), length);
        ExpectLikeReference(source, find, "<>");
    }
}

TEST(ReplaceStrDifferential, OccurrencesAtEveryOffsetOfABlock) {
    for (std::size_t lead = 0; lead < 40; ++lead) {
        for (std::size_t tail = 0; tail < 20; ++tail) {
            const std::string source =
                std::string(lead, '.') + "NeedLe" + std::string(tail, '.') + "nEEDLE";
            ExpectLikeReference(source, "needle", "x");
            ExpectLikeReference(source, "NeedLe", "x");
        }
    }
}

TEST(ReplaceStrDifferential, PathologicalNeedlesMatchTheReference) {
    // Needles whose first and last bytes are everywhere, so the quick
    // filter keeps producing false candidates.
    const std::string a_run(5000, 'a');
    const std::string needle_aab = std::string(63, 'a') + "b";
    const std::vector<std::pair<std::string, std::string>> cases{
        {a_run + "b" + a_run + "ab", needle_aab},
        {a_run + "B" + a_run, std::string(63, 'A') + "b"},
        {std::string(20000, 'a'), std::string(40, 'a')},
        {[] {
             std::string s;
             for (int i = 0; i < 4000; ++i) {
                 s += "ab";
             }
             return s + "abc";
         }(),
         "abababababababababababababababc"},
        {[] {
             std::string s;
             for (int i = 0; i < 3000; ++i) {
                 s += (i % 7 == 0) ? "aBAb" : "abAB";
             }
             return s;
         }(),
         "abababab"},
    };
    for (const auto& [source, find] : cases) {
        ExpectLikeReference(source, find, "#");
    }
}

TEST(ReplaceStrDifferential, PathologicalNeedleWithChangingCaseOption) {
    // The fallback scan is chosen per mode; switching modes mid-way must
    // still find exactly what each search's mode finds.
    std::string source;
    for (int i = 0; i < 300; ++i) {
        source += std::string(100, 'a') + "B" + std::string(100, 'a') + "b";
    }
    const std::string find = std::string(30, 'a') + "b";
    RecordingContext ctx;
    for (int i = 0; i < 1000; ++i) {
        ctx.script.push_back(i % 3 != 0);
    }
    const std::string got = ReplaceStr(ctx, source, find, "#", false);

    // Replay the same answers on the plain search.
    std::string want;
    std::string rest = source;
    int question = 0;
    auto cs_now = [&] { return ctx.script[std::min<std::size_t>(question++, 999)]; };
    for (;;) {
        const bool cs = cs_now();
        const std::size_t p = cs ? rest.find(find) : Lowered(rest).find(Lowered(find));
        if (p == std::string::npos) {
            break;
        }
        want += rest.substr(0, p) + "#";
        rest.erase(0, p + find.size());
    }
    want += rest;
    EXPECT_EQ(got, want);
    EXPECT_EQ(ctx.case_questions, question);
}

TEST(SearcherTest, FindsFromAnOffsetInBothModes) {
    Searcher searcher("aB");
    const std::string_view hay = "xxabxxaBxxAB";
    EXPECT_EQ(searcher.Find(hay, 0, true), 6U);
    EXPECT_EQ(searcher.Find(hay, 0, false), 2U);
    EXPECT_EQ(searcher.Find(hay, 3, false), 6U);
    EXPECT_EQ(searcher.Find(hay, 7, false), 10U);
    EXPECT_EQ(searcher.Find(hay, 11, false), Searcher::npos);
    EXPECT_EQ(searcher.Find(hay, 7, true), Searcher::npos);
    EXPECT_EQ(searcher.Find(hay, 13, false), Searcher::npos);
    EXPECT_EQ(Searcher("").Find(hay, 0, true), Searcher::npos);
}

TEST(SearcherTest, KeepsFindingAfterFallingBackToTheScan) {
    // Many false candidates make the searcher change its method; later
    // searches with the same object must stay exact.
    std::string hay(100000, 'a');
    const std::string needle = std::string(50, 'a') + "b";
    std::vector<std::size_t> at{70000, 70051, 99949};
    for (std::size_t p : at) {
        hay[p + 50] = 'b';
    }
    Searcher searcher(needle);
    std::vector<std::size_t> found;
    for (std::size_t pos = searcher.Find(hay, 0, true); pos != Searcher::npos;
         pos = searcher.Find(hay, pos + needle.size(), true)) {
        found.push_back(pos);
    }
    EXPECT_EQ(found, at);
    EXPECT_EQ(searcher.Find(hay, 70001, true), 70051U);
    EXPECT_EQ(searcher.Find(hay, 70052, true), 99949U);
    EXPECT_EQ(searcher.Find(hay, 0, false), 70000U);
}

}  // namespace
}  // namespace korv
