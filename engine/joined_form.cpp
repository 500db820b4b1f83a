#include "joined_form.h"

#include <algorithm>

#include "byte_scan.h"

namespace korv {

JoinedForm::JoinedForm(std::string_view text) {
    joined_.reserve(text.size() + text.size() / 16 + 2);
    const char* const end = text.data() + text.size();
    for (const char* p = text.data(); p < end;) {
        const char* stop = FindLineBreak(p, end);
        joined_.append(p, stop);
        const std::size_t cr_at = joined_.size();
        joined_ += "\r\n";
        const bool cr = stop < end && *stop == '\r';
        p = cr ? stop + 1 : stop;
        const bool lf = p < end && *p == '\n';
        if (lf) {
            ++p;
        }
        if (!cr) {
            added_.push_back(cr_at);
        }
        if (!lf) {
            added_.push_back(cr_at + 1);
        }
    }
}

std::size_t JoinedForm::InText(std::size_t at) const {
    const auto added_before = std::lower_bound(added_.begin(), added_.end(), at) - added_.begin();
    return at - static_cast<std::size_t>(added_before);
}

}  // namespace korv
