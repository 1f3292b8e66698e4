#include "ini_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

namespace kestrin {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// ASCII only: the names are plain English words, and a locale must not change a match.
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// A line break inside a written text would split the entry and corrupt the file.
std::string OneLine(std::string_view text) {
    std::string line(text);
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

}  // namespace

IniFile::Line IniFile::ParseLine(std::string text) {
    Line line;
    const std::string_view content = Trim(text);
    if (!content.empty() && content.front() == '[') {
        // A header missing its ']' still starts a section, so that the entries after it
        // are not taken for those of the section before.
        const std::string_view inner = content.substr(1);
        line.kind = LineKind::Section;
        line.name = Trim(inner.substr(0, inner.find(']')));
    } else if (!content.empty() && content.front() != ';' && content.front() != '#') {
        const std::size_t equals = content.find('=');
        if (equals != std::string_view::npos) {
            line.kind = LineKind::Entry;
            line.name = Trim(content.substr(0, equals));
            line.value = Trim(content.substr(equals + 1));
        }
    }
    line.text = std::move(text);
    return line;
}

IniFile IniFile::Parse(std::string_view text) {
    // Editors on desktop systems may put a UTF-8 byte order mark before the first section.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    IniFile file;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        file.lines_.push_back(ParseLine(std::string(line)));
    }
    return file;
}

std::size_t IniFile::FindEntry(std::string_view section, std::string_view key) const {
    // A section that appears twice counts as one; its first entry of a key wins.
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == LineKind::Section)
            inSection = EqualsIgnoringCase(line.name, section);
        else if (inSection && line.kind == LineKind::Entry && EqualsIgnoringCase(line.name, key))
            return i;
    }
    return std::string::npos;
}

std::string IniFile::Read(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const {
    const std::size_t entry = FindEntry(section, key);
    if (entry == std::string::npos) return std::string(defaultValue);
    return lines_[entry].value.substr(0, kIniValueLimit);
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    const std::size_t entry = FindEntry(section, key);
    if (entry != std::string::npos) {
        // Keep the key as the user spelled it; only the value changes.
        lines_[entry] = ParseLine(lines_[entry].name + "=" + OneLine(value));
        return;
    }
    const std::string newEntry = OneLine(key) + "=" + OneLine(value);
    const auto header = std::find_if(lines_.begin(), lines_.end(), [&](const Line& line) {
        return line.kind == LineKind::Section && EqualsIgnoringCase(line.name, section);
    });
    if (header == lines_.end()) {
        lines_.push_back(ParseLine("[" + OneLine(section) + "]"));
        lines_.push_back(ParseLine(newEntry));
        return;
    }
    // After the section's last entry, so that blank lines and comments that precede the
    // next section stay in front of it.
    auto insertAt = header + 1;
    for (auto it = header + 1; it != lines_.end() && it->kind != LineKind::Section; ++it)
        if (it->kind == LineKind::Entry) insertAt = it + 1;
    lines_.insert(insertAt, ParseLine(newEntry));
}

std::string IniFile::Serialize() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.text;
        text += "\r\n";
    }
    return text;
}

IniLoadResult LoadIniFile(const std::filesystem::path& path) {
    IniLoadResult result;
    const auto failure = [&](int reason) {
        result.error = "Unable to read " + path.string();
        if (reason != 0) result.error += ": " + std::generic_category().message(reason);
        return result;
    };
    // A folder opens as a file on some systems and then reads as empty.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) return failure(EISDIR);
    errno = 0;
    // Opened from the path itself, so that names outside the ANSI code page work.
    std::ifstream file(path, std::ios::binary);
    // The standard streams give no reason; errno usually holds the system's one.
    if (!file) return failure(errno);
    std::ostringstream text;
    text << file.rdbuf();
    result.document = IniFile::Parse(text.str());
    return result;
}

}  // namespace kestrin
