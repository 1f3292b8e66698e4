#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

/// Longest value a read returns: the profile reader's buffer holds 2048 characters.
inline constexpr std::size_t kIniValueLimit = 2047;

/// An INI document in memory: "[section]" lines and "key=value" lines, every other line
/// (comments, blank lines) kept as written.
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

private:
    enum class LineKind { Other, Section, Entry };

    struct Line {
        LineKind kind = LineKind::Other;
        std::string text;   // the line as written, without its line ending
        std::string name;   // section name or key, trimmed
        std::string value;  // entry value, trimmed
    };

    static Line ParseLine(std::string text);
    /// Index of the entry `key` in `section`, or npos.
    std::size_t FindEntry(std::string_view section, std::string_view key) const;

    std::vector<Line> lines_;
};

/// A document read from disk, or why it could not be read.
struct IniLoadResult {
    IniFile document;
    std::string error;  ///< empty on success
};

/// Reads an INI file. A missing or unreadable file gives an empty document and an error.
IniLoadResult LoadIniFile(const std::filesystem::path& path);

}  // namespace kestrin
