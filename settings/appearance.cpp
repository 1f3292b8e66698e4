#include "appearance.h"

#include <cctype>
#include <cstdio>

#include "engine/atomic_file.h"
#include "engine/ini_file.h"
#include "engine/number_text.h"

namespace kestrin {

namespace {

constexpr std::string_view kSection = "Colors";

constexpr std::array<std::string_view, kAppearanceColourCount> kKeys = {
    "ShipBgd", "AttBgd", "DefBgd", "Gridlines", "Racelines",
    "DefFont", "DefShipsFont", "DefHeldFont", "DefLostFont", "DefStealFont", "DefLeftFont",
    "AttFont", "AttShipsFont", "AttHeldFont", "AttLostFont", "AttStealFont", "AttLeftFont"};

constexpr std::array<Rgb, kAppearanceColourCount> kDefaults = {{
    {20, 20, 50}, {70, 20, 20}, {20, 50, 20}, {0, 0, 0}, {90, 90, 90},
    {50, 255, 50}, {50, 255, 50}, {150, 150, 255}, {255, 150, 255}, {240, 240, 50}, {50, 255, 50},
    {255, 100, 100}, {255, 100, 100}, {150, 150, 255}, {255, 150, 255}, {240, 240, 50}, {255, 100, 100}}};

struct NamedColour {
    std::string_view name;
    Rgb rgb;
};

constexpr std::array<NamedColour, 20> kNamedColours = {{
    {"clBlack", {0, 0, 0}},         {"clMaroon", {128, 0, 0}},     {"clGreen", {0, 128, 0}},
    {"clOlive", {128, 128, 0}},     {"clNavy", {0, 0, 128}},       {"clPurple", {128, 0, 128}},
    {"clTeal", {0, 128, 128}},      {"clGray", {128, 128, 128}},   {"clSilver", {192, 192, 192}},
    {"clRed", {255, 0, 0}},         {"clLime", {0, 255, 0}},       {"clYellow", {255, 255, 0}},
    {"clBlue", {0, 0, 255}},        {"clFuchsia", {255, 0, 255}},  {"clAqua", {0, 255, 255}},
    {"clWhite", {255, 255, 255}},   {"clMoneyGreen", {192, 220, 192}}, {"clSkyBlue", {166, 202, 240}},
    {"clCream", {255, 251, 240}},   {"clMedGray", {160, 160, 164}}}};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A stored number is 00BBGGRR; a non-zero high byte names a system colour, which has no
// fixed RGB value here.
std::optional<Rgb> FromColourNumber(std::int64_t number) {
    if (number < 0 || number > 0xFFFFFF) return std::nullopt;
    return Rgb{static_cast<std::uint8_t>(number & 0xFF), static_cast<std::uint8_t>((number >> 8) & 0xFF),
               static_cast<std::uint8_t>((number >> 16) & 0xFF)};
}

std::optional<std::int64_t> ParseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::int64_t value = 0;
    for (char c : digits) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                        : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                        : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

std::string_view AppearanceKey(AppearanceColour colour) { return kKeys[static_cast<int>(colour)]; }

Appearance DefaultAppearance() {
    Appearance a;
    a.colours = kDefaults;
    return a;
}

std::string FormatColourValue(Rgb colour) {
    for (const NamedColour& named : kNamedColours)
        if (named.rgb == colour) return std::string(named.name);
    char text[16];
    std::snprintf(text, sizeof text, "$00%02X%02X%02X", colour.b, colour.g, colour.r);
    return text;
}

std::optional<Rgb> ParseColourValue(std::string_view text) {
    for (const NamedColour& named : kNamedColours)
        if (EqualsIgnoringCase(named.name, text)) return named.rgb;
    if (!text.empty() && text.front() == '$') {
        const auto number = ParseHex(text.substr(1));
        return number ? FromColourNumber(*number) : std::nullopt;
    }
    const auto number = ParseInt64(text);
    return number ? FromColourNumber(*number) : std::nullopt;
}

const std::array<Rgb, 16>& PickerColours() {
    static constexpr std::array<Rgb, 16> kPicker = {{
        {0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128}, {128, 0, 128},
        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},
        {255, 255, 0}, {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}}};
    return kPicker;
}

Appearance ReadAppearance(const IniFile& file) {
    Appearance appearance = DefaultAppearance();
    for (int i = 0; i < kAppearanceColourCount; ++i) {
        const std::string text = file.Read(kSection, kKeys[i], "");
        if (const auto colour = ParseColourValue(text)) appearance.colours[i] = *colour;
    }
    return appearance;
}

Appearance LoadAppearance(const std::filesystem::path& path) {
    const IniLoadResult loaded = LoadIniFile(path);
    if (!loaded.error.empty()) return DefaultAppearance();
    return ReadAppearance(loaded.document);
}

void WriteAppearance(IniFile& file, const Appearance& appearance) {
    for (int i = 0; i < kAppearanceColourCount; ++i)
        file.Write(kSection, kKeys[i], FormatColourValue(appearance.colours[i]));
}

std::string SaveAppearance(const std::filesystem::path& path, const Appearance& appearance) {
    IniLoadResult loaded = LoadIniFile(path);
    // A file that exists but cannot be read is not overwritten: its other content would be lost.
    std::error_code ignored;
    if (!loaded.error.empty() && std::filesystem::exists(path, ignored)) return loaded.error;
    WriteAppearance(loaded.document, appearance);
    return SaveFileAtomically(path, loaded.document.Serialize());
}

std::filesystem::path AppearancePath(const std::filesystem::path& executableDir) {
    return executableDir / "Kestrin.ini";
}

}  // namespace kestrin
