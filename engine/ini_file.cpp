#include "ini_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
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

// The index's form of a name: ASCII lower case.
std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = AsciiLower(c);
    return folded;
}

// The index's name of an entry; neither name can hold a line break.
std::string EntryName(std::string foldedSection, std::string_view key) {
    foldedSection += '\n';
    for (char c : key) foldedSection += AsciiLower(c);
    return foldedSection;
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

std::size_t IniFile::NameIndex::Find(const std::string& folded, std::size_t& compared) const {
    const auto first = std::lower_bound(lines.begin(), lines.end(), folded,
                                        [&compared](const auto& entry, const std::string& name) {
                                            ++compared;
                                            return entry.first < name;
                                        });
    if (first == lines.end() || first->first != folded) return std::string::npos;
    return first->second;
}

void IniFile::NameIndex::Insert(std::string folded, std::size_t line) {
    std::pair<std::string, std::size_t> entry(std::move(folded), line);
    lines.insert(std::lower_bound(lines.begin(), lines.end(), entry), std::move(entry));
}

void IniFile::NameIndex::ShiftFrom(std::size_t line) {
    for (auto& entry : lines)
        if (entry.second >= line) ++entry.second;
}

void IniFile::AppendParsed(Line line) {
    // Blank lines and comments in a row are held as one, so that padding costs no more
    // than its bytes.
    if (line.kind == LineKind::Other && !lines_.empty() && lines_.back().kind == LineKind::Other) {
        lines_.back().text.append("\r\n").append(line.text);
        return;
    }
    const std::size_t at = lines_.size();
    if (line.kind == LineKind::Section) {
        currentSection_ = Folded(line.name);
        inSection_ = true;
        sections_.lines.emplace_back(currentSection_, at);
    } else if (line.kind == LineKind::Entry && inSection_) {
        entries_.lines.emplace_back(EntryName(currentSection_, line.name), at);
    }
    lines_.push_back(std::move(line));
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
        file.AppendParsed(ParseLine(std::string(line)));
    }
    // Sorted by name, then line: the first line of a name comes first.
    std::sort(file.entries_.lines.begin(), file.entries_.lines.end());
    std::sort(file.sections_.lines.begin(), file.sections_.lines.end());
    return file;
}

std::size_t IniFile::FindEntry(std::string_view section, std::string_view key) const {
    // A section that appears twice counts as one; its first entry of a key wins.
    return entries_.Find(EntryName(Folded(section), key), namesCompared_);
}

std::string IniFile::Read(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const {
    const std::size_t entry = FindEntry(section, key);
    if (entry == std::string::npos) return std::string(defaultValue);
    return lines_[entry].value.substr(0, kIniValueLimit);
}

void IniFile::InsertEntry(std::size_t at, Line line, std::string folded) {
    entries_.ShiftFrom(at);
    sections_.ShiftFrom(at);
    entries_.Insert(std::move(folded), at);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    const std::size_t entry = FindEntry(section, key);
    if (entry != std::string::npos) {
        // Keep the key as the user spelled it; only the value changes.
        lines_[entry] = ParseLine(lines_[entry].name + "=" + OneLine(value));
        return;
    }
    Line newEntry = ParseLine(OneLine(key) + "=" + OneLine(value));
    std::string folded = EntryName(Folded(section), newEntry.name);
    const std::size_t header = sections_.Find(Folded(section), namesCompared_);
    if (header == std::string::npos) {
        Line newHeader = ParseLine("[" + OneLine(section) + "]");
        sections_.Insert(Folded(newHeader.name), lines_.size());
        lines_.push_back(std::move(newHeader));
        InsertEntry(lines_.size(), std::move(newEntry), std::move(folded));
        return;
    }
    // After the section's last entry, so that blank lines and comments that precede the
    // next section stay in front of it.
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != LineKind::Section; ++i)
        if (lines_[i].kind == LineKind::Entry) insertAt = i + 1;
    InsertEntry(insertAt, std::move(newEntry), std::move(folded));
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
    const auto failure = [&](const std::string& reason) {
        result.error = "Unable to read " + path.string();
        if (!reason.empty()) result.error += ": " + reason;
        return result;
    };
    // Only a regular file is opened: opening a FIFO waits for a writer, and a device may
    // never end.
    std::error_code statusError;
    const auto type = std::filesystem::status(path, statusError).type();
    if (statusError) return failure(statusError.message());
    if (type != std::filesystem::file_type::regular) return failure("it is not a regular file");
    errno = 0;
    // Opened from the path itself, so that names outside the ANSI code page work.
    std::ifstream file(path, std::ios::binary);
    // The standard streams give no reason; errno usually holds the system's one.
    if (!file) return failure(errno != 0 ? std::generic_category().message(errno) : "");
    std::string text;
    std::array<char, 65536> chunk;
    while (file.read(chunk.data(), chunk.size()) || file.gcount() > 0) {
        text.append(chunk.data(), static_cast<std::size_t>(file.gcount()));
        if (text.size() > kIniFileLimit) return failure("it is larger than " + std::to_string(kIniFileLimit >> 20) + " MB");
    }
    if (file.bad()) return failure("the file could not be read");
    result.document = IniFile::Parse(text);
    return result;
}

}  // namespace kestrin
