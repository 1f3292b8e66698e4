#include "text_lines.h"

namespace kestrin {

void TextLines::Iterator::Find() {
    if (start_ >= text_.size()) {
        start_ = next_ = text_.size();
        length_ = 0;
        return;
    }
    const std::size_t end = text_.find_first_of("\r\n", start_);
    if (end == std::string_view::npos) {
        length_ = text_.size() - start_;
        next_ = text_.size();
        return;
    }
    length_ = end - start_;
    const bool crLf = text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n';
    next_ = end + (crLf ? 2 : 1);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    for (std::string_view line : TextLines(text)) lines.emplace_back(line);
    return lines;
}

}  // namespace kestrin
