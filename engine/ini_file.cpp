#include "ini_file.h"

#include <algorithm>

namespace kestrin {

namespace {

// ASCII only: the names are plain English words, and a locale must not change a match.
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// FNV-1a over the case-folded name, continued from `hash`; a line break (which no name
// holds) separates a section from its key.
constexpr std::uint64_t kHashStart = 14695981039346656037ull;
std::uint64_t FoldedHash(std::string_view name, std::uint64_t hash = kHashStart) {
    for (char c : name) hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
    return hash;
}

std::uint64_t EntryHash(std::string_view section, std::string_view key) {
    return FoldedHash(key, FoldedHash("\n", FoldedHash(section)));
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
    line.text = std::move(text);
    const std::string_view all = line.text;
    const IniLine parsed = ClassifyIniLine(all);
    if (parsed.kind == IniLine::Kind::Other) return line;
    line.kind = parsed.kind == IniLine::Kind::Section ? LineKind::Section : LineKind::Entry;
    // Offsets into the text, which moves with the line.
    line.nameStart = std::uint32_t(parsed.name.data() - all.data());
    line.nameSize = std::uint32_t(parsed.name.size());
    if (line.kind == LineKind::Entry) {
        line.valueStart = std::uint32_t(parsed.value.data() - all.data());
        line.valueSize = std::uint32_t(parsed.value.size());
    }
    return line;
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
        currentSection_ = at;
        currentSectionHash_ = FoldedHash("\n", FoldedHash(line.Name()));
        sections_.emplace_back(FoldedHash(line.Name()), at);
    } else if (line.kind == LineKind::Entry && currentSection_ != std::string::npos) {
        line.section = currentSection_;
        line.inSection = true;
        entries_.emplace_back(FoldedHash(line.Name(), currentSectionHash_), at);
    }
    lines_.push_back(std::move(line));
}

IniFile IniFile::Parse(std::string_view text) {
    IniFile file;
    const std::string_view content = WithoutByteOrderMark(text);
    file.byteOrderMark_ = text.substr(0, text.size() - content.size());
    text = content;
    // One allocation for the lines: other lines in a row are held as one, so there are at most
    // two lines per section or entry, each marked by '[' or '='.
    const auto count = [text](char c) { return std::size_t(std::count(text.begin(), text.end(), c)); };
    file.lines_.reserve(std::min(count('\n'), 2 * (count('[') + count('='))) + 1);
    while (!text.empty()) file.AppendParsed(ParseLine(std::string(TakeIniLine(text))));
    std::sort(file.entries_.begin(), file.entries_.end());
    std::sort(file.sections_.begin(), file.sections_.end());
    return file;
}

template <typename Matches>
std::size_t IniFile::Find(const HashIndex& index, std::uint64_t hash, Matches matches) const {
    auto it = std::lower_bound(index.begin(), index.end(), hash, [this](const auto& entry, std::uint64_t h) {
        ++lookUpSteps_;
        return entry.first < h;
    });
    // Names that share a hash follow in line order: the first that matches wins.
    for (; it != index.end() && it->first == hash; ++it) {
        ++lookUpSteps_;
        if (matches(lines_[it->second])) return it->second;
    }
    return std::string::npos;
}

std::size_t IniFile::FindSection(std::string_view section) const {
    return Find(sections_, FoldedHash(section),
                [&](const Line& line) { return IniNamesMatch(line.Name(), section); });
}

std::size_t IniFile::FindEntry(std::string_view section, std::string_view key) const {
    // A section that appears twice counts as one; its first entry of a key wins.
    return Find(entries_, EntryHash(section, key), [&](const Line& line) {
        return IniNamesMatch(line.Name(), key) &&
               IniNamesMatch(lines_[line.section].Name(), section);
    });
}

std::string IniFile::Read(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const {
    const std::size_t entry = FindEntry(section, key);
    if (entry == std::string::npos) return std::string(defaultValue);
    return std::string(lines_[entry].Value().substr(0, kIniValueLimit));
}

void IniFile::InsertLine(std::size_t at, Line line) {
    for (HashIndex* index : {&entries_, &sections_})
        for (auto& entry : *index)
            if (entry.second >= at) ++entry.second;
    for (Line& later : lines_)
        if (later.kind == LineKind::Entry && later.section >= at) ++later.section;
    const bool entry = line.kind == LineKind::Entry;
    const std::uint64_t hash = entry ? EntryHash(lines_[line.section].Name(), line.Name())
                                     : FoldedHash(line.Name());
    HashIndex& index = entry ? entries_ : sections_;
    const std::pair<std::uint64_t, std::size_t> item(hash, at);
    index.insert(std::lower_bound(index.begin(), index.end(), item), item);
    lines_.insert(lines_.begin() + std::ptrdiff_t(at), std::move(line));
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    const std::size_t entry = FindEntry(section, key);
    if (entry != std::string::npos) {
        // Keep the key as the user spelled it; only the value changes.
        const std::size_t header = lines_[entry].section;
        lines_[entry] = ParseLine(std::string(lines_[entry].Name()) + "=" + OneLine(value));
        lines_[entry].section = header;
        lines_[entry].inSection = true;
        return;
    }
    std::size_t header = FindSection(section);
    if (header == std::string::npos) {
        header = lines_.size();
        InsertLine(header, ParseLine("[" + OneLine(section) + "]"));
    }
    // After the section's last entry, so that blank lines and comments that precede the
    // next section stay in front of it.
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != LineKind::Section; ++i)
        if (lines_[i].kind == LineKind::Entry) insertAt = i + 1;
    Line newEntry = ParseLine(OneLine(key) + "=" + OneLine(value));
    newEntry.section = header;
    newEntry.inSection = true;
    InsertLine(insertAt, std::move(newEntry));
}

std::string IniFile::Serialize() const {
    // The mark goes back where it was: without it, a second mark (now the first) would turn
    // the line after it into a section header and move entries between sections.
    std::string text = byteOrderMark_;
    for (const Line& line : lines_) {
        text += line.text;
        text += "\r\n";
    }
    return text;
}

IniLoadResult LoadIniFile(const std::filesystem::path& path) {
    IniText read = ReadIniText(path);
    if (!read.error.empty()) return {IniFile(), std::move(read.error)};
    return {IniFile::Parse(read.text), {}};
}

}  // namespace kestrin
