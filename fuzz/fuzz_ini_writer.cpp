// Any INI document with one value written into it, the way the program writes its settings:
// the value reads back as written (on one line, without surrounding blanks, cut at the read
// limit) once the document is saved and read again, and the writer never loses a line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/ini_file.h"

namespace {

// Section and key names are the program's own: plain words. The fuzzer varies them within
// that shape; everything else (the document, the value) is any byte.
bool PlainName(std::string_view name) {
    if (name.empty() || name.size() > 32) return false;
    for (char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

std::string Expected(std::string_view value) {
    std::string line(value);
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    line = line.substr(first, line.find_last_not_of(" \t") - first + 1);
    return line.substr(0, kestrin::kIniValueLimit);
}

std::size_t LineCount(const std::string& text) {
    std::size_t count = 0;
    for (char c : text) count += c == '\n';
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // section NUL key NUL value NUL document
    std::string_view parts[4];
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (int i = 0; i < 3; ++i) {
        const std::size_t end = rest.find('\0');
        if (end == std::string_view::npos) return 0;
        parts[i] = rest.substr(0, end);
        rest.remove_prefix(end + 1);
    }
    parts[3] = rest;
    if (!PlainName(parts[0]) || !PlainName(parts[1])) return 0;
    kestrin::IniFile file = kestrin::IniFile::Parse(parts[3]);
    const std::size_t linesBefore = LineCount(file.Serialize());
    file.Write(parts[0], parts[1], parts[2]);
    const std::string saved = file.Serialize();
    if (LineCount(saved) < linesBefore || LineCount(saved) > linesBefore + 2) std::abort();
    if (kestrin::IniFile::Parse(saved).Read(parts[0], parts[1], "\x01") != Expected(parts[2])) std::abort();
    return 0;
}
