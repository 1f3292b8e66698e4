#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

/// An RGB colour.
struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

/// The seventeen appearance colours, in the order they are read, written and chosen.
enum class AppearanceColour {
    ShipBgd, AttBgd, DefBgd, Gridlines, Racelines,
    DefFont, DefShipsFont, DefHeldFont, DefLostFont, DefStealFont, DefLeftFont,
    AttFont, AttShipsFont, AttHeldFont, AttLostFont, AttStealFont, AttLeftFont
};

/// Number of appearance colours.
inline constexpr int kAppearanceColourCount = 17;

/// The colours of the grid and the log.
struct Appearance {
    std::array<Rgb, kAppearanceColourCount> colours{};

    /// One colour.
    Rgb& operator[](AppearanceColour c) { return colours[static_cast<int>(c)]; }
    /// One colour.
    const Rgb& operator[](AppearanceColour c) const { return colours[static_cast<int>(c)]; }
    friend bool operator==(const Appearance&, const Appearance&) = default;
};

/// The key of a colour in section Colors ("ShipBgd", ...).
std::string_view AppearanceKey(AppearanceColour colour);

/// The built-in colours.
Appearance DefaultAppearance();

/// A colour as stored: one of the twenty standard colour names when it is one, otherwise "$"
/// and eight upper-case hexadecimal digits of 00BBGGRR.
std::string FormatColourValue(Rgb colour);

/// Reads a stored colour: a standard name in any letter case, a decimal number, or "$" and
/// hexadecimal digits. Anything else, and numbers naming system colours, give no colour.
std::optional<Rgb> ParseColourValue(std::string_view text);

/// The sixteen colours of the setup window's picker, left to right and top to bottom.
const std::array<Rgb, 16>& PickerColours();

class IniFile;

/// The colours a parsed settings file gives; a missing key or unreadable value gives the default.
Appearance ReadAppearance(const IniFile& file);

/// Sets the seventeen colours in section Colors of a parsed settings file.
void WriteAppearance(IniFile& file, const Appearance& appearance);

/// Reads the colours from the file; a missing file, key or unreadable value gives the default.
Appearance LoadAppearance(const std::filesystem::path& path);

/// Writes the seventeen colours into section Colors, keeping whatever else the file holds;
/// returns "" or an error message. A failed write leaves the old file as it was.
std::string SaveAppearance(const std::filesystem::path& path, const Appearance& appearance);

/// The settings file beside the executable.
std::filesystem::path AppearancePath(const std::filesystem::path& executableDir);

}  // namespace kestrin
