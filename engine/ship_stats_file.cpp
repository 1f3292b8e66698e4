#include "ship_stats_file.h"

#include "atomic_file.h"
#include "ini_file.h"
#include "number_text.h"

namespace kestrin {

namespace {

constexpr std::string_view kGeneralSection = "General";
constexpr std::string_view kPaBattleConstantKey = "PaBattleConstant";

ShipField FieldAt(int number) { return static_cast<ShipField>(number); }

}  // namespace

std::filesystem::path ShipStatsPath(const std::filesystem::path& executableDir) {
    return executableDir / "ShipStats.ini";
}

std::string WriteDefaultShipStats(const std::filesystem::path& path) {
    const ShipCatalogue& defaults = DefaultShipCatalogue();
    IniFile file;
    file.Write(kGeneralSection, kPaBattleConstantKey, std::to_string(kDefaultPaBattleConstant));
    for (ShipIndex ship = 0; ship < kShipCount; ++ship)
        for (int field = 0; field < kShipFieldCount; ++field)
            file.Write(defaults.Name(ship), FieldName(FieldAt(field)),
                       defaults.Field(ship, FieldAt(field)));
    // The user is told only which file could not be written, whatever the system's reason.
    if (!SaveFileAtomically(path, file.Serialize()).empty())
        return "Unable to write to " + path.string();
    return {};
}

ShipStatsLoad LoadShipStats(const std::filesystem::path& path) {
    const ShipCatalogue& defaults = DefaultShipCatalogue();
    // Only a file known to be missing is written; one that cannot be examined is left
    // to the reader, which reports why.
    std::error_code statusError;
    const auto type = std::filesystem::status(path, statusError).type();
    if (type == std::filesystem::file_type::not_found) {
        // Without a file the built-in table still lets the program calculate.
        if (std::string error = WriteDefaultShipStats(path); !error.empty())
            return {defaults, std::move(error)};
    }
    IniLoadResult loaded = LoadIniFile(path);
    if (!loaded.error.empty()) return {defaults, std::move(loaded.error)};
    return {ReadShipStats(loaded.document), {}};
}

ShipCatalogue ReadShipStats(const IniFile& file) {
    const ShipCatalogue& defaults = DefaultShipCatalogue();
    ShipCatalogue catalogue = defaults;
    const std::string constant = file.Read(kGeneralSection, kPaBattleConstantKey,
                                           std::to_string(kDefaultPaBattleConstant));
    catalogue.paBattleConstant = ParseInt32(constant).value_or(kDefaultPaBattleConstant);
    // A type's section is found by its default name, so a renamed type keeps its values.
    for (ShipIndex ship = 0; ship < kShipCount; ++ship)
        for (int field = 0; field < kShipFieldCount; ++field)
            catalogue.ships[ship].fields[field] =
                file.Read(defaults.Name(ship), FieldName(FieldAt(field)),
                          defaults.Field(ship, FieldAt(field)));
    return catalogue;
}

}  // namespace kestrin
