#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace kestrin {

/// Longest value a read returns: the profile reader's buffer holds 2048 characters.
inline constexpr std::size_t kIniValueLimit = 2047;

/// Largest INI file read: more is refused unread, so that a FIFO or an endless device at the
/// path cannot hold start-up, and a huge file cannot exhaust memory.
inline constexpr std::size_t kIniFileLimit = std::size_t{16} << 20;

/// One line of INI text: a "[section]" header, a "key=value" entry, or anything else
/// (comments, blank lines). Names and values are trimmed views into the line.
struct IniLine {
    enum class Kind { Other, Section, Entry };
    Kind kind = Kind::Other;
    std::string_view name;   ///< section name or key
    std::string_view value;  ///< entry value
};

/// What one line of INI text is.
IniLine ClassifyIniLine(std::string_view line);

/// The text without the UTF-8 byte order mark editors may put before the first section.
std::string_view WithoutByteOrderMark(std::string_view text);

/// Takes the next line off `text` (LF or CR LF ended, or the rest), without its line ending.
std::string_view TakeIniLine(std::string_view& text);

/// Whether two section or key names match: equal without regard to ASCII case.
bool IniNamesMatch(std::string_view a, std::string_view b);

/// Calls `visit(section, key, value)` for every entry under a section header of `text`, in
/// order, the value cut to kIniValueLimit characters: one pass, nothing kept.
template <typename Visit>
void ForEachIniEntry(std::string_view text, Visit visit) {
    text = WithoutByteOrderMark(text);
    std::string_view section;
    bool inSection = false;
    while (!text.empty()) {
        const IniLine line = ClassifyIniLine(TakeIniLine(text));
        if (line.kind == IniLine::Kind::Section) {
            section = line.name;
            inSection = true;
        } else if (line.kind == IniLine::Kind::Entry && inSection) {
            visit(section, line.name, line.value.substr(0, kIniValueLimit));
        }
    }
}

/// A file's bytes, or why they could not be read.
struct IniText {
    std::string text;
    std::string error;  ///< empty on success
};

/// Reads a regular file of at most kIniFileLimit bytes; anything else ("Unable to read
/// <path>: <reason>") is not read.
IniText ReadIniText(const std::filesystem::path& path);

}  // namespace kestrin
