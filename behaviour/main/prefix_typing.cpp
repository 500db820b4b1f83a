#include "main/prefix_typing.h"

#include <algorithm>

namespace korv::behaviour {

namespace {

char Folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return Folded(a) == Folded(b); });
}

}  // namespace

std::string PrefixTyping::Type(std::string_view character, std::int64_t now_ms) {
    if (!any_ || now_ms - last_ms_ >= kPauseMs) {
        typed_.clear();
    }
    typed_.emplace_back(character);
    last_ms_ = now_ms;
    any_ = true;
    return Typed();
}

std::string PrefixTyping::Backspace(std::int64_t now_ms) {
    if (!typed_.empty()) {
        typed_.pop_back();
    }
    last_ms_ = now_ms;
    any_ = true;
    return Typed();
}

std::string PrefixTyping::Typed() const {
    std::string text;
    for (const std::string& character : typed_) {
        text += character;
    }
    return text;
}

int FindPrefix(const std::vector<std::string>& entries, std::string_view prefix) {
    if (prefix.empty()) {
        return -1;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (StartsWithFolded(entries[i], prefix)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace korv::behaviour
