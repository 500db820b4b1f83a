#include "substitution.h"

#include <sys/uio.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "byte_scan.h"
#include "match_scan.h"
#include "sys_calls.h"

namespace korv {

namespace {

// A text with no NUL whose every CR is followed by an LF and every LF
// preceded by a CR, inside the text itself.
bool HasOnlyWholeCrLf(std::string_view text) {
    std::size_t breaks = 0;
    return OnlyCrLfBreaks(text.data(), text.size(), breaks);
}

}  // namespace

Substitution Substitution::Plan(ReplaceContext& ctx, std::string_view source, std::string_view find,
                                std::string_view replacement) {
    Substitution plan;
    plan.source_ = source;
    plan.find_ = find;
    plan.replacement_ = replacement;
    if (source.empty() || find == replacement) {
        return plan;
    }
    ScanMatches(ctx, source, find, [&plan](std::size_t at) { plan.matches_.push_back(at); });
    return plan;
}

bool Substitution::Changed() const {
    if (matches_.empty()) {
        return false;
    }
    if (find_.size() != replacement_.size()) {
        return true;
    }
    // Same lengths: the result differs only where an occurrence's own
    // bytes differ from the replacement (with folding they may not).
    for (std::size_t at : matches_) {
        if (std::memcmp(source_.data() + at, replacement_.data(), replacement_.size()) != 0) {
            return true;
        }
    }
    return false;
}

std::string Substitution::Result() const {
    if (matches_.empty()) {
        return std::string(source_);
    }
    std::string result;
    result.reserve(source_.size() - matches_.size() * find_.size() +
                   matches_.size() * replacement_.size());
    std::size_t copied = 0;
    for (std::size_t at : matches_) {
        result.append(source_.substr(copied, at - copied));
        result.append(replacement_);
        copied = at + find_.size();
    }
    result.append(source_.substr(copied));
    return result;
}

bool Substitution::KeepsLineBreaks() const {
    if (matches_.empty()) {
        return true;
    }
    // Whole CR LF pairs in both texts cannot split a pair of the source
    // nor make a lone break; an occurrence at the very end could leave
    // the last line without its break, so that case is built instead.
    return matches_.back() + find_.size() < source_.size() && HasOnlyWholeCrLf(find_) &&
           HasOnlyWholeCrLf(replacement_);
}

bool Substitution::WriteResult(int fd) const {
    // Pieces in order: source, replacement, source, ..., source.
    const std::size_t pieces = matches_.size() * 2 + 1;
    std::size_t next = 0;  // the next piece to hand over
    auto piece = [this](std::size_t i) -> std::string_view {
        if (i % 2 == 1) {
            return replacement_;
        }
        const std::size_t k = i / 2;
        const std::size_t from = k == 0 ? 0 : matches_[k - 1] + find_.size();
        const std::size_t to = k < matches_.size() ? matches_[k] : source_.size();
        return source_.substr(from, to - from);
    };
    constexpr std::size_t kBatch = IOV_MAX < 1024 ? IOV_MAX : 1024;
    iovec batch[kBatch];
    std::size_t skip = 0;  // bytes of piece `next` already written
    while (next < pieces) {
        std::size_t count = 0;
        for (std::size_t i = next; i < pieces && count < kBatch; ++i) {
            std::string_view bytes = piece(i);
            if (i == next) {
                bytes.remove_prefix(skip);
            }
            if (!bytes.empty()) {
                batch[count++] = {const_cast<char*>(bytes.data()), bytes.size()};
            }
        }
        if (count == 0) {
            break;
        }
        ssize_t written = sys::WriteV(fd, batch, static_cast<int>(count));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        // Move on by what was written; a short write resumes mid-piece.
        auto left = static_cast<std::size_t>(written);
        while (left > 0) {
            const std::size_t rest = piece(next).size() - skip;
            if (left < rest) {
                skip += left;
                left = 0;
            } else {
                left -= rest;
                skip = 0;
                ++next;
            }
        }
        while (next < pieces && piece(next).size() == skip) {
            skip = 0;
            ++next;
        }
    }
    return true;
}

void LogReplacement(ReplaceContext& ctx, std::string_view find, std::string_view replacement) {
    ctx.ReplacedFlag = true;
    const std::string file = ctx.CurrentFileName();
    std::string event;
    event.reserve(find.size() + file.size() + replacement.size() + 32);
    event.append(find).append(" found in ").append(file).append(" and replaced to ");
    event.append(replacement);
    ctx.LogEvent(event);
}

}  // namespace korv
