#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ini_text.h"

namespace kestrin {

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

    /// Calls `visit(section, key, value)` for every entry under a section header, in file
    /// order; the value trimmed and cut to kIniValueLimit characters as Read gives it.
    template <typename Visit>
    void ForEachEntry(Visit visit) const {
        for (const Line& line : lines_)
            if (line.kind == LineKind::Entry && line.inSection)
                visit(lines_[line.section].Name(), line.Name(), line.Value().substr(0, kIniValueLimit));
    }

    /// Sets a value: replaces an existing entry on its own line, otherwise appends the key
    /// to its section, or the section to the document.
    void Write(std::string_view section, std::string_view key, std::string_view value);

    /// The document's text, every line ended by CR LF.
    std::string Serialize() const;

    /// Index entries and names compared by the look-ups so far: what reading costs, which
    /// must not grow with the document's length.
    std::size_t LookUpSteps() const { return lookUpSteps_; }

private:
    enum class LineKind { Other, Section, Entry };

    struct Line {
        LineKind kind = LineKind::Other;
        std::string text;  // as written, without its line ending (consecutive other lines
                           // held together, joined by CR LF)
        // Section name or key, and entry value, trimmed: offsets into `text`.
        std::uint32_t nameStart = 0, nameSize = 0, valueStart = 0, valueSize = 0;
        std::size_t section = 0;  // an entry's section header line
        bool inSection = false;   // an entry after a section header (others are never read)

        std::string_view Name() const { return std::string_view(text).substr(nameStart, nameSize); }
        std::string_view Value() const { return std::string_view(text).substr(valueStart, valueSize); }
    };

    /// Lines by the hash of their case-folded name, sorted by hash and then line, so that a
    /// binary search finds the first line of a name.
    using HashIndex = std::vector<std::pair<std::uint64_t, std::size_t>>;

    static Line ParseLine(std::string text);
    /// Appends a line while parsing; the indexes are sorted once at the end.
    void AppendParsed(Line line);
    /// Inserts a new line at `at`, moving the lines after it and their index entries down.
    void InsertLine(std::size_t at, Line line);
    /// The first indexed line with `hash` that `matches`, or npos.
    template <typename Matches>
    std::size_t Find(const HashIndex& index, std::uint64_t hash, Matches matches) const;
    std::size_t FindSection(std::string_view section) const;
    /// Index of the entry `key` in `section`, or npos.
    std::size_t FindEntry(std::string_view section, std::string_view key) const;

    std::vector<Line> lines_;
    HashIndex entries_;   // by section and key: a section that appears twice counts as one
    HashIndex sections_;  // by section
    std::string byteOrderMark_;  // the one Parse took off the front, written back
    std::size_t currentSection_ = std::string::npos;  // header of the entries being parsed
    std::uint64_t currentSectionHash_ = 0;              // its part of their EntryHash
    mutable std::size_t lookUpSteps_ = 0;
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
