#include "window_size.h"

#include <charconv>
#include <system_error>

#include "engine/atomic_file.h"
#include "engine/ini_file.h"

namespace kestrin {

namespace {

constexpr const char* kSection = "Window";

std::optional<int> Side(const IniFile& file, const char* key) {
    const std::string text = file.Read(kSection, key, "");
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0 || value > kMaxWindowSide)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<WindowSize> LoadWindowSize(const std::filesystem::path& path) {
    const IniLoadResult loaded = LoadIniFile(path);
    if (!loaded.error.empty()) return std::nullopt;
    const std::optional<int> width = Side(loaded.document, "Width"), height = Side(loaded.document, "Height");
    if (!width || !height) return std::nullopt;
    return WindowSize{*width, *height};
}

std::string SaveWindowSize(const std::filesystem::path& path, WindowSize size) {
    IniLoadResult loaded = LoadIniFile(path);
    // A file that exists but cannot be read is not overwritten: its other content would be lost.
    std::error_code ignored;
    if (!loaded.error.empty() && std::filesystem::exists(path, ignored)) return loaded.error;
    loaded.document.Write(kSection, "Width", std::to_string(size.width));
    loaded.document.Write(kSection, "Height", std::to_string(size.height));
    return SaveFileAtomically(path, loaded.document.Serialize());
}

}  // namespace kestrin
