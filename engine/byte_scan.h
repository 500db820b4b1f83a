#pragma once

#include <cstddef>

namespace korv {

// Block-at-a-time scans of the line model's bytes (SSE2 where the target
// has it, a byte loop elsewhere).

// Whether bytes[0, size) hold no NUL and every CR is directly followed by
// an LF and every LF directly preceded by a CR.
bool OnlyCrLfBreaks(const char* bytes, std::size_t size);

// The first CR or LF in [from, end), or end.
const char* FindLineBreak(const char* from, const char* end);

}  // namespace korv
