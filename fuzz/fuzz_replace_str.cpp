// ReplaceStr and the Substitution behind it against the literal algorithm:
// lowercased copies, a new search from the start of the rest after each
// occurrence, one pump per replacement, the case option asked before every
// search (and flipping between searches when the input says so). The
// result written straight to a file must equal the built result, also when
// the system takes each write only in part.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_system.h"
#include "kept_breaks.h"
#include "line_breaks.h"
#include "memory_file.h"
#include "reference_text.h"
#include "replace_str.h"
#include "substitution.h"

namespace {

using korv::fuzz::Check;
using korv::fuzz::ReferenceJoined;
using korv::fuzz::ReferenceLower;

// How the wrapped pwrite below treats the file layer's writes: at most `limit`
// bytes a call (0: no limit), and every `interrupt_every`th call fails with
// EINTR before writing anything (0: never).
struct WriteShaping {
    std::size_t limit = 0;
    unsigned interrupt_every = 0;
    unsigned calls = 0;
};
WriteShaping shaping;

}  // namespace

// The system's pwrite, wrapped at link time (-Wl,--wrap=pwrite) so a test
// can hand the file layer the short and interrupted writes a real system
// may give.
extern "C" ssize_t __real_pwrite(int fd, const void* bytes, std::size_t size, off_t offset);
extern "C" ssize_t __wrap_pwrite(int fd, const void* bytes, std::size_t size, off_t offset) {
    ++shaping.calls;
    if (shaping.interrupt_every != 0 && shaping.calls % shaping.interrupt_every == 0) {
        errno = EINTR;
        return -1;
    }
    if (shaping.limit != 0) {
        size = std::min(size, shaping.limit);
    }
    return __real_pwrite(fd, bytes, size, offset);
}

namespace {

// Writes in order from the start of a file through the file layer's
// primitive, as a save does.
class FileSink final : public korv::ContentSink {
public:
    explicit FileSink(int fd) : file_(::dup(fd), "fuzzed file") {}
    bool Write(std::string_view bytes) override {
        if (!korv::fs::WriteAt(file_, offset_, bytes)) {
            return false;
        }
        offset_ += static_cast<std::int64_t>(bytes.size());
        return true;
    }

private:
    korv::fs::File file_;
    std::int64_t offset_ = 0;
};

// The case option as a sequence of answers, one per time it is asked.
class FuzzContext final : public korv::ReplaceContext {
public:
    explicit FuzzContext(std::uint64_t case_bits) : case_bits_(case_bits) {}

    bool CaseSensitive() override { return ((case_bits_ >> (case_reads++ % 64)) & 1) != 0; }
    void PumpEvents() override { ++pumps; }
    std::string CurrentFileName() override {
        ++name_reads;
        return "/data/a.txt";
    }
    void LogEvent(std::string_view event) override { events.emplace_back(event); }

    unsigned case_reads = 0;
    unsigned pumps = 0;
    unsigned name_reads = 0;
    std::vector<std::string> events;

private:
    std::uint64_t case_bits_;
};

// One piece of a text as the line model reads it: a byte, or a line break
// (CR LF, a lone CR, a lone LF, or the one a last line lacks, of no bytes).
struct Piece {
    std::string raw;
    bool line_break = false;
};

std::vector<Piece> Pieces(std::string_view text, bool last_break) {
    std::vector<Piece> pieces;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            pieces.push_back({"\r\n", true});
            ++i;
        } else {
            pieces.push_back({std::string(1, text[i]), text[i] == '\r' || text[i] == '\n'});
        }
    }
    if (last_break && !pieces.empty() && !pieces.back().line_break) {
        pieces.push_back({"", true});
    }
    return pieces;
}

// The substitution over a file whose line breaks are kept, piece by piece:
// a line break of the find text matches any one line break of the file,
// and each line break of the replacement is written as the file's first.
std::string ReferenceKept(FuzzContext& ctx, const std::string& source, const std::string& find,
                          const std::string& replacement) {
    if (source.empty() || find == replacement) {
        return source;
    }
    const std::vector<Piece> text = Pieces(source, true);
    const std::vector<Piece> wanted = Pieces(find, false);
    std::string line_break(korv::NativeLineBreak());
    for (const Piece& piece : text) {
        if (piece.line_break && !piece.raw.empty()) {
            line_break = piece.raw;
            break;
        }
    }
    std::string written;
    for (const Piece& piece : Pieces(replacement, false)) {
        written += piece.line_break ? line_break : piece.raw;
    }
    const auto same = [](const Piece& a, const Piece& b, bool case_sensitive) {
        if (a.line_break || b.line_break) {
            return a.line_break && b.line_break;
        }
        return case_sensitive ? a.raw == b.raw : ReferenceLower(a.raw) == ReferenceLower(b.raw);
    };
    if (wanted.empty() || wanted.size() > text.size()) {
        return source;
    }
    std::string result;
    std::size_t from = 0;
    while (true) {
        const bool case_sensitive = ctx.CaseSensitive();
        std::size_t at = from;
        for (; at + wanted.size() <= text.size(); ++at) {
            std::size_t k = 0;
            while (k < wanted.size() && same(text[at + k], wanted[k], case_sensitive)) {
                ++k;
            }
            if (k == wanted.size()) {
                break;
            }
        }
        if (at + wanted.size() > text.size()) {
            break;
        }
        for (std::size_t i = from; i < at; ++i) {
            result += text[i].raw;
        }
        result += written;
        from = at + wanted.size();
        ctx.PumpEvents();
    }
    for (std::size_t i = from; i < text.size(); ++i) {
        result += text[i].raw;
    }
    return result;
}

struct ReferenceOutcome {
    std::string result;
    unsigned pumps = 0;
    unsigned searches = 0;
};

// The substitution exactly as described: positions count from 1, the rest
// shrinks from the front, each search makes fresh lowercased copies.
ReferenceOutcome ReferenceReplace(FuzzContext& ctx, const std::string& source,
                                  const std::string& find, const std::string& replacement) {
    ReferenceOutcome out;
    if (source.empty() || find == replacement) {
        out.result = source;
        return out;
    }
    auto search = [&](const std::string& rest) -> std::size_t {
        ++out.searches;
        const bool case_sensitive = ctx.CaseSensitive();
        if (find.empty() || find.size() > rest.size()) {
            return 0;
        }
        const std::size_t at =
            case_sensitive ? rest.find(find) : ReferenceLower(rest).find(ReferenceLower(find));
        return at == std::string::npos ? 0 : at + 1;
    };
    std::string rest = source;
    const std::size_t n = find.size();
    std::size_t p = search(rest);
    if (p == 0) {
        out.result = source;
        return out;
    }
    while (p != 0) {
        if (p > 1) {
            out.result.append(rest, 0, p - 1);
        }
        rest.erase(0, p + n - 1);
        out.result += replacement;
        p = search(rest);
        ++out.pumps;
    }
    out.result += rest;
    return out;
}

// Maps bytes onto a few letters, their capitals, line breaks and the two
// bytes 196 and 228 (which must never fold), so occurrences are common.
std::string Narrowed(const std::string& text) {
    static constexpr char kAlphabet[] = {'a', 'A', 'b', 'B', '\r', '\n', '\xC4', '\xE4', 'z', '['};
    std::string out = text;
    for (char& c : out) {
        c = kAlphabet[static_cast<unsigned char>(c) % sizeof kAlphabet];
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto flags = in.ConsumeIntegral<std::uint8_t>();
    const bool narrow = (flags & 1) != 0;
    const bool joined_source = (flags & 2) != 0;
    const bool log = (flags & 4) != 0;
    std::uint64_t case_bits = in.ConsumeIntegral<std::uint64_t>();
    if ((flags & 8) != 0) {
        case_bits = (flags & 16) != 0 ? ~0ULL : 0;  // one mode for the whole call
    }
    const auto write_limit = in.ConsumeIntegralInRange<std::size_t>(0, 40);
    // Never every call, or the write could not get anywhere.
    const auto interrupt_pick = in.ConsumeIntegralInRange<unsigned>(0, 3);
    const unsigned interrupt_every = interrupt_pick == 0 ? 0 : interrupt_pick + 1;
    std::string find = in.ConsumeRandomLengthString(24);
    std::string replacement = in.ConsumeRandomLengthString(24);
    std::string source = in.ConsumeRemainingBytesAsString();
    if (narrow) {
        find = Narrowed(find);
        replacement = Narrowed(replacement);
        source = Narrowed(source);
    }
    if (joined_source) {
        source = ReferenceJoined(source);  // as the batch run hands it over
    }

    FuzzContext reference_ctx(case_bits);
    const ReferenceOutcome expected = ReferenceReplace(reference_ctx, source, find, replacement);
    const bool changed = expected.result != source;

    FuzzContext ctx(case_bits);
    const std::string result = korv::ReplaceStr(ctx, source, find, replacement, log);
    Check(result == expected.result, "ReplaceStr result");
    Check(ctx.pumps == expected.pumps, "pumps");
    if (!find.empty() && find.size() <= source.size()) {
        Check(ctx.case_reads == expected.searches, "case option asked once per search");
    }
    Check(ctx.ReplacedFlag == (log && changed), "ReplacedFlag");
    Check(ctx.events.size() == (log && changed ? 1U : 0U), "one log line for a changed text");
    Check(ctx.name_reads == ctx.events.size(), "file name asked only for the log line");
    if (!ctx.events.empty()) {
        Check(ctx.events[0] == find + " found in /data/a.txt and replaced to " + replacement,
              "log line");
    }

    FuzzContext plan_ctx(case_bits);
    const korv::Substitution plan = korv::Substitution::Plan(plan_ctx, source, find, replacement);
    Check(plan.Result() == expected.result, "Substitution result");
    Check(plan.Changed() == changed, "Changed");
    Check(plan.Found() == (expected.pumps > 0), "Found");
    Check(plan_ctx.pumps == expected.pumps, "Substitution pumps");
    Check(plan_ctx.events.empty() && !plan_ctx.ReplacedFlag, "planning never logs");
    if (plan.WrittenAsIs() && ReferenceJoined(source) == source) {
        Check(ReferenceJoined(expected.result) == expected.result,
              "a result said to keep its line breaks is its own joined form");
    }

    static korv::fuzz::MemoryFile file;
    file.Empty();
    shaping = {write_limit, interrupt_every, 0};
    FileSink sink(file.Fd());
    const bool written = plan.WriteResult(sink);
    shaping = {};
    Check(written, "WriteResult reports success");
    Check(file.Contents() == expected.result, "WriteResult writes the result");

    // The same where a file keeps its line breaks, for a find text handed
    // over with CR LF breaks, as the programs hand it over.
    if (source.find('\0') == std::string::npos) {
        std::string crlf_find;
        for (const Piece& piece : Pieces(find, false)) {
            crlf_find += piece.line_break ? "\r\n" : piece.raw;
        }
        FuzzContext reference_kept_ctx(case_bits);
        const std::string kept_expected =
            ReferenceKept(reference_kept_ctx, source, crlf_find, replacement);
        FuzzContext kept_ctx(case_bits);
        korv::KeptTexts texts;
        const korv::Substitution kept =
            korv::PlanKeepingBreaks(kept_ctx, source, crlf_find, replacement, texts);
        Check(kept.Result() == kept_expected, "kept line breaks: result");
        Check(kept_ctx.pumps == reference_kept_ctx.pumps, "kept line breaks: pumps");
        Check(kept.Changed() == (kept_expected != source), "kept line breaks: Changed");
        Check(kept.WrittenAsIs(), "kept line breaks are written as they are");
    }
    return 0;
}
