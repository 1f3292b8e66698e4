#include "tokenizer.h"

#include "engine/number_text.h"

namespace kestrin {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::vector<std::string> TokenizeLine(std::string_view line) {
    std::vector<std::string> tokens;
    if (line.empty()) return tokens;
    std::string current;
    bool numberMode = false;
    auto emit = [&] {
        if (!current.empty()) tokens.push_back(std::move(current));
        current.clear();
    };
    // The line is processed with one blank appended, which ends a number at its end.
    for (std::size_t i = 0; i <= line.size(); ++i) {
        const char c = i < line.size() ? line[i] : ' ';
        if (c == ' ') {
            if (numberMode) emit();
        } else if (IsDigit(c)) {
            if (!numberMode) emit();
            current += c;
            numberMode = true;
        } else {
            if (numberMode) emit();
            current += c;
            numberMode = false;
        }
    }
    return tokens;
}

bool IsNumberToken(std::string_view token) { return ParseInt32(token).has_value(); }

}  // namespace kestrin
