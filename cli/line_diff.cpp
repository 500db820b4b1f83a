#include "line_diff.h"

#include <algorithm>
#include <cstdint>

namespace korv::cli {

namespace {

using Lines = std::vector<std::string_view>;

// Which lines of the middles a[0, n) and b[0, m) are removed and added, by
// Myers' greedy search; false when it would take more than `most_edits`.
bool ShortestEdit(const std::string_view* a, std::int64_t n, const std::string_view* b,
                  std::int64_t m, std::int64_t most_edits, std::vector<bool>& removed,
                  std::vector<bool>& added) {
    const std::int64_t limit = std::min(n + m, most_edits);
    std::vector<std::int64_t> v(static_cast<std::size_t>(2 * limit + 3), 0);
    const std::int64_t off = limit + 1;
    // The furthest x on each diagonal -d..d after each step d.
    std::vector<std::vector<std::int64_t>> trace;
    auto at = [&](std::int64_t k) -> std::int64_t& { return v[static_cast<std::size_t>(k + off)]; };
    std::int64_t found = -1;
    for (std::int64_t d = 0; d <= limit && found < 0; ++d) {
        for (std::int64_t k = -d; k <= d; k += 2) {
            std::int64_t x =
                (k == -d || (k != d && at(k - 1) < at(k + 1))) ? at(k + 1) : at(k - 1) + 1;
            std::int64_t y = x - k;
            while (x < n && y < m && a[x] == b[y]) {
                ++x;
                ++y;
            }
            at(k) = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
        trace.emplace_back(v.begin() + (off - d), v.begin() + (off + d + 1));
    }
    if (found < 0) {
        return false;
    }
    std::int64_t x = n;
    std::int64_t y = m;
    for (std::int64_t d = found; d > 0; --d) {
        const std::vector<std::int64_t>& before = trace[static_cast<std::size_t>(d - 1)];
        auto prev = [&](std::int64_t k) { return before[static_cast<std::size_t>(k + d - 1)]; };
        const std::int64_t k = x - y;
        const bool down = k == -d || (k != d && prev(k - 1) < prev(k + 1));
        const std::int64_t prev_k = down ? k + 1 : k - 1;
        const std::int64_t prev_x = prev(prev_k);
        const std::int64_t prev_y = prev_x - prev_k;
        if (down) {
            added[static_cast<std::size_t>(prev_y)] = true;
        } else {
            removed[static_cast<std::size_t>(prev_x)] = true;
        }
        x = prev_x;
        y = prev_y;
    }
    return true;
}

}  // namespace

std::vector<ChangeBlock> DiffLines(const Lines& a, const Lines& b) {
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
        ++tail;
    }
    const auto n = static_cast<std::int64_t>(a.size() - head - tail);
    const auto m = static_cast<std::int64_t>(b.size() - head - tail);
    std::vector<bool> removed(static_cast<std::size_t>(n), false);
    std::vector<bool> added(static_cast<std::size_t>(m), false);
    // The search costs about (n + m) times the edits, and keeps the edits
    // squared in memory: both stay bounded.
    constexpr std::int64_t kWork = 50'000'000;
    const std::int64_t most_edits = std::clamp<std::int64_t>(kWork / (n + m + 1), 16, 2000);
    if (!ShortestEdit(a.data() + head, n, b.data() + head, m, most_edits, removed, added)) {
        std::fill(removed.begin(), removed.end(), true);
        std::fill(added.begin(), added.end(), true);
    }
    std::vector<ChangeBlock> blocks;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < removed.size() || j < added.size()) {
        if ((i < removed.size() && removed[i]) || (j < added.size() && added[j])) {
            ChangeBlock block{head + i, 0, head + j, 0};
            for (; i < removed.size() && removed[i]; ++i) {
                ++block.a_count;
            }
            for (; j < added.size() && added[j]; ++j) {
                ++block.b_count;
            }
            blocks.push_back(block);
        } else {
            ++i;
            ++j;
        }
    }
    return blocks;
}

}  // namespace korv::cli
