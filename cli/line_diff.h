#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace korv::cli {

// A run of lines of one text replaced by a run of lines of the other.
struct ChangeBlock {
    std::size_t a_start = 0;
    std::size_t a_count = 0;
    std::size_t b_start = 0;
    std::size_t b_count = 0;
};

// The changes that turn lines `a` into lines `b`, in order: the shortest
// (Myers) where that is cheap to find; past a budget of work the middle
// between the common head and tail is taken as one change, which is still
// exact, only coarser.
[[nodiscard]] std::vector<ChangeBlock> DiffLines(const std::vector<std::string_view>& a,
                                                 const std::vector<std::string_view>& b);

}  // namespace korv::cli
