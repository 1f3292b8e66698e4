#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

/// The lines of a text as a multi-line text area holds them: CR LF, LF and a lone CR each
/// end a line; the breaks themselves are not part of any line. A text ending in a break has
/// no empty line after it; an empty text has no lines.
///
/// The lines are views into the text, found one at a time as they are walked, so a report
/// of any length costs no copy of itself or of its lines. The text must outlive the range.
class TextLines {
public:
    /// Walks the lines in order.
    class Iterator {
    public:
        using value_type = std::string_view;
        using reference = std::string_view;
        using pointer = void;
        using difference_type = std::ptrdiff_t;
        using iterator_category = std::forward_iterator_tag;

        Iterator() = default;
        Iterator(std::string_view text, std::size_t start) : text_(text), start_(start) { Find(); }
        std::string_view operator*() const { return text_.substr(start_, length_); }
        Iterator& operator++() {
            start_ = next_;
            Find();
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& other) const { return start_ == other.start_; }

    private:
        void Find();

        std::string_view text_;
        std::size_t start_ = 0;
        std::size_t length_ = 0;
        std::size_t next_ = 0;
    };

    /// The lines of `text`.
    explicit TextLines(std::string_view text) : text_(text) {}
    Iterator begin() const { return Iterator(text_, 0); }
    Iterator end() const { return Iterator(text_, text_.size()); }

private:
    std::string_view text_;
};

/// The lines of `text` (as TextLines splits them) as texts of their own.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace kestrin
