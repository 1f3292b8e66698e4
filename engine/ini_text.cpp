#include "ini_text.h"

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

}  // namespace

IniLine ClassifyIniLine(std::string_view line) {
    IniLine result;
    const std::string_view content = Trim(line);
    if (!content.empty() && content.front() == '[') {
        // A header missing its ']' still starts a section, so that the entries after it
        // are not taken for those of the section before.
        const std::string_view inner = content.substr(1);
        result.kind = IniLine::Kind::Section;
        result.name = Trim(inner.substr(0, inner.find(']')));
    } else if (!content.empty() && content.front() != ';' && content.front() != '#') {
        const std::size_t equals = content.find('=');
        if (equals != std::string_view::npos) {
            result.kind = IniLine::Kind::Entry;
            result.name = Trim(content.substr(0, equals));
            result.value = Trim(content.substr(equals + 1));
        }
    }
    return result;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
    return text;
}

std::string_view TakeIniLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

bool IniNamesMatch(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

IniText ReadIniText(const std::filesystem::path& path) {
    IniText result;
    const auto failure = [&](const std::string& reason) {
        result.text.clear();
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
    // At once into a buffer of the file's size (one byte more tells a larger file), then on
    // to the end, in case the file grew.
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    std::string& text = result.text;
    text.assign(sizeError ? 0 : std::min<std::uintmax_t>(size, kIniFileLimit) + 1, '\0');
    file.read(text.data(), std::streamsize(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    std::array<char, 4096> chunk;
    while (text.size() <= kIniFileLimit && (file.read(chunk.data(), chunk.size()) || file.gcount() > 0))
        text.append(chunk.data(), static_cast<std::size_t>(file.gcount()));
    if (text.size() > kIniFileLimit)
        return failure("it is larger than " + std::to_string(kIniFileLimit >> 20) + " MB");
    if (file.bad()) return failure("the file could not be read");
    return result;
}

}  // namespace kestrin
