#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrin {

/// Longest value a read returns: the profile reader's buffer holds 2048 characters.
inline constexpr std::size_t kIniValueLimit = 2047;

/// Largest INI file read: more is refused unread, so that a FIFO or an endless device at the
/// path cannot hold start-up, and a huge file cannot exhaust memory.
inline constexpr std::size_t kIniFileLimit = std::size_t{16} << 20;

/// An INI document in memory: "[section]" lines and "key=value" lines, every other line
/// (comments, blank lines) kept as written. Names are indexed once, so that a look-up costs
/// the same however long the document is. Not for use from several threads at once.
class IniFile {
public:
    /// Reads a document; LF and CR LF line endings are both accepted.
    static IniFile Parse(std::string_view text);

    /// The trimmed value of `key` in `section`, at most kIniValueLimit characters, or
    /// `defaultValue` when either is missing. Names match without regard to ASCII case.
    std::string Read(std::string_view section, std::string_view key,
                     std::string_view defaultValue) const;

    /// Sets a value: replaces an existing entry on its own line, otherwise appends the key
    /// to its section, or the section to the document.
    void Write(std::string_view section, std::string_view key, std::string_view value);

    /// The document's text, every line ended by CR LF.
    std::string Serialize() const;

    /// Names compared by the look-ups so far: what reading costs, which must not grow
    /// with the document's length.
    std::size_t NamesCompared() const { return namesCompared_; }

private:
    enum class LineKind { Other, Section, Entry };

    struct Line {
        LineKind kind = LineKind::Other;
        std::string text;   // the line as written, without its line ending (consecutive
                            // other lines held together, joined by CR LF)
        std::string name;   // section name or key, trimmed
        std::string value;  // entry value, trimmed
    };

    /// Lines by case-folded name, sorted by name and then line: the first line of a name
    /// is found by a binary search.
    struct NameIndex {
        std::vector<std::pair<std::string, std::size_t>> lines;
        /// The first line of `folded`, or npos; counts the names compared.
        std::size_t Find(const std::string& folded, std::size_t& compared) const;
        /// Adds a line in order.
        void Insert(std::string folded, std::size_t line);
        /// Lines from `line` on moved down by one.
        void ShiftFrom(std::size_t line);
    };

    static Line ParseLine(std::string text);
    /// Appends a line while parsing; the indexes are sorted once at the end.
    void AppendParsed(Line line);
    /// Inserts a new entry line at `at` under its folded "section\nkey".
    void InsertEntry(std::size_t at, Line line, std::string folded);
    /// Index of the entry `key` in `section`, or npos.
    std::size_t FindEntry(std::string_view section, std::string_view key) const;

    std::vector<Line> lines_;
    NameIndex entries_;   // "section\nkey": a section that appears twice counts as one
    NameIndex sections_;  // "section"
    std::string currentSection_;  // folded name of the last section header parsed
    bool inSection_ = false;      // a section header has been parsed
    mutable std::size_t namesCompared_ = 0;
};

/// A document read from disk, or why it could not be read.
struct IniLoadResult {
    IniFile document;
    std::string error;  ///< empty on success
};

/// Reads an INI file of at most kIniFileLimit bytes. A missing or unreadable file, one that
/// is not a regular file, or a larger one gives an empty document and an error.
IniLoadResult LoadIniFile(const std::filesystem::path& path);

}  // namespace kestrin
