#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kestrin {

/// The main window's size as the player left it, kept in "Kestrin.ini" (section Window).
struct WindowSize {
    int width = 0;
    int height = 0;
};

/// The size kept in the settings file; none when missing or not two counts within
/// kMaxWindowSide.
std::optional<WindowSize> LoadWindowSize(const std::filesystem::path& path);

/// Keeps `size` in section Window, keeping whatever else the file holds; "" or an error
/// message. A failed write leaves the old file as it was.
std::string SaveWindowSize(const std::filesystem::path& path, WindowSize size);

/// The largest side kept: a file edited by hand cannot ask for a window past any screen.
inline constexpr int kMaxWindowSide = 16384;

}  // namespace kestrin
