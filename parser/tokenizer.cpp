#include "tokenizer.h"

#include <algorithm>

#include "engine/number_text.h"

namespace kestrin {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool LineTokens::Next(std::string_view& token) {
    while (position_ < line_.size()) {
        const std::size_t start = position_;
        if (IsDigit(line_[start])) {
            // A number ends at anything but a digit; the line's end counts as a blank.
            while (position_ < line_.size() && IsDigit(line_[position_])) ++position_;
            token = line_.substr(start, position_ - start);
            return true;
        }
        // A word (blanks included) ends only where a digit begins.
        while (position_ < line_.size() && !IsDigit(line_[position_])) ++position_;
        if (position_ == line_.size()) return false;
        std::string_view word = line_.substr(start, position_ - start);
        word.remove_prefix(std::min(word.find_first_not_of(' '), word.size()));
        if (word.empty()) continue;
        word.remove_suffix(word.size() - 1 - word.find_last_not_of(' '));
        if (word.find(' ') != std::string_view::npos) {
            joined_.assign(word);
            joined_.erase(std::remove(joined_.begin(), joined_.end(), ' '), joined_.end());
            word = joined_;
        }
        token = word;
        return true;
    }
    return false;
}

std::vector<std::string> TokenizeLine(std::string_view line) {
    std::vector<std::string> tokens;
    LineTokens walker(line);
    for (std::string_view token; walker.Next(token);) tokens.emplace_back(token);
    return tokens;
}

bool IsNumberToken(std::string_view token) { return ParseInt32(token).has_value(); }

}  // namespace kestrin
