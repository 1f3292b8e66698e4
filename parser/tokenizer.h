#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

/// Walks the tokens of one line. Digits form number tokens; every other character but the
/// blank forms word tokens, and blanks between words vanish, so a name the game writes as
/// several words ("Metal Asteroids") becomes one token ("MetalAsteroids"). A word still open
/// at the end of the line is dropped.
///
/// Tokens are views into the line, or into the walker's own buffer for a word written with
/// blanks; each stays valid until the next call. However long the line, no list of its
/// tokens is built.
class LineTokens {
public:
    /// The tokens of `line`, which must outlive the walker.
    explicit LineTokens(std::string_view line) : line_(line) {}

    /// Sets `token` to the next token; false at the end of the line.
    bool Next(std::string_view& token);

    /// Goes on from `position` of the line (the end of a count read over several tokens),
    /// when it lies ahead.
    void SkipTo(std::size_t position) { position_ = std::max(position_, std::min(position, line_.size())); }

private:
    std::string_view line_;
    std::size_t position_ = 0;
    std::string joined_;  // a word with its blanks dropped
};

/// The tokens of one line, as LineTokens walks them.
std::vector<std::string> TokenizeLine(std::string_view line);

/// Whether a token reads as a signed 32-bit integer.
bool IsNumberToken(std::string_view token);

/// Whether the tokeniser made `token` of digits (a number token of any length).
inline bool IsDigitToken(std::string_view token) { return !token.empty() && token.front() >= '0' && token.front() <= '9'; }

}  // namespace kestrin
