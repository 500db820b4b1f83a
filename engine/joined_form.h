#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korv {

// The line model's joined form of a text that holds no NUL (every line
// followed by CR LF), together with where each of its bytes came from: a
// CR LF of the joined text stands for one line break of the text, a CR
// LF, a lone CR, a lone LF or none at the end, so each of its two bytes is
// either a byte of the text or one the joining added.
class JoinedForm {
public:
    explicit JoinedForm(std::string_view text);

    [[nodiscard]] std::string_view Joined() const { return joined_; }
    // How many bytes of the text stand before offset `at` of the joined
    // text: where a stretch of the joined text begins or ends in the text.
    [[nodiscard]] std::size_t InText(std::size_t at) const;

private:
    std::string joined_;
    // The offsets in the joined text of the bytes the joining added, in
    // ascending order.
    std::vector<std::size_t> added_;
};

}  // namespace korv
