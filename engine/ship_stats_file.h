#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ship_catalogue.h"

namespace kestrin {

/// The statistics file beside the executable: `executableDir` / "ShipStats.ini".
std::filesystem::path ShipStatsPath(const std::filesystem::path& executableDir);

/// Writes the built-in table to `path`: [General] PaBattleConstant=25, then one section per
/// unit type named after its default name. Returns "Unable to write to <path>" or empty.
[[nodiscard]] std::string WriteDefaultShipStats(const std::filesystem::path& path);

/// The catalogue read from the statistics file, and what went wrong.
struct ShipStatsLoad {
    ShipCatalogue catalogue;
    std::string error;  ///< empty on success; the catalogue is usable either way
    bool unreadable = false;  ///< the error is that of reading the file, not of writing it
    /// Values the file lacks or that could not be read, replaced by the built-in ones: one
    /// line each ("[Harpy] lacks Armor: its built-in value is used").
    std::vector<std::string> notes;
};

/// Reads the statistics file, writing the built-in one first when none exists. Every value
/// the file lacks comes from the built-in table; texts are stored unchecked.
ShipStatsLoad LoadShipStats(const std::filesystem::path& path);

class IniFile;

/// The catalogue a statistics file's text gives (missing values from the built-in table);
/// `notes`, when given, receives what was missing or unreadable, one line each.
ShipCatalogue ReadShipStats(std::string_view text, std::vector<std::string>* notes = nullptr);

/// The catalogue an already parsed statistics file gives, the same as from its text.
ShipCatalogue ReadShipStats(const IniFile& file, std::vector<std::string>* notes = nullptr);

}  // namespace kestrin
